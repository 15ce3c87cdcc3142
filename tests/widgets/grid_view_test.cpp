#include "grid/grid.h"
#include "widgets/grid_view.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include <gtest/gtest.h>

namespace {

constexpr GridColor kRed = rgb(255, 0, 0);

bool isDark(QRgb c)
{
    return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128;
}

// Dark pixels inside a rectangle of a rendered viewport.
int darkPixels(const QImage& image, const QRect& rect)
{
    int n = 0;
    const QRect r = rect & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += isDark(image.pixel(x, y));
    return n;
}

QImage render(GridView& view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A sheet of numbered rows as the analysis windows make them.
void fillRows(Grid& g, int cols, int rows)
{
    g.setMaxCols(cols);
    g.setMaxRows(rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            g.setText(c, r, QString::number((r * c) % 10));
}

TEST(GridView, SizeHintShowsExactlyTheVisibleRowsAndColumns)
{
    Grid g;
    fillRows(g, 3, 100);
    g.setVisibleCols(3);
    g.setVisibleRows(10);
    g.setAutoSize(true);
    GridView view(&g);
    view.show();
    ASSERT_EQ(view.size(), view.sizeHint());

    EXPECT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    EXPECT_EQ(view.viewport()->height(),
              view.metrics().rowPixels(g.rowHeight(0)) + 10 * view.metrics().rowPixels(g.rowHeight(1)));
    EXPECT_EQ(view.viewport()->width(),
              view.metrics().colPixels(g.colWidth(0)) + 3 * view.metrics().colPixels(g.colWidth(1)));
    EXPECT_EQ(view.lastVisibleRow(), 10);
    EXPECT_EQ(view.lastVisibleCol(), 3);

    const int before = view.sizeHint().height();
    g.setVisibleRows(5);
    g.setColHeadersShown(false);
    view.gridChanged();
    EXPECT_EQ(view.sizeHint().height(),
              before - 5 * view.metrics().rowPixels(g.rowHeight(1)) - view.metrics().rowPixels(g.rowHeight(0)));
    EXPECT_EQ(view.size(), view.sizeHint());

    // Rows the sheet does not have yet still count, and no scroll bar is needed.
    g.setMaxRows(4);
    view.gridChanged();
    EXPECT_EQ(view.viewport()->height(), 5 * view.metrics().rowPixels(g.rowHeight(1)));
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
}

TEST(GridView, ScrollBarModesFollowTheGrid)
{
    Grid g;
    fillRows(g, 30, 300);
    GridView view(&g);
    view.resize(300, 200);
    view.show();
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_TRUE(view.horizontalScrollBar()->isVisible());

    g.setScrollBars(ScrollBars::None);
    view.gridChanged();
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    view.scrollToCell(1, 250); // still scrolls from the keyboard
    EXPECT_LE(view.firstVisibleRow(), 250);
    EXPECT_GE(view.lastVisibleRow(), 250);

    g.setMaxRows(3);
    g.setMaxCols(2);
    g.setScrollBars(ScrollBars::Vertical);
    g.setScrollBarsWhenNeeded(false);
    g.setScrollBarTrack(false);
    view.gridChanged();
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view.verticalScrollBar()->hasTracking());
}

TEST(GridView, FrozenPanesStayWhileTheRestScrolls)
{
    Grid g;
    fillRows(g, 20, 1000);
    g.setFrozenRows(2);
    g.setFrozenCols(1);
    g.setBlock(-1, 1, -1, 2);
    g.setBackColor(kRed);
    GridView view(&g);
    view.resize(300, 250);
    view.show();

    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    EXPECT_EQ(view.lastVisibleRow(), 1000);
    EXPECT_EQ(view.lastVisibleCol(), 20);
    EXPECT_GT(view.firstVisibleRow(), 3);
    // Scrolled to the end, the last row is whole and no further row would fit.
    const QRect last = view.cellRect(2, 1000);
    EXPECT_LE(last.bottom(), view.viewport()->height() - 1);
    EXPECT_GT(last.bottom() + last.height(), view.viewport()->height() - 1);

    const QRect frozen = view.cellRect(1, 2);
    EXPECT_EQ(frozen.top(), view.metrics().rowPixels(g.rowHeight(0)) + view.metrics().rowPixels(g.rowHeight(1)));
    EXPECT_EQ(frozen.left(), view.metrics().colPixels(g.colWidth(0)));
    EXPECT_EQ(view.cellAt(frozen.center()), QPoint(1, 2));
    const QRect scrolled = view.cellRect(view.firstVisibleCol(), view.firstVisibleRow());
    EXPECT_EQ(scrolled.topLeft(), QPoint(frozen.right() + 1, frozen.bottom() + 1));
    EXPECT_EQ(view.cellAt(scrolled.center()), QPoint(view.firstVisibleCol(), view.firstVisibleRow()));
    EXPECT_EQ(view.cellAt(QPoint(2, 2)), QPoint(0, 0));

    const QImage image = render(view);
    EXPECT_EQ(image.pixel(frozen.topLeft() + QPoint(1, 1)), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(view.cellRect(view.firstVisibleCol(), 1).topLeft() + QPoint(1, 1)), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(scrolled.topLeft() + QPoint(1, 1)), qRgb(255, 255, 255));
}

TEST(GridView, PaintsOnlyTheCellsInView)
{
    Grid g;
    fillRows(g, 32, 32770);
    GridView view(&g);
    view.resize(900, 700);
    view.show();
    render(view);
    const int rowsInView = view.lastVisibleRow() - view.firstVisibleRow() + 2; // + header row
    const int colsInView = view.lastVisibleCol() - view.firstVisibleCol() + 2;
    EXPECT_LT(rowsInView, 60);
    EXPECT_EQ(view.lastPaintedCells(), rowsInView * colsInView);

    view.verticalScrollBar()->setValue(20000);
    render(view);
    EXPECT_EQ(view.firstVisibleRow(), 20001);
    EXPECT_LE(view.lastPaintedCells(), rowsInView * colsInView);
    EXPECT_EQ(view.cellAt(view.cellRect(3, 20005).center()), QPoint(3, 20005));
}

TEST(GridView, RendersColoursBordersAndOverflow)
{
    Grid g(6, 6);
    g.setRowHeadersShown(false);
    g.setColHeadersShown(false);
    g.setGridLinesShown(false);
    g.setAllowCellOverflow(true);
    g.setBackColor(2, 2, kRed);
    g.setText(1, 4, QStringLiteral("とても長い見出しです"));
    g.setText(1, 5, QStringLiteral("とても長い見出しです"));
    g.setText(2, 5, QStringLiteral(" ")); // not empty: stops the overflow
    g.setBlock(4, 1, 4, 1);
    g.setCellBorder(BorderSide::Right, BorderStyle::Solid, kRed);
    g.setBlock(5, 1, 5, 1);
    g.setCellBorder(BorderSide::Left, BorderStyle::Solid, kRed);
    g.setBlock(3, 6, 3, 6);
    g.setCellBorder(BorderSide::Outline, BorderStyle::Solid, kRed);
    GridView view(&g);
    view.resize(400, 300);
    view.show();
    const QImage image = render(view);

    const QRect red = view.cellRect(2, 2);
    EXPECT_EQ(image.pixel(red.center()), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(red.topLeft() - QPoint(1, 1)), qRgb(255, 255, 255));

    EXPECT_GT(darkPixels(image, view.cellRect(2, 4)), 10);
    EXPECT_GT(darkPixels(image, view.cellRect(3, 4)), 10);
    EXPECT_GT(darkPixels(image, view.cellRect(1, 5)), 10);
    EXPECT_EQ(darkPixels(image, view.cellRect(2, 5)), 0);

    // Two neighbours drawing the same edge make one line.
    const QRect a = view.cellRect(4, 1);
    const int y = a.center().y();
    EXPECT_EQ(image.pixel(a.right(), y), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(a.right() - 1, y), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(a.right() + 1, y), qRgb(255, 255, 255));

    // An outline closes at the corners.
    const QRect o = view.cellRect(3, 6);
    for (const QPoint corner : {o.topLeft() - QPoint(1, 1), QPoint(o.right(), o.top() - 1), o.bottomRight(),
                                QPoint(o.left() - 1, o.bottom())})
        EXPECT_EQ(image.pixel(corner), qRgb(255, 0, 0)) << corner.x() << "," << corner.y();
    EXPECT_EQ(image.pixel(o.center()), qRgb(255, 255, 255));
}

TEST(GridView, TextOverflowsIntoViewFromAScrolledAwayCell)
{
    Grid g(20, 3);
    g.setAllowCellOverflow(true);
    g.setText(1, 1, QStringLiteral("とても長い見出しがここから右へあふれます"));
    GridView view(&g);
    view.resize(200, 120);
    view.show();
    view.horizontalScrollBar()->setValue(1);
    ASSERT_EQ(view.firstVisibleCol(), 2);
    const QImage image = render(view);
    EXPECT_GT(darkPixels(image, view.cellRect(2, 1)), 10);
    EXPECT_EQ(darkPixels(image, view.cellRect(2, 2)), 0);
}

TEST(GridView, KeyboardAndMouseMoveTheActiveCell)
{
    Grid g;
    fillRows(g, 10, 500);
    GridView view(&g);
    view.resize(300, 200);
    view.show();
    QSignalSpy moved(&view, &GridView::activeCellChanged);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.cellRect(2, 3).center());
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(2, 3));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 3);

    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Up); // stops at the first row
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(3, 1));

    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(10, 500));
    EXPECT_EQ(view.lastVisibleRow(), 500);
    EXPECT_EQ(view.lastVisibleCol(), 10);

    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_LT(view.activeRow(), 500);
    EXPECT_GE(view.activeRow(), view.firstVisibleRow());
    EXPECT_LE(view.activeRow(), view.lastVisibleRow());

    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(1, 1));
    EXPECT_EQ(view.firstVisibleRow(), 1);

    // Row select mode selects the active cell's row; shift extends it.
    view.setRowSelectMode(true);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.cellRect(4, 2).center());
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(view.selection().col, -1);
    EXPECT_EQ(view.selection().row, 2);
    EXPECT_EQ(view.selection().row2, 3);
}

// A spreadsheet takes a pasted cell as it comes: the blanks that centre a heading in its cell
// would stay in it.
TEST(GridView, CopiesCellsWithoutTheBlanksThatAlignThem)
{
    Grid g(2, 2);
    g.setText(1, 1, QStringLiteral("        予 想 数 字   "));
    g.setText(2, 1, QStringLiteral("　　当 選 数 字"));
    g.setText(1, 2, QStringLiteral(" 7 "));
    g.setText(2, 2, QStringLiteral("　"));
    GridView view(&g);
    view.resize(300, 200);
    view.show();

    view.setActiveCell(1, 1);
    EXPECT_EQ(view.copyText(), QStringLiteral("予 想 数 字"));
    view.setSelection(1, 1, 2, 2);
    EXPECT_EQ(view.copyText(), QStringLiteral("予 想 数 字\t当 選 数 字\n7\t"));
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("予 想 数 字\t当 選 数 字\n7\t"));
}

TEST(GridView, CopiesTheActiveCellOrTheSelection)
{
    Grid g(3, 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            g.setText(c, r, QStringLiteral("%1-%2").arg(r).arg(c));
    GridView view(&g);
    view.resize(300, 200);
    view.show();

    view.setActiveCell(2, 3);
    EXPECT_EQ(view.copyText(), QStringLiteral("3-2"));
    view.setSelection(2, 1, 3, 2);
    EXPECT_EQ(view.copyText(), QStringLiteral("1-2\t1-3\n2-2\t2-3"));
    view.setSelection(-1, 3, -1, 3);
    EXPECT_EQ(view.copyText(), QStringLiteral("3-1\t3-2\t3-3"));

    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("3-1\t3-2\t3-3"));

    // The choice keeps to the sheet: ends in either order, outside it nothing, and what is left
    // of it when the sheet shrinks.
    view.setActiveCell(4, 1);
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(0, 0));
    view.setSelection(-1, 3, -1, 1);
    EXPECT_EQ(view.selection(), (CellBlock{-1, 1, -1, 3}));
    view.setActiveCell(2, 3);
    g.setMaxRows(2);
    view.gridChanged();
    EXPECT_EQ(view.selection(), (CellBlock{-1, 1, -1, 2}));
    EXPECT_EQ(QPoint(view.activeCol(), view.activeRow()), QPoint(0, 0));
    view.setSelection(1, 9, 2, 9);
    EXPECT_FALSE(view.hasSelection());
}

// A table of items sorts by the heading clicked: numbers by value, "–" last either way, equal
// rows in their order, whole rows (colours too); the same heading again reverses, and a grid
// that replaces it (a new draw) keeps the order.
TEST(GridView, AHeadingClickedSortsTheItemRowsAndTheOrderHolds)
{
    const auto table = [] {
        auto grid = std::make_unique<Grid>();
        grid->setMaxCols(2);
        grid->setMaxRows(6);
        grid->setText(1, 1, QStringLiteral("item"));
        grid->setText(2, 1, QStringLiteral("rate"));
        const char* items[] = {"a", "b", "c", "d", "e"};
        const char* rates[] = {"27.3%", "–", "5.0%", "12.5%", "5.0%"};
        for (int i = 0; i < 5; ++i) {
            grid->setText(1, 2 + i, QString::fromLatin1(items[i]));
            grid->setText(2, 2 + i, QString::fromUtf8(rates[i]));
        }
        grid->setBackColor(1, 2, rgb(255, 0, 0)); // row "a"
        grid->setSortableRows(2, 6);
        return grid;
    };
    const auto column = [](const Grid& grid) {
        QString items;
        for (int r = 2; r <= 6; ++r)
            items += grid.text(1, r);
        return items;
    };
    const std::unique_ptr<Grid> first = table();
    GridView view(first.get());
    view.resize(300, 300);
    view.show();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.cellRect(2, 1).center());
    EXPECT_EQ(column(*first), QStringLiteral("cedab"));
    EXPECT_EQ(first->backColor(1, 5), rgb(255, 0, 0)) << "the colour went with its row";
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.cellRect(2, 1).center());
    EXPECT_EQ(column(*first), QStringLiteral("adceb"));
    EXPECT_EQ(first->text(1, 1), QStringLiteral("item")) << "the headings stay";

    const std::unique_ptr<Grid> next = table();
    view.replaceGrid(next.get());
    EXPECT_EQ(column(*next), QStringLiteral("adceb"));
    view.sortBy(1);
    EXPECT_EQ(column(*next), QStringLiteral("abcde")) << "text, ascending";
}

} // namespace
