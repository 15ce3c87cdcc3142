#include "analysis/ticket_results.h"

#include "data/draw.h"

#include <algorithm>
#include <array>
#include <limits>

namespace ticket_results {

namespace {

// The line's number as digits, when it has the form its type is bought in.
struct Pick {
    std::array<int, 3> digits{};
    int length = 0; // 0 when the number is not the type's form
};

Pick pickOf(const ticket::Line& line)
{
    Pick pick;
    const int length = line.type == ticket::Type::Mini ? 2 : 3;
    if (line.number.size() != length)
        return pick;
    for (int i = 0; i < length; ++i) {
        const char16_t c = line.number.at(i).unicode();
        if (c < u'0' || c > u'9')
            return pick;
        pick.digits[i] = c - u'0';
    }
    pick.length = length;
    return pick;
}

bool isTriple(int a, int b, int c)
{
    return a == b && b == c;
}

std::array<int, 3> sorted(std::array<int, 3> digits)
{
    std::sort(digits.begin(), digits.end());
    return digits;
}

Outcome outcomeOf(const Pick& pick, ticket::Type type, const std::array<int, 3>& drawn)
{
    if (pick.length == 0)
        return Outcome::Lost;
    const auto& p = pick.digits;
    switch (type) {
    case ticket::Type::Straight:
        return p == drawn ? Outcome::Straight : Outcome::Lost;
    case ticket::Type::Box:
        if (isTriple(drawn[0], drawn[1], drawn[2]) || isTriple(p[0], p[1], p[2]))
            return Outcome::Lost;
        return sorted(p) == sorted(drawn) ? Outcome::Box : Outcome::Lost;
    case ticket::Type::Set:
        if (isTriple(p[0], p[1], p[2]))
            return Outcome::Lost;
        if (p == drawn)
            return Outcome::SetStraight;
        return sorted(p) == sorted(drawn) ? Outcome::SetBox : Outcome::Lost;
    case ticket::Type::Mini:
        return p[0] == drawn[1] && p[1] == drawn[2] ? Outcome::Mini : Outcome::Lost;
    }
    return Outcome::Lost;
}

prize::Kind kindOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Box:
        return prize::Box;
    case Outcome::SetStraight:
        return prize::SetStraight;
    case Outcome::SetBox:
        return prize::SetBox;
    case Outcome::Mini:
        return prize::Mini;
    default:
        return prize::Straight;
    }
}

// The nominal prize of a 口 of the win on a drawn number of that shape (never a triple for the
// box and set kinds).
int nominalPrize(prize::Kind kind, prize::Shape shape)
{
    const bool single = shape == prize::Shape::Single;
    switch (kind) {
    case prize::Straight:
        return prize::kNominalStraight;
    case prize::Box:
        return single ? prize::kNominalBoxSingle : prize::kNominalBoxDouble;
    case prize::SetStraight:
        return single ? prize::kNominalSetStraightSingle : prize::kNominalSetStraightDouble;
    case prize::SetBox:
        return single ? prize::kNominalSetBoxSingle : prize::kNominalSetBoxDouble;
    case prize::Mini:
        return prize::kNominalMini;
    }
    return 0;
}

DrawResult evaluate(const ticket::Line& line, const Pick& pick, int drawNo, const History& history,
                    const DrawIndex& index)
{
    DrawResult result;
    result.drawNo = drawNo;
    const qsizetype at = index.indexOf(drawNo);
    if (at < 0 || at >= history.recordCount())
        return result;
    const DrawRecord& record = history.draws().at(at);
    // An index made over another history finds no draw here rather than a wrong one.
    if (!record.complete || history.realDrawNo(record.drawNo) != drawNo)
        return result;
    const std::array<int, 3> drawn{record.digit(1), record.digit(2), record.digit(3)};
    result.outcome = outcomeOf(pick, line.type, drawn);
    if (!isWin(result.outcome))
        return result;
    const prize::Kind kind = kindOf(result.outcome);
    qint64 perUnit = 0;
    if (const prize::DrawPrizes* prizes = history.prizes(at)) {
        perUnit = prizes->amounts[kind];
    } else {
        perUnit = nominalPrize(kind, prize::shapeOf(drawn[0], drawn[1], drawn[2]));
        result.nominal = true;
    }
    result.paid = perUnit * std::max(line.units, 0);
    return result;
}

} // namespace

QString outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Undrawn:
        return QStringLiteral("未抽せん");
    case Outcome::Lost:
        return QStringLiteral("はずれ");
    default:
        return prize::kKindNames[kindOf(outcome)];
    }
}

bool isWin(Outcome outcome)
{
    return outcome != Outcome::Undrawn && outcome != Outcome::Lost;
}

QString DrawResult::paidText() const
{
    if (outcome == Outcome::Undrawn)
        return {};
    QString text = prize::yenText(paid);
    if (nominal && isWin(outcome))
        text += QStringLiteral("（理論値）");
    return text;
}

DrawIndex::DrawIndex(const History& history) : m_index(draw::kMaxDrawNo + 1, -1)
{
    const QVector<DrawRecord>& draws = history.draws();
    for (int i = 0; i < draws.size(); ++i) {
        const DrawRecord& record = draws.at(i);
        if (record.drawNo < draw::kMinDrawNo)
            continue; // no valid 回数
        const int stored = history.realDrawNo(record.drawNo);
        if (stored < draw::kMinDrawNo || stored > draw::kMaxDrawNo)
            continue;
        int& slot = m_index[stored];
        if (slot < 0 || (record.complete && !draws.at(slot).complete))
            slot = i;
    }
}

qsizetype DrawIndex::indexOf(int storedDrawNo) const
{
    if (storedDrawNo < 0 || storedDrawNo >= int(m_index.size()))
        return -1;
    return m_index[storedDrawNo];
}

int coveredDraws(const ticket::Line& line)
{
    return std::clamp(line.draws, 0, ticket::kMaxDraws);
}

DrawResult resultOn(const ticket::Line& line, int drawNo, const History& history, const DrawIndex& index)
{
    return evaluate(line, pickOf(line), drawNo, history, index);
}

QVector<DrawResult> resultsOf(const ticket::Line& line, const History& history, const DrawIndex& index)
{
    const Pick pick = pickOf(line);
    const int count = coveredDraws(line);
    QVector<DrawResult> results;
    results.reserve(count);
    for (int i = 0; i < count; ++i) {
        // Past the largest int there is no draw to be had: the rest stay undrawn.
        const qint64 drawNo = qint64(line.firstDraw) + i;
        if (drawNo > std::numeric_limits<int>::max())
            break;
        results << evaluate(line, pick, int(drawNo), history, index);
    }
    return results;
}

QString summary(const ticket::Line& line, const QVector<DrawResult>& results)
{
    struct Won {
        int count = 0;
        qint64 total = 0;
        bool nominal = false;
    };
    std::array<Won, prize::kKinds> won{};
    int drawn = 0;
    bool anyWin = false;
    for (const DrawResult& r : results) {
        if (r.outcome == Outcome::Undrawn)
            continue;
        ++drawn;
        if (!isWin(r.outcome))
            continue;
        anyWin = true;
        Won& w = won[kindOf(r.outcome)];
        ++w.count;
        w.total += r.paid;
        w.nominal = w.nominal || r.nominal;
    }
    QStringList parts{QStringLiteral("%1回中%2回抽せん済み").arg(coveredDraws(line)).arg(drawn)};
    if (anyWin) {
        for (int k = 0; k < prize::kKinds; ++k) {
            const Won& w = won[k];
            if (w.count == 0)
                continue;
            QString part
                = QStringLiteral("%1 %2回 %3").arg(prize::kKindNames[k]).arg(w.count).arg(prize::yenText(w.total));
            if (w.nominal)
                part += QStringLiteral("（理論値）");
            parts << part;
        }
    } else if (drawn > 0) {
        parts << QStringLiteral("はずれ");
    }
    return parts.join(u'・');
}

QStringList newDrawReports(const History& before, const History& after)
{
    const QVector<ticket::Line>& lines = after.tickets();
    if (lines.isEmpty())
        return {};
    const DrawIndex was(before);
    const DrawIndex now(after);
    // The draws a refresh completed, each once, in draw order.
    std::vector<int> brought;
    for (int drawNo = draw::kMinDrawNo; drawNo <= draw::kMaxDrawNo; ++drawNo) {
        const qsizetype i = now.indexOf(drawNo);
        if (i < 0 || !after.draws().at(i).complete)
            continue;
        const qsizetype j = was.indexOf(drawNo);
        if (j < 0 || !before.draws().at(j).complete)
            brought.push_back(drawNo);
    }
    QStringList reports;
    for (const int drawNo : brought) {
        qint64 units = 0;
        std::array<qint64, prize::kKinds> paid{};
        std::array<bool, prize::kKinds> won{}, nominal{};
        for (const ticket::Line& line : lines) {
            if (!line.covers(drawNo) || drawNo - line.firstDraw >= coveredDraws(line))
                continue;
            units += line.units;
            const DrawResult result = resultOn(line, drawNo, after, now);
            if (!isWin(result.outcome))
                continue;
            const int k = kindOf(result.outcome);
            won[k] = true;
            paid[k] += result.paid;
            nominal[k] = nominal[k] || result.nominal;
        }
        if (units == 0)
            continue;
        QStringList wins;
        for (int k = 0; k < prize::kKinds; ++k) {
            if (won[k])
                wins << QStringLiteral("%1当せん %2%3")
                            .arg(prize::kKindNames[k], prize::yenText(paid[k]),
                                 nominal[k] ? QStringLiteral("（理論値）") : QString());
        }
        reports << QStringLiteral("第%1回: %2口 — %3")
                       .arg(drawNo)
                       .arg(units)
                       .arg(wins.isEmpty() ? QStringLiteral("はずれ") : wins.join(u'、'));
    }
    return reports;
}

} // namespace ticket_results
