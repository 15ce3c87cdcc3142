// Grid fill speed and size on a full draw sheet (32,770 rows x 32 columns), the same sheet put
// into a QTableWidget for comparison, and the first paint of a GridView over it.
#include "grid/grid.h"
#include "widgets/grid_view.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kRows = 32770;
constexpr int kCols = 32;
constexpr double kCells = double(kRows) * kCols;

// Texts as the analysis windows write them, built once outside the timed loops.
struct SheetTexts {
    QString dot = QStringLiteral("●");
    QString first = QStringLiteral("初回");
    std::vector<QString> digits;
    std::vector<QString> drawNumbers;
    std::vector<QString> intervals; // "n回前"
    std::vector<QString> deltas; // "+3", "-4"

    SheetTexts()
    {
        for (int i = 0; i < 10; ++i)
            digits.push_back(QString::number(i));
        for (int i = 0; i < 32768; ++i)
            drawNumbers.push_back(QString::number(i));
        for (int i = 1; i < 100; ++i)
            intervals.push_back(QStringLiteral("%1回前").arg(i));
        for (int i = -9; i <= 9; ++i)
            deltas.push_back(i > 0 ? QStringLiteral("+%1").arg(i) : QString::number(i));
    }

    const QString& at(int col, int row) const
    {
        switch (col) {
        case 1:
            return drawNumbers[std::size_t(row % 32768)];
        case 2:
            return row % 7 ? intervals[std::size_t(row % 99)] : first;
        case 3:
            return deltas[std::size_t(row % 19)];
        default:
            return (row + col) % 3 ? digits[std::size_t((row * col) % 10)] : dot;
        }
    }
};

const SheetTexts& texts()
{
    static const SheetTexts t;
    return t;
}

constexpr GridColor kBack[2] = {rgb(255, 255, 224), rgb(224, 240, 255)};
constexpr GridColor kFore[2] = {rgb(0, 0, 0), rgb(200, 0, 0)};

void fillGrid(Grid& g, const SheetTexts& t)
{
    for (int r = 1; r <= kRows; ++r) {
        const GridColor fore = kFore[r % 5 == 0];
        for (int c = 1; c <= kCols; ++c) {
            g.setText(c, r, t.at(c, r));
            g.setBackColor(c, r, kBack[c & 1]);
            g.setForeColor(c, r, fore);
        }
    }
}

double gridFillSeconds = 0;
double tableFillSeconds = 0;

void BM_GridSize(benchmark::State& state)
{
    for (auto _ : state) {
        Grid g;
        g.setMaxCols(kCols);
        g.setMaxRows(kRows);
        benchmark::DoNotOptimize(g.maxRows());
    }
}
BENCHMARK(BM_GridSize)->Unit(benchmark::kMillisecond);

void BM_GridFill(benchmark::State& state)
{
    const SheetTexts& t = texts();
    Grid g(kCols, kRows);
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        fillGrid(g, t);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(g.revision());
    }
    gridFillSeconds = total / double(state.iterations());
    state.counters["bytes_per_cell"] = double(g.memoryUsage()) / kCells;
    state.counters["ns_per_cell"] = gridFillSeconds * 1e9 / kCells;
}
BENCHMARK(BM_GridFill)->Unit(benchmark::kMillisecond);

void BM_GridPutAllCells(benchmark::State& state)
{
    Grid g(kCols, kRows);
    fillGrid(g, texts());
    g.setBlock(-1, -1, -1, -1);
    int i = 0;
    for (auto _ : state) {
        g.setHAlign(++i % 2 ? HAlign::Right : HAlign::Center);
        g.setBackColor(kBack[i & 1]);
    }
}
BENCHMARK(BM_GridPutAllCells)->Unit(benchmark::kMillisecond);

void BM_TableWidgetFill(benchmark::State& state)
{
    const SheetTexts& t = texts();
    double total = 0;
    const QBrush backs[2] = {QColor(kBack[0].r, kBack[0].g, kBack[0].b), QColor(kBack[1].r, kBack[1].g, kBack[1].b)};
    const QBrush fores[2] = {QColor(kFore[0].r, kFore[0].g, kFore[0].b), QColor(kFore[1].r, kFore[1].g, kFore[1].b)};
    for (auto _ : state) {
        state.PauseTiming();
        auto table = std::make_unique<QTableWidget>(kRows, kCols);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        for (int r = 1; r <= kRows; ++r) {
            const QBrush& fore = fores[r % 5 == 0];
            for (int c = 1; c <= kCols; ++c) {
                auto* item = new QTableWidgetItem(t.at(c, r));
                item->setBackground(backs[c & 1]);
                item->setForeground(fore);
                table->setItem(r - 1, c - 1, item);
            }
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    tableFillSeconds = total / double(state.iterations());
    state.counters["ns_per_cell"] = tableFillSeconds * 1e9 / kCells;
}
BENCHMARK(BM_TableWidgetFill)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_GridViewFirstPaint(benchmark::State& state)
{
    Grid g(kCols, kRows);
    fillGrid(g, texts());
    g.setFrozenRows(1);
    g.setFrozenCols(1);
    g.setAllowCellOverflow(true);
    bool cold = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<GridView>(&g);
        view->resize(900, 700);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(view->grab());
        if (cold) {
            state.counters["cold_ms"]
                = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            cold = false;
        }
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridViewFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gridFillSeconds > 0 && tableFillSeconds > 0)
        std::printf("Fill of %d x %d cells: Grid %.1f ms, QTableWidget %.1f ms, QTableWidget/Grid = %.1f\n", kRows,
                    kCols, gridFillSeconds * 1e3, tableFillSeconds * 1e3, tableFillSeconds / gridFillSeconds);
    return 0;
}
