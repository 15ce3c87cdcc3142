#pragma once
// 引っ張り分析: the draws in draw order, each digit highlighted when it also occurred, in any
// position, in the previous complete draw.

#include "analysis/analysis_window.h"

#include <array>

class 引っ張り分析 : public OneHeadingRowAnalysis {
protected:
    void layout(Grid& grid, const History& history) override;
    void headings(Grid& grid, int headingRow) override;
    void fill(Grid& grid, const History& history) override;

private:
    static void mark(Grid& grid, int col, int row);

    std::array<int, 3> m_previous{}; // the digits of the last complete draw written
};
