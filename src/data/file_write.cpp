#include "data/file_write.h"

#include "data/message_text.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A temporary file's name keeps this much of the target's, so that the suffix still fits.
constexpr qsizetype kTemporaryStemBytes = 200;

QString reasonFor(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("フォルダがありません"); // the file itself is made when missing
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません");
    default:
        return message::systemReason(error);
    }
}

bool failWith(QString* reason, const QString& text)
{
    *reason = text;
    return false;
}

bool failWith(QString* reason, int error)
{
    return failWith(reason, reasonFor(error));
}

// Holds SIGPIPE back in this thread while it lives, so that a write to a pipe whose reader has
// gone fails with EPIPE instead of ending the process. A SIGPIPE raised meanwhile is taken back.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
        m_wasPending = isPending();
    }
    ~SigpipeHeld()
    {
        const int saved = errno;
        if (!m_wasPending && isPending()) {
            const timespec now{};
            while (sigtimedwait(&m_pipe, nullptr, &now) < 0 && errno == EINTR) { }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
        errno = saved;
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    static bool isPending()
    {
        sigset_t pending;
        return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }

    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_wasPending = false;
};

// Every byte, through interrupted and partial writes; false with errno set on an error.
bool writeAll(int fd, const QByteArray& bytes)
{
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO; // a device that takes nothing would otherwise be asked forever
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// Closes `fd`; a close that reports the data lost (EIO, ENOSPC on a network disk) is an error.
bool closeChecked(int fd)
{
    return ::close(fd) == 0 || errno == EINTR;
}

// Writes into what is at `path` as it is: a device, a FIFO or a socket, or a regular file whose
// folder takes no temporary file (that one is truncated first). `type` is the st_mode found.
bool writeInPlace(const QByteArray& path, mode_t type, const QByteArray& bytes, QString* reason,
                  const FileWriteOptions& options)
{
    const bool regular = S_ISREG(type);
    const bool fifo = S_ISFIFO(type);
    int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (regular)
        flags |= O_TRUNC;
    if (fifo && !options.waitForReader)
        flags |= O_NONBLOCK;
    int fd;
    do
        fd = ::open(path.constData(), flags);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (errno == ENXIO && fifo)
            return failWith(reason, QStringLiteral("読み手がいません"));
        if (errno == ENXIO && S_ISSOCK(type))
            return failWith(reason, QStringLiteral("ソケットには書き込めません"));
        return failWith(reason, errno);
    }
    // The name may have been given to another file since it was looked at; the start of a
    // regular file must not be overwritten without truncating it.
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || bool(S_ISREG(opened.st_mode)) != regular) {
        ::close(fd);
        return failWith(reason, QStringLiteral("書き込む前に別の種類のファイルに替わりました"));
    }
    if (flags & O_NONBLOCK)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    bool ok;
    int error;
    {
        const SigpipeHeld held;
        ok = writeAll(fd, bytes);
        if (ok && (regular || S_ISBLK(opened.st_mode)))
            ok = ::fsync(fd) == 0;
        error = errno;
    }
    if (!closeChecked(fd) && ok) {
        ok = false;
        error = errno;
    }
    return ok || failWith(reason, error);
}

// What a replacement came to.
enum class Replaced { Done, Failed, Raced };

// Puts the finished temporary file at the target's name. Something that came to stand at the
// name since it was looked at (a FIFO, a device, another file) is never replaced: the name is
// taken only if it is still free, or exchanged only with the file found there, which goes.
// Raced when the name holds something else now; the temporary file is gone then.
Replaced putInPlace(const QByteArray& temporary, const QByteArray& target, const struct stat* existing, int* error)
{
    const unsigned flags = existing ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), flags) != 0) {
        *error = errno;
        if (*error == EEXIST || (existing && *error == ENOENT)) {
            ::unlink(temporary.constData());
            return Replaced::Raced;
        }
        if (*error != EINVAL && *error != ENOSYS && *error != ENOTSUP)
            return Replaced::Failed;
        // A file system without these renames: the plain one, as before them.
        if (::rename(temporary.constData(), target.constData()) == 0)
            return Replaced::Done;
        *error = errno;
        return Replaced::Failed;
    }
    if (!existing)
        return Replaced::Done;
    // The file exchanged out of the name now lies at the temporary name.
    struct stat out;
    if (::lstat(temporary.constData(), &out) == 0 && out.st_dev == existing->st_dev && out.st_ino == existing->st_ino) {
        ::unlink(temporary.constData());
        return Replaced::Done;
    }
    // Not the file that was there: it goes back to its name, and the new file goes.
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_EXCHANGE) == 0)
        ::unlink(temporary.constData());
    return Replaced::Raced;
}

// Makes a new, empty temporary file beside `target` (hidden, under a name of its own). Its
// descriptor, or -1 with errno set.
int makeTemporary(const QByteArray& target, QByteArray* temporary)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    const QByteArray stem = target.mid(slash + 1).left(kTemporaryStemBytes);
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        *temporary = folder + '.' + stem + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            break;
    }
    return fd;
}

// Gives the finished temporary file the permissions (and, where this process may, the owner)
// of `existing`, the file at the target now if any, syncs and closes it and renames it over
// `target`. `ok` false: the bytes did not arrive (errno says why). The temporary file is gone
// afterwards unless it took the target's name.
Replaced placeTemporary(int fd, bool ok, const QByteArray& temporary, const QByteArray& target,
                        const struct stat* existing, QString* reason)
{
    int error = errno;
    if (ok && existing) {
        if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) {
            // Only root may hand a file to another owner; anyone else keeps the new file as theirs.
            [[maybe_unused]] const int given = ::fchown(fd, existing->st_uid, existing->st_gid);
        }
        ok = ::fchmod(fd, existing->st_mode & 07777) == 0;
        error = errno;
    }
    if (ok) {
        ok = ::fsync(fd) == 0;
        error = errno;
    }
    if (!closeChecked(fd) && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        const Replaced placed = putInPlace(temporary, target, existing, &error);
        if (placed != Replaced::Failed)
            return placed;
    }
    ::unlink(temporary.constData());
    failWith(reason, error);
    return Replaced::Failed;
}

// Writes a temporary file beside `target` and renames it over `target`. `existing` is the
// file there now, if any: its permissions (and, where this process may, its owner) carry over.
Replaced replaceFile(const QByteArray& target, const struct stat* existing, const QByteArray& bytes, QString* reason,
                     const FileWriteOptions& options)
{
    QByteArray temporary;
    const int fd = makeTemporary(target, &temporary);
    if (fd < 0) {
        if (errno == EACCES && existing && options.inPlaceWhenFolderRefuses)
            return writeInPlace(target, existing->st_mode, bytes, reason, options) ? Replaced::Done : Replaced::Failed;
        failWith(reason, errno);
        return Replaced::Failed;
    }
    const bool written = writeAll(fd, bytes);
    return placeTemporary(fd, written, temporary, target, existing, reason);
}

} // namespace

namespace {

// Where a chain of symbolic links starting at `path` ends: the first name that is no link (or
// is not there). False with errno set when a link cannot be read or the chain goes on too long.
bool endOfLinkChain(QByteArray path, QByteArray* end)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *end = path;
            return true;
        }
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), size_t(link.size()));
        if (length < 0)
            return false;
        if (length >= link.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        link.truncate(length);
        if (!link.startsWith('/'))
            link.prepend(path.left(path.lastIndexOf('/') + 1)); // relative to the link's folder
        path = link;
    }
    errno = ELOOP;
    return false;
}

} // namespace

QString whereLinksEnd(const QString& path)
{
    QByteArray end;
    if (path.isEmpty() || !endOfLinkChain(QFile::encodeName(path), &end))
        return QString();
    return QFile::decodeName(end);
}

namespace {

Replaced writeOnce(const QByteArray& name, const QByteArray& bytes, QString* reason, const FileWriteOptions& options)
{
    const auto failed = [reason](auto why) { return (failWith(reason, why), Replaced::Failed); };
    // The type of what the name leads to, through any links; /dev/stdout leads to whatever the
    // standard output is, a pipe included.
    struct stat st;
    if (::stat(name.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return failed(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            if (options.onlyRegularFiles)
                return failed(QStringLiteral("通常のファイルではありません"));
            return writeInPlace(name, st.st_mode, bytes, reason, options) ? Replaced::Done : Replaced::Failed;
        }
        // Replaced where it really lies, so that a link to it stays a link.
        char* real = ::realpath(name.constData(), nullptr);
        if (!real)
            return failed(errno);
        const QByteArray target(real);
        std::free(real);
        // A file the user may not write is not theirs to replace, whatever its folder allows.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            return failed(errno);
        return replaceFile(target, &st, bytes, reason, options);
    }
    if (errno != ENOENT)
        return failed(errno);

    // Nothing there yet, or links that end on a name not there yet: that name is created.
    QByteArray target;
    if (!endOfLinkChain(name, &target))
        return failed(errno);
    return replaceFile(target, nullptr, bytes, reason, options);
}

} // namespace

bool writeFileBytes(const QString& path, const QByteArray& bytes, QString* reason, FileWriteOptions options)
{
    QString unused;
    if (!reason)
        reason = &unused;
    if (path.isEmpty())
        return failWith(reason, QStringLiteral("ファイル名がありません"));
    const QByteArray name = QFile::encodeName(path);
    // What stands at the name may change while the bytes are written: then it is looked at again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        switch (writeOnce(name, bytes, reason, options)) {
        case Replaced::Done:
            return true;
        case Replaced::Failed:
            return false;
        case Replaced::Raced:
            break;
        }
    }
    return failWith(reason, QStringLiteral("書き込む間に別のファイルに替わりました"));
}

FileReplacement::~FileReplacement()
{
    discard();
}

void FileReplacement::discard()
{
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    m_target.clear();
    m_hadFile = false;
}

QString FileReplacement::temporaryPath() const
{
    return QFile::decodeName(m_temporary);
}

QString FileReplacement::targetPath() const
{
    return QFile::decodeName(m_target);
}

bool FileReplacement::begin(const QString& path, QString* reason)
{
    discard();
    if (path.isEmpty())
        return failWith(reason, QStringLiteral("ファイル名がありません"));
    const QByteArray name = QFile::encodeName(path);
    QByteArray target;
    struct stat st;
    if (::stat(name.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return failWith(reason, EISDIR);
        if (!S_ISREG(st.st_mode))
            return failWith(reason, QStringLiteral("通常のファイルではありません"));
        // Replaced where it really lies, so that a link to it stays a link.
        char* real = ::realpath(name.constData(), nullptr);
        if (!real)
            return failWith(reason, errno);
        target = QByteArray(real);
        std::free(real);
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
            return failWith(reason, errno);
        m_existing = st;
        m_hadFile = true;
    } else if (errno != ENOENT) {
        return failWith(reason, errno);
    } else if (!endOfLinkChain(name, &target)) {
        return failWith(reason, errno);
    }
    const int fd = makeTemporary(target, &m_temporary);
    if (fd < 0) {
        const int error = errno;
        m_temporary.clear();
        m_hadFile = false;
        return failWith(reason, error);
    }
    ::close(fd);
    m_target = target;
    return true;
}

bool FileReplacement::commit(QString* reason)
{
    QString unused;
    if (!reason)
        reason = &unused;
    if (m_temporary.isEmpty())
        return failWith(reason, QStringLiteral("書き込むファイルがありません"));
    const int fd = ::open(m_temporary.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return failWith(reason, errno);
    const QByteArray temporary = m_temporary;
    m_temporary.clear(); // placeTemporary leaves it in place or removes it
    const Replaced placed = placeTemporary(fd, true, temporary, m_target, m_hadFile ? &m_existing : nullptr, reason);
    m_hadFile = false;
    switch (placed) {
    case Replaced::Done:
        return true;
    case Replaced::Raced:
        return failWith(reason, QStringLiteral("書き込む間に別のファイルに替わりました"));
    case Replaced::Failed:
        break;
    }
    return false;
}
