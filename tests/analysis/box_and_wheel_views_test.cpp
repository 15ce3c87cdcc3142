// ボックス番号分析 and 裏数字・風車盤分析 on histories worked by hand.

#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/history_builder.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using fixture::history;

std::unique_ptr<WindowSheets> sheetsOf(const QString& form, const History& h, std::optional<RangeChoice> range = {})
{
    const catalogue::WindowRecord* record = catalogue::findWindow(form);
    EXPECT_TRUE(record) << form.toStdString();
    if (!record)
        return nullptr;
    auto sheets = catalogue::computeSheets(*record, h, {.range = range});
    EXPECT_EQ(sheets->grids().size(), 2);
    return sheets;
}

QStringList row(const Grid& grid, int r)
{
    QStringList cells;
    for (int c = 1; c <= grid.maxCols(); ++c)
        cells << grid.text(c, r);
    return cells;
}

// The row of a box number in the table of box numbers.
int boxRow(const Grid& grid, const QString& box)
{
    for (int r = 2; r <= grid.maxRows(); ++r) {
        if (grid.text(1, r) == box)
            return r;
    }
    return 0;
}

const QString kBox = QStringLiteral("ボックス番号分析");
const QString kWheel = QStringLiteral("裏数字・風車盤分析");

// Box 123 comes in draws 1, 2 and 7 (as 123, 312, 213), 055 in draws 5 and 8 (550, 055), 777 in
// draw 6, 456 in the last draw, 000 never; draw 3 is incomplete and draw 4 was never entered, so
// the complete draws are 1, 2, 5, 6, 7, 8, 9: N = 7.
History boxes()
{
    return history({{1, 1, 2, 3},
                    {2, 3, 1, 2},
                    {3, 1, -1, 2},
                    {5, 5, 5, 0},
                    {6, 7, 7, 7},
                    {7, 2, 1, 3},
                    {8, 0, 5, 5},
                    {9, 4, 5, 6}});
}

TEST(BoxNumbers, EachTypeAndEachBoxNumberCountsItsComingsAndItsWait)
{
    const auto sheets = sheetsOf(kBox, boxes());
    ASSERT_TRUE(sheets);
    const Grid& types = *sheets->grids().at(0);
    const Grid& numbers = *sheets->grids().at(1);
    ASSERT_EQ(types.maxRows(), 4);
    EXPECT_EQ(row(types, 1),
              (QStringList{"タイプ", "出現回数", "出現率", "期待値", "最終出現", "休止", "平均間隔", "最大間隔",
                           "休止指数"}));
    // シングル in the 1st, 2nd, 5th and 7th draws (p = 72/100), ダブル in the 3rd and 6th (27/100),
    // トリプル in the 4th (1/100).
    EXPECT_EQ(row(types, 2), (QStringList{"シングル", "4", "57.1%", "5.0", "9", "0", "2.0", "3", "0.00"}));
    EXPECT_EQ(row(types, 3), (QStringList{"ダブル", "2", "28.6%", "1.9", "8", "1", "3.0", "3", "0.27"}));
    EXPECT_EQ(row(types, 4), (QStringList{"トリプル", "1", "14.3%", "0.1", "6", "3", "–", "–", "0.03"}));

    ASSERT_EQ(numbers.maxRows(), 221);
    EXPECT_EQ(row(numbers, 1),
              (QStringList{"ボックス", "タイプ", "出現回数", "出現率", "期待値", "最終出現", "休止", "平均間隔",
                           "最大間隔", "休止指数"}));
    EXPECT_EQ(row(numbers, boxRow(numbers, "123")),
              (QStringList{"123", "シングル", "3", "42.9%", "0.0", "7", "2", "2.0", "3", "0.01"}));
    EXPECT_EQ(row(numbers, boxRow(numbers, "055")),
              (QStringList{"055", "ダブル", "2", "28.6%", "0.0", "8", "1", "3.0", "3", "0.00"}));
    EXPECT_EQ(row(numbers, boxRow(numbers, "456")),
              (QStringList{"456", "シングル", "1", "14.3%", "0.0", "9", "0", "–", "–", "0.00"}));
    EXPECT_EQ(row(numbers, boxRow(numbers, "000")),
              (QStringList{"000", "トリプル", "0", "0.0%", "0.0", "–", "7", "–", "–", "0.01"}));

    // From draw 6 on: 777, 213, 055, 456 (N = 4), the draw numbers as stored.
    const auto ranged = sheetsOf(kBox, boxes(), RangeChoice::between(6, 32767));
    ASSERT_TRUE(ranged);
    const Grid& rangedTypes = *ranged->grids().at(0);
    EXPECT_EQ(row(rangedTypes, 2), (QStringList{"シングル", "2", "50.0%", "2.9", "9", "0", "2.0", "2", "0.00"}));
    EXPECT_EQ(row(rangedTypes, 3), (QStringList{"ダブル", "1", "25.0%", "1.1", "8", "1", "–", "–", "0.27"}));
    EXPECT_EQ(row(rangedTypes, 4), (QStringList{"トリプル", "1", "25.0%", "0.0", "6", "3", "–", "–", "0.03"}));
    const Grid& rangedNumbers = *ranged->grids().at(1);
    EXPECT_EQ(row(rangedNumbers, boxRow(rangedNumbers, "123")),
              (QStringList{"123", "シングル", "1", "25.0%", "0.0", "7", "2", "–", "–", "0.01"}));
}

// The 220 box numbers, each once, in ascending order of their digits: 120 シングル, 90 ダブル and
// 10 トリプル, each with its own chance (6, 3 and 1 in 1,000). Over 3,000 draws of 123 every other
// number has been away long enough for its 休止指数 to stand out, in both tables.
TEST(BoxNumbers, TheTwoHundredAndTwentyBoxNumbersAndTheirTypes)
{
    QVector<DrawRecord> rows;
    for (int n = 1; n <= 3000; ++n)
        rows << fixture::record({n, 1, 2, 3});
    const auto sheets = sheetsOf(kBox, History::fromRows(std::move(rows)));
    ASSERT_TRUE(sheets);
    const Grid& numbers = *sheets->grids().at(1);
    ASSERT_EQ(numbers.maxRows(), 221);
    QMap<QString, int> types;
    const QMap<QString, QString> expected{{"シングル", "18.0"}, {"ダブル", "9.0"}, {"トリプル", "3.0"}};
    for (int r = 2; r <= 221; ++r) {
        const QString box = numbers.text(1, r);
        ASSERT_EQ(box.size(), 3);
        EXPECT_TRUE(box[0] <= box[1] && box[1] <= box[2]) << box.toStdString();
        if (r > 2) {
            EXPECT_LT(numbers.text(1, r - 1), box);
        }
        const int distinct = QSet<QChar>{box[0], box[1], box[2]}.size();
        const QString type = numbers.text(2, r);
        EXPECT_EQ(type, distinct == 3 ? "シングル" : distinct == 2 ? "ダブル" : "トリプル") << box.toStdString();
        EXPECT_EQ(numbers.text(5, r), expected.value(type)) << box.toStdString();
        ++types[type];
    }
    EXPECT_EQ(types, (QMap<QString, int>{{"シングル", 120}, {"ダブル", 90}, {"トリプル", 10}}));

    const int came = boxRow(numbers, "123");
    EXPECT_EQ(numbers.text(10, came), QStringLiteral("0.00"));
    EXPECT_EQ(numbers.text(10, boxRow(numbers, "000")), QStringLiteral("3.00"));
    EXPECT_NE(colorHex(numbers.backColor(10, boxRow(numbers, "000"))), colorHex(numbers.backColor(10, came)));
    const Grid& types3000 = *sheets->grids().at(0);
    EXPECT_EQ(types3000.text(9, 4), QStringLiteral("30.00"));
    EXPECT_NE(colorHex(types3000.backColor(9, 4)), colorHex(types3000.backColor(9, 2)));
}

// 931 → 725 moves the three positions round their 風車盤 by 2, 3 and 4; 725 → 931 by 8, 7 and 6,
// the rest of a full turn; a repeated number by 0. Draw 4 is incomplete and draw 5 was never
// entered; the last draw, 004, holds 4, the 裏数字 of the 9 before it.
History wheel()
{
    return history({{1, 9, 3, 1}, {2, 7, 2, 5}, {3, 9, 3, 1}, {4, 9, -1, 1}, {6, 9, 3, 1}, {7, 0, 0, 4}});
}

TEST(ReverseAndWheel, MovesRoundEachDiscAndTheReverseDigits)
{
    const auto sheets = sheetsOf(kWheel, wheel());
    ASSERT_TRUE(sheets);
    const Grid& draws = *sheets->grids().at(1);
    ASSERT_EQ(draws.maxRows(), 6);
    EXPECT_EQ(row(draws, 1),
              (QStringList{"回数", "当選番号", "裏数字", "第1移動値", "第2移動値", "第3移動値", "裏引っ張り"}));
    EXPECT_EQ(row(draws, 2), (QStringList{"1", "931", "486", "", "", "", ""}));
    EXPECT_EQ(row(draws, 3), (QStringList{"2", "725", "270", "2", "3", "4", ""}));
    EXPECT_EQ(row(draws, 4), (QStringList{"3", "931", "486", "8", "7", "6", ""}));
    EXPECT_EQ(row(draws, 5), (QStringList{"6", "931", "486", "0", "0", "0", ""}));
    EXPECT_EQ(row(draws, 6), (QStringList{"7", "004", "559", "9", "9", "3", "○"}));

    // N = 5: four pairs of draws, 0.4 of them expected for each 移動値.
    const Grid& counts = *sheets->grids().at(0);
    ASSERT_EQ(counts.maxRows(), 5);
    EXPECT_EQ(row(counts, 1), (QStringList{"位置", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "対象回数"}));
    EXPECT_EQ(row(counts, 2), (QStringList{"第1数字", "1", "0", "1", "0", "0", "0", "0", "0", "1", "1", "4"}));
    EXPECT_EQ(row(counts, 3), (QStringList{"第2数字", "1", "0", "0", "1", "0", "0", "0", "1", "0", "1", "4"}));
    EXPECT_EQ(row(counts, 4), (QStringList{"第3数字", "1", "0", "0", "1", "1", "0", "1", "0", "0", "0", "4"}));
    EXPECT_EQ(row(counts, 5),
              (QStringList{"期待値", "0.4", "0.4", "0.4", "0.4", "0.4", "0.4", "0.4", "0.4", "0.4", "0.4", ""}));

    // From draw 3 on the first draw of the range has no draw before it.
    const auto ranged = sheetsOf(kWheel, wheel(), RangeChoice::between(3, 32767));
    ASSERT_TRUE(ranged);
    EXPECT_EQ(row(*ranged->grids().at(1), 2), (QStringList{"3", "931", "486", "", "", "", ""}));
    EXPECT_EQ(row(*ranged->grids().at(0), 2),
              (QStringList{"第1数字", "1", "0", "0", "0", "0", "0", "0", "0", "0", "1", "2"}));
    EXPECT_EQ(ranged->grids().at(0)->text(2, 5), QStringLiteral("0.2"));
}

// With fewer than two draws there is no pair to count: 対象回数 0 and no 期待値.
TEST(ReverseAndWheel, FewerThanTwoDrawsCountNothing)
{
    for (const History& h : {History(), history({{1, 9, 3, 1}})}) {
        const auto sheets = sheetsOf(kWheel, h);
        ASSERT_TRUE(sheets);
        const Grid& counts = *sheets->grids().at(0);
        EXPECT_EQ(row(counts, 2), (QStringList{"第1数字", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(row(counts, 5), (QStringList{"期待値", "–", "–", "–", "–", "–", "–", "–", "–", "–", "–", ""}));
        EXPECT_EQ(sheets->grids().at(1)->maxRows(), 1 + h.completeDraws());
    }
}

} // namespace
