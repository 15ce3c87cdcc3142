#pragma once
// What every analysis window computes: its whole grid, from the draw history it is given and the
// start-up figures of that history. The shapes below are the main steps several windows share;
// the sheets are laid out with the steps of grid/sheet.h.

#include "data/history.h"
#include "grid/grid.h"
#include "grid/sheet.h"

class AnalysisWindow {
public:
    virtual ~AnalysisWindow() = default;
    // Lays the grid out, writes the headings and fills it from the history.
    virtual void mainStep(Grid& grid, const History& history) = 0;
};

// A window of several tables computed together (its sheets are a GridListSheets of kGrids
// grids, titled by its catalogue record): lays each out and fills it from the history.
class MultiGridAnalysis {
public:
    virtual ~MultiGridAnalysis() = default;
    virtual void mainStep(const QList<Grid*>& grids, const History& history) = 0;
};

// Headings in row 1, data from row 2.
class OneHeadingRowAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int headingRow) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};

// Two heading rows at the head and the same two, mirrored, below the last draw row.
class HeadAndFootAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int baseRow, bool bottom) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};

// Three heading rows; the headings routine writes from base row 2.
class ThreeHeadingRowsAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int baseRow) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};
