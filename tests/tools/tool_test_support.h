#pragma once
// Files and databases for the companion's tests, and a way to run the built program.

#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace toolfixture {

inline const QByteArray kHeader = "回数,第1数字,第2数字,第3数字\n";

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every stored draw as "回数:d-d-d:抽せん日", Null shown as "_", in draw order.
inline QStringList storedDraws(const QString& path)
{
    QStringList draws;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("toolfixture"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(QStringLiteral("select 回数, 第1数字, 第2数字, 第3数字, 抽せん日 from 当選データ order by 回数"),
                    db);
        auto show = [&q](int i) { return q.value(i).isNull() ? QStringLiteral("_") : q.value(i).toString(); };
        while (q.next())
            draws << QStringLiteral("%1:%2-%3-%4:%5").arg(show(0), show(1), show(2), show(3), show(4));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("toolfixture"));
    return draws;
}

struct Run {
    int exitCode = -1;
    QByteArray out, err;
};

// Runs the built program as a user would.
inline Run runProgram(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(N3_TOOL_PATH), args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace toolfixture
