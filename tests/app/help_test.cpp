// The manual built into the program: its links hold together, the index reaches every page, and
// every keyword of the help calls opens a page that is there.

#include "catalogue/window_catalogue.h"
#include "app/help_window.h"
#include "app/html_help.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct ManualPage {
    QString html;
    QStringList links; // every href and src, as written
    QStringList anchors; // the names a link may jump to, as the browser sees them
};

// Every page of the manual, by its URL.
QHash<QUrl, ManualPage> manual()
{
    QHash<QUrl, ManualPage> pages;
    const QStringList files = QDir(HelpWindow::kResourceFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString& file : files) {
        QFile source(HelpWindow::kResourceFolder + u'/' + file);
        EXPECT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        ManualPage page;
        page.html = QString::fromUtf8(source.readAll());
        static const QRegularExpression link(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""));
        for (auto it = link.globalMatch(page.html); it.hasNext();)
            page.links << it.next().captured(1);
        QTextDocument document;
        document.setHtml(page.html);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it)
                page.anchors << it.fragment().charFormat().anchorNames();
        }
        pages.insert(HelpWindow::pageUrl(file), page);
    }
    return pages;
}

bool isExternal(const QUrl& url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

} // namespace

TEST(HelpManual, EveryLinkLeadsToAPageAndAnchorThatExist)
{
    const QHash<QUrl, ManualPage> pages = manual();
    ASSERT_TRUE(pages.contains(HelpWindow::indexUrl()));
    for (auto page = pages.cbegin(); page != pages.cend(); ++page) {
        for (const QString& link : page->links) {
            const QUrl target = page.key().resolved(QUrl(link));
            if (isExternal(target))
                continue;
            const std::string where = page.key().fileName().toStdString() + " -> " + link.toStdString();
            QUrl file = target;
            file.setFragment(QString());
            ASSERT_EQ(file.scheme(), QStringLiteral("qrc")) << where;
            EXPECT_TRUE(QFile::exists(u':' + file.path())) << where;
            if (target.hasFragment()) {
                ASSERT_TRUE(pages.contains(file)) << where;
                EXPECT_TRUE(pages[file].anchors.contains(target.fragment())) << where;
            }
        }
    }
}

TEST(HelpManual, EveryPageIsReachableFromTheIndex)
{
    const QHash<QUrl, ManualPage> pages = manual();
    QSet<QUrl> reached{HelpWindow::indexUrl()};
    QList<QUrl> toVisit{HelpWindow::indexUrl()};
    while (!toVisit.isEmpty()) {
        const QUrl url = toVisit.takeFirst();
        for (const QString& link : pages.value(url).links) {
            QUrl target = url.resolved(QUrl(link));
            target.setFragment(QString());
            if (pages.contains(target) && !reached.contains(target)) {
                reached.insert(target);
                toVisit << target;
            }
        }
    }
    for (auto page = pages.cbegin(); page != pages.cend(); ++page)
        EXPECT_TRUE(reached.contains(page.key())) << page.key().fileName().toStdString();
}

TEST(HelpManual, EveryKeywordAndEveryWindowNameOpensItsPage)
{
    const QHash<QUrl, ManualPage> pages = manual();
    QWidget owner;
    for (const HtmlHelp::Keyword& entry : HtmlHelp::keywords()) {
        const std::string name = entry.keyword.toStdString();
        HtmlHelp::HH_AKLINK link;
        link.pszKeywords = entry.keyword;
        ASSERT_TRUE(HtmlHelp::HtmlHelpA(&owner, HtmlHelp::kManualFile, HtmlHelp::HH_KEYWORD_LOOKUP, link)) << name;
        HelpWindow* help = HelpWindow::instanceFor(&owner);
        const QUrl expected = HelpWindow::pageUrl(entry.page);
        EXPECT_EQ(help->currentPage().toString(), expected.toString()) << name;
        QUrl file = expected;
        file.setFragment(QString());
        ASSERT_TRUE(pages.contains(file)) << name;
        if (expected.hasFragment()) {
            EXPECT_TRUE(pages[file].anchors.contains(expected.fragment())) << name;
        }
        EXPECT_FALSE(help->browser()->toPlainText().trimmed().isEmpty()) << name;
    }
    EXPECT_EQ(HtmlHelp::pageOfKeyword(QStringLiteral("ミニロトズバリンについて")), QStringLiteral("index.html"));

    // Each window by its form name, its caption and its menu item (accelerator and all).
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        for (const QString& name : {record.form, record.caption, record.menu.text})
            EXPECT_EQ(HtmlHelp::pageOfKeyword(name), record.helpPage) << name.toStdString();
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + record.helpPage.section(u'#', 0, 0)))
            << record.helpPage.toStdString();
    }
}

namespace {

int gWarnings = 0;

void countWarning(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++gWarnings;
}

} // namespace

// Characters beyond the 16-bit range and words of any length make valid patterns that find
// themselves, and a search with them writes nothing to the error output.
TEST(HelpSearch, AnyWordMakesAPatternThatFindsIt)
{
    const QString long2800 = QString(2800, QChar(u'k'));
    const QString longer = QStringLiteral("a😀") + QString(HelpWindow::kMaxWordLength + 500, QChar(u'x'));
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("😀"), QStringLiteral("😀")},
        {QStringLiteral("𠮷野家"), QStringLiteral("𠮷野家")},
        {QStringLiteral("A😀b 1"), QStringLiteral("ａ😀Ｂ \t１")}, // either case and width, any blanks
        {long2800, long2800},
        {longer, longer},
    };
    for (const auto& [word, text] : cases) {
        SCOPED_TRACE(word.left(20).toStdString());
        const QRegularExpression pattern = HelpWindow::patternFor(word);
        ASSERT_TRUE(pattern.isValid()) << pattern.errorString().toStdString();
        EXPECT_TRUE(pattern.match(QStringLiteral("前") + text + QStringLiteral("後")).hasMatch());
        EXPECT_FALSE(pattern.match(QStringLiteral("前後")).hasMatch());
    }
    QWidget owner;
    HelpWindow help(&owner);
    gWarnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countWarning);
    for (const auto& [word, text] : cases)
        EXPECT_TRUE(help.search(word).isEmpty());
    qInstallMessageHandler(previous);
    EXPECT_EQ(gWarnings, 0);
}

// The page the program points a new player to: by its file (what the main window's start-up hint
// calls), by its keyword, and first in the index's contents. Nothing but the manual's pages opens.
TEST(HelpManual, TheFirstDayPageOpensByNameAndKeywordAndLeadsTheContents)
{
    QWidget owner;
    ASSERT_TRUE(HtmlHelp::showHelpPage(&owner, HtmlHelp::kGettingStartedPage));
    HelpWindow* help = HelpWindow::instanceFor(&owner);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage(), HelpWindow::pageUrl(QStringLiteral("getting-started.html")));
    EXPECT_TRUE(help->browser()->toPlainText().contains(QStringLiteral("第7089回（2026/10/09）")));
    EXPECT_EQ(HtmlHelp::pageOfKeyword(QStringLiteral("はじめに")), HtmlHelp::kGettingStartedPage);
    ASSERT_TRUE(HtmlHelp::showHelpPage(&owner, QStringLiteral("entry.html#edit")));
    EXPECT_EQ(help->currentPage(), HelpWindow::pageUrl(QStringLiteral("entry.html#edit")));
    for (const QString& page : {QStringLiteral("none.html"), QStringLiteral("../help/style.css"),
                                QStringLiteral("https://example.com/index.html"), QString()}) {
        EXPECT_FALSE(HtmlHelp::showHelpPage(&owner, page)) << page.toStdString();
        EXPECT_EQ(help->currentPage(), HelpWindow::pageUrl(QStringLiteral("entry.html#edit")));
    }

    QFile index(QStringLiteral(":/help/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(index.readAll());
    static const QRegularExpression firstLink(QStringLiteral("name=\"contents\".*?href=\"([^\"]*)\""),
                                              QRegularExpression::DotMatchesEverythingOption);
    EXPECT_EQ(firstLink.match(html).captured(1), HtmlHelp::kGettingStartedPage);
}

namespace {

void search(HelpWindow& help, const QString& word)
{
    auto* field = help.findChild<QLineEdit*>(QStringLiteral("helpSearch"));
    ASSERT_TRUE(field);
    field->setText(word);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

// The status bar speaks of the word searched for last: a word that is nowhere says so, in place
// of what it said of the word before, and a word found again says where it stands.
TEST(HelpSearch, TheStatusBarTellsOfTheLastWordFoundOrNot)
{
    QWidget owner;
    HelpWindow help(&owner);
    ASSERT_TRUE(help.showPage(HelpWindow::pageUrl(QStringLiteral("frequency.html"))));
    search(help, QStringLiteral("出現"));
    EXPECT_TRUE(help.statusBar()->currentMessage().startsWith(QStringLiteral("「出現」 1 / ")))
        << help.statusBar()->currentMessage().toStdString();

    search(help, QStringLiteral("ぬぬぬ存在しない言葉"));
    EXPECT_EQ(help.statusBar()->currentMessage(), QStringLiteral("「ぬぬぬ存在しない言葉」は見つかりませんでした。"));
    EXPECT_TRUE(help.browser()->extraSelections().isEmpty()) << "the word before is no longer marked";

    search(help, QStringLiteral("頻度"));
    EXPECT_TRUE(help.statusBar()->currentMessage().startsWith(QStringLiteral("「頻度」 1 / ")))
        << help.statusBar()->currentMessage().toStdString();
    search(help, QStringLiteral("ぬぬぬ存在しない言葉"));
    search(help, QString());
    EXPECT_TRUE(help.statusBar()->currentMessage().isEmpty()) << "a cleared search says nothing";
}

// Esc and Ctrl+W close the help window, from the page and from the search field alike; it opens
// again where it was.
TEST(HelpWindowKeys, EscapeAndCtrlWCloseTheWindow)
{
    QWidget owner;
    HelpWindow* help = HelpWindow::instanceFor(&owner);
    auto* field = help->findChild<QLineEdit*>(QStringLiteral("helpSearch"));
    ASSERT_TRUE(field);
    const std::pair<QWidget*, QKeyCombination> cases[] = {
        {help->browser(), QKeyCombination(Qt::Key_Escape)},
        {help->browser(), QKeyCombination(Qt::ControlModifier, Qt::Key_W)},
        {field, QKeyCombination(Qt::Key_Escape)},
        {field, QKeyCombination(Qt::ControlModifier, Qt::Key_W)},
    };
    for (const auto& [target, key] : cases) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString() + " in " + target->objectName().toStdString());
        ASSERT_TRUE(help->showPage(HelpWindow::pageUrl(QStringLiteral("entry.html"))));
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        target->setFocus();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        EXPECT_FALSE(help->isVisible());
    }
    ASSERT_TRUE(HtmlHelp::HtmlHelpA(&owner, HtmlHelp::kManualFile, HtmlHelp::HH_DISPLAY_INDEX, QString()));
    EXPECT_EQ(HelpWindow::instanceFor(&owner), help);
    EXPECT_TRUE(help->isVisible());
}
