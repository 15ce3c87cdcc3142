// The two windows that test a stretch of the history, 予想の検証 and ランダム性の検定: their place
// in the menu, the entry window they never hold back, and a range that follows new draws while
// it is the default and stays where the user put it otherwise.

#include "analysis/randomness.h"
#include "prediction/backtest.h"
#include "support/history_builder.h"
#include "support/main_window_fixture.h"
#include "widgets/bar_chart.h"
#include "widgets/grid_view.h"
#include "windows/backtest_window.h"
#include "widgets/range_bar.h"
#include "windows/prediction_window.h"
#include "windows/randomness_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

using fixture::drawsUpTo;

TEST(TestingWindows, OpenLastInTheAnalysisMenuAndNeverHoldTheEntryWindowBack)
{
    auto main = fixture::mainWindowOver(drawsUpTo(30));
    main->show();
    const QList<QAction*> items = main->menuAction(QStringLiteral("mnuMain"))->menu()->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_TRUE(items[items.size() - 3]->isSeparator());
    EXPECT_EQ(items[items.size() - 2], main->menuAction(QStringLiteral("mnuBacktest")));
    EXPECT_EQ(items.last(), main->menuAction(QStringLiteral("mnuRandomness")));

    auto* backtest = fixture::openedFrom<BacktestWindow>(*main, "mnuBacktest", QStringLiteral("予想の検証"));
    auto* randomness
        = fixture::openedFrom<RandomnessWindow>(*main, "mnuRandomness", QStringLiteral("ランダム性の検定"));
    ASSERT_NE(backtest, nullptr);
    ASSERT_NE(randomness, nullptr);
    EXPECT_TRUE(main->propEnd());
    EXPECT_EQ(main->childWindow(QStringLiteral("予想の検証"))->windowTitle(),
              QStringLiteral("予想の検証 - 直近1000回（第1回〜第30回）"));
    EXPECT_EQ(main->childWindow(QStringLiteral("ランダム性の検定"))->windowTitle(), QStringLiteral("ランダム性の検定"));
    // Chosen again, the open window comes forward as it is.
    EXPECT_EQ(fixture::openedFrom<BacktestWindow>(*main, "mnuBacktest", QStringLiteral("予想の検証")), backtest);

    // The chart follows the test of the row clicked.
    randomness->fpSpread1->setActiveCell(1, 1);
    Q_EMIT randomness->fpSpread1->cellClicked(1, 7);
    EXPECT_EQ(randomness->chartedTest(), 5);
    EXPECT_EQ(randomness->chart->data().title, randomness->sheet().chart(5).title);

    // 閉じる closes its own window, and nothing else.
    backtest->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main->childWindow(QStringLiteral("予想の検証")));
    EXPECT_TRUE(main->childWindow(QStringLiteral("ランダム性の検定")));
    EXPECT_TRUE(main->isVisible());
}

TEST(TestingWindows, ARangeThatFollowsTheHistoryMovesOnAndATypedOneStays)
{
    auto main = fixture::mainWindowOver(drawsUpTo(30));
    main->show();
    auto* randomness
        = fixture::openedFrom<RandomnessWindow>(*main, "mnuRandomness", QStringLiteral("ランダム性の検定"));
    auto* backtest = fixture::openedFrom<BacktestWindow>(*main, "mnuBacktest", QStringLiteral("予想の検証"));
    ASSERT_TRUE(randomness && backtest);
    EXPECT_EQ(randomness->rangeChoice(), RangeChoice::all());
    EXPECT_EQ(randomness->rangeBar()->coverText(), QStringLiteral("全期間（第1回〜第30回）"));
    EXPECT_EQ(backtest->rangeChoice(), RangeChoice::lastDraws(1000));

    // 開始回〜終了回 in the bar starts from the draws shown; a number typed applies.
    RangeBar* bar = backtest->rangeBar();
    bar->kindBox->setCurrentIndex(2);
    Q_EMIT bar->kindBox->activated(2);
    EXPECT_EQ(backtest->rangeChoice(), RangeChoice::between(1, 30));
    bar->fromBox->setValue(11);
    bar->toBox->setValue(20);
    EXPECT_EQ(backtest->range(), (DrawRange{11, 20}));
    EXPECT_EQ(backtest->sheets().draws().text(1, 2), QStringLiteral("11"));
    EXPECT_EQ(backtest->windowTitle(), QStringLiteral("予想の検証 - 第11回〜第20回"));

    main->showHistory(drawsUpTo(31));
    EXPECT_EQ(randomness->rangeBar()->coverText(), QStringLiteral("全期間（第1回〜第31回）"));
    EXPECT_EQ(backtest->range(), (DrawRange{11, 20}));
    EXPECT_EQ(bar->toBox->value(), 20);

    // The prediction's options changed since: 再計算 tests the same draws with them.
    main->menuAction(QStringLiteral("mnuYoso"))->trigger();
    auto* prediction = dynamic_cast<一発ズバリン*>(
        qobject_cast<QMdiSubWindow*>(main->childWindow(QStringLiteral("一発ズバリン")))->widget());
    ASSERT_TRUE(prediction);
    prediction->Opt反映する_Click(0);
    EXPECT_TRUE(backtest->flagsLabel->text().contains(QStringLiteral("の数: 0")));
    backtest->recomputeButton->click();
    EXPECT_TRUE(backtest->flagsLabel->text().contains(QStringLiteral("の数: 1")));
    EXPECT_EQ(backtest->range(), (DrawRange{11, 20}));
    prediction->Opt反映しない_Click(0);
}

TEST(TestingWindows, TheBacktestPaysTheDrawsOwnPrizesOfTheHistoryShown)
{
    // Each draw's straight prize tells it apart: ¥90,000 and ¥100 more for each draw number.
    const History plain = drawsUpTo(60);
    QHash<int, prize::DrawPrizes> byDrawNo;
    for (const DrawRecord& d : plain.draws()) {
        const prize::Shape shape = prize::shapeOf(d.digit(1), d.digit(2), d.digit(3));
        byDrawNo.insert(d.drawNo, {.counts = {}, .amounts = prize::amountsFromStraight(90000 + 100 * d.drawNo, shape)});
    }
    byDrawNo.remove(44);
    auto main = fixture::mainWindowOver(plain.withPrizes(byDrawNo));
    main->show();
    auto* backtest = fixture::openedFrom<BacktestWindow>(*main, "mnuBacktest", QStringLiteral("予想の検証"));
    ASSERT_TRUE(backtest);
    QCoreApplication::processEvents();

    // Every win shows what its draw paid, but on draw 44, whose prizes are unknown.
    const Grid& draws = backtest->sheets().draws();
    int amounts = 0, unknown = 0;
    for (int r = 2; r <= draws.maxRows(); ++r) {
        const int drawNo = draws.text(1, r).toInt();
        for (int m = 0; m < 7; ++m) {
            const QString mark = draws.text(5 + 2 * m, r);
            if (mark.isEmpty())
                continue;
            const bool straight = m < 4;
            const QString expected = drawNo == 44
                ? QStringLiteral("◎")
                : prize::grouped(byDrawNo[drawNo].amounts[straight ? prize::Straight : prize::Box]);
            EXPECT_EQ(mark, expected) << "draw " << drawNo << " method " << m;
            ++(drawNo == 44 ? unknown : amounts);
        }
    }
    EXPECT_GT(amounts, 0);
    EXPECT_EQ(unknown, 1);

    // The summary, 実配当 and all, is shown whole.
    const Grid& summary = backtest->sheets().summary();
    EXPECT_EQ(summary.text(8, 1), QStringLiteral("実配当"));
    EXPECT_GE(backtest->summaryView->width(), backtest->summaryView->sizeHint().width());
}

} // namespace
