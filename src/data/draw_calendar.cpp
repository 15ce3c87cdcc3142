#include "data/draw_calendar.h"

#include "data/draw.h"
#include "data/history.h"

namespace draw_calendar {

namespace {

const QDate kFirstDay(1994, 10, 7);
const QDate kTwiceWeekly(1995, 1, 1); // Tuesdays and Fridays
const QDate kThriceWeekly(1997, 10, 2); // Mondays, Wednesdays and Fridays (none on 1997/10/01)
const QDate kEveryWeekday(2004, 7, 1);

bool inYearEndBreak(const QDate& day)
{
    return (day.month() == 12 && day.day() == 31) || (day.month() == 1 && day.day() <= 3);
}

} // namespace

QDate firstDrawDay()
{
    return kFirstDay;
}

bool isDrawDay(const QDate& day)
{
    if (!day.isValid() || day < kFirstDay || inYearEndBreak(day))
        return false;
    const int weekday = day.dayOfWeek(); // Monday 1 … Sunday 7
    if (day >= kEveryWeekday)
        return weekday <= 5;
    if (day >= kThriceWeekly)
        return weekday == 1 || weekday == 3 || weekday == 5;
    if (day >= kTwiceWeekly)
        return weekday == 2 || weekday == 5;
    return weekday == 5;
}

QDate nextDrawDay(const QDate& day)
{
    if (!day.isValid() || day < kFirstDay)
        return kFirstDay;
    QDate next = day.addDays(1);
    while (!isDrawDay(next))
        next = next.addDays(1);
    return next;
}

int drawDaysBetween(const QDate& after, const QDate& before)
{
    if (!after.isValid() || !before.isValid())
        return 0;
    int count = 0;
    for (QDate day = nextDrawDay(after); day < before; day = nextDrawDay(day))
        ++count;
    return count;
}

QDate dayOfDraw(int drawNo)
{
    if (drawNo < 1)
        return {};
    QDate day = kFirstDay;
    for (int n = 1; n < drawNo; ++n)
        day = nextDrawDay(day);
    return day;
}

QDate dayOf(const QString& text)
{
    return draw::readDate(text).date.value_or(QDate());
}

Standing standingOf(const History& history, const QDate& today)
{
    Standing standing;
    const QVector<DrawRecord>& draws = history.draws();
    for (qsizetype i = draws.size() - 1; i >= 0; --i) {
        if (!draws.at(i).complete)
            continue;
        standing.latestDrawNo = draws.at(i).drawNo;
        standing.latestDay = dayOf(history.date(i));
        break;
    }
    if (standing.latestDrawNo > 0 && !standing.latestDay.isValid())
        standing.latestDay = dayOfDraw(standing.latestDrawNo);
    standing.nextDrawNo = standing.latestDrawNo + 1;
    standing.nextDay = standing.latestDrawNo > 0 ? nextDrawDay(standing.latestDay) : firstDrawDay();
    if (today.isValid() && standing.nextDay < today)
        standing.missing = 1 + drawDaysBetween(standing.nextDay, today);
    return standing;
}

} // namespace draw_calendar
