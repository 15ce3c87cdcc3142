#include "data/draw_database.h"

#include "data/draw.h"
#include "data/file_write.h"
#include "data/history_csv.h"

#include "data/message_text.h"
#include "data/sqlite_handle.h"
#include "data/tickets.h"

#include <QAtomicInt>
#include <QHash>
#include <QSet>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <QUrl>

#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const QString DrawDatabase::kFileName = QStringLiteral("Numbers3Zubarin.db");
const QString DrawDatabase::kHistoryFileName = QStringLiteral("numbers3-history.csv");
const QString DrawDatabase::kTable = QStringLiteral("当選データ");
const QString DrawDatabase::kQuery = QStringLiteral("全データ選択クエリ");
const QString DrawDatabase::kSelectAll = QStringLiteral("select * from 全データ選択クエリ order by 回数");
const QString DrawDatabase::kPrizeTable = QStringLiteral("当せん金");
const QString DrawDatabase::kTicketTable = QStringLiteral("購入記録");
const QString DrawDatabase::kPrizesFileName = QStringLiteral("numbers3-prizes.csv");

QString DrawDatabase::shippedPrizesBeside(const QString& shippedHistoryPath)
{
    return QFileInfo(shippedHistoryPath).dir().filePath(kPrizesFileName);
}

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kDriverKey = QStringLiteral("Driver=");
const QString kSourceKey = QStringLiteral(";Data Source=");
// Beside the database while it is being created: the unfinished file and the creators' lock.
const QString kCreatingSuffix = QStringLiteral(".creating");
const QString kLockSuffix = QStringLiteral(".lock");

QString digitColumn(int p)
{
    return QStringLiteral("%1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN 0 AND 9))")
        .arg(draw::kDigitFields[p]);
}

// The table 当せん金: 回数, then a count and an amount for each kind. An amount not typed yet is
// Null (the entry window stores a draw's amounts one by one); a count may stay unknown.
QString prizeTableSql()
{
    QStringList columns{QStringLiteral("%1 INTEGER PRIMARY KEY CHECK (%1 BETWEEN %2 AND %3)")
                            .arg(draw::kDrawNoField)
                            .arg(draw::kMinDrawNo)
                            .arg(draw::kMaxDrawNo)};
    for (int k = 0; k < prize::kKinds; ++k) {
        columns << QStringLiteral("%1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN 0 AND %2))")
                       .arg(prize::countField(k))
                       .arg(prize::kMaxCount);
        columns << QStringLiteral("%1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN 0 AND %2 "
                                  "AND %1 % %3 = 0))")
                       .arg(prize::amountField(k))
                       .arg(prize::kMaxAmount)
                       .arg(prize::kAmountStep);
    }
    return QStringLiteral("create table %1 (%2)").arg(DrawDatabase::kPrizeTable, columns.join(QStringLiteral(", ")));
}

// The table 購入記録: the player's ticket lines, each refused by the rules of the game as
// ticket::refusals() states them.
QString ticketTableSql()
{
    return QStringLiteral(
               "create table 購入記録 ("
               "id INTEGER PRIMARY KEY, "
               "開始回 INTEGER NOT NULL CHECK (typeof(開始回) = 'integer' AND 開始回 BETWEEN %1 AND %2), "
               "継続回数 INTEGER NOT NULL CHECK (typeof(継続回数) = 'integer' AND 継続回数 BETWEEN 1 AND %3), "
               "番号 TEXT NOT NULL CHECK (typeof(番号) = 'text'), "
               "申込 TEXT NOT NULL CHECK (申込 IN ('ストレート', 'ボックス', 'セット', 'ミニ')), "
               "口数 INTEGER NOT NULL CHECK (typeof(口数) = 'integer' AND 口数 BETWEEN 1 AND %4), "
               "メモ TEXT NOT NULL DEFAULT '' CHECK (typeof(メモ) = 'text' AND instr(メモ, char(10)) = 0 "
               "AND instr(メモ, char(13)) = 0), "
               "記録日時 TEXT NOT NULL, "
               "CHECK (開始回 + 継続回数 - 1 <= %2), "
               "CHECK (CASE 申込 WHEN 'ミニ' THEN length(番号) = 2 AND 番号 GLOB '[0-9][0-9]' "
               "ELSE length(番号) = 3 AND 番号 GLOB '[0-9][0-9][0-9]' END), "
               "CHECK (申込 NOT IN ('ボックス', 'セット') OR NOT (substr(番号, 1, 1) = substr(番号, 2, 1) "
               "AND substr(番号, 2, 1) = substr(番号, 3, 1))))")
        .arg(draw::kMinDrawNo)
        .arg(draw::kMaxDrawNo)
        .arg(ticket::kMaxDraws)
        .arg(ticket::kMaxUnits);
}

// SQLite opens a file named by URI without creating it (mode=ro or mode=rw).
QString uriOf(const QString& path, bool writable)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
        + (writable ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro"));
}

// The unfinished files of creations beside the database (and their journals).
QStringList creatingFiles(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().entryList({info.fileName() + kCreatingSuffix + u'*'},
                                QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// True when something stands at the name, a link to nothing included.
bool nameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Removes the unfinished files of creations; only while holding the creators' lock.
void removeCreatingFiles(const QString& path)
{
    const QDir folder = QFileInfo(path).dir();
    for (const QString& stale : creatingFiles(path))
        QFile::remove(folder.filePath(stale));
}

// Puts the finished file at its name unless a file of that name exists. False with errno
// EEXIST when one does.
bool moveIntoPlaceExclusively(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return false;
    // A file system without the exclusive rename: a second name that cannot replace, then
    // the first one dropped.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS)
        return false;
    // Nor hard links (a memory stick's FAT): the creators' lock is all that keeps them apart.
    struct stat st { };
    if (::lstat(target.constData(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(source.constData(), target.constData()) == 0;
}

// Makes the new name itself survive a power cut, not only the file's contents.
void syncFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The creators' lock: whoever holds a kernel lock (flock) on the file beside the database may
// create it. The kernel lets go of a lock when its process ends, however it ends, so a lock
// file that a killed creator left behind (empty, or naming a process that is gone) holds
// nobody back. The file also names the holder, as Qt's lock files do, for a person looking.
class CreatorsLock {
public:
    enum class Result { Held, Busy, Failed };

    explicit CreatorsLock(QString path) : m_path(std::move(path)) { }
    ~CreatorsLock()
    {
        if (m_fd < 0)
            return;
        // Removed while still held: a waiter that opened this file finds it gone and starts anew.
        ::unlink(QFile::encodeName(m_path).constData());
        ::close(m_fd);
    }
    CreatorsLock(const CreatorsLock&) = delete;
    CreatorsLock& operator=(const CreatorsLock&) = delete;

    // Takes the lock, waiting up to waitMs for a holder to let go. Failed: the file cannot be
    // made or opened (errno says why).
    Result acquire(int waitMs)
    {
        const QByteArray name = QFile::encodeName(m_path);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        for (;;) {
            int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0644);
            if (fd < 0 && (errno == EACCES || errno == EROFS))
                fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY); // another user's lock
            if (fd < 0)
                return Result::Failed;
            struct stat opened { };
            if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
                ::close(fd);
                errno = EINVAL;
                return Result::Failed;
            }
            int locked;
            do
                locked = ::flock(fd, LOCK_EX | LOCK_NB);
            while (locked != 0 && errno == EINTR);
            if (locked == 0 || (errno != EWOULDBLOCK && errno != EAGAIN)) {
                // Where the file system has no such locks, the exclusive rename that puts the
                // database in place still keeps creators from overwriting each other.
                struct stat now { };
                if (::stat(name.constData(), &now) != 0 || now.st_dev != opened.st_dev || now.st_ino != opened.st_ino) {
                    ::close(fd); // its holder removed it as it let go: a new one is made
                    continue;
                }
                m_fd = fd;
                const QByteArray holder = QByteArray::number(qint64(::getpid())) + "\nnumbers3zubarin\n";
                if (::ftruncate(fd, 0) == 0) {
                    [[maybe_unused]] const ssize_t written = ::write(fd, holder.constData(), size_t(holder.size()));
                }
                return Result::Held;
            }
            ::close(fd);
            if (std::chrono::steady_clock::now() >= deadline)
                return Result::Busy;
            QThread::msleep(20);
        }
    }

private:
    QString m_path;
    int m_fd = -1;
};

} // namespace

QString DrawDatabase::connectString(const QString& databasePath)
{
    return kDriverKey + kDriver + kSourceKey + QDir::toNativeSeparators(databasePath);
}

namespace {

// Where a path leads: the canonical file when it exists, else the canonical folder and the name
// the chain of links ends on (a name not there yet, in a folder that is). Empty when neither
// can be said.
QString whereItLeads(const QString& path)
{
    const QString end = whereLinksEnd(path);
    if (end.isEmpty())
        return QString();
    const QFileInfo info(end);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(info.fileName());
}

// The same file, also under another name (a hard link).
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
        && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

bool DrawDatabase::isDatabaseFile(const QString& databasePath, const QString& path)
{
    if (databasePath.isEmpty() || path.isEmpty())
        return false;
    const QString target = whereItLeads(path);
    for (const QString& suffix :
         {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm"), kLockSuffix}) {
        const QString file = databasePath + suffix;
        if ((!target.isEmpty() && target == whereItLeads(file)) || sameFile(path, file))
            return true;
    }
    return false;
}

QString DrawDatabase::pathOf(const QString& connectString)
{
    const qsizetype at = connectString.indexOf(kSourceKey);
    return at < 0 ? QString() : QDir::fromNativeSeparators(connectString.mid(at + kSourceKey.size()));
}

DrawDatabase::DrawDatabase(const QString& connectString, Mode mode) : m_path(pathOf(connectString)), m_mode(mode)
{
    static QAtomicInt serial;
    m_connectionName = QStringLiteral("draws-%1").arg(serial.fetchAndAddRelaxed(1));
    m_db = QSqlDatabase::addDatabase(kDriver, m_connectionName);
    // Opened as a plain name, SQLite creates a missing file: only for building a new database.
    m_db.setDatabaseName(m_path);
}

DrawDatabase::~DrawDatabase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool DrawDatabase::open(QString* reason)
{
    const QFileInfo info(m_path);
    if (!info.exists()) {
        *reason = QStringLiteral("ファイルがありません");
        return false;
    }
    if (!info.isFile()) {
        *reason = QStringLiteral("通常のファイルではありません");
        return false;
    }
    if (!info.isReadable()) {
        *reason = QStringLiteral("ファイルを読む権限がありません");
        return false;
    }
    // Rolling back an interrupted write needs the file and its folder (the journal goes).
    const QByteArray file = QFile::encodeName(m_path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    m_writable = m_mode == Mode::ReadWrite
        || (::access(file.constData(), W_OK) == 0 && ::access(folder.constData(), W_OK) == 0);
    m_db.setDatabaseName(uriOf(m_path, m_writable));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!m_db.open()) {
        *reason = message::databaseReason(m_db.lastError());
        explainUnrecoverableJournal(reason);
        return false;
    }
    if (m_mode == Mode::ReadOnly && m_writable) {
        QSqlQuery guard(m_db);
        if (!guard.exec(QStringLiteral("pragma query_only = 1"))) {
            *reason = message::databaseReason(guard.lastError());
            m_db.close();
            return false;
        }
    }
    if (!checkSchema(reason)) {
        explainUnrecoverableJournal(reason);
        m_db.close();
        return false;
    }
    return true;
}

void DrawDatabase::explainUnrecoverableJournal(QString* reason) const
{
    if (m_writable)
        return;
    const QFileInfo journal(m_path + QStringLiteral("-journal"));
    if (journal.exists() && journal.size() > 0)
        *reason = QStringLiteral("書き込みが途中で止まった跡（%1）がありますが、このファイルかそのフォルダーに"
                                 "書き込めないため元に戻せません。書き込める利用者で一度開いてください（%2）")
                      .arg(journal.fileName(), *reason);
}

bool DrawDatabase::checkSchema(QString* reason)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select type, name from sqlite_master where type in ('table', 'view')"))) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    bool hasTable = false;
    bool hasQuery = false;
    while (query.next()) {
        const QString type = query.value(0).toString();
        const QString name = query.value(1).toString();
        hasTable = hasTable || (type == QLatin1String("table") && name == kTable);
        hasQuery = hasQuery || name == kQuery;
    }
    if (!hasTable) {
        *reason = QStringLiteral("テーブル「%1」がありません").arg(kTable);
        return false;
    }
    if (!hasQuery) {
        *reason = QStringLiteral("クエリ「%1」がありません").arg(kQuery);
        return false;
    }
    // The query must deliver the four fields the program reads.
    if (!query.exec(QStringLiteral("select * from %1 limit 0").arg(kQuery))) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    const QSqlRecord fields = query.record();
    for (const QString& name :
         {draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2]}) {
        if (fields.indexOf(name) < 0) {
            *reason = QStringLiteral("クエリ「%1」に項目「%2」がありません").arg(kQuery, name);
            return false;
        }
    }
    return true;
}

bool DrawDatabase::createSchema(QString* reason)
{
    const QStringList statements = {
        QStringLiteral("create table %1 (%2 INTEGER PRIMARY KEY CHECK (%2 BETWEEN %3 AND %4), %5, %6, %7, %8 TEXT)")
            .arg(kTable, draw::kDrawNoField)
            .arg(draw::kMinDrawNo)
            .arg(draw::kMaxDrawNo)
            .arg(digitColumn(0), digitColumn(1), digitColumn(2), draw::kDateField),
        QStringLiteral("create view %1 as select %2, %3, %4, %5, %6 from %7")
            .arg(kQuery, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2],
                 draw::kDateField, kTable),
        prizeTableSql(),
        ticketTableSql(),
        QStringLiteral("pragma user_version = %1").arg(kSchemaVersion),
    };
    QSqlQuery query(m_db);
    for (const QString& sql : statements) {
        if (!query.exec(sql)) {
            *reason = message::databaseReason(query.lastError());
            return false;
        }
    }
    return true;
}

std::optional<History> DrawDatabase::readHistory(QString* reason)
{
    std::optional<History> history = History::read(m_db, kSelectAll, reason);
    if (!history)
        return history;
    if (hasPrizeTable()) {
        const std::optional<QHash<int, prize::DrawPrizes>> prizes = storedPrizes(reason);
        if (!prizes)
            return std::nullopt;
        history = history->withPrizes(*prizes);
    }
    if (hasTicketTable()) {
        std::optional<QVector<ticket::Line>> lines = storedTickets(reason);
        if (!lines)
            return std::nullopt;
        history = history->withTickets(std::move(*lines));
    }
    return history;
}

bool DrawDatabase::hasPrizeTable()
{
    return hasTable(kPrizeTable);
}

std::optional<int> DrawDatabase::userVersion()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("pragma user_version")) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

bool DrawDatabase::needsUpgrade()
{
    // A database of a later version is left as it is: what it adds, this program does not know.
    const int version = userVersion().value_or(0);
    return version < kSchemaVersion || (version == kSchemaVersion && (!hasPrizeTable() || !hasTicketTable()));
}

bool DrawDatabase::hasTicketTable()
{
    return hasTable(kTicketTable);
}

bool DrawDatabase::hasTable(const QString& name)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"));
    query.addBindValue(name);
    return query.exec() && query.next();
}

namespace {

// The select of every prize field, 回数 first.
QString prizeSelect(const QString& table)
{
    return QStringLiteral("select %1 from %2").arg(prize::fileHeader().join(QStringLiteral(", ")), table);
}

// A stored whole number, when the field holds one (an edit outside the program may store text).
std::optional<int> storedInt(const QVariant& value)
{
    if (value.isNull() || (value.typeId() != QMetaType::LongLong && value.typeId() != QMetaType::Int))
        return std::nullopt;
    return int(value.toLongLong());
}

} // namespace

std::optional<QHash<int, DrawDatabase::PrizeAmounts>> DrawDatabase::storedAmounts(QString* reason)
{
    QHash<int, PrizeAmounts> byDrawNo;
    if (!hasPrizeTable())
        return byDrawNo;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(prizeSelect(kPrizeTable))) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    while (query.next()) {
        PrizeAmounts amounts;
        for (int k = 0; k < prize::kKinds; ++k)
            amounts[std::size_t(k)] = storedInt(query.value(2 + 2 * k));
        byDrawNo.insert(query.value(0).toInt(), amounts);
    }
    if (query.lastError().isValid()) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    return byDrawNo;
}

std::optional<QHash<int, prize::DrawPrizes>> DrawDatabase::storedPrizes(QString* reason)
{
    QHash<int, prize::DrawPrizes> byDrawNo;
    if (!hasPrizeTable())
        return byDrawNo;
    // Read through SQLite itself: a value at a time through the driver costs as much again as
    // the rest of the start-up with a full table.
    sqlite3* handle = sqliteHandle(m_db);
    if (!handle) {
        *reason = QStringLiteral("SQLite のデータベースではありません");
        return std::nullopt;
    }
    const QByteArray sql = prizeSelect(kPrizeTable).toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        *reason = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    // A whole number as stored; none for Null, text or a real an edit outside the program left.
    const auto storedInt = [statement](int column) -> std::optional<qint64> {
        if (sqlite3_column_type(statement, column) != SQLITE_INTEGER)
            return std::nullopt;
        return sqlite3_column_int64(statement, column);
    };
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        const std::optional<qint64> drawNo = storedInt(0);
        if (!drawNo || *drawNo < draw::kMinDrawNo || *drawNo > draw::kMaxDrawNo)
            continue;
        prize::DrawPrizes prizes;
        bool known = true;
        for (int k = 0; known && k < prize::kKinds; ++k) {
            const std::optional<qint64> count = storedInt(1 + 2 * k);
            if (count && *count >= 0 && *count <= prize::kMaxCount)
                prizes.counts[std::size_t(k)] = int(*count);
            const std::optional<qint64> amount = storedInt(2 + 2 * k);
            known = amount && prize::isValidAmount(*amount);
            prizes.amounts[std::size_t(k)] = known ? int(*amount) : 0;
        }
        if (known)
            byDrawNo.insert(int(*drawNo), prizes);
    }
    if (step != SQLITE_DONE) {
        *reason = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    sqlite3_finalize(statement);
    return byDrawNo;
}

bool DrawDatabase::writeAmounts(int drawNo, const PrizeAmounts& amounts, QString* reason)
{
    if (!hasPrizeTable()) {
        *reason = QStringLiteral("このデータベースには当せん金を記録する表がありません");
        return false;
    }
    QSqlQuery query(m_db);
    QStringList sets;
    for (int k = 0; k < prize::kKinds; ++k)
        sets << prize::amountField(k) + QStringLiteral(" = excluded.") + prize::amountField(k);
    QStringList names{draw::kDrawNoField};
    for (int k = 0; k < prize::kKinds; ++k)
        names << prize::amountField(k);
    query.prepare(QStringLiteral("insert into %1 (%2) values (%3) on conflict (%4) do update set %5")
                      .arg(kPrizeTable, names.join(u','), QStringList(names.size(), QStringLiteral("?")).join(u','),
                           draw::kDrawNoField, sets.join(u',')));
    query.addBindValue(drawNo);
    for (const std::optional<int>& amount : amounts)
        query.addBindValue(amount ? QVariant(*amount) : QVariant(QMetaType(QMetaType::Int)));
    if (!query.exec()) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    // A draw left with nothing known has no row.
    QStringList empty;
    for (const QString& field : prize::fields())
        empty << field + QStringLiteral(" is null");
    QSqlQuery drop(m_db);
    drop.prepare(QStringLiteral("delete from %1 where %2 = ? and %3")
                     .arg(kPrizeTable, draw::kDrawNoField, empty.join(QStringLiteral(" and "))));
    drop.addBindValue(drawNo);
    if (!drop.exec()) {
        *reason = message::databaseReason(drop.lastError());
        return false;
    }
    return true;
}

bool DrawDatabase::insertPrizes(const QHash<int, prize::DrawPrizes>& prizes, QString* reason)
{
    QSqlQuery insert(m_db);
    if (!insert.prepare(QStringLiteral("insert or replace into %1 (%2) values (%3)")
                            .arg(kPrizeTable, prize::fileHeader().join(u','),
                                 QStringList(prize::fileHeader().size(), QStringLiteral("?")).join(u',')))) {
        *reason = message::databaseReason(insert.lastError());
        return false;
    }
    QList<int> drawNos = prizes.keys();
    std::sort(drawNos.begin(), drawNos.end());
    for (const int drawNo : drawNos) {
        const prize::DrawPrizes& paid = prizes[drawNo];
        insert.bindValue(0, drawNo);
        for (int k = 0; k < prize::kKinds; ++k) {
            const std::optional<int>& count = paid.counts[std::size_t(k)];
            insert.bindValue(1 + 2 * k, count ? QVariant(*count) : QVariant(QMetaType(QMetaType::Int)));
            insert.bindValue(2 + 2 * k, paid.amounts[std::size_t(k)]);
        }
        if (!insert.exec()) {
            *reason
                = QStringLiteral("第%1回の当せん金: %2").arg(drawNo).arg(message::databaseReason(insert.lastError()));
            return false;
        }
    }
    return true;
}

bool DrawDatabase::addPrizeTable(const HistoryCsv& shippedHistory, const QHash<int, prize::DrawPrizes>& shippedPrizes,
                                 QString* reason)
{
    QSqlQuery query(m_db);
    if (!query.exec(prizeTableSql())) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    const std::optional<StoredDraws> stored = storedDraws(reason);
    if (!stored)
        return false;
    // Only a draw the player holds as it was drawn takes the shipped prizes.
    QHash<int, prize::DrawPrizes> matching;
    for (const HistoryRow& row : shippedHistory.rows) {
        const auto paid = shippedPrizes.constFind(row.drawNo);
        const auto draw = stored->byDrawNo.constFind(row.drawNo);
        if (paid == shippedPrizes.cend() || draw == stored->byDrawNo.cend())
            continue;
        bool same = true;
        for (int p = 0; same && p < 3; ++p) {
            same = row.digits[std::size_t(p)]
                && draw::digitValue(draw->digits[std::size_t(p)]) == *row.digits[std::size_t(p)];
        }
        if (same)
            matching.insert(row.drawNo, *paid);
    }
    return insertPrizes(matching, reason);
}

DrawDatabase::Upgrade DrawDatabase::bringForward(const QString& path, const QString& shippedHistoryPath,
                                                 QString* reason)
{
    bool needsPrizes = false;
    {
        DrawDatabase look(connectString(path), Mode::ReadOnly);
        if (!look.open(reason))
            return Upgrade::Failed;
        if (!look.needsUpgrade())
            return Upgrade::Current;
        if (!look.m_writable)
            return Upgrade::NotWritable;
        needsPrizes = !look.hasPrizeTable();
    }
    // The shipped files, only when the prizes are to be added.
    HistoryCsv history;
    QHash<int, prize::DrawPrizes> shippedPrizes;
    if (needsPrizes) {
        history = HistoryCsv::readFile(shippedHistoryPath);
        if (!history.ok()) {
            *reason = QStringLiteral("同梱の当選データ %1 を読めません（%2）")
                          .arg(QDir::toNativeSeparators(shippedHistoryPath), history.error);
            return Upgrade::Failed;
        }
        const QString prizesPath = shippedPrizesBeside(shippedHistoryPath);
        const HistoryCsv prizeFile = HistoryCsv::readFile(prizesPath);
        if (!prizeFile.ok() || !prizeFile.prizesOnly) {
            *reason = QStringLiteral("同梱の当せん金 %1 を読めません（%2）")
                          .arg(QDir::toNativeSeparators(prizesPath),
                               prizeFile.ok() ? QStringLiteral("見出しが違います") : prizeFile.error);
            return Upgrade::Failed;
        }
        shippedPrizes = prizeFile.prizesByDrawNo();
    }
    DrawDatabase db(connectString(path), Mode::ReadWrite);
    if (!db.open(reason))
        return Upgrade::Failed;
    QSqlQuery begin(db.m_db);
    if (!begin.exec(QStringLiteral("begin immediate"))) {
        *reason = message::databaseReason(begin.lastError());
        return Upgrade::Failed;
    }
    begin.finish();
    const auto rollBack = [&db] { QSqlQuery(db.m_db).exec(QStringLiteral("rollback")); };
    // Another start may have brought it forward meanwhile.
    if (!db.needsUpgrade()) {
        rollBack();
        return Upgrade::Current;
    }
    if (!db.hasPrizeTable() && (!needsPrizes || !db.addPrizeTable(history, shippedPrizes, reason))) {
        if (!needsPrizes)
            *reason = QStringLiteral("ほかのプログラムが当せん金の表を消しました");
        rollBack();
        return Upgrade::Failed;
    }
    QSqlQuery query(db.m_db);
    if (!db.hasTicketTable() && !query.exec(ticketTableSql())) {
        *reason = message::databaseReason(query.lastError());
        rollBack();
        return Upgrade::Failed;
    }
    if (!query.exec(QStringLiteral("pragma user_version = %1").arg(kSchemaVersion))) {
        *reason = message::databaseReason(query.lastError());
        rollBack();
        return Upgrade::Failed;
    }
    QSqlQuery commit(db.m_db);
    if (!commit.exec(QStringLiteral("commit"))) {
        *reason = message::databaseReason(commit.lastError());
        rollBack();
        return Upgrade::Failed;
    }
    return Upgrade::Upgraded;
}

bool DrawDatabase::StoredDraw::operator==(const StoredDraw& other) const
{
    // A value as SQLite gives it: the same type and the same value (1 and '1' differ).
    for (int p = 0; p < 3; ++p) {
        const QVariant& a = digits[p];
        const QVariant& b = other.digits[p];
        if (a.isNull() != b.isNull() || (!a.isNull() && (a.typeId() != b.typeId() || a != b)))
            return false;
    }
    return date == other.date;
}

std::optional<DrawDatabase::StoredDraws> DrawDatabase::storedDraws(QString* reason)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("select * from %1 limit 0").arg(kTable))) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    StoredDraws stored;
    stored.hasDateColumn = query.record().indexOf(draw::kDateField) >= 0;
    const QString sql
        = QStringLiteral("select %1, %2, %3, %4%5 from %6")
              .arg(draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2],
                   stored.hasDateColumn ? QStringLiteral(", ") + draw::kDateField : QString(), kTable);
    if (!query.exec(sql)) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    while (query.next()) {
        StoredDraw draw;
        for (int p = 0; p < 3; ++p)
            draw.digits[p] = query.value(p + 1);
        if (stored.hasDateColumn && !query.value(4).isNull())
            draw.date = query.value(4).toString();
        stored.byDrawNo.insert(query.value(0).toInt(), draw);
    }
    if (query.lastError().isValid()) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    return stored;
}

HistoryCsv DrawDatabase::importedDraws(HistoryCsv history, const StoredDraws& stored, EmptyDates emptyDates)
{
    if (!stored.hasDateColumn)
        return history; // writeDraws stores no dates there
    // A history without dates says nothing about them: a replaced draw keeps the date it had.
    qsizetype column = history.extraColumns.indexOf(draw::kDateField);
    const bool keepStored = column < 0 || emptyDates == EmptyDates::KeepStored;
    if (column < 0) {
        column = history.extraColumns.size();
        history.extraColumns << draw::kDateField;
    }
    for (HistoryRow& row : history.rows) {
        while (row.extra.size() <= column)
            row.extra << QString();
        if (keepStored && row.extra.at(column).isEmpty())
            row.extra[column] = stored.byDrawNo.value(row.drawNo).date;
    }
    return history;
}

std::optional<DrawDatabase::ImportCount> DrawDatabase::importDraws(HistoryCsv history, QString* reason)
{
    return importDraws(std::move(history), reason, ImportOptions());
}

std::optional<DrawDatabase::ImportCount> DrawDatabase::importDraws(HistoryCsv history, QString* reason,
                                                                   const ImportOptions& options)
{
    // Taken at once, the write lock keeps what is read below as it is until the commit.
    QSqlQuery begin(m_db);
    if (!begin.exec(QStringLiteral("begin immediate"))) {
        *reason = message::databaseReason(begin.lastError());
        return std::nullopt;
    }
    begin.finish();
    const auto rollBack = [this] { QSqlQuery(m_db).exec(QStringLiteral("rollback")); };
    const std::optional<StoredDraws> stored = storedDraws(reason);
    if (!stored) {
        rollBack();
        return std::nullopt;
    }
    ImportCount count;
    if (options.expected) {
        for (const HistoryRow& row : history.rows) {
            const auto found = stored->byDrawNo.constFind(row.drawNo);
            const std::optional<StoredDraw> now
                = found == stored->byDrawNo.cend() ? std::nullopt : std::optional<StoredDraw>(*found);
            if (now != options.expected->value(row.drawNo)) {
                rollBack();
                count.stale = true;
                return count;
            }
        }
    }
    history = importedDraws(std::move(history), *stored, options.emptyDates);
    if (!insertRows(history, reason)) {
        rollBack();
        return std::nullopt;
    }
    QSqlQuery commit(m_db);
    if (!commit.exec(QStringLiteral("commit"))) {
        *reason = message::databaseReason(commit.lastError());
        rollBack();
        return std::nullopt;
    }
    count.written = int(history.rows.size());
    for (const HistoryRow& row : history.rows)
        count.replaced += stored->byDrawNo.contains(row.drawNo) ? 1 : 0;
    return count;
}

std::optional<int> DrawDatabase::nextDrawNo(QString* reason)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select max(%1) from %2").arg(draw::kDrawNoField, kTable))) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    const qlonglong next = query.next() && !query.value(0).isNull() ? query.value(0).toLongLong() + 1 : 1;
    if (next > draw::kMaxDrawNo) {
        *reason = QStringLiteral("回数が上限の %1 に達しています").arg(draw::kMaxDrawNo);
        return std::nullopt;
    }
    return int(qMax<qlonglong>(next, draw::kMinDrawNo));
}

std::optional<qint64> DrawDatabase::dataVersion()
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("pragma data_version")) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

bool DrawDatabase::tableHasDateColumn()
{
    QSqlQuery columns(m_db);
    return columns.exec(QStringLiteral("select * from %1 limit 0").arg(kTable))
        && columns.record().indexOf(draw::kDateField) >= 0;
}

std::optional<DrawDatabase::StoredDraw> DrawDatabase::storedDraw(const QVariant& drawNo, QString* reason)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select * from %1 where %2 is ?").arg(kTable, draw::kDrawNoField));
    query.addBindValue(drawNo);
    if (!query.exec()) {
        *reason = message::databaseReason(query.lastError());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    const QSqlRecord record = query.record();
    StoredDraw stored;
    for (int p = 0; p < 3; ++p)
        stored.digits[std::size_t(p)] = record.value(draw::kDigitFields[p]);
    if (record.indexOf(draw::kDateField) >= 0)
        stored.date = record.value(draw::kDateField).toString();
    return stored;
}

bool DrawDatabase::insertDraw(const QVariant& drawNo, const StoredDraw& draw, QString* reason)
{
    const bool tableHasDate = tableHasDateColumn();
    QStringList fields{draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2]};
    if (tableHasDate)
        fields << draw::kDateField;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(kTable, fields.join(u','), QStringList(fields.size(), QStringLiteral("?")).join(u',')));
    query.addBindValue(drawNo);
    for (const QVariant& digit : draw.digits)
        query.addBindValue(digit.isValid() ? digit : QVariant(QMetaType(QMetaType::Int)));
    if (tableHasDate)
        query.addBindValue(draw.date.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(draw.date));
    if (!query.exec()) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    return true;
}

bool DrawDatabase::deleteDraw(const QVariant& drawNo, QString* reason)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("delete from %1 where %2 is ?").arg(kTable, draw::kDrawNoField));
    query.addBindValue(drawNo);
    if (!query.exec()) {
        *reason = message::databaseReason(query.lastError());
        return false;
    }
    return true;
}

bool DrawDatabase::inTransaction(const std::function<bool()>& work, QString* reason)
{
    if (!m_db.transaction()) {
        *reason = message::databaseReason(m_db.lastError());
        return false;
    }
    if (!work()) {
        m_db.rollback();
        return false;
    }
    if (!m_db.commit()) {
        *reason = message::databaseReason(m_db.lastError());
        m_db.rollback();
        return false;
    }
    return true;
}

bool DrawDatabase::writeDraws(const HistoryCsv& history, QString* reason)
{
    return inTransaction([&] { return insertRows(history, reason); }, reason);
}

bool DrawDatabase::writePrizes(const QHash<int, prize::DrawPrizes>& prizes, QString* reason)
{
    return prizes.isEmpty() || inTransaction([&] { return insertPrizes(prizes, reason); }, reason);
}

bool DrawDatabase::insertRows(const HistoryCsv& history, QString* reason)
{
    if (history.hasPrizes) {
        QHash<int, prize::DrawPrizes> prizes = history.prizesByDrawNo();
        if (!prizes.isEmpty() && !hasPrizeTable()) {
            *reason
                = QStringLiteral("このデータベースには当せん金を記録する表がありません（読み取り専用で開かれました）");
            return false;
        }
        if (!insertPrizes(prizes, reason))
            return false;
    }
    if (history.prizesOnly)
        return true; // a prize file says nothing of the draws

    const bool tableHasDate = tableHasDateColumn();
    const bool storeDate = tableHasDate && history.extraColumns.contains(draw::kDateField);

    QSqlQuery insert(m_db);
    const QString sql = storeDate
        ? QStringLiteral("insert or replace into %1 (%2, %3, %4, %5, %6) values (?, ?, ?, ?, ?)")
              .arg(kTable, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2],
                   draw::kDateField)
        : QStringLiteral("insert or replace into %1 (%2, %3, %4, %5) values (?, ?, ?, ?)")
              .arg(kTable, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2]);
    if (!insert.prepare(sql)) {
        *reason = message::databaseReason(insert.lastError());
        return false;
    }
    for (const HistoryRow& row : history.rows) {
        insert.bindValue(0, row.drawNo);
        for (int p = 0; p < 3; ++p)
            insert.bindValue(p + 1, row.digits[p] ? QVariant(*row.digits[p]) : QVariant(QMetaType(QMetaType::Int)));
        if (storeDate) {
            const QString date = history.extraValue(row, draw::kDateField);
            insert.bindValue(4, date.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(date));
        }
        if (!insert.exec()) {
            // A refused value belongs to its line; anything else to the database as a whole.
            const QSqlError error = insert.lastError();
            *reason = message::isRowError(error) ? QStringLiteral("%1行目（回数 %2）: %3")
                                                       .arg(row.line)
                                                       .arg(row.drawNo)
                                                       .arg(message::databaseReason(error))
                                                 : message::databaseReason(error);
            return false;
        }
    }
    return true;
}

DrawDatabase::Creation DrawDatabase::create(const QString& path, const HistoryCsv& history, QString* reason, int waitMs,
                                            const QHash<int, prize::DrawPrizes>& prizes)
{
    if (!history.ok()) {
        *reason = history.error;
        return Creation::Failed;
    }
    if (nameTaken(path))
        return Creation::AlreadyThere;

    const QString lockPath = path + kLockSuffix;
    CreatorsLock lock(lockPath);
    switch (lock.acquire(waitMs)) {
    case CreatorsLock::Result::Held:
        break;
    case CreatorsLock::Result::Busy:
        *reason = QStringLiteral("ほかのプログラムがデータベースを作成中のまま終わりません（ロックファイル: %1）")
                      .arg(QDir::toNativeSeparators(QFileInfo(lockPath).absoluteFilePath()));
        return Creation::Failed;
    case CreatorsLock::Result::Failed:
        *reason = QStringLiteral("フォルダー %1 に書き込めません（%2）")
                      .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), message::systemReason(errno));
        return Creation::Failed;
    }
    // Whatever unfinished files lie here now belong to creations that were killed.
    removeCreatingFiles(path);
    if (nameTaken(path))
        return Creation::AlreadyThere;

    // Build the file under a name of its own and put it in place only when it is complete,
    // so an interrupted creation never leaves a half-filled database behind.
    QString building;
    {
        QTemporaryFile file(path + kCreatingSuffix + QStringLiteral("-XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open()) {
            *reason = QStringLiteral("フォルダー %1 に書き込めません（%2）")
                          .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()), file.errorString());
            return Creation::Failed;
        }
        building = file.fileName();
    }
    // As readable as a file SQLite itself would have created.
    QFile::setPermissions(building,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                              | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    bool ok = false;
    {
        DrawDatabase db(connectString(building), Mode::ReadWrite);
        if (!db.m_db.open())
            *reason = message::databaseReason(db.m_db.lastError());
        else
            ok = db.createSchema(reason) && db.writeDraws(history, reason) && db.writePrizes(prizes, reason);
    }
    Creation result = ok ? Creation::Created : Creation::Failed;
    if (ok && !moveIntoPlaceExclusively(building, path)) {
        const int error = errno;
        if (error == EEXIST) {
            result = Creation::AlreadyThere;
        } else {
            *reason = QStringLiteral("データベースのファイルを置けません（%1）").arg(message::systemReason(error));
            result = Creation::Failed;
        }
    }
    if (result == Creation::Created)
        syncFolder(path);
    else
        QFile::remove(building);
    QFile::remove(building + QStringLiteral("-journal"));
    return result;
}

void DrawDatabase::removeStaleCreations(const QString& path)
{
    const QString lockPath = path + kLockSuffix;
    if (creatingFiles(path).isEmpty() && !nameTaken(lockPath))
        return;
    CreatorsLock lock(lockPath);
    if (lock.acquire(0) != CreatorsLock::Result::Held)
        return; // a creation is running (or the folder cannot be written): leave it be
    removeCreatingFiles(path);
}

std::optional<QVector<ticket::Line>> DrawDatabase::storedTickets(QString* reason)
{
    QVector<ticket::Line> lines;
    if (!hasTicketTable())
        return lines;
    // Read through SQLite itself, as the prizes are: every refresh reads the whole ledger.
    sqlite3* handle = sqliteHandle(m_db);
    if (!handle) {
        *reason = QStringLiteral("SQLite のデータベースではありません");
        return std::nullopt;
    }
    const QByteArray sql
        = QStringLiteral("select id, 開始回, 継続回数, 番号, 申込, 口数, メモ, 記録日時 from %1 order by id")
              .arg(kTicketTable)
              .toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK) {
        *reason = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    const auto text = [statement](int column) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(statement, column)) : QString();
    };
    // Ints as stored; anything else (a table made elsewhere) is 0, which no rule allows.
    const auto whole = [statement](int column) {
        if (sqlite3_column_type(statement, column) != SQLITE_INTEGER)
            return qint64(0);
        return sqlite3_column_int64(statement, column);
    };
    const auto small = [&whole](int column) {
        const qint64 value = whole(column);
        return value >= 0 && value <= draw::kMaxDrawNo ? int(value) : 0;
    };
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        ticket::Line line;
        line.id = whole(0);
        line.firstDraw = small(1);
        line.draws = small(2);
        line.number = text(3);
        line.type = ticket::typeOf(text(4)).value_or(ticket::Type::Straight);
        line.units = small(5);
        line.memo = text(6);
        line.recorded = QDateTime::fromString(text(7), Qt::ISODate);
        lines << line;
    }
    if (step != SQLITE_DONE) {
        *reason = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    sqlite3_finalize(statement);
    return lines;
}

bool DrawDatabase::insertTickets(const QVector<ticket::Line>& lines, QString* reason, QVector<qint64>* ids)
{
    if (!hasTicketTable()) {
        *reason = QStringLiteral("このデータベースには購入記録の表がありません");
        return false;
    }
    QVector<qint64> given;
    const bool done = inTransaction(
        [&] {
            QSqlQuery insert(m_db);
            insert.prepare(QStringLiteral("insert into %1 (id, 開始回, 継続回数, 番号, 申込, 口数, メモ, 記録日時) "
                                          "values (?, ?, ?, ?, ?, ?, ?, ?)")
                               .arg(kTicketTable));
            const QString now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
            for (const ticket::Line& line : lines) {
                // An id of 0 lets SQLite choose one; a line put back keeps the one it had.
                insert.bindValue(0, line.id > 0 ? QVariant(line.id) : QVariant(QMetaType(QMetaType::LongLong)));
                insert.bindValue(1, line.firstDraw);
                insert.bindValue(2, line.draws);
                insert.bindValue(3, line.number);
                insert.bindValue(4, ticket::typeName(line.type));
                insert.bindValue(5, line.units);
                insert.bindValue(6, line.memo.isNull() ? QStringLiteral("") : line.memo);
                insert.bindValue(7, line.recorded.isValid() ? line.recorded.toUTC().toString(Qt::ISODate) : now);
                if (!insert.exec()) {
                    *reason = message::databaseReason(insert.lastError());
                    return false;
                }
                given << insert.lastInsertId().toLongLong();
            }
            return true;
        },
        reason);
    if (done && ids)
        *ids = given;
    return done;
}

bool DrawDatabase::updateTicket(const ticket::Line& line, QString* reason)
{
    return inTransaction(
        [&] {
            QSqlQuery update(m_db);
            update.prepare(
                QStringLiteral("update %1 set 開始回 = ?, 継続回数 = ?, 番号 = ?, 申込 = ?, 口数 = ?, メモ = ? "
                               "where id = ?")
                    .arg(kTicketTable));
            update.addBindValue(line.firstDraw);
            update.addBindValue(line.draws);
            update.addBindValue(line.number);
            update.addBindValue(ticket::typeName(line.type));
            update.addBindValue(line.units);
            update.addBindValue(line.memo.isNull() ? QStringLiteral("") : line.memo);
            update.addBindValue(line.id);
            if (!update.exec()) {
                *reason = message::databaseReason(update.lastError());
                return false;
            }
            if (update.numRowsAffected() != 1) {
                *reason = QStringLiteral("この行は購入記録にもうありません（ほかのプログラムが削除しました）");
                return false;
            }
            return true;
        },
        reason);
}

bool DrawDatabase::deleteTickets(const QVector<qint64>& ids, QString* reason)
{
    return inTransaction(
        [&] {
            QSqlQuery remove(m_db);
            remove.prepare(QStringLiteral("delete from %1 where id = ?").arg(kTicketTable));
            for (const qint64 id : ids) {
                remove.bindValue(0, id);
                if (!remove.exec()) {
                    *reason = message::databaseReason(remove.lastError());
                    return false;
                }
                if (remove.numRowsAffected() != 1) {
                    *reason = QStringLiteral("この行は購入記録にもうありません（ほかのプログラムが削除しました）");
                    return false;
                }
            }
            return true;
        },
        reason);
}
