#include "data/csv_text.h"

namespace csv_text {

bool split(const QString& line, QStringList& fields, QList<bool>* quotedFields)
{
    fields.clear();
    if (quotedFields)
        quotedFields->clear();
    QString value;
    bool quoted = false;
    bool wasQuoted = false;
    const auto endField = [&] {
        fields << value;
        if (quotedFields)
            *quotedFields << wasQuoted;
        value.clear();
        wasQuoted = false;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                    value += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                value += c;
            }
        } else if (c == u'"' && value.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            endField();
        } else {
            value += c;
        }
    }
    if (quoted)
        return false;
    endField();
    return true;
}

QByteArray field(const QString& value)
{
    const bool quote = value.contains(u',') || value.contains(u'"') || value.contains(u'\n') || value.contains(u'\r')
        || (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!quote)
        return value.toUtf8();
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return '"' + quoted.toUtf8() + '"';
}

} // namespace csv_text
