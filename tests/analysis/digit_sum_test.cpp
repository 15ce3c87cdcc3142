// 数字合計分析: the digit sum of every complete draw.

#include "grid/colors.h"
#include "analysis/digit_sum.h"
#include "data/history_csv.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

class DigitSum : public ::testing::Test {
protected:
    void compute()
    {
        g.setGridLinesShown(false);
        数字合計分析().mainStep(g, history);
    }
    QStringList row(int r) const { return {g.text(1, r), g.text(2, r), g.text(3, r), g.text(4, r), g.text(5, r)}; }
    Grid g;
    History history;
};

TEST_F(DigitSum, SumsFromZeroToTwentySevenOnConsecutiveRows)
{
    history = fixture::history({{1, 0, 0, 0}, {2, 9, 9, -1}, {3, 9, 9, 9}, {4, 0, 5, 8}, {5}});
    compute();
    ASSERT_EQ(g.maxRows(), 5);
    EXPECT_EQ(row(2), QStringList({"1", "0", "0", "0", "0"}));
    EXPECT_EQ(row(3), QStringList({"3", "9", "9", "9", "27"})) << "the incomplete draw 2 leaves no gap";
    EXPECT_EQ(row(4), QStringList({"4", "0", "5", "8", "13"}));
    EXPECT_EQ(row(5), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(g.backColor(1, 3), colors::kPaleYellow);
    EXPECT_EQ(g.foreColor(1, 3), colors::kRed);
    EXPECT_EQ(g.backColor(3, 3), colors::kWhite);
    EXPECT_EQ(g.backColor(5, 3), colors::kPaleCyan);
    EXPECT_EQ(g.foreColor(5, 3), colors::kBlue);
}

TEST_F(DigitSum, HeadingBandOverTheDigitColumns)
{
    history = fixture::history({});
    compute();
    ASSERT_EQ(g.maxRows(), 1);
    EXPECT_EQ(row(1), QStringList({"回数", "　      当 選 数 字", "", "", "合計"}));
    EXPECT_EQ(g.hAlign(2, 1), HAlign::Left);
    // No line inside columns 2-4, lines around them and before 合計.
    const auto line = [this](int c, BorderSide side) { return g.border(c, 1, side).style == BorderStyle::Solid; };
    EXPECT_TRUE(line(2, BorderSide::Left) && line(4, BorderSide::Right) && line(5, BorderSide::Left));
    EXPECT_FALSE(line(2, BorderSide::Right) || line(3, BorderSide::Left) || line(3, BorderSide::Right)
                 || line(4, BorderSide::Left));
    EXPECT_TRUE(line(3, BorderSide::Top) && line(3, BorderSide::Bottom));
    for (int c = 1; c <= 5; ++c)
        EXPECT_TRUE(g.backColor(c, 1) == colors::kHeadingBack && g.foreColor(c, 1) == colors::kBlack) << c;
}

TEST_F(DigitSum, RealHistoryRows)
{
    history = fixture::realHistory();
    compute();
    ASSERT_EQ(g.maxRows(), 7090);
    EXPECT_EQ(row(2), QStringList({"1", "1", "9", "1", "11"}));
    EXPECT_EQ(row(347), QStringList({"346", "0", "0", "0", "0"}));
    EXPECT_EQ(row(1145), QStringList({"1144", "9", "9", "9", "27"}));
    EXPECT_EQ(row(7090), QStringList({"7089", "4", "3", "1", "8"}));
}

} // namespace
