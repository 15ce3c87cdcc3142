// Opening each analysis window on a full 32,767-draw history, from the menu command to the
// first paint of the window (offscreen). Run by hand: build/bench/bench_windows

#include "analysis/analysis_window.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/global_bas.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <benchmark/benchmark.h>
#include <random>

namespace {

void adoptFullHistory()
{
    QVector<RecordSet::Row> rows;
    std::mt19937 random(11);
    for (int n = 1; n <= 32767; ++n) {
        RecordSet::Row row;
        row.drawNo = n;
        for (auto& d : row.digits)
            d = std::int8_t(random() % 10);
        rows << row;
    }
    GlobalBas::adoptHistory(RecordSet::fromRows(std::move(rows)));
}

void BM_OpenWindow(benchmark::State& state, QString form)
{
    MainFrm main(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    registerWindows(main);
    main.resize(1200, 900);
    main.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QWidget* window = main.openChild(form);
        if (!window) {
            state.SkipWithError("window not available");
            break;
        }
        benchmark::DoNotOptimize(window->grab());
        state.PauseTiming();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    adoptFullHistory();
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (info.available())
            benchmark::RegisterBenchmark(("BM_OpenWindow/" + info.form).toUtf8().constData(), BM_OpenWindow, info.form)
                ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
