#include "data/draw_range.h"

#include "data/history.h"

#include <QStringList>

namespace {

bool isDrawNo(int n)
{
    return n >= 1 && n <= RangeChoice::kMaxDrawNo;
}

} // namespace

DrawRange RangeChoice::resolve(const History& history) const
{
    switch (kind) {
    case Kind::All:
        return {1, kMaxDrawNo};
    case Kind::Between:
        return {from, to};
    case Kind::Last:
        break;
    }
    const QVector<DrawRecord>& draws = history.draws();
    int seen = 0;
    for (qsizetype i = draws.size() - 1; i >= 0; --i) {
        if (draws.at(i).complete && ++seen == last)
            return {history.realDrawNo(draws.at(i).drawNo), kMaxDrawNo};
    }
    return {1, kMaxDrawNo};
}

History RangeChoice::drawsOf(const History& history) const
{
    return history.overRange(resolve(history));
}

QString RangeChoice::name() const
{
    switch (kind) {
    case Kind::All:
        break;
    case Kind::Last:
        return QStringLiteral("直近%1回").arg(last);
    case Kind::Between:
        return QStringLiteral("第%1回〜第%2回").arg(from).arg(to);
    }
    return QStringLiteral("全期間");
}

QString RangeChoice::coverText(const History& history) const
{
    const std::optional<DrawRange> covered = history.completeDrawsIn(resolve(history));
    if (!covered)
        return name() + QStringLiteral("（当選番号なし）");
    // A range typed that the draws fill says it all by itself.
    if (kind == Kind::Between && *covered == DrawRange{from, to})
        return name();
    if (covered->from == covered->to)
        return name() + QStringLiteral("（第%1回）").arg(covered->from);
    return name() + QStringLiteral("（第%1回〜第%2回）").arg(covered->from).arg(covered->to);
}

QString RangeChoice::toText() const
{
    switch (kind) {
    case Kind::All:
        break;
    case Kind::Last:
        return QStringLiteral("last %1").arg(last);
    case Kind::Between:
        return QStringLiteral("between %1 %2").arg(from).arg(to);
    }
    return QStringLiteral("all");
}

std::optional<RangeChoice> RangeChoice::fromText(const QString& text)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
        return std::nullopt;
    QList<int> numbers;
    for (qsizetype i = 1; i < words.size(); ++i) {
        bool ok = false;
        const int n = words.at(i).toInt(&ok);
        if (!ok || !isDrawNo(n))
            return std::nullopt;
        numbers << n;
    }
    const QString& kind = words.first();
    if (kind == QLatin1String("all") && numbers.isEmpty())
        return all();
    if (kind == QLatin1String("last") && numbers.size() == 1)
        return lastDraws(numbers.at(0));
    if (kind == QLatin1String("between") && numbers.size() == 2)
        return between(numbers.at(0), numbers.at(1));
    return std::nullopt;
}
