#include "app/html_help.h"

#include "app/help_window.h"

#include <QRegularExpression>
#include <QUrl>
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

} // namespace

const QList<Keyword>& keywords()
{
    static const QList<Keyword> table = {
        // The program's own keyword for the page about it.
        {QStringLiteral("ミニロトズバリンについて"), QStringLiteral("index.html")},
        {QStringLiteral("ナンバーズ3ズバリン"), QStringLiteral("index.html")},
        {QStringLiteral("目次"), QStringLiteral("index.html")},

        // The windows: form name, caption and menu item where they differ.
        {QStringLiteral("MainFrm"), QStringLiteral("main-window.html")},
        {QStringLiteral("ナンバーズ3ズバリン デスクトップ版"), QStringLiteral("main-window.html")},
        {QStringLiteral("一発ズバリン"), QStringLiteral("prediction.html")},
        {QStringLiteral("一発ズバリン予想"), QStringLiteral("prediction.html")},
        {QStringLiteral("出現頻度分析"), QStringLiteral("frequency.html")},
        {QStringLiteral("回数別出現分析"), QStringLiteral("count-classes.html")},
        {QStringLiteral("回数別頻度分析"), QStringLiteral("count-classes.html")},
        {QStringLiteral("出現間隔分析"), QStringLiteral("interval.html")},
        {QStringLiteral("数字間隔分析"), QStringLiteral("digit-interval.html")},
        {QStringLiteral("出現回数分析"), QStringLiteral("appearance-count.html")},
        {QStringLiteral("バラツキ分析"), QStringLiteral("dispersion.html")},
        {QStringLiteral("引っ張り分析"), QStringLiteral("carry-over.html")},
        {QStringLiteral("連番飛び石分析"), QStringLiteral("neighbours.html")},
        {QStringLiteral("連番・飛び石分析"), QStringLiteral("neighbours.html")},
        {QStringLiteral("数字合計分析"), QStringLiteral("digit-sum.html")},
        {QStringLiteral("低数字高数字の組合せパターン分析"), QStringLiteral("low-high.html")},
        {QStringLiteral("低数字・高数字の組合せパターン分析"), QStringLiteral("low-high.html")},
        {QStringLiteral("偶数奇数の組合せパターン分析"), QStringLiteral("even-odd.html")},
        {QStringLiteral("偶数・奇数の組合せパターン分析"), QStringLiteral("even-odd.html")},
        {QStringLiteral("分割5傾向分析"), QStringLiteral("five-class-trend.html")},
        {QStringLiteral("5分割傾向分析"), QStringLiteral("five-class-trend.html")},
        {QStringLiteral("分割3データ分析"), QStringLiteral("split3.html")},
        {QStringLiteral("3分割データ分析"), QStringLiteral("split3.html")},
        {QStringLiteral("分割5データ分析"), QStringLiteral("split5.html")},
        {QStringLiteral("5分割データ分析"), QStringLiteral("split5.html")},
        {QStringLiteral("分割10データ分析"), QStringLiteral("split10.html")},
        {QStringLiteral("10分割データ分析"), QStringLiteral("split10.html")},
        {QStringLiteral("予想の検証"), QStringLiteral("backtest.html")},
        {QStringLiteral("ランダム性の検定"), QStringLiteral("randomness.html")},
        {QStringLiteral("当選データ入力"), QStringLiteral("entry.html")},
        {QStringLiteral("バージョン情報"), QStringLiteral("version.html")},

        // The menus that group the analyses, and the topics.
        {QStringLiteral("データ分析"), QStringLiteral("analysis.html")},
        {QStringLiteral("頻度分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("間隔分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("組合せパターン分析"), QStringLiteral("analysis.html#menu")},
        {QStringLiteral("分割データ分析"), QStringLiteral("analysis.html#menu")},
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

QString pageOfKeyword(const QString& keyword)
{
    // A menu caption's accelerator, "(&D)" at its end or a lone "&", is no part of the name.
    static const QRegularExpression accelerator(QStringLiteral("\\(&.\\)$"));
    QString name = keyword.trimmed();
    name.remove(accelerator);
    name.remove(u'&');
    for (const Keyword& entry : keywords()) {
        if (entry.keyword == name)
            return entry.page;
    }
    return {};
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
