// ランダム性の検定 over a full 32,767-draw history: the eight tests and the grid, as the window
// computes them. It must stay within 50 ms. Run by hand: build/bench/bench_randomness

#include "analysis/randomness.h"
#include "bench_history.h"
#include "bench_main.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RandomnessAllDraws32767(benchmark::State& state)
{
    const History history = fullHistory();
    const DrawRange range = RandomnessSheet::defaultRange(history);
    for (auto _ : state) {
        RandomnessSheet sheet;
        sheet.compute(history, range);
        benchmark::DoNotOptimize(sheet.grid().revision());
    }
    RandomnessSheet sheet;
    sheet.compute(history, range);
    state.counters["draws"] = sheet.results()[0].count;
}
BENCHMARK(BM_RandomnessAllDraws32767)->Unit(benchmark::kMillisecond);

} // namespace

N3_BENCHMARK_MAIN()
