#include "widgets/app_icon.h"

#include <QApplication>

QIcon appIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/numbers3zubarin-%1.png").arg(size), QSize(size, size));
    return icon;
}

void installAppIcon()
{
    QApplication::setWindowIcon(appIcon());
}
