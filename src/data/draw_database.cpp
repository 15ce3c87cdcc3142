#include "data/draw_database.h"

#include "data/draw.h"
#include "data/history_csv.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

const QString DrawDatabase::kFileName = QStringLiteral("Numbers3Zubarin.db");
const QString DrawDatabase::kHistoryFileName = QStringLiteral("numbers3-history.csv");
const QString DrawDatabase::kTable = QStringLiteral("当選データ");
const QString DrawDatabase::kQuery = QStringLiteral("全データ選択クエリ");
const QString DrawDatabase::kSelectAll = QStringLiteral("select * from 全データ選択クエリ order by 回数");

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kDriverKey = QStringLiteral("Driver=");
const QString kSourceKey = QStringLiteral(";Data Source=");

// SQLite's own result code for a file that is not a database (or is damaged beyond reading).
constexpr int kSqliteNotADatabase = 26;
constexpr int kSqliteCorrupt = 11;

QString driverReason(const QSqlError& error)
{
    const int code = error.nativeErrorCode().toInt();
    if (code == kSqliteNotADatabase || code == kSqliteCorrupt)
        return QStringLiteral("データベースのファイルではないか、ファイルが壊れています（%1）")
            .arg(error.text());
    return error.text();
}

QString digitColumn(int p)
{
    return QStringLiteral("%1 INTEGER CHECK (%1 IS NULL OR (typeof(%1) = 'integer' AND %1 BETWEEN 0 AND 9))")
        .arg(draw::kDigitFields[p]);
}

} // namespace

QString DrawDatabase::programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QString DrawDatabase::connectString(const QString& databasePath)
{
    return kDriverKey + kDriver + kSourceKey + QDir::toNativeSeparators(databasePath);
}

QString DrawDatabase::pathOf(const QString& connectString)
{
    const qsizetype at = connectString.indexOf(kSourceKey);
    return at < 0 ? QString() : QDir::fromNativeSeparators(connectString.mid(at + kSourceKey.size()));
}

DrawDatabase::DrawDatabase(const QString& connectString, Mode mode)
    : m_path(pathOf(connectString)), m_mode(mode)
{
    static QAtomicInt serial;
    m_connectionName = QStringLiteral("draws-%1").arg(serial.fetchAndAddRelaxed(1));
    m_db = QSqlDatabase::addDatabase(kDriver, m_connectionName);
    m_db.setDatabaseName(m_path);
    if (m_mode == Mode::ReadOnly)
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
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
    if (!m_db.open()) {
        *reason = driverReason(m_db.lastError());
        return false;
    }
    if (!checkSchema(reason)) {
        m_db.close();
        return false;
    }
    return true;
}

bool DrawDatabase::checkSchema(QString* reason)
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("select type, name from sqlite_master where type in ('table', 'view')"))) {
        *reason = driverReason(query.lastError());
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
        *reason = driverReason(query.lastError());
        return false;
    }
    const QSqlRecord fields = query.record();
    for (const QString& name : {draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1],
                                draw::kDigitFields[2]}) {
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
            .arg(kQuery, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1],
                 draw::kDigitFields[2], draw::kDateField, kTable),
    };
    QSqlQuery query(m_db);
    for (const QString& sql : statements) {
        if (!query.exec(sql)) {
            *reason = driverReason(query.lastError());
            return false;
        }
    }
    return true;
}

bool DrawDatabase::writeDraws(const HistoryCsv& history, QString* reason)
{
    QSqlQuery columns(m_db);
    bool tableHasDate = false;
    if (columns.exec(QStringLiteral("select * from %1 limit 0").arg(kTable)))
        tableHasDate = columns.record().indexOf(draw::kDateField) >= 0;
    const bool storeDate = tableHasDate && history.extraColumns.contains(draw::kDateField);

    if (!m_db.transaction()) {
        *reason = driverReason(m_db.lastError());
        return false;
    }
    QSqlQuery insert(m_db);
    const QString sql = storeDate
        ? QStringLiteral("insert or replace into %1 (%2, %3, %4, %5, %6) values (?, ?, ?, ?, ?)")
              .arg(kTable, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1],
                   draw::kDigitFields[2], draw::kDateField)
        : QStringLiteral("insert or replace into %1 (%2, %3, %4, %5) values (?, ?, ?, ?)")
              .arg(kTable, draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1],
                   draw::kDigitFields[2]);
    bool ok = insert.prepare(sql);
    for (qsizetype i = 0; ok && i < history.rows.size(); ++i) {
        const HistoryRow& row = history.rows.at(i);
        insert.bindValue(0, row.drawNo);
        for (int p = 0; p < 3; ++p)
            insert.bindValue(p + 1, row.digits[p] ? QVariant(*row.digits[p]) : QVariant(QMetaType(QMetaType::Int)));
        if (storeDate) {
            const QString date = history.extraValue(row, draw::kDateField);
            insert.bindValue(4, date.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(date));
        }
        if (!insert.exec()) {
            *reason = QStringLiteral("%1行目（回数 %2）: %3")
                          .arg(row.line)
                          .arg(row.drawNo)
                          .arg(driverReason(insert.lastError()));
            ok = false;
        }
    }
    if (!ok) {
        if (reason->isEmpty())
            *reason = driverReason(insert.lastError());
        m_db.rollback();
        return false;
    }
    if (!m_db.commit()) {
        *reason = driverReason(m_db.lastError());
        m_db.rollback();
        return false;
    }
    return true;
}

bool DrawDatabase::create(const QString& path, const HistoryCsv& history, QString* reason)
{
    if (!history.ok()) {
        *reason = history.error;
        return false;
    }
    if (QFileInfo::exists(path)) {
        *reason = QStringLiteral("ファイルがすでにあります");
        return false;
    }
    // Build the file under a temporary name and put it in place only when it is complete,
    // so an interrupted creation never leaves a half-filled database behind.
    const QString building = path + QStringLiteral(".creating");
    QFile::remove(building);
    bool ok = false;
    {
        DrawDatabase db(connectString(building), Mode::ReadWrite);
        if (!db.m_db.open())
            *reason = driverReason(db.m_db.lastError());
        else
            ok = db.createSchema(reason) && db.writeDraws(history, reason);
    }
    if (ok && !QFile::rename(building, path)) {
        *reason = QStringLiteral("データベースのファイルを作成できません");
        ok = false;
    }
    if (!ok)
        QFile::remove(building);
    return ok;
}
