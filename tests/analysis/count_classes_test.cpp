// 回数別出現分析: the digits grouped by their number of appearances.

#include "grid/colors.h"
#include "analysis/count_classes.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CountClasses : ::testing::Test {
    Grid g;
    History history;
    QStringList rows() // "count|digits"
    {
        回数別出現分析().mainStep(g, history);
        QStringList texts;
        for (int r = 1; r <= g.maxRows(); ++r)
            texts << g.text(1, r) + "|" + g.text(2, r);
        return texts;
    }
};

TEST_F(CountClasses, ClassesInAscendingCountOrder)
{
    history = fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3}});
    EXPECT_EQ(rows(), (QStringList{"出 現|数 字", "0回|2,3,4,6,7,8", "1回|0,9", "2回|1,5"}));
    EXPECT_EQ(g.backColor(2, 1), colors::kHeadingBack);
    EXPECT_EQ(g.backColor(1, 4), colors::kPaleYellow);
    EXPECT_EQ(g.foreColor(2, 2), colors::kBlue);
    EXPECT_EQ(g.hAlign(2, 4), HAlign::Left);
}

TEST_F(CountClasses, NoCompleteDrawAndNoDrawAtAll)
{
    history = fixture::history({{1, 2, 2}});
    EXPECT_EQ(rows(), (QStringList{"出 現|数 字", "0回|0,1,2,3,4,5,6,7,8,9"}));
    EXPECT_EQ(g.backColor(1, 1), colors::kHeadingBack);
    history = fixture::history({});
    EXPECT_EQ(rows(), QStringList{});
}

TEST_F(CountClasses, RealHistory)
{
    history = fixture::realHistory();
    EXPECT_EQ(rows(),
              (QStringList{"出 現|数 字", "2016回|5", "2100回|7", "2104回|6", "2115回|1", "2122回|4", "2134回|2",
                           "2138回|0", "2147回|3", "2164回|8", "2227回|9"}));
}

} // namespace
