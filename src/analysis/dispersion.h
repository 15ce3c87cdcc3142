#pragma once
// バラツキ分析: a dot chart of the history, one row per complete draw and one column per digit,
// with a mark in the columns of the digits drawn.

#include "analysis/analysis_window.h"

class バラツキ分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid, const History& history);
    void captions(Grid& grid, int row);
    void fill(Grid& grid, const History& history);
};
