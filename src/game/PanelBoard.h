// The board model: the colour cycle, the generator that deals a board, and the
// move rule. No windows here; the board window keeps its panels equal to the
// model's cells.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "framework/Color.h"
#include "game/BoardLimits.h"

constexpr std::int32_t kPaletteSize = 20;

// The colour cycle. A game of K colours plays entries 0..K-1 in this order.
extern std::array<TColor, kPaletteSize> PanelPalette;
// Fills PanelPalette (once, when the board window is created).
void FillPanelPalette();
// The index of the first PanelPalette entry equal to `color`, or -1.
std::int32_t PaletteIndexOf(TColor color);

// The generator: seed := seed x 134775813 + 1 (mod 2^32).
extern std::uint32_t RandSeed;
// Seeds the generator from the time of day (milliseconds since midnight, UTC).
void Randomize();
// A draw in 0..range-1: the high 32 bits of the next seed times range.
std::int32_t Random(std::int32_t range);

class TPanelBoard {
  public:
    // Sizes the board n x n and deals every cell a colour of PanelPalette[0..k-1],
    // one draw per cell, row by row. A drawn board that cannot be won is
    // mended (solver::TBoardAnalysis::Mend): a few fixed cells are recoloured
    // so that it can, keeping the deal uniform over the boards that can be
    // won. A drawn board that can be won is dealt exactly as drawn.
    void Deal(std::int32_t n, std::int32_t k);
    // The palette indices drawn by the last Deal, row-major, before any mend.
    const std::vector<std::int32_t>& DrawnIndices() const { return drawn_; }
    // The palette index of a cell's colour (first match in PanelPalette), or
    // -1 when the colour is not in the palette.
    std::int32_t CellIndex(std::int32_t row, std::int32_t col) const;
    // CellIndex of every cell, row-major: the board as the solver takes it.
    std::vector<std::int32_t> Indices() const;
    // Advances one cell to the next colour of the cycle; a colour outside the
    // palette is left as it is.
    void CyclePanel(std::int32_t row, std::int32_t col);
    // The cells a move at (row, col) advances, in the order it advances them:
    // the cell, then up, left, down and right where they exist.
    struct CellPos {
        std::int32_t row, col;
    };
    struct MoveTargets {
        std::array<CellPos, 5> cells;
        std::size_t count = 0;
        const CellPos* begin() const { return cells.data(); }
        const CellPos* end() const { return cells.data() + count; }
    };
    MoveTargets TargetsOf(std::int32_t row, std::int32_t col) const;
    // The move: CyclePanel on every cell of TargetsOf(row, col).
    void ApplyMove(std::int32_t row, std::int32_t col);
    // Takes a move back: every cell of TargetsOf(row, col) goes one colour
    // back in the cycle (the first colour to the K-th); a colour outside the
    // palette is left as it is.
    void TakeBackMove(std::int32_t row, std::int32_t col);
    // True when every cell shows the colour of cell [0][0].
    bool IsSolved() const;

    TColor Cell(std::int32_t row, std::int32_t col) const { return cells_[Index(row, col)]; }
    void SetCell(std::int32_t row, std::int32_t col, TColor c) { cells_[Index(row, col)] = c; }
    std::int32_t Size() const { return size_; }
    std::int32_t Colors() const { return colors_; }

  private:
    std::size_t Index(std::int32_t row, std::int32_t col) const {
        return static_cast<std::size_t>(row * size_ + col);
    }

    std::int32_t size_ = 0;
    std::int32_t colors_ = 0;
    std::vector<TColor> cells_;
    std::vector<std::int32_t> drawn_;
};
