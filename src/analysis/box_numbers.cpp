#include "analysis/box_numbers.h"

#include "analysis/item_statistics.h"
#include "grid/colors.h"

#include <array>

namespace {

constexpr int kFigureCols = 8;
constexpr int kFirstDataRow = 2;

enum Type { Single, Double, Triple };

const std::array<QString, ボックス番号分析::kTypes> kTypeNames{QStringLiteral("シングル"), QStringLiteral("ダブル"),
                                                               QStringLiteral("トリプル")};
// The chance of a type in one draw: 720, 270 and 10 of the 1,000 numbers.
constexpr std::array<item_stats::Chance, ボックス番号分析::kTypes> kTypeChances{{{72, 100}, {27, 100}, {1, 100}}};
// The chance of one box number of a type: the orders its digits can come in.
constexpr std::array<item_stats::Chance, ボックス番号分析::kTypes> kBoxChances{{{6, 1000}, {3, 1000}, {1, 1000}}};
// The タイプ cells of the box numbers whose digits repeat are shaded, by type.
constexpr GridColor kDoubleBack = colors::kPaleGreen;
constexpr GridColor kTripleBack = colors::kPaleMagenta;

// Three digits in ascending order.
Type typeOf(int low, int mid, int high)
{
    if (low == high)
        return Triple;
    return low == mid || mid == high ? Double : Single;
}

struct BoxNumber {
    QString text;
    Type type = Single;
};

// The box numbers in ascending order of their text, and the place among them of every number
// 000 … 999 (its digits in any order).
struct BoxTable {
    std::array<BoxNumber, ボックス番号分析::kBoxNumbers> numbers;
    std::array<int, 1000> indexOf{};
};

const BoxTable& boxTable()
{
    static const BoxTable table = [] {
        BoxTable t;
        int index = 0;
        for (int a = 0; a <= 9; ++a) {
            for (int b = a; b <= 9; ++b) {
                for (int c = b; c <= 9; ++c) {
                    t.numbers[std::size_t(index)] = {QStringLiteral("%1%2%3").arg(a).arg(b).arg(c), typeOf(a, b, c)};
                    const std::array<int, 3> orders[]
                        = {{a, b, c}, {a, c, b}, {b, a, c}, {b, c, a}, {c, a, b}, {c, b, a}};
                    for (const std::array<int, 3>& o : orders)
                        t.indexOf[std::size_t(o[0] * 100 + o[1] * 10 + o[2])] = index;
                    ++index;
                }
            }
        }
        return t;
    }();
    return table;
}

// A table of items: its label columns, then the eight figures, the 休止指数 last.
void layOut(Grid& grid, int labelCols, int items, int visibleRows, const QStringList& labels)
{
    const int cols = labelCols + kFigureCols;
    const int rows = kFirstDataRow - 1 + items;
    const bool scrolls = visibleRows < items + 1;
    setUpSheet(grid,
               {.cols = cols,
                .rows = rows,
                .visibleCols = cols,
                .visibleRows = visibleRows,
                .scrollBars = scrolls ? ScrollBars::Vertical : ScrollBars::None,
                .frozenRows = scrolls ? 1 : 0,
                .rowHeight = 10,
                .colWidth = 6});
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, cols, 1, colors::kHeadingBack, {});
    colours(grid, 1, kFirstDataRow, 1, rows, colors::kPaleYellow, colors::kRed);
    for (int c = 0; c < labelCols; ++c)
        grid.setText(1 + c, 1, labels.at(c));
    const QStringList& headings = item_stats::figureHeadings();
    for (int i = 0; i < kFigureCols; ++i)
        grid.setText(labelCols + 1 + i, 1, headings.at(i));
}

void writeFigures(Grid& grid, int labelCols, int row, const item_stats::Comings& comings, int draws,
                  item_stats::Chance chance, const History& history)
{
    const QStringList figures = item_stats::figures(comings, draws, chance, history);
    for (int i = 0; i < kFigureCols; ++i)
        grid.setText(labelCols + 1 + i, row, figures.at(i));
    item_stats::markRestIndex(grid, labelCols + kFigureCols, row, item_stats::rest(comings, draws), chance);
}

} // namespace

void ボックス番号分析::mainStep(const QList<Grid*>& grids, const History& history)
{
    Grid& types = *grids.at(0);
    Grid& boxes = *grids.at(1);
    const BoxTable& table = boxTable();

    std::array<item_stats::Comings, kTypes> typeComings;
    std::array<item_stats::Comings, kBoxNumbers> boxComings;
    int draws = 0;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        ++draws;
        const int index = table.indexOf[std::size_t(draw.digit(1) * 100 + draw.digit(2) * 10 + draw.digit(3))];
        boxComings[std::size_t(index)].add(draws, draw.drawNo);
        typeComings[std::size_t(table.numbers[std::size_t(index)].type)].add(draws, draw.drawNo);
    }

    layOut(types, 1, kTypes, kTypes + 1, {QStringLiteral("タイプ")});
    for (int t = 0; t < kTypes; ++t) {
        const int row = kFirstDataRow + t;
        types.setText(1, row, kTypeNames[std::size_t(t)]);
        writeFigures(types, 1, row, typeComings[std::size_t(t)], draws, kTypeChances[std::size_t(t)], history);
    }
    types.setSortableRows(kFirstDataRow, kFirstDataRow + kTypes - 1);

    layOut(boxes, 2, kBoxNumbers, 15, {QStringLiteral("ボックス"), QStringLiteral("タイプ")});
    for (int n = 0; n < kBoxNumbers; ++n) {
        const int row = kFirstDataRow + n;
        const BoxNumber& box = table.numbers[std::size_t(n)];
        boxes.setText(1, row, box.text);
        boxes.setText(2, row, kTypeNames[std::size_t(box.type)]);
        if (box.type != Single)
            boxes.setBackColor(2, row, box.type == Triple ? kTripleBack : kDoubleBack);
        writeFigures(boxes, 2, row, boxComings[std::size_t(n)], draws, kBoxChances[std::size_t(box.type)], history);
    }
    boxes.setSortableRows(kFirstDataRow, kFirstDataRow + kBoxNumbers - 1);
}
