#pragma once
// The bar over a window's grids that says which draws the window covers and lets the player
// choose them: 全期間, 直近 [N] 回 (30, 50, 100, 300, 500, 1000 at hand, any N typed), or
// 第 [a] 回 〜 第 [b] 回. A choice from a list applies at once; a number typed applies with Enter
// (or when the box is left). Its menu repeats the quick choices and offers the choice to every
// open window. Beside the controls, what the window covers now: "直近100回（第6990回〜第7089回）".

#include "data/draw_range.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;

class RangeBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kQuickChoices[] = {30, 50, 100, 300, 500, 1000};

    explicit RangeBar(QWidget* parent = nullptr);

    // The choice the controls hold.
    RangeChoice choice() const;
    // Shows a choice (no chosen signal). span: the draws it covers, which the 開始回〜終了回 boxes
    // offer while another kind is chosen, so that switching to them starts from what is shown.
    void showChoice(const RangeChoice& choice, const DrawRange& span);
    // What the window covers, as the label beside the controls says it.
    void setCoverText(const QString& text);
    QString coverText() const { return m_coverText; }

    QComboBox* kindBox = nullptr; // 全期間 / 直近N回 / 開始回〜終了回
    QComboBox* lastBox = nullptr; // N of 直近N回
    QSpinBox* fromBox = nullptr; // a of 第a回〜第b回
    QSpinBox* toBox = nullptr; // b
    QToolButton* menuButton = nullptr;
    QLabel* coverLabel = nullptr;
    QMenu* menu = nullptr;

Q_SIGNALS:
    // The player chose another range.
    void chosen(const RangeChoice& choice);
    // この期間をすべてのウィンドウに
    void applyToAllRequested(const RangeChoice& choice);

private:
    void showKind(RangeChoice::Kind kind);
    // Tells the choice the controls now hold, when it differs from the one shown.
    void apply();

    RangeChoice m_shown;
    QString m_coverText;
    bool m_showing = false;
    QWidget* m_lastPart = nullptr;
    QWidget* m_betweenPart = nullptr;
};
