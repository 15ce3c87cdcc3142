// 出現回数分析: how often each digit had been drawn before the draw, in any position.

#include "grid/colors.h"
#include "analysis/appearance_count.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AppearanceCount : ::testing::Test {
    Grid g;
    History history;
    QString rowText(int row) // computes the sheet from the history on first use
    {
        if (g.maxRows() == 0)
            出現回数分析().mainStep(g, history);
        QStringList cells;
        for (int c = 1; c <= 7; ++c)
            cells << g.text(c, row);
        return cells.join(u' ');
    }
};

TEST_F(AppearanceCount, CountsBeforeTheDrawSharedByThePositions)
{
    history = fixture::history({{1, 3, 3, 7}, {2, 1}, {3, 7, 3, 0}, {4, 3, 1, 3}});
    EXPECT_EQ(rowText(3), QStringLiteral("1 3 3 7 0 0 0"));
    EXPECT_EQ(rowText(4), QStringLiteral("3 7 3 0 1 2 0"));
    EXPECT_EQ(rowText(5), QStringLiteral("4 3 1 3 3 0 3"));
    EXPECT_EQ(rowText(6), QStringLiteral("      "));
}

TEST_F(AppearanceCount, HeadingsOverAnEmptyHistory)
{
    history = fixture::history({});
    EXPECT_EQ(rowText(2), QStringLiteral("回数 第1数字 第2数字 第3数字 第1数字 第2数字 第3数字"));
    EXPECT_EQ(g.maxRows(), 2);
    EXPECT_EQ(g.text(2, 1), QStringLiteral("           当 選 数 字"));
    EXPECT_EQ(g.text(6, 1), QStringLiteral("　　出現回数合計(回)"));
    EXPECT_EQ(g.hAlign(6, 1), HAlign::Center);
    EXPECT_EQ(g.foreColor(4, 2), colors::kBlue);
    EXPECT_EQ(g.backColor(5, 2), colors::kPaleGreen);
    EXPECT_EQ(g.border(3, 1, BorderSide::Right).style, BorderStyle::None);
    EXPECT_EQ(g.border(4, 1, BorderSide::Right).style, BorderStyle::Solid);
}

TEST_F(AppearanceCount, RealHistory)
{
    history = fixture::realHistory();
    EXPECT_EQ(rowText(5), QStringLiteral("3 1 9 4 2 2 0"));
    EXPECT_EQ(rowText(1002), QStringLiteral("1000 1 6 5 289 263 297"));
    EXPECT_EQ(rowText(7091), QStringLiteral("7089 4 3 1 2121 2146 2114"));
}

} // namespace
