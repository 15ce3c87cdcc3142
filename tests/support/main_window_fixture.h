#pragma once
// A main window over the program-wide history a test has installed, with every window of the
// program registered and no database behind it.

#include "app/main_frm.h"
#include "app/window_registry.h"

#include <memory>

namespace fixture {

inline std::unique_ptr<MainFrm> mainWindowOverHistory()
{
    auto main = std::make_unique<MainFrm>(MainFrm::Files{QStringLiteral("/nonexistent/n.db"), QString()});
    main->setPropEnd(true);
    registerWindows(*main);
    main->resize(1200, 900);
    return main;
}

} // namespace fixture
