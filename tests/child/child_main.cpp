// A separate process for the tests that need one: a start-up racing another process, a writer
// killed in the middle of its transaction, and the memory a reader takes at its peak.
//
//   n3_test_child start DB CSV        the start-up load; prints "ok ROWS LAST NOTICE" or the reason
//   n3_test_child upgrade DB CSV      brings the database forward with the prizes beside CSV;
//                                     prints what it did
//   n3_test_child hold-write DB N     rewrites draws 1..N in one transaction, spilling pages
//                                     into the file, prints "ready" and waits to be killed
//   n3_test_child read-peak CSV       reads a history; prints "rows=R line=L peak_kb=K"
//   n3_test_child hold-lock FILE      takes the lock file, prints "ready" and waits to be killed

#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <unistd.h>

namespace {

int start(const QString& db, const QString& csv)
{
    QString reason;
    const auto loaded = history_source::startupLoad(db, csv, &reason);
    if (!loaded) {
        std::printf("failed %s\n", qPrintable(reason));
        return 1;
    }
    std::printf("ok %d %d %s\n", loaded->history.recordCount(), loaded->history.lastDrawNo(),
                qPrintable(loaded->notice));
    return 0;
}

int upgrade(const QString& db, const QString& csv)
{
    QString reason;
    const DrawDatabase::Upgrade result = DrawDatabase::bringForward(db, csv, &reason);
    std::printf("%d %s\n", int(result), qPrintable(reason));
    return result == DrawDatabase::Upgrade::Failed ? 1 : 0;
}

int holdWrite(const QString& path, int count)
{
    DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
    QString reason;
    if (!db.open(&reason)) {
        std::printf("failed %s\n", qPrintable(reason));
        return 1;
    }
    QSqlQuery q(db.database());
    // A cache this small makes SQLite write changed pages into the file before the commit.
    q.exec(QStringLiteral("pragma cache_size = 10"));
    if (!db.database().transaction())
        return 1;
    q.prepare(QStringLiteral("insert or replace into 当選データ (回数, 第1数字, 第2数字, 第3数字, 抽せん日) "
                             "values (?, 9, 9, 9, 'written by a writer that was killed')"));
    for (int n = 1; n <= count; ++n) {
        q.bindValue(0, n);
        if (!q.exec()) {
            std::printf("failed %s\n", qPrintable(q.lastError().text()));
            return 1;
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

[[noreturn]] void waitToBeKilled()
{
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

int holdLock(const QString& path)
{
    QLockFile lock(path);
    if (!lock.tryLock(10000))
        return 1;
    waitToBeKilled();
}

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

int readPeak(const QString& csv)
{
    const HistoryCsv history = HistoryCsv::readFile(csv);
    std::printf("rows=%lld line=%d peak_kb=%ld\n", static_cast<long long>(history.rows.size()), history.errorLine,
                peakKilobytes());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("start"))
        return start(args[2], args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("upgrade"))
        return upgrade(args[2], args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("hold-write"))
        return holdWrite(args[2], args[3].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("read-peak"))
        return readPeak(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("hold-lock"))
        return holdLock(args[2]);
    std::fprintf(
        stderr,
        "usage: n3_test_child start DB CSV | upgrade DB CSV | hold-write DB N | read-peak CSV | hold-lock FILE\n");
    return 2;
}
