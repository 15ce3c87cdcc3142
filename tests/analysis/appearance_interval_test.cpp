// 出現間隔分析: how many draws earlier each winning digit was last drawn.

#include "grid/colors.h"
#include "analysis/appearance_interval.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct AppearanceInterval : ::testing::Test {
    Grid g;
    History history;
    QStringList intervals(int row) // computes the sheet from the history on first use
    {
        if (g.maxRows() == 0)
            出現間隔分析().mainStep(g, history);
        return {g.text(3, row), g.text(5, row), g.text(7, row)};
    }
};

TEST_F(AppearanceInterval, FirstDrawRepeatedDigitsAndZero)
{
    history = fixture::history({{1, 7, 1, 5}, {2, 0, 4, 6}, {3, 7, 7, 2}, {4, 9, 0, 0}});
    EXPECT_EQ(intervals(3), (QStringList{"初回", "初回", "初回"}));
    EXPECT_EQ(intervals(5), (QStringList{"2回前", "2回前", "初回"}));
    EXPECT_EQ(intervals(6), (QStringList{"初回", "2回前", "2回前"}));
}

TEST_F(AppearanceInterval, IncompleteRecordsAndGapsReadAsZeros)
{
    history = fixture::history({{1, 5, 5, 5}, {2, 3}, {3, 0, 5, 1}, {5, 0, 1, 1}});
    EXPECT_EQ(intervals(5), (QStringList{"1回前", "2回前", "初回"}));
    EXPECT_EQ(intervals(6), (QStringList{"1回前", "2回前", "2回前"}));
    EXPECT_FALSE(g.hasText(1, 4) || g.hasText(2, 4) || g.hasText(3, 4));
}

TEST_F(AppearanceInterval, DrawNumbersUpToTheLargestAreSearched)
{
    history = fixture::history({{12000, 4, 0, 9}, {12005, 4, 1, 2}, {32767, 9, 9, 2}});
    EXPECT_EQ(intervals(4), (QStringList{"5回前", "初回", "初回"}));
    EXPECT_EQ(intervals(5), (QStringList{"20767回前", "20767回前", "20762回前"}));
}

TEST_F(AppearanceInterval, HeadingsAtHeadAndFoot)
{
    history = fixture::history({{1, 4, 0, 8}, {2, 1, 2, 3}, {3}});
    intervals(3);
    ASSERT_EQ(g.maxRows(), 2 + 4);
    // The foot mirrors the head: captions in row 5, the title band below them.
    for (auto [title, caption] : {std::pair{1, 2}, std::pair{6, 5}}) {
        EXPECT_EQ(g.text(4, title), QStringLiteral("　当 選 数 字     "));
        EXPECT_EQ(g.border(3, title, BorderSide::Right).style, BorderStyle::None);
        EXPECT_EQ(g.border(7, title, BorderSide::Right).style, BorderStyle::Solid);
        EXPECT_EQ(g.backColor(5, title), colors::kHeadingBack);
        const QStringList captions{"回数", "第1数字", "出現", "第2数字", "出現", "第3数字", "出現"};
        for (int c = 1; c <= 7; ++c)
            EXPECT_EQ(g.text(c, caption), captions[c - 1]);
    }
    EXPECT_EQ(g.foreColor(1, 4), colors::kDrawNoFore);
    EXPECT_EQ(g.backColor(6, 4), colors::kPaleCyan);
}

TEST_F(AppearanceInterval, RealHistory)
{
    history = fixture::realHistory();
    EXPECT_EQ(intervals(4), (QStringList{"1回前", "初回", "初回"})); // draw 2: 9-8-8
    EXPECT_EQ(intervals(9), (QStringList{"1回前", "3回前", "5回前"})); // 7: 7-0-8
    EXPECT_EQ(intervals(6441), (QStringList{"7回前", "7回前", "32回前"})); // 6439: 9-9-2
    EXPECT_EQ(intervals(7091), (QStringList{"2回前", "8回前", "1回前"})); // 7089: 4-3-1
}

} // namespace
