#include "framework/qt/StringGrid.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "support/Mouse.h"
#include "support/QtPrinters.h"

namespace {

// The grid as the ranking window sets it up: 6 columns, 11 rows.
class StringGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.resize(633, 329);
        grid.SetColCount(6);
        grid.SetRowCount(11);
    }

    // Position of the centre of cell (col, row) in the viewport.
    QPoint CellCentre(int col, int row) const {
        return grid.visualRect(grid.model()->index(row, col)).center();
    }

    framework::TStringGrid grid;
};

TEST(StringGridDefaultsTest, FreshGridIsFiveByFiveWith64By24Cells) {
    framework::TStringGrid grid;
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.DefaultColWidth(), 64);
    EXPECT_EQ(grid.DefaultRowHeight(), 24);
    EXPECT_EQ(grid.ColWidths(4), 64);
    EXPECT_EQ(grid.RowHeights(4), 24);
    EXPECT_TRUE(grid.showGrid());
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(StringGridTest, CellsAreAddressedByColumnThenRow) {
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.RowCount(), 11);
    grid.SetCells(0, 0, QString::fromUtf16(u"順位"));
    grid.SetCells(1, 0, QString::fromUtf16(u"名前"));
    grid.SetCells(0, 3, "3");
    grid.SetCells(5, 10, "20");
    EXPECT_EQ(grid.Cells(0, 0), QString::fromUtf16(u"順位"));
    EXPECT_EQ(grid.Cells(1, 0), QString::fromUtf16(u"名前"));
    EXPECT_EQ(grid.Cells(0, 3), "3");
    EXPECT_EQ(grid.Cells(3, 0), "");  // never written
    EXPECT_EQ(grid.Cells(5, 10), "20");
    // The same cell as the table shows it: row 10, column 5.
    EXPECT_EQ(grid.item(10, 5)->text(), "20");
    grid.SetCells(5, 10, "");
    EXPECT_EQ(grid.Cells(5, 10), "");
}

TEST_F(StringGridTest, CellsOutsideTheGridReadEmptyAndIgnoreWrites) {
    grid.SetCells(6, 0, "x");
    grid.SetCells(0, 11, "x");
    grid.SetCells(-1, 2, "x");
    EXPECT_EQ(grid.Cells(6, 0), "");
    EXPECT_EQ(grid.Cells(0, 11), "");
    EXPECT_EQ(grid.Cells(-1, 2), "");
    EXPECT_EQ(grid.ColCount(), 6);
    EXPECT_EQ(grid.RowCount(), 11);
}

TEST_F(StringGridTest, GrowingAppendsEmptyRowsShrinkingDropsTheLast) {
    for (int row = 0; row < 11; ++row)
        for (int col = 0; col < 6; ++col)
            grid.SetCells(col, row, QString("%1,%2").arg(col).arg(row));

    grid.SetRowCount(12);
    EXPECT_EQ(grid.RowCount(), 12);
    for (int col = 0; col < 6; ++col) EXPECT_EQ(grid.Cells(col, 11), "") << col;
    grid.SetCells(1, 11, "new");
    EXPECT_EQ(grid.Cells(5, 10), "5,10");

    grid.SetRowCount(11);
    EXPECT_EQ(grid.RowCount(), 11);
    for (int row = 0; row < 11; ++row)
        for (int col = 0; col < 6; ++col)
            EXPECT_EQ(grid.Cells(col, row), QString("%1,%2").arg(col).arg(row));
    // A dropped row comes back empty.
    grid.SetRowCount(12);
    EXPECT_EQ(grid.Cells(1, 11), "");

    // Columns alike.
    grid.SetColCount(4);
    EXPECT_EQ(grid.Cells(3, 2), "3,2");
    EXPECT_EQ(grid.Cells(4, 2), "");
    grid.SetColCount(6);
    EXPECT_EQ(grid.Cells(4, 2), "");
    EXPECT_EQ(grid.Cells(3, 2), "3,2");
    EXPECT_EQ(grid.ColWidths(5), 64);
    EXPECT_EQ(grid.RowHeights(11), 24);
}

TEST_F(StringGridTest, FixedRowAndColumnCannotBeSelected) {
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    for (int col = 0; col < 6; ++col)
        EXPECT_FALSE(grid.item(0, col)->flags() & Qt::ItemIsSelectable) << col;
    for (int row = 0; row < 11; ++row)
        EXPECT_FALSE(grid.item(row, 0)->flags() & Qt::ItemIsSelectable) << row;
    // Also the cells of rows added later.
    grid.SetRowCount(12);
    EXPECT_FALSE(grid.item(11, 0)->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(grid.item(11, 1)->flags() & Qt::ItemIsSelectable);

    grid.clearSelection();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 4));
    EXPECT_TRUE(grid.selectedItems().isEmpty());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 4));
    ASSERT_EQ(grid.selectedItems().size(), 1);
    EXPECT_EQ(grid.selectedItems().front(), grid.item(4, 2));
}

TEST_F(StringGridTest, CellsAreNotEditable) {
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.SetCells(2, 3, "100");
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 3));
    // QTest's double click ends with the button down: let it go.
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 3));
    grid.setCurrentCell(3, 2);
    QTest::keyClick(&grid, Qt::Key_F2);
    QTest::keyClicks(&grid, "9");
    EXPECT_EQ(grid.findChild<QLineEdit*>(), nullptr);
    EXPECT_EQ(grid.Cells(2, 3), "100");
}

TEST_F(StringGridTest, FixedCellsAreDrawnAsHeadings) {
    QPalette pal = grid.palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));  // an unmistakable face
    grid.setPalette(pal);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const QImage image = grid.viewport()->grab().toImage();
    // Inside a heading cell (away from its text and edges) and a normal cell.
    const QRect heading = grid.visualRect(grid.model()->index(0, 3));
    const QRect side = grid.visualRect(grid.model()->index(5, 0));
    const QRect normal = grid.visualRect(grid.model()->index(5, 3));
    const QPoint inHeading = heading.bottomRight() - QPoint(4, 4);
    const QPoint inSide = side.bottomRight() - QPoint(4, 4);
    const QPoint inNormal = normal.bottomRight() - QPoint(4, 4);
    EXPECT_EQ(image.pixelColor(inHeading), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(image.pixelColor(inSide), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(image.pixelColor(inNormal), QColor(Qt::white));
}

// The current cell starts after the fixed row and column and the arrow keys
// move it over the normal cells only; while the grid has the focus it is
// drawn unhighlighted inside the dotted focus rectangle.
TEST_F(StringGridTest, TheCurrentCellShowsTheFocusAndMovesWithTheArrows) {
    const QColor highlight(0x12, 0x34, 0x56);
    QPalette pal = grid.palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Highlight, highlight);
    grid.setPalette(pal);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    const auto at = [&] { return QPoint(grid.currentColumn(), grid.currentRow()); };
    // How a cell looks: the pixels of its top edge that are inverted (black
    // on white), and the colour inside it.
    const auto look = [&](int col, int row) {
        const QImage image = grid.viewport()->grab().toImage();
        const QRect cell = grid.visualRect(grid.model()->index(row, col));
        int dots = 0;
        for (int x = cell.left(); x < cell.right(); ++x)
            dots += image.pixelColor(x, cell.top()) == QColor(Qt::black);
        return std::pair{dots, image.pixelColor(cell.bottomRight() - QPoint(3, 3))};
    };
    grid.clearFocus();
    EXPECT_EQ(at(), QPoint(1, 1));
    EXPECT_EQ(look(1, 1), std::pair(0, highlight));  // selected, the grid unfocused

    grid.setFocus(Qt::TabFocusReason);
    for (auto key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Home, Qt::Key_PageUp})
        QTest::keyClick(&grid, key);
    EXPECT_EQ(at(), QPoint(1, 1));
    QTest::keyClick(&grid, Qt::Key_Down);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(at(), QPoint(2, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 4));  // a fixed cell
    EXPECT_EQ(at(), QPoint(2, 2));
    const auto [dots, inside] = look(2, 2);
    EXPECT_GE(dots, 64 / 2 - 2);
    EXPECT_EQ(inside, QColor(Qt::white));
    EXPECT_EQ(look(1, 1).second, QColor(Qt::white));  // no longer current or selected
    grid.clearFocus();
    EXPECT_EQ(look(2, 2), std::pair(0, highlight));
}

TEST_F(StringGridTest, DefaultSizesApplyToEveryColumnAndRow) {
    grid.SetDefaultColWidth(80);
    grid.SetDefaultRowHeight(20);
    for (int col = 0; col < 6; ++col) EXPECT_EQ(grid.ColWidths(col), 80) << col;
    for (int row = 0; row < 11; ++row) EXPECT_EQ(grid.RowHeights(row), 20) << row;
    grid.SetColCount(7);
    grid.SetRowCount(13);
    EXPECT_EQ(grid.ColWidths(6), 80);
    EXPECT_EQ(grid.RowHeights(12), 20);
    // The heading cells are part of the grid: the first row starts at the top.
    EXPECT_EQ(grid.visualRect(grid.model()->index(0, 0)).topLeft(), QPoint(0, 0));
}

TEST_F(StringGridTest, ColumnBordersInTheFixedRowAreDraggable) {
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    testsupport::Mouse mouse;
    // Drags the right border of column 1, grabbed `off` pixels right of it in row `row`.
    const auto drag = [&](int row, int off, int dx) {
        const QPoint from(grid.columnViewportPosition(2) - 1 + off,
                          grid.rowViewportPosition(row) + 5);
        mouse.Pause();
        mouse.Press(grid.viewport(), Qt::LeftButton, from);
        mouse.Move(grid.viewport(), from + QPoint(dx, 30));  // leaving the row goes on dragging
        mouse.Release(grid.viewport(), Qt::LeftButton, from + QPoint(dx, 30));
    };
    drag(0, 2, 50);
    EXPECT_EQ(grid.ColWidths(1), 114);
    EXPECT_EQ(grid.ColWidths(2), 64);
    drag(0, -2, -500);  // a column keeps a few pixels
    EXPECT_EQ(grid.ColWidths(1), framework::TStringGrid::kMinDragWidth);
    // Narrowed so, its border lies within reach of column 0's too: a press
    // just left of it still widens column 1.
    for (int off : {-1, -2}) {
        drag(0, off, 10);
        EXPECT_EQ(grid.ColWidths(1), framework::TStringGrid::kMinDragWidth + 10) << off;
        EXPECT_EQ(grid.ColWidths(0), 64) << off;
        drag(0, 0, -10);
    }
    drag(3, 0, 40);  // the same border in a normal row sizes nothing
    EXPECT_EQ(grid.ColWidths(1), framework::TStringGrid::kMinDragWidth);
}

}  // namespace
