// A table of text cells addressed [col][row], both from 0, as the ranking
// window's grid holds them. Growing the row count appends empty rows;
// shrinking drops the last rows; a cell never written reads as "".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TCellTable {
  public:
    TCellTable(std::int32_t colCount = 0, std::int32_t rowCount = 0);

    std::int32_t ColCount() const { return colCount_; }
    std::int32_t RowCount() const { return rowCount_; }
    void SetColCount(std::int32_t n);
    void SetRowCount(std::int32_t n);

    const std::string& Cell(std::int32_t col, std::int32_t row) const;
    void SetCell(std::int32_t col, std::int32_t row, std::string text);

  private:
    std::int32_t colCount_;
    std::int32_t rowCount_;
    std::vector<std::vector<std::string>> rows_;  // [row][col]
};
