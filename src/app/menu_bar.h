#pragma once
// The main window's menu bar: its menus and commands, with every window's entry where the
// catalogue places it.

#include "catalogue/window_catalogue.h"

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;

struct MenuBarActions {
    QHash<QString, QAction*> byName; // every entry, by its object name
    QHash<QAction*, const catalogue::WindowRecord*> windows; // the entries that open a window
};

// Fills the bar: the menus and commands of the main window, and the catalogue's windows.
MenuBarActions buildMenuBar(QMenuBar* bar);
