#pragma once
// Reading a draw history from CSV: the file that ships with the program, and files users import.
//
// Format: UTF-8 (a BOM is allowed), a header that starts 回数,第1数字,第2数字,第3数字, then one
// draw a line. An empty digit field means the draw has not been entered yet. Further columns
// are carried along by name (抽せん日 is the one the database keeps).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

struct HistoryRow {
    int line = 0;    // 1-based line in the file
    int drawNo = 0;  // 1–32767
    std::array<std::optional<int>, 3> digits;
    QStringList extra;  // values of the further columns, in header order
};

struct HistoryCsv {
    QStringList extraColumns;  // header names after the four draw columns
    QVector<HistoryRow> rows;  // in file order
    QString error;             // empty when the whole file is good
    int errorLine = 0;
    QString errorField;

    bool ok() const { return error.isEmpty(); }

    // The value of a further column of a row, or a null string when the file has no such column.
    QString extraValue(const HistoryRow& row, const QString& column) const;

    // Reads and checks the whole text; on the first bad line it stops and says where and why.
    static HistoryCsv parse(const QByteArray& utf8);
    static HistoryCsv readFile(const QString& path);
};
