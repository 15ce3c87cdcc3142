#include "data/message_text.h"

#include "data/history.h"

#include <QLocale>
#include <QSqlError>

#include <cerrno>

namespace message {

namespace {

constexpr qsizetype kExcerptLength = 40;

// SQLite's primary result codes (the low byte of an extended code).
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kNoMem = 7,
    kReadOnly = 8,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kTooBig = 18,
    kConstraint = 19,
    kMismatch = 20,
    kAuth = 23,
    kRange = 25,
    kNotADb = 26,
};

int nativeCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : 0;
}

QString japaneseReason(int code)
{
    switch (code & 0xff) {
    case kBusy:
    case kLocked:
        return QStringLiteral("ほかのプログラムがデータベースを使用中です");
    case kReadOnly:
        return QStringLiteral("読み取り専用のため書き込めません");
    case kFull:
        return QStringLiteral("ディスクの空きがありません");
    case kIoErr:
        return QStringLiteral("読み書きの途中でエラーが起きました");
    case kCorrupt:
    case kNotADb:
        return QStringLiteral("データベースのファイルではないか、ファイルが壊れています");
    case kCantOpen:
        return QStringLiteral("データベースのファイルを開けません");
    case kPerm:
    case kAuth:
        return QStringLiteral("アクセスが許可されていません");
    case kNoMem:
        return QStringLiteral("メモリが足りません");
    case kConstraint:
    case kMismatch:
    case kRange:
    case kTooBig:
        return QStringLiteral("データベースが受け付けない値です");
    default:
        return QString();
    }
}

} // namespace

QString excerpt(QStringView value)
{
    QString text;
    const qsizetype shown = qMin(value.size(), kExcerptLength);
    text.reserve(shown + 1);
    for (qsizetype i = 0; i < shown; ++i) {
        const char16_t c = value.at(i).unicode();
        if (c < 0x20)
            text += QChar(0x2400 + c); // ␀ … ␟
        else if (c == 0x7f)
            text += QChar(0x2421); // ␡
        else if (c == 0x2028 || c == 0x2029 || c == 0x85)
            text += u' ';
        else
            text += QChar(c);
    }
    // Do not leave half of a surrogate pair at the cut.
    if (shown < value.size() && !text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1);
    if (shown < value.size())
        text += u'…';
    return text;
}

QString databaseReason(const QSqlError& error)
{
    QString own = error.databaseText().trimmed();
    if (own.isEmpty())
        own = error.driverText().trimmed();
    const QString reason = japaneseReason(nativeCode(error));
    if (reason.isEmpty())
        return own.isEmpty() ? QStringLiteral("データベースのエラーです") : own;
    return own.isEmpty() ? reason : QStringLiteral("%1（%2）").arg(reason, own);
}

QString systemReason(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("ディスクの空きがありません");
    case EDQUOT:
        return QStringLiteral("使える容量の上限を超えました");
    case EACCES:
    case EPERM:
        return QStringLiteral("権限がありません");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です");
    case EISDIR:
        return QStringLiteral("フォルダです");
    case ENOENT:
        return QStringLiteral("ファイルがありません");
    case ENOTDIR:
        return QStringLiteral("途中の名前がフォルダではありません");
    case ELOOP:
        return QStringLiteral("リンクが循環しています");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EPIPE:
        return QStringLiteral("読み手が閉じました");
    case EIO:
        return QStringLiteral("入出力エラーです");
    default:
        return qt_error_string(error);
    }
}

bool isRowError(const QSqlError& error)
{
    switch (nativeCode(error) & 0xff) {
    case kConstraint:
    case kMismatch:
    case kRange:
    case kTooBig:
        return true;
    default:
        return false;
    }
}

QString historySpan(const History& history)
{
    if (history.isEmpty())
        return QStringLiteral("当選データなし");
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    return QStringLiteral("第%1回〜第%2回（%3回分）")
        .arg(history.draws().first().drawNo)
        .arg(history.draws().last().drawNo)
        .arg(japanese.toString(history.recordCount()));
}

} // namespace message
