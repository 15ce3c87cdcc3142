#include "analysis/mini_numbers.h"

#include "analysis/item_statistics.h"
#include "grid/colors.h"

#include <array>

namespace {

constexpr int kFigureCols = 8;
constexpr int kCols = 1 + kFigureCols;
constexpr int kFirstDataRow = 2;
constexpr int kRestIndexCol = kCols;
constexpr item_stats::Chance kChance{1, 100};

} // namespace

void ミニ分析::mainStep(Grid& grid, const History& history)
{
    const int rows = kFirstDataRow - 1 + kNumbers;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = 20,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 6});
    grid.setColWidth(1, 5);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kCols, 1, colors::kHeadingBack, {});
    colours(grid, 1, kFirstDataRow, 1, rows, colors::kPaleYellow, colors::kRed);
    grid.setText(1, 1, QStringLiteral("ミニ"));
    const QStringList& headings = item_stats::figureHeadings();
    for (int i = 0; i < kFigureCols; ++i)
        grid.setText(2 + i, 1, headings.at(i));

    std::array<item_stats::Comings, kNumbers> comings;
    int draws = 0;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        ++draws;
        comings[std::size_t(draw.digit(2) * 10 + draw.digit(3))].add(draws, draw.drawNo);
    }
    for (int n = 0; n < kNumbers; ++n) {
        const int row = kFirstDataRow + n;
        grid.setText(1, row, QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')));
        const QStringList figures = item_stats::figures(comings[std::size_t(n)], draws, kChance, history);
        for (int i = 0; i < kFigureCols; ++i)
            grid.setText(2 + i, row, figures.at(i));
        item_stats::markRestIndex(grid, kRestIndexCol, row, item_stats::rest(comings[std::size_t(n)], draws), kChance);
    }
    grid.setSortableRows(kFirstDataRow, rows);
}
