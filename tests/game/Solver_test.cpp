#include "game/Solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "game/PanelBoard.h"

namespace {

using solver::AnalyseBoard;

class SolverTest : public ::testing::Test {
  protected:
    void SetUp() override { FillPanelPalette(); }

    static TPanelBoard BoardOf(const std::vector<std::int32_t>& cells, int n, int k) {
        TPanelBoard b;
        b.Deal(n, k);
        for (int i = 0; i < n * n; ++i) b.SetCell(i / n, i % n, PanelPalette[cells[i]]);
        return b;
    }

    // Presses every panel as often as the pattern says, with the game's own move.
    static void Press(TPanelBoard& b, const std::vector<std::int32_t>& presses) {
        const int n = b.Size();
        for (int i = 0; i < n * n; ++i)
            for (int t = 0; t < presses[i]; ++t) b.ApplyMove(i / n, i % n);
    }

    // Every press pattern of an n x n board, K colours, that wins `cells`, by
    // trying them all: the least number of presses, or -1 when none wins.
    static int BruteForceFewest(const std::vector<std::int32_t>& cells, int n, int k) {
        const int total = n * n;
        std::vector<int> x(total, 0);
        int best = -1;
        for (;;) {
            std::vector<int> b(cells.begin(), cells.end());
            int sum = 0;
            for (int i = 0; i < total; ++i) {
                sum += x[i];
                const int r = i / n, c = i % n;
                b[i] += x[i];
                if (r > 0) b[i - n] += x[i];
                if (c > 0) b[i - 1] += x[i];
                if (r < n - 1) b[i + n] += x[i];
                if (c < n - 1) b[i + 1] += x[i];
            }
            bool one = std::all_of(b.begin(), b.end(), [&](int v) { return v % k == b[0] % k; });
            if (one && (best < 0 || sum < best)) best = sum;
            int i = 0;
            while (i < total && ++x[i] == k) x[i++] = 0;
            if (i == total) return best;
        }
    }
};

TEST_F(SolverTest, LightsOutKernelDimensionsModuloTwo) {
    const std::map<int, int> known = {{4, 4},  {5, 2},  {9, 8},  {11, 6},
                                      {14, 4}, {16, 8}, {17, 2}, {19, 16}};
    for (int n = 3; n <= 20; ++n) {
        auto a = AnalyseBoard(n, 2);
        ASSERT_EQ(a->Parts().size(), 1u);
        const int expected = known.count(n) ? known.at(n) : 0;
        EXPECT_EQ(a->Parts()[0]->KernelDimension(), expected) << "N=" << n;
    }
}

// The rank of A modulo a prime p by plain Gaussian elimination, without the
// solver's machinery.
int RankModPrime(int n, int p) {
    const int cells = n * n;
    std::vector<std::vector<int>> a(cells, std::vector<int>(cells, 0));
    for (int i = 0; i < cells; ++i) {
        const int r = i / n, c = i % n;
        a[i][i] = 1;
        if (r > 0) a[i][i - n] = 1;
        if (c > 0) a[i][i - 1] = 1;
        if (r < n - 1) a[i][i + n] = 1;
        if (c < n - 1) a[i][i + 1] = 1;
    }
    int rank = 0;
    for (int col = 0; col < cells && rank < cells; ++col) {
        int pivot = rank;
        while (pivot < cells && a[pivot][col] == 0) ++pivot;
        if (pivot == cells) continue;
        std::swap(a[pivot], a[rank]);
        int inv = 1;
        while (a[rank][col] * inv % p != 1) ++inv;
        for (int& v : a[rank]) v = v * inv % p;
        for (int i = rank + 1; i < cells; ++i) {
            const int f = a[i][col];
            if (f == 0) continue;
            for (int j = col; j < cells; ++j) a[i][j] = ((a[i][j] - f * a[rank][j]) % p + p) % p;
        }
        ++rank;
    }
    return rank;
}

TEST_F(SolverTest, KernelDimensionsAgreeWithPlainEliminationForOddPrimes) {
    for (int p : {3, 5, 7}) {
        for (int n = 3; n <= 20; ++n) {
            EXPECT_EQ(AnalyseBoard(n, p)->Parts()[0]->KernelDimension(), n * n - RankModPrime(n, p))
                << n << "x" << n << " mod " << p;
        }
    }
    // Modulo 4 the solver sees what modulo 2 sees, plus the finer structure.
    for (int n : {4, 5, 9}) {
        EXPECT_EQ(AnalyseBoard(n, 4)->Parts()[0]->KernelDimension(),
                  AnalyseBoard(n, 2)->Parts()[0]->KernelDimension());
    }
}

TEST_F(SolverTest, ShareOfWinnableBoards) {
    EXPECT_EQ(AnalyseBoard(5, 7)->BoardsPerWinnable(), "49");
    EXPECT_EQ(AnalyseBoard(5, 2)->BoardsPerWinnable(), "4");
    EXPECT_EQ(AnalyseBoard(4, 6)->BoardsPerWinnable(), "144");
    EXPECT_EQ(AnalyseBoard(9, 8)->BoardsPerWinnable(), "32768");
    const double m19 = std::stod(AnalyseBoard(19, 16)->BoardsPerWinnable());
    EXPECT_GT(m19, 3.35e10);
    EXPECT_LT(m19, 3.45e10);
    for (int k = 2; k <= 20; ++k) {
        EXPECT_EQ(AnalyseBoard(3, k)->BoardsPerWinnable(), "1") << "K=" << k;
        EXPECT_EQ(AnalyseBoard(10, k)->BoardsPerWinnable(), "1") << "K=" << k;
        EXPECT_EQ(AnalyseBoard(18, k)->BoardsPerWinnable(), "1") << "K=" << k;
    }
    EXPECT_EQ(AnalyseBoard(20, 20)->BoardsPerWinnable(), "1");
}

TEST_F(SolverTest, MendUsesTheLeastNumberOfCells) {
    for (int n = 3; n <= 20; ++n) {
        for (int k = 2; k <= 20; ++k) {
            auto a = AnalyseBoard(n, k);
            // G / H needs as many generators as its largest p-part has cyclic factors.
            std::size_t least = 0;
            for (const auto& part : a->Parts())
                least = std::max(least, part->QuotientExponents().size());
            EXPECT_EQ(a->MendCells().size(), least) << n << "x" << n << " K=" << k;
            // And no fewer cells could cover the M classes: K^D >= M.
            const double m = std::stod(a->BoardsPerWinnable());
            EXPECT_GE(std::pow(static_cast<double>(k), static_cast<double>(a->MendCells().size())),
                      m * 0.999);
        }
        solver::ClearAnalysisCache();
    }
    // For a prime K the classes form a vector space: exactly log_K M cells.
    EXPECT_EQ(AnalyseBoard(5, 7)->MendCells().size(), 2u);
    EXPECT_EQ(AnalyseBoard(19, 2)->MendCells().size(), 16u);
    EXPECT_TRUE(AnalyseBoard(10, 20)->MendCells().empty());
}

TEST_F(SolverTest, DealtBoardsAreWinnableAndThePressesWinThem) {
    for (int n = 3; n <= 20; ++n) {
        for (int k : {2, 3, 4, 5, 6, 7, 8, 9, 12, 16, 20}) {
            auto a = AnalyseBoard(n, k);
            for (std::uint32_t seed : {1u, 77u, 123456789u}) {
                RandSeed = seed * 31u + static_cast<std::uint32_t>(n * 100 + k);
                TPanelBoard b;
                b.Deal(n, k);
                const auto cells = b.Indices();
                ASSERT_TRUE(a->IsWinnable(cells)) << n << "x" << n << " K=" << k;
                auto s = a->Solve(cells);
                ASSERT_TRUE(s.has_value()) << n << "x" << n << " K=" << k;
                ASSERT_EQ(s->presses.size(), static_cast<std::size_t>(n * n));
                std::int64_t total = 0;
                for (int p : s->presses) {
                    ASSERT_GE(p, 0);
                    ASSERT_LT(p, k);
                    total += p;
                }
                EXPECT_EQ(s->total, total);
                Press(b, s->presses);
                EXPECT_TRUE(b.IsSolved()) << n << "x" << n << " K=" << k << " seed " << seed;
                EXPECT_EQ(b.CellIndex(0, 0), s->target) << n << "x" << n << " K=" << k;
            }
        }
        solver::ClearAnalysisCache();
    }
}

TEST_F(SolverTest, BoardsThatCannotBeWonAreRefused) {
    // 5 x 5 with two colours: the press patterns that change nothing (the
    // kernel of the symmetric A) press the corners, so a board with a single
    // lit corner is not orthogonal to them and not in the image of A; nor is
    // it with every panel flipped, as the all-lit board is in the image.
    auto a = AnalyseBoard(5, 2);
    std::vector<std::int32_t> cells(25, 0);
    cells[0] = 1;
    EXPECT_FALSE(a->IsWinnable(cells));
    EXPECT_FALSE(a->Solve(cells).has_value());
    EXPECT_FALSE(a->SolveFewest(cells).has_value());
    // Made winnable by the mend, it is then solved.
    EXPECT_TRUE(a->Mend(cells));
    EXPECT_TRUE(a->IsWinnable(cells));
    auto s = a->Solve(cells);
    ASSERT_TRUE(s.has_value());
    TPanelBoard b = BoardOf(cells, 5, 2);
    Press(b, s->presses);
    EXPECT_TRUE(b.IsSolved());
}

TEST_F(SolverTest, OneColourBoardNeedsNoPressesAtFewest) {
    auto a = AnalyseBoard(4, 6);
    std::vector<std::int32_t> cells(16, 3);
    auto s = a->SolveFewest(cells);
    ASSERT_TRUE(s.has_value());
    EXPECT_TRUE(s->fewest);
    EXPECT_EQ(s->total, 0);
    EXPECT_EQ(s->target, 3);
}

TEST_F(SolverTest, FewestMatchesTryingEveryPressPattern) {
    struct Case {
        int n, k, boards;
    } cases[] = {{3, 2, 40}, {3, 3, 6}, {4, 2, 6}, {3, 4, 2}};
    for (const Case& c : cases) {
        auto a = AnalyseBoard(c.n, c.k);
        ASSERT_TRUE(a->CanSearchFewest());
        RandSeed = 2024;
        for (int i = 0; i < c.boards; ++i) {
            std::vector<std::int32_t> cells(c.n * c.n);
            for (auto& v : cells) v = Random(c.k);
            const int expected = BruteForceFewest(cells, c.n, c.k);
            auto s = a->SolveFewest(cells);
            ASSERT_EQ(s.has_value(), expected >= 0)
                << c.n << "x" << c.n << " K=" << c.k << " #" << i;
            if (!s) continue;
            EXPECT_TRUE(s->fewest);
            EXPECT_EQ(s->total, expected) << c.n << "x" << c.n << " K=" << c.k << " #" << i;
            TPanelBoard b = BoardOf(cells, c.n, c.k);
            Press(b, s->presses);
            EXPECT_TRUE(b.IsSolved());
            EXPECT_EQ(b.CellIndex(0, 0), s->target);
        }
    }
}

TEST_F(SolverTest, FewestSearchBoundDecidesWhereItRuns) {
    EXPECT_EQ(AnalyseBoard(5, 7)->WinningPatterns(), 343u);
    EXPECT_TRUE(AnalyseBoard(5, 7)->CanSearchFewest());
    EXPECT_EQ(AnalyseBoard(9, 8)->WinningPatterns(), 262144u);  // just at the bound
    EXPECT_TRUE(AnalyseBoard(9, 8)->CanSearchFewest());
    EXPECT_FALSE(AnalyseBoard(19, 16)->CanSearchFewest());
    // Beyond the bound a winning pattern is still given, not claimed fewest.
    RandSeed = 5;
    TPanelBoard b;
    b.Deal(19, 16);
    auto s = AnalyseBoard(19, 16)->SolveFewest(b.Indices());
    ASSERT_TRUE(s.has_value());
    EXPECT_FALSE(s->fewest);
    Press(b, s->presses);
    EXPECT_TRUE(b.IsSolved());
}

TEST_F(SolverTest, FewestOnALargeSearchWinsWithNoMorePressesThanSolve) {
    RandSeed = 99;
    TPanelBoard b;
    b.Deal(9, 8);
    auto a = AnalyseBoard(9, 8);
    auto some = a->Solve(b.Indices());
    auto fewest = a->SolveFewest(b.Indices());
    ASSERT_TRUE(some && fewest);
    EXPECT_TRUE(fewest->fewest);
    EXPECT_LE(fewest->total, some->total);
    Press(b, fewest->presses);
    EXPECT_TRUE(b.IsSolved());
}

TEST_F(SolverTest, AnalysisIsComputedOnceAndKept) {
    auto first = AnalyseBoard(7, 12);
    EXPECT_EQ(AnalyseBoard(7, 12).get(), first.get());
    // Parts are shared between colour counts with the same prime power.
    EXPECT_EQ(AnalyseBoard(7, 6)->Parts()[1].get(), AnalyseBoard(7, 3)->Parts()[0].get());
    solver::ClearAnalysisCache();
    auto second = AnalyseBoard(7, 12);
    EXPECT_NE(second.get(), first.get());
    // An analysis handed out before the clear stays usable.
    std::vector<std::int32_t> cells(49, 5);
    EXPECT_TRUE(first->IsWinnable(cells));
}

// Work ahead of need, done in the thinnest slices, gives the analysis made
// at once: run to the end or cut short by the deal, and after another pair
// was named midway (12 x 12 with 6 colours: its part modulo 2 goes on for
// 12 x 12 with 2 colours, and is dropped for 11 x 11).
TEST_F(SolverTest, AnalysisAheadInSlicesIsTheAnalysisMadeAtOnce) {
    struct Case {
        int n, k, firstN, firstK;
        bool cutShort;
    } cases[] = {{20, 20, 20, 20, false}, {20, 20, 20, 20, true}, {19, 16, 19, 16, true},
                 {12, 2, 12, 6, false},   {11, 2, 12, 6, false},  {12, 3, 12, 6, true}};
    for (const Case& c : cases) {
        solver::ClearAnalysisCache();
        const auto atOnce = AnalyseBoard(c.n, c.k);
        solver::ClearAnalysisCache();
        solver::AnalyseAhead(c.firstN, c.firstK);
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(solver::AnalyseAheadStep(std::chrono::nanoseconds(0)));
        solver::AnalyseAhead(c.n, c.k);
        while (!c.cutShort && solver::AnalyseAheadStep(std::chrono::nanoseconds(0))) {
        }
        const auto ahead = AnalyseBoard(c.n, c.k);
        EXPECT_FALSE(solver::AnalyseAheadStep(std::chrono::nanoseconds(0)));
        RandSeed = 99;
        TPanelBoard b;
        b.Deal(c.n, c.k);
        const auto cells = b.Indices();
        EXPECT_EQ(ahead->MendCells(), atOnce->MendCells()) << c.n << "x" << c.n << " K=" << c.k;
        EXPECT_EQ(ahead->Solve(cells)->presses, atOnce->Solve(cells)->presses);
    }
    solver::AnalyseAhead(2, 3);  // out of range: nothing to do
    EXPECT_FALSE(solver::AnalyseAheadStep(std::chrono::milliseconds(50)));
    solver::ClearAnalysisCache();
}

TEST_F(SolverTest, SizesAndColourCountsOutOfRangeAreRefused) {
    EXPECT_THROW(AnalyseBoard(2, 5), std::invalid_argument);
    EXPECT_THROW(AnalyseBoard(21, 5), std::invalid_argument);
    EXPECT_THROW(AnalyseBoard(5, 1), std::invalid_argument);
    EXPECT_THROW(AnalyseBoard(5, 21), std::invalid_argument);
}

}  // namespace
