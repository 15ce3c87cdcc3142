#include "analysis/carry_over.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

namespace {
constexpr int kCols = 4;
constexpr int kFirstDataRow = 2;
} // namespace

void 引っ張り分析::layout(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = history.drawRowCount() + 1,
                .visibleCols = kCols,
                .visibleRows = 51,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .frozenCols = 1,
                .rowHeight = 10,
                .colWidth = 6});
    grid.setRowHeight(1, 15);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, -1, 1, -1, colors::kDrawNoBack, colors::kDrawNoFore);
}

void 引っ張り分析::headings(Grid& grid, int headingRow)
{
    grid.setRowHeight(headingRow, 15);
    borders(grid, 2, headingRow, kCols, headingRow, BorderSide::Left | BorderSide::Right | BorderSide::Top,
            BorderStyle::None);
    borders(grid, 2, headingRow, kCols, headingRow, BorderSide::Bottom, BorderStyle::Solid);
    colours(grid, 1, headingRow, kCols, headingRow, colors::kHeadingBack, colors::kBlack);
    grid.setText(1, headingRow, QStringLiteral("回数"));

    grid.setAllowCellOverflow(true);
    grid.setBlock(3, headingRow, 3, headingRow);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(3, headingRow, QStringLiteral("当 選 数 字"));
}

void 引っ張り分析::fill(Grid& grid, const History& history)
{
    bool first = true;
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&](const DrawRecord& draw, int row) {
        draw_rows::writeDraw(grid, history, draw, 1, row);
        if (!first) {
            for (int previous : m_previous) {
                for (int p = 1; p <= 3; ++p) {
                    if (draw.digit(p) == previous)
                        mark(grid, p + 1, row);
                }
            }
        }
        for (int p = 1; p <= 3; ++p)
            m_previous[p - 1] = draw.digit(p);
        first = false;
    });
}

void 引っ張り分析::mark(Grid& grid, int col, int row)
{
    grid.setBackColor(col, row, colors::kPaleCyan);
}
