#include "app/window_registry.h"

#include "analysis/analysis_window.h"
#include "app/main_frm.h"
#include "widgets/analysis_frame.h"
#include "windows/backtest_window.h"
#include "windows/entry_window.h"
#include "windows/prediction_window.h"
#include "windows/randomness_window.h"

#include <QMdiSubWindow>
#include <memory>

void registerWindows(MainFrm& main)
{
    // propEnd says whether the entry window may open. The entry window itself, the prediction
    // window and most analyses set it to False while they are open; the host sets it back to
    // True when they close.
    main.registerChild(当選データ入力::kFormName, open当選データ入力, MainFrm::PropEndRule{false});
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (!info.available())
            continue;
        main.registerChild(
            info.form, [&info](WindowHost& host) -> QWidget* { return AnalysisFrame::load(host, info); },
            MainFrm::PropEndRule{info.propEndAtLoad});
    }

    // The prediction flags outlive the window: the main window's hooks and the window's factory
    // share them for as long as the main window keeps either.
    const QString settingsFile = main.files().settings;
    auto settings = settingsFile.isEmpty() ? std::make_shared<PredictionSettings>()
                                           : std::make_shared<PredictionSettings>(settingsFile);
    main.registerChild(
        一発ズバリン::kFormName,
        [settings](WindowHost& host) -> QWidget* { return 一発ズバリン::load(host, settings); },
        MainFrm::PropEndRule{false});
    // The backtest predicts as the prediction window does, with its flags as they are; both
    // testing windows only read the history, so they never hold the entry window back.
    main.registerChild(
        BacktestSheets::kFormName,
        [settings](WindowHost& host) -> QWidget* { return BacktestWindow::load(host, settings); },
        MainFrm::PropEndRule{true});
    main.registerChild(
        RandomnessSheet::kFormName, [](WindowHost& host) -> QWidget* { return RandomnessWindow::load(host); },
        MainFrm::PropEndRule{true});
    main.setSettingsHooks([settings] { settings->ReadInitFile(); },
                          [settings, &main] { 一発ズバリン::saveSettings(*settings, &main); });
}
