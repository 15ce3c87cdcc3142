#pragma once
// Texts the data layer puts into messages: values quoted from files, and the database's reasons.

#include <QString>
#include <QStringView>

class History;
class QSqlError;

namespace message {

// A value from a file as a message shows it: at most 40 characters (then "…"), control
// characters shown by their visible symbols, so one odd field can neither flood a message
// nor break it across lines.
QString excerpt(QStringView value);

// Why the database refused, in Japanese for the common reasons (locked, read-only, disk full,
// I/O error, not a database, cannot open), with SQLite's own text after it in brackets.
QString databaseReason(const QSqlError& error);

// Why a file operation failed, from its errno, in Japanese (the system's own words for the
// rare reasons). Callers say what a missing name means in their case (ENOENT).
QString systemReason(int error);

// True when the error concerns the data of one row (a constraint, a value the table refuses)
// rather than the database as a whole.
bool isRowError(const QSqlError& error);

// What a history holds, as a message names it: 第1回〜第7089回（7,089回分）; 当選データなし
// when it holds no draw.
QString historySpan(const History& history);

} // namespace message
