// Choosing the draws a window covers on a full 32,767-draw history: one open window computing
// and repainting over another range, and one choice going to every open window.
// Run by hand: build/bench/bench_range

#include "bench_history.h"
#include "bench_widget_main.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "catalogue/window_catalogue.h"
#include "widgets/analysis_frame.h"
#include "widgets/child_frame.h"

#include <QLineEdit>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <benchmark/benchmark.h>

namespace {

// Every window that covers a range, the prediction first: the analyses, then the two testing
// windows.
QStringList rangeForms()
{
    QStringList forms;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (record.computes())
            forms << record.form;
    }
    return forms;
}

ChildFrame* frameOf(QWidget* window)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(window);
    return dynamic_cast<ChildFrame*>(sub ? sub->widget() : window);
}

struct Program {
    QTemporaryDir dir;
    MainFrm main{MainFrm::Files{makeFullDatabase(dir), QString()}};

    bool start()
    {
        registerWindows(main);
        if (!main.load())
            return false;
        main.resize(1280, 1000);
        main.show();
        return true;
    }
};

// One window, between 全期間 and 直近1000回 (the testing windows, which test each draw of
// their range against every earlier one, between 直近100回 and 直近300回).
void BM_ChangeTheRangeOfOneWindow(benchmark::State& state)
{
    static Program program;
    static const bool started = program.start();
    if (!started) {
        state.SkipWithError("cannot load");
        return;
    }
    const QString form = rangeForms().value(int(state.range(0)));
    const catalogue::WindowRecord* record = catalogue::findWindow(form);
    ChildFrame* frame = frameOf(program.main.openChild(form));
    if (!frame || !record) {
        state.SkipWithError("cannot open the window");
        return;
    }
    state.SetLabel(form.toStdString());
    // The search over a number that comes as each kind.
    if (auto* analysis = dynamic_cast<AnalysisFrame*>(frame); analysis && analysis->numberBox) {
        analysis->numberBox->setText(QStringLiteral("123"));
        analysis->search();
    }
    const RangeChoice choices[2] = {record->takesRange ? RangeChoice::lastDraws(100) : RangeChoice::all(),
                                    record->takesRange ? RangeChoice::lastDraws(300) : RangeChoice::lastDraws(1000)};
    int next = 0;
    for (auto _ : state) {
        frame->chooseRange(choices[next]);
        frame->repaint();
        next = 1 - next;
    }
    frame->chooseRange(record->defaultRange);
}
BENCHMARK(BM_ChangeTheRangeOfOneWindow)->DenseRange(0, int(rangeForms().size()) - 1)->Unit(benchmark::kMillisecond);

// 当せん番号検索 over every draw: a ストレート/ボックス number and a ミニ one in turn, computed and
// repainted as 検索 does.
void BM_SearchANumber(benchmark::State& state)
{
    static Program program;
    static const bool started = program.start();
    if (!started) {
        state.SkipWithError("cannot load");
        return;
    }
    auto* frame = dynamic_cast<AnalysisFrame*>(frameOf(program.main.openChild(QStringLiteral("当せん番号検索"))));
    if (!frame || !frame->numberBox) {
        state.SkipWithError("cannot open the window");
        return;
    }
    const QString numbers[2] = {QStringLiteral("123"), QStringLiteral("45")};
    int next = 0;
    for (auto _ : state) {
        frame->numberBox->setText(numbers[next]);
        frame->search();
        frame->repaint();
        next = 1 - next;
    }
}
BENCHMARK(BM_SearchANumber)->Unit(benchmark::kMillisecond);

// Every window open: この期間をすべてのウィンドウに, between 直近1000回 and 直近300回.
void BM_OneRangeToEveryOpenWindow(benchmark::State& state)
{
    Program program;
    if (!program.start()) {
        state.SkipWithError("cannot load");
        return;
    }
    for (const QString& form : rangeForms())
        program.main.openChild(form);
    QCoreApplication::processEvents();
    const RangeChoice choices[2] = {RangeChoice::lastDraws(1000), RangeChoice::lastDraws(300)};
    int next = 0;
    for (auto _ : state) {
        program.main.applyRangeToAll(choices[next]);
        program.main.repaint();
        next = 1 - next;
    }
    state.counters["windows"] = program.main.mdiArea()->subWindowList().size();
}
BENCHMARK(BM_OneRangeToEveryOpenWindow)->Unit(benchmark::kMillisecond);

} // namespace

N3_WIDGET_BENCHMARK_MAIN()
