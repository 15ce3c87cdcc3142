#include "data/record_set.h"

#include "data/draw.h"
#include "data/message_text.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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

} // namespace

std::unique_ptr<RecordSet> RecordSet::open(QSqlDatabase& connection, const QString& source,
                                           QString* reason)
{
    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.exec(source)) {
        *reason = message::databaseReason(query.lastError());
        return nullptr;
    }
    const QSqlRecord record = query.record();
    int columns[4];
    for (int f = 0; f < 4; ++f) {
        const QString& name = f == 0 ? draw::kDrawNoField : draw::kDigitFields[f - 1];
        columns[f] = record.indexOf(name);
        if (columns[f] < 0) {
            *reason = QStringLiteral("項目「%1」がありません").arg(name);
            return nullptr;
        }
    }

    auto set = std::make_unique<RecordSet>();
    while (query.next()) {
        Row row;
        const qint64 index = set->m_rows.size();
        const QVariant drawNo = query.value(columns[0]);
        if (const auto n = draw::drawNoValue(drawNo))
            row.drawNo = *n;
        else
            set->m_otherValues.insert(index * 4, drawNo);
        bool complete = row.drawNo != 0;
        for (int p = 0; p < 3; ++p) {
            const QVariant value = query.value(columns[p + 1]);
            if (const auto d = draw::digitValue(value)) {
                row.digits[p] = static_cast<std::int8_t>(*d);
                continue;
            }
            complete = false;
            if (value.isNull()) {
                row.digits[p] = Row::kNull;
            } else if (!draw::isPresent(value)) {
                row.digits[p] = Row::kEmpty;
            } else {
                row.digits[p] = Row::kOther;
                set->m_otherValues.insert(index * 4 + p + 1, value);
            }
        }
        row.complete = complete;
        set->m_rows.push_back(row);
    }
    if (query.lastError().isValid()) {
        *reason = message::databaseReason(query.lastError());
        return nullptr;
    }
    set->m_pos = set->m_rows.size();
    return set;
}

std::unique_ptr<RecordSet> RecordSet::fromRows(QVector<Row> rows)
{
    auto set = std::make_unique<RecordSet>();
    for (Row& row : rows) {
        bool complete = row.drawNo >= draw::kMinDrawNo && row.drawNo <= draw::kMaxDrawNo;
        for (std::int8_t d : row.digits)
            complete = complete && d >= 0 && d <= 9;
        row.complete = complete;
    }
    set->m_rows = std::move(rows);
    set->m_pos = set->m_rows.size();
    return set;
}

QVariant RecordSet::field(const QString& name) const
{
    const int f = fieldIndexOf(name);
    if (f < 0 || eof())
        return {};
    const Row& r = row();
    const qint64 key = static_cast<qint64>(m_pos) * 4 + f;
    if (f == 0)
        return r.drawNo != 0 ? QVariant(r.drawNo) : m_otherValues.value(key);
    switch (const std::int8_t d = r.digits[f - 1]) {
    case Row::kNull:
        return QVariant(QMetaType(QMetaType::Int));
    case Row::kEmpty:
        return QVariant(QString());
    case Row::kOther:
        return m_otherValues.value(key);
    default:
        return QVariant(int(d));
    }
}
