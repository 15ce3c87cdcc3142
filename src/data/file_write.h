#pragma once
// Writing a whole file of bytes, for exports and the settings file.
//
// What is at the path decides how it is written (a symbolic link is followed, through any chain
// of links, and its target is what gets written):
// - a regular file, or nothing yet: a temporary file in the same folder takes the bytes and is
//   then renamed over it, so a failed write leaves the old file; the old file's permissions are
//   kept. A file the user may not write is refused (as cp refuses it), whatever its folder
//   allows. The rename never replaces what came to stand at the name meanwhile;
// - a character or block device, a FIFO or a socket: opened as it is and written in place, with
//   nothing created, truncated or renamed (so /dev/stdout and pipes work);
// - a folder: refused.
// Every error, down to the last byte reaching the device, is a failure, with the reason in
// Japanese. A reader that has gone away is such an error: SIGPIPE is held back while writing.

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

struct FileWriteOptions {
    // A regular file whose folder may not take a temporary file is written in place, if the
    // file itself may be written: the bytes still arrive, though no longer all or nothing.
    bool inPlaceWhenFolderRefuses = false;
    // A FIFO that no one reads yet: wait for a reader, as a shell redirection does, or fail
    // at once (for callers that must not hang).
    bool waitForReader = true;
    // Only a regular file (or nothing yet) may stand at the name: a device, a FIFO or a socket
    // is refused, also one that appears while the bytes are being written.
    bool onlyRegularFiles = false;
};

// Where a chain of symbolic links starting at path ends: the first name that is no link, or
// is not there (a link's relative target counts from the link's folder). Empty when a link
// cannot be read or the chain goes on too long.
QString whereLinksEnd(const QString& path);

// True when all of `bytes` were written to `path`; otherwise false with the reason in `reason`.
bool writeFileBytes(const QString& path, const QByteArray& bytes, QString* reason, FileWriteOptions options = {});

// A file built by someone else (SQLite, say) under a temporary name beside its target, then put
// at the target's name whole, as writeFileBytes puts a regular file: links followed to the file
// they name, the old file's permissions kept, never over a folder, a device, a FIFO or a socket,
// nor over something that came to stand at the name while the file was being built.
class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement(); // an unfinished temporary file goes
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the empty temporary file beside the file path leads to. Refused: anything but a
    // regular file (or nothing yet) at the name, and a file the user may not write.
    bool begin(const QString& path, QString* reason);
    QString temporaryPath() const;
    QString targetPath() const; // where the file will be: the end of the chain of links
    // Syncs the temporary file and renames it over the target.
    bool commit(QString* reason);
    // Removes the temporary file.
    void discard();

private:
    QByteArray m_target;
    QByteArray m_temporary;
    struct stat m_existing { };
    bool m_hadFile = false;
};
