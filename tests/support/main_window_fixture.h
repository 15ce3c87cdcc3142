#pragma once
// A main window over a history a test has made, with every window of the program registered
// and no database behind it.

#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/history.h"

#include <QAction>
#include <QMdiSubWindow>
#include <memory>

namespace fixture {

inline std::unique_ptr<MainFrm> mainWindowOver(const History& history)
{
    auto main = std::make_unique<MainFrm>(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    main->setPropEnd(true);
    registerWindows(*main);
    main->showHistory(history);
    main->resize(1200, 900);
    return main;
}

// The window a menu entry opens, as the frame it is shown in; null when it is another one.
template <typename T> T* openedFrom(MainFrm& main, const char* action, const QString& form)
{
    main.menuAction(QString::fromLatin1(action))->trigger();
    auto* sub = qobject_cast<QMdiSubWindow*>(main.childWindow(form));
    return sub ? dynamic_cast<T*>(sub->widget()) : nullptr;
}

} // namespace fixture
