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
};

// The start-up load: opens the database at the given path (creating it from the shipped history
// when the file does not exist) and reads every draw. Nothing on failure, with the reason; an
// existing file is never changed (beyond rolling back a write that was interrupted).
std::optional<Loaded> startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason);

// Reads the history again from the existing database the connect string names, read-only.
std::optional<History> reread(const QString& connectString, QString* reason);

} // namespace history_source
