#include "data/draw.h"

#include <QRegularExpression>

#include <cmath>

namespace draw {

namespace {

std::optional<qlonglong> wholeNumber(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 1e15)
            return std::nullopt;
        return static_cast<qlonglong>(d);
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const qlonglong n = value.toString().trimmed().toLongLong(&ok);
        if (ok)
            return n;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

// The weekday a date may carry after it: (月), (月曜), (月曜日), or a holiday's (祝).
const QString kWeekday = QStringLiteral("\\s*\\((?:[月火水木金土日](?:曜日?)?|祝)\\)$");

} // namespace

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

DateReading readDate(QStringView text)
{
    static const QRegularExpression weekday(kWeekday);
    static const QRegularExpression numeric(QStringLiteral("^(\\d{4})([/.-])(\\d{1,2})\\2(\\d{1,2})$"));
    static const QRegularExpression written(QStringLiteral("^(\\d{4})年(\\d{1,2})月(\\d{1,2})日$"));
    static const QRegularExpression era(QStringLiteral("^(令和|平成)(\\d{1,2}|元)年(\\d{1,2})月(\\d{1,2})日$"));

    QString s = text.toString().normalized(QString::NormalizationForm_KC).trimmed();
    s.remove(weekday);
    DateReading reading;
    int year = 0, month = 0, day = 0;
    QString eraName;
    if (const QRegularExpressionMatch m = numeric.match(s); m.hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(3).toInt();
        day = m.captured(4).toInt();
    } else if (const QRegularExpressionMatch w = written.match(s); w.hasMatch()) {
        year = w.captured(1).toInt();
        month = w.captured(2).toInt();
        day = w.captured(3).toInt();
    } else if (const QRegularExpressionMatch e = era.match(s); e.hasMatch()) {
        eraName = e.captured(1);
        const int eraYear = e.captured(2) == u"元" ? 1 : e.captured(2).toInt();
        year = (eraName == u"令和" ? 2018 : 1988) + eraYear;
        month = e.captured(3).toInt();
        day = e.captured(4).toInt();
        if (eraYear < 1) {
            reading.shaped = true;
            return reading;
        }
    } else {
        return reading;
    }
    reading.shaped = true;
    const QDate date(year, month, day);
    if (!date.isValid())
        return reading;
    // 平成 ran from 1989/01/08 to 2019/04/30, 令和 from 2019/05/01.
    if (eraName == u"平成" && (date < QDate(1989, 1, 8) || date > QDate(2019, 4, 30)))
        return reading;
    if (eraName == u"令和" && date < QDate(2019, 5, 1))
        return reading;
    reading.date = date;
    return reading;
}

std::optional<QDate> readPlainDate(QStringView text)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\u3000'; };
    while (!text.isEmpty() && blank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    if (text.size() != 10)
        return std::nullopt;
    const QChar separator = text.at(4);
    if ((separator != u'/' && separator != u'-') || text.at(7) != separator)
        return std::nullopt;
    // The value of the ASCII digits from first to last; -1 when another character is among them.
    const auto number = [&](int first, int last) {
        int value = 0;
        for (int i = first; i <= last; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int year = number(0, 3), month = number(5, 6), day = number(8, 9);
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    // QDate knows no year 0 and takes a date of an invalid month or day as invalid.
    const QDate date(year, month, day);
    if (year == 0 || !date.isValid())
        return std::nullopt;
    return date;
}

bool isPresent(const QVariant& value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString)
        return !value.toString().isEmpty();
    if (value.typeId() == QMetaType::QByteArray)
        return !value.toByteArray().isEmpty();
    return true;
}

std::optional<int> digitValue(const QVariant& value)
{
    // Stored digits come back as 64-bit integers; take them without the general conversion.
    if (value.typeId() == QMetaType::LongLong && !value.isNull()) {
        const qlonglong n = *static_cast<const qlonglong*>(value.constData());
        return n >= 0 && n <= 9 ? std::optional<int>(int(n)) : std::nullopt;
    }
    if (!isPresent(value))
        return std::nullopt;
    const auto n = wholeNumber(value);
    if (!n || *n < 0 || *n > 9)
        return std::nullopt;
    return static_cast<int>(*n);
}

std::optional<int> drawNoValue(const QVariant& value)
{
    const auto n = wholeNumber(value);
    if (!n || *n < kMinDrawNo || *n > kMaxDrawNo)
        return std::nullopt;
    return static_cast<int>(*n);
}

} // namespace draw
