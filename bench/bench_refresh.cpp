// A new draw on a full 32,767-draw history with every window of the program open: reading the
// history again, every open window computing it and repainting. And the reading alone.
// Run by hand: build/bench/bench_refresh

#include "bench_history.h"
#include "bench_widget_main.h"
#include "catalogue/window_catalogue.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/history_source.h"

#include <QMdiArea>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

namespace {

// Enters draw 32761, or takes it back out: either way the history has changed.
void changeOneDraw(const QString& path, bool enter)
{
    DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
    QString reason;
    if (!db.open(&reason))
        qFatal("cannot open the benchmark database: %s", qPrintable(reason));
    QSqlQuery query(db.database());
    const QString digits = enter ? QStringLiteral("4, 0, 9") : QStringLiteral("NULL, NULL, NULL");
    if (!query.exec(
            QStringLiteral("update 当選データ set (第1数字, 第2数字, 第3数字) = (%1) where 回数 = 32761").arg(digits)))
        qFatal("cannot change the benchmark database");
}

void BM_RereadHistory32767(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString connect = DrawDatabase::connectString(makeFullDatabase(dir));
    for (auto _ : state) {
        QString reason;
        const std::optional<History> history = history_source::reread(connect, &reason);
        if (!history)
            state.SkipWithError(qPrintable(reason));
        benchmark::DoNotOptimize(history->lastDrawNo());
    }
}
BENCHMARK(BM_RereadHistory32767)->Unit(benchmark::kMillisecond);

void BM_NewDrawReachesEveryOpenWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = makeFullDatabase(dir);
    MainFrm main(MainFrm::Files{path, QString()});
    registerWindows(main);
    if (!main.load()) {
        state.SkipWithError("cannot load");
        return;
    }
    main.resize(1280, 1000);
    main.show();
    QStringList forms{QStringLiteral("一発ズバリン")};
    for (const catalogue::WindowRecord* record : catalogue::windowsIn(catalogue::Frame::Analysis))
        forms << record->form;
    for (const QString& form : forms)
        main.openChild(form);
    QCoreApplication::processEvents();
    bool enter = true;
    for (auto _ : state) {
        state.PauseTiming();
        changeOneDraw(path, enter);
        enter = !enter;
        state.ResumeTiming();
        if (!main.reloadHistory())
            state.SkipWithError("cannot read the history again");
        main.repaint();
    }
    state.counters["windows"] = main.mdiArea()->subWindowList().size();
    state.counters["lastDrawNo"] = main.currentHistory().lastDrawNo();
}
BENCHMARK(BM_NewDrawReachesEveryOpenWindow)->Unit(benchmark::kMillisecond);

} // namespace

N3_WIDGET_BENCHMARK_MAIN()
