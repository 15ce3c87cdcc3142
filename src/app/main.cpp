#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/data_location.h"
#include "widgets/app_icon.h"
#include "widgets/japanese_ui.h"
#include "widgets/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString kVersion = QStringLiteral("1.10");

// A termination request (the session logging out, `kill`) ends the program as 終了 does:
// children unloaded, settings written. The handler only wakes the event loop.
int gSignalPipe[2] = {-1, -1};
bool gTerminationRequested = false;

// Once a termination request has come, no one is there to answer a box: what the rest of the
// exit has to say goes to the standard error, and the box counts as answered by its default;
// a question whether to go on closing (the entry window's, on a draw half typed, whose digits
// are stored already) as yes, since the exit must not stop halfway.
QMessageBox::StandardButton reportOnStandardError(const MessageRequest& request)
{
    std::fputs((QStringLiteral("numbers3zubarin: ") + request.text.simplified() + u'\n').toLocal8Bit().constData(),
               stderr);
    std::fflush(stderr);
    if (request.buttons.testFlag(QMessageBox::Yes) && request.buttons.testFlag(QMessageBox::No))
        return QMessageBox::Yes;
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
}

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
        setMessageInterceptor(reportOnStandardError);
        // Before the event loop runs (during the start-up load) main() ends the program itself.
        if (QThread::currentThread()->loopLevel() > 0) {
            main.close();
            QCoreApplication::quit();
        }
    });
    struct sigaction action { };
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

// The options of the toolkit itself, which pass through to it (-platform offscreen, -style …):
// those that take a value, and those that do not. Qt reads them with one dash or two.
const QStringList kToolkitOptionsWithValue = {
    QStringLiteral("platform"),
    QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),
    QStringLiteral("session"),
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
    QStringLiteral("display"),
    QStringLiteral("geometry"),
    QStringLiteral("title"),
    QStringLiteral("icon"),
    QStringLiteral("name"),
    QStringLiteral("qmljsdebugger"),
};
const QStringList kToolkitFlags = {QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                   QStringLiteral("dograb"), QStringLiteral("sync")};

// The program's own command line, once the toolkit's options are set aside.
struct CommandLine {
    QString dataDir;
    bool dataDirGiven = false;
    bool create = false;
    bool version = false;
    bool help = false;
    QString error; // what is wrong with it, in a sentence; empty when nothing is
};

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size() && line.error.isEmpty(); ++i) {
        const QString& arg = arguments.at(i);
        if (!arg.startsWith(u'-') || arg == QLatin1String("-") || arg == QLatin1String("--")) {
            line.error = QStringLiteral("余分な引数です: %1").arg(arg);
            break;
        }
        QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(u'='); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (name == QLatin1String("data-dir")) {
            if (line.dataDirGiven) {
                line.error = QStringLiteral("--data-dir が二度指定されています");
            } else if (!value && (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QLatin1String("--")))) {
                line.error = QStringLiteral("--data-dir の値（フォルダー）がありません");
            } else {
                line.dataDir = value ? *value : arguments.at(++i);
                line.dataDirGiven = true;
                if (line.dataDir.isEmpty())
                    line.error = QStringLiteral("--data-dir の値（フォルダー）が空です");
            }
        } else if (value
                   && (name == QLatin1String("create") || name == QLatin1String("version")
                       || name == QLatin1String("help"))) {
            line.error = QStringLiteral("--%1 は値をとりません").arg(name);
        } else if (name == QLatin1String("create")) {
            line.create = true;
        } else if (name == QLatin1String("version")) {
            line.version = true;
        } else if (name == QLatin1String("help") || name == QLatin1String("h")) {
            line.help = true;
        } else if (kToolkitOptionsWithValue.contains(name)) {
            if (!value && ++i >= arguments.size())
                line.error = QStringLiteral("%1 の値がありません").arg(arg);
        } else if (!kToolkitFlags.contains(name)) {
            line.error = QStringLiteral("不明なオプションです: %1").arg(arg);
        }
    }
    return line;
}

QString usage()
{
    return QStringLiteral(
        "使い方: numbers3zubarin [--data-dir DIR [--create]] [--version] [--help]\n"
        "ナンバーズ3ズバリン: ナンバーズ3の当選数字の分析と予想\n\n"
        "  --data-dir DIR  データベースと設定ファイルを置くフォルダー（ないときは作るかどうか尋ねます）\n"
        "  --create        --data-dir のフォルダーがなければ、尋ねずに作ります\n"
        "  --version       版と、使うデータベースを表示します\n"
        "  -h, --help      この説明を表示します\n"
        "ほかに Qt のオプション（-platform、-style など）を受け付けます。\n");
}

// A command line the program cannot follow: said on the standard error, exit code 2.
int refuse(const QString& message)
{
    std::fputs((QStringLiteral("numbers3zubarin: ") + message + QStringLiteral("（使い方は --help で表示します）\n"))
                   .toLocal8Bit()
                   .constData(),
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // The options are read before the window system is touched: --version and --help need none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = parseCommandLine(arguments);
    if (!line.error.isEmpty())
        return refuse(line.error);
    if (line.help) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.create && !line.dataDirGiven)
        return refuse(QStringLiteral("--create は --data-dir と一緒に指定します"));
    const DataLocation location = DataLocation::resolve(programDirectory(argv[0]), line.dataDir);
    const DataLocation::NamedFolder named = location.namedFolder();
    if (named == DataLocation::NamedFolder::NotAFolder)
        return refuse(QStringLiteral("--data-dir の %1 はフォルダーではありません")
                          .arg(QDir::toNativeSeparators(location.dataFolder)));
    if (line.version) {
        const QString text
            = QStringLiteral("ナンバーズ3ズバリン %1\nデータベース: %2\n設定ファイル: %3\n")
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

    // A folder named on the command line that is not there may be a mistyped one: made only
    // when the user says so, here or with --create. The user's own data folders are made
    // without asking, at the first start.
    if (named == DataLocation::NamedFolder::Missing && !line.create) {
        const QString question
            = QStringLiteral(
                  "データを置くフォルダー %1 はありません。\n\n作成して、そこに新しいデータベースを作りますか？")
                  .arg(QDir::toNativeSeparators(location.dataFolder));
        if (showMessage({nullptr, question, kMessageTitle, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No})
            != QMessageBox::Yes)
            return 2;
    }
    QString reason;
    if (!location.makeFolders(&reason)) {
        showMessage({nullptr, QStringLiteral("データを置くフォルダーを用意できません。\n\n理由: %1").arg(reason),
                     kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return 1;
    }
    MainFrm mainFrm(MainFrm::Files{location.database, location.shippedHistory, location.settingsFile});
    registerWindows(mainFrm);
    mainFrm.setOffersMissingDraws(true);
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
