#pragma once
// What the windows that list the draws one per row share: the walk over the complete draws,
// writing a draw, and heading bands that read as one cell.

#include "analysis/analysis_window.h"
#include "data/history.h"

#include <QString>

namespace draw_rows {

// "0" to "9", made once: the fill loops write a digit into every row.
const QString& digitText(int digit);

// Walks the history from its first draw to its last and calls visit(draw, row) for every
// complete draw, listing the row as the draw's in the grid. The row starts at firstRow and
// advances for complete draws only, so an incomplete draw takes no row and leaves no gap.
template <typename Visit> void forEachCompleteDraw(Grid& grid, const History& history, int firstRow, Visit visit)
{
    int row = firstRow;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        visit(draw, row);
        grid.setDrawRow(row, history.realDrawNo(draw.drawNo));
        ++row;
    }
}

// Writes 回数 (as stored: History::drawNoText) and the three digits of a draw of the history into
// columns col to col + 3 of row.
void writeDraw(Grid& grid, const History& history, const DrawRecord& draw, int col, int row);

} // namespace draw_rows
