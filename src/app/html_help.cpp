#include "app/html_help.h"

#include "app/help_window.h"
#include "catalogue/window_catalogue.h"

#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <optional>

namespace HtmlHelp {

namespace {

// The page a call for the manual opens by default: the index, or the topic after "::".
// Nothing when the file is not the manual.
std::optional<QUrl> manualPage(const QString& file)
{
    QString name = file;
    QString topic;
    if (const qsizetype separator = file.indexOf(QStringLiteral("::")); separator >= 0) {
        name = file.left(separator);
        topic = file.mid(separator + 2);
        while (topic.startsWith(u'/'))
            topic.remove(0, 1);
    }
    // The name may come with a folder, in either kind of separator.
    name = name.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    if (name.compare(kManualFile, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return topic.isEmpty() ? HelpWindow::indexUrl() : HelpWindow::pageUrl(topic);
}

// The manual's own keywords: the program, the main window, the menus and the topics.
const QList<Keyword>& topics();

// A menu caption's accelerator, "(&D)" at its end or a lone "&", is no part of the name.
QString withoutAccelerator(QString name)
{
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$"));
    name.remove(accelerator);
    name.remove(u'&');
    return name;
}

} // namespace

const QList<Keyword>& keywords()
{
    static const QList<Keyword> table = [] {
        QList<Keyword> all = topics();
        // A window is known by its form name, its caption, the text of its menu entry and the
        // keywords of its record.
        for (const catalogue::WindowRecord& record : catalogue::windows()) {
            QStringList names{record.form, record.caption, withoutAccelerator(record.menu.text)};
            names << record.helpKeywords;
            for (const QString& name : names) {
                if (!name.isEmpty()
                    && std::none_of(all.cbegin(), all.cend(), [&name](const Keyword& k) { return k.keyword == name; }))
                    all << Keyword{name, record.helpPage};
            }
        }
        return all;
    }();
    return table;
}

QString pageOfKeyword(const QString& keyword)
{
    const QString name = withoutAccelerator(keyword.trimmed());
    for (const Keyword& entry : keywords()) {
        if (entry.keyword == name)
            return entry.page;
    }
    return {};
}

namespace {

const QList<Keyword>& topics()
{
    static const QList<Keyword> table = {
        // The program's own keyword for the page about it.
        {QStringLiteral("ミニロトズバリンについて"), QStringLiteral("index.html")},
        {QStringLiteral("ナンバーズ3ズバリン"), QStringLiteral("index.html")},
        {QStringLiteral("目次"), QStringLiteral("index.html")},
        {QStringLiteral("はじめに"), kGettingStartedPage},

        // The main window (each other window's keywords are in its catalogue record).
        {QStringLiteral("MainFrm"), QStringLiteral("main-window.html")},
        {QStringLiteral("ナンバーズ3ズバリン デスクトップ版"), QStringLiteral("main-window.html")},

        // The menus that group the analyses, and the topics.
        {QStringLiteral("データ分析"), QStringLiteral("analysis.html")},
        {QStringLiteral("頻度分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("間隔分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("組合せパターン分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("分割データ分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("期間"), QStringLiteral("analysis.html#period")},
        {QStringLiteral("直近N回"), QStringLiteral("analysis.html#period")},
        {QStringLiteral("データ管理"), QStringLiteral("entering.html")},
        {QStringLiteral("当選データの入力"), QStringLiteral("entering.html")},
        {QStringLiteral("当選データ保守"), QStringLiteral("main-window.html#menu")},
        {QStringLiteral("ウィンドウ"), QStringLiteral("main-window.html#arrange")},
        {QStringLiteral("ヘルプ"), QStringLiteral("main-window.html#help")},
        {QStringLiteral("ナンバーズ3ズバリン.ini"), QStringLiteral("settings.html")},
        {QStringLiteral("設定ファイル"), QStringLiteral("settings.html")},
        {QStringLiteral("numbers3zubarin-tool"), QStringLiteral("tool.html")},
        {QStringLiteral("データの保存場所"), QStringLiteral("data.html")},
        {QStringLiteral("Numbers3Zubarin.db"), QStringLiteral("data.html")},
    };
    return table;
}

} // namespace

bool showHelpPage(QWidget* owner, const QString& page)
{
    // The help window shows pages of the manual only: another site or folder is no page of it.
    return HelpWindow::instanceFor(owner)->showPage(HelpWindow::pageUrl(page));
}

bool HtmlHelpA(QWidget* owner, const QString& file, int command, const QString&)
{
    // The index comes up at its top; the keyword given with it picks no page of its own.
    if (command != HH_DISPLAY_INDEX)
        return false;
    const std::optional<QUrl> page = manualPage(file);
    return page && HelpWindow::instanceFor(owner)->showPage(*page);
}

bool HtmlHelpA(QWidget* owner, const QString& file, int command, const HH_AKLINK& link)
{
    if (command != HH_KEYWORD_LOOKUP || link.cbStruct != 32 || link.pszKeywords.trimmed().isEmpty())
        return false;
    if (!manualPage(file))
        return false;
    for (const QString& keyword : link.pszKeywords.split(u';', Qt::SkipEmptyParts)) {
        const QString page = pageOfKeyword(keyword);
        if (!page.isEmpty())
            return HelpWindow::instanceFor(owner)->showPage(HelpWindow::pageUrl(page));
    }
    return link.fIndexOnFail && HelpWindow::instanceFor(owner)->showPage(HelpWindow::indexUrl());
}

} // namespace HtmlHelp
