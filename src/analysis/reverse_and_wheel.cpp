#include "analysis/reverse_and_wheel.h"

#include "analysis/draw_rows.h"
#include "analysis/item_statistics.h"
#include "grid/colors.h"

#include <algorithm>
#include <array>

namespace {

// The counts: 位置, the ten 移動値, 対象回数; three positions and the 期待値 row.
constexpr int kCountCols = 12;
constexpr int kTargetCol = kCountCols;
constexpr int kExpectedRow = 5;
// The draws: 回数, 当選番号, 裏数字, three 移動値, 裏引っ張り.
constexpr int kDrawCols = 7;
constexpr int kNumberCol = 2;
constexpr int kReverseCol = 3;
constexpr int kFirstMoveCol = 4;
constexpr int kCarryCol = 7;
constexpr int kFirstDrawRow = 2;

constexpr GridColor kMostMovesBack = colors::kPaleGreen; // the 移動値 a position came by most
constexpr GridColor kCarryBack = colors::kPaleMagenta; // a draw holding a 裏数字 of the one before

int reverseOf(int digit)
{
    return (digit + 5) % 10;
}

// The place of a digit on a position's 風車盤, counted anticlockwise from the top.
int placeOf(int position, int digit)
{
    switch (position) {
    case 1:
        return (10 - digit) % 10;
    case 2:
        return 7 * digit % 10;
    default:
        return digit;
    }
}

// How far a position's digit moved round its 風車盤 from one draw to the next, 0 … 9.
int moveOf(int position, int from, int to)
{
    return (placeOf(position, to) - placeOf(position, from) + 10) % 10;
}

QString numberText(int a, int b, int c)
{
    return draw_rows::digitText(a) + draw_rows::digitText(b) + draw_rows::digitText(c);
}

void layOutCounts(Grid& grid)
{
    setUpSheet(grid,
               {.cols = kCountCols,
                .rows = kExpectedRow,
                .visibleCols = kCountCols,
                .visibleRows = kExpectedRow,
                .scrollBars = ScrollBars::None,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setColWidth(1, 6);
    grid.setColWidth(kTargetCol, 6);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kCountCols, 1, colors::kHeadingBack, {});
    colours(grid, 1, 2, 1, kExpectedRow, colors::kPaleYellow, colors::kRed);
    grid.setText(1, 1, QStringLiteral("位置"));
    for (int m = 0; m <= 9; ++m)
        grid.setText(2 + m, 1, draw_rows::digitText(m));
    grid.setText(kTargetCol, 1, QStringLiteral("対象回数"));
    const QString positions[] = {QStringLiteral("第1数字"), QStringLiteral("第2数字"), QStringLiteral("第3数字")};
    for (int p = 0; p < 3; ++p)
        grid.setText(1, 2 + p, positions[p]);
    grid.setText(1, kExpectedRow, QStringLiteral("期待値"));
}

void layOutDraws(Grid& grid, int draws)
{
    const int rows = kFirstDrawRow - 1 + draws;
    setUpSheet(grid,
               {.cols = kDrawCols,
                .rows = rows,
                .visibleCols = kDrawCols,
                .visibleRows = 15,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 7});
    grid.setColWidth(1, 5);
    grid.setColWidth(kCarryCol, 8);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kDrawCols, 1, colors::kHeadingBack, {});
    colours(grid, 1, kFirstDrawRow, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
    colours(grid, kReverseCol, kFirstDrawRow, kReverseCol, rows, {}, colors::kBlue);
    const QString headings[] = {QStringLiteral("回数"),      QStringLiteral("当選番号"),  QStringLiteral("裏数字"),
                                QStringLiteral("第1移動値"), QStringLiteral("第2移動値"), QStringLiteral("第3移動値"),
                                QStringLiteral("裏引っ張り")};
    for (int c = 0; c < kDrawCols; ++c)
        grid.setText(1 + c, 1, headings[c]);
}

} // namespace

void 裏数字風車盤分析::mainStep(const QList<Grid*>& grids, const History& history)
{
    Grid& counts = *grids.at(0);
    Grid& draws = *grids.at(1);
    const int n = history.completeDraws();
    layOutCounts(counts);
    layOutDraws(draws, n);

    std::array<std::array<int, 10>, 3> moves{};
    const DrawRecord* previous = nullptr;
    draw_rows::forEachCompleteDraw(draws, history, kFirstDrawRow, [&](const DrawRecord& draw, int row) {
        draws.setText(1, row, history.drawNoText(draw.drawNo));
        draws.setText(kNumberCol, row, numberText(draw.digit(1), draw.digit(2), draw.digit(3)));
        draws.setText(kReverseCol, row,
                      numberText(reverseOf(draw.digit(1)), reverseOf(draw.digit(2)), reverseOf(draw.digit(3))));
        if (previous) {
            std::array<bool, 10> reverses{};
            for (int p = 1; p <= 3; ++p) {
                const int move = moveOf(p, previous->digit(p), draw.digit(p));
                ++moves[std::size_t(p - 1)][std::size_t(move)];
                draws.setText(kFirstMoveCol + p - 1, row, draw_rows::digitText(move));
                reverses[std::size_t(reverseOf(previous->digit(p)))] = true;
            }
            if (reverses[std::size_t(draw.digit(1))] || reverses[std::size_t(draw.digit(2))]
                || reverses[std::size_t(draw.digit(3))]) {
                draws.setText(kCarryCol, row, QStringLiteral("○"));
                draws.setBackColor(kCarryCol, row, kCarryBack);
            }
        }
        previous = &draw;
    });

    const int pairs = std::max(n - 1, 0);
    for (int p = 0; p < 3; ++p) {
        const int row = 2 + p;
        const std::array<int, 10>& counted = moves[std::size_t(p)];
        const int most = *std::max_element(counted.begin(), counted.end());
        for (int m = 0; m <= 9; ++m) {
            counts.setText(2 + m, row, QString::number(counted[std::size_t(m)]));
            if (most > 0 && counted[std::size_t(m)] == most)
                counts.setBackColor(2 + m, row, kMostMovesBack);
        }
        counts.setText(kTargetCol, row, QString::number(pairs));
    }
    const QString expected = pairs == 0 ? QStringLiteral("–") : item_stats::oneDecimal(pairs, 10);
    for (int m = 0; m <= 9; ++m)
        counts.setText(2 + m, kExpectedRow, expected);
}
