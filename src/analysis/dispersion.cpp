#include "analysis/dispersion.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

namespace {
constexpr int kCols = 12;
constexpr int kDigit0Col = 2;
constexpr int kDigit9Col = 11;
constexpr int kRightDrawNoCol = 12;
constexpr int kFirstDataRow = 3;
} // namespace

void バラツキ分析::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    captions(grid, 2);
    captions(grid, history.drawRowCount() + 3);
    fill(grid, history);
}

void バラツキ分析::layout(Grid& grid, const History& history)
{
    const int rows = history.drawRowCount() + 3;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = 52,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 2,
                .rowHeight = 10,
                .colWidth = 2});
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 15);
    grid.setColWidth(1, 5);
    grid.setColWidth(kRightDrawNoCol, 5);

    borders(grid, kDigit0Col, 1, kDigit9Col, 1, BorderSide::Outline, BorderStyle::Solid, colors::kLineBlue);
    borders(grid, 1, 1, 1, 1, BorderSide::Right, BorderStyle::Solid, colors::kLineBlue);
    borders(grid, 1, 2, kCols, rows, kAllSides, BorderStyle::Solid, colors::kLineBlue);

    grid.setAllowCellOverflow(true);
    grid.setBlock(6, 1, 6, 1);
    grid.setForeColor(colors::kBlue);
    grid.setHAlign(HAlign::Center);
    grid.setText(6, 1, QStringLiteral("    当  選  数　字"));

    colours(grid, kDigit0Col, 1, kDigit9Col, 1, colors::kLabelCyan, {});
    colours(grid, 1, -1, 1, -1, colors::kDrawNoBack, colors::kDrawNoFore);
    colours(grid, kRightDrawNoCol, -1, kRightDrawNoCol, -1, colors::kDrawNoBack, colors::kDrawNoFore);
}

void バラツキ分析::captions(Grid& grid, int row)
{
    grid.setText(1, row, QStringLiteral("回"));
    for (int d = 0; d <= 9; ++d)
        grid.setText(d + kDigit0Col, row, draw_rows::digitText(d));
    grid.setText(kRightDrawNoCol, row, QStringLiteral("回"));
    colours(grid, kDigit0Col, row, kDigit9Col, row, colors::kLabelCyan, colors::kBlue);
    staticCentred(grid, kDigit0Col, row, kDigit9Col, row);
}

void バラツキ分析::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&grid, &history](const DrawRecord& draw, int row) {
        const QString drawNo = history.drawNoText(draw.drawNo);
        grid.setText(1, row, drawNo);
        grid.setText(kRightDrawNoCol, row, drawNo);
        // A repeated digit lands on the same cell again: one mark however often it was drawn.
        for (int p = 1; p <= 3; ++p) {
            const int col = draw.digit(p) + kDigit0Col;
            grid.setText(col, row, kMarkText);
            grid.setForeColor(col, row, colors::kMark);
        }
    });
}
