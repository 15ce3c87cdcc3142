#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/data_location.h"
#include "widgets/app_icon.h"
#include "widgets/japanese_ui.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kVersion = QStringLiteral("1.10");

// A termination request (the session logging out, `kill`) ends the program as 終了 does:
// children unloaded, settings written. The handler only wakes the event loop.
int gSignalPipe[2] = {-1, -1};
bool gTerminationRequested = false;

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[0], &byte, 1);
}

void closeOnTerminationSignal(MainFrm& main)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, &main);
    QObject::connect(notifier, &QSocketNotifier::activated, &main, [&main] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(gSignalPipe[1], &byte, 1);
        gTerminationRequested = true;
        // Before the event loop runs (during the start-up load) main() ends the program itself.
        if (QThread::currentThread()->loopLevel() > 0) {
            main.close();
            QCoreApplication::quit();
        }
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

QString programDirectory(const char* argv0)
{
    // Before the application object exists: the executable's own link in /proc, else argv[0].
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString path = self.exists() ? self.canonicalFilePath() : QFile::decodeName(argv0);
    return QFileInfo(path).absolutePath();
}

} // namespace

int main(int argc, char** argv)
{
    // The options are read before the window system is touched: --version and --help need none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ナンバーズ3ズバリン: ナンバーズ3の当選数字の分析と予想"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("データベースと設定ファイルを置くフォルダー"), QStringLiteral("DIR"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("版と、使うデータベースを表示します"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示します"));
    parser.addOptions({dataDir, version, help});
    // Options of the toolkit itself (-platform, -style …) pass through to it.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.parse(arguments);
    const DataLocation location = DataLocation::resolve(programDirectory(argv[0]), parser.value(dataDir));
    if (parser.isSet(help)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        const QString text = QStringLiteral("ナンバーズ3ズバリン %1\nデータベース: %2\n設定ファイル: %3\n")
                                 .arg(kVersion, QDir::toNativeSeparators(QFileInfo(location.database).absoluteFilePath()),
                                      QDir::toNativeSeparators(QFileInfo(location.settingsFile).absoluteFilePath()));
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ナンバーズ3ズバリン"));
    QApplication::setApplicationVersion(kVersion);
    QApplication::setDesktopFileName(QStringLiteral("jp.numbers3zubarin.Numbers3Zubarin"));
    installAppIcon();
    // Qt's own buttons and dialogs in Japanese; without the translation they stay in English.
    installJapaneseQtTranslation();

    QString reason;
    if (!location.makeFolders(&reason)) {
        showMessage({nullptr, QStringLiteral("データを置くフォルダーを用意できません。\n\n理由: %1").arg(reason),
                     kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return 1;
    }
    MainFrm mainFrm(MainFrm::Files{location.database, location.shippedHistory, location.settingsFile});
    registerWindows(mainFrm);
    closeOnTerminationSignal(mainFrm);
    if (!mainFrm.load())
        return 1;
    if (gTerminationRequested) {
        mainFrm.close();
        return 0;
    }
    mainFrm.show();
    return app.exec();
}
