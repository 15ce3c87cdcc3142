#include "data/history_csv.h"

#include "data/csv_text.h"
#include "data/draw.h"
#include "data/history.h"
#include "data/message_text.h"
#include "data/regular_file.h"

#include <QBuffer>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace {

constexpr qint64 kChunkBytes = 64 * 1024;

// Hands out the lines of a device one at a time, whatever their ends (LF, CR LF or CR),
// holding no more than one chunk and the line being assembled.
class LineReader {
public:
    enum class Result { Line, End, TooLong, TooLarge, ReadError };

    explicit LineReader(QIODevice& device) : m_device(device) { }

    // The next line, without its end; valid until the next call.
    Result next(QByteArrayView* line)
    {
        for (;;) {
            const char* data = m_buffer.constData();
            const qsizetype size = m_buffer.size();
            qsizetype end = m_pos;
            while (end < size && data[end] != '\n' && data[end] != '\r')
                ++end;
            if (end < size) {
                // A CR as the last byte may be the first half of a CR LF still to come.
                if (data[end] == '\r' && end + 1 == size && !m_atEnd) {
                    if (!fill())
                        return m_failure;
                    continue;
                }
                if (end - m_pos > HistoryCsv::kMaxLineBytes)
                    return Result::TooLong;
                *line = QByteArrayView(data + m_pos, end - m_pos);
                m_pos = end + 1;
                if (data[end] == '\r' && m_pos < size && data[m_pos] == '\n')
                    ++m_pos;
                return Result::Line;
            }
            if (size - m_pos > HistoryCsv::kMaxLineBytes)
                return Result::TooLong;
            if (m_atEnd) {
                if (m_pos >= size)
                    return Result::End;
                *line = QByteArrayView(data + m_pos, size - m_pos);
                m_pos = size;
                return Result::Line;
            }
            if (!fill())
                return m_failure;
        }
    }

private:
    bool fill()
    {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
        const qsizetype had = m_buffer.size();
        m_buffer.resize(had + kChunkBytes);
        const qint64 got = m_device.read(m_buffer.data() + had, kChunkBytes);
        if (got < 0) {
            m_buffer.resize(had);
            m_failure = Result::ReadError;
            return false;
        }
        m_buffer.resize(had + got);
        m_total += got;
        if (m_total > HistoryCsv::kMaxFileBytes) {
            m_failure = Result::TooLarge;
            return false;
        }
        // Only files and buffers come here: a read of nothing is the end.
        if (got == 0)
            m_atEnd = true;
        return true;
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    qint64 m_total = 0;
    bool m_atEnd = false;
    Result m_failure = Result::ReadError;
};

// Splits one CSV line; an unquoted field loses the blanks around it.
bool splitCsvLine(const QString& line, QStringList& fields)
{
    QList<bool> quoted;
    if (!csv_text::split(line, fields, &quoted))
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (!quoted.at(i))
            fields[i] = fields.at(i).trimmed();
    }
    return true;
}

bool isBlank(QByteArrayView line)
{
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\v' && c != '\f')
            return false;
    }
    return true;
}

// A draw number: ASCII digits only, the whole field, within 1–32767.
std::optional<int> strictDrawNo(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > draw::kMaxDrawNo)
            return std::nullopt;
    }
    if (value < draw::kMinDrawNo)
        return std::nullopt;
    return value;
}

QString fieldError(const QString& field, const QString& value, const char* what)
{
    return QStringLiteral("「%1」が%2ではありません（%3）")
        .arg(field, QString::fromUtf8(what), value.isEmpty() ? QStringLiteral("空") : message::excerpt(value));
}

// A whole number of ASCII digits, up to max.
std::optional<int> plainNumber(const QString& text, int max)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int value = text.toInt();
    return value <= max ? std::optional<int>(value) : std::nullopt;
}

// The prizes of a line whose prize fields start at `first` (count, amount, kind by kind). Nothing
// when every one is empty; a field that is wrong names itself in `error`.
std::optional<prize::DrawPrizes> prizesOf(const QStringList& fields, qsizetype first, QString* errorField,
                                          QString* error)
{
    bool any = false;
    for (int f = 0; f < 2 * prize::kKinds; ++f)
        any = any || !fields.at(first + f).isEmpty();
    if (!any)
        return std::nullopt;
    prize::DrawPrizes prizes;
    for (int k = 0; k < prize::kKinds; ++k) {
        const QString& count = fields.at(first + 2 * k);
        if (!count.isEmpty()) {
            prizes.counts[k] = plainNumber(count, prize::kMaxCount);
            if (!prizes.counts[k]) {
                *errorField = prize::countField(k);
                *error = fieldError(*errorField, count, "0以上の整数");
                return std::nullopt;
            }
        }
        const QString& amount = fields.at(first + 2 * k + 1);
        const std::optional<int> yen = plainNumber(amount, prize::kMaxAmount);
        if (!yen || !prize::isValidAmount(*yen)) {
            *errorField = prize::amountField(k);
            *error = fieldError(*errorField, amount, "100円単位の金額（0～99999900）");
            return std::nullopt;
        }
        prizes.amounts[k] = *yen;
    }
    return prizes;
}

} // namespace

QString HistoryCsv::extraValue(const HistoryRow& row, const QString& column) const
{
    const qsizetype i = extraColumns.indexOf(column);
    return i < 0 || i >= row.extra.size() ? QString() : row.extra.at(i);
}

QHash<int, prize::DrawPrizes> HistoryCsv::prizesByDrawNo() const
{
    QHash<int, prize::DrawPrizes> prizes;
    for (const HistoryRow& row : rows) {
        if (row.prizes)
            prizes.insert(row.drawNo, *row.prizes);
    }
    return prizes;
}

HistoryCsv HistoryCsv::parse(const QByteArray& utf8, BadLines badLines)
{
    QByteArray bytes = utf8;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, badLines);
}

HistoryCsv HistoryCsv::read(QIODevice& device, BadLines badLines)
{
    HistoryCsv csv;
    auto fail = [&csv](int line, const QString& field, const QString& message) {
        csv.rows.clear();
        csv.rows.squeeze();
        csv.refused.clear();
        csv.extraColumns.clear();
        csv.errorLine = line;
        csv.errorField = field;
        if (line == 0)
            csv.error = message;
        else
            csv.error = field.isEmpty() ? QStringLiteral("%1行目: %2").arg(line).arg(message)
                                        : QStringLiteral("%1行目 %2").arg(line).arg(message);
        return csv;
    };
    RowCollector collector(csv);
    QString line;
    // A bad line: the end of a strict reading, or a line set aside. True when the reading stops.
    auto bad = [&](int lineNo, const QString& field, const QString& message) {
        if (badLines == BadLines::Stop) {
            fail(lineNo, field, message);
            return true;
        }
        collector.refuse(lineNo, line, message);
        return false;
    };

    LineReader reader(device);
    QByteArrayView bytes;
    QStringList header;
    int headerLine = 0;
    qsizetype dateColumn = -1;
    qsizetype prizeColumn = -1; // the first of the ten prize columns
    int firstExtra = 4; // the further columns start after the digits (after 回数 in a prize file)
    QSet<int> seen;
    QStringList fields;
    for (int lineNo = 1;; ++lineNo) {
        switch (reader.next(&bytes)) {
        case LineReader::Result::Line:
            break;
        case LineReader::Result::End:
            if (headerLine == 0)
                return fail(1, QString(), QStringLiteral("見出しの行がありません"));
            collector.finish();
            return csv;
        case LineReader::Result::TooLong:
            return fail(lineNo, QString(), QStringLiteral("行が長すぎます（%1 KB まで）").arg(kMaxLineBytes / 1024));
        case LineReader::Result::TooLarge:
            return fail(0, QString(), QStringLiteral("大きすぎます（%1 MB まで）").arg(kMaxFileBytes / (1024 * 1024)));
        case LineReader::Result::ReadError:
            return fail(0, QString(), QStringLiteral("読み込めません（%1）").arg(device.errorString()));
        }
        if (lineNo == 1 && bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        if (isBlank(bytes))
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        line = decoder.decode(bytes);
        // Bytes that are not UTF-8 (a Shift_JIS file, say) would silently become replacement
        // characters and be stored.
        if (decoder.hasError()) {
            if (headerLine == 0 || bad(lineNo, QString(), QStringLiteral("UTF-8 の文字として読めないバイトがあります")))
                return fail(lineNo, QString(), QStringLiteral("UTF-8 の文字として読めないバイトがあります"));
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (!splitCsvLine(line, fields)) {
            if (headerLine == 0 || bad(lineNo, QString(), QStringLiteral("引用符が閉じていません")))
                return fail(lineNo, QString(), QStringLiteral("引用符が閉じていません"));
            continue;
        }
        if (headerLine == 0) {
            headerLine = lineNo;
            header = fields;
            const QStringList expected
                = {draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2]};
            if (header == prize::fileHeader()) {
                csv.prizesOnly = true;
                firstExtra = 1;
            } else if (header.mid(0, 4) != expected) {
                return fail(lineNo, QString(),
                            QStringLiteral("見出しが「回数,第1数字,第2数字,第3数字」（当せん金のファイルは「%1」）で"
                                           "始まっていません")
                                .arg(prize::fileHeader().join(u',')));
            }
            csv.extraColumns = header.mid(firstExtra);
            prizeColumn = header.indexOf(prize::fields().first(), firstExtra);
            int prizeFields = 0;
            for (const QString& name : prize::fields())
                prizeFields += header.count(name);
            if (prizeFields != 0
                && (prizeColumn < 0 || header.mid(prizeColumn, prize::fields().size()) != prize::fields()
                    || prizeFields != prize::fields().size()))
                return fail(lineNo, QString(),
                            QStringLiteral("当せん金の項目は「%1」の順に、すべてそろえてください")
                                .arg(prize::fields().join(u',')));
            csv.hasPrizes = prizeFields != 0;
            if (badLines == BadLines::Collect)
                dateColumn = header.indexOf(draw::kDateField, 4);
            continue;
        }
        if (fields.size() != header.size()) {
            if (bad(lineNo, QString(),
                    QStringLiteral("項目の数が%1ではなく%2です").arg(header.size()).arg(fields.size())))
                return csv;
            continue;
        }

        HistoryRow row;
        row.line = lineNo;
        const std::optional<int> drawNo = strictDrawNo(fields.at(0));
        if (!drawNo) {
            if (bad(lineNo, draw::kDrawNoField, fieldError(draw::kDrawNoField, fields.at(0), "1～32767の整数")))
                return csv;
            continue;
        }
        if (badLines == BadLines::Stop && seen.contains(*drawNo))
            return fail(lineNo, draw::kDrawNoField, QStringLiteral("「回数」%1が重複しています").arg(*drawNo));
        seen.insert(*drawNo);
        row.drawNo = *drawNo;
        bool good = true;
        for (int p = 0; good && !csv.prizesOnly && p < 3; ++p) {
            const QString& value = fields.at(p + 1);
            if (value.isEmpty())
                continue;
            if (value.size() != 1 || value.at(0) < u'0' || value.at(0) > u'9') {
                if (bad(lineNo, draw::kDigitFields[p], fieldError(draw::kDigitFields[p], value, "0～9の数字")))
                    return csv;
                good = false;
                continue;
            }
            row.digits[p] = value.at(0).unicode() - u'0';
        }
        if (!good)
            continue;
        if (dateColumn >= 0 && !fields.at(dateColumn).isEmpty()) {
            const draw::DateReading date = draw::readDate(fields.at(dateColumn));
            if (!date.date) {
                collector.refuse(lineNo, line,
                                 fieldError(draw::kDateField, fields.at(dateColumn),
                                            date.shaped ? "実在する日付" : "日付（2026/10/12 など）"));
                continue;
            }
            fields[dateColumn] = draw::dateText(*date.date);
        }
        if (prizeColumn >= 0) {
            QString errorField;
            QString error;
            row.prizes = prizesOf(fields, prizeColumn, &errorField, &error);
            if (!error.isEmpty()) {
                if (bad(lineNo, errorField, error))
                    return csv;
                continue;
            }
        }
        row.extra = fields.mid(firstExtra);
        if (badLines == BadLines::Stop)
            csv.rows << row;
        else
            collector.add(std::move(row), line);
    }
}

HistoryCsv HistoryCsv::readFile(const QString& path, BadLines badLines)
{
    QFile file;
    QString reason;
    if (!openRegularFile(file, path, kMaxFileBytes, &reason)) {
        HistoryCsv csv;
        csv.error = reason;
        return csv;
    }
    return read(file, badLines);
}

void RowCollector::add(HistoryRow row, const QString& text)
{
    const auto found = m_byDrawNo.constFind(row.drawNo);
    if (found == m_byDrawNo.cend()) {
        m_byDrawNo.insert(row.drawNo, m_entries.size());
        const int line = row.line;
        m_entries.push_back({std::move(row), text, false, {line}, {text}});
        return;
    }
    Entry& first = m_entries[*found];
    first.lines << row.line;
    first.texts << text;
    if (first.row.digits != row.digits || first.row.extra != row.extra)
        first.refused = true;
}

void RowCollector::refuse(int line, const QString& text, const QString& reason)
{
    m_csv.refused.push_back({line, text, reason});
}

void RowCollector::finish()
{
    for (Entry& entry : m_entries) {
        if (!entry.refused) {
            m_csv.rows << std::move(entry.row);
            continue;
        }
        for (qsizetype i = 0; i < entry.lines.size(); ++i) {
            QStringList others;
            for (qsizetype j = 0; j < entry.lines.size(); ++j) {
                if (j != i)
                    others << QStringLiteral("%1行目").arg(entry.lines.at(j));
            }
            m_csv.refused.push_back(
                {entry.lines.at(i), entry.texts.at(i),
                 QStringLiteral("第%1回が%2にもあり、内容が違います").arg(entry.row.drawNo).arg(others.join(u'、'))});
        }
    }
    m_entries.clear();
    m_byDrawNo.clear();
    std::stable_sort(m_csv.refused.begin(), m_csv.refused.end(),
                     [](const RefusedLine& a, const RefusedLine& b) { return a.line < b.line; });
}

namespace {

QString fieldText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

QByteArray historyCsvBytes(const History& history, bool byteOrderMark)
{
    QByteArray bytes;
    bytes.reserve(32 + history.recordCount() * 24);
    if (byteOrderMark)
        bytes += "\xEF\xBB\xBF";
    QStringList header
        = {draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2], draw::kDateField};
    const bool prizes = history.hasPrizes();
    if (prizes)
        header << prize::fields();
    bytes += header.join(u',').toUtf8() + '\n';
    for (qsizetype i = 0; i < history.recordCount(); ++i) {
        bytes += csv_text::field(fieldText(history.field(i, draw::kDrawNoField)));
        for (const QString& digit : draw::kDigitFields)
            bytes += ',' + csv_text::field(fieldText(history.field(i, digit)));
        bytes += ',' + csv_text::field(history.date(i));
        if (prizes) {
            const prize::DrawPrizes* paid = history.prizes(i);
            for (int k = 0; k < prize::kKinds; ++k) {
                bytes += ',';
                if (paid && paid->counts[k])
                    bytes += QByteArray::number(*paid->counts[k]);
                bytes += ',';
                if (paid)
                    bytes += QByteArray::number(paid->amounts[k]);
            }
        }
        bytes += '\n';
    }
    return bytes;
}
