#include "app/window_registry.h"

#include "analysis/analysis_window.h"
#include "app/main_frm.h"
#include "entry/entry_window.h"
#include "frame/analysis_frame.h"

#include <QMdiSubWindow>

void registerWindows(MainFrm& main)
{
    main.registerChild(当選データ入力::kFormName, open当選データ入力);
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (!info.available())
            continue;
        main.registerChild(info.form, [&info](MainFrm& m) -> QWidget* { return AnalysisFrame::load(m, info); });
    }
}
