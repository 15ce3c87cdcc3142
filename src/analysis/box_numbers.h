#pragma once
// ボックス番号分析: the draws by type (シングル: three different digits, ダブル: exactly two equal,
// トリプル: all three equal) and by box number (the three digits in any order, written in
// ascending order: "012" … "999"), each with how often it came against chance, when it last came
// and how long it has been away.

#include "analysis/analysis_window.h"

class ボックス番号分析 : public MultiGridAnalysis {
public:
    static constexpr int kGrids = 2;
    static constexpr int kTypes = 3;
    static constexpr int kBoxNumbers = 220;

    void mainStep(const QList<Grid*>& grids, const History& history) override;
};
