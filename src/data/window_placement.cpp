#include "data/window_placement.h"

#include "data/file_write.h"
#include "data/regular_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace {

const QString kGroup = QStringLiteral("[MainFrm]");
const QString kRangesGroup = QStringLiteral("[Ranges]");
const QString kGeometryKey = QStringLiteral("geometry");
const QString kMaximizedKey = QStringLiteral("maximized");

std::optional<QRect> rectOf(const QString& value)
{
    static const QRegularExpression rect(
        QStringLiteral("^@Rect\\((-?\\d{1,6}) (-?\\d{1,6}) (\\d{1,6}) (\\d{1,6})\\)$"));
    const QRegularExpressionMatch m = rect.match(value);
    if (!m.hasMatch())
        return std::nullopt;
    const QRect r(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    return r.isValid() ? std::optional<QRect>(r) : std::nullopt;
}

std::optional<bool> booleanOf(const QString& value)
{
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

} // namespace

std::optional<WindowPlacement> WindowPlacement::fromFileBytes(const QByteArray& bytes)
{
    WindowPlacement placement;
    bool found = false;
    bool inGroup = false;
    bool inRanges = false;
    for (const QString& raw : QString::fromUtf8(bytes).split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == kGroup;
            inRanges = line == kRangesGroup;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!(inGroup || inRanges) || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (inRanges) {
            if (const std::optional<RangeChoice> range = RangeChoice::fromText(value); range && !key.isEmpty()) {
                placement.ranges.insert(key, *range);
                found = true;
            }
        } else if (key == kGeometryKey) {
            if (const std::optional<QRect> rect = rectOf(value)) {
                placement.geometry = rect;
                found = true;
            }
        } else if (key == kMaximizedKey) {
            if (const std::optional<bool> maximized = booleanOf(value)) {
                placement.maximized = *maximized;
                found = true;
            }
        }
    }
    return found ? std::optional<WindowPlacement>(placement) : std::nullopt;
}

QByteArray WindowPlacement::toFileBytes() const
{
    QString text = kGroup + u'\n';
    if (geometry)
        text += QStringLiteral("%1=@Rect(%2 %3 %4 %5)\n")
                    .arg(kGeometryKey)
                    .arg(geometry->x())
                    .arg(geometry->y())
                    .arg(geometry->width())
                    .arg(geometry->height());
    text += kMaximizedKey + u'=' + (maximized ? QLatin1String("true") : QLatin1String("false")) + u'\n';
    if (!ranges.isEmpty()) {
        text += kRangesGroup + u'\n';
        for (auto it = ranges.cbegin(); it != ranges.cend(); ++it)
            text += it.key() + u'=' + it.value().toText() + u'\n';
    }
    return text.toUtf8();
}

std::optional<WindowPlacement> WindowPlacement::read(const QString& path)
{
    QFile file;
    QString reason;
    if (!openRegularFile(file, path, kMaxFileBytes, &reason))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileBytes)
        return std::nullopt;
    return fromFileBytes(bytes);
}

bool WindowPlacement::write(const QString& path, QString* reason) const
{
    FileWriteOptions options;
    // As the settings file beside it: a file that may be written in a folder that may not still
    // takes the placement, and a FIFO no one reads must not hold up the exit.
    options.inPlaceWhenFolderRefuses = true;
    options.waitForReader = false;
    return writeFileBytes(path, toFileBytes(), reason, options);
}
