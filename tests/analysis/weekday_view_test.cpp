// 曜日別分析 on a dated history worked by hand.

#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

// Draw 3 has no date and draw 7 one that reads as none; draw 5 is incomplete; draws 4 and 6
// share a Monday; draw 9 comes after draw 8 in draw order but falls in the first week; draw 8's
// week begins in the year before.
History dated()
{
    return fixture::history({{1, 1, 1, 5},
                             {2, 2, 3, 4},
                             {3, 7, 8, 9},
                             {4, 0, 1, 2},
                             {5, 3, -1, 4},
                             {6, 5, 5, 0},
                             {7, 9, 0, 1},
                             {8, 6, 6, 0},
                             {9, 4, 4, 8}},
                            {"2026/09/28", "2026-09-30", "", "2026/10/05", "2026/10/06", "2026/10/05", "2026/9/29",
                             " 2027-01-01 ", "2026/09/29"});
}

std::unique_ptr<WindowSheets> weekdaySheets(const History& history, std::optional<RangeChoice> range = {})
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("曜日別分析"));
    EXPECT_TRUE(record);
    EXPECT_EQ(record->titles, (QStringList{"●曜日別の出現数", "●週ごとの当選番号"}));
    return catalogue::computeSheets(*record, history, {.range = range});
}

TEST(WeekdayView, CountsTheDigitsOfEachWeekdayAndListsTheNumbersWeekByWeek)
{
    const auto sheets = weekdaySheets(dated());
    ASSERT_EQ(sheets->grids().size(), 2);
    const Grid& days = *sheets->grids().at(0);
    const Grid& weeks = *sheets->grids().at(1);

    ASSERT_EQ(days.maxRows(), 9);
    EXPECT_EQ(row(days, 1),
              (QStringList{"曜日", "抽せん回数", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "最多数字"}));
    // 1-1-5 adds two to the digit 1; 1 and 5 tie on Monday.
    EXPECT_EQ(row(days, 2), (QStringList{"月", "3", "2", "3", "1", "0", "0", "3", "0", "0", "0", "0", "1,5"}));
    EXPECT_EQ(row(days, 3), (QStringList{"火", "1", "0", "0", "0", "0", "2", "0", "0", "0", "1", "0", "4"}));
    EXPECT_EQ(row(days, 4), (QStringList{"水", "1", "0", "0", "1", "1", "1", "0", "0", "0", "0", "0", "2,3,4"}));
    EXPECT_EQ(row(days, 5), (QStringList{"木", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "–"}));
    EXPECT_EQ(row(days, 6).mid(0, 2), (QStringList{"金", "1"}));
    EXPECT_EQ(row(days, 7).last(), QStringLiteral("–"));
    EXPECT_EQ(row(days, 8).last(), QStringLiteral("–"));
    EXPECT_EQ(row(days, 9), (QStringList{"日付なし", "2", "1", "1", "0", "0", "0", "0", "0", "1", "1", "2", "9"}));
    // The most drawn digits stand out; a weekday without a draw marks none of its zeros.
    const QString plain = colorHex(days.backColor(3 + 0, 2));
    EXPECT_NE(colorHex(days.backColor(3 + 1, 2)), plain);
    EXPECT_EQ(colorHex(days.backColor(3 + 5, 2)), colorHex(days.backColor(3 + 1, 2)));
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(colorHex(days.backColor(3 + d, 5)), plain) << d;

    // Weeks in ascending order, by their Monday written with "/"; the numbers of one date in
    // draw order; no row for the weeks without a dated draw.
    ASSERT_EQ(weeks.maxRows(), 4);
    EXPECT_EQ(row(weeks, 1), (QStringList{"週", "月", "火", "水", "木", "金", "土", "日"}));
    EXPECT_EQ(row(weeks, 2), (QStringList{"2026/09/28", "115", "448", "234", "", "", "", ""}));
    EXPECT_EQ(row(weeks, 3), (QStringList{"2026/10/05", "012,550", "", "", "", "", "", ""}));
    EXPECT_EQ(row(weeks, 4), (QStringList{"2026/12/28", "", "", "", "", "660", "", ""}));
    // The view opens at the latest draw's day.
    EXPECT_EQ(weeks.latestRow(), 2);
    EXPECT_EQ(weeks.latestCol(), 3);
}

TEST(WeekdayView, ARangeAndAnEmptyHistoryKeepTheEightWeekdays)
{
    // From draw 4 on, the dates still those of the draws kept.
    const auto ranged = weekdaySheets(dated(), RangeChoice::between(4, 32767));
    const Grid& days = *ranged->grids().at(0);
    EXPECT_EQ(row(days, 2), (QStringList{"月", "2", "2", "1", "1", "0", "0", "2", "0", "0", "0", "0", "0,5"}));
    EXPECT_EQ(row(days, 4).mid(1), (QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "–"}));
    EXPECT_EQ(days.text(2, 9), QStringLiteral("1"));
    EXPECT_EQ(days.text(13, 9), QStringLiteral("0,1,9"));
    const Grid& weeks = *ranged->grids().at(1);
    ASSERT_EQ(weeks.maxRows(), 4);
    EXPECT_EQ(row(weeks, 2), (QStringList{"2026/09/28", "", "448", "", "", "", "", ""}));

    const auto none = weekdaySheets(History());
    EXPECT_EQ(none->grids().at(0)->maxRows(), 9);
    EXPECT_EQ(row(*none->grids().at(0), 9).last(), QStringLiteral("–"));
    EXPECT_EQ(none->grids().at(1)->maxRows(), 1);
}

} // namespace
