#pragma once
// What the number views say of an item (a digit at a position, a box number, a ミニ number, a
// type…) over the complete draws of a history, numbered 1 … N in draw order: how often it came
// against how often chance would have it come, when it last came and how long it has been away.
// Every figure is a fraction printed as C's printf prints the double nearest its exact value.

#include "data/history.h"
#include "grid/grid.h"

#include <QString>
#include <QStringList>

namespace item_stats {

// The item's chance in one draw when the three digits are uniform and independent.
struct Chance {
    int num = 0;
    int den = 1;
};

// The draws an item came in, as they are walked in order: its place in the walk (1 … N) and the
// draw number as a cell writes it.
class Comings {
public:
    void add(int place, int drawNo);

    int count() const { return m_count; }
    int firstPlace() const { return m_first; }
    int lastPlace() const { return m_last; }
    int lastDrawNo() const { return m_lastDrawNo; }
    int maxInterval() const { return m_maxInterval; }

private:
    int m_count = 0;
    int m_first = 0;
    int m_last = 0;
    int m_lastDrawNo = 0;
    int m_maxInterval = 0;
};

// "%.1f" and "%.2f" of num / den, the double nearest the quotient.
QString oneDecimal(qint64 num, qint64 den);
QString twoDecimals(qint64 num, qint64 den);

// num / den in per cent, one decimal ("431.2%"), "–" when den = 0: every per cent a window
// shows of a fraction.
QString percentText(qint64 num, qint64 den);
// 出現率 k / N in per cent, one decimal ("27.3%"), "–" when N = 0.
QString rateText(int count, int draws);
// 期待値 N × p, one decimal.
QString expectedText(int draws, Chance chance);
// p in per cent, one decimal ("27.1%").
QString chanceText(Chance chance);
// 休止: the draws since it last came; N when it never came.
int rest(const Comings& comings, int draws);
// 休止指数 休止 × p, two decimals.
QString restIndexText(int rest, Chance chance);

// The eight figures of an item's row, in their order: 出現回数, 出現率, 期待値, 最終出現
// (the draw number of its last coming through history.drawNoText; "–" when it never came),
// 休止, 平均間隔, 最大間隔 (both "–" when it came fewer than twice), 休止指数.
QStringList figures(const Comings& comings, int draws, Chance chance, const History& history);
// Their headings.
const QStringList& figureHeadings();

// Marks a 休止指数 cell: 2.00 and more stands out, 3.00 and more more strongly.
void markRestIndex(Grid& grid, int col, int row, int rest, Chance chance);

} // namespace item_stats
