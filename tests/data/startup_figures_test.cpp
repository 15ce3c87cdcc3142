// The start-up figures derived from the draw history.

#include "data/history.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

using Row = DrawRecord;

Row complete(int drawNo, int a, int b, int c)
{
    Row r;
    r.drawNo = drawNo;
    r.digits[0] = std::int8_t(a);
    r.digits[1] = std::int8_t(b);
    r.digits[2] = std::int8_t(c);
    return r;
}

Row missing(int drawNo, std::int8_t marker = Row::kNull)
{
    Row r;
    r.drawNo = drawNo;
    r.digits[0] = r.digits[1] = r.digits[2] = marker;
    return r;
}

// The figures of a history made of the rows (which decides the complete draws).
StartupFigures figuresOf(QVector<Row> rows)
{
    return History::fromRows(std::move(rows)).figures();
}

void expectInvariants(const StartupFigures& f, int completeDraws)
{
    EXPECT_EQ(std::accumulate(f.digitCount.begin(), f.digitCount.end(), 0), 3 * completeDraws);
    EXPECT_EQ(f.completeDraws, completeDraws);
    int listed[10] = {};
    int nonEmpty = 0;
    for (const QString& entry : f.digitsByCount) {
        if (entry.isEmpty())
            continue;
        ++nonEmpty;
        for (const QString& digit : entry.split(u','))
            ++listed[digit.toInt()];
    }
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(listed[d], 1) << "digit " << d << " must stand in exactly one count class";
    EXPECT_EQ(f.classCount, nonEmpty + 1);
    EXPECT_EQ(f.digitsByCount.size(), f.countMax + 1);
}

TEST(StartupFigures, EmptyHistoryKeepsEveryInitialValue)
{
    const StartupFigures f = figuresOf({});
    EXPECT_EQ(f.lastDrawNo, 0);
    EXPECT_EQ(f.countMax, 0);
    EXPECT_EQ(f.countMin, 0);
    EXPECT_EQ(f.classCount, 0);
    EXPECT_TRUE(f.digitsByCount.isEmpty());
    EXPECT_EQ(f.digitCount, (std::array<int, 10>{}));
}

TEST(StartupFigures, RowsWithoutACompleteDrawGiveOneClassOfAllDigits)
{
    const StartupFigures f = figuresOf({missing(1), missing(2, Row::kEmpty)});
    EXPECT_EQ(f.lastDrawNo, 0);
    EXPECT_EQ(f.countMax, 0);
    EXPECT_EQ(f.digitsByCount, QStringList{QStringLiteral("0,1,2,3,4,5,6,7,8,9")});
    EXPECT_EQ(f.classCount, 2);
}

TEST(StartupFigures, RepeatedDigitsCountTwiceAndClassesAscend)
{
    const StartupFigures f = figuresOf({complete(1, 1, 1, 5), complete(2, 0, 5, 9), missing(3)});
    EXPECT_EQ(f.digitCount, (std::array<int, 10>{1, 2, 0, 0, 0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(f.countMax, 2);
    EXPECT_EQ(f.digitsByCount,
              (QStringList{QStringLiteral("2,3,4,6,7,8"), QStringLiteral("0,9"), QStringLiteral("1,5")}));
    EXPECT_EQ(f.classCount, 4);
    EXPECT_EQ(f.lastDrawNo, 2);
    expectInvariants(f, 2);
}

TEST(StartupFigures, PartlyFilledRowIsIncompleteAndLaterDrawsStillCount)
{
    Row half = complete(2, 3, 4, 5);
    half.digits[1] = Row::kEmpty;
    Row oneNull = complete(3, 6, 7, 8);
    oneNull.digits[2] = Row::kNull;
    const StartupFigures f = figuresOf({complete(1, 1, 2, 3), half, oneNull, complete(4, 9, 9, 9), missing(5)});
    EXPECT_EQ(f.lastDrawNo, 4);
    EXPECT_EQ(f.digitCount, (std::array<int, 10>{0, 1, 1, 1, 0, 0, 0, 0, 0, 3}));
    expectInvariants(f, 2);
}

TEST(StartupFigures, GapInDrawNumbersEndsAtTheLastCompleteNumber)
{
    QVector<Row> rows;
    for (int n = 1; n <= 10; ++n)
        rows << complete(n, n % 10, (n + 3) % 10, (n * 7) % 10);
    rows << complete(12, 4, 4, 4);
    const StartupFigures f = figuresOf(rows);
    EXPECT_EQ(f.lastDrawNo, 12);
    expectInvariants(f, 11);
}

TEST(StartupFigures, ValuesOutsideTheDigitsMakeARowIncomplete)
{
    Row odd = complete(2, 1, 2, 3);
    odd.digits[0] = Row::kOther;
    Row badNumber = complete(0, 1, 2, 3); // a 回数 that is not 1–32767
    const StartupFigures f = figuresOf({complete(1, 5, 5, 5), odd, badNumber});
    EXPECT_EQ(f.lastDrawNo, 1);
    EXPECT_EQ(f.digitCount[5], 3);
    expectInvariants(f, 1);
}

TEST(StartupFigures, CountsAreNotLimitedToSixteenBits)
{
    QVector<Row> rows;
    for (int n = 1; n <= 32767; ++n)
        rows << complete(n, 7, 7, n % 2 ? 7 : 1);
    const StartupFigures f = figuresOf(rows);
    EXPECT_EQ(f.digitCount[7], 2 * 32767 + 16384);
    EXPECT_GT(f.countMax, 32767);
    EXPECT_EQ(f.digitsByCount.size(), f.countMax + 1);
    EXPECT_EQ(f.digitsByCount.at(16383), QStringLiteral("1"));
    EXPECT_EQ(f.lastDrawNo, 32767);
    expectInvariants(f, 32767);
}

} // namespace
