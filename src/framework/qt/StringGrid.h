// The string grid: a table of text cells addressed by column and row, both
// counted from 0. The first row and the first column are fixed: they are
// drawn as headings and cannot be selected. Cells are never edited by the
// user.
#pragma once

#include <QString>
#include <QTableWidget>

namespace framework {

class TStringGrid : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kFixedCols = 1;
    static constexpr int kFixedRows = 1;

    explicit TStringGrid(QWidget* parent = nullptr);

    // Growing appends empty columns/rows; shrinking drops the last ones, and
    // the remaining cells keep their texts. A count below the fixed ones is
    // raised to it.
    void SetColCount(int count);
    int ColCount() const { return columnCount(); }
    void SetRowCount(int count);
    int RowCount() const { return rowCount(); }

    // A cell never written reads as the empty text; a cell outside the grid
    // reads empty and ignores writes.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    // Width of every column and height of every row, in pixels. Setting the
    // default resets all columns (rows) to it.
    void SetDefaultColWidth(int width);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultRowHeight(int height);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    int ColWidths(int col) const { return columnWidth(col); }
    int RowHeights(int row) const { return rowHeight(row); }

    bool IsFixedCell(int col, int row) const { return col < kFixedCols || row < kFixedRows; }

  private:
    void FillNewCells(int fromRow, int fromCol);

    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
};

}  // namespace framework
