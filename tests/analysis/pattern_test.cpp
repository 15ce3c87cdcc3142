// 偶数奇数の組合せパターン分析 and 低数字高数字の組合せパターン分析.

#include "grid/colors.h"
#include "analysis/pattern.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace colors;

class PatternWindows : public ::testing::Test {
protected:
    template <typename Window> Grid compute() const
    {
        Grid g;
        Window().mainStep(g, history);
        return g;
    }
    History history;
    static QStringList rowTexts(const Grid& g, int row)
    {
        QStringList texts;
        for (int c = 1; c <= 7; ++c)
            texts << g.text(c, row);
        return texts;
    }
    // The backgrounds of the three digit cells and of the letter.
    static QList<GridColor> backs(const Grid& g, int row)
    {
        return {g.backColor(2, row), g.backColor(3, row), g.backColor(4, row), g.backColor(7, row)};
    }
};

TEST_F(PatternWindows, EvenOddCountsLettersAndColours)
{
    history = fixture::history({{1, 2, 4, 8}, {2, 1, 3, 5}, {3, 0, 0, -1}, {4, 0, 0, 7}});
    const Grid g = compute<偶数奇数の組合せパターン分析>();
    EXPECT_EQ(rowTexts(g, 1), (QStringList{"回数", "        当 選 数 字 ", "", "", "偶数", "奇数", "パターン"}));
    EXPECT_EQ(rowTexts(g, 2), (QStringList{"1", "2", "4", "8", "3", "0", "A"}));
    EXPECT_EQ(rowTexts(g, 3), (QStringList{"2", "1", "3", "5", "0", "3", "D"}));
    // 0 is even; the incomplete draw 3 leaves no gap.
    EXPECT_EQ(rowTexts(g, 4), (QStringList{"4", "0", "0", "7", "2", "1", "B"}));
    EXPECT_EQ(backs(g, 2), (QList<GridColor>{kPaleCyan, kPaleCyan, kPaleCyan, kWhite}));
    EXPECT_EQ(backs(g, 3), (QList<GridColor>{kWhite, kWhite, kWhite, kPaleYellow}));
    EXPECT_EQ(backs(g, 4), (QList<GridColor>{kPaleCyan, kPaleCyan, kWhite, kPaleCyan}));
}

TEST_F(PatternWindows, LowHighCountsFourAsLow)
{
    history = fixture::history({{1, 0, 1, 2}, {2, 5, 7, 9}, {3, 3, 4, 6}, {4, 4, 4, 4}});
    const Grid g = compute<低数字高数字の組合せパターン分析>();
    EXPECT_EQ(rowTexts(g, 1), (QStringList{"回数", "        当 選 数 字 ", "", "", "低数字", "高数字", "パターン"}));
    EXPECT_EQ(rowTexts(g, 2), (QStringList{"1", "0", "1", "2", "3", "0", "D"}));
    EXPECT_EQ(rowTexts(g, 3), (QStringList{"2", "5", "7", "9", "0", "3", "A"}));
    EXPECT_EQ(rowTexts(g, 4), (QStringList{"3", "3", "4", "6", "2", "1", "C"}));
    EXPECT_EQ(rowTexts(g, 5), (QStringList{"4", "4", "4", "4", "3", "0", "D"}));
    EXPECT_EQ(backs(g, 3), (QList<GridColor>{kWhite, kWhite, kWhite, kWhite}));
    EXPECT_EQ(backs(g, 4), (QList<GridColor>{kPaleCyan, kPaleCyan, kWhite, kPaleGreen}));
    EXPECT_EQ(backs(g, 5), (QList<GridColor>{kPaleCyan, kPaleCyan, kPaleCyan, kPaleYellow}));
}

TEST_F(PatternWindows, HeadingSpanAndRepeatedDrawNumbers)
{
    history = fixture::history({{1, 0, 0, 7}, {1, 5, 7, 9}});
    const Grid g = compute<偶数奇数の組合せパターン分析>();
    ASSERT_EQ(g.maxRows(), 3) << "both draws numbered 1 keep a row";
    EXPECT_EQ(rowTexts(g, 3), (QStringList{"1", "5", "7", "9", "0", "3", "D"}));
    EXPECT_EQ(g.border(2, 1, BorderSide::Right).style, BorderStyle::None);
    EXPECT_EQ(g.border(4, 1, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g.border(3, 2, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g.foreColor(6, 1), kBlue);
    EXPECT_EQ(g.foreColor(1, 3), kRed);
}

TEST_F(PatternWindows, RealHistoryRows)
{
    history = fixture::realHistory();
    const Grid eo = compute<偶数奇数の組合せパターン分析>();
    ASSERT_EQ(eo.maxRows(), 7090);
    EXPECT_EQ(rowTexts(eo, 2), (QStringList{"1", "1", "9", "1", "0", "3", "D"}));
    EXPECT_EQ(rowTexts(eo, 1235), (QStringList{"1234", "7", "9", "6", "1", "2", "C"}));
    const Grid lh = compute<低数字高数字の組合せパターン分析>();
    EXPECT_EQ(rowTexts(lh, 3003), (QStringList{"3002", "9", "4", "7", "1", "2", "B"}));
    EXPECT_EQ(rowTexts(lh, 7090), (QStringList{"7089", "4", "3", "1", "3", "0", "D"}));
}

} // namespace
