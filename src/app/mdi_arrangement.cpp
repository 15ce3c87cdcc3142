#include "app/mdi_arrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>

namespace {

// Sub-windows to tile: the visible, not minimised ones, most recently active first.
QList<QMdiSubWindow*> tileable(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> history = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        if ((*it)->isVisible() && !(*it)->isMinimized())
            windows << *it;
    }
    return windows;
}

// The height the icons of minimised sub-windows take at the bottom of the area.
int iconRowHeight(QMdiArea* area)
{
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (w->isVisible() && w->isMinimized())
            return w->height();
    }
    return 0;
}

// The size a sub-window asked for when it opened, before it was fitted into the area.
constexpr char kOwnSize[] = "n3OwnSize";

QSize ownSize(const QMdiSubWindow* w)
{
    const QSize own = w->property(kOwnSize).toSize();
    return own.isValid() ? own : w->size();
}

// How far each window of a cascade lies below the one before: the height of a title bar.
int titleBarHeight(const QList<QMdiSubWindow*>& windows)
{
    int height = 0;
    for (const QMdiSubWindow* w : windows)
        height = qMax(height, w->contentsMargins().top());
    if (height <= 0 && !windows.isEmpty())
        height = windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first());
    return qMax(height, 1);
}

} // namespace

MdiArrangement::MdiArrangement(QMdiArea* area) : m_area(area)
{
}

QRect MdiArrangement::arrangementArea() const
{
    // The client area above the row the icons of minimised windows take.
    return m_area->viewport()->rect().adjusted(0, 0, 0, -iconRowHeight(m_area));
}

void MdiArrangement::fitAtOpening(QMdiSubWindow* sub)
{
    // A child opens where and as large as it asks (the top left, at its own size), but never
    // larger than the client area: width and height each shrink to the area's, and the
    // window's contents scroll. Before the main window is shown its area is not known yet.
    sub->setProperty(kOwnSize, sub->size());
    const QRect area = m_area->viewport()->rect();
    if (!m_area->isVisible() || area.isEmpty())
        return;
    sub->resize(sub->size().boundedTo(area.size()));
    if (!area.contains(sub->geometry()))
        sub->move(area.topLeft());
}

void MdiArrangement::tile(Qt::Orientation direction)
{
    // Equal shares of the client area, stacked down (vertical) or across (horizontal). No
    // share is smaller than the least a window needs to show its controls apart: windows that
    // do not fit in one column (or row) that way go on in further ones beside it (below it).
    const QList<QMdiSubWindow*> windows = tileable(m_area);
    if (windows.isEmpty())
        return;
    const QRect area = arrangementArea();
    const bool down = direction == Qt::Vertical;
    QSize least(1, 1);
    for (QMdiSubWindow* w : windows)
        least = least.expandedTo(w->minimumSizeHint());
    const int n = int(windows.size());
    const int length = down ? area.height() : area.width();
    const int across = down ? area.width() : area.height();
    const int perLine = std::clamp(length / (down ? least.height() : least.width()), 1, n);
    const int lines = (n + perLine - 1) / perLine;
    for (int line = 0; line < lines; ++line) {
        const int first = n * line / lines;
        const int count = n * (line + 1) / lines - first;
        const int top = across * line / lines;
        const int bottom = across * (line + 1) / lines;
        for (int i = 0; i < count; ++i) {
            const int from = length * i / count;
            const int to = length * (i + 1) / count;
            QMdiSubWindow* w = windows[first + i];
            w->showNormal();
            if (down)
                w->setGeometry(area.left() + top, area.top() + from, bottom - top, to - from);
            else
                w->setGeometry(area.left() + from, area.top() + top, to - from, bottom - top);
        }
    }
}

void MdiArrangement::cascade()
{
    // Each window a title bar's height below and to the right of the one before, the most
    // recently active one on top, so that every title bar shows. A window keeps its own size
    // where that fits the room left to it, and never reaches past the area. Each needs room
    // to show its controls apart: when the windows would go lower (or further right) than
    // that leaves, the next ones start again at the top, to the right of the captions before
    // them.
    const QList<QMdiSubWindow*> windows = tileable(m_area);
    if (windows.isEmpty())
        return;
    const QRect area = arrangementArea();
    const int step = titleBarHeight(windows);
    const int n = int(windows.size());
    // A later round leaves this much of each caption of the round before it in view.
    const auto shiftOf = [step](int perRound) { return (perRound - 1) * step + 8 * step; };
    struct Rounds {
        int perRound = 1;
        int rounds = 1;
        int holds() const { return perRound * rounds; }
    };
    // With each window at least that large: the longest rounds that hold every window (fewer
    // windows a round leave room for more rounds across), or, where none does, the arrangement
    // that holds the most before it starts over.
    const auto arranged = [&](QSize least) {
        least = least.boundedTo(area.size());
        const int stepsDown = (area.height() - least.height()) / step;
        const int stepsAcross = (area.width() - least.width()) / step;
        const auto with = [&](int perRound) {
            return Rounds{perRound,
                          1 + std::max(0, (area.width() - least.width() - (perRound - 1) * step) / shiftOf(perRound))};
        };
        Rounds best = with(1 + std::max(0, std::min(stepsDown, stepsAcross)));
        for (int p = best.perRound; p >= 1; --p) {
            const Rounds r = with(p);
            if (r.holds() >= n)
                return r;
            if (r.holds() > best.holds())
                best = r;
        }
        return best;
    };
    const QSize smallest(10 * step, 4 * step);
    QSize least = smallest;
    for (QMdiSubWindow* w : windows)
        least = least.expandedTo(w->minimumSizeHint());
    Rounds chosen = arranged(least);
    // Too many windows for the room their controls need: every caption in view still, the
    // windows smaller than that.
    if (chosen.holds() < n)
        chosen = arranged(smallest);
    const int perRound = chosen.perRound;
    const int rounds = chosen.rounds;
    const int shift = shiftOf(perRound);
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[n - 1 - i]; // the least recently active first, at the bottom
        const int k = i % perRound;
        const int round = (i / perRound) % rounds;
        const QPoint at(area.left() + round * shift + k * step, area.top() + k * step);
        const QSize room(area.right() + 1 - at.x(), area.bottom() + 1 - at.y());
        w->showNormal();
        w->setGeometry(QRect(at, ownSize(w).boundedTo(room)));
        w->raise();
    }
    m_area->setActiveSubWindow(windows.first());
}

void MdiArrangement::arrangeIcons()
{
    // Minimised sub-windows line up along the bottom edge, left to right, rising a row
    // when the width is used up.
    const QRect area = m_area->viewport()->rect();
    int x = area.left();
    int y = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* w : m_area->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isVisible() || !w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = qMax(rowHeight, size.height());
        w->move(x, y - size.height());
        x += size.width();
    }
}
