#pragma once
// The full history the window benchmarks run on: 32,767 draws of random digits.

#include "data/history.h"

#include <random>

// Made once; copies share the draws.
inline History fullHistory()
{
    static const History history = [] {
        QVector<DrawRecord> rows;
        rows.reserve(32767);
        std::mt19937 random(11);
        for (int n = 1; n <= 32767; ++n) {
            DrawRecord row;
            row.drawNo = n;
            for (auto& d : row.digits)
                d = std::int8_t(random() % 10);
            rows << row;
        }
        return History::fromRows(std::move(rows));
    }();
    return history;
}
