#pragma once
// 数字合計分析: every complete draw in draw order with the sum of its three digits.

#include "analysis/analysis_window.h"

class 数字合計分析 : public OneHeadingRowAnalysis {
protected:
    void layout(Grid& grid, const History& history) override;
    void headings(Grid& grid, int headingRow) override;
    void fill(Grid& grid, const History& history) override;
};
