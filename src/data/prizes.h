#pragma once
// What a draw paid: for each of the five kinds of ticket, how many 口 won (when known) and what
// each 口 was paid, as the table 当せん金 and the shipped prize file keep them; and the rule by
// which one pool pays the five kinds, measured on every draw with prizes.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace prize {

enum Kind { Straight, Box, SetStraight, SetBox, Mini };
constexpr int kKinds = 5;

// ストレート, ボックス, セットストレート, セットボックス, ミニ.
extern const std::array<QString, kKinds> kKindNames;
// The fields of each kind: ストレート口数 and ストレート当せん金, and so on.
QString countField(int kind);
QString amountField(int kind);
// 回数 then the ten fields in the shipped file's order: a count, then an amount, kind by kind.
const QStringList& fileHeader();
// The ten fields alone, in that order.
const QStringList& fields();

constexpr int kAmountStep = 100; // every prize is a whole number of ¥100
constexpr int kMaxAmount = 99'999'900;
constexpr int kMaxCount = 99'999'999;

// The nominal prizes of a win, paid when a draw's own are unknown.
constexpr int kNominalStraight = 90000;
constexpr int kNominalBoxSingle = 15000;
constexpr int kNominalBoxDouble = 30000;
constexpr int kNominalSetStraightSingle = 52500;
constexpr int kNominalSetStraightDouble = 60000;
constexpr int kNominalSetBoxSingle = 7500;
constexpr int kNominalSetBoxDouble = 15000;
constexpr int kNominalMini = 9000;

// An amount a player may type or a file may give: a multiple of ¥100 from 0 to ¥99,999,900.
constexpr bool isValidAmount(long long yen)
{
    return yen >= 0 && yen <= kMaxAmount && yen % kAmountStep == 0;
}

// Why a typed amount cannot be stored; empty when it can. The text is the cell's, blanks around
// it dropped; digits may be full-width and grouped by ",".
QString amountRefusal(const QString& text);
// The amount a typed text stands for, when it is one (see amountRefusal).
std::optional<int> readAmount(const QString& text);

// What a draw paid.
struct DrawPrizes {
    std::array<std::optional<int>, kKinds> counts{}; // winning 口; none when unknown
    std::array<int, kKinds> amounts{}; // ¥ per 口
    bool operator==(const DrawPrizes&) const = default;
};

// The three kinds of number a draw can be.
enum class Shape { Single, Double, Triple };
Shape shapeOf(int first, int second, int third);

// The amounts one pool pays for a straight prize: box = straight ÷ 6 for a single or ÷ 3 for a
// double, set-straight = (straight + box) ÷ 2, set-box = box ÷ 2, mini = straight ÷ 10, each
// rounded down to ¥100. A triple is sold only as ストレート and ミニ: its box and set kinds pay 0.
std::array<int, kKinds> amountsFromStraight(int straight, Shape shape);

// A whole number with "," between groups of three digits ("-1,200": an ASCII minus).
QString grouped(long long value);
// Yen written as the windows write it: "95,400円".
QString yenText(long long yen);

} // namespace prize
