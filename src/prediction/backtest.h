#pragma once
// 予想の検証: the picks of the prediction window tried on the draws they would have been made
// for. Each tested draw is predicted from the draws numbered below it only, exactly as the
// prediction window predicts the next draw, and each method buys the tickets its pick stands for.
// The two grids (the totals per method, and every tested draw with each method's pick) are laid
// out and filled here, without widgets, so the companion exports what the window shows.

#include "data/draw_range.h"
#include "data/prizes.h"
#include "catalogue/window_sheets.h"
#include "grid/grid.h"

#include <QString>
#include <QtGlobal>
#include <array>

class History;

namespace backtest {

// The seven methods in the order of the grids: the four cycle methods, then 消去法, 連発予想 and
// １発予想.
inline constexpr int kMethodCount = 7;
inline constexpr int kCycleMethods = 4;

inline constexpr int kTicketPrice = 200; // ¥ a ticket
// A win pays the draw's own prize of its kind of ticket (ストレート or ボックス) when the draw's
// prizes are known, else the nominal prize of prize:: (90,000円; a box 15,000円, or 30,000円 with
// two digits the same).

// The chances of a win of the draws a method predicted, each in thousandths, grouped by value;
// and from them how likely luck alone is to win at least a given number of those draws.
class ChanceTally {
public:
    static constexpr int kMaxChance = 1000;

    void add(int thousandths) { ++m_draws.at(std::size_t(thousandths)); }
    int draws() const;
    qint64 thousandthsSum() const;

    // P(X >= wins) where X is the number of wins of independent draws, each won with its own
    // chance (the Poisson-binomial distribution), worked out draw by draw. Probabilities below
    // 1e-300 are left out, which changes no result by more than that.
    double atLeast(int wins) const;

private:
    std::array<int, kMaxChance + 1> m_draws{};
};

// What one method did over the tested draws.
struct MethodResult {
    int draws = 0; // tested draws it made a prediction for
    qint64 tickets = 0;
    int wins = 0; // draws won
    int ownPrizeWins = 0; // of them, the wins paid the draw's own prize
    qint64 prize = 0; // ¥
    ChanceTally chances;

    qint64 cost() const { return tickets * kTicketPrice; }
};

} // namespace backtest

class BacktestSheets : public WindowSheets {
public:
    static const QString kNote;
    static const std::array<QString, backtest::kMethodCount> kMethodLabels;
    // The window tests the last 1,000 complete draws (直近1000回) until the player chooses others.
    static constexpr int kDefaultDraws = 1000;

    BacktestSheets();

    // Tries every method on the complete draws whose draw number lies in range, with `reflected`
    // option flags of the prediction window set to "反映する", and fills both grids.
    void compute(const History& history, DrawRange range, int reflected);

    // One heading row, then one row per method: 手法, 検証回数, 購入口数, 購入金額, 当せん回数,
    // 偶然の期待値, 当せん金額, 実配当 (the wins paid the draw's own prize), 還元率, p値.
    Grid& summary() { return m_summary; }
    const Grid& summary() const { return m_summary; }
    // One heading row, then one row per tested draw in the history's order: 回数, 抽せん日,
    // 当選番号, then each method's pick and its mark when it won: the amount won ("98,700") on a
    // draw whose prizes are known, "◎" on one whose are not.
    Grid& draws() { return m_draws; }
    const Grid& draws() const { return m_draws; }
    QList<Grid*> sheetGrids() override { return {&m_summary, &m_draws}; }

    const std::array<backtest::MethodResult, backtest::kMethodCount>& results() const { return m_results; }
    int testedDraws() const { return m_testedDraws; }

private:
    void layOutSummary();
    void layOutDraws(int testedDraws);
    void fillSummary();

    Grid m_summary;
    Grid m_draws;
    std::array<backtest::MethodResult, backtest::kMethodCount> m_results{};
    int m_testedDraws = 0;
};
