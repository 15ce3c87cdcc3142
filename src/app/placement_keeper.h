#pragma once
// The main window's place and size from one run to the next, in the placement file (see
// data/window_placement.h): restored at start, noted at exit.

#include <QString>

class QMainWindow;

class PlacementKeeper {
public:
    // An empty file name keeps no placement.
    PlacementKeeper(QMainWindow& window, QString file);

    const QString& file() const { return m_file; }
    // The placement of the last run, where a screen can still show it; otherwise (the first
    // start, a screen gone) the window opens maximised over its default size, centred.
    void restore();
    // The window was shown (only a window that was shown has a placement to keep).
    void shown();
    // Notes the placement at exit.
    void save();

private:
    void coverScreenUnlessMaximised();

    QMainWindow& m_window;
    QString m_file;
    bool m_shownOnce = false;
};
