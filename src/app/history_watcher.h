#pragma once
// The watch on the history's database: the file and its folder, so that outside writes (an
// import by the companion) and a database deleted and put back (a backup restored, a sync) are
// seen. A burst of changes settles before the history is read again.

#include "data/history.h"
#include "data/regular_file.h"

#include <QObject>
#include <QString>
#include <optional>

class QFileSystemWatcher;
class QTimer;

class HistoryWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kSettleMs = 300;

    explicit HistoryWatcher(QObject* parent = nullptr);

    // Watches the database at path (and its folder) from now on.
    void watch(const QString& path);
    const QString& path() const { return m_path; }
    // Forgets a change still settling: the caller reads now.
    void cancelPending();

    struct Reading {
        enum Outcome { Failed, Unchanged, Changed } outcome = Failed;
        History history; // Changed: the history read
        QString reason; // Failed: why
    };
    // Reads the history again, read-only, and says whether it differs from current.
    Reading reread(const History& current);

Q_SIGNALS:
    // The database changed, and the changes have stopped for a moment.
    void settled();

private:
    void renew();
    void folderChanged();

    QString m_path;
    QFileSystemWatcher* m_watcher = nullptr;
    std::optional<FileIdentity> m_watchedFile; // the file at the database's name when last watched
    QTimer* m_timer = nullptr;
};
