// The number views as the player sees them: a window of two grids shows both under their titles,
// the chart of 桁別出現分析 follows the group of the active cell, and the search looks up what is
// typed, says what is wrong with it, and looks it up again when a draw comes.

#include "support/history_builder.h"
#include "support/main_window_fixture.h"
#include "widgets/analysis_frame.h"
#include "widgets/bar_chart.h"
#include "widgets/grid_output.h"
#include "widgets/grid_view.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using fixture::drawsUpTo;

TEST(NumberViewWindows, SeveralGridsShowUnderTheirTitlesAndTheChartFollowsTheActiveGroup)
{
    auto main = fixture::mainWindowOver(drawsUpTo(50));
    main->show();
    auto* box = fixture::openedFrom<AnalysisFrame>(*main, "mnuBoxNumbers", QStringLiteral("ボックス番号分析"));
    ASSERT_TRUE(box);
    ASSERT_EQ(box->views.size(), 2);
    ASSERT_TRUE(box->titleLabels.at(1));
    EXPECT_EQ(box->titleLabels.at(1)->text(), QStringLiteral("●ボックス番号別"));
    EXPECT_EQ(box->views.at(1)->grid()->maxRows(), 221);
    EXPECT_EQ(box->output().grids().size(), 2) << "both print";
    QTest::qWait(20);
    EXPECT_LT(box->views.at(0)->geometry().bottom(), box->titleLabels.at(1)->geometry().top());
    EXPECT_TRUE(box->views.at(1)->isVisible());

    auto* positions = fixture::openedFrom<AnalysisFrame>(*main, "mnuKetabetsu", QStringLiteral("桁別出現分析"));
    ASSERT_TRUE(positions && positions->chart);
    EXPECT_EQ(positions->chart->data().title, QStringLiteral("第1数字の出現回数"));
    GridView* view = positions->fpSpread1;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cellRect(8, 5).center());
    EXPECT_EQ(positions->chart->data().title, QStringLiteral("第2数字の出現回数"));
    main->showHistory(drawsUpTo(51));
    EXPECT_EQ(positions->chart->data().title, QStringLiteral("第2数字の出現回数")) << "a new draw keeps the group";
    double drawn = 0;
    for (double count : positions->chart->data().observed)
        drawn += count;
    EXPECT_EQ(drawn, 51) << "one digit a draw at a position";
}

TEST(NumberViewWindows, TheSearchLooksUpWhatIsTypedAndAgainWhenADrawComes)
{
    // Draws 1–20, then 21 is 123.
    auto history = [](bool with21) {
        QVector<DrawRecord> rows = drawsUpTo(20).draws();
        if (with21)
            rows << fixture::record({21, 1, 2, 3});
        return History::fromRows(rows);
    };
    auto main = fixture::mainWindowOver(history(false));
    main->show();
    auto* search = fixture::openedFrom<AnalysisFrame>(*main, "mnuNumberSearch", QStringLiteral("当せん番号検索"));
    ASSERT_TRUE(search && search->numberBox && search->searchButton);
    EXPECT_EQ(search->grid().maxRows(), 1) << "no number yet: the headings";

    QTest::keyClicks(search->numberBox, QStringLiteral("12x"));
    QTest::keyClick(search->numberBox, Qt::Key_Return);
    EXPECT_TRUE(search->numberMessage->isVisible());
    EXPECT_EQ(search->grid().maxRows(), 1);

    search->numberBox->setText(QStringLiteral("123"));
    search->searchButton->click();
    EXPECT_FALSE(search->numberMessage->isVisible());
    const int before = search->grid().maxRows();
    EXPECT_GE(before, 2);
    EXPECT_EQ(search->grid().text(1, before), QStringLiteral("合計"));
    EXPECT_TRUE(search->output().printHeader().notes.join(u' ').contains(QStringLiteral("123")));

    // Typing alone changes nothing; a new draw is looked up with the number searched.
    search->numberBox->setText(QStringLiteral("99"));
    main->showHistory(history(true));
    const Grid& grid = search->grid();
    ASSERT_EQ(grid.maxRows(), before + 1);
    EXPECT_EQ(grid.text(1, before), QStringLiteral("21"));
    EXPECT_EQ(grid.text(4, before), QStringLiteral("ストレート"));
}

} // namespace
