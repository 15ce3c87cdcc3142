#pragma once
// What a child window may ask of the window that hosts it, and what a window that shows the
// history offers its host. The main window implements the host; children never see more of it.

#include "data/draw_range.h"
#include "data/tickets.h"

#include <QString>
#include <QVector>
#include <optional>

class History;
class QMdiSubWindow;
class QWidget;

class WindowHost {
public:
    virtual ~WindowHost() = default;

    // Shows content as a sub-window of the host's client area; it is deleted when closed.
    virtual QMdiSubWindow* addSubWindow(QWidget* content) = 0;
    // The parent of the child's message boxes and dialogs.
    virtual QWidget* dialogParent() = 0;
    // The history the child computes from when it opens.
    virtual const History& currentHistory() const = 0;
    // The file of the history's database, for a child that writes to it (and which no save
    // may write over).
    virtual QString databasePath() const = 0;
    // The child named formName is closing (its unload). databaseChanged: it wrote to the
    // database, so the history must be read again.
    virtual void childClosed(const QString& formName, bool databaseChanged = false) = 0;
    // Reads the history from the database again, once, and shows it in every window when it
    // changed (a child wrote to the database outside the entry window: an import, a restore).
    // False when it could not be read (the user has been told why).
    virtual bool reloadHistory() = 0;

    // The draws the window named formName covered when it was last open, in this run or an
    // earlier one; none: the window's default.
    virtual std::optional<RangeChoice> keptRange(const QString& formName) const { return std::nullopt; }
    // The player chose the draws that window covers: kept for the next time it opens.
    virtual void keepRange(const QString& formName, const RangeChoice& range) { }
    // この期間をすべてのウィンドウに: every open window covers the range, computed anew.
    virtual void applyRangeToAll(const RangeChoice& range) { }

    // Ticket lines for the player to record (from a prediction): the ledger window opens, or
    // comes to the front, with them in its form, waiting for the player to confirm.
    virtual void proposeTickets(const QVector<ticket::Line>& lines) { }
};

// A window that shows what it computes from the history. When the history changes, its host
// first has every such window compute (possibly several at once, on other threads), then show.
class HistoryView {
public:
    virtual ~HistoryView() = default;

    // Computes everything the window shows from the history. Touches no widget, and nothing
    // another window's computation touches, so it may run on another thread.
    virtual void computeFrom(const History& history) = 0;
    // On the window's own thread: shows what computeFrom made, keeping the scroll position and
    // the active cell, or moving on to the new latest draw where the window showed the latest
    // one (GridView::replaceGrid).
    virtual void showComputed() = 0;
    // Whether it shows the player's ticket lines: only such a window computes anew when nothing
    // but the lines changed.
    virtual bool showsTickets() const { return false; }
};

// A window with a connection of its own to the database (the entry window). Its host tells it
// each time the database file has changed, by the window's own writes or by another program's,
// so that it can take up what another program wrote.
class DatabaseFollower {
public:
    virtual ~DatabaseFollower() = default;

    virtual void databaseFileChanged() = 0;
};
