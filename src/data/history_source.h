#pragma once
// Where the program's history comes from: its database (see data_location.h), created from the
// shipped history the first time, and read again whenever it has changed.

#include "data/history.h"

#include <QString>
#include <optional>

namespace history_source {

struct Loaded {
    QString connectString; // "Driver=QSQLITE;Data Source=<path>"
    History history;
    QString notice; // what the player should know of the load (prizes that cannot be kept); or empty
};

// The start-up load: opens the database at the given path (creating it from the shipped history
// and the shipped prizes when the file does not exist) and reads every draw. An existing file
// made by an earlier version is brought forward first where it may be written (see
// DrawDatabase::bringForward); where it may not, it is read as it is, without prizes, and the
// notice says so. Nothing on failure, with the reason.
std::optional<Loaded> startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason);

// The prizes that ship beside the shipped history, by 回数; nothing (with the reason) when the
// file is missing or is no prize file.
std::optional<QHash<int, prize::DrawPrizes>> shippedPrizes(const QString& shippedHistoryPath, QString* reason);

// Reads the history again from the existing database the connect string names, read-only.
std::optional<History> reread(const QString& connectString, QString* reason);

} // namespace history_source
