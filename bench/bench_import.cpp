// The command-line companion: importing the shipped 7,089-draw history into a new database
// (goal: at most 200 ms), and writing a 32,770-row grid as JSON and CSV.
// Run by hand: build/bench/bench_import

#include "bench_main.h"
#include "data/history_csv.h"
#include "grid/grid_export.h"
#include "tool_commands.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kHistory = QStringLiteral(N3_SOURCE_DIR "/data/numbers3-history.csv");

void BM_ImportShippedHistoryIntoNewDatabase(benchmark::State& state)
{
    int written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        const tool::ImportResult result = tool::importHistory(dir.filePath(QStringLiteral("n.db")), kHistory);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.error));
        written = result.written;
    }
    state.counters["draws"] = written;
}
BENCHMARK(BM_ImportShippedHistoryIntoNewDatabase)->Unit(benchmark::kMillisecond);

void BM_ReimportShippedHistoryOverItself(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.db"));
    tool::importHistory(path, kHistory);
    for (auto _ : state) {
        const tool::ImportResult result = tool::importHistory(path, kHistory);
        if (!result.ok)
            state.SkipWithError(qPrintable(result.error));
    }
}
BENCHMARK(BM_ReimportShippedHistoryOverItself)->Unit(benchmark::kMillisecond);

// Files that are no history at all must be refused quickly and in little memory: 64 MB of
// blank lines (goal: under 5 s; its peak memory is checked by the data tests).
void BM_RefuseHugeFileOfBlankLines(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("blank.csv"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(HistoryCsv::kMaxFileBytes, '\n'));
    }
    for (auto _ : state) {
        const HistoryCsv csv = HistoryCsv::readFile(path);
        if (csv.ok())
            state.SkipWithError("a file without a header was accepted");
    }
    state.SetBytesProcessed(state.iterations() * HistoryCsv::kMaxFileBytes);
}
BENCHMARK(BM_RefuseHugeFileOfBlankLines)->Unit(benchmark::kMillisecond);

// A chart-like sheet of the largest size a window reaches: marks and labels, three colours.
Grid largeGrid()
{
    Grid grid(11, 32770);
    for (int row = 1; row <= grid.maxRows(); ++row) {
        grid.setText(1, row, QString::number(row));
        grid.setCellColors(1, row, rgb(222, 254, 253), rgb(0, 0, 255));
        for (int col = 2; col <= grid.maxCols(); ++col) {
            if ((row + col) % 3 == 0)
                grid.setText(col, row, QStringLiteral("●"));
            grid.setForeColor(col, row, rgb(62, 158, 255));
        }
    }
    return grid;
}

void BM_ExportJson32770Rows(benchmark::State& state)
{
    const Grid grid = largeGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(gridToJson(grid, QStringLiteral("出現頻度分析")));
}
BENCHMARK(BM_ExportJson32770Rows)->Unit(benchmark::kMillisecond);

void BM_ExportCsv32770Rows(benchmark::State& state)
{
    const Grid grid = largeGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(gridToCsv(grid));
}
BENCHMARK(BM_ExportCsv32770Rows)->Unit(benchmark::kMillisecond);

} // namespace

N3_BENCHMARK_MAIN()
