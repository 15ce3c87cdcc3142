#pragma once
// 分割5傾向分析: every complete draw with its three digits coloured by the five classes of two
// neighbouring digits (0–1, 2–3, 4–5, 6–7, 8–9), and how many of them fall into each class.
// The heading row stands at the head and again at the foot, below the row of the last draw number.

#include "analysis/analysis_window.h"

class 分割5傾向分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid);
    void headings(Grid& grid, int row);
    // Only complete draws take a row, so the rows follow one another without gaps.
    void fill(Grid& grid, const History& history);

    int m_footRow = 2;
};
