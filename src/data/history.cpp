#include "data/history.h"

#include "data/draw.h"
#include "data/message_text.h"
#include "data/sqlite_handle.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

struct History::Data {
    QVector<DrawRecord> draws;
    QHash<qint64, QVariant> otherValues; // (index * 4 + field) → a stored value that is not a digit
    QStringList dates; // 抽せん日 by index; empty when the source has none
    QVector<std::optional<prize::DrawPrizes>> prizes; // by index; empty when no draw has any
    QVector<ticket::Line> tickets; // the ledger, in the order recorded
    StartupFigures figures;
    int recordsThroughLastComplete = 0; // the index of the last complete draw, plus one
    int drawNoOffset = 0; // taken off every 回数 (a history over a range)
};

namespace {

int fieldIndexOf(const QString& name)
{
    if (name == draw::kDrawNoField)
        return 0;
    for (int p = 0; p < 3; ++p) {
        if (name == draw::kDigitFields[p])
            return p + 1;
    }
    return -1;
}

void markComplete(DrawRecord& row)
{
    row.complete = draw::isComplete(row.drawNo, row.digits[0], row.digits[1], row.digits[2]);
}

// Stops SQLite's work on the connection once its virtual machine has taken a budget of steps,
// so that a query that never ends (a view over an endless recursion) cannot hang its reader.
// Where the connection is no SQLite one, nothing is watched.
class StepBudget {
public:
    StepBudget(const QSqlDatabase& connection, qint64 steps) : m_left(steps)
    {
        m_handle = sqliteHandle(connection);
        if (m_handle)
            sqlite3_progress_handler(m_handle, kStepsPerCall, &StepBudget::onProgress, this);
    }
    ~StepBudget()
    {
        if (m_handle)
            sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
    }
    StepBudget(const StepBudget&) = delete;
    StepBudget& operator=(const StepBudget&) = delete;

    bool spent() const { return m_spent; }

private:
    static constexpr int kStepsPerCall = 10000;

    static int onProgress(void* context)
    {
        auto* self = static_cast<StepBudget*>(context);
        self->m_left -= kStepsPerCall;
        self->m_spent = self->m_left < 0;
        return self->m_spent ? 1 : 0;
    }

    sqlite3* m_handle = nullptr;
    qint64 m_left;
    bool m_spent = false;
};

} // namespace

// Completes a history's data once its draws are in: the figures and the row count.
std::shared_ptr<const History::Data> History::finish(std::shared_ptr<Data> data)
{
    // A source without any date is one without dates.
    if (std::all_of(data->dates.cbegin(), data->dates.cend(), [](const QString& date) { return date.isEmpty(); }))
        data->dates.clear();
    data->figures = StartupFigures::of(data->draws);
    for (qsizetype i = data->draws.size() - 1; i >= 0; --i) {
        if (data->draws.at(i).complete) {
            data->recordsThroughLastComplete = int(i + 1);
            break;
        }
    }
    return data;
}

bool DrawRecord::operator==(const DrawRecord& other) const
{
    return drawNo == other.drawNo && std::equal(digits, digits + 3, other.digits) && complete == other.complete;
}

StartupFigures StartupFigures::of(const QVector<DrawRecord>& draws)
{
    StartupFigures figures;
    if (draws.isEmpty())
        return figures;

    for (const DrawRecord& draw : draws) {
        if (!draw.complete)
            continue;
        for (int p = 1; p <= 3; ++p)
            ++figures.digitCount[draw.digit(p)];
        figures.lastDrawNo = draw.drawNo;
        ++figures.completeDraws;
    }

    figures.countMax = 0;
    figures.countMin = 0;
    figures.classCount = 1;
    for (int d = 0; d <= 9; ++d) {
        const int c = figures.digitCount[d];
        if (c > figures.countMax)
            figures.countMax = c;
        if (figures.digitsByCount.size() <= c)
            figures.digitsByCount.resize(c + 1);
        QString& entry = figures.digitsByCount[c];
        if (entry.isEmpty()) {
            entry = QString::number(d);
            ++figures.classCount;
        } else {
            entry += u',' + QString::number(d);
        }
    }
    return figures;
}

History::History()
{
    static const std::shared_ptr<const Data> empty = std::make_shared<const Data>();
    d = empty;
}

History::History(std::shared_ptr<const Data> data) : d(std::move(data))
{
}

History History::fromRows(QVector<DrawRecord> rows, QStringList dates)
{
    auto data = std::make_shared<Data>();
    for (DrawRecord& row : rows)
        markComplete(row);
    data->draws = std::move(rows);
    if (!dates.isEmpty()) {
        dates.resize(data->draws.size());
        data->dates = std::move(dates);
    }
    return History(finish(std::move(data)));
}

std::optional<History> History::read(QSqlDatabase& connection, const QString& source, QString* reason)
{
    const StepBudget budget(connection, kMaxQuerySteps);
    const auto failed = [&](const QSqlError& error) {
        *reason = budget.spent() ? QStringLiteral(
                      "問い合わせがいつまでも終わらないため、読むのをやめました（ビューが終わりのない行を返します）")
                                 : message::databaseReason(error);
        return std::nullopt;
    };
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.exec(source))
        return failed(query.lastError());
    const QSqlRecord record = query.record();
    int columns[4];
    for (int f = 0; f < 4; ++f) {
        const QString& name = f == 0 ? draw::kDrawNoField : draw::kDigitFields[f - 1];
        columns[f] = record.indexOf(name);
        if (columns[f] < 0) {
            *reason = QStringLiteral("項目「%1」がありません").arg(name);
            return std::nullopt;
        }
    }
    const int dateColumn = record.indexOf(draw::kDateField);

    auto data = std::make_shared<Data>();
    while (query.next()) {
        if (data->draws.size() >= kMaxRows) {
            *reason
                = QStringLiteral(
                      "%1 行を超える行が返るため、読むのをやめました（当選データは回数 %2 までの、多くても %1 行です）")
                      .arg(kMaxRows)
                      .arg(draw::kMaxDrawNo);
            return std::nullopt;
        }
        if (dateColumn >= 0) {
            const QVariant date = query.value(dateColumn);
            data->dates << (date.isNull() ? QString() : date.toString());
        }
        DrawRecord row;
        const qint64 index = data->draws.size();
        const QVariant drawNo = query.value(columns[0]);
        if (const auto n = draw::drawNoValue(drawNo))
            row.drawNo = *n;
        else
            data->otherValues.insert(index * 4, drawNo);
        for (int p = 0; p < 3; ++p) {
            const QVariant value = query.value(columns[p + 1]);
            if (const auto digit = draw::digitValue(value)) {
                row.digits[p] = std::int8_t(*digit);
            } else if (value.isNull()) {
                row.digits[p] = DrawRecord::kNull;
            } else if (!draw::isPresent(value)) {
                row.digits[p] = DrawRecord::kEmpty;
            } else {
                row.digits[p] = DrawRecord::kOther;
                data->otherValues.insert(index * 4 + p + 1, value);
            }
        }
        markComplete(row);
        data->draws.push_back(row);
    }
    if (query.lastError().isValid())
        return failed(query.lastError());
    return History(finish(std::move(data)));
}

const QVector<DrawRecord>& History::draws() const
{
    return d->draws;
}

const StartupFigures& History::figures() const
{
    return d->figures;
}

int History::drawRowCount() const
{
    return std::max(d->figures.lastDrawNo, d->recordsThroughLastComplete);
}

QVariant History::field(qsizetype index, const QString& name) const
{
    const int f = fieldIndexOf(name);
    if (f < 0 || index < 0 || index >= d->draws.size())
        return {};
    const DrawRecord& row = d->draws.at(index);
    const qint64 key = index * 4 + f;
    if (f == 0)
        return row.drawNo != 0 ? QVariant(row.drawNo) : d->otherValues.value(key);
    switch (const std::int8_t digit = row.digits[f - 1]) {
    case DrawRecord::kNull:
        return QVariant(QMetaType(QMetaType::Int));
    case DrawRecord::kEmpty:
        return QVariant(QString());
    case DrawRecord::kOther:
        return d->otherValues.value(key);
    default:
        return QVariant(int(digit));
    }
}

const prize::DrawPrizes* History::prizes(qsizetype index) const
{
    if (index < 0 || index >= d->prizes.size() || !d->prizes.at(index))
        return nullptr;
    return &*d->prizes.at(index);
}

bool History::hasPrizes() const
{
    return !d->prizes.isEmpty();
}

History History::withPrizes(const QHash<int, prize::DrawPrizes>& byDrawNo) const
{
    auto data = std::make_shared<Data>(*d);
    data->prizes.clear();
    if (!byDrawNo.isEmpty()) {
        data->prizes.resize(data->draws.size());
        bool any = false;
        for (qsizetype i = 0; i < data->draws.size(); ++i) {
            const int drawNo = data->draws.at(i).drawNo;
            const auto found = drawNo == 0 ? byDrawNo.cend() : byDrawNo.constFind(realDrawNo(drawNo));
            if (found != byDrawNo.cend()) {
                data->prizes[i] = *found;
                any = true;
            }
        }
        if (!any)
            data->prizes.clear();
    }
    return History(std::move(data));
}

const QVector<ticket::Line>& History::tickets() const
{
    return d->tickets;
}

History History::withTickets(QVector<ticket::Line> lines) const
{
    auto data = std::make_shared<Data>(*d);
    data->tickets = std::move(lines);
    return History(std::move(data));
}

QString History::date(qsizetype index) const
{
    return index >= 0 && index < d->dates.size() ? d->dates.at(index) : QString();
}

History History::overRange(const DrawRange& range) const
{
    if (range.from <= draw::kMinDrawNo && range.to >= draw::kMaxDrawNo)
        return *this;
    const int offset = std::max(range.from, draw::kMinDrawNo) - 1;
    auto data = std::make_shared<Data>();
    data->drawNoOffset = offset;
    data->tickets = d->tickets;
    for (qsizetype i = 0; i < d->draws.size(); ++i) {
        DrawRecord row = d->draws.at(i);
        if (row.drawNo == 0 || !range.contains(realDrawNo(row.drawNo)))
            continue;
        row.drawNo = realDrawNo(row.drawNo);
        const qsizetype index = data->draws.size();
        for (int p = 0; p < 3; ++p) {
            if (row.digits[p] == DrawRecord::kOther)
                data->otherValues.insert(index * 4 + p + 1, d->otherValues.value(i * 4 + p + 1));
        }
        row.drawNo -= offset;
        markComplete(row);
        data->draws << row;
        if (!d->dates.isEmpty())
            data->dates << d->dates.at(i);
        if (!d->prizes.isEmpty())
            data->prizes << d->prizes.at(i);
    }
    if (std::none_of(data->prizes.cbegin(), data->prizes.cend(), [](const auto& p) { return p.has_value(); }))
        data->prizes.clear();
    return History(finish(std::move(data)));
}

int History::drawNoOffset() const
{
    return d->drawNoOffset;
}

bool History::operator==(const History& other) const
{
    return d == other.d || (sameDrawsAs(other) && d->tickets == other.d->tickets);
}

bool History::sameDrawsAs(const History& other) const
{
    return d == other.d
        || (d->draws == other.d->draws && d->otherValues == other.d->otherValues && d->dates == other.d->dates
            && d->prizes == other.d->prizes && d->drawNoOffset == other.d->drawNoOffset);
}

std::optional<DrawRange> History::completeDrawsIn(const DrawRange& range) const
{
    std::optional<DrawRange> found;
    for (const DrawRecord& draw : d->draws) {
        const int drawNo = realDrawNo(draw.drawNo);
        if (!draw.complete || !range.contains(drawNo))
            continue;
        if (!found)
            found = DrawRange{drawNo, drawNo};
        found->from = std::min(found->from, drawNo);
        found->to = std::max(found->to, drawNo);
    }
    return found;
}
