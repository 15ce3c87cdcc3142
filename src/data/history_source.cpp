#include "data/history_source.h"

#include "data/draw_database.h"
#include "data/history_csv.h"

#include <QDir>
#include <QFileInfo>

namespace history_source {

std::optional<QHash<int, prize::DrawPrizes>> shippedPrizes(const QString& shippedHistoryPath, QString* reason)
{
    const QString path = DrawDatabase::shippedPrizesBeside(shippedHistoryPath);
    const HistoryCsv prizes = HistoryCsv::readFile(path);
    if (!prizes.ok() || !prizes.prizesOnly) {
        *reason
            = QStringLiteral("同梱の当せん金 %1 を読めません（%2）")
                  .arg(QDir::toNativeSeparators(path), prizes.ok() ? QStringLiteral("見出しが違います") : prizes.error);
        return std::nullopt;
    }
    return prizes.prizesByDrawNo();
}

std::optional<Loaded> startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason)
{
    QString notice;
    const QFileInfo file(databasePath);
    if (!file.exists() && !file.isSymLink()) {
        const HistoryCsv history = HistoryCsv::readFile(shippedHistoryPath);
        if (!history.ok()) {
            *reason = QStringLiteral("同梱の当選データ %1 を読めません: %2").arg(shippedHistoryPath, history.error);
            return std::nullopt;
        }
        // Without the shipped prizes (a copy of the program that lacks the file) the new database
        // keeps the draws all the same, and the prizes the player types.
        QString why;
        const std::optional<QHash<int, prize::DrawPrizes>> prizes = shippedPrizes(shippedHistoryPath, &why);
        if (!prizes)
            notice = QStringLiteral("当せん金なし（%1）").arg(why);
        // Another start (or an import) may create it at the same moment: then that one is used.
        if (DrawDatabase::create(databasePath, history, reason, DrawDatabase::kCreationWaitMs,
                                 prizes.value_or(QHash<int, prize::DrawPrizes>()))
            == DrawDatabase::Creation::Failed)
            return std::nullopt;
    } else {
        DrawDatabase::removeStaleCreations(databasePath);
    }

    QString why;
    // Without the shipped files (the companion's exports) the file is only read.
    const DrawDatabase::Upgrade upgrade = shippedHistoryPath.isEmpty()
        ? DrawDatabase::Upgrade::Current
        : DrawDatabase::bringForward(databasePath, shippedHistoryPath, &why);
    switch (upgrade) {
    case DrawDatabase::Upgrade::Current:
    case DrawDatabase::Upgrade::Upgraded:
        break;
    case DrawDatabase::Upgrade::NotWritable:
        notice = QStringLiteral("当せん金なし（データベースに書き込めません）");
        break;
    case DrawDatabase::Upgrade::Failed:
        // The history is read all the same; why it could not be brought forward is told.
        notice = QStringLiteral("当せん金なし（記録できませんでした: %1）").arg(why);
        break;
    }

    const QString connectString = DrawDatabase::connectString(databasePath);
    std::optional<History> history = reread(connectString, reason);
    if (!history)
        return std::nullopt;
    return Loaded{connectString, std::move(*history), notice};
}

std::optional<History> reread(const QString& connectString, QString* reason)
{
    DrawDatabase database(connectString, DrawDatabase::Mode::ReadOnly);
    if (!database.open(reason))
        return std::nullopt;
    return database.readHistory(reason);
}

} // namespace history_source
