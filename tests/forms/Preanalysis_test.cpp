#include <QTest>

#include "forms/FormsFixture.h"
#include "forms/Preanalysis.h"
#include "game/Solver.h"

namespace {

using Preanalysis = FormsTest;

bool Settled() {
    return QTest::qWaitFor([] { return !Form1->Preanalysis->Busy(); }, 5000);
}

TEST_F(Preanalysis, TheMenuAnalysesThePairItsSelectorsSettleOn) {
    ASSERT_TRUE(Settled());
    solver::ClearAnalysisCache();
    Form1->Button5->click();  // 神: 20 x 20, 20 colours
    EXPECT_FALSE(solver::AnalysisKept(20, 20));
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(solver::AnalysisKept(20, 20));

    // Pairs passed through on the way are left alone.
    for (int size = 19; size >= 16; --size) Form1->SpinEdit1->SetValue(size);
    Form1->SpinEdit2->SetValue(13);
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(solver::AnalysisKept(16, 13));
    EXPECT_FALSE(solver::AnalysisKept(17, 20));
    EXPECT_FALSE(solver::AnalysisKept(16, 20));
    solver::ClearAnalysisCache();
}

TEST_F(Preanalysis, YesBeforeTheAnalysisIsDoneDealsAWinnableBoard) {
    ASSERT_TRUE(Settled());
    solver::ClearAnalysisCache();
    Form1->SpinEdit1->SetValue(19);
    Form1->SpinEdit2->SetValue(16);
    QTest::qWait(TPreanalysis::kSettleMs + 1);  // the analysis has begun
    StartGame(19, 16);
    EXPECT_TRUE(solver::AnalysisKept(19, 16));
    std::vector<std::int32_t> cells;
    for (int r = 0; r < 19; ++r)
        for (int c = 0; c < 19; ++c) cells.push_back(Form2->Board.CellIndex(r, c));
    EXPECT_TRUE(solver::AnalyseBoard(19, 16)->IsWinnable(cells));
    solver::ClearAnalysisCache();
}

}  // namespace
