#include "analysis/digit_sum.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

#include <array>

namespace {
constexpr int kCols = 5;
constexpr int kSumCol = 5;
constexpr int kFirstDataRow = 2;
} // namespace

void 数字合計分析::layout(Grid& grid, const History& history)
{
    const int rows = history.drawRowCount() + 1;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = 9,
                .visibleRows = 51,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setRowHeight(1, 20);
    grid.setColWidth(1, 7);
    grid.setColWidth(kSumCol, 7);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    // An empty history leaves no data row; a block from row 2 would then fold back onto row 1.
    if (rows >= kFirstDataRow) {
        colours(grid, 1, kFirstDataRow, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
        colours(grid, kSumCol, kFirstDataRow, kSumCol, rows, colors::kResultBack, colors::kResultFore);
    }
}

void 数字合計分析::headings(Grid& grid, int headingRow)
{
    joinCells(grid, 2, headingRow, 4, headingRow);
    borders(grid, 2, headingRow, kSumCol, headingRow, BorderSide::Outline, BorderStyle::Solid);
    colours(grid, 1, headingRow, kCols, headingRow, colors::kHeadingBack, colors::kBlack);

    grid.setAllowCellOverflow(true);
    grid.setBlock(2, headingRow, 2, headingRow);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(2, headingRow, QStringLiteral("　      当 選 数 字"));
    grid.setText(1, headingRow, QStringLiteral("回数"));
    grid.setText(kSumCol, headingRow, QStringLiteral("合計"));
}

void 数字合計分析::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&grid, &history](const DrawRecord& draw, int row) {
        draw_rows::writeDraw(grid, history, draw, 1, row);
        grid.setText(kSumCol, row, QString::number(draw.digit(1) + draw.digit(2) + draw.digit(3)));
    });
}
