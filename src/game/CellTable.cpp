#include "game/CellTable.h"

namespace {
const std::string kEmpty;
}

TCellTable::TCellTable(std::int32_t colCount, std::int32_t rowCount) : colCount_(0), rowCount_(0) {
    SetColCount(colCount);
    SetRowCount(rowCount);
}

void TCellTable::SetColCount(std::int32_t n) {
    colCount_ = n < 0 ? 0 : n;
    for (auto& row : rows_) row.resize(static_cast<std::size_t>(colCount_));
}

void TCellTable::SetRowCount(std::int32_t n) {
    rowCount_ = n < 0 ? 0 : n;
    rows_.resize(static_cast<std::size_t>(rowCount_),
                 std::vector<std::string>(static_cast<std::size_t>(colCount_)));
}

const std::string& TCellTable::Cell(std::int32_t col, std::int32_t row) const {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void TCellTable::SetCell(std::int32_t col, std::int32_t row, std::string text) {
    if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}
