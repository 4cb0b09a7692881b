#include "game/PanelBoard.h"

#include "framework/Clock.h"
#include "game/Solver.h"

std::array<TColor, kPaletteSize> PanelPalette{};
std::uint32_t RandSeed = 0;

void FillPanelPalette() {
    PanelPalette = {
        0xFFFF00,  // aqua
        0x000000,  // black
        0xFF0000,  // blue
        0xF0FBFF,  // cream
        0x808080,  // grey
        0xFF00FF,  // fuchsia
        0xC0C0C0,  // silver
        0x008000,  // green
        0x00FF00,  // lime
        0x000080,  // maroon
        0xC0DCC0,  // pale green
        0x800000,  // navy
        0x008080,  // olive
        0x800080,  // purple
        0x0000FF,  // red
        0x8000FF,  // rose
        0xF0CAA6,  // sky blue
        0x808000,  // teal
        0xFFFFFF,  // white
        0x00FFFF,  // yellow
    };
}

void Randomize() { RandSeed = framework::MillisecondsSinceMidnightUtc(); }

std::int32_t Random(std::int32_t range) {
    RandSeed = RandSeed * 134775813u + 1u;
    return static_cast<std::int32_t>(
        (static_cast<std::uint64_t>(RandSeed) * static_cast<std::uint32_t>(range)) >> 32);
}

void TPanelBoard::Deal(std::int32_t n, std::int32_t k) {
    size_ = n;
    colors_ = k;
    drawn_.assign(static_cast<std::size_t>(n * n), 0);
    for (std::int32_t row = 0; row < n; ++row) {
        for (std::int32_t col = 0; col < n; ++col) drawn_[Index(row, col)] = Random(k);
    }
    // The mend draws nothing, so the generator ends where n * n draws leave it.
    std::vector<std::int32_t> dealt = drawn_;
    if (n >= kMinBoardSize && n <= kMaxBoardSize && k >= kMinColorCount && k <= kMaxColorCount) {
        solver::AnalyseBoard(n, k)->Mend(dealt);
    }
    cells_.assign(static_cast<std::size_t>(n * n), 0);
    for (std::size_t i = 0; i < dealt.size(); ++i) {
        cells_[i] = PanelPalette[static_cast<std::size_t>(dealt[i])];
    }
}

std::int32_t PaletteIndexOf(TColor color) {
    for (std::int32_t i = 0; i < kPaletteSize; ++i) {
        if (PanelPalette[static_cast<std::size_t>(i)] == color) return i;
    }
    return -1;
}

std::int32_t TPanelBoard::CellIndex(std::int32_t row, std::int32_t col) const {
    return PaletteIndexOf(Cell(row, col));
}

std::vector<std::int32_t> TPanelBoard::Indices() const {
    std::vector<std::int32_t> out;
    out.reserve(cells_.size());
    for (TColor c : cells_) out.push_back(PaletteIndexOf(c));
    return out;
}

void TPanelBoard::CyclePanel(std::int32_t row, std::int32_t col) {
    TColor& cell = cells_[Index(row, col)];
    for (std::int32_t i = 0; i < kPaletteSize; ++i) {
        if (PanelPalette[static_cast<std::size_t>(i)] != cell) continue;
        cell = PanelPalette[static_cast<std::size_t>(i == colors_ - 1 ? 0 : i + 1)];
        return;
    }
}

TPanelBoard::MoveTargets TPanelBoard::TargetsOf(std::int32_t row, std::int32_t col) const {
    MoveTargets t;
    t.cells[t.count++] = {row, col};
    if (row != 0) t.cells[t.count++] = {row - 1, col};
    if (col != 0) t.cells[t.count++] = {row, col - 1};
    if (row != size_ - 1) t.cells[t.count++] = {row + 1, col};
    if (col != size_ - 1) t.cells[t.count++] = {row, col + 1};
    return t;
}

void TPanelBoard::ApplyMove(std::int32_t row, std::int32_t col) {
    for (CellPos p : TargetsOf(row, col)) CyclePanel(p.row, p.col);
}

void TPanelBoard::TakeBackMove(std::int32_t row, std::int32_t col) {
    for (CellPos p : TargetsOf(row, col)) {
        TColor& cell = cells_[Index(p.row, p.col)];
        const std::int32_t i = PaletteIndexOf(cell);
        if (i >= 0) cell = PanelPalette[static_cast<std::size_t>(i == 0 ? colors_ - 1 : i - 1)];
    }
}

bool TPanelBoard::IsSolved() const {
    for (TColor c : cells_) {
        if (c != cells_[0]) return false;
    }
    return true;
}
