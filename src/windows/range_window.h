#pragma once
// The frame of a window that tests a stretch of the history: its description, what the window
// shows, and the range bar (the draws tested: 全期間, 直近N回 or 開始回〜終了回; each tested
// against every draw before it) beside 印刷 and 閉じる. 全期間 and 直近N回 follow the history (a new
// draw moves them along); a typed 開始回〜終了回 stays. 再計算 computes the same draws again,
// with the prediction's options as they are now. 印刷 and the grids' context menus print
// and save the window's grids, headed by the draws of the range.

#include "catalogue/window_catalogue.h"
#include "data/draw_range.h"
#include "data/history.h"
#include "widgets/child_frame.h"

#include <QList>

class Grid;
class GridView;
class QLabel;
class QMdiSubWindow;
class QPushButton;
class QVBoxLayout;

class RangeWindow : public ChildFrame {
public:
    QLabel* Label1 = nullptr;
    QPushButton* recomputeButton = nullptr; // 再計算: the same draws again (after the prediction's options changed)
    QPushButton* Command1 = nullptr; // 閉じる
    QPushButton* Command2 = nullptr; // 印刷

    // The draw numbers tested, as last computed.
    DrawRange range() const { return m_range; }

    void computeFrom(const History& history) override;
    void showComputed() override;

protected:
    RangeWindow(WindowHost& host, const catalogue::WindowRecord& record);
    // Opens the window as a sub-window of the host at the given size, computed from the host's
    // history over the range it covers.
    static QMdiSubWindow* open(RangeWindow* window, QSize size);

    // Where the window's own contents go, between the description and the buttons.
    QVBoxLayout* body() const { return m_body; }

    // Computes from the history over the range; touches no widget (it may run on another thread).
    virtual void compute(const History& history, DrawRange range) = 0;
    // Shows what compute made.
    virtual void showResult() = 0;
    const History& shownHistory() const override { return m_history; }

private:
    QVBoxLayout* m_body = nullptr;
    History m_history;
    DrawRange m_range;
    // What computeFrom made, until showComputed.
    History m_pendingHistory;
    DrawRange m_pendingRange;
};
