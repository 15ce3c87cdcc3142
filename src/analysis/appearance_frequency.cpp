#include "analysis/appearance_frequency.h"

#include "grid/colors.h"

#include <algorithm>

namespace {
constexpr int kCols = 11;
constexpr int kHeadingRows = 2;
} // namespace

void 出現頻度分析::mainStep(Grid& grid, const History& history)
{
    m_chartHeight = *std::max_element(history.digitCount().begin(), history.digitCount().end());
    m_firstDataCol = 2;
    layout(grid);
    headings(grid);
    fill(grid, history);
}

void 出現頻度分析::layout(Grid& grid)
{
    const int rows = m_chartHeight + kHeadingRows;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = rows,
                .scrollBars = ScrollBars::Both,
                .frozenRows = kHeadingRows,
                .frozenCols = 1,
                .rowHeight = 10,
                .colWidth = 3});
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 15);
    grid.setColWidth(1, 5);

    borders(grid, 1, 1, kCols, 1, BorderSide::Outline, BorderStyle::Solid, colors::kLineBlue);
    colours(grid, 1, 1, kCols, 1, colors::kPaleYellow, {});
    borders(grid, 1, -1, 1, -1, BorderSide::Right, BorderStyle::Solid, colors::kLineBlue);

    grid.setAllowCellOverflow(true);
    grid.setBlock(5, 1, 5, 1);
    grid.setForeColor(colors::kRed);
    grid.setHAlign(HAlign::Left);
    grid.setText(5, 1, QStringLiteral("　　当 選 数 字"));

    colours(grid, 1, -1, 1, -1, colors::kLabelCyan, colors::kBlue);
    if (rows >= 2)
        borders(grid, 1, 2, kCols, rows, kAllSides, BorderStyle::Solid, colors::kLineBlue);
    colours(grid, 2, 2, kCols, 2, colors::kPaleYellow, colors::kRed);
    if (rows >= 3)
        colours(grid, 2, 3, kCols, rows, {}, colors::kMark);
}

void 出現頻度分析::headings(Grid& grid)
{
    grid.setText(1, 2, QStringLiteral("出現数"));
    for (int d = 0; d <= 9; ++d)
        grid.setText(d + m_firstDataCol, 2, QString::number(d));
    for (int k = 1; k <= m_chartHeight; ++k)
        grid.setText(1, k + kHeadingRows, QString::number(k));
}

void 出現頻度分析::fill(Grid& grid, const History& history)
{
    m_marks.fill(0);
    const DrawRecord* latest = nullptr;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        latest = &draw;
        for (int p = 1; p <= 3; ++p) {
            const int d = draw.digit(p);
            grid.setText(d + m_firstDataCol, m_marks[d] + kHeadingRows + 1, kMarkText);
            ++m_marks[d];
        }
    }
    // The chart opens at the latest draw's lowest mark, where its columns part, and follows it.
    if (latest) {
        int digit = latest->digit(1);
        for (int p = 2; p <= 3; ++p) {
            if (m_marks[latest->digit(p)] > m_marks[digit])
                digit = latest->digit(p);
        }
        grid.setLatestCell(digit + m_firstDataCol, m_marks[digit] + kHeadingRows);
    }
}
