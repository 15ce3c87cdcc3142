#pragma once
// Backing the history's database up and restoring it from a backup. Both copy with SQLite's
// online backup, which takes a consistent state of the database even while another connection
// (the entry window, another program) writes to it.

#include "data/history.h"
#include "data/regular_file.h"

#include <QDate>
#include <QString>
#include <optional>

namespace database_backup {

// The largest file taken as a backup to restore from: a database with every draw 1–32767 and
// its dates is about a megabyte.
constexpr qint64 kMaxBackupBytes = 64 * 1024 * 1024;

// The name a backup made on that day is offered: Numbers3Zubarin-20261012.db.
QString defaultFileName(const QDate& day);

// Where a restore keeps the database it replaces: Numbers3Zubarin.db.bak beside it.
QString keptCopyPath(const QString& databasePath);

// Copies the database at databasePath into the file target: the copy is built beside the target
// and put at its name only when complete (FileReplacement), and it must open as a database of
// the program. Refused: the database itself or a file beside it, anything but a regular file (or
// nothing yet) at target. The history the copy holds, or nothing with the reason.
std::optional<History> backUp(const QString& databasePath, const QString& target, QString* reason);

// A file chosen to restore from, checked: a regular file of at most kMaxBackupBytes that opens as
// a database of the program (the table 当選データ, the query 全データ選択クエリ) with a readable
// history, and that is not the database at databasePath itself.
struct Candidate {
    QString path;
    History history;
    FileIdentity identity;
};
std::optional<Candidate> inspect(const QString& path, const QString& databasePath, QString* reason);

struct Restored {
    History before; // what the database held, now in keptCopy
    History after; // what it holds now: the backup's history
    QString keptCopy;
};
// Puts the backup's content into the database at databasePath, after keeping what the database
// holds now in keptCopyPath (made as backUp makes a backup). The content is copied into the
// database through a connection of its own, so the file stays the same file and other
// connections to it stay valid; the copy is one transaction, so a failure anywhere leaves the
// database as it was. Refused when the candidate's file is no longer the one inspected, or
// holds something else now.
std::optional<Restored> restore(const Candidate& candidate, const QString& databasePath, QString* reason);

} // namespace database_backup
