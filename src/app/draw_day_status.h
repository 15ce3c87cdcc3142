#pragma once
// Where the history stands, in the main window's status bar: the latest draw and the next, with
// their days, and how many draws are missing when the next draw's day has passed. Once per start,
// when draws are missing, a hint offers to add them.

#include "data/draw_calendar.h"

#include <QDate>
#include <QDialog>
#include <QPointer>
#include <functional>

class History;
class QLabel;
class QStatusBar;

// The line of the status bar for a standing.
QString standingText(const draw_calendar::Standing& standing);

// The hint that draws are missing, shown beside the main window without holding it up.
class MissingDrawsHint : public QDialog {
public:
    struct Actions {
        std::function<void()> openEntry; // 当選データ入力
        std::function<void()> import; // 当選データの取り込み…
        std::function<void()> showGuide; // はじめに
    };
    MissingDrawsHint(const draw_calendar::Standing& standing, Actions actions, QWidget* parent);

    static QString text(const draw_calendar::Standing& standing);
};

class DrawDayStatus {
public:
    // The line goes into the status bar given; today is asked each time it is shown.
    explicit DrawDayStatus(
        QStatusBar* bar, std::function<QDate()> today = [] { return QDate::currentDate(); });

    void setToday(std::function<QDate()> today) { m_today = std::move(today); }
    // Shows where the history stands now.
    void show(const History& history);
    const draw_calendar::Standing& standing() const { return m_standing; }
    QLabel* label() const { return m_label; }

    // The hint, the first time in this run that draws are missing; nothing otherwise.
    QDialog* offerHint(MissingDrawsHint::Actions actions, QWidget* parent);
    QDialog* hint() const { return m_hint; }

private:
    QLabel* m_label;
    std::function<QDate()> m_today;
    draw_calendar::Standing m_standing;
    bool m_hinted = false;
    QPointer<QDialog> m_hint;
};
