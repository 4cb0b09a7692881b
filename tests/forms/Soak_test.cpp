// A long game: many random moves with timer ticks on the largest board. Run
// under the sanitizers it also shows that a long game leaks nothing.
#include <QCoreApplication>
#include <QPointer>

#include <random>

#include "app/uGrobal.h"
#include "forms/FormsFixture.h"

namespace {

constexpr int kMoves = 100000;
constexpr int kMovesPerTick = 50;
constexpr int kMovesPerRepaint = 500;

using Soak = FormsTest;

TEST_F(Soak, HundredThousandRandomMovesWithTicksOnTheLargestBoard) {
    // Seven colours: a random walk on 400 panels practically never wins.
    StartGame(20, 7);
    // The ticks come from here only: the real one-second timer must not add
    // its own while the repaints run the event loop.
    const int interval = Form2->Timer1->Interval();
    Form2->Timer1->SetInterval(24 * 60 * 60 * 1000);
    TPanelBoard model = Form2->Board;  // the dealt board, moved along on its own
    std::vector<QPointer<TPictureButton>> panels;
    for (auto& row : Form2->Panels)
        for (TPictureButton* p : row) panels.emplace_back(p);

    std::mt19937 rng(424242);
    std::uniform_int_distribution<int> cell(0, 19);
    int ticks = 0;
    for (int move = 1; move <= kMoves; ++move) {
        const int row = cell(rng), col = cell(rng);
        Form2->PanelClick(Form2->Panels[row][col], Qt::LeftButton, 0, 1, 1);
        model.ApplyMove(row, col);
        if (move % kMovesPerTick == 0) {
            Form2->Timer1Timer();
            ++ticks;
        }
        if (move % kMovesPerRepaint == 0) QCoreApplication::processEvents();  // paint
        ASSERT_TRUE(Form2->Enabled()) << "the board stayed disabled after move " << move;
        ASSERT_FALSE(Form3->Visible()) << "won after move " << move;
    }
    EXPECT_EQ(ClickCount, kMoves);
    EXPECT_EQ(ElapsedSeconds, ticks);
    EXPECT_EQ(Form2->Caption(), QString::fromUtf8("経過時間:%1秒").arg(ticks));
    for (int r = 0; r < 20; ++r) {
        for (int c = 0; c < 20; ++c) {
            ASSERT_EQ(Form2->Board.Cell(r, c), model.Cell(r, c)) << r << "," << c;
            ASSERT_EQ(Form2->Panels[r][c]->Color(), model.Cell(r, c)) << r << "," << c;
        }
    }
    Form2->Timer1->SetInterval(interval);
    // No panel was made or lost during the game; closing the board frees them all.
    EXPECT_EQ(Form2->findChildren<TPictureButton*>().size(), 400);
    Form2->Close();
    FlushDeletes();
    for (const QPointer<TPictureButton>& p : panels) EXPECT_TRUE(p.isNull());
    EXPECT_TRUE(Form2->findChildren<TPictureButton*>().isEmpty());
}

}  // namespace
