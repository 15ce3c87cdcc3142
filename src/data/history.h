#pragma once
// The draw history as one value: every draw in draw-number order, as the database held it when
// it was read, and the start-up figures derived from its complete draws. A History never
// changes once made; copies share the draws, so windows keep one each at no cost, and every
// computation takes the history it shows as a `const History&`.

#include "data/draw_range.h"
#include "data/prizes.h"
#include "data/tickets.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QSqlDatabase;

// One draw as the history keeps it. A digit is 0–9, or one of the markers below.
struct DrawRecord {
    static constexpr std::int8_t kNull = -1; // the field was Null
    static constexpr std::int8_t kEmpty = -2; // the field was the empty string
    static constexpr std::int8_t kOther = -3; // anything else; the raw value is kept aside
    std::int32_t drawNo = 0; // 0 when the stored value is not a valid 回数
    std::int8_t digits[3] = {kNull, kNull, kNull};
    bool complete = false; // set by the history, by the one rule of draw.h

    int digit(int position) const { return digits[position - 1]; } // position 1–3
    bool operator==(const DrawRecord& other) const;
};

// The figures the start-up scan derives from the complete draws of a history.
struct StartupFigures {
    int lastDrawNo = 0; // 回数 of the last complete draw; 0 when there is none
    std::array<int, 10> digitCount{}; // appearances of each digit over all three positions
    int countMax = 0; // the largest of digitCount
    int countMin = 0; // the lowest count the count classes are walked from
    QStringList digitsByCount; // entry c: the digits with count c, as "3,7"; or ""
    int classCount = 0; // 1 + the number of non-empty entries of digitsByCount
    int completeDraws = 0; // how many draws are complete

    // Walks the draws from the first to the last, as the start-up load does.
    static StartupFigures of(const QVector<DrawRecord>& draws);
};

class History {
public:
    // No draws at all (every figure at its initial value).
    History();

    // A history made directly from draws, in the order given (tests, tools and benchmarks build
    // one in memory). Whether each draw is complete is decided here.
    // dates, when given, holds the 抽せん日 of each row.
    static History fromRows(QVector<DrawRecord> rows, QStringList dates = {});

    // The most rows a history is read with: every draw number 1–32767 once, and room for the
    // repeats a database made elsewhere may hold. A query that returns more is no history.
    static constexpr qsizetype kMaxRows = 100000;
    // The work the database may spend on the query, in steps of SQLite's virtual machine: 200
    // times what reading the largest history takes (about 230,000), and spent in a second or
    // so by a query that never ends.
    static constexpr qint64 kMaxQuerySteps = 50'000'000;

    // Runs the source text (a select) on the connection and keeps every row it returns.
    // Nothing when the query fails or lacks a field the program reads, returns more than
    // kMaxRows rows or works past kMaxQuerySteps; the reason says why.
    static std::optional<History> read(QSqlDatabase& connection, const QString& source, QString* reason);

    const QVector<DrawRecord>& draws() const;
    int recordCount() const { return int(draws().size()); }
    bool isEmpty() const { return draws().isEmpty(); }

    const StartupFigures& figures() const;
    int lastDrawNo() const { return figures().lastDrawNo; }
    int completeDraws() const { return figures().completeDraws; }
    const std::array<int, 10>& digitCount() const { return figures().digitCount; }

    // The data rows of a window that gives every draw a row of its own: one per draw number up
    // to the last complete draw, or more where the history holds more draws than that (a
    // database made outside the program may repeat a draw number), so that no draw is cut off.
    int drawRowCount() const;

    // What the draw at index paid, when its prizes are known (every amount of the five kinds).
    const prize::DrawPrizes* prizes(qsizetype index) const;
    // Whether any draw's prizes are known.
    bool hasPrizes() const;
    // The same history with the prizes of each draw whose stored 回数 is a key (replacing any it
    // had); the others have none.
    History withPrizes(const QHash<int, prize::DrawPrizes>& byDrawNo) const;

    // The player's ticket lines (the table 購入記録), in the order recorded, read with the draws
    // so that a window over both sees one state of the database. They name draws by their
    // stored numbers and are kept as they are by overRange.
    const QVector<ticket::Line>& tickets() const;
    // The same history with these ticket lines.
    History withTickets(QVector<ticket::Line> lines) const;

    // The value of 回数, 第1数字, 第2数字 or 第3数字 of the draw at index as the database gave it:
    // a number, the empty string or Null. An unknown name or index gives an invalid QVariant.
    QVariant field(qsizetype index, const QString& name) const;
    // The 抽せん日 of the draw at index as stored; empty when none (or the source has no dates).
    QString date(qsizetype index) const;

    // The history a window shows over a range of draw numbers: the records with from ≤ 回数 ≤ to,
    // complete or not, in order, renumbered as if the history began at draw `from` (from − 1
    // taken off every 回数), so that every figure and computation sees the range alone. The
    // whole range [1, 32767] is this history itself; an empty range, or one without a record, is
    // an empty history (with the offset all the same).
    History overRange(const DrawRange& range) const;
    // What overRange took off every draw number: 0 for a history read as it is stored.
    int drawNoOffset() const;
    // The draw number as stored of a draw number of this history: what a window writes in a cell.
    int realDrawNo(int drawNo) const { return drawNo + drawNoOffset(); }
    // The draw number as a cell shows it: every window writes 回数 through this.
    QString drawNoText(int drawNo) const { return QString::number(realDrawNo(drawNo)); }
    // The complete draws of this history within the range, first and last, as stored: none when
    // the range holds no complete draw.
    std::optional<DrawRange> completeDrawsIn(const DrawRange& range) const;

    // The same draws, in the same order, with the same stored values, dates and prizes, and the
    // same ticket lines.
    bool operator==(const History& other) const;
    // All of that but the ticket lines: what every window but the ledger's computes from.
    bool sameDrawsAs(const History& other) const;

private:
    struct Data;
    explicit History(std::shared_ptr<const Data> data);
    static std::shared_ptr<const Data> finish(std::shared_ptr<Data> data);
    std::shared_ptr<const Data> d;
};
