#include "analysis/five_class_trend.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kCols = 9;
constexpr int kHeadRow = 1;
constexpr int kFirstDataRow = 2;
constexpr int kFirstCountCol = 5; // the count of class 1; class k is in column k + 4

struct DigitClass {
    int first;
    int last;
    const char16_t* heading;
    GridColor back;
};

constexpr std::array<DigitClass, 5> kClasses = {{
    {0, 1, u"0～1", colors::kWhite},
    {2, 3, u"2～3", colors::kPaleCyan},
    {4, 5, u"4～5", colors::kPaleGreen},
    {6, 7, u"6～7", colors::kPaleYellow},
    {8, 9, u"8～9", colors::kPaleMagenta},
}};

// 0-based class of a digit: the ranges in order, the last class taking anything else.
int classOf(int digit)
{
    for (int k = 0; k + 1 < int(kClasses.size()); ++k) {
        if (digit >= kClasses[k].first && digit <= kClasses[k].last)
            return k;
    }
    return int(kClasses.size()) - 1;
}

} // namespace

void 分割5傾向分析::mainStep(Grid& grid, const History& history)
{
    m_footRow = kFirstDataRow + history.drawRowCount();
    layout(grid);
    headings(grid, kHeadRow);
    headings(grid, m_footRow);
    fill(grid, history);
}

void 分割5傾向分析::layout(Grid& grid)
{
    const int rows = m_footRow;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = 51,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = kHeadRow,
                .frozenCols = 0,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setRowHeight(kHeadRow, 20);
    grid.setColWidth(1, 6);

    colours(grid, 1, kFirstDataRow, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
    // Class 1's count column keeps the default white.
    for (int k = 1; k < int(kClasses.size()); ++k)
        colours(grid, kFirstCountCol + k, kFirstDataRow, kFirstCountCol + k, rows, kClasses[k].back, {});

    borders(grid, 1, 1, kCols, rows, kAllSides, BorderStyle::Solid, colors::kBlack);
    // Sets the digits apart from the counts.
    borders(grid, kFirstCountCol, 1, kFirstCountCol, rows, BorderSide::Left, BorderStyle::Solid, colors::kRed);
}

void 分割5傾向分析::headings(Grid& grid, int r)
{
    borders(grid, 2, r, 4, r, kAllSides, BorderStyle::None);
    borders(grid, 2, r, 6, r, BorderSide::Bottom, BorderStyle::Solid, colors::kBlack);
    colours(grid, 1, r, kCols, r, colors::kHeadingBack, colors::kBlack);
    colours(grid, kFirstCountCol, r, kCols, r, colors::kPaleBlue, colors::kBlue);

    grid.setAllowCellOverflow(true);
    block(grid, 2, r, 2, r);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(2, r, QStringLiteral("         当 選 数 字"));
    grid.setRowHeight(r, 20);

    grid.setText(1, r, QStringLiteral("回数"));
    for (int k = 0; k < int(kClasses.size()); ++k)
        grid.setText(kFirstCountCol + k, r, QString::fromUtf16(kClasses[k].heading));
}

void 分割5傾向分析::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&](const DrawRecord& draw, int row) {
        std::array<int, kClasses.size()> counts{};
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        for (int p = 1; p <= 3; ++p) {
            const int d = draw.digit(p);
            const int k = classOf(d);
            grid.setText(p + 1, row, QString::number(d));
            grid.setBackColor(p + 1, row, kClasses[k].back);
            ++counts[k];
        }
        for (int k = 0; k < int(kClasses.size()); ++k)
            grid.setText(kFirstCountCol + k, row, QString::number(counts[k]));
    });
}
