#include "analysis/digit_positions.h"

#include "grid/colors.h"

namespace {

constexpr int kDigits = 10;
constexpr int kGroups = 桁別出現分析::kGroups;
constexpr int kGroupCols = 桁別出現分析::kGroupCols;
constexpr int kFirstGroupCol = 2;
constexpr int kCols = 1 + kGroups * kGroupCols;
constexpr int kFirstDigitRow = 3;
constexpr int kLastDigitRow = kFirstDigitRow + kDigits - 1;
constexpr int kExpectedRow = kLastDigitRow + 1;
constexpr int kAnywhere = 3; // the group 全体

// Where each column of a group stands within it, and which of the shared figures it shows.
constexpr int kRestCol = 2;
constexpr int kRestIndexCol = 4;
constexpr std::array<int, kGroupCols> kFigureOfCol = {0, 1, 4, 6, 7};

int groupCol(int group)
{
    return kFirstGroupCol + group * kGroupCols;
}

} // namespace

int 桁別出現分析::groupOf(int col)
{
    if (col < kFirstGroupCol || col >= kFirstGroupCol + kGroups * kGroupCols)
        return 0;
    return (col - kFirstGroupCol) / kGroupCols;
}

const QString& 桁別出現分析::groupTitle(int group)
{
    static const std::array<QString, kGroups> titles{QStringLiteral("第1数字"), QStringLiteral("第2数字"),
                                                     QStringLiteral("第3数字"), QStringLiteral("全体")};
    return titles.at(std::size_t(group));
}

item_stats::Chance 桁別出現分析::chanceOf(int group)
{
    // Anywhere: one less the chance that none of the three is the digit, 1 − (9/10)³.
    return group == kAnywhere ? item_stats::Chance{271, 1000} : item_stats::Chance{1, 10};
}

void 桁別出現分析::mainStep(Grid& grid, const History& history)
{
    setUpSheet(grid,
               {.cols = kCols,
                .rows = kExpectedRow,
                .visibleCols = kCols,
                .visibleRows = kExpectedRow,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = kFirstDigitRow - 1,
                .rowHeight = 10,
                .colWidth = 6});
    grid.setColWidth(1, 5);
    for (int g = 0; g < kGroups; ++g)
        grid.setColWidth(groupCol(g) + kRestCol, 5);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kCols, kFirstDigitRow - 1, colors::kHeadingBack, {});
    colours(grid, 1, kFirstDigitRow, 1, kLastDigitRow, colors::kPaleYellow, colors::kRed);
    colours(grid, 1, kExpectedRow, kCols, kExpectedRow, colors::kPaleGreen, {});

    // The group titles stand at the left of the band of their five columns.
    grid.setAllowCellOverflow(true);
    grid.setText(1, 1, QStringLiteral("数字"));
    const QStringList& headings = item_stats::figureHeadings();
    for (int g = 0; g < kGroups; ++g) {
        const int col = groupCol(g);
        joinCells(grid, col, 1, col + kGroupCols - 1, 1);
        grid.setBlock(col, 1, col, 1);
        grid.setHAlign(HAlign::Left);
        grid.setText(col, 1, groupTitle(g));
        for (int i = 0; i < kGroupCols; ++i)
            grid.setText(col + i, 2, headings.at(kFigureOfCol[std::size_t(i)]));
    }

    std::array<std::array<item_stats::Comings, kDigits>, kGroups> comings;
    int draws = 0;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        ++draws;
        bool seen[kDigits] = {};
        for (int p = 1; p <= 3; ++p) {
            const int d = draw.digit(p);
            comings[std::size_t(p - 1)][std::size_t(d)].add(draws, draw.drawNo);
            // A digit drawn twice in one draw came in it once.
            if (!seen[d])
                comings[std::size_t(kAnywhere)][std::size_t(d)].add(draws, draw.drawNo);
            seen[d] = true;
        }
    }

    m_draws = draws;
    for (int d = 0; d < kDigits; ++d) {
        const int row = kFirstDigitRow + d;
        grid.setText(1, row, QString::number(d));
        for (int g = 0; g < kGroups; ++g) {
            const item_stats::Comings& c = comings[std::size_t(g)][std::size_t(d)];
            m_counts[std::size_t(g)][std::size_t(d)] = c.count();
            const QStringList figures = item_stats::figures(c, draws, chanceOf(g), history);
            for (int i = 0; i < kGroupCols; ++i)
                grid.setText(groupCol(g) + i, row, figures.at(kFigureOfCol[std::size_t(i)]));
            item_stats::markRestIndex(grid, groupCol(g) + kRestIndexCol, row, item_stats::rest(c, draws), chanceOf(g));
        }
    }

    grid.setText(1, kExpectedRow, QStringLiteral("期待値"));
    for (int g = 0; g < kGroups; ++g) {
        grid.setText(groupCol(g), kExpectedRow, item_stats::expectedText(draws, chanceOf(g)));
        grid.setText(groupCol(g) + 1, kExpectedRow, item_stats::chanceText(chanceOf(g)));
    }
    grid.setSortableRows(kFirstDigitRow, kLastDigitRow);
}

DigitPositionSheets::DigitPositionSheets(std::unique_ptr<Grid> grid, int draws, const 桁別出現分析::Counts& counts)
    : SingleGridSheets(std::move(grid)), m_draws(draws), m_counts(counts)
{
}

SheetChart DigitPositionSheets::chartAt(int col, int row) const
{
    Q_UNUSED(row);
    const int group = 桁別出現分析::groupOf(col);
    const item_stats::Chance chance = 桁別出現分析::chanceOf(group);
    SheetChart chart;
    chart.title = 桁別出現分析::groupTitle(group) + QStringLiteral("の出現回数");
    for (int d = 0; d < kDigits; ++d) {
        chart.labels << QString::number(d);
        chart.observed << double(m_counts[std::size_t(group)][std::size_t(d)]);
        chart.expected << double(qint64(m_draws) * chance.num) / double(chance.den);
    }
    return chart;
}

std::unique_ptr<WindowSheets> digitPositionSheets(const History& history, const SheetOptions&)
{
    auto grid = std::make_unique<Grid>();
    // The window draws every line it wants as a border; the title bands must read as one.
    grid->setGridLinesShown(false);
    桁別出現分析 window;
    window.mainStep(*grid, history);
    return std::make_unique<DigitPositionSheets>(std::move(grid), window.draws(), window.counts());
}
