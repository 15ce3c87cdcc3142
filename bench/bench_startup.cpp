// Start-up load of a full 32,767-draw history: open the database, take the snapshot,
// derive the figures. Run by hand: build/bench/bench_startup

#include "bench_history.h"
#include "bench_main.h"
#include "data/draw_database.h"
#include "data/history_source.h"

#include <QCoreApplication>
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

} // namespace

N3_BENCHMARK_MAIN()
