#pragma once
// 出現間隔分析: beside each winning digit, how many draws earlier that digit value had last been
// drawn, in any position ("3回前"), or "初回" when it never had.

#include "analysis/head_and_foot_table.h"

#include <cstdint>
#include <vector>

class 出現間隔分析 : public HeadAndFootDigitTable {
public:
    出現間隔分析();

private:
    void startFill() override;
    void fillResults(Grid& grid, int row, int drawNo, const std::array<int, 3>& digits) override;
    const QString& intervalText(int interval);

    // Row n holds the digits of the complete draw numbered n; a number without one reads 0, 0, 0.
    // Every draw number up to the largest the history can hold has its row.
    std::vector<std::array<std::int8_t, 3>> m_digitTable;
    std::vector<QString> m_intervalTexts; // "n回前" by n, made the first time n occurs
};
