#pragma once
// 曜日別分析: the draws by the weekday of their 抽せん日. The first grid counts, for each weekday
// (and for the draws without a readable date), how often each digit was drawn and which digits
// came most; the second lists the winning numbers week by week, Monday to Sunday.

#include "analysis/analysis_window.h"

class 曜日別分析 : public MultiGridAnalysis {
public:
    static constexpr int kGrids = 2;
    // The grid titles, in order.
    static const QStringList kTitles;

    void mainStep(const QList<Grid*>& grids, const History& history) override;
};
