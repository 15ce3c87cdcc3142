#include "data/global_bas.h"

#include "data/draw_database.h"
#include "data/history_csv.h"

#include <QFileInfo>

StartupFigures StartupFigures::scan(RecordSet& draws)
{
    StartupFigures figures;
    if (draws.recordCount() < 1)
        return figures;

    for (draws.moveFirst(); !draws.eof(); draws.moveNext()) {
        if (!draws.isComplete())
            continue;
        for (int p = 1; p <= 3; ++p)
            ++figures.digitCount[draws.digit(p)];
        figures.lastDrawNo = draws.drawNo();
        ++figures.completeDraws;
    }

    figures.countMax = 0;
    figures.countMin = 0;
    figures.classCount = 1;
    for (int d = 0; d <= 9; ++d) {
        const int c = figures.digitCount[d];
        if (c > figures.countMax)
            figures.countMax = c;
        if (figures.digitsByCount.size() <= c)
            figures.digitsByCount.resize(c + 1);
        QString& entry = figures.digitsByCount[c];
        if (entry.isEmpty()) {
            entry = QString::number(d);
            ++figures.classCount;
        } else {
            entry += u',' + QString::number(d);
        }
    }
    return figures;
}

namespace GlobalBas {

bool startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason)
{
    reset();
    const QFileInfo file(databasePath);
    if (!file.exists() && !file.isSymLink()) {
        const HistoryCsv history = HistoryCsv::readFile(shippedHistoryPath);
        if (!history.ok()) {
            *reason = QStringLiteral("同梱の当選データ %1 を読めません: %2").arg(shippedHistoryPath, history.error);
            return false;
        }
        // Another start (or an import) may create it at the same moment: then that one is used.
        if (DrawDatabase::create(databasePath, history, reason) == DrawDatabase::Creation::Failed)
            return false;
    } else {
        DrawDatabase::removeStaleCreations(databasePath);
    }

    gConnectString = DrawDatabase::connectString(databasePath);
    DrawDatabase database(gConnectString, DrawDatabase::Mode::ReadOnly);
    if (!database.open(reason))
        return false;
    auto draws = RecordSet::open(database.database(), DrawDatabase::kSelectAll, reason);
    if (!draws)
        return false;
    adoptHistory(std::move(draws));
    return true;
}

void adoptHistory(std::unique_ptr<RecordSet> draws)
{
    const StartupFigures figures = StartupFigures::scan(*draws);
    gRsDraws = std::move(draws);
    gLastDrawNo = figures.lastDrawNo;
    gDigitCount = figures.digitCount;
    gCountMax = figures.countMax;
    gCountMin = figures.countMin;
    gDigitsByCount = figures.digitsByCount;
    gClassCount = figures.classCount;
    gCompleteDraws = figures.completeDraws;
}

void releaseDraws()
{
    gRsDraws.reset();
}

void reset()
{
    gConnectString.clear();
    gRsDraws.reset();
    gLastDrawNo = 0;
    gDigitCount = {};
    gCountMax = 0;
    gCountMin = 0;
    gDigitsByCount.clear();
    gClassCount = 0;
    gCompleteDraws = 0;
}

} // namespace GlobalBas
