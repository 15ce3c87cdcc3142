#include "analysis/draw_rows.h"

namespace draw_rows {

const QString& digitText(int digit)
{
    static const std::array<QString, 10> texts = [] {
        std::array<QString, 10> t;
        for (int d = 0; d <= 9; ++d)
            t[d] = QString::number(d);
        return t;
    }();
    return texts[digit];
}

void writeDraw(Grid& grid, const History& history, const DrawRecord& draw, int col, int row)
{
    grid.setText(col, row, history.drawNoText(draw.drawNo));
    for (int p = 1; p <= 3; ++p)
        grid.setText(col + p, row, digitText(draw.digit(p)));
}

} // namespace draw_rows
