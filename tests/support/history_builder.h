#pragma once
// Program-wide histories for tests, built in memory: {回数, first, second, third}, with a
// missing digit written as -1.

#include "data/global_bas.h"
#include "data/history_csv.h"
#include "data/record_set.h"

#include <gtest/gtest.h>
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

// Makes the real draw history that ships with the program the program-wide history.
inline void adoptRealHistory()
{
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_HISTORY_CSV));
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    QVector<RecordSet::Row> rows;
    for (const HistoryRow& h : csv.rows) {
        RecordSet::Row row;
        row.drawNo = h.drawNo;
        for (int p = 0; p < 3; ++p)
            row.digits[p] = h.digits[p] ? std::int8_t(*h.digits[p]) : RecordSet::Row::kNull;
        rows << row;
    }
    GlobalBas::reset();
    GlobalBas::adoptHistory(RecordSet::fromRows(std::move(rows)));
}

} // namespace fixture
