#pragma once
// The predictor of the prediction window: the draw table and the cycle table built from the
// history, and from them the elimination, repeat and one-shot picks. Plain code, no grid.

#include <QList>
#include <array>
#include <cstdint>
#include <vector>

class History;
struct DrawRecord;

namespace prediction {

inline constexpr int kMethodCount = 4;
// The cycle methods by index: 7, 9, 11 and 12 draws.
inline constexpr std::array<int, kMethodCount> kCycleGaps = {7, 9, 11, 12};

// One rule of the elimination method: the draw-table row lastDrawNo − back − (analyses set to
// reflect), a digit slot 1–3 of that row and an offset added before wrapping into 0–9.
struct EliminationRule {
    int back;
    int slot;
    int offset;
};
inline constexpr int kRuleCount = 15;
// The rules drawn as reading no slot of their own take the third digit of their row.
inline constexpr std::array<EliminationRule, kRuleCount> kRules = {{
    {0, 1, +1},
    {0, 2, +8},
    {1, 1, 0},
    {1, 3, -7},
    {2, 3, +8},
    {2, 2, -5},
    {3, 1, +3},
    {3, 3, +1},
    {4, 3, +4},
    {4, 1, +7},
    {5, 3, +6},
    {5, 3, -9},
    {6, 1, +4},
    {7, 2, +1},
    {9, 3, +9},
}};

// How many digits the repeat and one-shot picks show at most: 2 rows of 6 places, 1 row of 7.
inline constexpr int kRepeatPlaces = 12;
inline constexpr int kOneShotPlaces = 7;

inline constexpr int kNoDigit = -1;

// The three digits of every complete draw by its draw number, 0 to 32767. A draw number
// without a complete draw reads as the digits 0, 0, 0.
class DrawTable {
public:
    static constexpr int kRows = 32768;

    DrawTable() : m_digits(std::size_t(kRows) * 3, 0) { }
    static bool hasRow(int row) { return row >= 0 && row < kRows; }
    // slot 1–3 of a row inside the table.
    int digit(int row, int slot) const { return m_digits[std::size_t(row) * 3 + std::size_t(slot - 1)]; }
    void store(int row, int first, int second, int third);
    bool rowHolds(int row, int digit) const;

private:
    std::vector<std::int8_t> m_digits;
};

// For each method and position, a single digit or kNoDigit.
using CycleTable = std::array<std::array<int, 3>, kMethodCount>;
inline constexpr CycleTable kEmptyCycle = {{{kNoDigit, kNoDigit, kNoDigit},
                                            {kNoDigit, kNoDigit, kNoDigit},
                                            {kNoDigit, kNoDigit, kNoDigit},
                                            {kNoDigit, kNoDigit, kNoDigit}}};

// The tables built once per opening of the window.
struct PredictionTables {
    DrawTable draws;
    CycleTable cycle = kEmptyCycle;

    // Walks the history from its first draw to its last, adding each draw.
    static PredictionTables build(const History& history);

    // One step of the walk: a complete draw goes into the draw table, and each of its digits
    // that had last appeared, in any position, exactly 7, 9, 11 or 12 draw numbers earlier
    // becomes that method's entry for its position (a missing draw number counts as 0, 0, 0).
    // Later draws overwrite. An incomplete draw changes nothing.
    void add(const DrawRecord& draw);
};

struct Prediction {
    CycleTable cycle = kEmptyCycle;
    // One entry per rule, stored even when it repeats an earlier one; kNoDigit for a rule whose
    // row lies below 0 (a history shorter than the rule reaches back).
    std::array<int, kRuleCount> elimination{};
    QList<int> eliminationShown; // the distinct entries in the order they are shown
    QList<int> repeat;
    QList<int> oneShot;
};

// The picks for the next draw after lastDrawNo, with `reflected` analyses set to "反映する":
// each of them moves every elimination rule one draw further back.
Prediction predict(const PredictionTables& tables, int lastDrawNo, int reflected);

} // namespace prediction
