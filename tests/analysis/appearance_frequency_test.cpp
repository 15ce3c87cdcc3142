// 出現頻度分析: the bar chart of digit appearances.

#include "grid/colors.h"
#include "support/catalogue_support.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

class AppearanceFrequency : public ::testing::Test {
protected:
    std::unique_ptr<Grid> compute() { return cataloguetest::analysisGrid(QStringLiteral("出現頻度分析"), history); }
    History history;
    // The rows of a digit's column that carry a mark.
    static QList<int> marksOf(const Grid& g, int digit)
    {
        QList<int> rows;
        for (int r = 1; r <= g.maxRows(); ++r) {
            if (g.text(digit + 2, r) == kMarkText)
                rows << r;
        }
        return rows;
    }
};

TEST_F(AppearanceFrequency, EmptyHistoryHasOnlyTheTwoHeadingRows)
{
    history = fixture::history({});
    const auto g = compute();
    EXPECT_EQ(g->maxRows(), 2);
    EXPECT_EQ(g->maxCols(), 11);
    EXPECT_EQ(g->text(1, 2), QStringLiteral("出現数"));
    EXPECT_EQ(g->text(5, 1), QStringLiteral("　　当 選 数 字"));
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(g->text(d + 2, 2), QString::number(d));
}

TEST_F(AppearanceFrequency, RepeatedDigitStacksDownItsColumn)
{
    history = fixture::history({{1, 1, 1, 5}, {2}});
    const auto g = compute();
    ASSERT_EQ(g->maxRows(), 4);
    EXPECT_EQ(marksOf(*g, 1), (QList<int>{3, 4}));
    EXPECT_EQ(marksOf(*g, 5), (QList<int>{3}));
    for (int d : {0, 2, 3, 4, 6, 7, 8, 9})
        EXPECT_TRUE(marksOf(*g, d).isEmpty()) << d;
    EXPECT_EQ(g->text(1, 3), QStringLiteral("1"));
    EXPECT_EQ(g->text(1, 4), QStringLiteral("2"));
}

TEST_F(AppearanceFrequency, MostFrequentZeroAndTiesReachTheLastRow)
{
    history = fixture::history({{1, 0, 0, 3}, {2, 0, 3, 3}, {3, 7, 0, 1}, {4, 5, 5, 5}, {5, 9}});
    const auto g = compute();
    // 0 and 3 appear 4 and 3 times, 5 three times: four mark rows.
    ASSERT_EQ(g->maxRows(), 6);
    EXPECT_EQ(marksOf(*g, 0), (QList<int>{3, 4, 5, 6}));
    EXPECT_EQ(marksOf(*g, 3), (QList<int>{3, 4, 5}));
    EXPECT_EQ(marksOf(*g, 5), (QList<int>{3, 4, 5}));
    EXPECT_EQ(g->text(1, 6), QStringLiteral("4"));

    history = fixture::history({{1, 2, 8, 2}, {2, 8, 4, 6}});
    const auto tie = compute();
    ASSERT_EQ(tie->maxRows(), 4);
    EXPECT_EQ(marksOf(*tie, 2), (QList<int>{3, 4}));
    EXPECT_EQ(marksOf(*tie, 8), (QList<int>{3, 4}));
}

TEST_F(AppearanceFrequency, IncompleteDrawAddsNoMarkAndDoesNotChangeTheHeight)
{
    history = fixture::history({{1, 4, 4, 4}, {2, 6, 6, -1}, {3, 1, 2, 3}});
    const auto g = compute();
    EXPECT_EQ(g->maxRows(), 5);
    EXPECT_TRUE(marksOf(*g, 6).isEmpty());
    EXPECT_EQ(marksOf(*g, 4), (QList<int>{3, 4, 5}));
}

TEST_F(AppearanceFrequency, ColoursBordersAndFrozenPanesAsLaidOut)
{
    history = fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}});
    const auto g = compute();
    ASSERT_EQ(g->maxRows(), 4);
    // The title band: pale yellow, outlined in light blue, red title spilling to the right.
    EXPECT_EQ(g->backColor(3, 1), colors::kPaleYellow);
    EXPECT_EQ(g->foreColor(5, 1), colors::kRed);
    EXPECT_EQ(g->hAlign(5, 1), HAlign::Left);
    EXPECT_TRUE(g->allowCellOverflow());
    EXPECT_EQ(g->border(2, 1, BorderSide::Top).style, BorderStyle::Solid);
    EXPECT_EQ(g->border(2, 1, BorderSide::Top).color, colors::kLineBlue);
    EXPECT_EQ(g->border(11, 1, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g->border(5, 1, BorderSide::Right).style, BorderStyle::None) << "no inner lines in the band";
    // The label column, row 1 included (its colours come after the band's).
    EXPECT_EQ(g->backColor(1, 1), colors::kLabelCyan);
    EXPECT_EQ(g->foreColor(1, 4), colors::kBlue);
    EXPECT_EQ(g->border(1, 1, BorderSide::Right).color, colors::kLineBlue);
    // Digit captions and marks.
    EXPECT_EQ(g->backColor(7, 2), colors::kPaleYellow);
    EXPECT_EQ(g->foreColor(7, 2), colors::kRed);
    EXPECT_EQ(g->foreColor(7, 3), colors::kMark);
    EXPECT_EQ(g->backColor(7, 3), colors::kWhite);
    for (BorderSide side : {BorderSide::Left, BorderSide::Right, BorderSide::Top, BorderSide::Bottom})
        EXPECT_EQ(g->border(6, 4, side).color, colors::kLineBlue);
    EXPECT_EQ(g->hAlign(6, 4), HAlign::Center);
    // Sizes and panes.
    EXPECT_EQ(g->frozenRows(), 2);
    EXPECT_EQ(g->frozenCols(), 1);
    EXPECT_EQ(g->rowHeight(1), 15);
    EXPECT_EQ(g->rowHeight(2), 15);
    EXPECT_EQ(g->rowHeight(3), 10);
    EXPECT_EQ(g->colWidth(1), 5);
    EXPECT_EQ(g->colWidth(2), 3);
    EXPECT_EQ(g->visibleRows(), 4);
    EXPECT_FALSE(g->colHeadersShown());
    EXPECT_FALSE(g->rowHeadersShown());
}

TEST_F(AppearanceFrequency, RealHistoryColumnsHoldEachDigitsTotal)
{
    history = fixture::realHistory();
    const auto g = compute();
    // Totals for draws 1–7089: 9 is the most frequent (2227), 5 the least (2016).
    ASSERT_EQ(g->maxRows(), 2227 + 2);
    EXPECT_EQ(g->text(1, 2229), QStringLiteral("2227"));
    EXPECT_EQ(marksOf(*g, 9).size(), 2227);
    EXPECT_EQ(g->text(11, 2229), kMarkText);
    EXPECT_EQ(marksOf(*g, 5).size(), 2016);
    EXPECT_EQ(g->text(7, 2018), kMarkText);
    EXPECT_FALSE(g->hasText(7, 2019));
}

} // namespace
