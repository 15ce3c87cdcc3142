#pragma once
// The program-wide draw history and the figures derived from it once, at start-up.
// Only the start-up load writes these; every window reads them.

#include "data/record_set.h"

#include <QString>
#include <QStringList>
#include <array>
#include <memory>

// The figures the start-up scan derives from the complete draws of a history.
struct StartupFigures {
    int lastDrawNo = 0;                 // 回数 of the last complete draw; 0 when there is none
    std::array<int, 10> digitCount{};   // appearances of each digit over all three positions
    int countMax = 0;                   // the largest of digitCount
    int countMin = 0;                   // the lowest count the count classes are walked from
    QStringList digitsByCount;          // entry c: the digits with count c, as "3,7"; or ""
    int classCount = 0;                 // 1 + the number of non-empty entries of digitsByCount
    int completeDraws = 0;              // how many draws are complete

    // Walks the record set from its first row to its end, as the start-up load does;
    // the record set is left past its last row.
    static StartupFigures scan(RecordSet& draws);
};

namespace GlobalBas {

inline QString gConnectString;
inline std::unique_ptr<RecordSet> gRsDraws;
inline int gLastDrawNo = 0;
inline std::array<int, 10> gDigitCount{};
inline int gCountMax = 0;
inline int gCountMin = 0;
inline QStringList gDigitsByCount;
inline int gClassCount = 0;
inline int gCompleteDraws = 0;  // the number of complete draws, counted by the same scan

// Opens the database at the given path (creating it from the shipped history when the file
// does not exist), takes the snapshot of all draws and sets every variable above.
// On failure the variables keep their initial values and the reason says what went wrong;
// an existing file is never changed.
bool startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason);

// Makes a snapshot the program-wide history and derives the figures from it, as the start-up
// load does after reading the database (also used by tools and tests that build a history).
void adoptHistory(std::unique_ptr<RecordSet> draws);

// Drops the snapshot at exit.
void releaseDraws();

// Puts every variable back to its initial value (a new run, or a test).
void reset();

} // namespace GlobalBas
