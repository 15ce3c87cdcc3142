// The windows that list the draws, opened from the menu over a long history as a player opens
// them: each shows its latest draw first, follows a new draw from there and stays where the
// player went otherwise, and goes to a draw by its number.

#include "support/catalogue_support.h"
#include "support/go_to_draw_support.h"
#include "support/history_builder.h"
#include "support/main_window_fixture.h"
#include "widgets/analysis_frame.h"
#include "windows/backtest_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Draws 1 to last, every one with its prizes known, so that 配当分析 lists each.
History drawsUpTo(int last)
{
    QHash<int, prize::DrawPrizes> prizes;
    for (int n = 1; n <= last; ++n) {
        prize::DrawPrizes paid;
        paid.amounts[prize::Straight] = 60000 + n % 50 * 1000;
        prizes.insert(n, paid);
    }
    return fixture::drawsUpTo(last).withPrizes(prizes);
}

struct Shown {
    QString form;
    GridView* view = nullptr;
};

class LatestDrawWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = fixture::mainWindowOver(drawsUpTo(600));
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    // Every window with a grid of draws, opened from its menu entry.
    QList<Shown> openAll()
    {
        QList<Shown> shown;
        for (const catalogue::WindowRecord* record : cataloguetest::analyses()) {
            main->menuAction(record->menu.item)->trigger();
            auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(record->form));
            auto* frame = sub ? dynamic_cast<AnalysisFrame*>(sub->widget()) : nullptr;
            EXPECT_TRUE(frame) << record->form.toStdString();
            // The grid that lists the draws (in a window of several grids, the one that does).
            for (GridView* view : frame ? frame->views : QList<GridView*>()) {
                if (view->grid()->latestRow() > 0) {
                    shown << Shown{record->form, view};
                    break;
                }
            }
        }
        if (auto* window = backtest())
            shown << Shown{window->record().form, window->drawsView};
        QTest::qWait(20);
        return shown;
    }
    BacktestWindow* backtest()
    {
        main->menuAction(QStringLiteral("mnuBacktest"))->trigger();
        auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(QStringLiteral("予想の検証")));
        return sub ? dynamic_cast<BacktestWindow*>(sub->widget()) : nullptr;
    }

    std::unique_ptr<MainFrm> main;
};

TEST_F(LatestDrawWindows, EachOpensAtItsLatestDrawAndFollowsANewOneOnlyFromThere)
{
    const QList<Shown> shown = openAll();
    // Every analysis but the count classes and the tables of numbers lists the draws or (the
    // chart) opens at its foot; so does the backtest's grid of draws. The weeks of 曜日別分析
    // hold the dated draws only, and these have no dates; the search opens with no number; 収支
    // lists the draws of ticket lines, and there are none.
    const qsizetype withoutDraws
        = 8; // 回数別出現分析, 曜日別分析, 当せん番号検索, the tables of 桁別, ボックス, ミニ, ペア, 収支
    ASSERT_EQ(shown.size(), cataloguetest::analyses().size() - withoutDraws + 1);
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.form.toStdString());
        const Grid& grid = *s.view->grid();
        if (!grid.drawRows().isEmpty()) {
            EXPECT_EQ(grid.drawRows().drawAt(grid.latestRow()), 600);
        } else {
            EXPECT_GT(s.view->firstVisibleRow(), 3) << "the chart's first rows are not what is seen first";
        }
        EXPECT_EQ(fixture::lastFullyVisibleRow(*s.view), grid.latestRow());
        EXPECT_EQ(s.view->activeRow(), grid.latestRow());
    }

    main->showHistory(drawsUpTo(601));
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.form.toStdString());
        EXPECT_EQ(fixture::lastFullyVisibleRow(*s.view), s.view->grid()->latestRow());
        EXPECT_EQ(s.view->activeRow(), s.view->grid()->latestRow());
        if (!s.view->grid()->drawRows().isEmpty()) {
            EXPECT_EQ(s.view->grid()->drawRows().drawAt(s.view->activeRow()), 601);
        }

        // Scrolled to the top and a cell chosen there: elsewhere.
        s.view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        const int row = s.view->firstVisibleRow() + 1;
        QTest::mouseClick(s.view->viewport(), Qt::LeftButton, {}, s.view->cellRect(1, row).center());
        ASSERT_EQ(s.view->activeRow(), row);
    }
    main->showHistory(drawsUpTo(602));
    for (const Shown& s : shown) {
        SCOPED_TRACE(s.form.toStdString());
        EXPECT_EQ(s.view->verticalScrollBar()->value(), 0);
        EXPECT_EQ(s.view->activeRow(), s.view->firstVisibleRow() + 1);

        // The rows below the last draw are a scroll away.
        s.view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        EXPECT_EQ(s.view->lastVisibleRow(), s.view->grid()->maxRows());
    }
}

TEST_F(LatestDrawWindows, GoToDrawFindsTheRowOrSaysTheWindowHasNone)
{
    main->menuAction(QStringLiteral("mnuSyutugenKankaku"))->trigger();
    auto* frame = dynamic_cast<AnalysisFrame*>(
        qobject_cast<QMdiSubWindow*>(main->childWindow(QStringLiteral("出現間隔分析")))->widget());
    ASSERT_TRUE(frame);
    GridView* view = frame->fpSpread1;
    view->setFocus();
    ASSERT_TRUE(fixture::withGoToDrawDialog([&] { QTest::keyClick(view, Qt::Key_1); },
                                            [](GoToDrawDialog& dialog) {
                                                EXPECT_EQ(dialog.numberBox()->text(), QStringLiteral("1"));
                                                QTest::keyClicks(dialog.numberBox(), QStringLiteral("50"));
                                                QTest::keyClick(dialog.numberBox(), Qt::Key_Enter);
                                            }));
    EXPECT_EQ(view->activeRow(), 2 + 150);
    EXPECT_EQ(view->grid()->text(1, view->activeRow()), QStringLiteral("150"));
    EXPECT_LE(view->firstVisibleRow(), view->activeRow());
    EXPECT_GE(fixture::lastFullyVisibleRow(*view), view->activeRow());

    // A range window has rows for the draws of its range only.
    BacktestWindow* window = backtest();
    ASSERT_TRUE(window);
    window->chooseRange(RangeChoice::between(301, 400));
    QString said;
    fixture::withGoToDrawDialog([&] { QTest::keyClick(window->drawsView, Qt::Key_5); },
                                [&](GoToDrawDialog& dialog) {
                                    dialog.okButton()->click();
                                    said = dialog.messageLabel()->text();
                                });
    EXPECT_EQ(said, QStringLiteral("第5回の行はありません。\nこの表にあるのは第301回～第400回です。"));
    EXPECT_EQ(window->drawsView->grid()->drawRows().drawAt(window->drawsView->activeRow()), 400);
}

} // namespace
