#include "data/regular_file.h"

#include "data/message_text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString openFailure(int error)
{
    if (error == EACCES || error == EPERM)
        return QStringLiteral("ファイルを読む権限がありません");
    return message::systemReason(error);
}

} // namespace

bool openRegularFile(QFile& file, const QString& path, qint64 maxBytes, QString* reason)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        *reason = QStringLiteral("ファイル名がありません");
        return false;
    }
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    int fd = -1;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *reason = openFailure(errno);
        return false;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0) {
        *reason = openFailure(errno);
        ::close(fd);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *reason = S_ISDIR(st.st_mode) ? QStringLiteral("フォルダです") : QStringLiteral("通常のファイルではありません");
        ::close(fd);
        return false;
    }
    if (st.st_size > maxBytes) {
        *reason = QStringLiteral("大きすぎます（%1 MB まで）").arg(maxBytes / (1024 * 1024));
        ::close(fd);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *reason = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<FileIdentity> identityOf(const QString& path)
{
    struct stat st { };
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity{quint64(st.st_dev), quint64(st.st_ino)};
}
