#pragma once
// Opening a file the program reads whole (a draw history, the settings file): only a regular
// file of a sensible size. A FIFO would block the reader for ever and a device would never end,
// so both are refused before a single byte is read.

#include <QFile>
#include <QString>

// Opens the file for reading when it is a regular file of at most maxBytes bytes. The type and
// size are taken from the opened file itself, so a file swapped after a check cannot slip in.
// Otherwise returns false and says why, in words for a message.
bool openRegularFile(QFile& file, const QString& path, qint64 maxBytes, QString* reason);
