#include "analysis/split_data.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kCols = 32;
constexpr int kStripRow = 1;
constexpr int kHeadingRows = 3;
constexpr int kFirstDataRow = 4;
constexpr int kLastDrawNoCol = 32;
// The first column of the strip of each digit position; digit d stands in column base + d.
constexpr std::array<int, 3> kStripBase = {2, 12, 22};

} // namespace

const SplitPartition& SplitDataAnalysis::threeClasses()
{
    static const SplitPartition p{{
                                      {0, 2, colors::kPaleCyan, QStringLiteral("　　 Ａ ")},
                                      {3, 5, GridColor{}, QStringLiteral("　　 Ｂ ")},
                                      {6, 9, colors::kPaleGreen, QStringLiteral("　　　 Ｃ 　　")},
                                  },
                                  1};
    return p;
}

const SplitPartition& SplitDataAnalysis::fiveClasses()
{
    static const SplitPartition p{{
                                      {0, 1, colors::kPaleCyan, QStringLiteral("　Ａ ")},
                                      {2, 3, GridColor{}, QStringLiteral("　Ｂ ")},
                                      {4, 5, colors::kPaleGreen, QStringLiteral("　Ｃ ")},
                                      {6, 7, GridColor{}, QStringLiteral("　Ｄ ")},
                                      {8, 9, colors::kPaleMagenta, QStringLiteral("　Ｅ ")},
                                  },
                                  1};
    return p;
}

const SplitPartition& SplitDataAnalysis::tenClasses()
{
    static const SplitPartition p{{
                                      {0, 0, colors::kPaleCyan, QStringLiteral("Ａ")},
                                      {1, 1, colors::kPaleGreen, QStringLiteral("Ｂ")},
                                      {2, 2, colors::kPaleMagenta, QStringLiteral("Ｃ")},
                                      {3, 3, colors::kPaleBlue, QStringLiteral("Ｄ")},
                                      {4, 4, GridColor{}, QStringLiteral("Ｅ")},
                                      {5, 5, colors::kPaleCyan, QStringLiteral("Ｆ")},
                                      {6, 6, colors::kPaleGreen, QStringLiteral("Ｇ")},
                                      {7, 7, colors::kPaleMagenta, QStringLiteral("Ｈ")},
                                      {8, 8, colors::kPaleBlue, QStringLiteral("Ｉ")},
                                      {9, 9, GridColor{}, QStringLiteral("Ｊ")},
                                  },
                                  3};
    return p;
}

void SplitDataAnalysis::layout(Grid& grid, const History& history)
{
    const int rows = kHeadingRows + history.drawRowCount();
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = 53,
                .scrollBars = ScrollBars::Both,
                .frozenRows = kHeadingRows,
                .frozenCols = 0,
                .rowHeight = 9,
                .colWidth = 2});
    grid.setRowHeight(1, 15);
    grid.setRowHeight(2, 12);
    grid.setColWidth(1, 6);
    grid.setColWidth(kLastDrawNoCol, 6);

    borders(grid, 1, 3, kCols, rows, kAllSides, BorderStyle::Solid, colors::kLineBlue);
    for (int base : kStripBase)
        borders(grid, base, kStripRow, base + 9, kStripRow, BorderSide::Outline, BorderStyle::Solid, colors::kLineBlue);

    grid.setAllowCellOverflow(true);
    grid.setText(kStripBase[0], kStripRow, QStringLiteral("　　　　当選数字(第1数字)　　　　"));
    grid.setText(kStripBase[1], kStripRow, QStringLiteral("　　　　当選数字(第2数字)　　　　"));
    grid.setText(kStripBase[2], kStripRow, QStringLiteral("　　　　当選数字(第3数字)　　　　"));
    block(grid, 2, kStripRow, kCols, kStripRow);
    grid.setHAlign(HAlign::Left);
    grid.setBackColor(colors::kHeadingBack);

    colours(grid, 1, 1, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
    colours(grid, kLastDrawNoCol, 1, kLastDrawNoCol, rows, colors::kDrawNoBack, colors::kDrawNoFore);

    for (int base : kStripBase) {
        for (const SplitClass& c : m_partition.classes) {
            if (c.back.isValid())
                colours(grid, base + c.first, 2, base + c.last, rows, c.back, {});
        }
    }
}

void SplitDataAnalysis::headings(Grid& grid, int baseRow)
{
    const int classRow = baseRow;
    const int labelRow = baseRow + 1;
    for (int base : kStripBase) {
        for (const SplitClass& c : m_partition.classes)
            borders(grid, base + c.first, classRow, base + c.last, classRow, BorderSide::Outline, BorderStyle::Solid,
                    colors::kLineBlue);
    }

    grid.setAllowCellOverflow(true);
    for (int base : kStripBase) {
        for (const SplitClass& c : m_partition.classes) {
            block(grid, base + c.first, classRow, base + c.first, classRow);
            grid.setHAlign(HAlign::Left);
            grid.setText(base + c.first, classRow, c.heading);
        }
    }

    grid.setText(1, labelRow, QStringLiteral("回数"));
    for (int base : kStripBase) {
        for (int d = 0; d <= 9; ++d)
            grid.setText(base + d, labelRow, QString::number(d));
    }
    grid.setText(kLastDrawNoCol, labelRow, QStringLiteral("回数"));
    const int blueStrips = std::clamp(m_partition.blueLabelStrips, 0, int(kStripBase.size()));
    if (blueStrips > 0)
        colours(grid, kStripBase[0], labelRow, kStripBase[blueStrips - 1] + 9, labelRow, {}, colors::kBlue);
}

void SplitDataAnalysis::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&](const DrawRecord& draw, int row) {
        const QString drawNo = history.drawNoText(draw.drawNo);
        grid.setText(1, row, drawNo);
        grid.setText(kLastDrawNoCol, row, drawNo);
        for (int p = 1; p <= 3; ++p) {
            const int col = kStripBase[p - 1] + draw.digit(p);
            grid.setText(col, row, kMarkText);
            grid.setForeColor(col, row, colors::kMark);
        }
    });
}
