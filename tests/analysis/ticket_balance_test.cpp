// 収支 on a small ledger worked out by hand.

#include "catalogue/window_catalogue.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

using ticket::Type;

namespace {

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

prize::DrawPrizes paid(int straight, int box, int setStraight, int setBox, int mini)
{
    prize::DrawPrizes p;
    p.amounts = {straight, box, setStraight, setBox, mini};
    return p;
}

ticket::Line line(const QString& number, Type type, int firstDraw, int draws, int units)
{
    ticket::Line l;
    l.number = number;
    l.type = type;
    l.firstDraw = firstDraw;
    l.draws = draws;
    l.units = units;
    return l;
}

// Draws 1 and 2 fall in 2025/12, 3 in 2026/01 and 6 in 2026/02; draw 4's date is no day of the
// calendar; draw 5 is not drawn yet; the history ends at 6. Draws 2 and 4 have no prizes, so
// their wins are paid at the nominal prize.
History draws()
{
    return fixture::history({{1, 1, 2, 3}, {2, 4, 4, 5}, {3, 7, 7, 7}, {4, 3, 2, 1}, {5, 1, -1, 3}, {6, 5, 4, 4}},
                            {"2025/12/26", "2025/12/30", "2026/01/05", "2026/02/30", "2026/01/07", "2026/02/02"})
        .withPrizes({{1, paid(98700, 16400, 57500, 8200, 9800)},
                     {3, paid(310000, 0, 0, 0, 31000)},
                     {6, paid(61000, 20300, 40600, 10100, 6100)}});
}

// 123 straight ×2 on 1–3 (wins 1); 454 box on 2–6 (wins 2 at the nominal double's ¥30,000, and
// 6); 21 mini ×3 on 4–7 (wins 4 at the nominal ¥9,000, runs past the history's end); 777 straight
// on 3 alone, recorded last though it starts before the mini line.
History ledger()
{
    return draws().withTickets({line("123", Type::Straight, 1, 3, 2), line("454", Type::Box, 2, 5, 1),
                                line("21", Type::Mini, 4, 4, 3), line("777", Type::Straight, 3, 1, 1)});
}

std::unique_ptr<WindowSheets> balanceSheets(const History& history, std::optional<RangeChoice> range = {})
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("収支"));
    EXPECT_TRUE(record);
    auto sheets = catalogue::computeSheets(*record, history, {.range = range});
    EXPECT_EQ(sheets->grids().size(), 3);
    return sheets;
}

const QStringList kTotalHeadings{"購入口数", "購入金額", "当せん回数", "当せん金額", "収支", "回収率"};

TEST(TicketBalance, TotalsByYearAndByMonthWithTheUndatedAndTheUndrawnApart)
{
    const auto sheets = balanceSheets(ledger());
    const Grid& years = *sheets->grids().at(0);
    ASSERT_EQ(years.maxRows(), 6);
    EXPECT_EQ(row(years, 1), QStringList{"年"} + kTotalHeadings);
    // Draws 1 and 2: 2 + 2 + 1 口; 197,400 and 30,000 paid.
    EXPECT_EQ(row(years, 2), (QStringList{"2025", "5", "1,000円", "2", "227,400円", "226,400円", "22740.0%"}));
    // Draws 3 and 6: 4 口 each; 310,000 and 20,300. 330,300 ÷ 1,600 = 206.4375: an exact half
    // of a tenth per cent printed as printf prints it.
    EXPECT_EQ(row(years, 3), (QStringList{"2026", "8", "1,600円", "2", "330,300円", "328,700円", "20643.8%"}));
    EXPECT_EQ(row(years, 4), (QStringList{"日付なし", "4", "800円", "1", "27,000円", "26,200円", "3375.0%"}));
    // Draw 5 (both lines) and draw 7 (past the end): bought, nothing paid yet.
    EXPECT_EQ(row(years, 5), (QStringList{"未抽せん", "7", "1,400円", "0", "0円", "-1,400円", "0.0%"}));
    EXPECT_EQ(row(years, 6), (QStringList{"合計", "24", "4,800円", "5", "584,700円", "579,900円", "12181.2%"}));

    const Grid& months = *sheets->grids().at(1);
    ASSERT_EQ(months.maxRows(), 7);
    EXPECT_EQ(row(months, 1), QStringList{"年月"} + kTotalHeadings);
    EXPECT_EQ(row(months, 2), (QStringList{"2025/12", "5", "1,000円", "2", "227,400円", "226,400円", "22740.0%"}));
    // Draw 5 of 2026/01 is not drawn: it counts under 未抽せん alone.
    EXPECT_EQ(row(months, 3), (QStringList{"2026/01", "4", "800円", "1", "310,000円", "309,200円", "38750.0%"}));
    EXPECT_EQ(row(months, 4), (QStringList{"2026/02", "4", "800円", "1", "20,300円", "19,500円", "2537.5%"}));
    EXPECT_EQ(row(months, 5), row(years, 4));
    EXPECT_EQ(row(months, 6), row(years, 5));
    EXPECT_EQ(row(months, 7), row(years, 6));
}

TEST(TicketBalance, TheListRunsByDrawThenByLineWithTheRunningBalance)
{
    const auto sheets = balanceSheets(ledger());
    const Grid& list = *sheets->grids().at(2);
    ASSERT_EQ(list.maxRows(), 14);
    EXPECT_EQ(row(list, 1), (QStringList{"回数", "抽せん日", "番号", "申込", "口数", "結果", "当せん金", "累計収支"}));
    const QList<QStringList> expected{
        {"1", "2025/12/26", "123", "ストレート", "2", "ストレート", "197,400円", "197,000円"},
        {"2", "2025/12/30", "123", "ストレート", "2", "はずれ", "0円", "196,600円"},
        {"2", "2025/12/30", "454", "ボックス", "1", "ボックス", "30,000円（理論値）", "226,400円"},
        {"3", "2026/01/05", "123", "ストレート", "2", "はずれ", "0円", "226,000円"},
        {"3", "2026/01/05", "454", "ボックス", "1", "はずれ", "0円", "225,800円"},
        {"3", "2026/01/05", "777", "ストレート", "1", "ストレート", "310,000円", "535,600円"},
        {"4", "2026/02/30", "454", "ボックス", "1", "はずれ", "0円", "535,400円"},
        {"4", "2026/02/30", "21", "ミニ", "3", "ミニ", "27,000円（理論値）", "561,800円"},
        // Not drawn yet: the cost alone.
        {"5", "2026/01/07", "454", "ボックス", "1", "未抽せん", "", "561,600円"},
        {"5", "2026/01/07", "21", "ミニ", "3", "未抽せん", "", "561,000円"},
        {"6", "2026/02/02", "454", "ボックス", "1", "ボックス", "20,300円", "581,100円"},
        {"6", "2026/02/02", "21", "ミニ", "3", "はずれ", "0円", "580,500円"},
        {"7", "", "21", "ミニ", "3", "未抽せん", "", "579,900円"}};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(row(list, 2 + i), expected[i]) << "row " << 2 + i;
    // Each row is marked with its draw, so that Ctrl+G finds a draw's first row.
    EXPECT_EQ(list.drawRows().rowOf(3), 5);
    EXPECT_EQ(list.drawRows().drawAt(14), 7);
    EXPECT_EQ(list.drawRows().lastDrawNo(), 7);
}

TEST(TicketBalance, TheChartFollowsTheDrawnRowsAgainstA45PercentReturn)
{
    const auto sheets = balanceSheets(ledger());
    ASSERT_TRUE(sheets->hasLineChart());
    const SheetLineChart chart = sheets->lineChart();
    EXPECT_EQ(chart.title, "累計収支");
    // One point a drawn draw, after all its rows; draws 5 and 7 are not drawn and cost nothing
    // here, unlike in the list.
    EXPECT_EQ(chart.x, (QVector<double>{1, 2, 3, 4, 6}));
    ASSERT_EQ(chart.series.size(), 2);
    EXPECT_EQ(chart.series[0].name, "累計収支");
    EXPECT_EQ(chart.series[0].y, (QVector<double>{197000, 226400, 535600, 561800, 581300}));
    EXPECT_EQ(chart.series[1].name, "還元率45%の場合");
    // −0.55 × the cost so far: 400, 1,000, 1,800, 2,600, 3,400.
    EXPECT_EQ(chart.series[1].y, (QVector<double>{-220, -550, -990, -1430, -1870}));
}

TEST(TicketBalance, ARangeCountsItsOwnRowsAndItsBalanceStartsAtZero)
{
    const auto sheets = balanceSheets(ledger(), RangeChoice::between(2, 4));
    const Grid& list = *sheets->grids().at(2);
    ASSERT_EQ(list.maxRows(), 8);
    // The first row of the range loses its cost: the balance is below zero, in an ASCII minus.
    EXPECT_EQ(row(list, 2), (QStringList{"2", "2025/12/30", "123", "ストレート", "2", "はずれ", "0円", "-400円"}));
    EXPECT_EQ(list.text(8, 8), "364,800円");
    const Grid& years = *sheets->grids().at(0);
    ASSERT_EQ(years.maxRows(), 5);
    EXPECT_EQ(row(years, 2), (QStringList{"2025", "3", "600円", "1", "30,000円", "29,400円", "5000.0%"}));
    EXPECT_EQ(row(years, 5), (QStringList{"合計", "11", "2,200円", "3", "367,000円", "364,800円", "16681.8%"}));
    EXPECT_EQ(sheets->lineChart().x, (QVector<double>{2, 3, 4}));
    EXPECT_EQ(sheets->lineChart().series[0].y, (QVector<double>{29400, 338600, 364800}));

    // The last two complete draws are 4 and 6: the range runs on past the history's end, to the
    // mini line's draw 7.
    const auto last = balanceSheets(ledger(), RangeChoice::lastDraws(2));
    const Grid& lastList = *last->grids().at(2);
    ASSERT_EQ(lastList.maxRows(), 8);
    EXPECT_EQ(lastList.text(1, 2), "4");
    EXPECT_EQ(lastList.text(1, 8), "7");
    EXPECT_EQ(lastList.text(8, 2), "-200円");
}

TEST(TicketBalance, TheReturnIsRoundedAsPrintfRoundsItsDouble)
{
    // 8 口 for ¥1,600, a mini of ¥6,900 back: 431.25%, an exact half that printf takes to the
    // even tenth.
    const History history = fixture::history({{1, 1, 2, 3}}, {"2026/10/09"})
                                .withPrizes({{1, paid(69000, 11500, 40200, 5700, 6900)}})
                                .withTickets({line("23", Type::Mini, 1, 1, 1), line("999", Type::Straight, 1, 1, 7)});
    const auto sheets = balanceSheets(history);
    EXPECT_EQ(row(*sheets->grids().at(0), 2),
              (QStringList{"2026", "8", "1,600円", "1", "6,900円", "5,300円", "431.2%"}));
}

TEST(TicketBalance, WithoutTicketsEachTableHasItsHeadingAndANothingBoughtTotal)
{
    for (const History& history : {draws(), History()}) {
        const auto sheets = balanceSheets(history);
        for (int g = 0; g < 2; ++g) {
            const Grid& totals = *sheets->grids().at(g);
            ASSERT_EQ(totals.maxRows(), 2);
            EXPECT_EQ(row(totals, 2), (QStringList{"合計", "0", "0円", "0", "0円", "0円", "–"}));
        }
        EXPECT_EQ(sheets->grids().at(2)->maxRows(), 1);
        EXPECT_TRUE(sheets->lineChart().x.isEmpty());
    }
    // A damaged line, 口数 below 0 (the ledger refuses it), buys nothing and wins nothing; its
    // draw is listed all the same.
    const auto damaged = balanceSheets(draws().withTickets({line("123", Type::Straight, 1, 1, -2)}));
    EXPECT_EQ(row(*damaged->grids().at(0), 2), (QStringList{"2025", "0", "0円", "1", "0円", "0円", "–"}));
    EXPECT_EQ(damaged->grids().at(2)->text(8, 2), "0円");
    // Lines whose draws all lie outside the range count for nothing.
    const auto outside = balanceSheets(ledger(), RangeChoice::between(8, 20));
    EXPECT_EQ(row(*outside->grids().at(0), 2), (QStringList{"合計", "0", "0円", "0", "0円", "0円", "–"}));
}

} // namespace
