// The player's ledger checked against the largest history: 10,000 ticket lines of 10 draws
// each at 32,767 draws, every draw with prizes. Run by hand: build/bench/bench_tickets

#include "analysis/ticket_results.h"
#include "bench_history.h"
#include "bench_main.h"

#include <benchmark/benchmark.h>

namespace {

QVector<ticket::Line> ledger()
{
    QVector<ticket::Line> lines;
    for (int i = 0; i < 10000; ++i) {
        ticket::Line line;
        line.type = ticket::Type(i % ticket::kTypes);
        line.number = line.type == ticket::Type::Mini ? QStringLiteral("%1").arg(i % 100, 2, 10, QChar(u'0'))
                                                      : QStringLiteral("%1").arg(i % 1000, 3, 10, QChar(u'0'));
        line.units = 1 + i % ticket::kMaxUnits;
        line.firstDraw = 1 + (i * 37) % 32758;
        line.draws = ticket::kMaxDraws;
        lines << line;
    }
    return lines;
}

void BM_CheckTenThousandLines(benchmark::State& state)
{
    const History history = fullHistory();
    const QVector<ticket::Line> lines = ledger();
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

} // namespace

N3_BENCHMARK_MAIN()
