#pragma once
// The main window's place on the screen from one run to the next, and the draws each window
// covers (its range), in a small file of its own beside the settings file: INI groups as earlier
// versions wrote the first through Qt's settings class, which this program reads and writes
// itself now, like every file it keeps:
//
//   [MainFrm]
//   geometry=@Rect(40 50 500 400)
//   maximized=false
//   [Ranges]
//   出現頻度分析=last 100
//   予想の検証=between 5000 6000
//
// Reading takes only a regular file of at most kMaxFileBytes (a FIFO or a device under that
// name is left alone) and ignores whatever does not parse; writing goes through the program's
// file writer, so a device or a FIFO the name leads to is written in place, never replaced,
// and never waited on. Other keys, and a range that does not read as one, are not kept.

#include "data/draw_range.h"

#include <QByteArray>
#include <QMap>
#include <QRect>
#include <QString>
#include <optional>

struct WindowPlacement {
    // A placement file is a few dozen bytes; anything far larger is not one.
    static constexpr qint64 kMaxFileBytes = 64 * 1024;

    std::optional<QRect> geometry; // the window's normal geometry, when one is known
    bool maximized = true;
    // The range each window covered when it was last open, by its form name.
    QMap<QString, RangeChoice> ranges;

    // Nothing when the file is missing, no regular file, too large, or holds no placement.
    static std::optional<WindowPlacement> read(const QString& path);
    // False, with the reason, when the file could not be written.
    bool write(const QString& path, QString* reason) const;

    QByteArray toFileBytes() const;
    static std::optional<WindowPlacement> fromFileBytes(const QByteArray& bytes);
};
