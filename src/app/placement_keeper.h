#pragma once
// The main window's place and size from one run to the next, and the range each window covers,
// in the placement file (see data/window_placement.h): restored at start, noted at exit, and a
// range noted as soon as it is chosen.

#include "data/draw_range.h"

#include <QMap>
#include <QRect>
#include <QString>
#include <optional>

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

    // The range the window of that form covered when it was last open; none: never chosen.
    std::optional<RangeChoice> range(const QString& formName) const;
    // Keeps the range chosen for that window, in the file at once (a crash must not lose it).
    void keepRange(const QString& formName, const RangeChoice& range);

private:
    void coverScreenUnlessMaximised();

    void write() const;

    QMainWindow& m_window;
    QString m_file;
    QMap<QString, RangeChoice> m_ranges;
    std::optional<QRect> m_storedGeometry; // as read at start, until the window was shown
    bool m_storedMaximized = true;
    bool m_shownOnce = false;
};
