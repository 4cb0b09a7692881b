// The mend of a dealt board: winnable boards are left alone, the others are
// recoloured at the fixed cells only, and the result is uniform over the
// winnable boards.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "game/PanelBoard.h"
#include "game/Solver.h"

namespace {

using solver::AnalyseBoard;

// The boards of an n x n, K colour game that can be won, found without the
// solver: every board reachable from a one-colour board by presses (the moves
// commute, so these are t * 1 + A x for every colour t and pattern x).
// Boards are numbered by their cells as base-K digits, cell 0 lowest.
std::vector<bool> WinnableByEnumeration(int n, int k) {
    const int cells = n * n;
    std::vector<std::int64_t> power(cells + 1, 1);
    for (int i = 1; i <= cells; ++i) power[i] = power[i - 1] * k;
    std::vector<bool> winnable(static_cast<std::size_t>(power[cells]), false);
    std::vector<int> digit(cells, 0);
    std::int64_t index = 0;
    auto bump = [&](int c) {
        if (++digit[c] == k) {
            digit[c] = 0;
            index -= (k - 1) * power[c];
        } else {
            index += power[c];
        }
    };
    // Odometer over (x, t): digit i < cells presses cell i, digit `cells` is t.
    std::vector<int> x(cells + 1, 0);
    for (;;) {
        winnable[static_cast<std::size_t>(index)] = true;
        int i = 0;
        for (; i <= cells; ++i) {
            if (i == cells) {
                for (int c = 0; c < cells; ++c) bump(c);
            } else {
                const int r = i / n, c = i % n;
                bump(i);
                if (r > 0) bump(i - n);
                if (c > 0) bump(i - 1);
                if (r < n - 1) bump(i + n);
                if (c < n - 1) bump(i + 1);
            }
            if (++x[i] < k) break;
            x[i] = 0;
        }
        if (i > cells) return winnable;
    }
}

// Every n x n board with K colours goes through the mend. Checks that the
// result can be won, that a board that could be won is unchanged, that only
// the mend cells change, and that every winnable board comes out exactly M
// times (M = K^n / number of winnable boards), i.e. the mend of a uniform
// draw is uniform over the winnable boards.
void CheckEveryBoard(int n, int k) {
    const auto a = AnalyseBoard(n, k);
    const int cells = n * n;
    const std::vector<bool> winnable = WinnableByEnumeration(n, k);
    const std::int64_t total = static_cast<std::int64_t>(winnable.size());
    const std::int64_t winnableCount = std::count(winnable.begin(), winnable.end(), true);
    ASSERT_EQ(total % winnableCount, 0);
    const std::int64_t m = total / winnableCount;
    ASSERT_EQ(std::to_string(m), a->BoardsPerWinnable());
    ASSERT_GT(m, 1) << "a case where nothing needs mending proves nothing";

    std::vector<bool> isMendCell(cells, false);
    for (int c : a->MendCells()) isMendCell[c] = true;
    std::vector<std::int64_t> power(cells, 1);
    for (int i = 1; i < cells; ++i) power[i] = power[i - 1] * k;

    std::vector<std::uint8_t> hits(static_cast<std::size_t>(total), 0);
    std::vector<std::int32_t> board(cells, 0), mended(cells);
    std::int64_t failures = 0;
    for (std::int64_t index = 0; index < total; ++index) {
        mended = board;
        a->Mend(mended);
        std::int64_t out = index;
        for (int c = 0; c < cells; ++c) {
            if (mended[c] == board[c]) continue;
            if (!isMendCell[c]) ++failures;
            out += (mended[c] - board[c]) * power[c];
        }
        if (!winnable[static_cast<std::size_t>(out)]) ++failures;
        if (winnable[static_cast<std::size_t>(index)] && out != index) ++failures;
        ++hits[static_cast<std::size_t>(out)];
        for (int c = 0; c < cells && ++board[c] == k; ++c) board[c] = 0;
    }
    EXPECT_EQ(failures, 0);
    std::int64_t unevenly = 0;
    for (std::int64_t index = 0; index < total; ++index) {
        const std::int64_t expected = winnable[static_cast<std::size_t>(index)] ? m : 0;
        if (hits[static_cast<std::size_t>(index)] != expected) ++unevenly;
    }
    EXPECT_EQ(unevenly, 0);
}

// With a prime K and as many mend cells as M has factors K, each setting of
// the other cells leaves exactly one winnable value for the mend cells, so
// these two cases pin down where the mend may write and what it must leave
// alone; the spread over several winnable results is tested further down.
TEST(SolverMendTest, EveryFourByFourBoardWithTwoColours) { CheckEveryBoard(4, 2); }

TEST(SolverMendTest, EveryFourByFourBoardWithThreeColours) { CheckEveryBoard(4, 3); }

// Wins `cells` with `presses`, computed directly from the move rule.
bool Wins(const std::vector<std::int32_t>& cells, const std::vector<std::int32_t>& presses, int n,
          int k) {
    std::vector<int> b(cells.begin(), cells.end());
    for (int i = 0; i < n * n; ++i) {
        const int r = i / n, c = i % n;
        b[i] += presses[i];
        if (r > 0) b[i - n] += presses[i];
        if (c > 0) b[i - 1] += presses[i];
        if (r < n - 1) b[i + n] += presses[i];
        if (c < n - 1) b[i + 1] += presses[i];
    }
    return std::all_of(b.begin(), b.end(), [&](int v) { return v % k == b[0] % k; });
}

// Uniformity for larger boards and colour counts that are not prime, where
// the classes of boards are not a power of Z_K: with the cells outside the
// mend cells fixed at random, every value of the mend cells is tried; each
// winnable result must come from exactly M of them. Since that holds for
// every setting of the other cells, the whole deal is uniform.
TEST(SolverMendTest, EachSettingOfTheOtherCellsSpreadsEvenly) {
    struct Case {
        int n, k;
    } cases[] = {{4, 4}, {4, 6}, {5, 6}, {5, 12}, {11, 3}, {14, 2}};
    for (const Case& cs : cases) {
        const auto a = AnalyseBoard(cs.n, cs.k);
        const std::vector<std::int32_t>& mendCells = a->MendCells();
        const std::int64_t m = std::stoll(a->BoardsPerWinnable());
        std::int64_t settings = 1;
        for (std::size_t i = 0; i < mendCells.size(); ++i) settings *= cs.k;
        ASSERT_LE(settings, 5000) << "case too large to try every setting";
        ASSERT_EQ(settings % m, 0);
        RandSeed = 31337;
        for (int trial = 0; trial < 8; ++trial) {
            std::vector<std::int32_t> board(cs.n * cs.n);
            for (auto& v : board) v = Random(cs.k);
            std::map<std::vector<std::int32_t>, std::int64_t> results;
            std::vector<std::int32_t> digits(mendCells.size(), 0);
            for (std::int64_t s = 0; s < settings; ++s) {
                for (std::size_t d = 0; d < mendCells.size(); ++d) board[mendCells[d]] = digits[d];
                std::vector<std::int32_t> mended = board;
                const bool changed = a->Mend(mended);
                if (a->IsWinnable(board)) {
                    EXPECT_FALSE(changed);
                }
                ++results[mended];
                for (std::size_t d = 0; d < digits.size() && ++digits[d] == cs.k; ++d)
                    digits[d] = 0;
            }
            EXPECT_EQ(static_cast<std::int64_t>(results.size()), settings / m)
                << cs.n << "x" << cs.n << " K=" << cs.k;
            for (const auto& [result, count] : results) {
                EXPECT_EQ(count, m) << cs.n << "x" << cs.n << " K=" << cs.k;
                auto solution = a->Solve(result);
                ASSERT_TRUE(solution.has_value());
                EXPECT_TRUE(Wins(result, solution->presses, cs.n, cs.k));
                for (int c = 0; c < cs.n * cs.n; ++c) {
                    if (std::find(mendCells.begin(), mendCells.end(), c) == mendCells.end()) {
                        EXPECT_EQ(result[c], board[c]);
                    }
                }
            }
        }
    }
}

}  // namespace
