#include "app/html_help.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace HtmlHelp {

namespace {

Opener& opener()
{
    static Opener current;
    return current;
}

QString resolve(const QString& file)
{
    return QDir::current().absoluteFilePath(file);
}

bool open(const QString& path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    return opener() ? opener()(url) : QDesktopServices::openUrl(url);
}

} // namespace

bool HtmlHelpA(QWidget*, const QString& file, int command, const QString&)
{
    const QString path = resolve(file);
    if (command != HH_DISPLAY_INDEX || !QFileInfo(path).isFile())
        return false;
    return open(path);
}

bool HtmlHelpA(QWidget*, const QString& file, int command, const HH_AKLINK& link)
{
    // The desktop viewer has already been given the file by the index call and takes no
    // keyword of its own, so the lookup only answers whether the topic's file is there.
    if (command != HH_KEYWORD_LOOKUP || link.cbStruct != 32 || link.pszKeywords.isEmpty())
        return false;
    return QFileInfo(resolve(file)).isFile();
}

void setOpener(Opener newOpener)
{
    opener() = std::move(newOpener);
}

} // namespace HtmlHelp
