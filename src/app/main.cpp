#include "app/main_frm.h"
#include "app/window_registry.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ナンバーズ3ズバリン"));
    QApplication::setApplicationVersion(QStringLiteral("1.10"));

    MainFrm mainFrm;
    registerWindows(mainFrm);
    if (!mainFrm.load())
        return 1;
    mainFrm.show();
    return app.exec();
}
