#include "data/draw.h"

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

} // namespace

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
