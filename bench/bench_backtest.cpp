// 予想の検証 on a full 32,767-draw history: every complete draw tested, and the default last
// 1,000 draws (which still walks every draw before them). Run by hand: build/bench/bench_backtest

#include "bench_history.h"
#include "bench_main.h"
#include "prediction/backtest.h"

#include <benchmark/benchmark.h>

namespace {

void BM_BacktestEveryDraw(benchmark::State& state)
{
    const History history = fullHistory();
    const DrawRange range{1, history.lastDrawNo()};
    for (auto _ : state) {
        BacktestSheets sheets;
        sheets.compute(history, range, int(state.range(0)));
        benchmark::DoNotOptimize(sheets.summary().text(9, 8));
    }
}

void BM_BacktestDefaultRange(benchmark::State& state)
{
    const History history = fullHistory();
    const DrawRange range = RangeChoice::lastDraws(BacktestSheets::kDefaultDraws).resolve(history);
    for (auto _ : state) {
        BacktestSheets sheets;
        sheets.compute(history, range, int(state.range(0)));
        benchmark::DoNotOptimize(sheets.summary().text(9, 8));
    }
}

} // namespace

BENCHMARK(BM_BacktestEveryDraw)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BacktestDefaultRange)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

N3_BENCHMARK_MAIN()
