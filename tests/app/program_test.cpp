// The program itself as a process: the command lines it refuses, the data folder it makes only
// when told, and a termination request that ends it even when the exit has a failure to report.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

const QString kProgram = QStringLiteral(N3_PROGRAM_PATH);

struct Ended {
    bool ended = false;
    int exitCode = -1;
    QString err;
};

Ended run(const QStringList& args, int waitMs = 15000)
{
    QProcess program;
    program.start(kProgram, args);
    Ended result;
    result.ended = program.waitForFinished(waitMs);
    if (!result.ended) {
        program.kill();
        program.waitForFinished();
    }
    result.exitCode = program.exitCode();
    result.err = QString::fromLocal8Bit(program.readAllStandardError());
    return result;
}

bool waitForFile(const QString& path, int waitMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path) && timer.elapsed() < waitMs)
        QThread::msleep(20);
    return QFileInfo::exists(path);
}

TEST(Program, ABadCommandLineIsRefusedWithAMessageAndMakesNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a-file"));
    QFile(file).open(QIODevice::WriteOnly);
    const QString missing = dir.filePath(QStringLiteral("typo/nested"));
    const QStringList refused[] = {
        {QStringLiteral("--bogus")},
        {QStringLiteral("extra")},
        {QStringLiteral("--data-dir")},
        {QStringLiteral("--data-dir=")},
        {QStringLiteral("--data-dir"), file},
        {QStringLiteral("--create")},
        {QStringLiteral("--data-dir"), missing, QStringLiteral("--version=1")},
    };
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const Ended ended = run(args);
        EXPECT_TRUE(ended.ended);
        EXPECT_EQ(ended.exitCode, 2);
        EXPECT_TRUE(ended.err.startsWith(QStringLiteral("numbers3zubarin: "))) << ended.err.toStdString();
        EXPECT_FALSE(ended.err.contains(QStringLiteral("File exists")));
    }
    // --version names the files of a folder not there yet without making it.
    const Ended version = run({QStringLiteral("--data-dir"), missing, QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("typo"))));

    // Without --create the program asks first, and makes nothing while the question stands.
    QProcess asking;
    asking.start(kProgram, {QStringLiteral("--data-dir"), missing});
    EXPECT_FALSE(asking.waitForFinished(1500));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("typo"))));
    asking.kill();
    asking.waitForFinished();
}

// The settings file cannot be written (a folder has its name): at the end of a run the program
// would tell the user so in a box. After a termination request no one is there to answer it:
// the failure goes to the standard error and the program ends.
TEST(Program, ATerminationRequestEndsItAlsoWhenTheSettingsCannotBeWritten)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("new/data"));
    QProcess program;
    program.start(kProgram, {QStringLiteral("--data-dir"), data, QStringLiteral("--create")});
    ASSERT_TRUE(waitForFile(data));
    ASSERT_TRUE(QDir(data).mkdir(QStringLiteral("ナンバーズ3ズバリン.ini")));
    ASSERT_TRUE(waitForFile(data + QStringLiteral("/Numbers3Zubarin.db")));
    QThread::msleep(1500); // the windows are up
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    const bool ended = program.waitForFinished(10000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QString said = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("予想オプションの設定を保存できません"))) << said.toStdString();
}

} // namespace
