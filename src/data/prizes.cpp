#include "data/prizes.h"

#include "data/draw.h"

namespace prize {

const std::array<QString, kKinds> kKindNames = {
    QStringLiteral("ストレート"),     QStringLiteral("ボックス"), QStringLiteral("セットストレート"),
    QStringLiteral("セットボックス"), QStringLiteral("ミニ"),
};

namespace {

// The names as literals, so that they may also be asked for while other files' globals are made.
QString kindName(int kind)
{
    switch (kind) {
    case Straight:
        return QStringLiteral("ストレート");
    case Box:
        return QStringLiteral("ボックス");
    case SetStraight:
        return QStringLiteral("セットストレート");
    case SetBox:
        return QStringLiteral("セットボックス");
    default:
        return QStringLiteral("ミニ");
    }
}

} // namespace

QString countField(int kind)
{
    return kindName(kind) + QStringLiteral("口数");
}

QString amountField(int kind)
{
    return kindName(kind) + QStringLiteral("当せん金");
}

const QStringList& fields()
{
    static const QStringList names = [] {
        QStringList list;
        for (int k = 0; k < kKinds; ++k)
            list << countField(k) << amountField(k);
        return list;
    }();
    return names;
}

const QStringList& fileHeader()
{
    static const QStringList header = QStringList{QStringLiteral("回数")} + fields();
    return header;
}

namespace {

// The text with full-width digits made plain, blanks around it and "," groupings dropped.
QString plainDigits(const QString& text)
{
    QString plain;
    for (const QChar c : text.trimmed()) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            plain += QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == u',' || c == QChar(0xFF0C))
            continue;
        else
            plain += c;
    }
    if (plain.endsWith(QChar(0x5186)))
        plain.chop(1);
    return plain.trimmed();
}

} // namespace

std::optional<int> readAmount(const QString& text)
{
    const QString plain = plainDigits(text);
    if (plain.isEmpty() || plain.size() > 9)
        return std::nullopt;
    for (const QChar c : plain) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const long long yen = plain.toLongLong();
    if (!isValidAmount(yen))
        return std::nullopt;
    return int(yen);
}

QString amountRefusal(const QString& text)
{
    if (readAmount(text))
        return QString();
    return QStringLiteral("当せん金は100円単位で、0円から%1円までの金額を入力してください。")
        .arg(QStringLiteral("99,999,900"));
}

Shape shapeOf(int first, int second, int third)
{
    if (first == second && second == third)
        return Shape::Triple;
    if (first == second || second == third || first == third)
        return Shape::Double;
    return Shape::Single;
}

std::array<int, kKinds> amountsFromStraight(int straight, Shape shape)
{
    const auto down = [](long long yen) { return int(yen / kAmountStep * kAmountStep); };
    std::array<int, kKinds> amounts{};
    amounts[Straight] = straight;
    amounts[Mini] = down(straight / 10);
    if (shape == Shape::Triple)
        return amounts;
    const int box = down(straight / (shape == Shape::Single ? 6 : 3));
    amounts[Box] = box;
    amounts[SetStraight] = down((static_cast<long long>(straight) + box) / 2);
    amounts[SetBox] = down(box / 2);
    return amounts;
}

namespace {

// The value grouped, then the suffix (none: 0), made in one piece: the lists write one a row.
QString groupedWith(long long value, char16_t suffix)
{
    // The magnitude as unsigned, so that the lowest long long has one too.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    char16_t text[32]; // 20 digits, 6 commas, the sign and the suffix
    int at = 32;
    if (suffix)
        text[--at] = suffix;
    int digits = 0;
    do {
        if (digits > 0 && digits % 3 == 0)
            text[--at] = u',';
        text[--at] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (value < 0)
        text[--at] = u'-';
    return QString(reinterpret_cast<const QChar*>(text + at), 32 - at);
}

} // namespace

QString grouped(long long value)
{
    return groupedWith(value, 0);
}

QString yenText(long long yen)
{
    return groupedWith(yen, u'円');
}

} // namespace prize
