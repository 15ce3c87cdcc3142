#pragma once
// Histories for tests, built in memory: {回数, first, second, third}, with a missing digit
// written as -1.

#include "data/history.h"
#include "data/history_csv.h"

#include <gtest/gtest.h>
#include <initializer_list>

namespace fixture {

struct Draw {
    int drawNo;
    int first = -1, second = -1, third = -1;
};

inline DrawRecord record(const Draw& d)
{
    DrawRecord row;
    row.drawNo = d.drawNo;
    const int digits[3] = {d.first, d.second, d.third};
    for (int p = 0; p < 3; ++p)
        row.digits[p] = digits[p] < 0 ? DrawRecord::kNull : std::int8_t(digits[p]);
    return row;
}

// dates, when given, holds the 抽せん日 of each row as stored.
inline History history(std::initializer_list<Draw> draws, QStringList dates = {})
{
    QVector<DrawRecord> rows;
    for (const Draw& d : draws)
        rows << record(d);
    return History::fromRows(std::move(rows), std::move(dates));
}

// Draws 1 to last, each complete, with digits that vary from draw to draw.
inline History drawsUpTo(int last)
{
    QVector<DrawRecord> rows;
    for (int n = 1; n <= last; ++n)
        rows << record({n, n % 10, (n * 3) % 10, (n * 7) % 10});
    return History::fromRows(std::move(rows));
}

// The real draw history that ships with the program.
inline History realHistory()
{
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_HISTORY_CSV));
    EXPECT_TRUE(csv.ok()) << csv.error.toStdString();
    QVector<DrawRecord> rows;
    for (const HistoryRow& h : csv.rows) {
        DrawRecord row;
        row.drawNo = h.drawNo;
        for (int p = 0; p < 3; ++p)
            row.digits[p] = h.digits[p] ? std::int8_t(*h.digits[p]) : DrawRecord::kNull;
        rows << row;
    }
    return History::fromRows(std::move(rows));
}

// The prizes that ship with the program, by 回数.
inline QHash<int, prize::DrawPrizes> shippedPrizes()
{
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_SOURCE_DIR "/data/numbers3-prizes.csv"));
    EXPECT_TRUE(csv.ok() && csv.prizesOnly) << csv.error.toStdString();
    return csv.prizesByDrawNo();
}

} // namespace fixture
