#include "analysis/appearance_count.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

namespace {
constexpr int kCols = 7;
constexpr int kFirstDataRow = 3;
} // namespace

void 出現回数分析::mainStep(Grid& grid, const History& history)
{
    layout(grid, history);
    headings(grid);
    fill(grid, history);
}

void 出現回数分析::layout(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = history.drawRowCount() + 2,
                .visibleCols = kCols,
                .visibleRows = 52,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 2,
                .rowHeight = 10,
                .colWidth = 6});
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 12);
    colours(grid, 1, -1, 1, -1, colors::kDrawNoBack, colors::kDrawNoFore);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
}

void 出現回数分析::headings(Grid& grid)
{
    colours(grid, 2, 1, 4, 2, colors::kPaleCyan, colors::kBlue);
    colours(grid, 5, 1, 7, 2, colors::kPaleGreen, colors::kRed);
    grid.setRowHeight(1, 20);

    // Row 1 reads as two group cells: the digits and the counts.
    borders(grid, 2, 1, 4, 1, kAllSides, BorderStyle::None);
    borders(grid, 4, 1, 4, 1, BorderSide::Right, BorderStyle::Solid);
    borders(grid, 5, 1, 7, 1, kAllSides, BorderStyle::None);
    borders(grid, 7, 1, 7, 1, BorderSide::Right, BorderStyle::Solid);

    grid.setAllowCellOverflow(true);
    block(grid, 2, 1, 2, 1);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(2, 1, QStringLiteral("           当 選 数 字"));
    block(grid, 6, 1, 6, 1);
    grid.setHAlign(HAlign::Left);
    grid.setText(6, 1, QStringLiteral("　　出現回数合計(回)"));
    grid.setHAlign(HAlign::Center);

    const QString captions[kCols]
        = {QStringLiteral("回数"),    QStringLiteral("第1数字"), QStringLiteral("第2数字"), QStringLiteral("第3数字"),
           QStringLiteral("第1数字"), QStringLiteral("第2数字"), QStringLiteral("第3数字")};
    for (int c = 1; c <= kCols; ++c)
        grid.setText(c, 2, captions[c - 1]);
}

const QString& 出現回数分析::numberText(int n)
{
    while (m_numberTexts.size() <= n)
        m_numberTexts << QString::number(m_numberTexts.size());
    return m_numberTexts.at(n);
}

void 出現回数分析::fill(Grid& grid, const History& history)
{
    m_counts.fill(0);
    m_numberTexts.clear();
    // Only complete draws take a row: incomplete ones leave no gap.
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&](const DrawRecord& draw, int row) {
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        for (int p = 1; p <= 3; ++p) {
            const int d = draw.digit(p);
            grid.setText(1 + p, row, numberText(d));
            grid.setText(4 + p, row, numberText(m_counts[d]));
        }
        // Counted after all three are written, so a repeated digit shows the same earlier count.
        for (int p = 1; p <= 3; ++p)
            ++m_counts[draw.digit(p)];
    });
}
