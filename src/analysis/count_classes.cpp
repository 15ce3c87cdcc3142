#include "analysis/count_classes.h"

#include "grid/colors.h"

#include <algorithm>

namespace {
constexpr int kCols = 2;
constexpr int kFirstDataRow = 2;
} // namespace

void 回数別出現分析::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid);
    fill(grid, history);
}

void 回数別出現分析::layout(Grid& grid, const History& history)
{
    const int rows = history.figures().classCount;
    // The heading row stays in view when a window too low for every row scrolls.
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = rows,
                .scrollBars = ScrollBars::Horizontal,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setColWidth(1, 5);
    grid.setColWidth(2, 20);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    // An empty sheet has no data rows; a block ending above its start would turn round.
    if (rows >= kFirstDataRow)
        colours(grid, 1, kFirstDataRow, 1, rows, colors::kPaleYellow, {});
}

void 回数別出現分析::headings(Grid& grid)
{
    grid.setText(1, 1, QStringLiteral("出 現"));
    grid.setBackColor(1, 1, colors::kHeadingBack);
    grid.setText(2, 1, QStringLiteral("数 字"));
    grid.setBackColor(2, 1, colors::kHeadingBack);
    grid.setAllowCellOverflow(true);
    if (grid.maxRows() >= kFirstDataRow) {
        colours(grid, 2, kFirstDataRow, 2, grid.maxRows(), {}, colors::kBlue);
        grid.setHAlign(HAlign::Left);
    }
}

void 回数別出現分析::fill(Grid& grid, const History& history)
{
    const StartupFigures& figures = history.figures();
    const int last = std::min<int>(figures.countMax, figures.digitsByCount.size() - 1);
    int row = 1;
    for (int c = figures.countMin; c <= last; ++c) {
        const QString& digits = figures.digitsByCount.at(c);
        if (digits.isEmpty())
            continue;
        ++row;
        grid.setText(1, row, QString::number(c) + QStringLiteral("回"));
        grid.setText(2, row, digits);
    }
}
