#pragma once
// What a draw is: the field names, and the one rule that decides whether a draw is complete.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

namespace draw {

inline const QString kDrawNoField = QStringLiteral("回数");
inline const QString kDigitFields[3]
    = {QStringLiteral("第1数字"), QStringLiteral("第2数字"), QStringLiteral("第3数字")};
inline const QString kDateField = QStringLiteral("抽せん日");

constexpr int kMinDrawNo = 1;
constexpr int kMaxDrawNo = 32767;

// A field counts as present only when it compares unequal to the empty string:
// Null and "" both mark a digit that has not been entered yet.
bool isPresent(const QVariant& value);

// The digit a field holds, when it holds a whole number 0–9 (a number, or text that reads as one).
std::optional<int> digitValue(const QVariant& value);

// The draw number a field holds, when it is a whole number within 1–32767.
std::optional<int> drawNoValue(const QVariant& value);

// A draw date as the history keeps it: 2026/10/12.
QString dateText(const QDate& date);

// How a text reads as a date. Accepted, in full-width characters too and with the weekday in
// brackets after it or not: 2026/10/12, 2026-10-12, 2026.10.12, 2026年10月12日 and the era
// forms 令和8年10月12日, 平成6年10月7日 (元年 for an era's first year).
struct DateReading {
    bool shaped = false; // the text has the shape of one of those forms
    std::optional<QDate> date; // and names a day that exists (in its era)
};
DateReading readDate(QStringView text);

// A date written plainly, as the history stores it: blanks (space, tab, ideographic space)
// around it dropped, exactly four ASCII digits, "/" or "-", two digits, the same separator and
// two digits, naming a day of the Gregorian calendar. Nothing else reads as one: not
// "2024/1/5", "20240105", full-width digits nor a time after the date.
std::optional<QDate> readPlainDate(QStringView text);

// A draw is complete when its number is a draw number 1–32767 and each of its three digits is
// a whole number 0–9. Anything else (a missing digit, or a value that only outside edits can
// store, read as a negative marker) is incomplete. The one rule every reader of draws follows.
constexpr bool isComplete(int drawNo, int first, int second, int third)
{
    const auto digit = [](int d) { return d >= 0 && d <= 9; };
    return drawNo >= kMinDrawNo && drawNo <= kMaxDrawNo && digit(first) && digit(second) && digit(third);
}

} // namespace draw
