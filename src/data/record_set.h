#pragma once
// A client-side static snapshot of the draw query: read once, then walked as often as needed.
// Rows written to the database later (through another connection) do not appear in it.

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>
#include <cstdint>
#include <memory>

class QSqlDatabase;

class RecordSet {
public:
    // One draw as the snapshot keeps it. A digit is 0–9, or one of the markers below.
    struct Row {
        static constexpr std::int8_t kNull = -1;   // the field was Null
        static constexpr std::int8_t kEmpty = -2;  // the field was the empty string
        static constexpr std::int8_t kOther = -3;  // anything else; the raw value is kept aside
        std::int32_t drawNo = 0;                   // 0 when the stored value is not a valid 回数
        std::int8_t digits[3] = {kNull, kNull, kNull};
        bool complete = false;
    };

    // Runs the source text (a select) on the connection and keeps every row it returns.
    // Returns null and says why when the query fails or lacks a field the program reads.
    static std::unique_ptr<RecordSet> open(QSqlDatabase& connection, const QString& source,
                                           QString* reason);
    // A snapshot made directly from rows, for code that builds a history in memory.
    static std::unique_ptr<RecordSet> fromRows(QVector<Row> rows);

    int recordCount() const { return static_cast<int>(m_rows.size()); }
    void moveFirst() { m_pos = 0; }
    void moveNext()
    {
        if (m_pos < m_rows.size())
            ++m_pos;
    }
    bool eof() const { return m_pos >= m_rows.size(); }

    // The value of 回数, 第1数字, 第2数字 or 第3数字 in the current row: a number, the empty
    // string or Null. An unknown name, or no current row, gives an invalid QVariant.
    QVariant field(const QString& name) const;

    // Fast access to the current row for the windows that walk the whole history.
    const Row& row() const { return m_rows.at(m_pos); }
    bool isComplete() const { return row().complete; }
    int drawNo() const { return row().drawNo; }
    int digit(int position) const { return row().digits[position - 1]; }  // position 1–3

    const QVector<Row>& rows() const { return m_rows; }

private:
    QVector<Row> m_rows;
    qsizetype m_pos = 0;
    QHash<qint64, QVariant> m_otherValues;  // (row * 4 + field) → a value that is not a digit
};
