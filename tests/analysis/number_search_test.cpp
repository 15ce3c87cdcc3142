// 当せん番号検索 on a history worked by hand: the three kinds of match and what each won, a
// triple, a two-digit number, a range, and what is no number.

#include "analysis/number_search.h"
#include "catalogue/window_catalogue.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

prize::DrawPrizes paid(int straight, int box, int mini)
{
    prize::DrawPrizes p;
    p.amounts = {straight, box, 0, 0, mini};
    return p;
}

// Draw 4 is incomplete and draw 6 was never entered. The prizes of draws 1, 2, 3 and 5 are known.
History draws()
{
    return fixture::history({{1, 1, 2, 3},
                             {2, 3, 2, 1},
                             {3, 7, 7, 7},
                             {4, 1, -1, 3},
                             {5, 9, 2, 3},
                             {7, 1, 2, 3},
                             {8, 7, 1, 7},
                             {9, 2, 1, 3}},
                            {"2026/10/05", "", "2026/10/07", "", "  令和8年10月9日", "2026-10-12", "x", "2026/10/14"})
        .withPrizes({{1, paid(95400, 15900, 9500)},
                     {2, paid(88000, 14600, 8800)},
                     {3, paid(640000, 0, 64000)},
                     {5, paid(101200, 16800, 10100)}});
}

std::unique_ptr<WindowSheets> searched(const QString& number, std::optional<RangeChoice> range = std::nullopt)
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("当せん番号検索"));
    EXPECT_TRUE(record && record->takesNumber);
    SheetOptions options;
    options.number = number;
    options.range = range;
    return catalogue::computeSheets(*record, draws(), options);
}

TEST(NumberSearch, AThreeDigitNumberMatchesStraightBoxOrMiniOncePerDraw)
{
    const auto sheets = searched(QStringLiteral(" 123　"));
    const Grid& grid = *sheets->grids().first();
    ASSERT_EQ(grid.maxRows(), 7);
    EXPECT_EQ(row(grid, 1), (QStringList{"回数", "抽せん日", "当選番号", "一致", "当せん金"}));
    // Each kind won the draw's prize of that kind; a draw whose prizes are unknown shows none.
    EXPECT_EQ(row(grid, 2), (QStringList{"1", "2026/10/05", "123", "ストレート", "95,400円"}));
    EXPECT_EQ(row(grid, 3), (QStringList{"2", "", "321", "ボックス", "14,600円"}));
    EXPECT_EQ(row(grid, 4), (QStringList{"5", "  令和8年10月9日", "923", "ミニ", "10,100円"})) << "the date as stored";
    EXPECT_EQ(row(grid, 5), (QStringList{"7", "2026-10-12", "123", "ストレート", ""}));
    EXPECT_EQ(row(grid, 6), (QStringList{"9", "2026/10/14", "213", "ボックス", ""}));
    EXPECT_EQ(row(grid, 7), (QStringList{"合計", "", "", "ストレート 2回・ボックス 2回・ミニ 1回", ""}));
    EXPECT_EQ(grid.drawRows().rowOf(9), 6);
    EXPECT_EQ(grid.drawRows().rowOf(4), 0) << "an incomplete draw matches nothing";

    // Over draws 5–8: the draw numbers as stored.
    const auto ranged = searched(QStringLiteral("123"), RangeChoice::between(5, 8));
    const Grid& part = *ranged->grids().first();
    ASSERT_EQ(part.maxRows(), 4);
    EXPECT_EQ(row(part, 2), (QStringList{"5", "  令和8年10月9日", "923", "ミニ", "10,100円"}));
    EXPECT_EQ(row(part, 3).first(), QStringLiteral("7"));
    EXPECT_EQ(part.text(4, 4), QStringLiteral("ストレート 1回・ボックス 0回・ミニ 1回"));
}

TEST(NumberSearch, ATripleHasNoBoxAndTwoDigitsLookUpTheMiniOnly)
{
    // 777: draw 3 is the straight; 717 holds its digits but is no box of a triple; its mini 77
    // comes in no other draw.
    const auto triple = searched(QStringLiteral("777"));
    const Grid& t = *triple->grids().first();
    ASSERT_EQ(t.maxRows(), 3);
    EXPECT_EQ(row(t, 2), (QStringList{"3", "2026/10/07", "777", "ストレート", "640,000円"}));
    EXPECT_EQ(t.text(4, 3), QStringLiteral("ストレート 1回・ボックス 0回・ミニ 0回"));

    // 717 as a ticket: the straight, and 771 / 177 would be its boxes; 777 is not.
    const auto box = searched(QStringLiteral("771"));
    const Grid& b = *box->grids().first();
    ASSERT_EQ(b.maxRows(), 3);
    EXPECT_EQ(row(b, 2), (QStringList{"8", "x", "717", "ボックス", ""}));

    const auto mini = searched(QStringLiteral("23"));
    const Grid& m = *mini->grids().first();
    ASSERT_EQ(m.maxRows(), 5);
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(m.text(4, r), QStringLiteral("ミニ"));
    EXPECT_EQ(m.text(5, 2), QStringLiteral("9,500円")) << "123 paid its ミニ too";
    EXPECT_EQ(m.text(4, 5), QStringLiteral("ストレート 0回・ボックス 0回・ミニ 3回")) << "321 and 213 are no ミニ 23";
}

TEST(NumberSearch, WhatIsNoNumberLeavesTheHeadingsOnly)
{
    for (const char* typed : {"", "1", "1234", "12a", "１２３", "1 2", "-12"}) {
        SCOPED_TRACE(typed);
        EXPECT_FALSE(number_search::readNumber(QString::fromUtf8(typed)));
        EXPECT_EQ(searched(QString::fromUtf8(typed))->grids().first()->maxRows(), 1);
    }
    EXPECT_EQ(number_search::readNumber(u"\t07 "), QStringLiteral("07"));
    // A number that never came still has its total.
    const auto none = searched(QStringLiteral("456"));
    EXPECT_EQ(row(*none->grids().first(), 2),
              (QStringList{"合計", "", "", "ストレート 0回・ボックス 0回・ミニ 0回", ""}));
}

} // namespace
