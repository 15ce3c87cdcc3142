#include "analysis/neighbours.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

namespace {
constexpr int kCols = 8;
constexpr int kConsecutiveCol = 1; // 回数 of the consecutive section; its digits follow
constexpr int kOneApartCol = 5; // 回数 of the one-apart section
constexpr int kFirstDataRow = 2;
} // namespace

void 連番飛び石分析::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid);
    fill(grid, history);
}

void 連番飛び石分析::layout(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = history.drawRowCount() + 1,
                .visibleCols = kCols,
                .visibleRows = 51,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setColWidth(kConsecutiveCol, 6);
    grid.setColWidth(kOneApartCol, 6);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, kConsecutiveCol, -1, kConsecutiveCol, -1, colors::kDrawNoBack, colors::kDrawNoFore);
    colours(grid, kOneApartCol, -1, kOneApartCol, -1, colors::kDrawNoBack, colors::kDrawNoFore);
}

void 連番飛び石分析::headings(Grid& grid)
{
    const struct {
        int col;
        GridColor back;
        QString title;
    } bands[] = {
        {kConsecutiveCol + 1, colors::kPaleMagenta, QStringLiteral("     連番(当選数字)")},
        {kOneApartCol + 1, colors::kHeadingBack, QStringLiteral("    飛び石(当選数字)")},
    };
    grid.setAllowCellOverflow(true);
    for (const auto& band : bands) {
        joinCells(grid, band.col, 1, band.col + 2, 1);
        borders(grid, band.col, 1, band.col + 2, 1, BorderSide::Outline, BorderStyle::Solid);
        colours(grid, band.col, 1, band.col + 2, 1, band.back, {});
        grid.setBlock(band.col, 1, band.col, 1);
        grid.setHAlign(HAlign::Left);
        grid.setVAlign(VAlign::Center);
        grid.setText(band.col, 1, band.title);
    }
    grid.setText(kConsecutiveCol, 1, QStringLiteral("回数"));
    grid.setText(kOneApartCol, 1, QStringLiteral("回数"));
}

void 連番飛び石分析::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&grid, &history](const DrawRecord& draw, int row) {
        section(grid, history, draw, kConsecutiveCol, row, 1);
        section(grid, history, draw, kOneApartCol, row, 2);
    });
}

void 連番飛び石分析::section(Grid& grid, const History& history, const DrawRecord& draw, int col, int row, int apart)
{
    int hits = 0;
    draw_rows::writeDraw(grid, history, draw, col, row);
    // Only neighbouring positions are compared, both ways, and 9 and 0 are not neighbours.
    for (int p = 1; p <= 2; ++p) {
        const int a = draw.digit(p);
        const int b = draw.digit(p + 1);
        if (a + apart == b || b + apart == a) {
            ++hits;
            markPair(grid, apart == 1, col + p, row);
        }
    }
    greyIfNone(grid, hits, col, row);
}

void 連番飛び石分析::markPair(Grid& grid, bool consecutive, int col, int row)
{
    const GridColor back = consecutive ? colors::kPaleCyan : colors::kPaleGreen;
    grid.setBackColor(col, row, back);
    grid.setBackColor(col + 1, row, back);
}

void 連番飛び石分析::greyIfNone(Grid& grid, int count, int col, int row)
{
    if (count == 0)
        grid.setBackColor(col, row, colors::kNoHitGrey);
}
