#include "analysis/analysis_window.h"



void AnalysisWindow::setUpSheet(Grid& grid, const SheetLayout& layout)
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

void AnalysisWindow::staticCentred(Grid& grid, int col, int row, int col2, int row2)
{
    grid.setBlock(col, row, col2, row2);
    grid.setCellType(CellType::StaticText);
    grid.setHAlign(HAlign::Center);
    grid.setVAlign(VAlign::Center);
}

void AnalysisWindow::colours(Grid& grid, int col, int row, int col2, int row2, GridColor back, GridColor fore)
{
    grid.setBlock(col, row, col2, row2);
    if (back.isValid())
        grid.setBackColor(back);
    if (fore.isValid())
        grid.setForeColor(fore);
}

void AnalysisWindow::borders(Grid& grid, int col, int row, int col2, int row2, BorderSides sides,
                             BorderStyle style, GridColor colour)
{
    grid.setBlock(col, row, col2, row2);
    grid.setCellBorder(sides, style, colour);
}

void OneHeadingRowAnalysis::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid, 1);
    fill(grid, history);
}

void HeadAndFootAnalysis::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid, 1, false);
    headings(grid, 3 + history.drawRowCount(), true);
    fill(grid, history);
}

void ThreeHeadingRowsAnalysis::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid, 2);
    fill(grid, history);
}

std::unique_ptr<Grid> computeAnalysisGrid(const AnalysisWindowInfo& info, const History& history)
{
    auto grid = std::make_unique<Grid>();
    // The windows draw every line they want as a border; spans must read as one band.
    grid->setGridLinesShown(false);
    if (info.create)
        info.create()->mainStep(*grid, history);
    return grid;
}
