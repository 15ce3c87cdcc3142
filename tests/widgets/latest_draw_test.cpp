// A sheet that lists the draws in a grid view: it opens at the latest draw and stays there while
// it is laid out, follows new draws from there and keeps elsewhere where the user went, and goes
// to a draw by its number (回数へ移動).

#include "support/go_to_draw_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int kHeadRows = 2;
constexpr int kFootRows = 2;

// As the windows lay the draws out: two frozen heading rows, one row per draw from row 3 with
// its 回数 in column 1, the headings again at the foot. skipped: a draw that takes no row.
std::unique_ptr<Grid> drawSheet(int firstDrawNo, int lastDrawNo, int skipped = 0)
{
    auto g = std::make_unique<Grid>();
    const int draws = lastDrawNo - firstDrawNo + 1 - (skipped ? 1 : 0);
    g->setMaxCols(4);
    g->setMaxRows(kHeadRows + draws + kFootRows);
    g->setFrozenRows(kHeadRows);
    g->setColHeadersShown(false);
    g->setRowHeadersShown(false);
    g->setText(1, 2, QStringLiteral("回数"));
    int row = kHeadRows;
    for (int n = firstDrawNo; n <= lastDrawNo; ++n) {
        if (n == skipped)
            continue;
        ++row;
        g->setText(1, row, QString::number(n));
        g->setDrawRow(row, n);
    }
    g->setText(1, row + 1, QStringLiteral("回数"));
    return g;
}

using fixture::lastFullyVisibleRow;

using fixture::withGoToDrawDialog;

class LatestDraw : public ::testing::Test {
protected:
    void open(std::unique_ptr<Grid> sheet, QSize size = {260, 240})
    {
        grid = std::move(sheet);
        view = std::make_unique<GridView>(grid.get());
        view->resize(size);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }
    QPoint active() const { return {view->activeCol(), view->activeRow()}; }

    std::unique_ptr<Grid> grid;
    std::unique_ptr<GridView> view;
};

TEST_F(LatestDraw, OpensAtTheLatestDrawAndKeepsItThereUntilTheUserMoves)
{
    open(drawSheet(1, 500));
    const int latest = kHeadRows + 500;
    ASSERT_EQ(grid->latestRow(), latest);
    EXPECT_EQ(lastFullyVisibleRow(*view), latest);
    EXPECT_EQ(active(), QPoint(1, latest));

    // Laid out again (a taller window, a scroll bar that comes or goes), it stays at the latest.
    view->resize(300, 420);
    QTest::qWait(10);
    EXPECT_EQ(lastFullyVisibleRow(*view), latest);

    // The foot headings are a scroll away; once the user has scrolled, the view stays where
    // the user put it.
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(view->lastVisibleRow(), grid->maxRows());
    EXPECT_EQ(view->grid()->text(1, view->lastVisibleRow() - 1), QStringLiteral("回数"));
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    const int top = view->firstVisibleRow();
    view->resize(300, 300);
    QTest::qWait(10);
    EXPECT_EQ(view->firstVisibleRow(), top);

    // A sheet that lists no draws opens at the top, as before, unless it names a cell to open at
    // (a chart): then at that cell, and at the next one it names when it is computed again.
    auto plain = std::make_unique<Grid>(3, 300);
    GridView other(plain.get());
    other.resize(200, 200);
    other.show();
    EXPECT_EQ(other.firstVisibleRow(), 1);
    EXPECT_EQ(QPoint(other.activeCol(), other.activeRow()), QPoint(0, 0));
    auto chart = std::make_unique<Grid>(3, 300);
    chart->setLatestCell(3, 250);
    other.replaceGrid(chart.get());
    EXPECT_EQ(QPoint(other.activeCol(), other.activeRow()), QPoint(3, 250));
    EXPECT_EQ(lastFullyVisibleRow(other), 250);
    auto next = std::make_unique<Grid>(3, 300);
    next->setLatestCell(2, 251);
    other.replaceGrid(next.get());
    EXPECT_EQ(QPoint(other.activeCol(), other.activeRow()), QPoint(2, 251));
}

TEST_F(LatestDraw, ANewDrawIsFollowedFromTheLatestAndNotFromElsewhere)
{
    open(drawSheet(1, 500));

    // At the latest, untouched: the view moves on to the new draw.
    auto next = drawSheet(1, 501);
    view->replaceGrid(next.get());
    grid = std::move(next);
    EXPECT_EQ(lastFullyVisibleRow(*view), kHeadRows + 501);
    EXPECT_EQ(active(), QPoint(1, kHeadRows + 501));

    // Moved away from it but still showing it: followed too, in the column the user chose.
    QTest::keyClick(view.get(), Qt::Key_Up);
    QTest::keyClick(view.get(), Qt::Key_Right);
    ASSERT_FALSE(view->keepsLatestInView());
    next = drawSheet(1, 502);
    view->replaceGrid(next.get());
    grid = std::move(next);
    EXPECT_EQ(lastFullyVisibleRow(*view), kHeadRows + 502);
    EXPECT_EQ(active(), QPoint(2, kHeadRows + 502));

    // Scrolled back to the older draws, the latest still active: the view stays where the
    // player looks.
    view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    const int scrolledTo = view->firstVisibleRow();
    next = drawSheet(1, 503);
    view->replaceGrid(next.get());
    grid = std::move(next);
    EXPECT_EQ(view->firstVisibleRow(), scrolledTo);
    EXPECT_LT(lastFullyVisibleRow(*view), kHeadRows + 503);

    // Elsewhere: the view stays, its active cell and selection with it.
    view->scrollToCell(1, 200);
    const int top = view->firstVisibleRow();
    const int row = (top + lastFullyVisibleRow(*view)) / 2;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(3, row).center());
    view->setSelection(2, row, 3, row + 1);
    next = drawSheet(1, 504);
    view->replaceGrid(next.get());
    grid = std::move(next);
    EXPECT_EQ(view->firstVisibleRow(), top);
    EXPECT_EQ(active(), QPoint(3, row));
    EXPECT_EQ(view->selection(), (CellBlock{2, row, 3, row + 1}));

    // A stretch of draws that moves along (the last n): the draws in view stay in view, with the
    // active cell and the selection on the same draws.
    const int topDraw = grid->drawRows().drawAt(top);
    const int activeDraw = grid->drawRows().drawAt(row);
    next = drawSheet(3, 506);
    view->replaceGrid(next.get());
    grid = std::move(next);
    EXPECT_EQ(grid->drawRows().drawAt(view->firstVisibleRow()), topDraw);
    EXPECT_EQ(grid->drawRows().drawAt(view->activeRow()), activeDraw);
    EXPECT_EQ(view->selection(), (CellBlock{2, row - 2, 3, row - 1}));

    // The grid computed again in place (the same object): what the view showed decides.
    view->showLatest();
    QTest::keyClick(view.get(), Qt::Key_Up);
    *grid = std::move(*drawSheet(3, 507));
    view->replaceGrid(grid.get());
    EXPECT_EQ(lastFullyVisibleRow(*view), grid->latestRow());
    EXPECT_EQ(view->activeRow(), grid->latestRow());
}

TEST_F(LatestDraw, TypingADigitOrCtrlGGoesToADrawTheSheetHasAndRefusesOneItHasNot)
{
    open(drawSheet(1, 500, 250));
    const int row120 = grid->drawRows().rowOf(120);
    ASSERT_EQ(row120, kHeadRows + 120);

    // A digit opens the dialog with it, the cursor after it; Enter goes.
    const bool shown = withGoToDrawDialog([&] { QTest::keyClick(view.get(), Qt::Key_1); },
                                          [](GoToDrawDialog& dialog) {
                                              EXPECT_EQ(dialog.windowTitle(), QStringLiteral("回数へ移動"));
                                              EXPECT_EQ(dialog.numberBox()->text(), QStringLiteral("1"));
                                              EXPECT_EQ(dialog.numberBox()->cursorPosition(), 1);
                                              QTest::keyClicks(dialog.numberBox(), QStringLiteral("20"));
                                              QTest::keyClick(dialog.numberBox(), Qt::Key_Return);
                                              EXPECT_FALSE(dialog.isVisible());
                                          });
    ASSERT_TRUE(shown);
    EXPECT_EQ(active(), QPoint(1, row120));
    EXPECT_LE(view->firstVisibleRow(), row120 - 3) << "rows of context above";
    EXPECT_GE(lastFullyVisibleRow(*view), row120 + 3) << "and below";

    // Ctrl+G opens it empty; a keypad digit starts it too.
    withGoToDrawDialog([&] { QTest::keyClick(view.get(), Qt::Key_G, Qt::ControlModifier); },
                       [](GoToDrawDialog& dialog) { EXPECT_EQ(dialog.numberBox()->text(), QString()); });
    withGoToDrawDialog([&] { QTest::keyClick(view.get(), Qt::Key_7, Qt::KeypadModifier); },
                       [](GoToDrawDialog& dialog) { EXPECT_EQ(dialog.numberBox()->text(), QStringLiteral("7")); });

    // A draw past the last, and one without a row, are named in the dialog, which stays open;
    // nothing moves.
    const int top = view->firstVisibleRow();
    withGoToDrawDialog([&] { QTest::keyClick(view.get(), Qt::Key_G, Qt::ControlModifier); },
                       [](GoToDrawDialog& dialog) {
                           QTest::keyClicks(dialog.numberBox(), QStringLiteral("501"));
                           QTest::keyClick(dialog.numberBox(), Qt::Key_Return);
                           EXPECT_TRUE(dialog.isVisible());
                           EXPECT_TRUE(dialog.messageLabel()->isVisibleTo(&dialog));
                           EXPECT_EQ(dialog.messageLabel()->text(),
                                     QStringLiteral("第501回の行はありません。\nこの表にあるのは第1回～第500回です。"));
                           EXPECT_EQ(dialog.numberBox()->selectedText(), QStringLiteral("501"))
                               << "ready to be typed over";
                           QTest::keyClicks(dialog.numberBox(), QStringLiteral("250"));
                           dialog.okButton()->click();
                           EXPECT_TRUE(dialog.isVisible());
                           EXPECT_TRUE(dialog.messageLabel()->text().startsWith(QStringLiteral("第250回は")));
                           QTest::keyClicks(dialog.numberBox(), QStringLiteral("0"));
                           dialog.okButton()->click();
                           EXPECT_TRUE(dialog.isVisible());
                           QTest::keyClick(dialog.numberBox(), Qt::Key_Escape);
                           EXPECT_FALSE(dialog.isVisible());
                       });
    EXPECT_EQ(view->firstVisibleRow(), top);
    EXPECT_EQ(active(), QPoint(1, row120));

    // Full-width digits from an input method count as digits; nothing else does.
    EXPECT_EQ(GoToDrawDialog::numberOf(QStringLiteral("１２０")), 120);
    EXPECT_FALSE(GoToDrawDialog::numberOf(QStringLiteral("12a")));
    EXPECT_FALSE(GoToDrawDialog::numberOf(QString()));

    // Every other key keeps its work; a sheet without draws opens no dialog for a digit.
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(active(), QPoint(1, row120 + 1));
    auto plain = std::make_unique<Grid>(3, 30);
    GridView other(plain.get());
    other.show();
    EXPECT_FALSE(withGoToDrawDialog([&] { QTest::keyClick(&other, Qt::Key_5); }, [](GoToDrawDialog&) {}));
    EXPECT_FALSE(
        withGoToDrawDialog([&] { QTest::keyClick(&other, Qt::Key_G, Qt::ControlModifier); }, [](GoToDrawDialog&) {}));
}

} // namespace
