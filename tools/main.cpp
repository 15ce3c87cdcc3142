// numbers3zubarin-tool: imports draw histories and exports analysis grids without a display.

#include "tool_commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return tool::runTool(app.arguments().mid(1), out, err);
}
