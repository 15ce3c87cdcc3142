// 桁別出現分析 and ペア数字分析 on a history worked by hand.

#include "analysis/digit_positions.h"
#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/catalogue_support.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

using fixture::history;

// Complete draws 1, 2, 5, 6 and 7 (N = 5): draw 3 is incomplete and draw 4 was never entered.
History fiveDraws()
{
    return history({{1, 1, 2, 3}, {2, 4, 5, 1}, {3, 1, -1, 2}, {5, 1, 1, 7}, {6, 0, 5, 1}, {7, 9, 2, 1}});
}

// The five cells of a digit's row in a group: 出現回数, 出現率, 休止, 最大間隔, 休止指数.
QStringList groupCells(const Grid& grid, int digit, int group)
{
    QStringList cells;
    for (int c = 2 + 5 * group; c < 7 + 5 * group; ++c)
        cells << grid.text(c, 3 + digit);
    return cells;
}

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

TEST(DigitPositions, EachDigitAtEachPositionAndAnywhere)
{
    const std::unique_ptr<Grid> grid = cataloguetest::analysisGrid(QStringLiteral("桁別出現分析"), fiveDraws());
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->maxCols(), 21);
    ASSERT_EQ(grid->maxRows(), 13);
    EXPECT_EQ(grid->text(1, 1), QStringLiteral("数字"));
    EXPECT_EQ(grid->text(17, 1), QStringLiteral("全体"));
    EXPECT_EQ(grid->text(18, 1), QString());
    EXPECT_EQ(grid->text(1, 2), QString());
    EXPECT_EQ(groupCells(*grid, -1, 3), (QStringList{"出現回数", "出現率", "休止", "最大間隔", "休止指数"}));

    // 第1数字 (p = 1/10): 1 in the 1st and 3rd draws, 9 in the last one only, 5 never.
    EXPECT_EQ(groupCells(*grid, 1, 0), (QStringList{"2", "40.0%", "2", "2", "0.20"}));
    EXPECT_EQ(groupCells(*grid, 9, 0), (QStringList{"1", "20.0%", "0", "–", "0.00"}));
    EXPECT_EQ(groupCells(*grid, 5, 0), (QStringList{"0", "0.0%", "5", "–", "0.50"}));
    // 第3数字: 1 in the 2nd, 4th and 5th draws; the incomplete draw's 2 does not count.
    EXPECT_EQ(groupCells(*grid, 1, 2), (QStringList{"3", "60.0%", "0", "2", "0.00"}));
    EXPECT_EQ(groupCells(*grid, 2, 2), (QStringList{"0", "0.0%", "5", "–", "0.50"}));
    // 全体 (p = 271/1000): 1 in every draw, once in 1-1-7; 8 never (5 × 0.271 = 1.355 is the
    // double 1.35499…).
    EXPECT_EQ(groupCells(*grid, 1, 3), (QStringList{"5", "100.0%", "0", "1", "0.00"}));
    EXPECT_EQ(groupCells(*grid, 5, 3), (QStringList{"2", "40.0%", "1", "2", "0.27"}));
    EXPECT_EQ(groupCells(*grid, 8, 3), (QStringList{"0", "0.0%", "5", "–", "1.35"}));
    EXPECT_EQ(row(*grid, 13), (QStringList{"期待値", "0.5",   "10.0%", "", "", "",    "0.5",   "10.0%", "", "", "",
                                           "0.5",    "10.0%", "",      "", "", "1.4", "27.1%", "",      "", ""}));

    // From draw 5 on: N = 3.
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("桁別出現分析"));
    ASSERT_TRUE(record);
    const auto sheets = catalogue::computeSheets(*record, fiveDraws(), {.range = RangeChoice::between(5, 32767)});
    const Grid& ranged = *sheets->grids().first();
    EXPECT_EQ(groupCells(ranged, 1, 0), (QStringList{"1", "33.3%", "2", "–", "0.20"}));
    EXPECT_EQ(groupCells(ranged, 5, 3), (QStringList{"1", "33.3%", "1", "–", "0.27"}));
    EXPECT_EQ(ranged.text(17, 13), QStringLiteral("0.8"));
}

// The chart shows the group of the active cell's column, digit by digit, however the rows are
// sorted.
TEST(DigitPositions, TheChartFollowsTheGroupOfTheColumnAndNotTheRowOrder)
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("桁別出現分析"));
    ASSERT_TRUE(record);
    const auto sheets = catalogue::computeSheets(*record, fiveDraws());
    ASSERT_TRUE(sheets->hasChart());
    Grid& grid = *sheets->sheetGrids().first();
    grid.sortRows(17, true);
    ASSERT_EQ(grid.text(1, 3), QStringLiteral("1"));

    const SheetChart anywhere = sheets->chartAt(21, 3);
    EXPECT_EQ(anywhere.title, QStringLiteral("全体の出現回数"));
    EXPECT_EQ(anywhere.labels, (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(anywhere.observed, (QVector<double>{1, 5, 2, 1, 1, 2, 0, 1, 0, 1}));
    EXPECT_EQ(anywhere.expected, QVector<double>(10, 5 * 271 / 1000.0));

    const SheetChart second = sheets->chartAt(11, 12);
    EXPECT_EQ(second.title, QStringLiteral("第2数字の出現回数"));
    EXPECT_EQ(second.observed, (QVector<double>{0, 1, 2, 0, 0, 2, 0, 0, 0, 0}));
    EXPECT_EQ(second.expected, QVector<double>(10, 0.5));
    EXPECT_EQ(sheets->chartAt(12, 1).title, QStringLiteral("第3数字の出現回数"));
    EXPECT_EQ(sheets->chartAt(6, 1).title, QStringLiteral("第1数字の出現回数"));
    EXPECT_EQ(sheets->chartAt(1, 5).title, QStringLiteral("第1数字の出現回数"));
    EXPECT_EQ(sheets->chartAt(22, 5).title, QStringLiteral("第1数字の出現回数"));
}

TEST(PairNumbers, EachTableCountsItsTwoPositions)
{
    const std::unique_ptr<Grid> grid = cataloguetest::analysisGrid(QStringLiteral("ペア数字分析"), fiveDraws());
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->maxCols(), 33);
    ASSERT_EQ(grid->maxRows(), 13);
    const int tables[3] = {2, 13, 24};
    for (int t = 0; t < 3; ++t) {
        int sum = 0;
        for (int r = 3; r <= 12; ++r)
            for (int c = tables[t]; c < tables[t] + 10; ++c)
                sum += grid->text(c, r).toInt();
        EXPECT_EQ(sum, 5) << "table " << t;
        EXPECT_EQ(grid->text(tables[t] + 9, 2), QStringLiteral("9"));
    }
    EXPECT_EQ(grid->text(13, 1), QStringLiteral("第1・第3数字"));
    EXPECT_EQ(grid->text(1, 1), QString());
    for (int r = 1; r <= 13; ++r) {
        EXPECT_EQ(grid->text(12, r), QString()) << r;
        EXPECT_EQ(grid->text(23, r), QString()) << r;
    }
    // Row digit, column digit: 1-1 at 第1・第2 (1-1-7), 4-1 at 第1・第3 (4-5-1), 5-1 twice at
    // 第2・第3 (4-5-1, 0-5-1); the incomplete 1-?-2 nowhere.
    EXPECT_EQ(grid->text(2 + 1, 3 + 1), QStringLiteral("1"));
    EXPECT_EQ(grid->text(13 + 1, 3 + 4), QStringLiteral("1"));
    EXPECT_EQ(grid->text(13 + 2, 3 + 1), QStringLiteral("0"));
    EXPECT_EQ(grid->text(24 + 1, 3 + 5), QStringLiteral("2"));
    QStringList expected(33);
    expected[0] = QStringLiteral("期待値");
    for (int c : tables)
        expected[c - 1] = QStringLiteral("0.1");
    EXPECT_EQ(row(*grid, 13), expected);

    // Shaded by the distance from N / 100: over 400 draws whose 第1・第2数字 pairs are ten
    // pairs of 40 each, a 40 lies far above 4 and a 0 two deviations (1.99) below it.
    const std::unique_ptr<Grid> many
        = cataloguetest::analysisGrid(QStringLiteral("ペア数字分析"), fixture::drawsUpTo(400));
    ASSERT_EQ(many->text(2 + 3, 3 + 1), QStringLiteral("40"));
    ASSERT_EQ(many->text(2 + 0, 3 + 1), QStringLiteral("0"));
    const QString white = colorHex(rgb(255, 255, 255));
    const QString above = colorHex(many->backColor(2 + 3, 3 + 1)), below = colorHex(many->backColor(2 + 0, 3 + 1));
    EXPECT_NE(above, white);
    EXPECT_NE(below, white);
    EXPECT_NE(above, below);
    EXPECT_EQ(colorHex(grid->backColor(2 + 0, 3 + 0)), white); // 0 against 0.05 is within one deviation
    const std::unique_ptr<Grid> none = cataloguetest::analysisGrid(QStringLiteral("ペア数字分析"), History());
    EXPECT_EQ(none->text(24, 13), QStringLiteral("0.0"));
    EXPECT_EQ(colorHex(none->backColor(2, 3)), white);
}

} // namespace
