#pragma once
// Laying a sheet out: the few steps every window's grids are built with, on top of the grid's
// block operations. -1 for a column or row means all of them.

#include "grid/grid.h"

#include <QStringList>

// Every side of every cell of a block.
inline constexpr BorderSides kAllSides = BorderSide::Left | BorderSide::Right | BorderSide::Top | BorderSide::Bottom;

// The layout a sheet starts from.
struct SheetLayout {
    int cols = 0;
    int rows = 0;
    int visibleCols = 0;
    int visibleRows = 0;
    ScrollBars scrollBars = ScrollBars::Vertical;
    int frozenRows = 0;
    int frozenCols = 0;
    double rowHeight = 10; // every row, before the window sets its own
    double colWidth = 5; // every column, before the window sets its own
};

// Sheet size, visible counts with auto-size, built-in headers hidden, scroll bars shown only
// when needed and following the thumb, frozen panes, row heights and column widths, and every
// cell centred both ways.
void setUpSheet(Grid& grid, const SheetLayout& layout);

inline void block(Grid& grid, int col, int row, int col2, int row2)
{
    grid.setBlock(col, row, col2, row2);
}
// Every cell of a range is centred both ways.
void staticCentred(Grid& grid, int col, int row, int col2, int row2);
// An invalid colour leaves that colour as it is.
void colours(Grid& grid, int col, int row, int col2, int row2, GridColor back, GridColor fore);
void borders(Grid& grid, int col, int row, int col2, int row2, BorderSides sides, BorderStyle style,
             GridColor colour = rgb(0, 0, 0));
// A span reads as one cell: the lines between its cells go, its outline stays as it was.
void joinCells(Grid& grid, int col, int row, int col2, int row2);

// A table of rows under one line of headings: every cell boxed, the headings on the heading
// colour in row 1, columns of width 6 and rows of height 10 until the window sets its own;
// visibleRows shown, and when the table has more, a vertical scroll bar with the headings frozen.
void headedTable(Grid& grid, int cols, int rows, int visibleRows, const QStringList& headings);
