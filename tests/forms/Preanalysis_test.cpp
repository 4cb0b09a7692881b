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

}  // namespace
