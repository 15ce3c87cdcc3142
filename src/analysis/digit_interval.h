#pragma once
// 数字間隔分析: for each position, how far the winning digit moved from the digit in the same
// position of the previous complete draw ("+3", "0", "-4"); a fall is shaded.

#include "analysis/head_and_foot_table.h"

class 数字間隔分析 : public HeadAndFootDigitTable {
public:
    数字間隔分析();

private:
    void startFill() override;
    void fillResults(Grid& grid, int row, int drawNo, const std::array<int, 3>& digits) override;

    std::array<int, 3> m_previous{}; // the digits of the last complete draw, 0s before any
};
