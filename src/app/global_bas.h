#pragma once
// The main window's current history, under the program-wide name it has always had. Only the
// main window reads and writes it; every other window is handed the history it shows.

#include "data/history.h"

#include <QString>

namespace GlobalBas {

inline History gRsDraws;

// Opens the database at the given path (creating it from the shipped history when the file
// does not exist; an older one brought forward, see history_source.h), reads the history and makes
// it the current one. On failure the current history stays as it was, and the reason says what went
// wrong. notice: what the player should be told in the status bar, or empty.
bool startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason,
                 QString* notice = nullptr);

// Makes a history the current one (its figures come with it).
void adoptHistory(History history);

// Drops the history (a new main window, or the end of the exit sequence).
void releaseDraws();

} // namespace GlobalBas
