// 分割5傾向分析: digits coloured by five classes and the count of each class.

#include "grid/colors.h"
#include "analysis/five_class_trend.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace colors;

class FiveClassTrend : public ::testing::Test {
protected:
    Grid compute() const
    {
        Grid g;
        分割5傾向分析().mainStep(g, history);
        return g;
    }
    static QStringList rowTexts(const Grid& g, int row)
    {
        QStringList texts;
        for (int c = 1; c <= 9; ++c)
            texts << g.text(c, row);
        return texts;
    }
    static void expectHeading(const Grid& g, int row)
    {
        EXPECT_EQ(rowTexts(g, row),
                  (QStringList{"回数", "         当 選 数 字", "", "", "0～1", "2～3", "4～5", "6～7", "8～9"}));
        EXPECT_EQ(g.backColor(9, row), kPaleBlue) << "row " << row;
        EXPECT_EQ(g.border(3, row, BorderSide::Top).style, BorderStyle::None) << "row " << row;
    }
    History history;
};

TEST_F(FiveClassTrend, ClassColoursAndCounts)
{
    history = fixture::history({{1, 1, 1, 5}, {2, 9, 8, 0}, {3, 2, 4, 6}, {4, 3, 7, 7}});
    const Grid g = compute();
    EXPECT_EQ(rowTexts(g, 2), (QStringList{"1", "1", "1", "5", "2", "0", "1", "0", "0"}));
    EXPECT_EQ(rowTexts(g, 3), (QStringList{"2", "9", "8", "0", "1", "0", "0", "0", "2"}));
    const GridColor digitBacks[4][3] = {{kWhite, kWhite, kPaleGreen},
                                        {kPaleMagenta, kPaleMagenta, kWhite},
                                        {kPaleCyan, kPaleGreen, kPaleYellow},
                                        {kPaleCyan, kPaleYellow, kPaleYellow}};
    for (int r = 2; r <= 5; ++r) {
        int sum = 0;
        for (int c = 5; c <= 9; ++c)
            sum += g.text(c, r).toInt();
        EXPECT_EQ(sum, 3) << "row " << r;
        for (int p = 0; p < 3; ++p)
            EXPECT_EQ(g.backColor(p + 2, r), digitBacks[r - 2][p]) << "row " << r << " col " << p + 2;
    }
    EXPECT_EQ(g.border(5, 3, BorderSide::Left).color, kRed);
    expectHeading(g, 1);
}

TEST_F(FiveClassTrend, FootStaysBelowTheLastDrawNumber)
{
    history = fixture::history({{1, 0, 1, 2}, {2, 3, -1, 4}, {3, 5, 5, 5}, {4}});
    const Grid g = compute();
    ASSERT_EQ(g.maxRows(), 5);
    EXPECT_EQ(g.text(1, 3), QStringLiteral("3"));
    EXPECT_EQ(rowTexts(g, 4), QStringList(9));
    expectHeading(g, 5);

    // Draw number 1 twice: the second draw must not land on the foot.
    history = fixture::history({{1, 1, 1, 5}, {1, 9, 8, 0}});
    const Grid twice = compute();
    EXPECT_EQ(twice.text(2, 3), QStringLiteral("9"));
    expectHeading(twice, 4);
}

TEST_F(FiveClassTrend, RealHistoryRows)
{
    history = fixture::realHistory();
    const Grid g = compute();
    ASSERT_EQ(g.maxRows(), 7091);
    EXPECT_EQ(rowTexts(g, 4), (QStringList{"3", "1", "9", "4", "1", "0", "1", "0", "1"}));
    EXPECT_EQ(rowTexts(g, 5001), (QStringList{"5000", "3", "1", "7", "1", "1", "0", "1", "0"}));
    EXPECT_EQ(g.backColor(4, 5001), kPaleYellow);
    expectHeading(g, 7091);
}

} // namespace
