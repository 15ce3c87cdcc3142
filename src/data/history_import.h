#pragma once
// Bringing the history up to date from the program: draws pasted as text or read from a CSV
// file, shown first as what they would do to the database (a preview), then written in one
// transaction by the rule every import follows (DrawDatabase::importDraws).

#include "data/draw_database.h"
#include "data/history_csv.h"

#include <QString>
#include <QVector>
#include <optional>

namespace history_import {

// Reads draws pasted as text, one a line. Each line holds a draw number (7090, 第7090回 or
// 7090回), its three digits (123, 1 2 3 or 1,2,3) and, anywhere after the number, a date or
// not (draw::readDate); full-width characters, tabs and several blanks are as good as their
// plain forms. A CSV line of the companion's form (7090,1,2,3 or 7090,1,2,3,2026/10/12) is one
// too, and a header line starting 回数 is passed over, as are blank lines. Every other line is
// refused with its reason; a draw given twice with different digits is refused on each line.
// The rows carry the column 抽せん日 when any line has a date.
HistoryCsv parseText(const QString& text);

// Whether a text holds at least one line parseText takes as a draw (the clipboard, say).
bool holdsDraws(const QString& text);

// Where the draws of an import come from, which decides what an empty date means: a file's
// empty 抽せん日 clears the date, as the companion's import does; a pasted line without one
// leaves the stored date.
enum class Source { File, Text };

// One draw of the preview: what the table stores now and what the import would write.
struct PreviewRow {
    int line = 0; // the line it came from
    int drawNo = 0;
    std::optional<DrawDatabase::StoredDraw> before; // nothing: not stored yet
    DrawDatabase::StoredDraw after;
};

struct Preview {
    QVector<PreviewRow> additions; // draws not stored yet, in line order
    QVector<PreviewRow> changes; // stored draws whose digits or date would change
    int unchanged = 0; // draws already stored as they are given
    QVector<RefusedLine> refused; // lines that are not taken, with the reason
    bool hasDateColumn = true; // the table keeps dates (a table made elsewhere may not)
    // The prizes the file gives (the ten prize columns, or a prize file alone): for draws without
    // stored prizes, for draws whose stored prizes would change, and for draws that have them as
    // given. A prize file changes no draw.
    bool prizesOnly = false;
    int prizeAdditions = 0;
    int prizeChanges = 0;
    int prizesUnchanged = 0;

    // What 取り込む writes: the additions and the changes (of draws or of their prizes), as read.
    HistoryCsv toWrite;
    DrawDatabase::EmptyDates emptyDates = DrawDatabase::EmptyDates::Clear;
    // The stored draws the preview was made against, for each 回数 of toWrite.
    QHash<int, std::optional<DrawDatabase::StoredDraw>> expected;

    bool writesAnything() const { return !toWrite.rows.isEmpty(); }
};

// What the draws read (a history the reading did not refuse as a whole) would do to the
// database at databasePath, read now. Nothing when the database cannot be read (the reason says why).
std::optional<Preview> preview(const QString& databasePath, const HistoryCsv& input, Source source, QString* reason);

struct Applied {
    enum Outcome {
        Written, // every draw of the preview is in the database
        Stale, // another program changed one of those draws since the preview: nothing written
        Failed, // nothing written; the reason says why
    } outcome
        = Failed;
    DrawDatabase::ImportCount count;
    QString reason;
};
// Writes what the preview showed, in one transaction.
Applied apply(const QString& databasePath, const Preview& preview);

// The digits of a draw as the preview shows them: "123", a missing digit as "－", a value that
// is no digit as it is stored.
QString digitsText(const DrawDatabase::StoredDraw& draw);

} // namespace history_import
