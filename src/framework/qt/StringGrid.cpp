#include "framework/qt/StringGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "framework/qt/FocusRect.h"

namespace framework {

namespace {

// Draws the fixed cells like headings: button face with a raised edge; and
// the current cell of a focused grid unhighlighted, inside the focus rectangle.
class FixedCellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto* grid = static_cast<const TStringGrid*>(parent());
        if (!grid->IsFixedCell(index.column(), index.row())) {
            QStyleOptionViewItem normal(option);
            normal.state &= ~QStyle::State_HasFocus;  // the style's own focus frame
            const bool focused = grid->HasFocusRect(index);
            if (focused) {
                // Over the selection's colour, which the view has laid already.
                normal.state &= ~QStyle::State_Selected;
                painter->fillRect(option.rect, option.palette.base());
            }
            QStyledItemDelegate::paint(painter, normal, index);
            if (focused) DrawFocusRect(*painter, option.rect);
            return;
        }
        painter->save();
        const QRect r = option.rect;
        const QPalette& pal = option.palette;
        painter->fillRect(r, pal.button());
        // The text is cut at the cell's edge, which is drawn over it.
        painter->setClipRect(r);
        painter->setPen(pal.buttonText().color());
        painter->setFont(option.font);
        painter->drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
        painter->setPen(pal.light().color());
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(pal.dark().color());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }
};

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultSectionSize(defaultColWidth_);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setTabKeyNavigation(false);
    setMouseTracking(true);  // the sizing cursor over a column border
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new FixedCellDelegate(this));
    // The look of a fresh grid: 5 x 5 cells.
    SetColCount(5);
    SetRowCount(5);
}

void TStringGrid::FillNewCells(int fromRow, int fromCol) {
    // Every cell gets an item, so that the fixed ones can refuse selection
    // even while empty.
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = (row < fromRow ? fromCol : 0); col < columnCount(); ++col) {
            if (item(row, col) != nullptr) continue;
            auto* cell = new QTableWidgetItem;
            Qt::ItemFlags flags = Qt::ItemIsEnabled;
            if (!IsFixedCell(col, row)) flags |= Qt::ItemIsSelectable;
            cell->setFlags(flags);
            setItem(row, col, cell);
        }
    }
}

void TStringGrid::KeepCurrentCellNormal() {
    const QModelIndex current = currentIndex();
    if (current.isValid() && !IsFixedCell(current.column(), current.row())) return;
    if (rowCount() > kFixedRows && columnCount() > kFixedCols) {
        setCurrentCell(kFixedRows, kFixedCols);
    }
}

void TStringGrid::SetColCount(int count) {
    const int old = columnCount();
    setColumnCount(qMax(count, kFixedCols));
    for (int col = old; col < columnCount(); ++col) setColumnWidth(col, defaultColWidth_);
    FillNewCells(rowCount(), old);
    KeepCurrentCellNormal();
}

void TStringGrid::SetRowCount(int count) {
    const int old = rowCount();
    setRowCount(qMax(count, kFixedRows));
    for (int row = old; row < rowCount(); ++row) setRowHeight(row, defaultRowHeight_);
    FillNewCells(old, columnCount());
    KeepCurrentCellNormal();
}

QModelIndex TStringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // The fixed row and column are no place for the current cell: a move
    // toward them stops at the first normal cell.
    const QModelIndex next = QTableWidget::moveCursor(action, modifiers);
    if (!next.isValid()) return next;
    return model()->index(qMax(next.row(), kFixedRows), qMax(next.column(), kFixedCols));
}

QString TStringGrid::Cells(int col, int row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell != nullptr ? cell->text() : QString();
}

void TStringGrid::SetCells(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
    QTableWidgetItem* cell = item(row, col);
    if (cell != nullptr) cell->setText(text);
}

void TStringGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = qMax(0, width);
    horizontalHeader()->setDefaultSectionSize(defaultColWidth_);
    for (int col = 0; col < columnCount(); ++col) setColumnWidth(col, defaultColWidth_);
}

void TStringGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = qMax(0, height);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    for (int row = 0; row < rowCount(); ++row) setRowHeight(row, defaultRowHeight_);
}

int TStringGrid::SizingColumnAt(const QPoint& pos) const {
    int fixedHeight = 0;
    for (int row = 0; row < kFixedRows && row < rowCount(); ++row) fixedHeight += rowHeight(row);
    if (pos.y() < rowViewportPosition(0) || pos.y() >= rowViewportPosition(0) + fixedHeight)
        return -1;
    // The right-most border in reach, so that a column dragged down to its
    // narrowest can still be grabbed and widened again.
    for (int col = columnCount() - 1; col >= 0; --col) {
        const int border = columnViewportPosition(col) + columnWidth(col) - 1;
        if (qAbs(pos.x() - border) <= kSizingZone) return col;
    }
    return -1;
}

bool TStringGrid::StartSizing(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return false;
    const int col = SizingColumnAt(event->position().toPoint());
    if (col < 0) return false;
    sizingCol_ = col;
    sizingStartX_ = event->position().toPoint().x();
    sizingStartWidth_ = columnWidth(col);
    event->accept();
    return true;
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    if (StartSizing(event)) return;
    // A press on a fixed cell moves nothing (the grid has taken the focus).
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid() && IsFixedCell(cell.column(), cell.row())) {
        event->accept();
        return;
    }
    QTableWidget::mousePressEvent(event);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click may start a drag as well.
    if (!StartSizing(event)) QTableWidget::mouseDoubleClickEvent(event);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (sizingCol_ >= 0) {
        setColumnWidth(sizingCol_,
                       qMax(kMinDragWidth, sizingStartWidth_ + pos.x() - sizingStartX_));
        event->accept();
        return;
    }
    if (SizingColumnAt(pos) >= 0 && event->buttons() == Qt::NoButton)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(event);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (sizingCol_ >= 0 && event->button() == Qt::LeftButton) {
        sizingCol_ = -1;
        event->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(event);
}

}  // namespace framework
