#pragma once
// A small stand-in for the help viewer calls the Help menu makes. The help file is a compiled
// help file named relative to the current directory; when it exists it is handed to the
// desktop's own viewer. Callers ignore the results, as a missing file is the viewer's business.

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace HtmlHelp {

constexpr int HH_DISPLAY_INDEX = 2;
constexpr int HH_KEYWORD_LOOKUP = 13;

// The keyword-link record of the keyword lookup.
struct HH_AKLINK {
    int cbStruct = 32;
    bool fReserved = false;
    QString pszKeywords;
    QString pszUrl;
    QString pszMsgText;
    QString pszMsgTitle;
    QString pszWindow;
    bool fIndexOnFail = false;
};

// Shows the index of the file (HH_DISPLAY_INDEX, with a keyword) or looks a keyword up
// (HH_KEYWORD_LOOKUP, with a link record). Returns true when the file could be shown.
bool HtmlHelpA(QWidget* owner, const QString& file, int command, const QString& keyword);
bool HtmlHelpA(QWidget* owner, const QString& file, int command, const HH_AKLINK& link);

// How a file is handed to the desktop; replaceable so tests see what would be opened.
using Opener = std::function<bool(const QUrl&)>;
void setOpener(Opener opener);

} // namespace HtmlHelp
