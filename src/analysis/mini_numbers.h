#pragma once
// ミニ分析: the hundred ミニ numbers (第2数字 and 第3数字 in order, "00" … "99"), each with how
// often it came against chance (1/100), when it last came and how long it has been away.

#include "analysis/analysis_window.h"

class ミニ分析 : public AnalysisWindow {
public:
    static constexpr int kNumbers = 100;

    void mainStep(Grid& grid, const History& history) override;
};
