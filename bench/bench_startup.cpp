// Start-up load of a full 32,767-draw history: open the database, take the snapshot,
// derive the figures. Run by hand: build/bench/bench_startup

#include "bench_history.h"
#include "bench_main.h"
#include "data/draw_database.h"
#include "data/history_source.h"

#include "data/history_csv.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_StartupLoad32767(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeFullDatabase(dir);
    History history;
    for (auto _ : state) {
        QString reason;
        std::optional<history_source::Loaded> loaded = history_source::startupLoad(path, QString(), &reason);
        if (!loaded) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
        history = std::move(loaded->history);
        benchmark::DoNotOptimize(history);
    }
    state.counters["draws"] = history.recordCount();
    state.counters["lastDrawNo"] = history.lastDrawNo();
}
BENCHMARK(BM_StartupLoad32767)->Unit(benchmark::kMillisecond);

// The same read with a ledger of 10,000 lines, as each refresh reads it with the draws.
void BM_ReadHistoryWithTheLedger(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeLedgerDatabase(dir);
    History history;
    for (auto _ : state) {
        QString reason;
        DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadOnly);
        std::optional<History> read = db.open(&reason) ? db.readHistory(&reason) : std::nullopt;
        if (!read) {
            state.SkipWithError(qPrintable(reason));
            break;
        }
        history = std::move(*read);
        benchmark::DoNotOptimize(history);
    }
    state.counters["tickets"] = double(history.tickets().size());
}
BENCHMARK(BM_ReadHistoryWithTheLedger)->Unit(benchmark::kMillisecond);

void BM_CreateFromShippedHistory(benchmark::State& state)
{
    const HistoryCsv history = HistoryCsv::readFile(QStringLiteral(N3_SOURCE_DIR "/data/numbers3-history.csv"));
    for (auto _ : state) {
        QTemporaryDir dir;
        QString reason;
        if (DrawDatabase::create(dir.filePath(QStringLiteral("n.db")), history, &reason)
            != DrawDatabase::Creation::Created)
            state.SkipWithError(qPrintable(reason));
    }
}
BENCHMARK(BM_CreateFromShippedHistory)->Unit(benchmark::kMillisecond);

// The real history in a database of the version before the prizes, brought forward and read at
// start-up: the shipped prizes added to every draw held as drawn.
void BM_StartupBringingTheRealDatabaseForward(benchmark::State& state)
{
    const QString shipped = QStringLiteral(N3_SOURCE_DIR "/data/numbers3-history.csv");
    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("earlier.db"));
    QString reason;
    if (DrawDatabase::create(earlier, HistoryCsv::readFile(shipped), &reason) != DrawDatabase::Creation::Created) {
        state.SkipWithError(qPrintable(reason));
        return;
    }
    {
        DrawDatabase db(DrawDatabase::connectString(earlier), DrawDatabase::Mode::ReadWrite);
        db.open(&reason);
        QSqlQuery(db.database()).exec(QStringLiteral("drop table 当せん金"));
        QSqlQuery(db.database()).exec(QStringLiteral("pragma user_version = 0"));
    }
    const QString path = dir.filePath(QStringLiteral("n.db"));
    int prizes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        QFile::copy(earlier, path);
        state.ResumeTiming();
        std::optional<history_source::Loaded> loaded = history_source::startupLoad(path, shipped, &reason);
        if (!loaded || !loaded->notice.isEmpty()) {
            state.SkipWithError(qPrintable(loaded ? loaded->notice : reason));
            break;
        }
        prizes = 0;
        for (qsizetype i = 0; i < loaded->history.recordCount(); ++i)
            prizes += loaded->history.prizes(i) ? 1 : 0;
    }
    state.counters["drawsWithPrizes"] = prizes;
}
BENCHMARK(BM_StartupBringingTheRealDatabaseForward)->Unit(benchmark::kMillisecond);

} // namespace

N3_BENCHMARK_MAIN()
