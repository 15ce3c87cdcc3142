#include "prediction/predictor.h"

#include "data/history.h"

namespace prediction {

namespace {

int methodOfGap(int gap)
{
    for (int k = 0; k < kMethodCount; ++k) {
        if (kCycleGaps[k] == gap)
            return k;
    }
    return -1;
}

// 1 to 9 stay, above 9 come back from 1, 0 and below come up by 9.
int wrap(int v)
{
    if (v > 9)
        return v - 9;
    if (v <= 0)
        return v + 9;
    return v;
}

// Cycle digits lying within `band` of an elimination digit, each once, in the order met: rules
// first, then methods, then positions up to the method's first empty entry.
QList<int> pick(const CycleTable& cycle, const std::array<int, kRuleCount>& elimination, int band, int places)
{
    QList<int> picked;
    for (const int e : elimination) {
        if (e == kNoDigit)
            continue;
        for (int k = 0; k < kMethodCount; ++k) {
            for (int p = 0; p < 3; ++p) {
                const int c = cycle[k][p];
                if (c == kNoDigit)
                    break;
                if (e >= c - band && e <= c + band && !picked.contains(c)) {
                    picked << c;
                    if (picked.size() == places)
                        return picked;
                }
            }
        }
    }
    return picked;
}

} // namespace

void DrawTable::store(int row, int first, int second, int third)
{
    std::int8_t* cell = &m_digits[std::size_t(row) * 3];
    cell[0] = std::int8_t(first);
    cell[1] = std::int8_t(second);
    cell[2] = std::int8_t(third);
}

bool DrawTable::rowHolds(int row, int digit) const
{
    const std::int8_t* cell = &m_digits[std::size_t(row) * 3];
    return cell[0] == digit || cell[1] == digit || cell[2] == digit;
}

PredictionTables PredictionTables::build(const History& history)
{
    PredictionTables tables;
    for (const DrawRecord& draw : history.draws())
        tables.add(draw);
    return tables;
}

void PredictionTables::add(const DrawRecord& draw)
{
    if (!draw.complete)
        return;
    const int n = draw.drawNo;
    if (n < 1 || !DrawTable::hasRow(n))
        return;
    draws.store(n, draw.digit(1), draw.digit(2), draw.digit(3));
    for (int p = 1; p <= 3; ++p) {
        const int d = draw.digit(p);
        for (int m = n - 1; m >= 1; --m) {
            if (!draws.rowHolds(m, d))
                continue;
            if (const int k = methodOfGap(n - m); k >= 0)
                cycle[k][p - 1] = d;
            break;
        }
    }
}

Prediction predict(const PredictionTables& tables, int lastDrawNo, int reflected)
{
    Prediction result;
    result.cycle = tables.cycle;
    for (int i = 0; i < kRuleCount; ++i) {
        const EliminationRule& rule = kRules[i];
        const int row = lastDrawNo - rule.back - reflected;
        if (!DrawTable::hasRow(row)) {
            result.elimination[i] = kNoDigit;
            continue;
        }
        const int v = wrap(tables.draws.digit(row, rule.slot) + rule.offset);
        result.elimination[i] = v;
        if (!result.eliminationShown.contains(v))
            result.eliminationShown << v;
    }
    result.repeat = pick(result.cycle, result.elimination, 3, kRepeatPlaces);
    result.oneShot = pick(result.cycle, result.elimination, 2, kOneShotPlaces);
    return result;
}

} // namespace prediction
