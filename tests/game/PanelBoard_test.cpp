#include "game/PanelBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/Solver.h"

namespace {

class PanelBoardTest : public ::testing::Test {
  protected:
    void SetUp() override { FillPanelPalette(); }

    // A board of n x n cells all at palette index `index`, dealt for k colours.
    TPanelBoard Uniform(int n, int k, int index) {
        TPanelBoard b;
        b.Deal(n, k);
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) b.SetCell(r, c, PanelPalette[index]);
        return b;
    }

    static int IndexOf(TColor c) {
        for (int i = 0; i < kPaletteSize; ++i)
            if (PanelPalette[i] == c) return i;
        return -1;
    }
};

TEST_F(PanelBoardTest, PaletteIsTheTwentyColourCycleInTableOrder) {
    EXPECT_EQ(PanelPalette[0], 0xFFFF00u);   // aqua
    EXPECT_EQ(PanelPalette[1], 0x000000u);   // black
    EXPECT_EQ(PanelPalette[3], 0xF0FBFFu);   // cream
    EXPECT_EQ(PanelPalette[9], 0x000080u);   // maroon: red in the low byte
    EXPECT_EQ(PanelPalette[14], 0x0000FFu);  // red
    EXPECT_EQ(PanelPalette[16], 0xF0CAA6u);  // sky blue
    EXPECT_EQ(PanelPalette[19], 0x00FFFFu);  // yellow
    std::set<TColor> distinct(PanelPalette.begin(), PanelPalette.end());
    EXPECT_EQ(distinct.size(), 20u);
}

TEST_F(PanelBoardTest, GeneratorIsTheLinearCongruentialOneWithHighBits) {
    RandSeed = 0;
    EXPECT_EQ(Random(20), 0);
    EXPECT_EQ(RandSeed, 1u);
    EXPECT_EQ(Random(20), 0);  // 134775814 * 20 < 2^32
    EXPECT_EQ(RandSeed, 134775814u);
    RandSeed = 0xFFFFFFFFu;  // wraps modulo 2^32
    EXPECT_EQ(Random(20), 19);
    EXPECT_EQ(RandSeed, 4160191484u);
    RandSeed = 0xFFFFFFFFu;
    EXPECT_EQ(Random(2), 1);
}

TEST_F(PanelBoardTest, DealDrawsOneColourPerCellRowByRow) {
    RandSeed = 4242;
    TPanelBoard b;
    b.Deal(4, 5);
    ASSERT_EQ(b.Size(), 4);
    RandSeed = 4242;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(b.DrawnIndices()[r * 4 + c], Random(5)) << r << "," << c;
    // The mend draws nothing more: the generator stands where 16 draws leave it.
    const std::uint32_t after = RandSeed;
    RandSeed = 4242;
    b.Deal(4, 5);
    EXPECT_EQ(RandSeed, after);
}

TEST_F(PanelBoardTest, DealUsesOnlyTheFirstKColoursAndAllOfThem) {
    for (int k : {2, 7, 20}) {
        RandSeed = 99;
        TPanelBoard b;
        b.Deal(20, k);
        std::set<int> seen;
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 20; ++c) seen.insert(IndexOf(b.Cell(r, c)));
        EXPECT_EQ(*seen.begin(), 0);
        EXPECT_EQ(*seen.rbegin(), k - 1);
        EXPECT_EQ(static_cast<int>(seen.size()), k);
    }
}

TEST_F(PanelBoardTest, MoveChangesCellAndOrthogonalNeighboursOnly) {
    struct Case {
        int row, col, changed;
    } cases[] = {{0, 0, 3}, {0, 2, 3}, {2, 0, 3}, {2, 2, 3}, {0, 1, 4}, {1, 0, 4}, {1, 1, 5}};
    for (const auto& c : cases) {
        TPanelBoard b = Uniform(3, 4, 0);
        b.ApplyMove(c.row, c.col);
        int changed = 0;
        for (int r = 0; r < 3; ++r) {
            for (int col = 0; col < 3; ++col) {
                bool neighbour = (std::abs(r - c.row) + std::abs(col - c.col)) <= 1;
                EXPECT_EQ(IndexOf(b.Cell(r, col)), neighbour ? 1 : 0) << r << "," << col;
                changed += neighbour;
            }
        }
        EXPECT_EQ(changed, c.changed);
    }
}

TEST_F(PanelBoardTest, EveryCellAdvancesOneStepWhateverItsColour) {
    TPanelBoard b = Uniform(3, 5, 0);
    b.SetCell(0, 1, PanelPalette[4]);  // at K-1: wraps to entry 0
    b.SetCell(1, 0, PanelPalette[2]);
    b.ApplyMove(0, 0);
    EXPECT_EQ(IndexOf(b.Cell(0, 0)), 1);
    EXPECT_EQ(IndexOf(b.Cell(0, 1)), 0);
    EXPECT_EQ(IndexOf(b.Cell(1, 0)), 3);
}

TEST_F(PanelBoardTest, TwentyColoursWrapYellowToAqua) {
    TPanelBoard b = Uniform(3, 20, 19);
    b.CyclePanel(1, 1);
    EXPECT_EQ(b.Cell(1, 1), PanelPalette[0]);
}

TEST_F(PanelBoardTest, KClicksRestoreTheBoard) {
    for (int k : {2, 3, 8, 20}) {
        RandSeed = 7;
        TPanelBoard b;
        b.Deal(6, k);
        TPanelBoard before = b;
        for (int i = 0; i < k; ++i) b.ApplyMove(2, 3);
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 6; ++c) EXPECT_EQ(b.Cell(r, c), before.Cell(r, c)) << "K=" << k;
    }
}

TEST_F(PanelBoardTest, ColourOutsideThePaletteIsLeftAlone) {
    TPanelBoard b = Uniform(3, 3, 0);
    b.SetCell(0, 0, 0x123456);
    b.ApplyMove(0, 0);
    EXPECT_EQ(b.Cell(0, 0), 0x123456u);
    EXPECT_EQ(IndexOf(b.Cell(0, 1)), 1);
}

TEST_F(PanelBoardTest, SolvedOnlyWhenEveryCellMatchesTheFirst) {
    TPanelBoard b = Uniform(4, 3, 2);
    EXPECT_TRUE(b.IsSolved());
    for (auto [r, c] : {std::pair{0, 0}, {0, 3}, {3, 0}, {3, 3}, {2, 1}}) {
        TPanelBoard d = b;
        d.SetCell(r, c, PanelPalette[1]);
        EXPECT_FALSE(d.IsSolved()) << r << "," << c;
    }
}

TEST_F(PanelBoardTest, OneMoveCanSolve) {
    // Every cell one step behind except the corner and its two neighbours.
    TPanelBoard b = Uniform(3, 2, 0);
    b.SetCell(0, 0, PanelPalette[1]);
    b.SetCell(0, 1, PanelPalette[1]);
    b.SetCell(1, 0, PanelPalette[1]);
    EXPECT_FALSE(b.IsSolved());
    b.ApplyMove(0, 0);
    EXPECT_TRUE(b.IsSolved());
}

// Draws n x n palette indices from `seed` the way a deal draws them.
std::vector<std::int32_t> DrawFrom(std::uint32_t seed, int n, int k) {
    RandSeed = seed;
    std::vector<std::int32_t> out(n * n);
    for (auto& v : out) v = Random(k);
    return out;
}

TEST_F(PanelBoardTest, DrawnBoardThatCanBeWonIsDealtAsDrawn) {
    // 5 x 5 with 7 colours: only 1 drawn board in 49 can be won.
    const auto a = solver::AnalyseBoard(5, 7);
    int found = 0;
    for (std::uint32_t seed = 1; found < 3 && seed < 100000; ++seed) {
        const auto drawn = DrawFrom(seed, 5, 7);
        if (!a->IsWinnable(drawn)) continue;
        ++found;
        RandSeed = seed;
        TPanelBoard b;
        b.Deal(5, 7);
        EXPECT_EQ(b.DrawnIndices(), drawn);
        EXPECT_EQ(b.Indices(), drawn) << "seed " << seed;
    }
    EXPECT_EQ(found, 3);
}

TEST_F(PanelBoardTest, DrawnBoardThatCannotBeWonIsMendedAtTheFixedCells) {
    const auto a = solver::AnalyseBoard(5, 7);
    ASSERT_EQ(a->MendCells().size(), 2u);
    int mended = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        const auto drawn = DrawFrom(seed, 5, 7);
        if (a->IsWinnable(drawn)) continue;
        RandSeed = seed;
        TPanelBoard b;
        b.Deal(5, 7);
        const auto dealt = b.Indices();
        EXPECT_EQ(b.DrawnIndices(), drawn);
        EXPECT_TRUE(a->IsWinnable(dealt)) << "seed " << seed;
        int changed = 0;
        for (int i = 0; i < 25; ++i) {
            if (dealt[i] == drawn[i]) continue;
            ++changed;
            EXPECT_NE(std::find(a->MendCells().begin(), a->MendCells().end(), i),
                      a->MendCells().end())
                << "seed " << seed << " changed cell " << i;
        }
        EXPECT_GE(changed, 1);
        ++mended;
    }
    EXPECT_GT(mended, 150);
}

TEST_F(PanelBoardTest, OneColourDrawIsStillDealt) {
    // 4 x 4 with 2 colours: 2 of the 65536 draws show one colour.
    std::uint32_t seed = 0;
    while (true) {
        const auto drawn = DrawFrom(++seed, 4, 2);
        if (std::all_of(drawn.begin(), drawn.end(), [&](int v) { return v == drawn[0]; })) break;
        ASSERT_LT(seed, 10000000u);
    }
    RandSeed = seed;
    TPanelBoard b;
    b.Deal(4, 2);
    EXPECT_EQ(b.Indices(), b.DrawnIndices());
    EXPECT_EQ(b.CellIndex(3, 3), b.CellIndex(0, 0));
}

TEST_F(PanelBoardTest, CellIndexIsThePaletteIndexOrMinusOne) {
    TPanelBoard b = Uniform(3, 5, 4);
    EXPECT_EQ(b.CellIndex(1, 1), 4);
    b.SetCell(1, 1, 0x123456);
    EXPECT_EQ(b.CellIndex(1, 1), -1);
}

}  // namespace
