#pragma once
// The help calls of the Help menu. The manual is named by its file, "ナンバーズ3ズバリンM.chm",
// as it always was; it is the program's own set of pages, built into the program (help/, see
// HelpWindow), so it opens wherever the program runs, with no file on disk. A topic of it may
// follow the name as "ナンバーズ3ズバリンM.chm::/frequency.html".
//
// Both calls show the owner's help window (one per top-level window) and return true when a
// page was shown. A file name other than the manual's, or a command these calls do not know,
// shows nothing and returns false.

#include <QList>
#include <QString>

class QWidget;

namespace HtmlHelp {

constexpr int HH_DISPLAY_INDEX = 2;
constexpr int HH_KEYWORD_LOOKUP = 13;

// The name the manual goes by.
inline const QString kManualFile = QStringLiteral("ナンバーズ3ズバリンM.chm");

// The keyword-link record of the keyword lookup.
struct HH_AKLINK {
    int cbStruct = 32;
    bool fReserved = false;
    QString pszKeywords; // one keyword, or several separated by ";": the first known one counts
    QString pszUrl;
    QString pszMsgText;
    QString pszMsgTitle;
    QString pszWindow;
    bool fIndexOnFail = false; // no keyword known: show the index page instead of nothing
};

// HH_DISPLAY_INDEX: shows the index page of the manual (or the topic the file name gives).
bool HtmlHelpA(QWidget* owner, const QString& file, int command, const QString& keyword);
// HH_KEYWORD_LOOKUP: shows the page the record's keyword names. The record must be the size it
// says (cbStruct 32) and name a keyword.
bool HtmlHelpA(QWidget* owner, const QString& file, int command, const HH_AKLINK& link);

// The page for a player's first day: what the program holds, how to add the missing draws, the
// routine of a draw day and what the prediction means as tickets (keyword "はじめに").
inline const QString kGettingStartedPage = QStringLiteral("getting-started.html");

// Shows the owner's help window at a page of the manual, named by its file and an #anchor where
// it has one ("getting-started.html", "entry.html#edit"), and brings the window forward. False,
// and nothing shown, when the manual has no such page.
bool showHelpPage(QWidget* owner, const QString& page);

// The keywords of the manual: window names, their captions and menu items, and the topics.
struct Keyword {
    QString keyword;
    QString page; // a page of the manual, with its #anchor where it has one
};
const QList<Keyword>& keywords();
// The page a keyword names; a menu caption may keep its accelerator ("一発ズバリン予想(&D)").
// Empty when the manual has no such keyword.
QString pageOfKeyword(const QString& keyword);

} // namespace HtmlHelp
