#pragma once
// Program-wide histories for tests, built in memory: {回数, first, second, third}, with a
// missing digit written as -1.

#include "data/global_bas.h"
#include "data/record_set.h"

#include <initializer_list>

namespace fixture {

struct Draw {
    int drawNo;
    int first = -1, second = -1, third = -1;
};

inline std::unique_ptr<RecordSet> recordSet(std::initializer_list<Draw> draws)
{
    QVector<RecordSet::Row> rows;
    for (const Draw& d : draws) {
        RecordSet::Row row;
        row.drawNo = d.drawNo;
        const int digits[3] = {d.first, d.second, d.third};
        for (int p = 0; p < 3; ++p)
            row.digits[p] = digits[p] < 0 ? RecordSet::Row::kNull : std::int8_t(digits[p]);
        rows << row;
    }
    return RecordSet::fromRows(std::move(rows));
}

// Makes the draws the program-wide history, with its start-up figures.
inline void adopt(std::initializer_list<Draw> draws)
{
    GlobalBas::reset();
    GlobalBas::adoptHistory(recordSet(draws));
}

} // namespace fixture
