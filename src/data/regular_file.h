#pragma once
// Opening a file the program reads whole (a draw history, the settings file): only a regular
// file of a sensible size. A FIFO would block the reader for ever and a device would never end,
// so both are refused before a single byte is read.

#include <QFile>
#include <QString>
#include <optional>

// Opens the file for reading when it is a regular file of at most maxBytes bytes. The type and
// size are taken from the opened file itself, so a file swapped after a check cannot slip in.
// Otherwise returns false and says why, in words for a message.
bool openRegularFile(QFile& file, const QString& path, qint64 maxBytes, QString* reason);

// Which file a name leads to now, to tell a file put back under the name (a copy restored, a
// file renamed over it) from the one that was there.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
// Nothing when no file is there.
std::optional<FileIdentity> identityOf(const QString& path);
