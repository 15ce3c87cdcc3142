#pragma once
// What every window that shows grids computed from the history shares: its catalogue record,
// its host, the printing and saving of the grids it shows (印刷 and the grids' context menus,
// headed by the record's caption and titles and by the draws the grids come from), its 閉じる
// and 印刷 buttons, how it opens in the host's client area, and telling the host when it
// closes. Each window lays out its own widgets and says what it shows; it computes from a new
// history (HistoryView) before it shows it.

#include "catalogue/window_catalogue.h"
#include "widgets/window_host.h"

#include <QList>
#include <QWidget>
#include <optional>

class GridOutput;
class GridView;
class QMdiSubWindow;
class QPushButton;

class ChildFrame : public QWidget, public HistoryView {
public:
    const catalogue::WindowRecord& record() const { return m_record; }
    // The grids shown, printed (印刷) and saved from their context menus.
    GridOutput& output() { return *m_output; }

protected:
    ChildFrame(WindowHost& host, const catalogue::WindowRecord& record);

    // What the window shows now: its grids in order, the history they come from, and the range
    // of draws where the window tests one.
    virtual QList<const Grid*> shownGrids() const = 0;
    virtual const History& shownHistory() const = 0;
    virtual std::optional<DrawRange> shownRange() const { return std::nullopt; }
    // Lines printed under the page header, before the grids.
    virtual QStringList shownNotes() const { return {}; }

    WindowHost& host() const { return m_host; }
    // 閉じる: closes this window (its sub-window), nothing else.
    QPushButton* makeCloseButton(const QString& objectName);
    // 印刷: the print preview of the grids shown.
    QPushButton* makePrintButton(const QString& objectName);
    // Gives a grid view the context menu of printing and saving.
    void attachGridMenu(GridView* view);
    // Shows the frame in the host's client area at the top left, at the size given, under the
    // record's caption.
    QMdiSubWindow* openInHost(QSize size);

    void closeEvent(QCloseEvent* event) override;

private:
    WindowHost& m_host;
    const catalogue::WindowRecord& m_record;
    GridOutput* m_output = nullptr;
};
