#include "app/history_watcher.h"

#include "data/draw_database.h"
#include "data/history_source.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

HistoryWatcher::HistoryWatcher(QObject* parent) : QObject(parent)
{
    // Outside writes (an import by the companion) come as a burst of changes: the history is
    // read once they have stopped for a moment.
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kSettleMs);
    connect(m_timer, &QTimer::timeout, this, &HistoryWatcher::settled);
}

void HistoryWatcher::watch(const QString& path)
{
    m_path = path;
    renew();
}

void HistoryWatcher::cancelPending()
{
    m_timer->stop();
}

HistoryWatcher::Reading HistoryWatcher::reread(const History& current)
{
    Reading reading;
    if (m_path.isEmpty()) {
        reading.outcome = Reading::Failed;
        return reading;
    }
    std::optional<History> history = history_source::reread(DrawDatabase::connectString(m_path), &reading.reason);
    if (!history) {
        reading.outcome = Reading::Failed;
        return reading;
    }
    // The watch follows the file read, also one that replaced the file watched so far.
    renew();
    if (*history == current) {
        reading.outcome = Reading::Unchanged;
        return reading;
    }
    reading.outcome = Reading::Changed;
    reading.history = std::move(*history);
    return reading;
}

void HistoryWatcher::renew()
{
    const QString& path = m_path;
    if (path.isEmpty())
        return;
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_timer->start(); });
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { folderChanged(); });
    }
    // The folder too: a database deleted and put back (a backup restored, a sync) appears there.
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher->directories().contains(folder))
        m_watcher->addPath(folder);
    // The watch follows the file now at the name, also one that replaced the file watched so far.
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
    m_watchedFile = identityOf(path);
    if (m_watchedFile)
        m_watcher->addPath(path);
}

void HistoryWatcher::folderChanged()
{
    // Another file at the database's name (one put back, or renamed over it): read it. One
    // that went is forgotten, so that a copy put back is another file, whatever its number.
    const QString& path = m_path;
    const std::optional<FileIdentity> now = identityOf(path);
    if (!now) {
        m_watchedFile.reset();
    } else if (now != m_watchedFile) {
        renew();
        m_timer->start();
    }
}
