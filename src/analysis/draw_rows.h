#pragma once
// What the windows that list the draws one per row share: the walk over the complete draws,
// writing a draw, and heading bands that read as one cell.

#include "analysis/analysis_window.h"
#include "data/global_bas.h"

#include <QString>

namespace draw_rows {

// "0" to "9", made once: the fill loops write a digit into every row.
const QString& digitText(int digit);

// Walks gRsDraws from its first record to its end and calls visit(draws, row) for every
// complete draw. The row starts at firstRow and advances for complete draws only, so an
// incomplete draw takes no row and leaves no gap.
template <typename Visit>
void forEachCompleteDraw(int firstRow, Visit visit)
{
    if (!GlobalBas::gRsDraws)
        return;
    RecordSet& draws = *GlobalBas::gRsDraws;
    int row = firstRow;
    for (draws.moveFirst(); !draws.eof(); draws.moveNext()) {
        if (!draws.isComplete())
            continue;
        visit(static_cast<const RecordSet&>(draws), row);
        ++row;
    }
}

// Writes 回数 and the three digits of the current draw into columns col to col + 3 of row.
void writeDraw(Grid& grid, const RecordSet& draws, int col, int row);

// Takes away the lines between the cells col to col2 of a row, so that they read as one
// heading band; the band's outer edges keep theirs.
void removeInnerLines(Grid& grid, int col, int col2, int row);

} // namespace draw_rows
