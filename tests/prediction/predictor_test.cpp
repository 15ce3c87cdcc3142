// The predictor: the cycle table searched from the history, the elimination rules on missing
// and short histories, and where the repeat and one-shot picks stop. (The hand-worked history
// is checked cell by cell on the grids.)

#include "support/prediction_test_support.h"
#include "prediction/predictor.h"

#include <gtest/gtest.h>

namespace {

using namespace prediction;

constexpr int _ = kNoDigit;

Prediction predictFrom(const History& history, int reflected)
{
    return predict(PredictionTables::build(history), history.lastDrawNo(), reflected);
}

TEST(Predictor, DigitBackAfterNineDrawsAtAnyPositionSetsItsOwnPositionUntilOverwritten)
{
    // 5, third in draw 1, comes back second in draw 10; 2 is always last seen one draw before.
    QVector<DrawRecord> rows;
    for (int n = 1; n <= 20; ++n)
        rows << DrawRecord{n, {2, 2, 2}};
    rows[0] = {1, {1, 1, 5}};
    rows[9] = {10, {3, 5, 3}};
    EXPECT_EQ(predictFrom(History::fromRows(rows.mid(0, 10)), 0).cycle,
              (CycleTable{{{_, _, _}, {_, 5, _}, {_, _, _}, {_, _, _}}}));

    // 3 of draw 10 comes back second in draw 19 and replaces the 5; 5 back after 10 draws and 1
    // back after 19 in draw 20 change nothing.
    rows[18] = {19, {2, 3, 2}};
    rows[19] = {20, {5, 2, 1}};
    EXPECT_EQ(predictFrom(History::fromRows(rows), 0).cycle,
              (CycleTable{{{_, _, _}, {_, 3, _}, {_, _, _}, {_, _, _}}}));
}

TEST(Predictor, MissingDrawNumbersReadAsZerosAndShortHistoriesGiveFewerDigits)
{
    // Draw 2 was never entered. The 0 of draw 11 finds it nine draws back; rule 14 reads it
    // (offset 9 alone), and one draw further back reads draw 1 (1 + 9 wraps to 1).
    const History gap = fixture::history({{1, 1, 1, 1},
                                          {3, 1, 1, 1},
                                          {4, 1, 1, 1},
                                          {5, 1, 1, 1},
                                          {6, 1, 1, 1},
                                          {7, 1, 1, 1},
                                          {8, 1, 1, 1},
                                          {9, 1, 1, 1},
                                          {10, 1, 1, 1},
                                          {11, 0, 1, 1}});
    EXPECT_EQ(predictFrom(gap, 0).cycle, (CycleTable{{{_, _, _}, {0, _, _}, {_, _, _}, {_, _, _}}}));
    EXPECT_EQ(predictFrom(gap, 0).elimination[14], 9);
    EXPECT_EQ(predictFrom(gap, 1).elimination[14], 1);

    // One draw: rules 0 and 1 read it, 2 and 3 read row 0 (0 + 0 wraps to 9, 0 − 7 to 2), the
    // rest have no row. No complete draw at all: rules 0 and 1 read row 0.
    const History one = fixture::history({{1, 2, 3, 4}});
    EXPECT_EQ(predictFrom(one, 0).elimination,
              (std::array<int, kRuleCount>{3, 2, 9, 2, _, _, _, _, _, _, _, _, _, _, _}));
    EXPECT_EQ(predictFrom(one, 0).eliminationShown, (QList<int>{3, 2, 9}));
    EXPECT_EQ(predictFrom(one, 1).eliminationShown, (QList<int>{1, 8}));
    EXPECT_TRUE(predictFrom(one, 2).eliminationShown.isEmpty());
    const Prediction empty = predictFrom(fixture::history({{1}, {2, 4, 4, -1}}), 0);
    EXPECT_EQ(empty.cycle, kEmptyCycle);
    EXPECT_EQ(empty.eliminationShown, (QList<int>{1, 8}));
    EXPECT_TRUE(empty.repeat.isEmpty() && empty.oneShot.isEmpty());
}

TEST(Predictor, PicksStopAtAMethodsFirstEmptyEntryAndOneShotAtSeven)
{
    // With no history the elimination digits are 1 and 8.
    PredictionTables tables;
    tables.cycle = {{{_, 1, 1}, {8, _, 1}, {_, _, _}, {_, _, _}}};
    EXPECT_EQ(predict(tables, 0, 0).repeat, (QList<int>{8}));
    EXPECT_EQ(predict(tables, 0, 0).oneShot, (QList<int>{8}));

    tables.cycle = {{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, _, _}}};
    EXPECT_EQ(predict(tables, 0, 0).repeat, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(predict(tables, 0, 0).oneShot, (QList<int>{0, 1, 2, 3, 6, 7, 8}));
}

TEST(Predictor, RealHistory)
{
    const History history = fixture::realHistory();
    ASSERT_EQ(history.lastDrawNo(), 7089);
    // Worked out from the draws by a separate reading of the rules.
    const Prediction none = predictFrom(history, 0);
    EXPECT_EQ(none.cycle, (CycleTable{{{0, 3, 2}, {8, 3, 0}, {4, 3, 2}, {8, 5, 3}}}));
    EXPECT_EQ(none.elimination, (std::array<int, kRuleCount>{5, 2, 1, 7, 4, 8, 4, 6, 4, 6, 6, 9, 1, 2, 2}));
    EXPECT_EQ(none.repeat, (QList<int>{3, 2, 8, 4, 5, 0}));
    EXPECT_EQ(none.oneShot, (QList<int>{3, 4, 5, 0, 2, 8}));
    EXPECT_EQ(predictFrom(history, 3).eliminationShown, (QList<int>{2, 8, 1, 9, 7, 3, 6, 0}));
}

} // namespace
