#pragma once
// What a ticket line won: each draw it covers checked against the history, the prize it paid
// (the draw's own when its prizes are known, the nominal one otherwise) and the line's state so
// far in one text.

#include "data/history.h"
#include "data/tickets.h"

#include <QString>
#include <QVector>
#include <vector>

namespace ticket_results {

// What one covered draw gave the line; the wins in the order of prize::Kind.
enum class Outcome { Undrawn, Lost, Straight, Box, SetStraight, SetBox, Mini };
// 未抽せん, はずれ, ストレート, ボックス, セットストレート, セットボックス, ミニ.
QString outcomeText(Outcome outcome);
bool isWin(Outcome outcome);

struct DrawResult {
    int drawNo = 0; // as stored
    Outcome outcome = Outcome::Undrawn;
    qint64 paid = 0; // ¥: the prize of a 口 × 口数
    bool nominal = false; // the draw's prizes are unknown: paid is the nominal prize
    // 当せん金 as a cell shows it: "" while undrawn, "0円" for a loss, "98,700円" for a win,
    // "105,000円（理論値）" for a win paid at the nominal prize.
    QString paidText() const;
    bool operator==(const DrawResult&) const = default;
};

// The record of each stored draw number of a history, found in constant time. A history made
// elsewhere may hold a draw number more than once: the first complete record of it counts (or
// the first record, when none is complete).
class DrawIndex {
public:
    explicit DrawIndex(const History& history);
    // The record index of the stored draw number; -1 when the history has none.
    qsizetype indexOf(int storedDrawNo) const;

private:
    std::vector<int> m_index; // by stored draw number 0–32767; -1 for none
};

// How many draws of the line are evaluated: its 継続回数, kept within 0…ticket::kMaxDraws so that
// a damaged line (one the ledger would refuse) can never ask for more rows than a ticket has.
int coveredDraws(const ticket::Line& line);

// The line on one draw (a stored draw number), whether the line covers it or not. A number that
// is not the line type's form ("000"–"999"; "00"–"99" for ミニ) never wins; neither does a
// ボックス or セット line of a triple, which the game does not sell.
DrawResult resultOn(const ticket::Line& line, int drawNo, const History& history, const DrawIndex& index);
// The line on each draw it covers, from 開始回 on (see coveredDraws).
QVector<DrawResult> resultsOf(const ticket::Line& line, const History& history, const DrawIndex& index);

// The line's state so far, from its results: "3回中2回抽せん済み・ボックス 1回 15,000円", each
// kind won with its count and the total it paid, in the order of the kinds, "（理論値）" after
// a total when any draw in it was paid at the nominal prize; "3回中2回抽せん済み・はずれ" when
// nothing has won yet; "3回中0回抽せん済み" before the first draw.
QString summary(const ticket::Line& line, const QVector<DrawResult>& results);

// What the tickets did on each draw that a refresh brought: every draw complete in `after` that is
// not in `before`, and that a ticket line of `after` covers, in draw order. One text a draw, the
// 口 of the lines covering it, then each kind won with what it paid in all (the kinds in their
// order), or はずれ: "第7090回: 3口 — ボックス当せん 15,000円", "第7090回: 3口 — はずれ".
QStringList newDrawReports(const History& before, const History& after);

} // namespace ticket_results
