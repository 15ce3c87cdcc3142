#pragma once
// A computed grid as a spreadsheet takes it: CSV for the texts, JSON for texts and colours.
// Both cover rows 1..maxRows and columns 1..maxCols; the headers are the view's, not data.

#include "grid/grid.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One line per grid row, cells separated by commas, CRLF line ends (RFC 4180), UTF-8 without
// a BOM. A cell is quoted when it holds a comma, a quote or a line break, or starts or ends with
// white space (so readers that trim unquoted fields keep it whole).
QByteArray gridToCsv(const Grid& grid);

// {"window": NAME, "rows": R, "cols": C, "cells": [[{"text": …, "back": "#RRGGBB",
// "fore": "#RRGGBB"}, …], …]} in UTF-8, keys in that order, one grid row a line.
QByteArray gridToJson(const Grid& grid, const QString& window);

// Windows of several grids: {"window": NAME, "grids": [G, …]} where each G is {"rows", "cols",
// "cells"} as above; CSV the grids one after another, separated by an empty line.
QByteArray gridsToJson(const QList<const Grid*>& grids, const QString& window);
QByteArray gridsToCsv(const QList<const Grid*>& grids);

// "#RRGGBB", upper-case hex.
QString colorHex(GridColor color);
