// The string grid: a table of text cells addressed by column and row, both
// counted from 0. The first row and the first column are fixed: they are
// drawn as headings and cannot be selected. Cells are never edited by the
// user. A text longer than its cell is cut at the cell's edge, and the user
// widens or narrows a column by dragging its right border in the fixed row.
// Tab leaves the grid for the next control instead of moving between cells.
//
// One normal cell is the current cell (at first the one after the fixed row
// and column); the arrow keys and a click move it, never onto a fixed cell.
// While the grid has the focus the current cell is drawn unhighlighted with
// the focus rectangle; otherwise it shows as selected, like the rest of the
// selection.
#pragma once

#include <QString>
#include <QTableWidget>

namespace framework {

class TStringGrid : public QTableWidget {
    Q_OBJECT

  public:
    static constexpr int kFixedCols = 1;
    static constexpr int kFixedRows = 1;
    // Narrowest a column can be dragged, and how far from a column's border
    // (either side) a press in the fixed row grabs it.
    static constexpr int kMinDragWidth = 4;
    static constexpr int kSizingZone = 3;

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
    // The cell drawn with the focus rectangle now.
    bool HasFocusRect(const QModelIndex& index) const {
        return hasFocus() && index == currentIndex();
    }

    // The column whose right border a press at `pos` (viewport coordinates)
    // would drag, or -1.
    int SizingColumnAt(const QPoint& pos) const;

  protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void FillNewCells(int fromRow, int fromCol);
    void KeepCurrentCellNormal();
    bool StartSizing(QMouseEvent* event);

    // The column being dragged (-1: none), where the drag started and the
    // column's width then.
    int sizingCol_ = -1;
    int sizingStartX_ = 0;
    int sizingStartWidth_ = 0;

    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
};

}  // namespace framework
