#include "analysis/analysis_window.h"

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
