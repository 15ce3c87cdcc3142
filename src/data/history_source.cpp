#include "data/history_source.h"

#include "data/draw_database.h"
#include "data/history_csv.h"

#include <QFileInfo>

namespace history_source {

std::optional<Loaded> startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason)
{
    const QFileInfo file(databasePath);
    if (!file.exists() && !file.isSymLink()) {
        const HistoryCsv history = HistoryCsv::readFile(shippedHistoryPath);
        if (!history.ok()) {
            *reason = QStringLiteral("同梱の当選データ %1 を読めません: %2").arg(shippedHistoryPath, history.error);
            return std::nullopt;
        }
        // Another start (or an import) may create it at the same moment: then that one is used.
        if (DrawDatabase::create(databasePath, history, reason) == DrawDatabase::Creation::Failed)
            return std::nullopt;
    } else {
        DrawDatabase::removeStaleCreations(databasePath);
    }

    const QString connectString = DrawDatabase::connectString(databasePath);
    std::optional<History> history = reread(connectString, reason);
    if (!history)
        return std::nullopt;
    return Loaded{connectString, std::move(*history)};
}

std::optional<History> reread(const QString& connectString, QString* reason)
{
    DrawDatabase database(connectString, DrawDatabase::Mode::ReadOnly);
    if (!database.open(reason))
        return std::nullopt;
    return database.readHistory(reason);
}

} // namespace history_source
