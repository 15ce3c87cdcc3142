#pragma once
// A computed grid as a spreadsheet takes it: CSV for the texts, JSON for texts and colours.
// Both cover rows 1..maxRows and columns 1..maxCols; the headers are the view's, not data.
// JSON keeps every text exactly as the grid has it, padding and all.

#include "grid/grid.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A cell's text as a spreadsheet takes it: without the blanks that only place it in its cell
// (ASCII spaces and the ideographic space U+3000 at either end). Blanks inside it stay, as does
// any other white space (a tab) at its ends.
QString spreadsheetText(const QString& text);

// One line per grid row, cells separated by commas, CRLF line ends (RFC 4180), UTF-8 without
// a BOM. Each cell is its spreadsheetText. A cell is quoted when it holds a comma, a quote or a
// line break, or starts or ends with other white space (so readers that trim unquoted fields
// keep it whole).
QByteArray gridToCsv(const Grid& grid);

// {"window": NAME, "rows": R, "cols": C, "cells": [[{"text": …, "back": "#RRGGBB",
// "fore": "#RRGGBB"}, …], …]} in UTF-8, keys in that order, one grid row a line.
QByteArray gridToJson(const Grid& grid, const QString& window);

// Windows of several grids: {"window": NAME, "grids": [G, …]} where each G is {"rows", "cols",
// "cells"} as above, headed by {"title": …} where titles are given (by index; an empty title or
// none: no key); CSV the grids one after another, separated by an empty line.
QByteArray gridsToJson(const QList<const Grid*>& grids, const QString& window, const QStringList& titles = {});
QByteArray gridsToCsv(const QList<const Grid*>& grids);

// The UTF-8 byte-order mark (EF BB BF). A CSV file the program saves starts with it, so that a
// spreadsheet on a Japanese desktop reads the file as UTF-8 rather than in the locale's code page.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
// The bytes with the mark before them.
QByteArray withUtf8Bom(const QByteArray& bytes);

// "#RRGGBB", upper-case hex.
QString colorHex(GridColor color);
