// numbers3zubarin-tool: imports draw histories and exports analysis grids without a display.

#include "tool_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>
#include <pwd.h>
#include <unistd.h>

namespace {

// An export to PDF lays out pages in the grid font, which takes a GUI application; everything
// else runs without one.
bool needsGui(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "export") != 0)
        return false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--format=pdf") == 0)
            return true;
        if (std::strcmp(argv[i], "--format") == 0 && i + 1 < argc && std::strcmp(argv[i + 1], "pdf") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<QCoreApplication> app;
    if (needsGui(argc, argv)) {
        // No display is needed for a PDF.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Run outside a desktop session (a cron job, a shell over ssh) there is no runtime
        // folder: the one Qt would take by itself, without saying so at every run.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            if (const passwd* user = ::getpwuid(::geteuid()))
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QDir::tempPath()) + "/runtime-" + user->pw_name);
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tool::runTool(app->arguments().mid(1), out, err);
}
