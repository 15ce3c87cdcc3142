#include "data/database_backup.h"

#include "data/draw_database.h"
#include "data/file_write.h"
#include "data/message_text.h"
#include "data/sqlite_handle.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QTemporaryFile>
#include <QThread>

#include <cerrno>

namespace database_backup {

namespace {

// How long a copy waits, in all, for the locks another connection holds (each attempt waits
// as long as the connection's own busy timeout besides).
constexpr int kLockWaitMs = 30000;
// How often a restore takes the kept copy again when another program wrote meanwhile.
constexpr int kKeepAttempts = 3;

QString sqliteReason(int code)
{
    return message::databaseReason(QSqlError(QString(), QString::fromUtf8(sqlite3_errstr(code)),
                                             QSqlError::StatementError, QString::number(code)));
}

// Copies every page of the database of `from` into that of `to` in one step: one read of the
// source under one lock, one transaction on the destination, which a failure rolls back.
bool copyPages(sqlite3* from, sqlite3* to, QString* reason)
{
    if (!from || !to) {
        *reason = QStringLiteral("SQLite のデータベースではありません");
        return false;
    }
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup) {
        *reason = sqliteReason(sqlite3_extended_errcode(to));
        return false;
    }
    const QDeadlineTimer deadline(kLockWaitMs);
    int step;
    for (;;) {
        step = sqlite3_backup_step(backup, -1);
        if (step == SQLITE_DONE)
            break;
        const bool waiting = step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED;
        if (!waiting || deadline.hasExpired())
            break;
        QThread::msleep(20);
    }
    const int finished = sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE) {
        *reason = sqliteReason(step);
        return false;
    }
    if (finished != SQLITE_OK) {
        *reason = sqliteReason(finished);
        return false;
    }
    return true;
}

// Opens a database of the program at path for reading (DrawDatabase's checks).
bool openProgramDatabase(DrawDatabase& database, QString* reason)
{
    if (database.open(reason))
        return true;
    *reason = QStringLiteral("ナンバーズ3ズバリンのデータベースとして開けません（%1）").arg(*reason);
    return false;
}

// The history of the database file at path, as the program reads it.
std::optional<History> historyOf(const QString& path, QString* reason)
{
    DrawDatabase database(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadOnly);
    if (!openProgramDatabase(database, reason))
        return std::nullopt;
    return database.readHistory(reason);
}

// Copies the database `from` into the temporary file of `file` and returns what the copy holds,
// read as the program reads a database.
std::optional<History> copyInto(sqlite3* from, FileReplacement& file, QString* reason)
{
    const QString building = file.temporaryPath();
    bool copied = false;
    {
        DrawDatabase copy(DrawDatabase::connectString(building), DrawDatabase::Mode::ReadWrite);
        if (!copy.database().open())
            *reason = message::databaseReason(copy.database().lastError());
        else
            copied = copyPages(from, sqliteHandle(copy.database()), reason);
    }
    QFile::remove(building + QStringLiteral("-journal"));
    if (!copied)
        return std::nullopt;
    return historyOf(building, reason);
}

std::optional<History> copyTo(sqlite3* from, const QString& target, QString* reason)
{
    FileReplacement file;
    if (!file.begin(target, reason))
        return std::nullopt;
    std::optional<History> held = copyInto(from, file, reason);
    if (!held || !file.commit(reason))
        return std::nullopt;
    return held;
}

} // namespace

QString defaultFileName(const QDate& day)
{
    return QStringLiteral("Numbers3Zubarin-%1.db").arg(day.toString(QStringLiteral("yyyyMMdd")));
}

QString keptCopyPath(const QString& databasePath)
{
    return databasePath + QStringLiteral(".bak");
}

std::optional<History> backUp(const QString& databasePath, const QString& target, QString* reason)
{
    if (DrawDatabase::isDatabaseFile(databasePath, target)) {
        *reason = QStringLiteral("当選データのデータベースそのもの（またはその横で SQLite が使うファイル）です");
        return std::nullopt;
    }
    DrawDatabase source(DrawDatabase::connectString(databasePath), DrawDatabase::Mode::ReadOnly);
    if (!source.open(reason))
        return std::nullopt;
    return copyTo(sqliteHandle(source.database()), target, reason);
}

std::optional<Candidate> inspect(const QString& path, const QString& databasePath, QString* reason)
{
    Candidate candidate;
    candidate.path = path;
    {
        // A regular file of a sensible size; a FIFO is refused without waiting for a writer.
        QFile probe;
        if (!openRegularFile(probe, path, kMaxBackupBytes, reason))
            return std::nullopt;
    }
    if (DrawDatabase::isDatabaseFile(databasePath, path)) {
        *reason = QStringLiteral("今使っている当選データのデータベースそのものです");
        return std::nullopt;
    }
    const std::optional<FileIdentity> identity = identityOf(path);
    if (!identity) {
        *reason = message::systemReason(ENOENT);
        return std::nullopt;
    }
    candidate.identity = *identity;
    std::optional<History> history = historyOf(path, reason);
    if (!history)
        return std::nullopt;
    candidate.history = std::move(*history);
    return candidate;
}

std::optional<Restored> restore(const Candidate& candidate, const QString& databasePath, QString* reason)
{
    if (identityOf(candidate.path) != candidate.identity) {
        *reason = QStringLiteral("確かめたあとで、バックアップのファイルが別のファイルに替わりました");
        return std::nullopt;
    }
    // The backup is taken as it is now into a file of its own first: the kept copy may be the
    // very file restored from (a restore undone), and what is put back must be what was shown.
    QTemporaryFile snapshotFile(QDir(QDir::tempPath()).filePath(QStringLiteral("numbers3zubarin-restore-XXXXXX.db")));
    if (!snapshotFile.open()) {
        *reason = QStringLiteral("一時ファイルを作れません（%1）").arg(snapshotFile.errorString());
        return std::nullopt;
    }
    snapshotFile.close();
    const QString snapshot = snapshotFile.fileName();
    struct JournalGone {
        QString path;
        ~JournalGone() { QFile::remove(path); }
    } journalGone{snapshot + QStringLiteral("-journal")};
    {
        DrawDatabase source(DrawDatabase::connectString(candidate.path), DrawDatabase::Mode::ReadOnly);
        if (!openProgramDatabase(source, reason))
            return std::nullopt;
        DrawDatabase copy(DrawDatabase::connectString(snapshot), DrawDatabase::Mode::ReadWrite);
        if (!copy.database().open()) {
            *reason = message::databaseReason(copy.database().lastError());
            return std::nullopt;
        }
        if (!copyPages(sqliteHandle(source.database()), sqliteHandle(copy.database()), reason))
            return std::nullopt;
    }
    const std::optional<History> restoring = historyOf(snapshot, reason);
    if (!restoring)
        return std::nullopt;
    if (!(*restoring == candidate.history)) {
        *reason = QStringLiteral("確かめたあとで、バックアップの中身が変わりました");
        return std::nullopt;
    }

    DrawDatabase live(DrawDatabase::connectString(databasePath), DrawDatabase::Mode::ReadWrite);
    if (!live.open(reason))
        return std::nullopt;
    Restored restored;
    restored.keptCopy = keptCopyPath(databasePath);
    // The kept copy is what the restore replaces: should another program write between the copy
    // and the restore, the copy is taken again.
    bool kept = false;
    for (int attempt = 0; !kept && attempt < kKeepAttempts; ++attempt) {
        const std::optional<qint64> before = live.dataVersion();
        std::optional<History> held = copyTo(sqliteHandle(live.database()), restored.keptCopy, reason);
        if (!held) {
            *reason = QStringLiteral("今の当選データを %1 に残せません（%2）")
                          .arg(QDir::toNativeSeparators(restored.keptCopy), *reason);
            return std::nullopt;
        }
        restored.before = std::move(*held);
        kept = before && live.dataVersion() == before;
    }
    if (!kept) {
        *reason = QStringLiteral("ほかのプログラムがデータベースに書き込み続けています");
        return std::nullopt;
    }
    {
        DrawDatabase source(DrawDatabase::connectString(snapshot), DrawDatabase::Mode::ReadOnly);
        if (!source.open(reason))
            return std::nullopt;
        if (!copyPages(sqliteHandle(source.database()), sqliteHandle(live.database()), reason))
            return std::nullopt;
    }
    std::optional<History> after = live.readHistory(reason);
    if (!after)
        return std::nullopt;
    restored.after = std::move(*after);
    return restored;
}

} // namespace database_backup
