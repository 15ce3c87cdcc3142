#include "prediction/prediction_settings.h"

#include "data/file_write.h"
#include "data/regular_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>

namespace {

// The Windows program writes the ANSI code page of a Japanese system.
constexpr const char* kCodePage = "CP932";

// A settings file is a few hundred bytes; anything far larger is not one, and reading it
// whole (a stray disk image under that name) must not exhaust memory.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

QString decode(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp932(kCodePage, QStringDecoder::Flag::Stateless);
    if (cp932.isValid())
        return cp932.decode(view);
    // Without the code page no key can match; the flags then stay as they are.
    return QString::fromLatin1(view);
}

} // namespace

const std::array<QString, PredictionSettings::kFlagCount> PredictionSettings::kKeys = {
    QStringLiteral("頻度分析Opt"),       QStringLiteral("間隔分析Opt"),           QStringLiteral("出現回数分析Opt"),
    QStringLiteral("バラツキ分析Opt"),   QStringLiteral("引っ張り分析Opt"),       QStringLiteral("連番飛び石分析Opt"),
    QStringLiteral("数字合計分析Opt"),   QStringLiteral("組合せパターン分析Opt"), QStringLiteral("5分割傾向分析Opt"),
    QStringLiteral("分割データ分析Opt"),
};

const QString PredictionSettings::kFileName = QStringLiteral("ナンバーズ3ズバリン.ini");

PredictionSettings::PredictionSettings(QString path) : m_path(std::move(path))
{
}

bool PredictionSettings::setFlag(int index, bool value)
{
    if (index < 0 || index >= kFlagCount || m_flags[index] == value)
        return false;
    m_flags[index] = value;
    return true;
}

int PredictionSettings::reflectedCount() const
{
    int count = 0;
    for (bool f : m_flags)
        count += f ? 1 : 0;
    return count;
}

std::optional<bool> PredictionSettings::toBoolean(const QString& value)
{
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number != 0;
}

void PredictionSettings::applyFileBytes(const QByteArray& bytes)
{
    const QString text = decode(bytes);
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != u'\n' && text.at(end) != u'\r')
            ++end;
        const QStringView line = QStringView(text).sliced(start, end - start);
        start = end + 1;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        const QStringView key = line.first(equals);
        QStringView value = line.sliced(equals + 1);
        if (const qsizetype next = value.indexOf(u'='); next >= 0)
            value = value.first(next);
        for (int i = 0; i < kFlagCount; ++i) {
            if (key != kKeys[i])
                continue;
            if (const std::optional<bool> b = toBoolean(value.toString()))
                m_flags[i] = *b;
            break;
        }
    }
}

void PredictionSettings::ReadInitFile()
{
    // Only a regular file: a directory fails to read, and a pipe would wait for a writer.
    QFile file;
    QString reason;
    if (!openRegularFile(file, m_path, kMaxFileBytes, &reason))
        return;
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileBytes)
        return;
    applyFileBytes(bytes);
}

QByteArray PredictionSettings::toFileBytes() const
{
    QString text;
    for (int i = 0; i < kFlagCount; ++i)
        text += kKeys[i] + u'=' + (m_flags[i] ? QLatin1String("True") : QLatin1String("False")) + QLatin1String("\r\n");
    QStringEncoder cp932(kCodePage);
    if (!cp932.isValid())
        return text.toUtf8(); // still read back by this program
    return cp932.encode(text);
}

bool PredictionSettings::WriteInitFile()
{
    m_previousWriteOk = m_lastWriteOk;
    FileWriteOptions options;
    // A file that may be written in a folder that may not still takes the new flags.
    options.inPlaceWhenFolderRefuses = true;
    // Written from the window at each click and at exit: a pipe no one reads must not hang it.
    options.waitForReader = false;
    m_lastWriteOk = writeFileBytes(m_path, toFileBytes(), &m_lastError, options);
    if (m_lastWriteOk)
        m_lastError.clear();
    return m_lastWriteOk;
}
