// The program as it is installed: `cmake --install` into a temporary prefix, started with a
// fresh home, keeps its data in the user's folders and never in the install tree; a portable
// copy keeps its database beside itself; the desktop files validate; the package names what
// it needs.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kAppId = QStringLiteral("jp.numbers3zubarin.Numbers3Zubarin");
const QString kSettings = QStringLiteral("ナンバーズ3ズバリン.ini");

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    Outcome result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out: ") + program;
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// A home of its own, with the XDG folders inside it, as a new user has.
QProcessEnvironment freshHome(const QString& home)
{
    QDir().mkpath(home + QStringLiteral("/run"));
    QFile::setPermissions(home + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Starts the program, waits for its database to appear, then asks it to end as a session's
// logout does. True when it ended by itself, with exit code 0.
bool startAndEnd(const QString& program, const QString& database, const QProcessEnvironment& env,
                 const QString& workingDir)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(program, {});
    if (!process.waitForStarted())
        return false;
    for (int i = 0; i < 400 && !QFileInfo::exists(database) && process.state() == QProcess::Running; ++i)
        QThread::msleep(50);
    QThread::msleep(500);
    process.terminate();
    const bool ended = process.waitForFinished(30000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    EXPECT_TRUE(QFileInfo::exists(database)) << process.readAllStandardError().toStdString();
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const Outcome install
            = run(QStringLiteral(N3_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(N3_BUILD_DIR), QStringLiteral("--prefix"), prefix()});
        ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        // Writable again, so the folder can go.
        QDirIterator it(prefix(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::setPermissions(it.next(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(prefix(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        delete s_dir;
        s_dir = nullptr;
    }
    static QString prefix() { return s_dir->filePath(QStringLiteral("prefix")); }
    static QString installed(const QString& path) { return prefix() + u'/' + path; }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* Installed::s_dir = nullptr;

TEST_F(Installed, FirstStartMakesTheUsersDataFromTheShippedHistoryAndTheSecondReusesIt)
{
    // Read-only, as an installed tree is to its users.
    const QStringList tree = filesUnder(prefix());
    ASSERT_TRUE(tree.contains(installed(QStringLiteral("share/numbers3zubarin/numbers3-history.csv"))));
    ASSERT_TRUE(tree.contains(installed(QStringLiteral("share/numbers3zubarin/numbers3-prizes.csv"))));
    ASSERT_TRUE(tree.contains(installed(QStringLiteral("share/numbers3zubarin/NOTICE-prizes.txt"))));
    QDirIterator dirs(prefix(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (dirs.hasNext())
        QFile::setPermissions(dirs.next(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    QTemporaryDir home;
    const QProcessEnvironment env = freshHome(home.path());
    const QString database = home.filePath(QStringLiteral(".local/share/numbers3zubarin/Numbers3Zubarin.db"));
    const QString settings = home.filePath(QStringLiteral(".config/numbers3zubarin/") + kSettings);
    const QString program = installed(QStringLiteral("bin/numbers3zubarin"));

    const Outcome version = run(program, {QStringLiteral("--version")}, env);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains(database)) << version.out.toStdString();
    EXPECT_TRUE(version.out.contains(settings)) << version.out.toStdString();

    QTemporaryDir elsewhere; // the directory it is started from plays no part
    ASSERT_TRUE(startAndEnd(program, database, env, elsewhere.path()));
    EXPECT_TRUE(QFileInfo::exists(settings));
    EXPECT_TRUE(filesUnder(elsewhere.path()).isEmpty());
    EXPECT_EQ(filesUnder(prefix()), tree) << "nothing is written into the install tree";
    // The companion, without --db, reads the same database: the shipped history.
    const Outcome exported
        = run(installed(QStringLiteral("bin/numbers3zubarin-tool")),
              {QStringLiteral("export"), QStringLiteral("--window"), QStringLiteral("数字合計分析")}, env);
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.trimmed().endsWith(QStringLiteral("7089,4,3,1,8")))
        << exported.out.right(80).toStdString();

    // A choice kept in the settings file and the database's own bytes survive the second start.
    QFile file(settings);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bytes.replace("Opt=False", "Opt=True");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    const QDateTime created = QFileInfo(database).lastModified();
    ASSERT_TRUE(startAndEnd(program, database, env, elsewhere.path()));
    EXPECT_EQ(QFileInfo(database).lastModified(), created);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

TEST_F(Installed, DataFolderOnTheCommandLineHoldsBoth)
{
    QTemporaryDir home;
    const Outcome version
        = run(installed(QStringLiteral("bin/numbers3zubarin")),
              {QStringLiteral("--data-dir"), home.filePath(QStringLiteral("mine")), QStringLiteral("--version")},
              freshHome(home.path()));
    EXPECT_TRUE(version.out.contains(home.filePath(QStringLiteral("mine/Numbers3Zubarin.db"))))
        << version.out.toStdString();
    EXPECT_TRUE(version.out.contains(home.filePath(QStringLiteral("mine/")) + kSettings)) << version.out.toStdString();
}

TEST_F(Installed, DesktopEntryAndMetadataValidate)
{
    for (const char* tool : {"desktop-file-validate", "appstreamcli"})
        ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            << tool << " is installed by make test (Makefile PACKAGES)";
    const Outcome desktop
        = run(QStringLiteral("desktop-file-validate"),
              {installed(QStringLiteral("share/applications/") + kAppId + QStringLiteral(".desktop"))});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out.toStdString() << desktop.err.toStdString();
    EXPECT_TRUE(desktop.out.isEmpty()) << desktop.out.toStdString();
    const Outcome metainfo
        = run(QStringLiteral("appstreamcli"),
              {QStringLiteral("validate"), QStringLiteral("--no-net"),
               installed(QStringLiteral("share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml"))});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out.toStdString() << metainfo.err.toStdString();
    QStringList icons{QStringLiteral("scalable/apps/numbers3zubarin.svg")};
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icons << QStringLiteral("%1x%1/apps/numbers3zubarin.png").arg(size);
    for (const QString& icon : std::as_const(icons))
        EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("share/icons/hicolor/") + icon))) << icon.toStdString();
    EXPECT_TRUE(QFileInfo::exists(installed(QStringLiteral("share/man/man1/numbers3zubarin-tool.1"))));
}

TEST(PortableCopy, KeepsItsDatabaseBesideItselfAndItsSettingsWhereItIsStarted)
{
    QTemporaryDir folder, home, cwd;
    const QString program = folder.filePath(QStringLiteral("numbers3zubarin"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(N3_PROGRAM_PATH), program));
    ASSERT_TRUE(QFile::copy(QStringLiteral(N3_HISTORY_CSV), folder.filePath(QStringLiteral("numbers3-history.csv"))));
    const QString database = folder.filePath(QStringLiteral("Numbers3Zubarin.db"));
    const QProcessEnvironment env = freshHome(home.path());
    ASSERT_TRUE(startAndEnd(program, database, env, cwd.path()));
    EXPECT_TRUE(QFileInfo::exists(cwd.filePath(kSettings)));
    EXPECT_FALSE(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/numbers3zubarin"))));
}

TEST(Package, ControlFieldsNameTheRuntimeDependencies)
{
    QTemporaryDir out;
    const Outcome cpack = run(QStringLiteral(N3_CPACK_COMMAND),
                              {QStringLiteral("--config"), QStringLiteral(N3_BUILD_DIR "/CPackConfig.cmake"),
                               QStringLiteral("-B"), out.path()});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out.toStdString() << cpack.err.toStdString();
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.filePath(debs.first());
    const Outcome fields = run(QStringLiteral("dpkg-deb"),
                               {QStringLiteral("-f"), deb, QStringLiteral("Package"), QStringLiteral("Depends")});
    ASSERT_EQ(fields.exitCode, 0) << fields.err.toStdString();
    EXPECT_TRUE(fields.out.contains(QStringLiteral("Package: numbers3zubarin\n")));
    // Computed from the executables, and what Qt loads at run time besides.
    for (const char* dependency : {"libc6", "libqt6core6", "libqt6widgets6", "libqt6sql6 ", "libqt6sql6-sqlite",
                                   "libqt6charts6", "qt6-qpa-plugins", "qt6-translations-l10n", "fonts-ipafont-gothic"})
        EXPECT_TRUE(fields.out.contains(QString::fromLatin1(dependency)))
            << dependency << " in " << fields.out.toStdString();
    const Outcome contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    for (const char* path :
         {"./usr/bin/numbers3zubarin", "./usr/bin/numbers3zubarin-tool",
          "./usr/share/numbers3zubarin/numbers3-history.csv", "./usr/share/numbers3zubarin/numbers3-prizes.csv",
          "./usr/share/numbers3zubarin/NOTICE-prizes.txt"})
        EXPECT_TRUE(contents.out.contains(QString::fromLatin1(path))) << path;
}

} // namespace
