#include "analysis/item_statistics.h"

#include <algorithm>
#include <cstdio>

namespace item_stats {

namespace {

const QString kNone = QStringLiteral("–");

QString printed(const char* format, qint64 num, qint64 den)
{
    // Both are far below 2^53, so the quotient of their doubles is the double nearest the exact
    // fraction, which printf then rounds as it always does.
    char text[64];
    std::snprintf(text, sizeof text, format, double(num) / double(den));
    return QString::fromLatin1(text);
}

// The 休止指数 at which a cell stands out, and stands out more.
constexpr int kLongAway = 2;
constexpr int kVeryLongAway = 3;
constexpr GridColor kLongAwayBack = rgb(255, 230, 170);
constexpr GridColor kVeryLongAwayBack = rgb(255, 170, 120);

} // namespace

void Comings::add(int place, int drawNo)
{
    if (m_count == 0)
        m_first = place;
    else
        m_maxInterval = std::max(m_maxInterval, place - m_last);
    m_last = place;
    m_lastDrawNo = drawNo;
    ++m_count;
}

QString oneDecimal(qint64 num, qint64 den)
{
    return printed("%.1f", num, den);
}

QString twoDecimals(qint64 num, qint64 den)
{
    return printed("%.2f", num, den);
}

QString percentText(qint64 num, qint64 den)
{
    if (den == 0)
        return kNone;
    return oneDecimal(num * 100, den) + u'%';
}

QString rateText(int count, int draws)
{
    return percentText(count, draws);
}

QString expectedText(int draws, Chance chance)
{
    return oneDecimal(qint64(draws) * chance.num, chance.den);
}

QString chanceText(Chance chance)
{
    return oneDecimal(qint64(chance.num) * 100, chance.den) + u'%';
}

int rest(const Comings& comings, int draws)
{
    return comings.count() == 0 ? draws : draws - comings.lastPlace();
}

QString restIndexText(int rest, Chance chance)
{
    return twoDecimals(qint64(rest) * chance.num, chance.den);
}

QStringList figures(const Comings& comings, int draws, Chance chance, const History& history)
{
    const int k = comings.count();
    const int away = rest(comings, draws);
    return {QString::number(k),
            rateText(k, draws),
            expectedText(draws, chance),
            k == 0 ? kNone : history.drawNoText(comings.lastDrawNo()),
            QString::number(away),
            k < 2 ? kNone : oneDecimal(comings.lastPlace() - comings.firstPlace(), k - 1),
            k < 2 ? kNone : QString::number(comings.maxInterval()),
            restIndexText(away, chance)};
}

const QStringList& figureHeadings()
{
    static const QStringList headings{QStringLiteral("出現回数"), QStringLiteral("出現率"),  QStringLiteral("期待値"),
                                      QStringLiteral("最終出現"), QStringLiteral("休止"),    QStringLiteral("平均間隔"),
                                      QStringLiteral("最大間隔"), QStringLiteral("休止指数")};
    return headings;
}

void markRestIndex(Grid& grid, int col, int row, int rest, Chance chance)
{
    const qint64 index = qint64(rest) * chance.num; // 休止指数 × den
    if (index >= qint64(kVeryLongAway) * chance.den)
        grid.setBackColor(col, row, kVeryLongAwayBack);
    else if (index >= qint64(kLongAway) * chance.den)
        grid.setBackColor(col, row, kLongAwayBack);
}

} // namespace item_stats
