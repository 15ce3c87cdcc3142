// Opening each analysis window on a full 32,767-draw history, from the menu command to the
// first paint of the window (offscreen); the ledger 購入記録 over 10,000 lines, opened and
// recorded into. Run by hand: build/bench/bench_windows

#include "bench_history.h"
#include "catalogue/window_catalogue.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "windows/ticket_window.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

// Opens the window from its menu command to its first paint, then closes it, over and over.
void openAndPaint(benchmark::State& state, MainFrm& main, const QString& form)
{
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

void BM_OpenWindow(benchmark::State& state, QString form, History history)
{
    MainFrm main(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    registerWindows(main);
    main.showHistory(history);
    main.resize(1200, 900);
    main.show();
    QCoreApplication::processEvents();
    openAndPaint(state, main, form);
}

// A database of 32,767 draws with 10,000 ticket lines of 10 draws each, made once.
QString ledgerDatabase()
{
    static QTemporaryDir dir;
    static const QString path = makeLedgerDatabase(dir);
    return path;
}

const QString kLedger = QStringLiteral("購入記録");

// From the menu command to the first paint of the window.
void BM_OpenTicketLedger(benchmark::State& state)
{
    MainFrm main(MainFrm::Files{ledgerDatabase(), QString()});
    registerWindows(main);
    if (!main.load()) {
        state.SkipWithError("database not readable");
        return;
    }
    main.resize(1200, 900);
    main.show();
    QCoreApplication::processEvents();
    openAndPaint(state, main, kLedger);
}
BENCHMARK(BM_OpenTicketLedger)->Unit(benchmark::kMillisecond);

// 追加 of one line: written to the database (a transaction of its own) and shown in the list.
void BM_RecordTicketLine(benchmark::State& state)
{
    MainFrm main(MainFrm::Files{ledgerDatabase(), QString()});
    registerWindows(main);
    if (!main.load()) {
        state.SkipWithError("database not readable");
        return;
    }
    main.resize(1200, 900);
    main.show();
    TicketWindow* window = TicketWindow::of(main.openChild(kLedger));
    if (!window) {
        state.SkipWithError("window not available");
        return;
    }
    window->grab();
    for (auto _ : state) {
        window->numberEdit()->setText(QStringLiteral("123"));
        window->add();
        state.PauseTiming();
        window->undo(); // the ledger stays at 10,000 lines
        state.ResumeTiming();
    }
    state.counters["lines"] = double(window->model()->rowCount());
}
BENCHMARK(BM_RecordTicketLine)->Unit(benchmark::kMillisecond);

// Resident memory of this process, in MB.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Opens every window of the program at once, one after another, and prints what each adds to
// the process and where the whole process ends.
void reportMemory()
{
    MainFrm main(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    registerWindows(main);
    main.showHistory(fullHistory());
    main.resize(1200, 900);
    main.show();
    QCoreApplication::processEvents();
    QStringList forms;
    for (const catalogue::WindowRecord* record : catalogue::windowsIn(catalogue::Frame::Analysis))
        forms << record->form;
    forms << QStringLiteral("一発ズバリン");
    std::printf("Memory with a 32,767-draw history (resident, MB): before the windows %.1f\n", residentMegabytes());
    for (const QString& form : forms) {
        const double before = residentMegabytes();
        QWidget* window = main.openChild(form);
        if (!window)
            continue;
        window->grab();
        QCoreApplication::processEvents();
        std::printf("  %-40s +%.1f\n", form.toUtf8().constData(), residentMegabytes() - before);
    }
    std::printf("  every window open at once: process %.1f\n", residentMegabytes());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (const catalogue::WindowRecord* record : catalogue::windowsIn(catalogue::Frame::Analysis))
        benchmark::RegisterBenchmark(("BM_OpenWindow/" + record->form).toUtf8().constData(), BM_OpenWindow,
                                     record->form, fullHistory())
            ->Unit(benchmark::kMillisecond);
    // 収支 with a ledger at its largest: 10,000 lines of 10 draws, every draw dated.
    benchmark::RegisterBenchmark("BM_OpenWindow/収支 with 10,000 lines", BM_OpenWindow, QStringLiteral("収支"),
                                 datedFullHistory().withTickets(tenThousandLines()))
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    // Memory first, while nothing freed by earlier windows can be reused.
    reportMemory();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
