// 予想の検証 on a full 32,767-draw history with the prizes of every draw known, so that each win
// is paid its draw's own prize: every complete draw tested, and the default last 1,000 draws
// (which still walks every draw before them). Run by hand: build/bench/bench_backtest

#include "bench_history.h"
#include "bench_main.h"
#include "prediction/backtest.h"

#include <benchmark/benchmark.h>

namespace {

// The full history with prizes for every draw, each straight prize a little different.
const History& fullHistoryWithPrizes()
{
    static const History history = [] {
        const History plain = fullHistory();
        QHash<int, prize::DrawPrizes> byDrawNo;
        byDrawNo.reserve(plain.recordCount());
        for (const DrawRecord& draw : plain.draws()) {
            const prize::Shape shape = prize::shapeOf(draw.digit(1), draw.digit(2), draw.digit(3));
            byDrawNo.insert(
                draw.drawNo,
                {.counts = {}, .amounts = prize::amountsFromStraight(80000 + 100 * (draw.drawNo % 300), shape)});
        }
        return plain.withPrizes(byDrawNo);
    }();
    return history;
}

void BM_BacktestEveryDraw(benchmark::State& state)
{
    const History& history = fullHistoryWithPrizes();
    const DrawRange range{1, history.lastDrawNo()};
    for (auto _ : state) {
        BacktestSheets sheets;
        sheets.compute(history, range, int(state.range(0)));
        benchmark::DoNotOptimize(sheets.summary().text(10, 8));
    }
}

void BM_BacktestDefaultRange(benchmark::State& state)
{
    const History& history = fullHistoryWithPrizes();
    const DrawRange range = RangeChoice::lastDraws(BacktestSheets::kDefaultDraws).resolve(history);
    for (auto _ : state) {
        BacktestSheets sheets;
        sheets.compute(history, range, int(state.range(0)));
        benchmark::DoNotOptimize(sheets.summary().text(10, 8));
    }
}

} // namespace

BENCHMARK(BM_BacktestEveryDraw)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BacktestDefaultRange)->Arg(0)->Arg(3)->Unit(benchmark::kMillisecond);

N3_BENCHMARK_MAIN()
