#include "data/tickets.h"

#include "data/csv_text.h"
#include "data/draw.h"
#include "data/regular_file.h"

#include <QBuffer>
#include <QFile>
#include <QStringDecoder>

namespace ticket {

const QStringList kFileHeader = {QStringLiteral("開始回"), QStringLiteral("継続回数"), QStringLiteral("番号"),
                                 QStringLiteral("申込"),   QStringLiteral("口数"),     QStringLiteral("メモ")};

QString typeName(Type type)
{
    switch (type) {
    case Type::Straight:
        return QStringLiteral("ストレート");
    case Type::Box:
        return QStringLiteral("ボックス");
    case Type::Set:
        return QStringLiteral("セット");
    case Type::Mini:
        return QStringLiteral("ミニ");
    }
    return QString();
}

std::optional<Type> typeOf(const QString& name)
{
    for (const Type type : {Type::Straight, Type::Box, Type::Set, Type::Mini}) {
        if (name == typeName(type))
            return type;
    }
    return std::nullopt;
}

namespace {

bool asciiDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

QStringList refusals(const Line& line)
{
    QStringList reasons;
    const int digits = line.type == Type::Mini ? 2 : 3;
    if (!asciiDigits(line.number) || line.number.size() != digits) {
        reasons
            << (line.type == Type::Mini
                    ? QStringLiteral("ミニの番号は「00」から「99」までの2けたの数字です。")
                    : QStringLiteral("%1の番号は「000」から「999」までの3けたの数字です。").arg(typeName(line.type)));
    } else if ((line.type == Type::Box || line.type == Type::Set) && line.number.at(0) == line.number.at(1)
               && line.number.at(1) == line.number.at(2)) {
        reasons << QStringLiteral("%1では「%2」のような3つとも同じ数字は申し込めません。")
                       .arg(typeName(line.type), line.number);
    }
    if (line.units < 1 || line.units > kMaxUnits)
        reasons << QStringLiteral("口数は1から%1までです。").arg(kMaxUnits);
    if (line.firstDraw < draw::kMinDrawNo || line.firstDraw > draw::kMaxDrawNo)
        reasons << QStringLiteral("開始回は第%1回から第%2回までです。").arg(draw::kMinDrawNo).arg(draw::kMaxDrawNo);
    if (line.draws < 1 || line.draws > kMaxDraws)
        reasons << QStringLiteral("継続回数は1から%1までです。").arg(kMaxDraws);
    else if (line.firstDraw >= draw::kMinDrawNo && line.firstDraw <= draw::kMaxDrawNo
             && line.lastDraw() > draw::kMaxDrawNo)
        reasons << QStringLiteral("最後の回（開始回＋継続回数－1）が第%1回を超えます。").arg(draw::kMaxDrawNo);
    if (line.memo.contains(u'\n') || line.memo.contains(u'\r'))
        reasons << QStringLiteral("メモに改行は入れられません。");
    return reasons;
}

namespace {

// A whole number written in ASCII digits, within what an int holds.
std::optional<int> wholeNumber(const QString& text)
{
    if (!asciiDigits(text) || text.size() > 9)
        return std::nullopt;
    return text.toInt();
}

} // namespace

TicketsCsv parseTickets(const QByteArray& utf8)
{
    TicketsCsv csv;
    if (utf8.size() > TicketsCsv::kMaxFileBytes) {
        csv.error = QStringLiteral("大きすぎます（%1 MB まで）").arg(TicketsCsv::kMaxFileBytes / (1024 * 1024));
        return csv;
    }
    QByteArrayView bytes(utf8);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        csv.error = QStringLiteral("UTF-8 の文字として読めないバイトがあります");
        return csv;
    }
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    QStringList physical = normalised.split(u'\n');
    if (!physical.isEmpty() && physical.last().isEmpty())
        physical.removeLast();
    QStringList fields;
    QList<bool> quoted;
    if (physical.isEmpty() || !csv_text::split(physical.first(), fields, &quoted)) {
        csv.error = QStringLiteral("見出しの行がありません");
        return csv;
    }
    for (QString& field : fields)
        field = field.trimmed();
    if (fields != kFileHeader) {
        csv.error = QStringLiteral("1行目: 見出しが「%1」ではありません").arg(kFileHeader.join(u','));
        return csv;
    }
    for (qsizetype i = 1; i < physical.size(); ++i) {
        const int lineNo = int(i + 1);
        const QString& physicalLine = physical.at(i);
        if (physicalLine.trimmed().isEmpty())
            continue;
        QStringList reasons;
        if (!csv_text::split(physicalLine, fields, &quoted)) {
            csv.refused.push_back({lineNo, {QStringLiteral("引用符が閉じていません。")}});
            continue;
        }
        if (fields.size() != kFileHeader.size()) {
            csv.refused.push_back(
                {lineNo, {QStringLiteral("項目の数が%1ではなく%2です。").arg(kFileHeader.size()).arg(fields.size())}});
            continue;
        }
        for (int f = 0; f < 5; ++f)
            fields[f] = fields[f].trimmed();
        Line line;
        const std::optional<int> first = wholeNumber(fields.at(0));
        const std::optional<int> draws = wholeNumber(fields.at(1));
        const std::optional<Type> type = typeOf(fields.at(3));
        const std::optional<int> units = wholeNumber(fields.at(4));
        if (!first)
            reasons << QStringLiteral("開始回が整数ではありません（%1）。").arg(fields.at(0));
        if (!draws)
            reasons << QStringLiteral("継続回数が整数ではありません（%1）。").arg(fields.at(1));
        if (!type)
            reasons << QStringLiteral("申込は「ストレート」「ボックス」「セット」「ミニ」のどれかです（%1）。")
                           .arg(fields.at(3));
        if (!units)
            reasons << QStringLiteral("口数が整数ではありません（%1）。").arg(fields.at(4));
        line.firstDraw = first.value_or(draw::kMinDrawNo);
        line.draws = draws.value_or(1);
        line.number = fields.at(2);
        line.type = type.value_or(Type::Straight);
        line.units = units.value_or(1);
        line.memo = fields.at(5);
        // Only the rules the fields that were read can break.
        for (const QString& reason : refusals(line)) {
            const bool aboutFirst = reason.startsWith(QStringLiteral("開始回"));
            const bool aboutDraws
                = reason.startsWith(QStringLiteral("継続回数")) || reason.startsWith(QStringLiteral("最後の回"));
            const bool aboutUnits = reason.startsWith(QStringLiteral("口数"));
            const bool aboutNumber
                = !aboutFirst && !aboutDraws && !aboutUnits && !reason.startsWith(QStringLiteral("メモ"));
            if ((aboutFirst && !first) || (aboutDraws && (!draws || !first)) || (aboutUnits && !units)
                || (aboutNumber && !type))
                continue;
            reasons << reason;
        }
        if (!reasons.isEmpty()) {
            csv.refused.push_back({lineNo, reasons});
            continue;
        }
        csv.lines << line;
    }
    if (!csv.refused.isEmpty())
        csv.lines.clear();
    return csv;
}

TicketsCsv readTicketsFile(const QString& path)
{
    QFile file;
    QString reason;
    TicketsCsv csv;
    if (!openRegularFile(file, path, TicketsCsv::kMaxFileBytes, &reason)) {
        csv.error = reason;
        return csv;
    }
    const QByteArray bytes = file.read(TicketsCsv::kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        csv.error = QStringLiteral("読み込めません（%1）").arg(file.errorString());
        return csv;
    }
    return parseTickets(bytes);
}

QByteArray ticketsCsvBytes(const QVector<Line>& lines)
{
    QByteArray bytes = kFileHeader.join(u',').toUtf8() + '\n';
    for (const Line& line : lines) {
        bytes += QByteArray::number(line.firstDraw) + ',' + QByteArray::number(line.draws) + ','
            + csv_text::field(line.number) + ',' + typeName(line.type).toUtf8() + ',' + QByteArray::number(line.units)
            + ',' + csv_text::field(line.memo) + '\n';
    }
    return bytes;
}

} // namespace ticket
