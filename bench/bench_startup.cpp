// Start-up load of a full 32,767-draw history: open the database, take the snapshot,
// derive the figures. Run by hand: build/bench/bench_startup

#include "bench_main.h"
#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

QString makeHistory(const QTemporaryDir& dir)
{
    QByteArray csv = "回数,第1数字,第2数字,第3数字\n";
    std::mt19937 random(7);
    for (int n = 1; n <= 32767; ++n) {
        // The last few draws are numbered but not drawn yet, as in real use.
        if (n > 32760)
            csv += QByteArray::number(n) + ",,,\n";
        else
            csv += QByteArray::number(n) + ',' + QByteArray::number(random() % 10) + ','
                + QByteArray::number(random() % 10) + ',' + QByteArray::number(random() % 10) + '\n';
    }
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    QString reason;
    if (DrawDatabase::create(path, HistoryCsv::parse(csv), &reason) != DrawDatabase::Creation::Created)
        qFatal("cannot create the benchmark database: %s", qPrintable(reason));
    return path;
}

void BM_StartupLoad32767(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeHistory(dir);
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
        if (DrawDatabase::create(dir.filePath(QStringLiteral("n.db")), history, &reason) != DrawDatabase::Creation::Created)
            state.SkipWithError(qPrintable(reason));
    }
}
BENCHMARK(BM_CreateFromShippedHistory)->Unit(benchmark::kMillisecond);

} // namespace

N3_BENCHMARK_MAIN()
