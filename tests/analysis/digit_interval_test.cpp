// 数字間隔分析: each position's move from the same position of the previous complete draw.

#include "grid/colors.h"
#include "analysis/digit_interval.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct DigitInterval : ::testing::Test {
    Grid g;
    History history;
    QStringList differences(int row) // a shaded fall ends in "↓"; computes the sheet on first use
    {
        if (g.maxRows() == 0)
            数字間隔分析().mainStep(g, history);
        QStringList cells;
        for (int c : {3, 5, 7})
            cells << g.text(c, row) + (g.backColor(c, row) == colors::kPaleMagenta ? "↓" : "");
        return cells;
    }
};

TEST_F(DigitInterval, SignsShadingAndHeadings)
{
    history = fixture::history({{1, 7, 2, 5}, {2, 2, 7, 5}, {3, 2, 9, 0}});
    EXPECT_EQ(differences(3), (QStringList{"", "", ""}));
    EXPECT_EQ(differences(4), (QStringList{"-5↓", "+5", "0"}));
    EXPECT_EQ(differences(5), (QStringList{"0", "+2", "-5↓"}));
    for (auto [title, caption] : {std::pair{1, 2}, std::pair{7, 6}}) {
        EXPECT_EQ(g.text(2, title), QStringLiteral("　当 選 数 字"));
        EXPECT_EQ(g.border(7, title, BorderSide::Right).style, BorderStyle::None);
        EXPECT_EQ(g.text(5, caption), QStringLiteral("差分"));
    }
}

TEST_F(DigitInterval, IncompleteRecordsLeaveEmptyRows)
{
    // An incomplete first record: the first complete draw, on row 4, differs from 0, 0, 0.
    history = fixture::history({{1, 4, 4}, {2, 3, 0, 9}, {3}, {4, 1, 0, 9}});
    EXPECT_EQ(differences(4), (QStringList{"+3", "0", "+9"}));
    EXPECT_EQ(differences(6), (QStringList{"-2↓", "0", "0"}));
    EXPECT_FALSE(g.hasText(1, 3) || g.hasText(2, 3) || g.hasText(1, 5));
}

TEST_F(DigitInterval, RealHistory)
{
    history = fixture::realHistory();
    EXPECT_EQ(differences(3), (QStringList{"", "", ""})); // draw 1: 1-9-1
    EXPECT_EQ(differences(4), (QStringList{"+8", "-1↓", "+7"})); // 2: 9-8-8
    EXPECT_EQ(differences(6), (QStringList{"0", "-9↓", "+1"})); // 4: 1-0-5
    EXPECT_EQ(differences(7091), (QStringList{"+3", "-4↓", "-4↓"})); // 7089: 4-3-1
}

} // namespace
