#pragma once
// 当せん番号検索: the draws a number won, as a player checks a ticket. A number of three digits
// is looked up as ストレート (the draw's number), ボックス (its digits in any order; never for a
// triple) and ミニ (its last two digits); a number of two digits as ミニ only. One row per draw
// that matches, in draw order, with what a ticket of that kind won on the draw where its prizes
// are known, and a last row 合計 with the count of each kind.

#include "catalogue/window_sheets.h"
#include "data/history.h"
#include "grid/grid.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>

namespace number_search {

// The number a player typed, when it is one: blanks around it dropped, two or three ASCII
// digits.
std::optional<QString> readNumber(QStringView typed);

// The message under the number box for a typed text that is no number.
extern const QString kInvalidNumber;

// The line printed above the grid: the number looked up ("検索した番号: 123"); none for a
// text that is no number.
QStringList printedNotes(const QString& typed);

// How a draw matches a number: not at all, or the one kind it counts as.
enum class Match { None, Straight, Box, Mini };
Match matchOf(const DrawRecord& draw, const QString& number);

// The grid: its heading row, and for a valid number the matching draws and 合計.
void mainStep(Grid& grid, const History& history, const QString& typed);

// The sheets of the window, computed from the number the options carry.
std::unique_ptr<WindowSheets> sheets(const History& history, const SheetOptions& options);

} // namespace number_search
