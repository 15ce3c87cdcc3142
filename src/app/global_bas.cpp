#include "app/global_bas.h"

#include "data/history_source.h"

namespace GlobalBas {

bool startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason, QString* notice)
{
    std::optional<history_source::Loaded> loaded
        = history_source::startupLoad(databasePath, shippedHistoryPath, reason);
    if (!loaded)
        return false;
    if (notice)
        *notice = loaded->notice;
    adoptHistory(std::move(loaded->history));
    return true;
}

void adoptHistory(History history)
{
    gRsDraws = std::move(history);
}

void releaseDraws()
{
    adoptHistory(History());
}

} // namespace GlobalBas
