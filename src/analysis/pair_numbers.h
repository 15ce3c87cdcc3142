#pragma once
// ペア数字分析: how often each pair of digits came at two of the three positions (第1・第2数字,
// 第1・第3数字, 第2・第3数字), three 10 × 10 tables side by side, each count shaded by how far it
// lies from chance (1/100 a draw).

#include "analysis/analysis_window.h"

class ペア数字分析 : public AnalysisWindow {
public:
    // The first column of each table; the column before the second and third stays empty.
    static constexpr int kTableCols[3] = {2, 13, 24};

    void mainStep(Grid& grid, const History& history) override;
};
