#include "prediction/backtest.h"

#include "data/history.h"
#include "grid/colors.h"
#include "grid/sheet.h"
#include "prediction/predictor.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <numeric>
#include <optional>
#include <vector>

using namespace backtest;

namespace {

// A win stands out in a warm colour: the pick that won and its mark (the amount won, or this mark
// on a draw whose prizes are unknown).
constexpr GridColor kWinBack = rgb(255, 215, 150);
constexpr GridColor kWinFore = colors::kRed;
const QString kWinMark = QStringLiteral("◎");
const QString kNone = QStringLiteral("–");

// Probabilities this small are left out of the distribution of wins. With every chance at least
// 1/1000 (and at most 99/100) no product of the walk falls below the normal doubles.
constexpr double kNegligible = 1e-300;

// The summary grid.
constexpr int kSummaryCols = 10;
constexpr std::array<double, kSummaryCols> kSummaryWidths = {10, 7, 8, 13, 9, 11, 13, 6, 9, 8};
const std::array<QString, kSummaryCols> kSummaryHeadings
    = {QStringLiteral("手法"),       QStringLiteral("検証回数"),   QStringLiteral("購入口数"),
       QStringLiteral("購入金額"),   QStringLiteral("当せん回数"), QStringLiteral("偶然の期待値"),
       QStringLiteral("当せん金額"), QStringLiteral("実配当"),     QStringLiteral("還元率"),
       QStringLiteral("p値")};
constexpr int kReturnCol = 9; // 還元率, then p値: the results

// The draw grid: 回数, 抽せん日 and 当選番号, then a pick and a mark column per method.
constexpr int kDrawNoCol = 1;
constexpr int kDateCol = 2;
constexpr int kNumberCol = 3;
constexpr int kFixedCols = 3;
constexpr int kDrawCols = kFixedCols + 2 * kMethodCount;
constexpr int pickCol(int method)
{
    return kFixedCols + 1 + 2 * method;
}
constexpr int markCol(int method)
{
    return pickCol(method) + 1;
}
constexpr double kPickWidth = 10;
constexpr double kMarkWidth = 3;

// The mark columns when some win shows its amount: wide enough for the longest amount shown, of
// `chars` characters (digits and ","), and never narrower than for six of them ("98,700").
double amountMarkWidth(qsizetype chars)
{
    return 1.0 + 0.8 * double(std::max<qsizetype>(chars, 6));
}

// What a method buys for one draw.
struct Pick {
    bool made = false;
    bool straight = false; // one straight ticket on `digits`; else box tickets over `set`
    std::array<int, 3> digits{};
    unsigned set = 0; // bit d for digit d
    int tickets = 0;
    int chance = 0; // of a win, in thousandths
    QString text; // as the draw grid shows it
};
using Picks = std::array<Pick, kMethodCount>;

Pick straightPick(const std::array<int, 3>& digits)
{
    Pick pick;
    for (const int d : digits) {
        if (d == prediction::kNoDigit)
            return pick;
    }
    pick.made = pick.straight = true;
    pick.digits = digits;
    pick.tickets = 1;
    pick.chance = 1;
    const char text[3] = {char('0' + digits[0]), char('0' + digits[1]), char('0' + digits[2])};
    pick.text = QString::fromLatin1(text, 3);
    return pick;
}

// Every box ticket whose digits all lie in the set and are not all the same: C(k,3) with three
// different digits and k(k−1) with a pair. They win on every number over the set but its k
// triples, k³ − k numbers of the 1,000.
Pick boxPick(const QList<int>& shown)
{
    Pick pick;
    for (const int d : shown) {
        if (d >= 0 && d <= 9)
            pick.set |= 1u << d;
    }
    const int k = std::popcount(pick.set);
    if (k < 2)
        return pick;
    pick.made = true;
    pick.tickets = k * (k - 1) * (k - 2) / 6 + k * (k - 1);
    pick.chance = k * k * k - k;
    char text[10];
    int n = 0;
    for (int d = 0; d <= 9; ++d) {
        if (pick.set & (1u << d))
            text[n++] = char('0' + d);
    }
    pick.text = QString::fromLatin1(text, n);
    return pick;
}

Picks picksOf(const prediction::Prediction& prediction)
{
    Picks picks;
    for (int k = 0; k < kCycleMethods; ++k)
        picks[k] = straightPick(prediction.cycle[k]);
    picks[4] = boxPick(prediction.eliminationShown);
    picks[5] = boxPick(prediction.repeat);
    picks[6] = boxPick(prediction.oneShot);
    return picks;
}

// What a winning pick is paid.
struct Win {
    int amount = 0; // ¥
    bool own = false; // the draw's own prize; else the nominal one
};

// Whether a pick wins on a draw, by its numbers alone, and what the win pays: the draw's own
// prize of the kind of ticket when its prizes are known (one stored as 0 pays 0, a win all the
// same), else the nominal prize.
std::optional<Win> winOf(const Pick& pick, const DrawRecord& draw, const prize::DrawPrizes* prizes)
{
    const int a = draw.digit(1), b = draw.digit(2), c = draw.digit(3);
    if (pick.straight) {
        if (a != pick.digits[0] || b != pick.digits[1] || c != pick.digits[2])
            return std::nullopt;
        return prizes ? Win{prizes->amounts[prize::Straight], true} : Win{prize::kNominalStraight, false};
    }
    const prize::Shape shape = prize::shapeOf(a, b, c);
    if (shape == prize::Shape::Triple)
        return std::nullopt;
    const unsigned drawn = (1u << a) | (1u << b) | (1u << c);
    if (drawn & ~pick.set)
        return std::nullopt;
    if (prizes)
        return Win{prizes->amounts[prize::Box], true};
    return Win{shape == prize::Shape::Single ? prize::kNominalBoxSingle : prize::kNominalBoxDouble, false};
}

// The picks for a draw numbered n from the tables of every draw numbered below it.
Picks picksBefore(const prediction::PredictionTables& tables, int lastDrawNo, int reflected)
{
    return picksOf(prediction::predict(tables, lastDrawNo, reflected));
}

// As printf writes it: the same digits on every platform and locale.
QString fixed(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

} // namespace

// ---- the chance of as many wins ----

int ChanceTally::draws() const
{
    return std::accumulate(m_draws.begin(), m_draws.end(), 0);
}

qint64 ChanceTally::thousandthsSum() const
{
    qint64 sum = 0;
    for (int c = 0; c <= kMaxChance; ++c)
        sum += qint64(c) * m_draws[c];
    return sum;
}

double ChanceTally::atLeast(int wins) const
{
    if (wins <= 0)
        return 1.0;
    if (wins > draws())
        return 0.0;
    // dist[begin + i] is P(X = lo + i) over the draws so far, except that X = wins stands for
    // X >= wins: once there, X stays there, so no entry above it is needed.
    std::vector<double> dist{1.0}, next;
    std::size_t begin = 0;
    std::size_t n = 1;
    int lo = 0;
    for (int c = 1; c <= kMaxChance; ++c) {
        const double p = c / 1000.0;
        const double q = (kMaxChance - c) / 1000.0;
        for (int t = 0; t < m_draws[c]; ++t) {
            if (lo == wins)
                return std::min(1.0, dist[begin]);
            const double* cur = dist.data() + begin;
            const bool atTop = lo + int(n) - 1 == wins; // then n >= 2, as lo < wins
            next.resize(atTop ? n : n + 1);
            next[0] = q * cur[0];
            const std::size_t plain = atTop ? n - 1 : n;
            for (std::size_t i = 1; i < plain; ++i)
                next[i] = q * cur[i] + p * cur[i - 1];
            if (atTop)
                next[n - 1] = cur[n - 1] + p * cur[n - 2];
            else
                next[n] = p * cur[n - 1];
            // Leave out the negligible ends, never the entry for wins. The mass is 1, so some
            // entry is never negligible.
            std::size_t first = 0, last = next.size() - 1;
            while (first < last && next[first] < kNegligible)
                ++first;
            while (last > first && lo + int(last) < wins && next[last] < kNegligible)
                --last;
            dist.swap(next);
            begin = first;
            n = last - first + 1;
            lo += int(first);
        }
    }
    return lo + int(n) - 1 == wins ? std::min(1.0, dist[begin + n - 1]) : 0.0;
}

// ---- the sheets ----

const QString BacktestSheets::kNote = QStringLiteral("抽せんが偶然なら、どの買い方でも還元率の期待値は45%です。");
const std::array<QString, kMethodCount> BacktestSheets::kMethodLabels
    = {QStringLiteral(" 7回周期法"), QStringLiteral(" 9回周期法"), QStringLiteral("11回周期法"),
       QStringLiteral("12回周期法"), QStringLiteral("消去法"),     QStringLiteral("連発予想"),
       QStringLiteral("１発予想")};

BacktestSheets::BacktestSheets()
{
    // Every line the grids show is a border of their own.
    m_summary.setGridLinesShown(false);
    m_draws.setGridLinesShown(false);
    layOutSummary();
    layOutDraws(0);
    fillSummary();
}

void BacktestSheets::compute(const History& history, DrawRange range, int reflected)
{
    const QVector<DrawRecord>& records = history.draws();
    m_results = {};

    // The draws are walked once, carrying the tables forward; that holds only while the draw
    // numbers never go down. A database made outside may be out of order: then the tables of
    // each tested draw are built afresh from the draws numbered below it.
    int tested = 0;
    bool inOrder = true;
    int previous = 0;
    for (const DrawRecord& draw : records) {
        if (!draw.complete)
            continue;
        inOrder = inOrder && draw.drawNo >= previous;
        previous = draw.drawNo;
        if (range.contains(draw.drawNo))
            ++tested;
    }
    m_testedDraws = tested;
    layOutSummary();
    layOutDraws(tested);

    int row = 2;
    qsizetype longestAmount = 0; // of the amounts the marks show
    // index: the draw's record in the history, which its date and prizes are kept by.
    auto score = [&](qsizetype index, const DrawRecord& draw, const Picks& picks) {
        const char number[3] = {char('0' + draw.digit(1)), char('0' + draw.digit(2)), char('0' + draw.digit(3))};
        const prize::DrawPrizes* prizes = history.prizes(index);
        m_draws.setText(kDrawNoCol, row, history.drawNoText(draw.drawNo));
        m_draws.setDrawRow(row, history.realDrawNo(draw.drawNo));
        m_draws.setText(kDateCol, row, history.date(index));
        m_draws.setText(kNumberCol, row, QString::fromLatin1(number, 3));
        for (int m = 0; m < kMethodCount; ++m) {
            const Pick& pick = picks[m];
            if (!pick.made)
                continue;
            MethodResult& result = m_results[m];
            ++result.draws;
            result.tickets += pick.tickets;
            result.chances.add(pick.chance);
            m_draws.setText(pickCol(m), row, pick.text);
            if (const std::optional<Win> win = winOf(pick, draw, prizes)) {
                ++result.wins;
                result.prize += win->amount;
                QString mark = kWinMark;
                if (win->own) {
                    ++result.ownPrizeWins;
                    mark = prize::grouped(win->amount);
                    longestAmount = std::max(longestAmount, mark.size());
                }
                m_draws.setText(markCol(m), row, mark);
                m_draws.setCellColors(pickCol(m), row, kWinBack, kWinFore);
                m_draws.setCellColors(markCol(m), row, kWinBack, kWinFore);
            }
        }
        ++row;
    };

    // All the draws numbered n are predicted from those below n, the first of them included.
    Picks picks;
    int picksFor = 0;
    if (inOrder) {
        prediction::PredictionTables tables;
        int lastDrawNo = 0;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const DrawRecord& draw = records[i];
            if (!draw.complete)
                continue;
            if (draw.drawNo > range.to)
                break;
            if (range.contains(draw.drawNo)) {
                if (draw.drawNo != picksFor) {
                    picks = picksBefore(tables, lastDrawNo, reflected);
                    picksFor = draw.drawNo;
                }
                score(i, draw, picks);
            }
            tables.add(draw);
            lastDrawNo = draw.drawNo;
        }
    } else {
        for (qsizetype i = 0; i < records.size(); ++i) {
            const DrawRecord& draw = records[i];
            if (!draw.complete || !range.contains(draw.drawNo))
                continue;
            if (draw.drawNo != picksFor) {
                prediction::PredictionTables tables;
                int lastDrawNo = 0;
                for (const DrawRecord& earlier : records) {
                    if (earlier.complete && earlier.drawNo < draw.drawNo) {
                        tables.add(earlier);
                        lastDrawNo = earlier.drawNo;
                    }
                }
                picks = picksBefore(tables, lastDrawNo, reflected);
                picksFor = draw.drawNo;
            }
            score(i, draw, picks);
        }
    }
    if (longestAmount > 0) {
        for (int m = 0; m < kMethodCount; ++m)
            m_draws.setColWidth(markCol(m), amountMarkWidth(longestAmount));
    }
    fillSummary();
}

void BacktestSheets::layOutSummary()
{
    Grid& g = m_summary;
    const int rows = 1 + kMethodCount;
    g.clear();
    setUpSheet(g,
               {.cols = kSummaryCols,
                .rows = rows,
                .visibleCols = kSummaryCols,
                .visibleRows = rows,
                .scrollBars = ScrollBars::None,
                .rowHeight = 10,
                .colWidth = 8});
    for (int c = 1; c <= kSummaryCols; ++c)
        g.setColWidth(c, kSummaryWidths[c - 1]);
    borders(g, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(g, 1, 1, kSummaryCols, 1, colors::kHeadingBack, colors::kBlack);
    colours(g, 1, 2, 1, rows, colors::kPaleYellow, colors::kBlack);
    colours(g, kReturnCol, 2, kSummaryCols, rows, colors::kResultBack, colors::kResultFore);
    g.setBlock(1, 2, 1, rows);
    g.setHAlign(HAlign::Left);
    for (int c = 1; c <= kSummaryCols; ++c)
        g.setText(c, 1, kSummaryHeadings[c - 1]);
    for (int m = 0; m < kMethodCount; ++m)
        g.setText(1, m + 2, kMethodLabels[m]);
}

void BacktestSheets::layOutDraws(int testedDraws)
{
    Grid& g = m_draws;
    const int rows = 1 + testedDraws;
    g.clear();
    setUpSheet(g,
               {.cols = kDrawCols,
                .rows = rows,
                .visibleCols = kDrawCols,
                .visibleRows = 31,
                .scrollBars = ScrollBars::Both,
                .frozenRows = 1,
                .frozenCols = kFixedCols,
                .rowHeight = 10,
                .colWidth = kPickWidth});
    g.setColWidth(kDrawNoCol, 6);
    g.setColWidth(kDateCol, 10);
    g.setColWidth(kNumberCol, 7);
    for (int m = 0; m < kMethodCount; ++m)
        g.setColWidth(markCol(m), kMarkWidth);
    borders(g, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(g, 1, 1, kDrawCols, 1, colors::kHeadingBack, colors::kBlack);
    // An empty test leaves no data row; a block from row 2 would then fold back onto row 1.
    if (rows >= 2) {
        colours(g, kDrawNoCol, 2, kDrawNoCol, rows, colors::kDrawNoBack, colors::kDrawNoFore);
        colours(g, kNumberCol, 2, kNumberCol, rows, colors::kResultBack, colors::kResultFore);
    }
    g.setText(kDrawNoCol, 1, QStringLiteral("回数"));
    g.setText(kDateCol, 1, QStringLiteral("抽せん日"));
    g.setText(kNumberCol, 1, QStringLiteral("当選番号"));
    for (int m = 0; m < kMethodCount; ++m) {
        g.setText(pickCol(m), 1, kMethodLabels[m]);
        g.setText(markCol(m), 1, QStringLiteral("当"));
    }
}

void BacktestSheets::fillSummary()
{
    Grid& g = m_summary;
    for (int m = 0; m < kMethodCount; ++m) {
        const MethodResult& r = m_results[m];
        const int row = m + 2;
        const bool bought = r.tickets > 0;
        g.setText(2, row, QString::number(r.draws));
        g.setText(3, row, QString::number(r.tickets));
        g.setText(4, row, prize::yenText(r.cost()));
        g.setText(5, row, QString::number(r.wins));
        // Summed in whole thousandths, divided once.
        g.setText(6, row, fixed("%.2f", double(r.chances.thousandthsSum()) / 1000.0));
        g.setText(7, row, prize::yenText(r.prize));
        g.setText(8, row, QString::number(r.ownPrizeWins));
        g.setText(kReturnCol, row, bought ? fixed("%.1f", double(r.prize) * 100.0 / double(r.cost())) + u'%' : kNone);
        QString p = kNone;
        if (bought) {
            const double value = r.chances.atLeast(r.wins);
            p = value < 0.0001 ? QStringLiteral("<0.0001") : fixed("%.4f", value);
        }
        g.setText(kReturnCol + 1, row, p);
    }
}
