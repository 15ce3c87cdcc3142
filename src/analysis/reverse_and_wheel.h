#pragma once
// 裏数字・風車盤分析: the 裏数字 of each digit ((d + 5) mod 10: 0⇔5, 1⇔6, 2⇔7, 3⇔8, 4⇔9) and the
// 移動値, how far each position's digit moved round its 風車盤 (the disc of the draw machine)
// from one draw to the next: how often each 移動値 came, and every draw with its 裏数字, its
// three 移動値 and whether it holds a 裏数字 of the draw before (裏引っ張り).

#include "analysis/analysis_window.h"

class 裏数字風車盤分析 : public MultiGridAnalysis {
public:
    static constexpr int kGrids = 2;

    void mainStep(const QList<Grid*>& grids, const History& history) override;
};
