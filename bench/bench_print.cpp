// 分割10データ分析 to PDF (page layout and the PDF writer), on the full 32,767-draw history and on
// the shipped one (7,089 draws, with their dates). Budgets: 5 s and 10 MB for the full history,
// 1.5 s for the shipped one. Run by hand: build/bench/bench_print

#include "catalogue/window_catalogue.h"
#include "bench_history.h"
#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"
#include "print/page_layout.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kWindow = QStringLiteral("分割10データ分析");

// The shipped history as the program reads it from its database, dates included.
History shippedHistory()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.db"));
    QString reason;
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_SOURCE_DIR "/data/numbers3-history.csv"));
    if (!csv.ok() || DrawDatabase::create(path, csv, &reason) != DrawDatabase::Creation::Created)
        qFatal("cannot create the shipped history's database: %s", qPrintable(reason));
    std::optional<history_source::Loaded> loaded = history_source::startupLoad(path, QString(), &reason);
    if (!loaded)
        qFatal("cannot read the shipped history: %s", qPrintable(reason));
    return std::move(loaded->history);
}

// withCompute: the window's grid is computed in each iteration too, as the companion does.
void toPdf(benchmark::State& state, const History& history, bool withCompute)
{
    const catalogue::WindowRecord* info = catalogue::findWindow(kWindow);
    std::unique_ptr<WindowSheets> sheets = catalogue::computeSheets(*info, history);
    QByteArray pdf;
    int pages = 0;
    for (auto _ : state) {
        if (withCompute)
            sheets = catalogue::computeSheets(*info, history);
        const PageLayout layout(sheets->grids(), PrintHeader::of(info->caption, history));
        pdf = pdfOf(layout);
        pages = layout.pageCount();
        benchmark::DoNotOptimize(pdf.data());
    }
    if (pdf.isEmpty())
        state.SkipWithError("no PDF");
    state.counters["pages"] = pages;
    state.counters["MB"] = pdf.size() / 1e6;
}

void BM_SplitTenPdfFull(benchmark::State& state)
{
    toPdf(state, fullHistory(), false);
}
BENCHMARK(BM_SplitTenPdfFull)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SplitTenComputeAndPdfFull(benchmark::State& state)
{
    toPdf(state, fullHistory(), true);
}
BENCHMARK(BM_SplitTenComputeAndPdfFull)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SplitTenComputeAndPdfShipped(benchmark::State& state)
{
    static const History history = shippedHistory();
    toPdf(state, history, true);
}
BENCHMARK(BM_SplitTenComputeAndPdfShipped)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
