// The player's ledger checked against the largest history: 10,000 ticket lines of 10 draws
// each at 32,767 draws, every draw with prizes. Run by hand: build/bench/bench_tickets

#include "analysis/ticket_results.h"
#include "catalogue/window_catalogue.h"
#include "bench_history.h"
#include "bench_main.h"

#include <benchmark/benchmark.h>

namespace {

void BM_CheckTenThousandLines(benchmark::State& state)
{
    const History history = fullHistory();
    const QVector<ticket::Line> lines = tenThousandLines();
    qint64 won = 0;
    for (auto _ : state) {
        const ticket_results::DrawIndex index(history);
        won = 0;
        for (const ticket::Line& line : lines) {
            for (const ticket_results::DrawResult& result : ticket_results::resultsOf(line, history, index))
                won += result.paid;
        }
        benchmark::DoNotOptimize(won);
    }
    state.counters["won"] = double(won);
}
BENCHMARK(BM_CheckTenThousandLines)->Unit(benchmark::kMillisecond);

// 収支 computes its three tables and its chart from the same ledger over every draw (100,000
// rows), as the window does when it opens; the budget is 100 ms for the whole opening.
void BM_BalanceSheets(benchmark::State& state)
{
    const History history = datedFullHistory().withTickets(tenThousandLines());
    const catalogue::WindowRecord* record = catalogue::findWindow(QStringLiteral("収支"));
    qsizetype rows = 0;
    for (auto _ : state) {
        const std::unique_ptr<WindowSheets> sheets = catalogue::computeSheets(*record, history);
        rows = sheets->grids().at(2)->maxRows();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_BalanceSheets)->Unit(benchmark::kMillisecond);

} // namespace

N3_BENCHMARK_MAIN()
