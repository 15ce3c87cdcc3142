// 連番飛び石分析: consecutive and one-apart neighbouring digits.

#include "grid/colors.h"
#include "analysis/neighbours.h"
#include "data/history_csv.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

class Neighbours : public ::testing::Test {
protected:
    void compute()
    {
        g.setGridLinesShown(false);
        連番飛び石分析().mainStep(g, history);
    }
    // A row's eight cells as "text/background", the background one letter of the table below.
    QString row(int r) const
    {
        const std::pair<GridColor, char> tags[]
            = {{colors::kPaleYellow, 'y'}, {colors::kPaleCyan, 'c'}, {colors::kPaleGreen, 'g'},
               {rgb(225, 225, 225), '-'},  {colors::kWhite, '.'},    {colors::kPaleMagenta, 'm'},
               {colors::kHeadingBack, 'p'}};
        QStringList cells;
        for (int c = 1; c <= 8; ++c) {
            char tag = '?';
            for (const auto& [colour, letter] : tags)
                tag = g.backColor(c, r) == colour ? letter : tag;
            cells << g.text(c, r) + u'/' + QChar::fromLatin1(tag);
        }
        return cells.join(u' ');
    }
    Grid g;
    History history;
};

TEST_F(Neighbours, OnlyNeighbouringPositionsCountBothWaysWithoutWrap)
{
    history = fixture::history(
        {{1, 3, 4, 5}, {2, 5, 4, 6}, {3, 1, -1, 2}, {4, 1, 7, 2}, {5, 9, 0, 1}, {6, 4, 4, 4}, {7, 7, 5, 3}});
    compute();
    ASSERT_EQ(g.maxRows(), 8);
    EXPECT_EQ(row(2), "1/y 3/c 4/c 5/c 1/- 3/. 4/. 5/.");
    EXPECT_EQ(row(3), "2/y 5/c 4/c 6/. 2/y 5/. 4/g 6/g");
    EXPECT_EQ(row(4), "4/- 1/. 7/. 2/. 4/- 1/. 7/. 2/.") << "the incomplete draw 3 takes no row";
    EXPECT_EQ(row(5), "5/y 9/. 0/c 1/c 5/- 9/. 0/. 1/.");
    EXPECT_EQ(row(6), "6/- 4/. 4/. 4/. 6/- 4/. 4/. 4/.");
    EXPECT_EQ(row(7), "7/- 7/. 5/. 3/. 7/y 7/g 5/g 3/g");
    EXPECT_EQ(row(8), "/y /. /. /. /y /. /. /.");
}

TEST_F(Neighbours, TwoHeadingBands)
{
    history = fixture::history({});
    compute();
    ASSERT_EQ(g.maxRows(), 1);
    EXPECT_EQ(row(1), "回数/y      連番(当選数字)/m /m /m 回数/y     飛び石(当選数字)/p /p /p");
    for (int c : {2, 6}) {
        const auto line
            = [this](int col, BorderSide side) { return g.border(col, 1, side).style == BorderStyle::Solid; };
        EXPECT_EQ(g.hAlign(c, 1), HAlign::Left) << c;
        EXPECT_TRUE(line(c, BorderSide::Left) && line(c + 2, BorderSide::Right) && line(c + 1, BorderSide::Top)
                    && line(c + 1, BorderSide::Bottom))
            << c;
        EXPECT_FALSE(line(c, BorderSide::Right) || line(c + 1, BorderSide::Left) || line(c + 1, BorderSide::Right)
                     || line(c + 2, BorderSide::Left))
            << c;
    }
    EXPECT_EQ(g.foreColor(5, 1), colors::kRed);
}

TEST_F(Neighbours, RealHistoryRows)
{
    history = fixture::realHistory();
    compute();
    ASSERT_EQ(g.maxRows(), 7090);
    EXPECT_EQ(row(2), "1/- 1/. 9/. 1/. 1/- 1/. 9/. 1/.");
    EXPECT_EQ(row(3), "2/y 9/c 8/c 8/. 2/- 9/. 8/. 8/.");
    EXPECT_EQ(row(7), "6/- 7/. 9/. 2/. 6/y 7/g 9/g 2/.");
    EXPECT_EQ(row(7090), "7089/y 4/c 3/c 1/. 7089/y 4/. 3/g 1/g");
}

} // namespace
