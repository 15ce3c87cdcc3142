// 予想の検証: a history whose picks and wins are worked out by hand, every tested draw's pick
// against what the prediction window shows for the draws before it, the chance of as many wins,
// and the ranges.

#include "prediction/backtest.h"
#include "prediction/prediction_sheets.h"
#include "support/history_builder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace {

using backtest::ChanceTally;

constexpr int kPickCol[7] = {4, 6, 8, 10, 12, 14, 16};

QStringList row(const Grid& g, int r)
{
    QStringList texts;
    for (int c = 1; c <= g.maxCols(); ++c)
        texts << g.text(c, r);
    return texts;
}

QStringList nothing(const QString& label)
{
    return {label, "0", "0", "0円", "0", "0.00", "0円", "0", "–", "–"};
}

// Draws 1–3 are predicted by 消去法 alone (no cycle digits yet): {1,8} wins on the pair 181,
// {2,7,9} loses on the triple 999, {1,3,4,8} wins on 348. 560 comes back after seven draws in
// draw 11, so draw 12 is predicted 560 by the 7-draw method, and wins; 消去法 reads 6 5 2 4 1 6 5
// 3 6 9 8 2 6 7 9 from draws 11 back to 2 (every digit but 0, so 560 loses), and the repeat and
// one-shot picks both come to 5 6 0 (0 brought by the 2 of draw 10).
History handWorked()
{
    QVector<DrawRecord> rows;
    for (const fixture::Draw& d : std::initializer_list<fixture::Draw>{{1, 1, 8, 1},
                                                                       {2, 9, 9, 9},
                                                                       {3, 3, 4, 8},
                                                                       {4, 5, 6, 0},
                                                                       {5, 2, 2, 2},
                                                                       {6, 2, 2, 2},
                                                                       {7, 2, 2, 2},
                                                                       {8, 2, 2, 2},
                                                                       {9, 2, 2, 2},
                                                                       {10, 2, 2, 2},
                                                                       {11, 5, 6, 0},
                                                                       {12, 5, 6, 0},
                                                                       {13}})
        rows << fixture::record(d);
    QStringList dates;
    for (int n = 1; n <= 13; ++n)
        dates << QStringLiteral("2024/01/%1").arg(n, 2, 10, QLatin1Char('0'));
    return History::fromRows(rows, dates);
}

TEST(Backtest, HandWorkedWinsAndTotals)
{
    const History history = handWorked();
    BacktestSheets sheets;
    sheets.compute(history, {1, 3}, 0);
    const Grid& s = sheets.summary();
    ASSERT_EQ(s.maxRows(), 8);
    EXPECT_EQ(row(s, 1),
              (QStringList{"手法", "検証回数", "購入口数", "購入金額", "当せん回数", "偶然の期待値", "当せん金額",
                           "実配当", "還元率", "p値"}));
    EXPECT_EQ(row(s, 2), nothing(" 7回周期法"));
    EXPECT_EQ(row(s, 5), nothing("12回周期法"));
    // 2 + 7 + 16 tickets; chances 6, 24 and 60 thousandths; P(at least 2 of 3) = 0.00192672.
    EXPECT_EQ(row(s, 6),
              (QStringList{"消去法", "3", "25", "5,000円", "2", "0.09", "45,000円", "0", "900.0%", "0.0019"}));
    EXPECT_EQ(row(s, 7), nothing("連発予想"));
    EXPECT_EQ(row(s, 8), nothing("１発予想"));
    EXPECT_EQ(s.hAlign(1, 6), HAlign::Left);
    EXPECT_EQ(s.hAlign(5, 6), HAlign::Center);

    const Grid& d = sheets.draws();
    ASSERT_EQ(d.maxRows(), 4);
    EXPECT_EQ(row(d, 1),
              (QStringList{"回数", "抽せん日", "当選番号", " 7回周期法", "当", " 9回周期法", "当", "11回周期法", "当",
                           "12回周期法", "当", "消去法", "当", "連発予想", "当", "１発予想", "当"}));
    EXPECT_EQ(d.frozenRows(), 1);
    EXPECT_EQ(d.frozenCols(), 3);
    EXPECT_EQ(row(d, 2),
              QStringList({"1", "2024/01/01", "181", "", "", "", "", "", "", "", "", "18", "◎"}) + QStringList(4, ""));
    EXPECT_EQ(row(d, 3),
              QStringList({"2", "2024/01/02", "999", "", "", "", "", "", "", "", "", "279", ""}) + QStringList(4, ""));
    EXPECT_EQ(row(d, 4),
              QStringList({"3", "2024/01/03", "348", "", "", "", "", "", "", "", "", "1348", "◎"})
                  + QStringList(4, ""));
    EXPECT_NE(d.backColor(12, 2), d.backColor(12, 3)); // a win stands out
    EXPECT_EQ(d.backColor(12, 2), d.backColor(13, 4));

    // Draw 12 on its own (and draw 13, not drawn yet, is no test draw).
    sheets.compute(history, {12, 13}, 0);
    EXPECT_EQ(row(s, 2),
              (QStringList{" 7回周期法", "1", "1", "200円", "1", "0.00", "90,000円", "0", "45000.0%", "0.0010"}));
    EXPECT_EQ(row(s, 3), nothing(" 9回周期法"));
    EXPECT_EQ(row(s, 6), (QStringList{"消去法", "1", "156", "31,200円", "0", "0.72", "0円", "0", "0.0%", "1.0000"}));
    EXPECT_EQ(row(s, 7),
              (QStringList{"連発予想", "1", "7", "1,400円", "1", "0.02", "15,000円", "0", "1071.4%", "0.0240"}));
    EXPECT_EQ(row(s, 8),
              (QStringList{"１発予想", "1", "7", "1,400円", "1", "0.02", "15,000円", "0", "1071.4%", "0.0240"}));
    ASSERT_EQ(d.maxRows(), 2);
    EXPECT_EQ(row(d, 2),
              (QStringList{"12", "2024/01/12", "560", "560", "◎", "", "", "", "", "", "", "123456789", "", "056", "◎",
                           "056", "◎"}));
    // The colours of the earlier wins are gone with them.
    EXPECT_EQ(d.backColor(12, 2), d.backColor(6, 2));
}

// What a draw paid: its straight and box prizes (the other kinds play no part here).
prize::DrawPrizes paid(int straight, int box)
{
    return {.counts = {}, .amounts = {straight, box, 0, 0, 0}};
}

// The same draws with prizes known for some of them: the pair 181 of draw 1 (a box win), draws
// 11 and 12 (560, won by straight and box in draw 12) and draw 13, not drawn yet; the single 348
// of draw 3 has none.
History handWorkedWithPrizes()
{
    return handWorked().withPrizes(
        {{1, paid(94300, 31400)}, {11, paid(87600, 14600)}, {12, paid(98700, 16400)}, {13, paid(77700, 12900)}});
}

TEST(Backtest, AWinPaysTheDrawsOwnPrizeWhenItIsKnown)
{
    const History history = handWorkedWithPrizes();
    BacktestSheets sheets;
    const Grid& s = sheets.summary();
    const Grid& d = sheets.draws();

    // 消去法 wins the pair of draw 1 at its own box prize and the single of draw 3 at 15,000円.
    sheets.compute(history, {1, 3}, 0);
    EXPECT_EQ(row(s, 6),
              (QStringList{"消去法", "3", "25", "5,000円", "2", "0.09", "46,400円", "1", "928.0%", "0.0019"}));
    EXPECT_EQ(row(s, 2), nothing(" 7回周期法"));
    EXPECT_EQ(d.text(13, 2), QStringLiteral("31,400"));
    EXPECT_EQ(d.text(13, 3), QString());
    EXPECT_EQ(d.text(13, 4), QStringLiteral("◎"));
    EXPECT_EQ(d.backColor(13, 2), d.backColor(13, 4));
    EXPECT_NE(d.backColor(13, 2), d.backColor(13, 3));
    EXPECT_GT(d.colWidth(13), d.colWidth(12) / 2); // room for the amount

    // A stored box prize of 0 still makes the single of draw 3 a win.
    sheets.compute(handWorked().withPrizes({{3, paid(90000, 0)}}), {1, 3}, 0);
    EXPECT_EQ(row(s, 6),
              (QStringList{"消去法", "3", "25", "5,000円", "2", "0.09", "30,000円", "1", "600.0%", "0.0019"}));
    EXPECT_EQ(d.text(13, 4), QStringLiteral("0"));
    EXPECT_EQ(d.backColor(13, 4), d.backColor(13, 2));

    // Draw 12: the straight and both box picks paid its own prizes, not draw 11's or 13's.
    sheets.compute(history, {12, 13}, 0);
    EXPECT_EQ(row(s, 2),
              (QStringList{" 7回周期法", "1", "1", "200円", "1", "0.00", "98,700円", "1", "49350.0%", "0.0010"}));
    EXPECT_EQ(row(s, 6), (QStringList{"消去法", "1", "156", "31,200円", "0", "0.72", "0円", "0", "0.0%", "1.0000"}));
    EXPECT_EQ(row(s, 7),
              (QStringList{"連発予想", "1", "7", "1,400円", "1", "0.02", "16,400円", "1", "1171.4%", "0.0240"}));
    EXPECT_EQ(row(s, 3), nothing(" 9回周期法"));
    EXPECT_EQ(row(d, 2),
              (QStringList{"12", "2024/01/12", "560", "560", "98,700", "", "", "", "", "", "", "123456789", "", "056",
                           "16,400", "056", "16,400"}));

    // Over a range the history is renumbered (draw 12 is its 11th); the draw keeps its prizes
    // and its number.
    const History over = history.overRange({2, 13});
    ASSERT_EQ(over.drawNoOffset(), 1);
    sheets.compute(over, {11, 11}, 0);
    ASSERT_EQ(d.maxRows(), 2);
    EXPECT_EQ(d.text(1, 2), QStringLiteral("12"));
    EXPECT_EQ(d.text(3, 2), QStringLiteral("560"));
    EXPECT_EQ(d.text(5, 2), QStringLiteral("98,700"));
    EXPECT_EQ(row(s, 2),
              (QStringList{" 7回周期法", "1", "1", "200円", "1", "0.00", "98,700円", "1", "49350.0%", "0.0010"}));
}

// What the prediction window shows for the records numbered below n, as the draw grid writes a
// pick: the cycle rows when whole, the other grids' digits in order when there are two or more.
QStringList windowPicks(const History& history, int n, int reflected)
{
    QVector<DrawRecord> below;
    for (const DrawRecord& r : history.draws()) {
        if (r.drawNo < n)
            below << r;
    }
    PredictionSheets window;
    window.open(History::fromRows(below));
    window.refresh(reflected);
    QStringList picks;
    for (int k = 0; k < 4; ++k) {
        QString digits;
        for (int c = 2; c <= 4; ++c)
            digits += window.grid(0).text(c, k + 2);
        picks << (digits.size() == 3 ? digits : QString());
    }
    for (int g = 1; g <= 3; ++g) {
        QList<QChar> shown;
        for (int r = 2; r <= window.grid(g).maxRows(); ++r) {
            for (int c = 2; c <= window.grid(g).maxCols(); ++c) {
                const QString t = window.grid(g).text(c, r);
                if (!t.isEmpty() && !shown.contains(t[0]))
                    shown << t[0];
            }
        }
        std::sort(shown.begin(), shown.end());
        picks << (shown.size() >= 2 ? QString(shown.constData(), shown.size()) : QString());
    }
    return picks;
}

void expectWindowPicks(const History& history, DrawRange range, int reflected)
{
    BacktestSheets sheets;
    sheets.compute(history, range, reflected);
    const Grid& d = sheets.draws();
    int r = 2;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete || !range.contains(draw.drawNo))
            continue;
        ASSERT_LE(r, d.maxRows());
        ASSERT_EQ(d.text(1, r), QString::number(draw.drawNo));
        QStringList shown;
        for (int m = 0; m < 7; ++m)
            shown << d.text(kPickCol[m], r);
        ASSERT_EQ(shown, windowPicks(history, draw.drawNo, reflected))
            << "draw " << draw.drawNo << " reflected " << reflected;
        ++r;
    }
    EXPECT_EQ(r, d.maxRows() + 1);
}

TEST(Backtest, EveryPickIsWhatThePredictionWindowShowsForTheDrawsBefore)
{
    const History real = fixture::realHistory();
    QVector<DrawRecord> rows = real.draws().mid(0, 320);
    for (const int reflected : {0, 3}) {
        SCOPED_TRACE(reflected);
        expectWindowPicks(History::fromRows(rows), {1, 320}, reflected);
        // The same walk from the middle of the history.
        expectWindowPicks(History::fromRows(rows), {250, 400}, reflected);
    }

    // A database made outside: draw 100 twice (both predicted from the draws below 100), draw 101
    // not drawn, a record without a valid draw number; then draws out of order.
    QVector<DrawRecord> odd = rows.mid(0, 160);
    odd.insert(100, DrawRecord{100, {7, 7, 1}});
    odd[101].digits[1] = DrawRecord::kNull;
    odd.insert(120, DrawRecord{0, {1, 2, 3}});
    expectWindowPicks(History::fromRows(odd), {90, 130}, 1);
    std::swap(odd[140], odd[141]);
    odd[50].drawNo = 145;
    expectWindowPicks(History::fromRows(odd), {40, 160}, 2);
}

// The tail of the number of wins by the plain walk over every draw, nothing left out.
double referenceAtLeast(const std::vector<int>& chances, int wins)
{
    std::vector<double> dist{1.0};
    for (const int c : chances) {
        const double p = c / 1000.0;
        dist.push_back(0.0);
        for (std::size_t j = dist.size() - 1; j > 0; --j)
            dist[j] = dist[j] * (1 - p) + dist[j - 1] * p;
        dist[0] *= 1 - p;
    }
    double sum = 0;
    for (std::size_t j = dist.size(); j-- > std::size_t(std::max(wins, 0));)
        sum += dist[j];
    return sum;
}

TEST(Backtest, ChanceOfAtLeastAsManyWins)
{
    // Chances 1/2, 1/5 and 1/10: no win 0.36, all three 0.01, exactly two 0.09 + 0.04 + 0.01.
    ChanceTally small;
    for (const int c : {500, 200, 100})
        small.add(c);
    EXPECT_DOUBLE_EQ(small.atLeast(0), 1.0);
    EXPECT_DOUBLE_EQ(small.atLeast(1), 0.64);
    EXPECT_DOUBLE_EQ(small.atLeast(2), 0.15);
    EXPECT_DOUBLE_EQ(small.atLeast(3), 0.01);
    EXPECT_EQ(small.atLeast(4), 0.0);
    EXPECT_EQ(small.thousandthsSum(), 800);

    // Thousands of draws of mixed chances, far into both tails, where the walk leaves out what
    // is negligible.
    std::vector<int> chances;
    ChanceTally many;
    const int mix[] = {1, 6, 24, 990, 720, 60, 504, 1};
    for (int i = 0; i < 3000; ++i) {
        chances.push_back(mix[i % 8]);
        many.add(chances.back());
    }
    for (const int wins : {1, 500, 850, 865, 900, 1000, 1150, 1300, 1350}) {
        const double expected = referenceAtLeast(chances, wins);
        ASSERT_GT(expected, 1e-290) << wins;
        EXPECT_NEAR(many.atLeast(wins), expected, expected * 1e-10) << wins;
    }
    for (const int wins : {1400, 2200})
        EXPECT_LT(many.atLeast(wins), 1e-290) << wins;
    EXPECT_EQ(many.atLeast(3001), 0.0);
}

TEST(Backtest, RangesAndEmptyTests)
{
    // The default tests the last 1,000 complete draws, counted over records that are not complete.
    QVector<DrawRecord> rows = fixture::realHistory().draws();
    ASSERT_EQ(rows.size(), 7089);
    rows[6500].digits[0] = DrawRecord::kNull;
    rows << DrawRecord{7090};
    const History real = History::fromRows(rows);
    EXPECT_EQ(RangeChoice::lastDraws(BacktestSheets::kDefaultDraws).resolve(real).from, 6089);

    for (const DrawRange range : {DrawRange{5, 4}, DrawRange{7090, 8000}, DrawRange{0, 0}}) {
        BacktestSheets sheets;
        sheets.compute(real, range, 0);
        EXPECT_EQ(sheets.draws().maxRows(), 1);
        EXPECT_EQ(sheets.testedDraws(), 0);
        for (int m = 0; m < 7; ++m)
            EXPECT_EQ(row(sheets.summary(), m + 2), nothing(BacktestSheets::kMethodLabels[m]));
    }
}

} // namespace
