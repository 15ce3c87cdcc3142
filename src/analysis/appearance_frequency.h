#pragma once
// 出現頻度分析: a bar chart of how often each digit has been drawn, one mark per appearance,
// stacking down from the top of the digit's column.

#include "analysis/analysis_window.h"

#include <array>

class 出現頻度分析 : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) override;

private:
    void layout(Grid& grid);
    void headings(Grid& grid);
    void fill(Grid& grid, const History& history);

    int m_chartHeight = 0; // the most appearances of any digit: the number of mark rows
    int m_firstDataCol = 2; // the column of digit 0
    std::array<int, 11> m_marks{}; // marks placed so far in each digit's column
};
