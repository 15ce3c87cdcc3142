// Writing a whole file: regular files replaced at once, links followed to what they point at,
// and FIFOs and devices written as they are, with every failure reported and nothing replaced.

#include "data/file_write.h"
#include "support/special_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writePlain(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

bool sigpipeBlockedOrPending()
{
    sigset_t blocked, pending;
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    sigpending(&pending);
    return sigismember(&blocked, SIGPIPE) == 1 || sigismember(&pending, SIGPIPE) == 1;
}

class FileWrite : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    // Every name in the folder, hidden ones included: a temporary file left over shows here.
    QStringList names() const
    {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir;
    QString reason;
};

TEST_F(FileWrite, ReplacesARegularFileWholeKeepingItsPermissions)
{
    const QString file = path(QStringLiteral("out.csv"));
    writePlain(file, QByteArray(10000, 'x'));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);

    ASSERT_TRUE(writeFileBytes(file, "new\n", &reason)) << reason.toStdString();
    EXPECT_EQ(readAll(file), QByteArray("new\n"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("out.csv")}) << "no temporary file left";
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino) << "renamed over, not rewritten in place";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    // Run as root, a user's file stays the user's.
    if (::chown(QFile::encodeName(file).constData(), 65534, 65534) == 0) {
        ASSERT_TRUE(writeFileBytes(file, "again\n", &reason)) << reason.toStdString();
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &after), 0);
        EXPECT_TRUE(after.st_uid == 65534 && after.st_gid == 65534);
    }

    // A missing file is created; a missing folder is a failure that creates nothing.
    ASSERT_TRUE(writeFileBytes(path(QStringLiteral("new.json")), "{}", &reason)) << reason.toStdString();
    EXPECT_EQ(readAll(path(QStringLiteral("new.json"))), QByteArray("{}"));
    EXPECT_FALSE(writeFileBytes(path(QStringLiteral("none/out.csv")), "x", &reason));
    EXPECT_EQ(reason.toStdString(), "フォルダがありません");
    EXPECT_EQ(names(), (QStringList{QStringLiteral("new.json"), QStringLiteral("out.csv")}));
}

TEST_F(FileWrite, FollowsLinksToWhatTheyPointAtAndRefusesFolders)
{
    // A link to a regular file: the file is replaced, the link stays a link.
    const QString target = path(QStringLiteral("target.csv")), link = path(QStringLiteral("link.csv"));
    writePlain(target, "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("target.csv"), link));
    ASSERT_TRUE(writeFileBytes(link, "new", &reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readAll(target), QByteArray("new"));

    // A chain of relative links that ends on nothing: the name at its end is created.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_TRUE(QFile::link(QStringLiteral("sub/second"), path(QStringLiteral("first"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("../made.csv"), path(QStringLiteral("sub/second"))));
    ASSERT_TRUE(writeFileBytes(path(QStringLiteral("first")), "made", &reason)) << reason.toStdString();
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("first"))).isSymLink());
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("sub/second"))).isSymLink());
    EXPECT_EQ(readAll(path(QStringLiteral("made.csv"))), QByteArray("made"));

    // A folder, named or through a link, is refused and left as it was.
    ASSERT_TRUE(QFile::link(QStringLiteral("sub"), path(QStringLiteral("folder-link"))));
    const QStringList before = names();
    for (const QString& name : {QStringLiteral("sub"), QStringLiteral("folder-link")}) {
        EXPECT_FALSE(writeFileBytes(path(name), "x", &reason)) << name.toStdString();
        EXPECT_EQ(reason.toStdString(), "フォルダです");
    }
    EXPECT_EQ(names(), before);
    EXPECT_EQ(QDir(path(QStringLiteral("sub"))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("second")});

    // A loop of links leads nowhere.
    ASSERT_TRUE(QFile::link(QStringLiteral("loop-b"), path(QStringLiteral("loop-a"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("loop-a"), path(QStringLiteral("loop-b"))));
    EXPECT_FALSE(writeFileBytes(path(QStringLiteral("loop-a")), "x", &reason));
    EXPECT_EQ(reason.toStdString(), "リンクが循環しています");
}

TEST_F(FileWrite, WritesIntoAFifoAsItIsAndReportsAReaderThatIsMissingOrGone)
{
    const QString fifo = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray bytes = QByteArray(200000, 'n') + "end"; // more than a pipe holds at once
    {
        fixture::FifoReader reader(fifo);
        ASSERT_TRUE(writeFileBytes(fifo, bytes, &reason)) << reason.toStdString();
        EXPECT_EQ(reader.bytes(), bytes);
    }
    EXPECT_TRUE(fixture::isFifo(fifo));
    EXPECT_EQ(names(), QStringList{QStringLiteral("pipe")}) << "no temporary file";

    // A reader that goes away after one byte: an error, not the end of this process.
    {
        fixture::FifoReader reader(fifo, 1);
        EXPECT_FALSE(writeFileBytes(fifo, QByteArray(4 << 20, 'x'), &reason));
        EXPECT_EQ(reason.toStdString(), "読み手が閉じました");
        EXPECT_EQ(reader.bytes(), QByteArray("x"));
    }
    EXPECT_FALSE(sigpipeBlockedOrPending()) << "the signal mask is as it was and no SIGPIPE is left over";

    // No reader at all, for a caller that must not wait for one.
    FileWriteOptions noWait;
    noWait.waitForReader = false;
    EXPECT_FALSE(writeFileBytes(fifo, "x", &reason, noWait));
    EXPECT_EQ(reason.toStdString(), "読み手がいません");
    EXPECT_TRUE(fixture::isFifo(fifo));
}

TEST_F(FileWrite, AFullDeviceIsAFailureWithItsReasonAndStaysADevice)
{
    const QString device = path(QStringLiteral("full"));
    if (!fixture::makeFullDeviceNode(device))
        GTEST_SKIP() << "this process may not make a device node here";
    ASSERT_TRUE(QFile::link(QStringLiteral("full"), path(QStringLiteral("link"))));
    for (const QString& name : {QStringLiteral("full"), QStringLiteral("link")}) {
        EXPECT_FALSE(writeFileBytes(path(name), "x", &reason)) << name.toStdString();
        EXPECT_EQ(reason.toStdString(), "ディスクの空きがありません");
    }
    EXPECT_TRUE(fixture::isFullDeviceNode(device));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("link"))).isSymLink());
    EXPECT_EQ(names(), (QStringList{QStringLiteral("full"), QStringLiteral("link")}));
}

} // namespace
