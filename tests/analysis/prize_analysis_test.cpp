// 配当分析 on a history with prizes worked by hand.

#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
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

prize::DrawPrizes paid(int straight, int box, int setStraight, int setBox, int mini,
                       std::optional<int> straightCount = std::nullopt)
{
    prize::DrawPrizes p;
    p.amounts = {straight, box, setStraight, setBox, mini};
    p.counts[prize::Straight] = straightCount;
    return p;
}

// The draws with prizes are 1, 2, 3, 6, 7, 8, 9 and 10: three シングル, four ダブル and the
// トリプル 777; no draw holds a 0. Draw 4 is incomplete and draw 5 has no prizes, so neither
// counts, however much draw 4 paid.
History paidDraws()
{
    return fixture::history({{1, 1, 2, 3},
                             {2, 4, 4, 5},
                             {3, 7, 7, 7},
                             {4, 1, -1, 3},
                             {5, 2, 3, 4},
                             {6, 5, 6, 1},
                             {7, 1, 5, 6},
                             {8, 4, 5, 4},
                             {9, 8, 8, 1},
                             {10, 2, 9, 9}},
                            {"2026/10/05", "", "  2026/10/07", "", "", "", "", "", "", "2026/10/16"})
        .withPrizes({{1, paid(90000, 15000, 52500, 7500, 9000, 100)},
                     {2, paid(60000, 20000, 40000, 10000, 6000)},
                     {3, paid(300000, 0, 0, 0, 30000, 5)},
                     {4, paid(9999900, 1, 1, 1, 1)},
                     {6, paid(45000, 7500, 26200, 3700, 4500)},
                     {7, paid(45200, 7500, 26300, 3700, 4500)},
                     {8, paid(60000, 20000, 40000, 10000, 6000)},
                     {9, paid(120000, 40000, 80000, 20000, 12000)},
                     {10, paid(119900, 39900, 79900, 19900, 11900)}});
}

std::unique_ptr<WindowSheets> prizeSheets(const History& history, std::optional<RangeChoice> range = {})
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("配当分析"));
    EXPECT_TRUE(record);
    EXPECT_EQ(record->titles, (QStringList{"●タイプ別", "●数字別", "●当せん金一覧"}));
    auto sheets = catalogue::computeSheets(*record, history, {.range = range});
    EXPECT_EQ(sheets->grids().size(), 3);
    return sheets;
}

TEST(PrizeAnalysis, EachTypeHasItsMeanItsLowestAndHighestAndItsIndex)
{
    const auto sheets = prizeSheets(paidDraws());
    const Grid& types = *sheets->grids().at(0);
    ASSERT_EQ(types.maxRows(), 5);
    EXPECT_EQ(row(types, 1), (QStringList{"タイプ", "回数", "ストレート平均", "最低", "最高", "配当指数"}));
    // 180,200 ÷ 3 = 60,066.67; ÷ 270,000 = 0.667.
    EXPECT_EQ(row(types, 2),
              (QStringList{"シングル", "3", "60,067円", "45,000円（第6回）", "90,000円（第1回）", "0.67"}));
    // Draws 2 and 8 both paid the lowest: the earlier is named. 359,900 ÷ 360,000 = 0.9997.
    EXPECT_EQ(row(types, 3),
              (QStringList{"ダブル", "4", "89,975円", "60,000円（第2回）", "120,000円（第9回）", "1.00"}));
    EXPECT_EQ(row(types, 4),
              (QStringList{"トリプル", "1", "300,000円", "300,000円（第3回）", "300,000円（第3回）", "3.33"}));
    // 840,100 ÷ 8 = 105,012.5 exactly: printf gives the even yen.
    EXPECT_EQ(row(types, 5),
              (QStringList{"全体", "8", "105,012円", "45,000円（第6回）", "300,000円（第3回）", "1.17"}));

    // From draw 6 on no トリプル came; the draws are named by their real numbers.
    const auto ranged = prizeSheets(paidDraws(), RangeChoice::between(6, 32767));
    const Grid& part = *ranged->grids().at(0);
    EXPECT_EQ(row(part, 2),
              (QStringList{"シングル", "2", "45,100円", "45,000円（第6回）", "45,200円（第7回）", "0.50"}));
    EXPECT_EQ(row(part, 3),
              (QStringList{"ダブル", "3", "99,967円", "60,000円（第8回）", "120,000円（第9回）", "1.11"}));
    EXPECT_EQ(row(part, 4), (QStringList{"トリプル", "0", "–", "–", "–", "–"}));
    EXPECT_EQ(row(part, 5), (QStringList{"全体", "5", "78,020円", "45,000円（第6回）", "120,000円（第9回）", "0.87"}));
}

TEST(PrizeAnalysis, EachDigitSetsTheDrawsHoldingItAgainstTheOthers)
{
    const auto sheets = prizeSheets(paidDraws());
    const Grid& digits = *sheets->grids().at(1);
    ASSERT_EQ(digits.maxRows(), 11);
    EXPECT_EQ(row(digits, 1), (QStringList{"数字", "含む回数", "含む配当指数", "含まない配当指数"}));
    EXPECT_EQ(row(digits, 2), (QStringList{"0", "0", "–", "1.17"}));
    // 1 is in draws 1, 6, 7, 9; the other four sum to 539,900, an index of 1.4997 printed 1.50.
    EXPECT_EQ(row(digits, 3), (QStringList{"1", "4", "0.83", "1.50"}));
    // 445 and 454 hold the 4 twice and count once each.
    EXPECT_EQ(row(digits, 6), (QStringList{"4", "2", "0.67", "1.33"}));
    EXPECT_EQ(row(digits, 8), (QStringList{"6", "2", "0.50", "1.39"}));
    EXPECT_EQ(row(digits, 9), (QStringList{"7", "1", "3.33", "0.86"}));
    EXPECT_EQ(row(digits, 11), (QStringList{"9", "1", "1.33", "1.14"}));

    // An index stands out as it is printed: 1.50 and more one way, 0.50 and less the other.
    const QString plain = colorHex(digits.backColor(3, 6)); // 0.67
    const QString high = colorHex(digits.backColor(4, 3)); // 1.50
    const QString low = colorHex(digits.backColor(3, 8)); // 0.50
    EXPECT_NE(high, plain);
    EXPECT_NE(low, plain);
    EXPECT_NE(high, low);
    EXPECT_EQ(colorHex(digits.backColor(3, 9)), high); // 3.33
    EXPECT_EQ(colorHex(digits.backColor(4, 6)), plain); // 1.33
}

TEST(PrizeAnalysis, TheListHasEveryDrawWithPrizesInDrawOrder)
{
    const auto sheets = prizeSheets(paidDraws());
    const Grid& list = *sheets->grids().at(2);
    ASSERT_EQ(list.maxRows(), 9);
    EXPECT_EQ(row(list, 1),
              (QStringList{"回数", "抽せん日", "当選番号", "タイプ", "ストレート", "ボックス", "セットストレート",
                           "セットボックス", "ミニ", "ストレート口数", "配当指数"}));
    EXPECT_EQ(row(list, 2),
              (QStringList{"1", "2026/10/05", "123", "シングル", "90,000円", "15,000円", "52,500円", "7,500円",
                           "9,000円", "100", "1.00"}));
    EXPECT_EQ(
        row(list, 3),
        (QStringList{"2", "", "445", "ダブル", "60,000円", "20,000円", "40,000円", "10,000円", "6,000円", "", "0.67"}))
        << "the count unknown";
    EXPECT_EQ(
        row(list, 4),
        (QStringList{"3", "  2026/10/07", "777", "トリプル", "300,000円", "–", "–", "–", "30,000円", "5", "3.33"}))
        << "a triple has no box or set";
    EXPECT_EQ(list.text(1, 5), QStringLiteral("6")) << "draws 4 and 5 are left out";
    EXPECT_EQ(row(list, 9).mid(0, 5), (QStringList{"10", "2026/10/16", "299", "ダブル", "119,900円"}));
    EXPECT_EQ(list.drawRows().rowOf(10), 9);
    EXPECT_EQ(list.drawRows().rowOf(5), 0);

    // Over a range the rows keep the real draw numbers, and the draws know their own rows.
    const auto ranged = prizeSheets(paidDraws(), RangeChoice::between(6, 9));
    const Grid& part = *ranged->grids().at(2);
    ASSERT_EQ(part.maxRows(), 5);
    EXPECT_EQ(row(part, 2).mid(0, 5), (QStringList{"6", "", "561", "シングル", "45,000円"}));
    EXPECT_EQ(part.drawRows().rowOf(9), 5);
}

TEST(PrizeAnalysis, WithoutPrizesEveryFigureIsADash)
{
    const auto sheets = prizeSheets(fixture::history({{1, 1, 2, 3}, {2, 4, 5, 6}}));
    EXPECT_EQ(row(*sheets->grids().at(0), 5), (QStringList{"全体", "0", "–", "–", "–", "–"}));
    EXPECT_EQ(row(*sheets->grids().at(1), 2), (QStringList{"0", "0", "–", "–"}));
    EXPECT_EQ(sheets->grids().at(2)->maxRows(), 1);
}

} // namespace
