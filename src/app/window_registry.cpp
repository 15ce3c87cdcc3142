#include "app/window_registry.h"

#include "analysis/analysis_window.h"
#include "app/main_frm.h"
#include "entry/entry_window.h"
#include "frame/analysis_frame.h"
#include "prediction/prediction_window.h"

#include <QMdiSubWindow>
#include <memory>

void registerWindows(MainFrm& main)
{
    main.registerChild(当選データ入力::kFormName, open当選データ入力);
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (!info.available())
            continue;
        main.registerChild(info.form, [&info](MainFrm& m) -> QWidget* { return AnalysisFrame::load(m, info); });
    }

    // The prediction flags outlive the window: the main window's hooks and the window's factory
    // share them for as long as the main window keeps either.
    auto settings = std::make_shared<PredictionSettings>();
    main.registerChild(一発ズバリン::kFormName,
                       [settings](MainFrm& m) -> QWidget* { return 一発ズバリン::load(m, settings); });
    main.setSettingsHooks([settings] { settings->ReadInitFile(); },
                          [settings, &main] { 一発ズバリン::saveSettings(*settings, &main); });
}
