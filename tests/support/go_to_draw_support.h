#pragma once
// Answering the 回数へ移動 dialog in a test, and reading what a grid view shows.

#include "grid/grid.h"
#include "widgets/go_to_draw.h"
#include "widgets/grid_view.h"

#include <QApplication>
#include <QTimer>
#include <functional>

namespace fixture {

// Runs press (which opens the dialog, modally), answers the dialog with answer once it shows
// and closes it if the answer left it open. Returns whether a dialog showed.
inline bool withGoToDrawDialog(const std::function<void()>& press, const std::function<void(GoToDrawDialog&)>& answer)
{
    bool shown = false;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<GoToDrawDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer.stop();
        shown = true;
        answer(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer.start();
    press();
    timer.stop();
    return shown;
}

// The last row whose whole height is in view.
inline int lastFullyVisibleRow(const GridView& view)
{
    int row = view.firstVisibleRow();
    while (row < view.grid()->maxRows() && view.cellRect(1, row + 1).bottom() < view.viewport()->height())
        ++row;
    return view.cellRect(1, row).bottom() < view.viewport()->height() ? row : row - 1;
}

} // namespace fixture
