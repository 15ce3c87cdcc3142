#pragma once
// FIFOs and device nodes made inside a test's own temporary folder, for output that is no
// regular file.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

namespace fixture {

// A node with the numbers of the "full" device (1:7), where every write fails with ENOSPC.
// False where this process may not make one (not root, or a folder on a nodev mount).
inline bool makeFullDeviceNode(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 7)) != 0)
        return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        ::unlink(name.constData());
        return false;
    }
    ::close(fd);
    return true;
}

inline bool isFullDeviceNode(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == makedev(1, 7);
}

inline bool isFifo(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// Opens a FIFO for reading on a thread of its own and reads it to the end, or only `limit`
// bytes and then closes it, as a reader that goes away early does.
class FifoReader {
public:
    explicit FifoReader(const QString& path, qsizetype limit = -1)
        : m_thread([this, name = QFile::encodeName(path), limit] {
              const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
              char buffer[4096];
              while (fd >= 0 && (limit < 0 || m_bytes.size() < limit)) {
                  const ssize_t got = ::read(fd, buffer, limit < 0 ? sizeof buffer : 1);
                  if (got <= 0)
                      break;
                  m_bytes.append(buffer, got);
              }
              if (fd >= 0)
                  ::close(fd);
              m_done = true;
          }),
          m_node(::open(QFile::encodeName(path).constData(), O_PATH | O_CLOEXEC))
    {
    }
    ~FifoReader()
    {
        if (m_thread.joinable())
            finish();
        if (m_node >= 0)
            ::close(m_node);
    }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    // What was read, once the writer has closed its end (or the limit was reached).
    QByteArray bytes()
    {
        finish();
        return m_bytes;
    }

private:
    // Once the writer is done: a writer that never came (or replaced the FIFO by another file)
    // must not leave the reader waiting, so the FIFO itself is opened and closed for writing.
    void finish()
    {
        const QByteArray node = "/proc/self/fd/" + QByteArray::number(m_node);
        while (!m_done) {
            const int fd = ::open(node.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (m_thread.joinable())
            m_thread.join();
    }

    QByteArray m_bytes;
    std::atomic<bool> m_done = false;
    std::thread m_thread;
    int m_node; // the FIFO, wherever its name goes
};

} // namespace fixture
