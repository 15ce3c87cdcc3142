#pragma once
// Reading a draw history from CSV: the file that ships with the program, and files users import.
// Every path that reads a history CSV goes through this one reader.
//
// Format: UTF-8 (a BOM is allowed), a header that starts 回数,第1数字,第2数字,第3数字, then one
// draw a line; lines end with LF, CR LF or CR. An empty digit field means the draw has not been
// entered yet. Further columns are carried along by name (抽せん日 is the one the database keeps).
//
// The reader streams: it holds the current line and the rows parsed so far, never the whole
// text, and it refuses a file over kMaxFileBytes or a line over kMaxLineBytes before reading on.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

class QIODevice;

struct HistoryRow {
    int line = 0; // 1-based line in the file
    int drawNo = 0; // 1–32767
    std::array<std::optional<int>, 3> digits;
    QStringList extra; // values of the further columns, in header order
};

struct HistoryCsv {
    // A full history of 32,767 draws with dates is under 1 MB; anything far larger is not a
    // history, and must not be read into memory.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    // A draw line is a few dozen bytes; a line this long is not one.
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

    QStringList extraColumns; // header names after the four draw columns
    QVector<HistoryRow> rows; // in file order
    QString error; // empty when the whole file is good
    int errorLine = 0; // the line the error is on; 0 when it concerns the file as a whole
    QString errorField;

    bool ok() const { return error.isEmpty(); }

    // The value of a further column of a row, or a null string when the file has no such column.
    QString extraValue(const HistoryRow& row, const QString& column) const;

    // Reads and checks the whole text; on the first bad line it stops and says where and why.
    // A refused text yields no rows at all.
    static HistoryCsv parse(const QByteArray& utf8);
    static HistoryCsv read(QIODevice& device);
    // As read(), for a regular file of at most kMaxFileBytes; the error names no path.
    static HistoryCsv readFile(const QString& path);
};
