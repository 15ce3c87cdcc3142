#pragma once
// The main window's current history and connection, under the program-wide names they have
// always had. Only the main window reads and writes them; every other window is handed the
// history it shows.

#include "data/history.h"

#include <QString>

namespace GlobalBas {

inline QString gConnectString;
inline History gRsDraws;

// Opens the database at the given path (creating it from the shipped history when the file
// does not exist), reads the history and sets both variables above. On failure every variable
// keeps the value it had, and the reason says what went wrong; an existing file is never changed.
bool startupLoad(const QString& databasePath, const QString& shippedHistoryPath, QString* reason);

// Makes a history the current one (its figures come with it).
void adoptHistory(History history);

// Drops the history and the connection (a new main window, or the end of the exit sequence).
void releaseDraws();

} // namespace GlobalBas
