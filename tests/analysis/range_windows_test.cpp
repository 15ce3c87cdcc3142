// Every window over a range shows what it shows for a history made by hand of the range's
// records renumbered from 1, except the draw numbers it writes, which are the real ones.

#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/catalogue_support.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>
#include <QSet>

namespace {

// Draws 1–14; draw 8 was never entered and draw 10 is incomplete. Digits chosen so that every
// window has something to mark (pairs, triples, neighbours, carry-overs, sums).
QVector<fixture::Draw> rows()
{
    return {{1, 1, 2, 3}, {2, 4, 4, 6},   {3, 7, 8, 9},  {4, 0, 1, 2},  {5, 3, 4, 5},  {6, 6, 7, 8}, {7, 9, 9, 9},
            {9, 1, 2, 2}, {10, 5, -1, 3}, {11, 5, 6, 5}, {12, 2, 1, 0}, {13, 8, 8, 3}, {14, 4, 5, 4}};
}

History rowsHistory(const QVector<fixture::Draw>& draws)
{
    QVector<DrawRecord> records;
    for (const fixture::Draw& d : draws)
        records << fixture::record(d);
    return History::fromRows(std::move(records));
}

// The rows with a ≤ 回数 ≤ b, each draw number less a − 1: the history as if it began at a.
History byHand(int a, int b)
{
    QVector<fixture::Draw> kept;
    for (fixture::Draw row : rows()) {
        if (row.drawNo < a || row.drawNo > b)
            continue;
        row.drawNo -= a - 1;
        kept << row;
    }
    return rowsHistory(kept);
}

// The columns that hold draw numbers, in the grids (by index) with a row per draw.
QSet<int> drawNoColumns(const QString& form, qsizetype grid)
{
    if (form == QStringLiteral("ボックス番号分析"))
        return {};
    if (form == QStringLiteral("裏数字・風車盤分析"))
        return grid == 1 ? QSet<int>{1} : QSet<int>{};
    if (form == QStringLiteral("バラツキ分析"))
        return {1, 12};
    if (form == QStringLiteral("連番飛び石分析"))
        return {1, 5};
    if (form.startsWith(QStringLiteral("分割")) && form.endsWith(QStringLiteral("データ分析")))
        return {1, 32};
    if (form == QStringLiteral("出現頻度分析") || form == QStringLiteral("回数別出現分析")
        || form == QStringLiteral("一発ズバリン") || form == QStringLiteral("ミニ分析")
        || form == QStringLiteral("桁別出現分析") || form == QStringLiteral("ペア数字分析"))
        return {};
    // Its rows are weekdays and weeks, not draws.
    if (form == QStringLiteral("曜日別分析"))
        return {};
    // It lists the draws with prizes, and these have none (its own test covers a range).
    if (form == QStringLiteral("配当分析"))
        return {};
    return {1};
}

// The columns of a table of numbers (a grid, by index) that hold the draw an item last came in
// (最終出現).
QSet<int> lastComingColumns(const QString& form, qsizetype grid)
{
    if (form == QStringLiteral("ミニ分析"))
        return {5};
    if (form == QStringLiteral("ボックス番号分析"))
        return grid == 0 ? QSet<int>{5} : QSet<int>{6};
    return {};
}

// The grids of a window over a range equal those over the hand-made history, cell by cell
// (texts, colours, formats), but for the draw numbers, which are offset back to the real ones.
void expectSameButTheDrawNumbers(const catalogue::WindowRecord& record, qsizetype g, const Grid& ranged,
                                 const Grid& hand, int offset)
{
    const std::string form = record.form.toStdString() + " grid " + std::to_string(g);
    ASSERT_EQ(ranged.maxCols(), hand.maxCols()) << form;
    ASSERT_EQ(ranged.maxRows(), hand.maxRows()) << form;
    const QSet<int> drawNoCols = drawNoColumns(record.form, g);
    const QSet<int> lastComingCols = lastComingColumns(record.form, g);
    int drawNumbers = 0;
    for (int row = 0; row <= hand.maxRows(); ++row) {
        const bool drawRow = hand.drawRows().drawAt(row) > 0;
        if (drawRow) {
            EXPECT_EQ(ranged.drawRows().drawAt(row), hand.drawRows().drawAt(row) + offset) << form << " row " << row;
        }
        for (int col = 0; col <= hand.maxCols(); ++col) {
            bool isNumber = false;
            const int number = hand.text(col, row).toInt(&isNumber);
            const bool drawNo
                = (drawRow && drawNoCols.contains(col)) || (row > 1 && isNumber && lastComingCols.contains(col));
            const QString expected = drawNo ? QString::number(number + offset) : hand.text(col, row);
            drawNumbers += drawRow && drawNoCols.contains(col);
            EXPECT_EQ(ranged.text(col, row), expected) << form << " cell " << col << "," << row;
            EXPECT_EQ(colorHex(ranged.backColor(col, row)), colorHex(hand.backColor(col, row))) << form;
            EXPECT_EQ(colorHex(ranged.foreColor(col, row)), colorHex(hand.foreColor(col, row))) << form;
        }
    }
    EXPECT_EQ(drawNumbers > 0, !drawNoCols.isEmpty()) << form << ": the draw-number columns hold draws";
}

TEST(RangeWindows, EachWindowOverARangeIsTheWindowOverTheRangeRenumbered)
{
    const History full = rowsHistory(rows());
    // One range from the middle on; one holding the gap and the incomplete draw.
    for (const auto& [a, b] : {std::pair{4, 14}, std::pair{6, 11}}) {
        const History hand = byHand(a, b);
        for (const catalogue::WindowRecord& record : catalogue::windows()) {
            if (!record.computes() || record.takesRange)
                continue;
            SheetOptions options = cataloguetest::searching();
            options.reflected = record.usesPredictionFlags ? 4 : 0;
            const auto handSheets = catalogue::computeSheets(record, hand, options);
            options.range = RangeChoice::between(a, b);
            const auto rangedSheets = catalogue::computeSheets(record, full, options);
            const QList<const Grid*> ranged = rangedSheets->grids(), byHandGrids = handSheets->grids();
            ASSERT_EQ(ranged.size(), byHandGrids.size());
            for (qsizetype g = 0; g < ranged.size(); ++g)
                expectSameButTheDrawNumbers(record, g, *ranged[g], *byHandGrids[g], a - 1);
        }
    }
}

// 直近N回 starts at the N-th last complete draw, so a new draw moves it along; with exactly N
// complete draws it is every draw, and with fewer, 全期間.
TEST(RangeWindows, TheLastNDrawsFollowANewDraw)
{
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("出現回数分析"));
    ASSERT_TRUE(record);
    const auto json = [&](const History& history, std::optional<RangeChoice> range) {
        SheetOptions options;
        options.range = range;
        return gridsToJson(catalogue::computeSheets(*record, history, options)->grids(), record->form);
    };
    const History full = rowsHistory(rows());
    QVector<fixture::Draw> more = rows();
    more.append({15, 3, 3, 7});
    const History next = rowsHistory(more);
    // Draw 10 is incomplete: the last four complete draws are 11–14, then 12–15.
    EXPECT_EQ(json(full, RangeChoice::lastDraws(4)), json(full, RangeChoice::between(11, 32767)));
    EXPECT_EQ(json(next, RangeChoice::lastDraws(4)), json(next, RangeChoice::between(12, 32767)));
    EXPECT_EQ(json(full, RangeChoice::lastDraws(12)), json(full, RangeChoice::all()));
    EXPECT_EQ(json(full, RangeChoice::lastDraws(13)), json(full, RangeChoice::all()));
    EXPECT_EQ(RangeChoice::lastDraws(12).resolve(full), (DrawRange{1, 32767}));
    EXPECT_EQ(json(full, RangeChoice::between(20, 30)), json(History(), std::nullopt)) << "no record: empty";
}

} // namespace
