#pragma once
// The full history the window benchmarks run on: 32,767 draws of random digits.

#include "data/global_bas.h"

#include <random>

inline void adoptFullHistory()
{
    QVector<RecordSet::Row> rows;
    std::mt19937 random(11);
    for (int n = 1; n <= 32767; ++n) {
        RecordSet::Row row;
        row.drawNo = n;
        for (auto& d : row.digits)
            d = std::int8_t(random() % 10);
        rows << row;
    }
    GlobalBas::adoptHistory(RecordSet::fromRows(std::move(rows)));
}
