#pragma once
// Where the sub-windows of the main window's client area go: where one opens, and the four
// arrangements of the ウィンドウ menu.

#include <QRect>
#include <Qt>

class QMdiArea;
class QMdiSubWindow;

class MdiArrangement {
public:
    explicit MdiArrangement(QMdiArea* area);

    // A child opens where and as large as it asks, but never larger than the client area.
    void fitAtOpening(QMdiSubWindow* sub);
    // 上下に並べて表示 (Qt::Vertical) and 左右に並べて表示 (Qt::Horizontal).
    void tile(Qt::Orientation direction);
    // 重ねて表示.
    void cascade();
    // アイコンの整列.
    void arrangeIcons();

private:
    QRect arrangementArea() const;

    QMdiArea* m_area;
};
