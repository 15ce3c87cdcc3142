#include "data/draw.h"
#include "data/draw_calendar.h"
#include "data/history_csv.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

using namespace draw_calendar;

namespace {

QDate day(int y, int m, int d)
{
    return QDate(y, m, d);
}

} // namespace

// Every draw of the real history fell on the day the calendar gives it, and the calendar has no
// draw day between two draws that follow each other.
TEST(DrawCalendar, MatchesEveryDateOfTheRealHistory)
{
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_HISTORY_CSV));
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_GT(csv.rows.size(), 7000);
    QDate previous;
    for (const HistoryRow& row : csv.rows) {
        const QDate date = dayOf(csv.extraValue(row, QStringLiteral("抽せん日")));
        ASSERT_TRUE(date.isValid()) << row.drawNo;
        ASSERT_TRUE(isDrawDay(date)) << row.drawNo;
        if (previous.isValid())
            ASSERT_EQ(nextDrawDay(previous), date) << "第" << row.drawNo << "回";
        else
            ASSERT_EQ(date, firstDrawDay());
        previous = date;
    }
    EXPECT_EQ(dayOfDraw(1), day(1994, 10, 7));
    EXPECT_EQ(dayOfDraw(1340), day(2004, 7, 1));
    EXPECT_EQ(dayOfDraw(int(csv.rows.size())), previous);
}

TEST(DrawCalendar, YearEndsAndScheduleChanges)
{
    // Fridays only, then Tuesdays and Fridays after the first year end.
    EXPECT_EQ(nextDrawDay(day(1994, 12, 23)), day(1994, 12, 30));
    EXPECT_EQ(nextDrawDay(day(1994, 12, 30)), day(1995, 1, 6));
    EXPECT_EQ(nextDrawDay(day(1995, 1, 6)), day(1995, 1, 10));
    // Mondays, Wednesdays and Fridays: none on the first Wednesday, 1997/10/01.
    EXPECT_EQ(nextDrawDay(day(1997, 9, 30)), day(1997, 10, 3));
    // Every weekday from 2004/07/01, a Thursday.
    EXPECT_EQ(nextDrawDay(day(2004, 6, 30)), day(2004, 7, 1));
    EXPECT_EQ(nextDrawDay(day(2004, 7, 1)), day(2004, 7, 2));
    // No draw from 12/31 to 01/03, whatever weekdays they are; weekends skipped.
    EXPECT_EQ(nextDrawDay(day(2026, 12, 30)), day(2027, 1, 4));
    EXPECT_EQ(nextDrawDay(day(2027, 12, 30)), day(2028, 1, 4));
    EXPECT_EQ(nextDrawDay(day(2030, 12, 27)), day(2030, 12, 30));
    EXPECT_EQ(nextDrawDay(day(2030, 12, 30)), day(2031, 1, 6));
    EXPECT_EQ(nextDrawDay(day(2026, 10, 9)), day(2026, 10, 12));
    EXPECT_EQ(drawDaysBetween(day(2026, 10, 9), day(2026, 10, 12)), 0);
    EXPECT_EQ(drawDaysBetween(day(2026, 12, 30), day(2027, 1, 6)), 2);
}

TEST(DrawCalendar, StandingOfAHistory)
{
    // The shipped history on the day this was written: 42 weekdays from 2026/10/12 to 12/08.
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_HISTORY_CSV));
    QVector<DrawRecord> rows;
    QStringList dates;
    for (const HistoryRow& h : csv.rows) {
        rows << fixture::record({h.drawNo, *h.digits[0], *h.digits[1], *h.digits[2]});
        dates << csv.extraValue(h, QStringLiteral("抽せん日"));
    }
    // An incomplete draw after the last complete one is not the latest.
    rows << fixture::record({7090, 1});
    dates << QString();
    const History real = History::fromRows(rows, dates);
    Standing s = standingOf(real, day(2026, 12, 9));
    EXPECT_EQ(s.latestDrawNo, 7089);
    EXPECT_EQ(s.latestDay, day(2026, 10, 9));
    EXPECT_EQ(s.nextDrawNo, 7090);
    EXPECT_EQ(s.nextDay, day(2026, 10, 12));
    EXPECT_EQ(s.missing, 42);
    EXPECT_EQ(standingOf(real, day(2026, 10, 12)).missing, 0);
    EXPECT_EQ(standingOf(real, day(2026, 10, 13)).missing, 1);

    // Without stored dates the days come from the draw numbers.
    s = standingOf(fixture::history({{1, 1, 2, 3}, {2, 4, 5, 6}}), day(1994, 10, 20));
    EXPECT_EQ(s.latestDay, day(1994, 10, 14));
    EXPECT_EQ(s.nextDay, day(1994, 10, 21));
    EXPECT_EQ(s.missing, 0);
    s = standingOf(History(), day(2026, 1, 1));
    EXPECT_EQ(s.latestDrawNo, 0);
    EXPECT_EQ(s.nextDrawNo, 1);
}

// A stored date written plainly reads as its day; every other text reads as none.
TEST(PlainDate, ReadsFourTwoTwoDigitsWithOneSeparatorAndARealDay)
{
    EXPECT_EQ(draw::readPlainDate(u"2024/01/05"), day(2024, 1, 5));
    EXPECT_EQ(draw::readPlainDate(u"2024-02-29"), day(2024, 2, 29));
    EXPECT_EQ(draw::readPlainDate(u" \t\u30002000/02/29\u3000 "), day(2000, 2, 29));
    for (const QString& bad :
         {QStringLiteral("2024/1/5"), QStringLiteral("20240105"), QStringLiteral("\uFF12\uFF10\uFF12\uFF14/01/05"),
          QStringLiteral("2024/01/05 12:00"), QStringLiteral("2024/01-05"), QStringLiteral("2024.01.05"),
          QStringLiteral("2023/02/29"), QStringLiteral("1900/02/29"), QStringLiteral("2024/13/01"),
          QStringLiteral("2024/00/10"), QStringLiteral("0000/01/01"), QStringLiteral("2024/01/05\n"),
          QStringLiteral("+024/01/05"), QStringLiteral("2024/01/05(金)"), QString()})
        EXPECT_FALSE(draw::readPlainDate(bad)) << bad.toStdString();
}
