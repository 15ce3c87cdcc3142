#include "analysis/pair_numbers.h"

#include "analysis/item_statistics.h"
#include "grid/colors.h"

#include <array>

namespace {

constexpr int kDigits = 10;
constexpr int kTables = 3;
constexpr int kCols = 33;
constexpr int kDigitRow = 2;
constexpr int kFirstCountRow = 3;
constexpr int kLastCountRow = kFirstCountRow + kDigits - 1;
constexpr int kExpectedRow = kLastCountRow + 1;

struct Table {
    int first, second; // the positions paired, 1–3
    const char16_t* title;
};
constexpr std::array<Table, kTables> kTablesShown{{
    {1, 2, u"第1・第2数字"},
    {1, 3, u"第1・第3数字"},
    {2, 3, u"第2・第3数字"},
}};

// A count far above chance is warm, far below it cool; one and two standard deviations of the
// count (sqrt(N · p · (1 − p)), p = 1/100) mark the steps.
constexpr GridColor kAbove = rgb(255, 220, 200);
constexpr GridColor kFarAbove = rgb(255, 160, 130);
constexpr GridColor kBelow = rgb(210, 230, 255);
constexpr GridColor kFarBelow = rgb(150, 190, 255);

// How many standard deviations (0, 1 or 2, signed) the count lies from N / 100 at least,
// exactly: with d = 100 · count − N, the deviation is d / sqrt(99 N), so |z| ≥ t is d² ≥ t² · 99 N.
int deviationSteps(int count, int draws)
{
    if (draws == 0)
        return 0;
    const qint64 d = qint64(count) * 100 - draws;
    const qint64 variance = qint64(draws) * 99;
    const int sign = d > 0 ? 1 : -1;
    if (d * d >= 4 * variance)
        return 2 * sign;
    if (d * d >= variance)
        return sign;
    return 0;
}

void shade(Grid& grid, int col, int row, int count, int draws)
{
    switch (deviationSteps(count, draws)) {
    case 2:
        grid.setBackColor(col, row, kFarAbove);
        break;
    case 1:
        grid.setBackColor(col, row, kAbove);
        break;
    case -1:
        grid.setBackColor(col, row, kBelow);
        break;
    case -2:
        grid.setBackColor(col, row, kFarBelow);
        break;
    default:
        break;
    }
}

} // namespace

void ペア数字分析::mainStep(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = kExpectedRow,
                .visibleCols = kCols,
                .visibleRows = kExpectedRow,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = kDigitRow,
                .rowHeight = 10,
                .colWidth = 3.5});
    grid.setColWidth(1, 5);
    grid.setAllowCellOverflow(true);
    grid.setText(1, kExpectedRow, QStringLiteral("期待値"));
    colours(grid, 1, kExpectedRow, 1, kExpectedRow, colors::kPaleGreen, {});
    for (int r = kFirstCountRow; r <= kLastCountRow; ++r)
        grid.setText(1, r, QString::number(r - kFirstCountRow));
    borders(grid, 1, 1, 1, kExpectedRow, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, 1, kDigitRow, colors::kHeadingBack, {});
    colours(grid, 1, kFirstCountRow, 1, kLastCountRow, colors::kPaleYellow, colors::kRed);

    std::array<std::array<int, kDigits * kDigits>, kTables> counts{};
    int draws = 0;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        ++draws;
        for (std::size_t t = 0; t < kTables; ++t) {
            const Table& table = kTablesShown[t];
            ++counts[t][std::size_t(draw.digit(table.first) * kDigits + draw.digit(table.second))];
        }
    }

    for (std::size_t t = 0; t < kTables; ++t) {
        const int col = kTableCols[t];
        const int last = col + kDigits - 1;
        borders(grid, col, 1, last, kExpectedRow, kAllSides, BorderStyle::Solid);
        colours(grid, col, 1, last, kDigitRow, colors::kHeadingBack, {});
        colours(grid, col, kExpectedRow, last, kExpectedRow, colors::kPaleGreen, {});
        // The title stands at the left of the band over its table.
        joinCells(grid, col, 1, last, 1);
        grid.setBlock(col, 1, col, 1);
        grid.setHAlign(HAlign::Left);
        grid.setText(col, 1, QString::fromUtf16(kTablesShown[t].title));
        joinCells(grid, col, kExpectedRow, last, kExpectedRow);
        grid.setBlock(col, kExpectedRow, col, kExpectedRow);
        grid.setHAlign(HAlign::Left);
        grid.setText(col, kExpectedRow, item_stats::oneDecimal(draws, 100));
        for (int second = 0; second < kDigits; ++second) {
            grid.setText(col + second, kDigitRow, QString::number(second));
            for (int first = 0; first < kDigits; ++first) {
                const int count = counts[t][std::size_t(first * kDigits + second)];
                const int row = kFirstCountRow + first;
                grid.setText(col + second, row, QString::number(count));
                shade(grid, col + second, row, count, draws);
            }
        }
    }
    // The columns between the tables only keep them apart.
    for (const int gap : {kTableCols[1] - 1, kTableCols[2] - 1})
        grid.setColWidth(gap, 1);
}
