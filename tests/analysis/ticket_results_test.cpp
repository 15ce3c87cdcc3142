// Ticket lines checked against a history worked by hand.

#include "analysis/ticket_results.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

using namespace ticket_results;
using ticket::Type;

namespace {

prize::DrawPrizes paid(int straight, int box, int setStraight, int setBox, int mini)
{
    prize::DrawPrizes p;
    p.amounts = {straight, box, setStraight, setBox, mini};
    return p;
}

// Draws 1 (a single), 3 (a triple) and 6 (a double) have their prizes; 2 (a double) and 4 (a
// single) have none; 5 is incomplete; the history ends at 6.
History ledgerDraws()
{
    return fixture::history({{1, 1, 2, 3}, {2, 4, 4, 5}, {3, 7, 7, 7}, {4, 3, 2, 1}, {5, 1, -1, 3}, {6, 5, 4, 4}})
        .withPrizes({{1, paid(98700, 16400, 57500, 8200, 9800)},
                     {3, paid(310000, 0, 0, 0, 31000)},
                     {5, paid(90000, 15000, 52500, 7500, 9000)},
                     {6, paid(61000, 20300, 40600, 10100, 6100)}});
}

ticket::Line line(const QString& number, Type type, int firstDraw = 1, int draws = 1, int units = 1)
{
    ticket::Line l;
    l.number = number;
    l.type = type;
    l.firstDraw = firstDraw;
    l.draws = draws;
    l.units = units;
    return l;
}

struct Expected {
    int drawNo;
    Outcome outcome;
    qint64 paid;
    bool nominal;
};

void expectOn(const ticket::Line& l, const History& history, std::initializer_list<Expected> cases)
{
    const DrawIndex index(history);
    for (const Expected& e : cases) {
        const DrawResult r = resultOn(l, e.drawNo, history, index);
        const std::string where
            = QString(l.number + u' ' + QString::number(int(l.type)) + u" on " + QString::number(e.drawNo))
                  .toStdString();
        EXPECT_EQ(r.drawNo, e.drawNo) << where;
        EXPECT_EQ(outcomeText(r.outcome), outcomeText(e.outcome)) << where;
        EXPECT_EQ(r.paid, e.paid) << where;
        EXPECT_EQ(r.nominal, e.nominal) << where;
    }
}

} // namespace

TEST(TicketResults, EachKindWinsOnASingleAtTheDrawsPrizeOrTheNominalOne)
{
    const History h = ledgerDraws();
    expectOn(line("123", Type::Straight), h,
             {{1, Outcome::Straight, 98700, false}, {4, Outcome::Lost, 0, false}, {2, Outcome::Lost, 0, false}});
    expectOn(line("231", Type::Box), h, {{1, Outcome::Box, 16400, false}, {4, Outcome::Box, 15000, true}});
    expectOn(line("123", Type::Set), h,
             {{1, Outcome::SetStraight, 57500, false}, {4, Outcome::SetBox, 7500, true}, {6, Outcome::Lost, 0, false}});
    expectOn(line("321", Type::Set), h, {{1, Outcome::SetBox, 8200, false}, {4, Outcome::SetStraight, 52500, true}});
}

TEST(TicketResults, ADoubleWinsAtTheDoublesPrizesAndATripleOnlyAsAStraight)
{
    const History h = ledgerDraws();
    expectOn(line("445", Type::Straight), h, {{2, Outcome::Straight, 90000, true}, {6, Outcome::Lost, 0, false}});
    expectOn(line("454", Type::Box), h, {{2, Outcome::Box, 30000, true}, {6, Outcome::Box, 20300, false}});
    expectOn(line("445", Type::Set), h, {{2, Outcome::SetStraight, 60000, true}, {6, Outcome::SetBox, 10100, false}});
    expectOn(line("544", Type::Set), h, {{2, Outcome::SetBox, 15000, true}, {6, Outcome::SetStraight, 40600, false}});
    // 777 is sold only as a straight; as a box or a set (which the ledger refuses) it never wins.
    expectOn(line("777", Type::Straight), h, {{3, Outcome::Straight, 310000, false}});
    expectOn(line("777", Type::Box), h, {{3, Outcome::Lost, 0, false}});
    expectOn(line("777", Type::Set), h, {{3, Outcome::Lost, 0, false}});
}

TEST(TicketResults, AMiniIsTheSecondAndThirdDigitsInOrder)
{
    const History h = ledgerDraws();
    expectOn(line("23", Type::Mini), h, {{1, Outcome::Mini, 9800, false}, {4, Outcome::Lost, 0, false}});
    expectOn(line("77", Type::Mini), h, {{3, Outcome::Mini, 31000, false}});
    expectOn(line("45", Type::Mini), h, {{2, Outcome::Mini, 9000, true}});
    expectOn(line("54", Type::Mini), h, {{2, Outcome::Lost, 0, false}});
    // The first two digits are no mini; nor a number not in the type's form.
    expectOn(line("12", Type::Mini), h, {{1, Outcome::Lost, 0, false}});
    expectOn(line("123", Type::Mini), h, {{1, Outcome::Lost, 0, false}});
    expectOn(line("12", Type::Straight), h, {{1, Outcome::Lost, 0, false}});
    expectOn(line(QStringLiteral("1２3"), Type::Straight), h, {{1, Outcome::Lost, 0, false}});
}

TEST(TicketResults, UnitsMultiplyThePrizeAndTheTextsSayWhatWasPaid)
{
    const History h = ledgerDraws();
    const DrawIndex index(h);
    const auto text = [&](const ticket::Line& l, int drawNo) { return resultOn(l, drawNo, h, index).paidText(); };
    EXPECT_EQ(text(line("123", Type::Straight, 1, 1, 1), 1), "98,700円");
    EXPECT_EQ(text(line("123", Type::Straight, 1, 1, 2), 1), "197,400円");
    EXPECT_EQ(text(line("321", Type::Set, 1, 1, 2), 4), "105,000円（理論値）");
    EXPECT_EQ(text(line("123", Type::Straight, 1, 1, 2), 4), "0円");
    EXPECT_EQ(text(line("123", Type::Straight, 1, 1, 2), 5), "");
    EXPECT_EQ(resultOn(line("321", Type::Set, 1, 1, 2), 4, h, index).paid, 105000);
}

TEST(TicketResults, DrawsAreUndrawnUntilCompleteAndPastTheEndOfTheHistory)
{
    const History h = ledgerDraws();
    const DrawIndex index(h);
    // Draws 4–7: 5 is incomplete (although it has prizes), 7 not in the history yet.
    const ticket::Line l = line("321", Type::Straight, 4, 4, 3);
    const QVector<DrawResult> results = resultsOf(l, h, index);
    ASSERT_EQ(results.size(), 4);
    QStringList rows;
    for (const DrawResult& r : results)
        rows << QString::number(r.drawNo) + u' ' + outcomeText(r.outcome) + u' ' + r.paidText();
    EXPECT_EQ(rows, (QStringList{"4 ストレート 270,000円（理論値）", "5 未抽せん ", "6 はずれ 0円", "7 未抽せん "}));
    EXPECT_EQ(summary(l, results), "4回中2回抽せん済み・ストレート 1回 270,000円（理論値）");
    // Nothing before draw 1 nor past the largest draw number is drawn.
    EXPECT_EQ(resultOn(l, 0, h, index).outcome, Outcome::Undrawn);
    EXPECT_EQ(resultOn(l, 40000, h, index).outcome, Outcome::Undrawn);
}

TEST(TicketResults, TheSummaryCountsTheDrawnDrawsAndTotalsEachKindInTheKindsOrder)
{
    const History h = ledgerDraws();
    const DrawIndex index(h);
    const auto of = [&](const ticket::Line& l) { return summary(l, resultsOf(l, h, index)); };
    EXPECT_EQ(of(line("999", Type::Straight, 7, 3)), "3回中0回抽せん済み");
    EXPECT_EQ(of(line("999", Type::Straight, 4, 3)), "3回中2回抽せん済み・はずれ");
    // A set box on draw 1 (paid) before a set straight on draw 4 (nominal): the set straight
    // comes first, and only its total is nominal.
    EXPECT_EQ(of(line("321", Type::Set, 1, 4, 2)),
              "4回中4回抽せん済み・セットストレート 1回 105,000円（理論値）・セットボックス 1回 16,400円");
    // Two box wins, one of them nominal: their total is marked so.
    EXPECT_EQ(of(line("123", Type::Box, 1, 4)), "4回中4回抽せん済み・ボックス 2回 31,400円（理論値）");
}

TEST(TicketResults, DrawNumbersAreTheStoredOnesAndARepeatedDrawCountsWhenComplete)
{
    // Over draws 3–6 the history is renumbered from 1; the lines name the stored numbers.
    const History ranged = ledgerDraws().overRange({3, 6});
    const DrawIndex index(ranged);
    expectOn(line("321", Type::Straight), ranged,
             {{4, Outcome::Straight, 90000, true}, {1, Outcome::Undrawn, 0, false}, {3, Outcome::Lost, 0, false}});
    expectOn(line("544", Type::Straight), ranged, {{6, Outcome::Straight, 61000, false}});

    // A database made elsewhere may hold draw 2 twice: the complete record is the draw.
    const History repeated = fixture::history({{1, 1, 2, 3}, {2, 4, -1, 5}, {2, 4, 4, 5}, {2, 9, 9, 9}});
    expectOn(line("445", Type::Straight), repeated, {{2, Outcome::Straight, 90000, true}});
    expectOn(line("999", Type::Straight), repeated, {{2, Outcome::Lost, 0, false}});

    // An index made over another history finds nothing in this one rather than a wrong draw.
    const History other = fixture::history({{7, 1, 2, 3}});
    EXPECT_EQ(resultOn(line("123", Type::Straight), 7, ledgerDraws(), DrawIndex(other)).outcome, Outcome::Undrawn);
}

TEST(TicketResults, ADamagedLineGivesNoMoreRowsThanATicketHas)
{
    const History h = ledgerDraws();
    const DrawIndex index(h);
    EXPECT_EQ(resultsOf(line("123", Type::Straight, 1, 1'000'000'000), h, index).size(), ticket::kMaxDraws);
    EXPECT_TRUE(resultsOf(line("123", Type::Straight, 1, -3), h, index).isEmpty());
    EXPECT_EQ(summary(line("123", Type::Straight, 1, -3), {}), "0回中0回抽せん済み");
    // Near the largest int the draw numbers stop rather than wrap round to draw 1.
    const QVector<DrawResult> last
        = resultsOf(line("123", Type::Straight, std::numeric_limits<int>::max() - 1, 5), h, index);
    ASSERT_EQ(last.size(), 2);
    EXPECT_EQ(last.at(1).drawNo, std::numeric_limits<int>::max());
    EXPECT_EQ(last.at(1).outcome, Outcome::Undrawn);
}

TEST(TicketResults, ARefreshReportsEachDrawItCompletedThatTheTicketsCover)
{
    // Before: draws 1–4 as in ledgerDraws, 5 incomplete, 6 not there. After: 5 drawn as 1 4 3
    // (its prizes known), 6 drawn as 5 4 4 (none), 7 drawn but covered by no line.
    const History before = fixture::history({{1, 1, 2, 3}, {2, 4, 4, 5}, {3, 7, 7, 7}, {4, 3, 2, 1}, {5, 1, -1, 3}});
    const History after
        = fixture::history(
              {{1, 1, 2, 3}, {2, 4, 4, 5}, {3, 7, 7, 7}, {4, 3, 2, 1}, {5, 1, 4, 3}, {6, 5, 4, 4}, {7, 0, 0, 0}})
              .withPrizes({{5, paid(90000, 15000, 52500, 7500, 9000)}})
              .withTickets({line("341", Type::Box, 4, 2, 2), line("143", Type::Straight, 5), line("43", Type::Mini, 5),
                            line("445", Type::Set, 6), line("999", Type::Straight, 1, 4)});
    // Draw 5: 2 + 1 + 1 口; the box pays 15,000 × 2, the straight 90,000, the mini 9,000. Draw 6:
    // the set wins its box half at the nominal prize of a double; the line of 999 ended at 4.
    EXPECT_EQ(ticket_results::newDrawReports(before, after),
              QStringList({QStringLiteral(
                               "第5回: 4口 — ストレート当せん 90,000円、ボックス当せん 30,000円、ミニ当せん 9,000円"),
                           QStringLiteral("第6回: 1口 — セットボックス当せん 15,000円（理論値）")}));
    // Nothing new, nothing said; a loss is said as such.
    EXPECT_TRUE(ticket_results::newDrawReports(after, after).isEmpty());
    const History lost = after.withTickets({line("000", Type::Straight, 6, 1, 3)});
    EXPECT_EQ(ticket_results::newDrawReports(before, lost), QStringList({QStringLiteral("第6回: 3口 — はずれ")}));
}
