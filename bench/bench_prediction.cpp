// The prediction window on a full 32,767-draw history: from the menu command to the first paint
// of the window (offscreen), and the predictor on its own. Run by hand: build/bench/bench_prediction

#include "bench_history.h"
#include "bench_widget_main.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "prediction/prediction_sheets.h"

#include <QAction>
#include <benchmark/benchmark.h>

namespace {

void BM_OpenPredictionWindow(benchmark::State& state)
{
    MainFrm main(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    registerWindows(main);
    main.showHistory(fullHistory());
    main.resize(1200, 900);
    main.show();
    QCoreApplication::processEvents();
    QAction* yoso = main.menuAction(QStringLiteral("mnuYoso"));
    for (auto _ : state) {
        state.PauseTiming();
        if (QWidget* open = main.childWindow(QStringLiteral("一発ズバリン"))) {
            open->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        state.ResumeTiming();
        yoso->trigger();
        QWidget* window = main.childWindow(QStringLiteral("一発ズバリン"));
        if (!window) {
            state.SkipWithError("window not available");
            break;
        }
        benchmark::DoNotOptimize(window->grab());
    }
}

// The tables and the picks alone, as an opening computes them.
void BM_PredictionSheets(benchmark::State& state)
{
    const History history = fullHistory();
    for (auto _ : state) {
        PredictionSheets sheets;
        sheets.open(history);
        sheets.refresh(3);
        benchmark::DoNotOptimize(sheets.grid(3).text(2, 2));
    }
}

} // namespace

BENCHMARK(BM_OpenPredictionWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PredictionSheets)->Unit(benchmark::kMicrosecond);

N3_WIDGET_BENCHMARK_MAIN()
