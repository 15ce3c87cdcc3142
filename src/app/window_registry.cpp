#include "app/window_registry.h"

#include "analysis/analysis_window.h"
#include "app/main_frm.h"
#include "frame/analysis_frame.h"

#include <QMdiSubWindow>

void registerWindows(MainFrm& main)
{
    for (const AnalysisWindowInfo& info : analysisWindows()) {
        if (!info.available())
            continue;
        main.registerChild(info.form, [&info](MainFrm& m) -> QWidget* { return AnalysisFrame::load(m, info); });
    }
}
