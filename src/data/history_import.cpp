#include "data/history_import.h"

#include "data/draw.h"
#include "data/message_text.h"

#include <QRegularExpression>

namespace history_import {

namespace {

// What one pasted line is.
struct LineReading {
    enum Kind { Skip, Draw, Refused } kind = Skip;
    HistoryRow row;
    QString date; // 2026/10/12, or empty
    QString reason; // Refused: why
};

LineReading refused(const QString& reason)
{
    LineReading reading;
    reading.kind = LineReading::Refused;
    reading.reason = reason;
    return reading;
}

bool allDigits(const QString& token)
{
    return !token.isEmpty()
        && std::all_of(token.cbegin(), token.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

LineReading readLine(const QString& original)
{
    // Full-width digits, commas, slashes and blanks read as their plain forms.
    QString s = original.normalized(QString::NormalizationForm_KC).trimmed();
    if (s.isEmpty())
        return {};
    if (s.startsWith(draw::kDrawNoField))
        return {}; // a CSV header
    if (s.size() > HistoryCsv::kMaxLineBytes)
        return refused(QStringLiteral("行が長すぎます"));

    static const QRegularExpression weekday(QStringLiteral("\\s*\\((?:[月火水木金土日](?:曜日?)?|祝)\\)"));
    static const QRegularExpression numbered(QStringLiteral("^第?\\s*(\\d+)\\s*回(?:目)?"));
    static const QRegularExpression ordinal(QStringLiteral("^第\\s*(\\d+)"));
    static const QRegularExpression separators(QStringLiteral("[\\s,、]+"));
    s.remove(u'"');
    s.remove(weekday);
    // 第7090回, 7090回 and 第7090 are the draw number 7090.
    s.replace(numbered, QStringLiteral("\\1 "));
    s.replace(ordinal, QStringLiteral("\\1 "));
    const QStringList tokens = s.split(separators, Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return {};

    const QString& first = tokens.first();
    if (!allDigits(first))
        return refused(QStringLiteral("回数で始まっていません（%1）").arg(message::excerpt(first)));
    const qlonglong drawNo = first.size() > 6 ? -1 : first.toLongLong();
    if (drawNo < draw::kMinDrawNo || drawNo > draw::kMaxDrawNo)
        return refused(QStringLiteral("回数が%1～%2ではありません（%3）")
                           .arg(draw::kMinDrawNo)
                           .arg(draw::kMaxDrawNo)
                           .arg(message::excerpt(first)));

    LineReading reading;
    reading.kind = LineReading::Draw;
    reading.row.drawNo = int(drawNo);
    QStringList digits;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        const QString& token = tokens.at(i);
        if (allDigits(token)) {
            digits << token;
            continue;
        }
        const draw::DateReading date = draw::readDate(token);
        if (!date.shaped)
            return refused(QStringLiteral("数字でも日付でもない語があります（%1）").arg(message::excerpt(token)));
        if (!date.date)
            return refused(QStringLiteral("抽せん日が実在する日付ではありません（%1）").arg(message::excerpt(token)));
        if (!reading.date.isEmpty())
            return refused(QStringLiteral("抽せん日が二つあります"));
        reading.date = draw::dateText(*date.date);
    }
    // 123, or 1 2 3.
    QString three;
    if (digits.size() == 1 && digits.first().size() == 3)
        three = digits.first();
    else if (digits.size() == 3 && digits.join(QString()).size() == 3)
        three = digits.join(QString());
    if (digits.isEmpty())
        return refused(QStringLiteral("当選数字がありません"));
    if (three.isEmpty())
        return refused(
            QStringLiteral("当選数字が0～9の数字3つではありません（%1）").arg(message::excerpt(digits.join(u' '))));
    for (int p = 0; p < 3; ++p)
        reading.row.digits[p] = three.at(p).unicode() - u'0';
    return reading;
}

bool sameDigit(const QVariant& stored, const std::optional<int>& given)
{
    if (const std::optional<int> digit = draw::digitValue(stored))
        return digit == given;
    return !draw::isPresent(stored) && !given;
}

QVariant digitVariant(const std::optional<int>& digit)
{
    return digit ? QVariant(qlonglong(*digit)) : QVariant(QMetaType(QMetaType::LongLong));
}

} // namespace

HistoryCsv parseText(const QString& text)
{
    HistoryCsv csv;
    if (text.size() > HistoryCsv::kMaxFileBytes) {
        csv.error = QStringLiteral("大きすぎます（%1 MB まで）").arg(HistoryCsv::kMaxFileBytes / (1024 * 1024));
        return csv;
    }
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    const QStringList lines = text.split(lineEnd);
    RowCollector collector(csv);
    bool anyDate = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        LineReading reading = readLine(line);
        switch (reading.kind) {
        case LineReading::Skip:
            break;
        case LineReading::Refused:
            collector.refuse(int(i + 1), line, reading.reason);
            break;
        case LineReading::Draw:
            reading.row.line = int(i + 1);
            reading.row.extra = QStringList{reading.date};
            anyDate = anyDate || !reading.date.isEmpty();
            collector.add(std::move(reading.row), line);
            break;
        }
    }
    collector.finish();
    if (anyDate) {
        csv.extraColumns = QStringList{draw::kDateField};
    } else {
        for (HistoryRow& row : csv.rows)
            row.extra.clear();
    }
    return csv;
}

bool holdsDraws(const QString& text)
{
    if (text.size() > HistoryCsv::kMaxFileBytes)
        return false;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineEnd)) {
        if (readLine(line).kind == LineReading::Draw)
            return true;
    }
    return false;
}

std::optional<Preview> preview(const QString& databasePath, const HistoryCsv& input, Source source, QString* reason)
{
    DrawDatabase database(DrawDatabase::connectString(databasePath), DrawDatabase::Mode::ReadOnly);
    if (!database.open(reason))
        return std::nullopt;
    const std::optional<DrawDatabase::StoredDraws> stored = database.storedDraws(reason);
    if (!stored)
        return std::nullopt;
    std::optional<QHash<int, prize::DrawPrizes>> storedPrizes;
    if (input.hasPrizes) {
        storedPrizes = database.storedPrizes(reason);
        if (!storedPrizes)
            return std::nullopt;
    }

    Preview preview;
    preview.prizesOnly = input.prizesOnly;
    preview.toWrite.hasPrizes = input.hasPrizes;
    preview.toWrite.prizesOnly = input.prizesOnly;
    preview.refused = input.refused;
    preview.hasDateColumn = stored->hasDateColumn;
    preview.emptyDates
        = source == Source::Text ? DrawDatabase::EmptyDates::KeepStored : DrawDatabase::EmptyDates::Clear;
    preview.toWrite.extraColumns = input.extraColumns;
    // The dates as the import will write them, by the import's own rule.
    const HistoryCsv resolved = DrawDatabase::importedDraws(input, *stored, preview.emptyDates);
    for (qsizetype i = 0; i < resolved.rows.size(); ++i) {
        const HistoryRow& row = resolved.rows.at(i);
        PreviewRow shown;
        shown.line = row.line;
        shown.drawNo = row.drawNo;
        for (int p = 0; p < 3; ++p)
            shown.after.digits[p] = digitVariant(row.digits[p]);
        if (stored->hasDateColumn)
            shown.after.date = resolved.extraValue(row, draw::kDateField);
        const auto found = stored->byDrawNo.constFind(row.drawNo);
        if (found != stored->byDrawNo.cend())
            shown.before = *found;
        // What the line's prizes would do.
        bool prizesChange = false;
        if (row.prizes) {
            const auto had = storedPrizes->constFind(row.drawNo);
            if (had == storedPrizes->cend())
                ++preview.prizeAdditions;
            else if (*had != *row.prizes)
                ++preview.prizeChanges;
            else
                ++preview.prizesUnchanged;
            prizesChange = had == storedPrizes->cend() || *had != *row.prizes;
        }
        if (input.prizesOnly) {
            if (!prizesChange)
                continue;
        } else if (found == stored->byDrawNo.cend()) {
            preview.additions << shown;
        } else {
            bool same = found->date == shown.after.date;
            for (int p = 0; p < 3; ++p)
                same = same && sameDigit(found->digits[p], row.digits[p]);
            if (same) {
                ++preview.unchanged;
                if (!prizesChange)
                    continue;
            } else {
                preview.changes << shown;
            }
        }
        preview.toWrite.rows << input.rows.at(i);
        preview.expected.insert(row.drawNo, shown.before);
    }
    return preview;
}

Applied apply(const QString& databasePath, const Preview& preview)
{
    Applied applied;
    DrawDatabase database(DrawDatabase::connectString(databasePath), DrawDatabase::Mode::ReadWrite);
    if (!database.open(&applied.reason))
        return applied;
    DrawDatabase::ImportOptions options;
    options.emptyDates = preview.emptyDates;
    options.expected = preview.expected;
    const std::optional<DrawDatabase::ImportCount> count
        = database.importDraws(preview.toWrite, &applied.reason, options);
    if (!count)
        return applied;
    applied.count = *count;
    applied.outcome = count->stale ? Applied::Stale : Applied::Written;
    return applied;
}

QString digitsText(const DrawDatabase::StoredDraw& draw)
{
    QString text;
    for (const QVariant& value : draw.digits) {
        if (const std::optional<int> digit = draw::digitValue(value))
            text += QString::number(*digit);
        else if (!draw::isPresent(value))
            text += u'－';
        else
            text += u'〔' + message::excerpt(value.toString()) + u'〕';
    }
    return text;
}

} // namespace history_import
