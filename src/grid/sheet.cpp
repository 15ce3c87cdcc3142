#include "grid/sheet.h"

#include "grid/colors.h"

void setUpSheet(Grid& grid, const SheetLayout& layout)
{
    grid.setMaxCols(layout.cols);
    grid.setMaxRows(layout.rows);
    grid.setColHeadersShown(false);
    grid.setRowHeadersShown(false);
    grid.setVisibleCols(layout.visibleCols);
    grid.setVisibleRows(layout.visibleRows);
    grid.setAutoSize(true);
    grid.setScrollBars(layout.scrollBars);
    grid.setScrollBarsWhenNeeded(true);
    grid.setScrollBarTrack(true);
    grid.setFrozenRows(layout.frozenRows);
    grid.setFrozenCols(layout.frozenCols);
    grid.setRowHeight(-1, layout.rowHeight);
    grid.setColWidth(-1, layout.colWidth);
    staticCentred(grid, -1, -1, -1, -1);
}

void staticCentred(Grid& grid, int col, int row, int col2, int row2)
{
    grid.setBlock(col, row, col2, row2);
    grid.setHAlign(HAlign::Center);
    grid.setVAlign(VAlign::Center);
}

void colours(Grid& grid, int col, int row, int col2, int row2, GridColor back, GridColor fore)
{
    grid.setBlock(col, row, col2, row2);
    if (back.isValid())
        grid.setBackColor(back);
    if (fore.isValid())
        grid.setForeColor(fore);
}

void borders(Grid& grid, int col, int row, int col2, int row2, BorderSides sides, BorderStyle style, GridColor colour)
{
    grid.setBlock(col, row, col2, row2);
    grid.setCellBorder(sides, style, colour);
}

void joinCells(Grid& grid, int col, int row, int col2, int row2)
{
    if (col2 > col) {
        grid.setBlock(col, row, col2 - 1, row2);
        grid.setCellBorder(BorderSide::Right, BorderStyle::None);
        grid.setBlock(col + 1, row, col2, row2);
        grid.setCellBorder(BorderSide::Left, BorderStyle::None);
    }
    if (row2 > row) {
        grid.setBlock(col, row, col2, row2 - 1);
        grid.setCellBorder(BorderSide::Bottom, BorderStyle::None);
        grid.setBlock(col, row + 1, col2, row2);
        grid.setCellBorder(BorderSide::Top, BorderStyle::None);
    }
}

void headedTable(Grid& grid, int cols, int rows, int visibleRows, const QStringList& headings)
{
    const bool scrolls = visibleRows < rows;
    setUpSheet(grid,
               {.cols = cols,
                .rows = rows,
                .visibleCols = cols,
                .visibleRows = visibleRows,
                .scrollBars = scrolls ? ScrollBars::Vertical : ScrollBars::None,
                .frozenRows = scrolls ? 1 : 0,
                .rowHeight = 10,
                .colWidth = 6});
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, cols, 1, colors::kHeadingBack, {});
    for (int c = 0; c < cols; ++c)
        grid.setText(1 + c, 1, headings.at(c));
}
