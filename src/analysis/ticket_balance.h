#pragma once
// 収支: the player's money over the ticket lines the history carries. Each draw a line covers
// within the range is a row (one line on one draw), in draw order and, on one draw, in the order
// of the ledger. Three tables add the rows up by the year and by the month of the draw's 抽せん日
// (the rows not drawn yet apart) and list them one by one with the running balance; a line chart
// follows that balance over the drawn rows, against what a 45% return would have left.

#include "analysis/ticket_results.h"
#include "catalogue/window_sheets.h"
#include "data/history.h"

#include <memory>
#include <vector>

namespace ticket_balance {

inline constexpr int kGrids = 3;
// ●年別, ●月別, ●明細.
extern const QStringList kTitles;

// The share of the cost the chart's second line returns, in per cent: it stands at
// −(100 − 45)% of the cost.
inline constexpr int kReturnPercent = 45;

// One draw of one ticket line.
struct Row {
    int line = 0; // its index in History::tickets()
    int units = 0; // the line's 口数
    ticket_results::DrawResult result; // result.drawNo: the draw, as stored
    qint64 cost() const { return qint64(ticket::kPrice) * units; }
    bool drawn() const { return result.outcome != ticket_results::Outcome::Undrawn; }
};

// The draws of every ticket line of the history whose stored draw numbers lie in the range,
// ordered by draw number and then by the line's place in the ledger.
std::vector<Row> rowsIn(const History& history, const DrawRange& range, const ticket_results::DrawIndex& index);

class BalanceSheets : public GridListSheets {
public:
    BalanceSheets() : GridListSheets(kGrids) { }
    // The tables and the chart of the ticket lines of the history over the range (stored draw
    // numbers; the whole history is given, so that a line's draws past the range's records count).
    void compute(const History& history, const DrawRange& range);

    bool hasLineChart() const override { return true; }
    SheetLineChart lineChart() const override { return m_chart; }

private:
    SheetLineChart m_chart;
};

// The window's sheets over the range the options give (全期間 when none).
std::unique_ptr<WindowSheets> sheets(const History& history, const SheetOptions& options);

} // namespace ticket_balance
