#pragma once
// The program's icon: three drawn balls, at every size from 16 to 256 pixels (the PNGs of
// packaging/icons, built into the widgets layer).

#include <QIcon>

// The icon, one pixmap per size.
QIcon appIcon();

// Makes it the icon of every window of the program: the main window, each sub-window inside
// it, the dialogs and message boxes. Call once, after the QApplication exists.
void installAppIcon();
