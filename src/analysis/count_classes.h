#pragma once
// 回数別出現分析: the ten digits grouped by how often they have been drawn, one row per count
// that occurs, smallest count first. It lays out the start-up figures; it walks no history.

#include "analysis/analysis_window.h"

class 回数別出現分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid, const History& history);
    void headings(Grid& grid);
    void fill(Grid& grid, const History& history);
};
