#pragma once
// Small databases for tests: written with plain SQL, so a test can also store what only
// outside edits could (no checks, odd values, a missing view).

#include "data/draw_database.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <vector>

namespace fixture {

struct RawDraw {
    QVariant drawNo, first, second, third;
};

inline QVariant null()
{
    return QVariant(QMetaType(QMetaType::Int));
}

// Runs statements on a fresh connection to the file, creating it if needed.
inline void exec(const QString& path, const QStringList& statements)
{
    const QString name = QStringLiteral("fixture-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery q(db);
        for (const QString& sql : statements)
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase(name);
}

// Draws 1 to count with digits that step through 0–9 at different paces.
inline std::vector<RawDraw> steppedDraws(int count)
{
    std::vector<RawDraw> draws;
    for (int n = 1; n <= count; ++n)
        draws.push_back({n, n % 10, (n * 3) % 10, (n * 7) % 10});
    return draws;
}

// A database with the program's own schema, holding the given rows.
inline void writeDatabase(const QString& path, const std::vector<RawDraw>& draws, bool withChecks = true)
{
    QStringList sql;
    if (withChecks) {
        DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
        ASSERT_TRUE(db.database().open());
        QString reason;
        ASSERT_TRUE(db.createSchema(&reason)) << reason.toStdString();
    } else {
        sql << QStringLiteral("create table 当選データ (回数 INTEGER, 第1数字, 第2数字, 第3数字)")
            << QStringLiteral("create view 全データ選択クエリ as select * from 当選データ");
    }
    // One transaction: a file synced once, not once a draw.
    sql << QStringLiteral("begin");
    for (const RawDraw& d : draws) {
        auto lit = [](const QVariant& v) {
            if (v.isNull())
                return QStringLiteral("NULL");
            if (v.typeId() == QMetaType::QString)
                return QStringLiteral("'%1'").arg(v.toString());
            return v.toString();
        };
        sql << QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (%1, %2, %3, %4)")
                   .arg(lit(d.drawNo), lit(d.first), lit(d.second), lit(d.third));
    }
    sql << QStringLiteral("commit");
    exec(path, sql);
}

inline QByteArray fileDigest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace fixture
