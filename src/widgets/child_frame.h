#pragma once
// What every window that shows grids computed from the history shares: its catalogue record,
// its host, the draws it covers (its range bar, which its title and label name, kept by the host
// from one opening to the next), the printing and saving of the grids it shows (印刷 and the
// grids' context menus, headed by the record's caption and titles and by the draws the grids
// come from), its 閉じる and 印刷 buttons, how it opens in the host's client area, and telling
// the host when it closes. Each window lays out its own widgets and says what it shows; it
// computes from a new history (HistoryView) before it shows it, over the range it covers.

#include "catalogue/window_catalogue.h"
#include "widgets/window_host.h"

#include <QList>
#include <QWidget>
#include <optional>

class GridOutput;
class GridView;
class QMdiSubWindow;
class QPushButton;
class RangeBar;

class ChildFrame : public QWidget, public HistoryView {
public:
    const catalogue::WindowRecord& record() const { return m_record; }
    // The grids shown, printed (印刷) and saved from their context menus.
    GridOutput& output() { return *m_output; }

    // The draws the window covers: what it computes from (for 予想の検証 and ランダム性の検定,
    // the draws they test).
    const RangeChoice& rangeChoice() const { return m_rangeChoice; }
    // Covers another range from its next computation on; the caller has it compute and show.
    void takeRangeChoice(const RangeChoice& range);
    // Covers another range now: computes and shows it, as the range bar does.
    void chooseRange(const RangeChoice& range);
    RangeBar* rangeBar() const { return m_rangeBar; }

protected:
    ChildFrame(WindowHost& host, const catalogue::WindowRecord& record);

    // What the window shows now: its grids in order, and the history they come from (the whole
    // history, before the range is applied).
    virtual QList<const Grid*> shownGrids() const = 0;
    virtual const History& shownHistory() const = 0;
    // Lines printed under the page header, before the grids.
    virtual QStringList shownNotes() const { return {}; }

    WindowHost& host() const { return m_host; }
    // The window's foot: the range bar on the left, the buttons given on the right, in one row
    // where the window is wide enough and the bar above the buttons where it is not.
    QWidget* makeFooter(const QList<QPushButton*>& buttons);
    // After the window showed what it computed: the bar, its label and the title say which draws
    // of the history shown it covers.
    void showRange();
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
    RangeBar* makeRangeBar();

    WindowHost& m_host;
    const catalogue::WindowRecord& m_record;
    GridOutput* m_output = nullptr;
    RangeBar* m_rangeBar = nullptr;
    RangeChoice m_rangeChoice;
};
