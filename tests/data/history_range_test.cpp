#include "data/history.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

using fixture::history;

namespace {

// Draws 1–6 complete, 7 incomplete, no 8, 9 complete, 10 incomplete.
History sample()
{
    return History::fromRows(
        {fixture::record({1, 1, 2, 3}), fixture::record({2, 4, 5, 6}), fixture::record({3, 7, 8, 9}),
         fixture::record({4, 0, 1, 2}), fixture::record({5, 3, 4, 5}), fixture::record({6, 6, 7, 8}),
         fixture::record({7, 9}), fixture::record({9, 1, 1, 1}), fixture::record({10})},
        {"1994/10/07", "1994/10/14", "1994/10/21", "1994/10/28", "1994/11/04", "1994/11/11", "", "1994/11/25", ""});
}

} // namespace

// Over a range the history is the range's records renumbered from 1, as if it began there:
// a gap stays a gap, an incomplete record stays, and the real numbers come back through the
// offset.
TEST(HistoryRange, IsTheRangesRecordsRenumberedFromItsStart)
{
    const History full = sample();
    const History range = full.overRange({4, 9});
    const History byHand
        = History::fromRows({fixture::record({1, 0, 1, 2}), fixture::record({2, 3, 4, 5}),
                             fixture::record({3, 6, 7, 8}), fixture::record({4, 9}), fixture::record({6, 1, 1, 1})},
                            {"1994/10/28", "1994/11/04", "1994/11/11", "", "1994/11/25"});
    EXPECT_EQ(range.draws(), byHand.draws());
    EXPECT_EQ(range.figures().digitCount, byHand.figures().digitCount);
    EXPECT_EQ(range.lastDrawNo(), 6);
    EXPECT_EQ(range.drawRowCount(), byHand.drawRowCount());
    EXPECT_EQ(range.field(0, QStringLiteral("回数")).toInt(), 1);
    EXPECT_EQ(range.date(4), QStringLiteral("1994/11/25"));
    EXPECT_EQ(range.drawNoOffset(), 3);
    EXPECT_EQ(range.realDrawNo(6), 9);
    EXPECT_FALSE(range == byHand) << "the same draws at another place in the history";

    // A range of a range is taken in real draw numbers.
    const History inner = range.overRange({5, 9});
    EXPECT_EQ(inner.drawNoOffset(), 4);
    EXPECT_EQ(inner.draws().size(), 4);
    EXPECT_EQ(inner.realDrawNo(inner.lastDrawNo()), 9);

    // The whole range is the history itself; an empty one, or one without a record, holds none.
    EXPECT_TRUE(full.overRange({1, 32767}) == full);
    EXPECT_EQ(full.overRange({1, 32767}).drawNoOffset(), 0);
    EXPECT_TRUE(full.overRange({6, 5}).isEmpty());
    EXPECT_TRUE(full.overRange({11, 20}).isEmpty());
    EXPECT_EQ(full.overRange({11, 20}).drawNoOffset(), 10);
    // Records without a complete draw are records all the same.
    EXPECT_EQ(full.overRange({10, 10}).recordCount(), 1);
    EXPECT_EQ(full.overRange({10, 10}).lastDrawNo(), 0);
}

TEST(HistoryRange, ChoicesResolveToDrawNumbers)
{
    const History h = sample();
    EXPECT_EQ(RangeChoice::all().resolve(h), (DrawRange{1, 32767}));
    // The N-th last complete draw on; incomplete records after the last complete one are in.
    EXPECT_EQ(RangeChoice::lastDraws(1).resolve(h), (DrawRange{9, 32767}));
    EXPECT_EQ(RangeChoice::lastDraws(3).resolve(h), (DrawRange{5, 32767}));
    // Exactly as many as there are: from the first complete draw; more: everything.
    EXPECT_EQ(RangeChoice::lastDraws(7).resolve(h), (DrawRange{1, 32767}));
    EXPECT_EQ(RangeChoice::lastDraws(8).resolve(h), (DrawRange{1, 32767}));
    EXPECT_EQ(RangeChoice::between(7, 3).resolve(h), (DrawRange{7, 3}));
    // 直近N回 follows a new draw.
    const History next = History::fromRows(
        {fixture::record({1, 1, 2, 3}), fixture::record({2, 4, 5, 6}), fixture::record({3, 7, 8, 9})});
    EXPECT_EQ(RangeChoice::lastDraws(2).resolve(next), (DrawRange{2, 32767}));
    EXPECT_EQ(RangeChoice::lastDraws(2).resolve(next.overRange({2, 3})), (DrawRange{2, 32767}));
}
