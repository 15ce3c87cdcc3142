#include "analysis/head_and_foot_table.h"

#include "analysis/draw_rows.h"
#include "grid/colors.h"

void HeadAndFootDigitTable::layout(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = history.drawRowCount() + 4,
                .visibleCols = kCols,
                .visibleRows = 52,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 2,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 12);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, -1, 1, -1, colors::kDrawNoBack, colors::kDrawNoFore);
    for (int p = 1; p <= 3; ++p)
        colours(grid, digitCol(p), kFirstDataRow, digitCol(p), grid.maxRows(), colors::kPaleCyan, {});
}

void HeadAndFootDigitTable::headings(Grid& grid, int baseRow, bool bottom)
{
    // At the foot the captions come first and the title last, mirroring the head.
    const int titleRow = bottom ? baseRow + 1 : baseRow;
    const int captionRow = bottom ? baseRow : baseRow + 1;

    borders(grid, 2, titleRow, kCols, titleRow, kAllSides, BorderStyle::None);
    if (m_headings.outlinedBand)
        borders(grid, 2, titleRow, kCols, titleRow, BorderSide::Outline, BorderStyle::Solid);
    colours(grid, 2, baseRow, kCols, baseRow + 1, colors::kHeadingBack, colors::kBlack);

    grid.setAllowCellOverflow(true);
    block(grid, m_headings.titleCol, titleRow, m_headings.titleCol, titleRow);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(m_headings.titleCol, titleRow, m_headings.title);

    grid.setText(1, captionRow, QStringLiteral("回数"));
    grid.setText(digitCol(1), captionRow, QStringLiteral("第1数字"));
    grid.setText(digitCol(2), captionRow, QStringLiteral("第2数字"));
    grid.setText(digitCol(3), captionRow, QStringLiteral("第3数字"));
    for (int p = 1; p <= 3; ++p)
        grid.setText(resultCol(p), captionRow, m_headings.resultCaption);
}

void HeadAndFootDigitTable::fill(Grid& grid, const History& history)
{
    startFill();
    int row = kFirstDataRow - 1;
    for (const DrawRecord& draw : history.draws()) {
        ++row;
        if (!draw.complete)
            continue;
        const std::array<int, 3> digits{draw.digit(1), draw.digit(2), draw.digit(3)};
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        for (int p = 1; p <= 3; ++p)
            grid.setText(digitCol(p), row, draw_rows::digitText(digits[p - 1]));
        fillResults(grid, row, draw.drawNo, digits);
        grid.setDrawRow(row, history.realDrawNo(draw.drawNo));
    }
}
