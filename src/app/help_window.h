#pragma once
// The help window: the program's manual (the pages under help/, built into the program as
// resources below :/help) in a browser with 戻る / 進む / 目次 and a search over every page.
//
// One window per owner: it belongs to the owner's top-level window, is reused each time help is
// asked for and goes with its owner. Links to other sites open in the desktop's web browser.
// Esc and Ctrl+W (and the desktop's close keys) close it. The status bar speaks of the word
// searched for last: where it stands in the page, or that no page has it.

#include <QMainWindow>
#include <QRegularExpression>
#include <QTextCursor>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QTextBrowser;

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    static const QString kCaption;
    // The folder of the manual and its first page.
    static const QString kResourceFolder; // ":/help"
    static QUrl pageUrl(const QString& page); // "index.html" -> qrc:/help/index.html
    static QUrl indexUrl() { return pageUrl(QStringLiteral("index.html")); }

    // The help window of the owner's top-level window, made when first asked for. Not shown.
    static HelpWindow* instanceFor(QWidget* owner);

    explicit HelpWindow(QWidget* owner = nullptr);

    // Shows a page of the manual (with its #anchor, if any) and brings the window forward.
    // False, and nothing changes, when the manual has no such page.
    bool showPage(const QUrl& url);
    QUrl currentPage() const;

    // The pages that hold a word, in the order of the index; empty for an empty word.
    struct Hit {
        QUrl page;
        QString title;
        int count = 0;
    };
    QList<Hit> search(const QString& word);

    // The most of a word that is searched for, and the longest word searched for with either
    // case and width of its letters (past it, as it stands), in characters.
    static constexpr int kMaxWordLength = 1000;
    static constexpr int kMaxFlexibleLength = 200;
    // What a word finds: its letters and digits in either case and width, any run of blanks
    // for a run of blanks.
    static QRegularExpression patternFor(const QString& word);

    QTextBrowser* browser() const { return m_browser; }

private:
    struct Page {
        QUrl url;
        QString title;
        QString text;
    };
    const QList<Page>& pages();
    void runSearch();
    void openHit(QListWidgetItem* item);
    void highlight(bool moveToFirst);
    void showMatches();
    void findNext(bool backward = false);
    void placeInView(const QTextCursor& match);
    void pageChanged(const QUrl& page);
    void markCurrentResult(const QUrl& page);

    QTextBrowser* m_browser = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_resultsPanel = nullptr;
    QLabel* m_resultsLabel = nullptr;
    QListWidget* m_results = nullptr;
    QLineEdit* m_searchField = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    QAction* m_findNext = nullptr;
    QList<Page> m_pages;
    QString m_word; // the word searched for and highlighted
    QRegularExpression m_pattern;
    QList<QTextCursor> m_matches; // where the word stands in the page on show
    int m_current = -1; // the match found last, or -1
};
