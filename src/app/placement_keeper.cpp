#include "app/placement_keeper.h"

#include "data/window_placement.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

// Whether a window of this geometry lies wholly on one of the screens there are now.
bool fitsAScreen(const QRect& rect)
{
    if (!rect.isValid())
        return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize available = screen->availableGeometry().size();
        if (screen->geometry().contains(rect) && rect.width() <= available.width()
            && rect.height() <= available.height())
            return true;
    }
    return false;
}

} // namespace

PlacementKeeper::PlacementKeeper(QMainWindow& window, QString file) : m_window(window), m_file(std::move(file))
{
}

void PlacementKeeper::restore()
{
    // The placement of the last run, where a screen can still show it; otherwise (the first
    // start, a screen gone) the window opens maximised over its default size, centred.
    if (m_file.isEmpty())
        return;
    const std::optional<WindowPlacement> stored = WindowPlacement::read(m_file);
    if (stored) {
        m_ranges = stored->ranges;
        m_storedGeometry = stored->geometry;
        m_storedMaximized = stored->maximized;
    }
    bool maximized = !stored || stored->maximized;
    if (stored && stored->geometry && fitsAScreen(*stored->geometry)) {
        m_window.setGeometry(*stored->geometry);
    } else {
        maximized = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect centred(QPoint(), m_window.size());
            centred.moveCenter(screen->availableGeometry().center());
            m_window.move(centred.topLeft());
        }
    }
    if (maximized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
}

void PlacementKeeper::coverScreenUnlessMaximised()
{
    // Maximising is the window manager's work: on a bare X server nothing does it, and the
    // window would stay at its normal size. It then covers its screen's free area itself,
    // through its native window, so that it stays maximised in its own eyes and keeps its
    // normal geometry for when it is restored and for the next start.
    if (!m_window.isMaximized() || !m_window.windowHandle() || !m_window.screen())
        return;
    const QRect available = m_window.screen()->availableGeometry();
    const QRect frame = m_window.frameGeometry();
    if (frame.width() >= available.width() - 16 && frame.height() >= available.height() - 16)
        return;
    m_window.windowHandle()->setGeometry(available);
}

void PlacementKeeper::save()
{
    if (m_file.isEmpty() || !m_shownOnce)
        return;
    write();
}

void PlacementKeeper::write() const
{
    WindowPlacement placement;
    if (m_shownOnce) {
        placement.maximized = m_window.isMaximized() || m_window.isFullScreen();
        if (const QRect normal = m_window.normalGeometry(); normal.isValid())
            placement.geometry = normal;
    } else {
        // Not shown yet: the placement stays as the last run left it.
        placement.maximized = m_storedMaximized;
        placement.geometry = m_storedGeometry;
    }
    placement.ranges = m_ranges;
    QString reason;
    // The placement is a convenience: should the file not be written, the next start opens
    // maximised over every window's default range, and nothing else depends on it.
    placement.write(m_file, &reason);
}

std::optional<RangeChoice> PlacementKeeper::range(const QString& formName) const
{
    const auto it = m_ranges.constFind(formName);
    return it == m_ranges.cend() ? std::nullopt : std::optional<RangeChoice>(*it);
}

void PlacementKeeper::keepRange(const QString& formName, const RangeChoice& range)
{
    if (m_ranges.value(formName) == range && m_ranges.contains(formName))
        return;
    m_ranges.insert(formName, range);
    if (!m_file.isEmpty())
        write();
}

void PlacementKeeper::shown()
{
    if (!m_shownOnce && m_window.isMaximized())
        QTimer::singleShot(500, &m_window, [this] { coverScreenUnlessMaximised(); });
    m_shownOnce = true;
}
