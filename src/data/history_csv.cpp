#include "data/history_csv.h"

#include "data/draw.h"

#include <QFile>
#include <QSet>

namespace {

// Splits one CSV line; fields may be quoted, with "" standing for a quote inside quotes.
bool splitCsvLine(const QString& line, QStringList& fields)
{
    fields.clear();
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields << (wasQuoted ? field : field.trimmed());
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    if (quoted)
        return false;
    fields << (wasQuoted ? field : field.trimmed());
    return true;
}

QString fieldError(const QString& field, const QString& value, const char* what)
{
    return QStringLiteral("「%1」が%2ではありません（%3）")
        .arg(field, QString::fromUtf8(what), value.isEmpty() ? QStringLiteral("空") : value);
}

} // namespace

QString HistoryCsv::extraValue(const HistoryRow& row, const QString& column) const
{
    const qsizetype i = extraColumns.indexOf(column);
    return i < 0 || i >= row.extra.size() ? QString() : row.extra.at(i);
}

HistoryCsv HistoryCsv::parse(const QByteArray& utf8)
{
    HistoryCsv csv;
    QString text = QString::fromUtf8(utf8);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(u'\n');

    auto fail = [&csv](int line, const QString& field, const QString& message) {
        csv.rows.clear();
        csv.errorLine = line;
        csv.errorField = field;
        csv.error = field.isEmpty() ? QStringLiteral("%1行目: %2").arg(line).arg(message)
                                    : QStringLiteral("%1行目 %2").arg(line).arg(message);
        return csv;
    };

    QStringList header;
    int headerLine = 0;
    QSet<int> seen;
    QStringList fields;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const int lineNo = i + 1;
        if (line.trimmed().isEmpty())
            continue;
        if (!splitCsvLine(line, fields))
            return fail(lineNo, QString(), QStringLiteral("引用符が閉じていません"));
        if (headerLine == 0) {
            headerLine = lineNo;
            header = fields;
            const QStringList expected = {draw::kDrawNoField, draw::kDigitFields[0],
                                          draw::kDigitFields[1], draw::kDigitFields[2]};
            if (header.mid(0, 4) != expected)
                return fail(lineNo, QString(),
                            QStringLiteral("見出しが「回数,第1数字,第2数字,第3数字」で始まっていません"));
            csv.extraColumns = header.mid(4);
            continue;
        }
        if (fields.size() != header.size())
            return fail(lineNo, QString(),
                        QStringLiteral("項目の数が%1ではなく%2です").arg(header.size()).arg(fields.size()));

        HistoryRow row;
        row.line = lineNo;
        bool ok = false;
        const int drawNo = fields.at(0).toInt(&ok);
        if (!ok || drawNo < draw::kMinDrawNo || drawNo > draw::kMaxDrawNo)
            return fail(lineNo, draw::kDrawNoField,
                        fieldError(draw::kDrawNoField, fields.at(0), "1～32767の整数"));
        if (seen.contains(drawNo))
            return fail(lineNo, draw::kDrawNoField,
                        QStringLiteral("「回数」%1が重複しています").arg(drawNo));
        seen.insert(drawNo);
        row.drawNo = drawNo;
        for (int p = 0; p < 3; ++p) {
            const QString& value = fields.at(p + 1);
            if (value.isEmpty())
                continue;
            if (value.size() != 1 || value.at(0) < u'0' || value.at(0) > u'9')
                return fail(lineNo, draw::kDigitFields[p],
                            fieldError(draw::kDigitFields[p], value, "0～9の数字"));
            row.digits[p] = value.at(0).unicode() - u'0';
        }
        row.extra = fields.mid(4);
        csv.rows << row;
    }
    if (headerLine == 0)
        return fail(1, QString(), QStringLiteral("見出しの行がありません"));
    return csv;
}

HistoryCsv HistoryCsv::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        HistoryCsv csv;
        csv.error = QStringLiteral("%1 を読めません（%2）").arg(path, file.errorString());
        return csv;
    }
    return parse(file.readAll());
}
