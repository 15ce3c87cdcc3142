// 引っ張り分析: digits carried over from the previous complete draw.

#include "grid/colors.h"
#include "analysis/carry_over.h"
#include "data/history_csv.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

class CarryOver : public ::testing::Test {
protected:
    void compute()
    {
        g.setGridLinesShown(false);
        引っ張り分析().mainStep(g, history);
    }
    // A row as "回数:digits", a marked digit in brackets: "2:[3][3]9"; "?" for any other background.
    QString row(int r) const
    {
        QString s = g.text(1, r) + u':';
        for (int c = 2; c <= 4; ++c) {
            const GridColor back = g.backColor(c, r);
            if (back == colors::kPaleCyan)
                s += u'[' + g.text(c, r) + u']';
            else
                s += back == colors::kWhite ? g.text(c, r) : QStringLiteral("?");
        }
        return s;
    }
    Grid g;
    History history;
};

TEST_F(CarryOver, DigitsOfThePreviousCompleteDrawAreMarkedWhateverTheirPosition)
{
    history = fixture::history({{1, 1, 2, 3}, {2, 3, 3, 9}, {3, 5, 5, 5}, {4, 5, 0, 1}, {5, 0, 7}, {6, 7, 1, 8}, {7}});
    compute();
    ASSERT_EQ(g.maxRows(), 7);
    EXPECT_EQ(row(2), "1:123") << "the first draw carries no marks";
    EXPECT_EQ(row(3), "2:[3][3]9");
    EXPECT_EQ(row(4), "3:555");
    EXPECT_EQ(row(5), "4:[5]01");
    EXPECT_EQ(row(6), "6:7[1]8") << "compared with draw 4, skipping the incomplete draw 5";
    EXPECT_EQ(row(7), ":");
    EXPECT_TRUE(g.backColor(1, 6) == colors::kPaleYellow && g.foreColor(1, 6) == colors::kRed);
}

TEST_F(CarryOver, HeadingBandHasOnlyItsBottomLine)
{
    history = fixture::history({});
    compute();
    ASSERT_EQ(g.maxRows(), 1);
    EXPECT_EQ(g.text(1, 1), "回数");
    EXPECT_EQ(g.text(3, 1), "当 選 数 字");
    EXPECT_EQ(g.hAlign(3, 1), HAlign::Left);
    for (int c = 1; c <= 4; ++c) {
        EXPECT_TRUE(g.backColor(c, 1) == colors::kHeadingBack && g.foreColor(c, 1) == colors::kBlack) << c;
        EXPECT_EQ(g.border(c, 1, BorderSide::Bottom).style, BorderStyle::Solid) << c;
        EXPECT_EQ(g.border(c, 1, BorderSide::Top).style, c == 1 ? BorderStyle::Solid : BorderStyle::None) << c;
    }
    EXPECT_EQ(g.border(1, 1, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g.border(2, 1, BorderSide::Left).style, BorderStyle::None);
    EXPECT_EQ(g.border(3, 1, BorderSide::Right).style, BorderStyle::None);
}

TEST_F(CarryOver, RealHistoryRows)
{
    history = fixture::realHistory();
    compute();
    ASSERT_EQ(g.maxRows(), 7090);
    EXPECT_EQ(row(2), "1:191");
    EXPECT_EQ(row(3), "2:[9]88"); // after 1 9 1
    EXPECT_EQ(row(7), "6:7[9][2]"); // after 5 9 2
    EXPECT_EQ(row(10), "9:[2][4][3]"); // after 2 3 4
    EXPECT_EQ(row(7090), "7089:43[1]"); // after 1 7 5
}

} // namespace
