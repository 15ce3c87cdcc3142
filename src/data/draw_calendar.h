#pragma once
// The days Numbers 3 is drawn on, and where a history stands against today.
//
// The first draw was on 1994/10/07. Draws were held on Fridays to the end of 1994, on Tuesdays
// and Fridays from 1995 to 1997/09/30, on Mondays, Wednesdays and Fridays from 1997/10/03 to
// 2004/06/30, and on every weekday since 2004/07/01 (第1340回). There is no draw from 12/31 to
// 01/03, and there is one on every other scheduled day.

#include <QDate>
#include <QString>

class History;

namespace draw_calendar {

// The day of 第1回.
QDate firstDrawDay();
// Whether the schedule of its time holds a draw on that day.
bool isDrawDay(const QDate& day);
// The first draw day after day (第1回's day for any day before it).
QDate nextDrawDay(const QDate& day);
// The draw days strictly between two days.
int drawDaysBetween(const QDate& after, const QDate& before);
// The day of a draw by its number, counted from 第1回 (invalid for a number below 1).
QDate dayOfDraw(int drawNo);

// The day a stored or typed date names (draw::readDate); invalid when it names none.
QDate dayOf(const QString& text);

// Where a history stands on a given day: its last complete draw and the one after it.
struct Standing {
    int latestDrawNo = 0; // 0: the history has no complete draw
    QDate latestDay; // as stored, or else by the calendar
    int nextDrawNo = 1;
    QDate nextDay; // by the calendar from the latest draw's day
    int missing = 0; // draw days from the next draw's day up to the day before today
};
Standing standingOf(const History& history, const QDate& today);

} // namespace draw_calendar
