#pragma once
// The frame of a window that tests a stretch of the history: its description, the range
// (開始回, 終了回, 再計算), what the window shows of it, and 印刷 and 閉じる. The range follows
// the history while it is the window's default: a new draw moves the default range along, a
// range the user chose stays. 印刷 and the grids' context menus print and save the window's
// grids, headed by the draws of the range.

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
class QSpinBox;
class QVBoxLayout;

class RangeWindow : public ChildFrame {
public:
    QLabel* Label1 = nullptr;
    QSpinBox* fromBox = nullptr; // 開始回
    QSpinBox* toBox = nullptr; // 終了回
    QPushButton* recomputeButton = nullptr; // 再計算
    QPushButton* Command1 = nullptr; // 閉じる
    QPushButton* Command2 = nullptr; // 印刷

    DrawRange range() const { return m_range; }
    // Computes and shows the range the spin boxes hold (再計算).
    void recompute();

    void computeFrom(const History& history) override;
    void showComputed() override;

protected:
    RangeWindow(WindowHost& host, const catalogue::WindowRecord& record);
    // Opens the window as a sub-window of the host at the given size, computed from the host's
    // history over the default range.
    static QMdiSubWindow* open(RangeWindow* window, QSize size);

    // Where the window's own contents go, between the range and the buttons.
    QVBoxLayout* body() const { return m_body; }

    virtual DrawRange defaultRange(const History& history) const = 0;
    // Computes from the history over the range; touches no widget (it may run on another thread).
    virtual void compute(const History& history, DrawRange range) = 0;
    // Shows what compute made.
    virtual void showResult() = 0;
    const History& shownHistory() const override { return m_history; }
    std::optional<DrawRange> shownRange() const override { return m_range; }

private:
    void showRange();

    QVBoxLayout* m_body = nullptr;
    History m_history;
    DrawRange m_range;
    bool m_followsDefault = true;
    // What computeFrom made, until showComputed.
    History m_pendingHistory;
    DrawRange m_pendingRange;
};
