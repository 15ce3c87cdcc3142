// The program's start-up path over a database file holding any bytes: open it, check it, take
// the snapshot and the figures, or refuse it with a reason. Either way the file stays as it was.

#include "data/history_source.h"
#include "fuzz_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

QString gDatabasePath;

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The SQL driver is a plugin, found and loaded through the application object.
    static int argc = 1;
    static char name[] = "fuzz_database_open";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        std::fprintf(stderr, "fuzz_database_open: the Qt SQLite driver does not load (drivers: %s)\n",
                     qPrintable(QSqlDatabase::drivers().join(u' ')));
        std::exit(1);
    }
    static QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz_database_open: no temporary folder (%s)\n", qPrintable(folder.errorString()));
        std::exit(1);
    }
    gDatabasePath = folder.filePath(QStringLiteral("Numbers3Zubarin.db"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Nothing of the previous input may lie beside the file: a journal would be rolled back
    // into it.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(gDatabasePath + QLatin1String(suffix));
    const QByteArray bytes = fuzzBytes(data, size);
    {
        QFile file(gDatabasePath);
        require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
                "the input is written to the database file");
    }

    QString reason;
    if (const auto loaded = history_source::startupLoad(gDatabasePath, QString(), &reason)) {
        const History& history = loaded->history;
        const auto complete = std::count_if(history.draws().begin(), history.draws().end(),
                                            [](const DrawRecord& draw) { return draw.complete; });
        require(complete == history.completeDraws(), "the figures count every complete draw of the snapshot");
        const int digits = std::accumulate(history.digitCount().begin(), history.digitCount().end(), 0);
        require(digits == 3 * history.completeDraws(), "three digits counted per complete draw");
    } else {
        require(!reason.isEmpty(), "a refused database comes with a reason");
    }
    require(contentsOf(gDatabasePath) == bytes, "start-up leaves an existing database as it was");
    return 0;
}
