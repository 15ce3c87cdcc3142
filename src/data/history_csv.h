#pragma once
// Reading a draw history from CSV: the file that ships with the program, and files users import.
// Every path that reads a history CSV goes through this one reader.
//
// Format: UTF-8 (a BOM is allowed), a header that starts 回数,第1数字,第2数字,第3数字, then one
// draw a line; lines end with LF, CR LF or CR. An empty digit field means the draw has not been
// entered yet. Further columns are carried along by name (抽せん日 is the one the database keeps).
// The ten prize columns of the shipped prize file (ストレート口数 … ミニ当せん金) may follow as
// further columns, all of them or none; a line's prizes are all empty (nothing said) or its five
// amounts given. A prize file alone has the header 回数 and the ten prize columns, exactly as it
// ships: its lines carry prizes and no digits.
//
// The reader streams: it holds the current line and the rows parsed so far, never the whole
// text, and it refuses a file over kMaxFileBytes or a line over kMaxLineBytes before reading on.
//
// Read for a preview (BadLines::Collect), a bad line is set aside with its reason and the
// reading goes on; a 抽せん日 must then be a real date (kept as 2026/10/12), and a draw given
// twice is taken once when both lines agree, and refused on both lines when they do not.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "data/prizes.h"
#include <optional>

class History;
class QIODevice;

struct HistoryRow {
    int line = 0; // 1-based line in the file
    int drawNo = 0; // 1–32767
    std::array<std::optional<int>, 3> digits;
    QStringList extra; // values of the further columns, in header order
    std::optional<prize::DrawPrizes> prizes; // the line's prizes, when it gives them
};

// A line a reading left out, and why.
struct RefusedLine {
    int line = 0; // 1-based
    QString text; // the line as it was read
    QString reason;
    bool operator==(const RefusedLine&) const = default;
};

struct HistoryCsv {
    // A full history of 32,767 draws with dates is under 1 MB; anything far larger is not a
    // history, and must not be read into memory.
    static constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;
    // A draw line is a few dozen bytes; a line this long is not one.
    static constexpr qsizetype kMaxLineBytes = 64 * 1024;

    QStringList extraColumns; // header names after the four draw columns (after 回数 in a prize file)
    bool hasPrizes = false; // the header has the ten prize columns
    bool prizesOnly = false; // a prize file: the lines say nothing of digits or dates
    QVector<HistoryRow> rows; // in file order
    QString error; // empty when the whole file is good
    int errorLine = 0; // the line the error is on; 0 when it concerns the file as a whole
    QString errorField;
    QVector<RefusedLine> refused; // BadLines::Collect: the lines left out, in line order

    // What a bad line does to the reading: stop it, refusing the whole text (an import that
    // writes everything or nothing), or go aside (a preview that shows each bad line).
    enum class BadLines { Stop, Collect };

    bool ok() const { return error.isEmpty(); }

    // The prizes the lines give, by 回数.
    QHash<int, prize::DrawPrizes> prizesByDrawNo() const;

    // The value of a further column of a row, or a null string when the file has no such column.
    QString extraValue(const HistoryRow& row, const QString& column) const;

    // Reads and checks the whole text; on the first bad line it stops and says where and why.
    // A refused text yields no rows at all.
    // Collect: only what concerns the text as a whole (no header, too large, a line too long
    // to read on) refuses it.
    static HistoryCsv parse(const QByteArray& utf8, BadLines badLines = BadLines::Stop);
    static HistoryCsv read(QIODevice& device, BadLines badLines = BadLines::Stop);
    // As read(), for a regular file of at most kMaxFileBytes; the error names no path.
    static HistoryCsv readFile(const QString& path, BadLines badLines = BadLines::Stop);
};

// Gathers the rows of a reading that goes on past bad lines (BadLines::Collect, pasted text):
// a draw given twice is taken once when the lines agree; when they differ, neither is taken and
// every line of that draw is refused, naming the others.
class RowCollector {
public:
    explicit RowCollector(HistoryCsv& csv) : m_csv(csv) { }
    void add(HistoryRow row, const QString& text);
    void refuse(int line, const QString& text, const QString& reason);
    // Puts the rows taken and the lines refused into the history, each in line order.
    void finish();

private:
    struct Entry {
        HistoryRow row;
        QString text;
        bool refused = false;
        QList<int> lines; // every line that gave this draw
        QStringList texts; // and what each said
    };
    HistoryCsv& m_csv;
    QVector<Entry> m_entries;
    QHash<int, qsizetype> m_byDrawNo;
};

// The history as a CSV file in the form the reader takes: the header
// 回数,第1数字,第2数字,第3数字,抽せん日, then one draw a line in draw-number order, LF line ends.
// A history with prizes has the ten prize columns after 抽せん日 (empty for a draw without).
// A value that is no digit (stored by an edit outside the program) is written as it is, quoted
// where it must be; byteOrderMark starts the file with UTF-8's BOM (for spreadsheets).
QByteArray historyCsvBytes(const History& history, bool byteOrderMark);
