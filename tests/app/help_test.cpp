// The manual built into the program: its links hold together, the index reaches every page, and
// every keyword of the help calls opens a page that is there.

#include "catalogue/window_catalogue.h"
#include "app/help_window.h"
#include "app/html_help.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
