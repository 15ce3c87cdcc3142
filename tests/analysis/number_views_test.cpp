// The figures the number views share, and ミニ分析, on histories worked by hand.

#include "analysis/item_statistics.h"
#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/catalogue_support.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

using fixture::history;

// Printed as printf prints the double nearest the exact fraction: a binary tie goes to the even
// digit, and 1.355 is the double 1.35499….
TEST(ItemStatistics, FractionsPrintAsPrintfPrintsTheirNearestDouble)
{
    EXPECT_EQ(item_stats::oneDecimal(5, 4), QStringLiteral("1.2"));
    EXPECT_EQ(item_stats::rateText(1, 16), QStringLiteral("6.2%"));
    EXPECT_EQ(item_stats::twoDecimals(1355, 1000), QStringLiteral("1.35"));
    EXPECT_EQ(item_stats::chanceText({271, 1000}), QStringLiteral("27.1%"));
    EXPECT_EQ(item_stats::rateText(3, 0), QStringLiteral("–"));
    EXPECT_EQ(item_stats::expectedText(0, {1, 100}), QStringLiteral("0.0"));
}

TEST(ItemStatistics, AWaitOfTwiceAndThriceTheMeanIntervalStandsOut)
{
    Grid grid;
    grid.setMaxCols(1);
    grid.setMaxRows(4);
    const item_stats::Chance p{1, 100};
    item_stats::markRestIndex(grid, 1, 1, 199, p);
    item_stats::markRestIndex(grid, 1, 2, 200, p);
    item_stats::markRestIndex(grid, 1, 3, 299, p);
    item_stats::markRestIndex(grid, 1, 4, 300, p);
    EXPECT_EQ(colorHex(grid.backColor(1, 1)), colorHex(rgb(255, 255, 255)));
    EXPECT_NE(colorHex(grid.backColor(1, 2)), colorHex(grid.backColor(1, 1)));
    EXPECT_EQ(colorHex(grid.backColor(1, 3)), colorHex(grid.backColor(1, 2)));
    EXPECT_NE(colorHex(grid.backColor(1, 4)), colorHex(grid.backColor(1, 3)));
}

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

// ミニ 23 comes in draws 1, 5 and 7 (the 1st, 3rd and 5th complete draws: draw 3 is incomplete,
// draw 4 was never entered), ミニ 56 in draws 2 and 6, ミニ 00 never.
History minis()
{
    return history({{1, 1, 2, 3}, {2, 4, 5, 6}, {3, 1, -1, 2}, {5, 7, 2, 3}, {6, 0, 5, 6}, {7, 9, 2, 3}});
}

TEST(MiniNumbers, EachNumberCountsItsComingsAndItsWait)
{
    const std::unique_ptr<Grid> grid = cataloguetest::analysisGrid(QStringLiteral("ミニ分析"), minis());
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->maxRows(), 101);
    EXPECT_EQ(
        row(*grid, 1),
        (QStringList{"ミニ", "出現回数", "出現率", "期待値", "最終出現", "休止", "平均間隔", "最大間隔", "休止指数"}));
    // N = 5; p = 1/100.
    EXPECT_EQ(row(*grid, 2 + 23), (QStringList{"23", "3", "60.0%", "0.1", "7", "0", "2.0", "2", "0.00"}));
    EXPECT_EQ(row(*grid, 2 + 56), (QStringList{"56", "2", "40.0%", "0.1", "6", "1", "2.0", "2", "0.01"}));
    EXPECT_EQ(row(*grid, 2 + 0), (QStringList{"00", "0", "0.0%", "0.1", "–", "5", "–", "–", "0.05"}));
    EXPECT_EQ(grid->text(1, 2 + 7), QStringLiteral("07"));

    // From draw 5 on: N = 3, the draw numbers as stored.
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("ミニ分析"));
    ASSERT_TRUE(record);
    const auto sheets = catalogue::computeSheets(*record, minis(), {.range = RangeChoice::between(5, 32767)});
    const Grid& ranged = *sheets->grids().first();
    EXPECT_EQ(row(ranged, 2 + 23), (QStringList{"23", "2", "66.7%", "0.0", "7", "0", "2.0", "2", "0.00"}));
    EXPECT_EQ(row(ranged, 2 + 56), (QStringList{"56", "1", "33.3%", "0.0", "6", "1", "–", "–", "0.01"}));

    // No draw at all.
    const std::unique_ptr<Grid> empty = cataloguetest::analysisGrid(QStringLiteral("ミニ分析"), History());
    EXPECT_EQ(row(*empty, 2 + 99), (QStringList{"99", "0", "–", "0.0", "–", "0", "–", "–", "0.00"}));
}

} // namespace
