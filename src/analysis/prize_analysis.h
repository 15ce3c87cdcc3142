#pragma once
// 配当分析: what the draws paid, over the complete draws whose prizes are known, in draw order.
// The 配当指数 of a draw is its ストレート当せん金 against the nominal ¥90,000 (1.00: the nominal
// prize). Three tables: by type (シングル, ダブル, トリプル and every draw), by digit (the draws
// holding it against the others), and each draw with its five prizes.

#include "analysis/analysis_window.h"

#include <QStringList>

class 配当分析 : public MultiGridAnalysis {
public:
    static constexpr int kGrids = 3;
    // The grid titles, in order.
    static const QStringList kTitles;

    void mainStep(const QList<Grid*>& grids, const History& history) override;
};
