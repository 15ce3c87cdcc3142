#pragma once
// The player's tickets: what a ticket line is, the rules that refuse a line outside the game, and
// the CSV form the ledger is imported and exported in.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

namespace ticket {

// The four ways to buy, in the order the form offers them.
enum class Type { Straight, Box, Set, Mini };
constexpr int kTypes = 4;
// ストレート, ボックス, セット, ミニ.
QString typeName(Type type);
std::optional<Type> typeOf(const QString& name);

constexpr int kPrice = 200; // ¥ a 口 for each draw
constexpr int kMaxUnits = 10; // 口数 1–10
constexpr int kMaxDraws = 10; // 継続回数 1–10

// One ticket line as the player records it.
struct Line {
    qint64 id = 0; // 0 until stored
    QString number; // "000"–"999"; "00"–"99" for ミニ
    Type type = Type::Straight;
    int units = 1; // 口数
    int firstDraw = 1; // 開始回
    int draws = 1; // 継続回数
    QString memo;
    QDateTime recorded; // when it was recorded (UTC); invalid until stored

    int lastDraw() const { return firstDraw + draws - 1; }
    bool covers(int drawNo) const { return drawNo >= firstDraw && drawNo <= lastDraw(); }
    qint64 cost() const { return qint64(kPrice) * units * draws; }
    bool operator==(const Line&) const = default;
};

// Every reason the line breaks the rules of the game, in the order of its fields; empty when it
// keeps them. A triple (such as "777") bought as ボックス or セット says so in the player's words; a
// メモ holds no line break.
QStringList refusals(const Line& line);

// The tickets file: the header 開始回,継続回数,番号,申込,口数,メモ (a UTF-8 BOM allowed), then one
// line a ticket line; blanks around every field but メモ dropped.
extern const QStringList kFileHeader;
struct RefusedTicket {
    int line = 0; // the file's physical line, the header being line 1
    QStringList reasons; // every reason it has
    bool operator==(const RefusedTicket&) const = default;
};
struct TicketsCsv {
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    QVector<Line> lines;
    QVector<RefusedTicket> refused; // when any, nothing may be written
    QString error; // the file as a whole cannot be read (no header, too large…)
    bool ok() const { return error.isEmpty() && refused.isEmpty(); }
};
TicketsCsv parseTickets(const QByteArray& utf8);
TicketsCsv readTicketsFile(const QString& path);
// The lines in the file's form, LF line ends, oldest first.
QByteArray ticketsCsvBytes(const QVector<Line>& lines);

} // namespace ticket
