#include "game/BoardHelp.h"

#include <gtest/gtest.h>

#include <chrono>

#include "game/PanelBoard.h"
#include "game/Solver.h"

namespace {

// The fewest presses of a board, from the solver at once; -1 where it
// cannot search.
std::int64_t Fewest(const TPanelBoard& b) {
    auto a = solver::AnalyseBoard(b.Size(), b.Colors());
    return a->CanSearchFewest() ? a->SolveFewest(b.Indices())->total : -1;
}

// Makes the plan and lets the search for fewer presses finish.
void PlanFully(TBoardHelp& help, const TPanelBoard& b) {
    help.Plan(b);
    while (help.Improving()) help.Improve(std::chrono::milliseconds(5));
}

// True when pressing every panel as often as `plan` says wins `b`.
bool Wins(TPanelBoard b, const std::vector<std::int32_t>& plan) {
    for (int i = 0; i < b.Size() * b.Size(); ++i)
        for (int t = 0; t < plan[i]; ++t) b.ApplyMove(i / b.Size(), i % b.Size());
    return b.IsSolved();
}

class BoardHelpTest : public ::testing::Test {
  protected:
    void SetUp() override { FillPanelPalette(); }
};

// Pressing the next press again and again wins in exactly the plan's number
// of presses: the fewest where the solver searches (the largest search, 9 x 9
// with 8 colours, among them), the solver's own plan where it does not
// (19 x 19 with 16 colours). No press of the plan sets a search going again.
TEST_F(BoardHelpTest, FollowingTheNextPressWinsInThePlansPresses) {
    struct Case {
        int n, k;
    } cases[] = {{3, 2}, {3, 5}, {4, 20}, {5, 7}, {9, 8}, {12, 6}, {19, 16}, {20, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.n) + "x" + std::to_string(c.n) + " K=" + std::to_string(c.k));
        RandSeed = static_cast<std::uint32_t>(c.n * 100 + c.k);
        TPanelBoard b;
        b.Deal(c.n, c.k);
        TBoardHelp help;
        help.NewGame();
        PlanFully(help, b);
        const std::int64_t total = help.PlanTotal();
        const std::int64_t fewest = Fewest(b);
        EXPECT_EQ(help.PlanFewest(), fewest >= 0);
        if (fewest >= 0) {
            EXPECT_EQ(total, fewest);
        }
        std::int64_t presses = 0;
        while (!b.IsSolved() && presses <= total) {
            const auto next = help.NextPress(b);
            ASSERT_TRUE(next.has_value());
            b.ApplyMove(next->row, next->col);
            help.Moved(b, next->row, next->col);
            ++presses;
            ASSERT_FALSE(help.Improving());
        }
        EXPECT_TRUE(b.IsSolved());
        EXPECT_EQ(presses, total);
        EXPECT_FALSE(help.NextPress(b).has_value());
        EXPECT_EQ(help.MovesToTakeBack(), static_cast<std::size_t>(total));
    }
}

// A press off the plan, and a move taken back, give the plan of the board as
// it is now: a winning one, and the fewest once the search is done.
// Taking back every move restores each earlier board exactly, back to the
// deal, wrapping the first colour round to the K-th; then there is nothing
// left to take back.
TEST_F(BoardHelpTest, OffPlanPressesAndTakeBacksKeepThePlanTrue) {
    for (int k : {2, 7, 20}) {
        SCOPED_TRACE("K=" + std::to_string(k));
        RandSeed = static_cast<std::uint32_t>(k);
        TPanelBoard b;
        b.Deal(6, k);
        TBoardHelp help;
        help.NewGame();
        std::vector<std::vector<std::int32_t>> boards{b.Indices()};
        for (int move = 0; move < 12; ++move) {
            PlanFully(help, b);
            // A panel the plan leaves alone, where there is one.
            const std::vector<std::int32_t>& plan = help.Plan(b);
            int cell = move * 7 % 36;
            for (int i = 0; i < 36; ++i)
                if (plan[i] == 0) cell = i;
            b.ApplyMove(cell / 6, cell % 6);
            help.Moved(b, cell / 6, cell % 6);
            boards.push_back(b.Indices());
            PlanFully(help, b);
            EXPECT_TRUE(Wins(b, help.Plan(b)));
            EXPECT_EQ(help.PlanTotal(), Fewest(b));
        }
        while (help.MovesToTakeBack() > 0) {
            boards.pop_back();
            ASSERT_TRUE(help.TakeBack(b).has_value());
            EXPECT_EQ(b.Indices(), boards.back());
            PlanFully(help, b);
            EXPECT_TRUE(Wins(b, help.Plan(b)));
            EXPECT_EQ(help.PlanTotal(), Fewest(b));
        }
        EXPECT_FALSE(help.TakeBack(b).has_value());
        EXPECT_EQ(b.Indices(), boards.front());
    }
}

// A press the plan asks for, made while the search for fewer presses is still
// running, sets the search going again on the board as it is now: the plan
// it ends with wins that board in the fewest presses.
TEST_F(BoardHelpTest, APressDuringTheSearchSearchesTheBoardAfterIt) {
    RandSeed = 16;
    TPanelBoard b;
    b.Deal(16, 8);  // a search longer than the plan's first few milliseconds
    TBoardHelp help;
    help.NewGame();
    const auto next = help.NextPress(b);
    ASSERT_TRUE(next.has_value());
    ASSERT_TRUE(help.Improving());
    b.ApplyMove(next->row, next->col);
    help.Moved(b, next->row, next->col);
    PlanFully(help, b);
    EXPECT_TRUE(Wins(b, help.Plan(b)));
    EXPECT_EQ(help.PlanTotal(), Fewest(b));
}

}  // namespace
