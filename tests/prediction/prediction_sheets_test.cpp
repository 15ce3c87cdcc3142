// The four grids of the prediction window: layout, headings and labels, and the picks of a
// hand-worked history cell by cell.

#include "grid/colors.h"
#include "prediction/prediction_sheets.h"
#include "support/prediction_test_support.h"

#include <QPoint>
#include <QSize>
#include <gtest/gtest.h>

namespace {

using fixture::values;

bool solid(const Grid& g, int c, int r, BorderSide side)
{
    return g.border(c, r, side).style == BorderStyle::Solid;
}

class PredictionGrids : public ::testing::Test {
protected:
    PredictionSheets sheets;
};

TEST_F(PredictionGrids, LayoutHeadingsAndLabels)
{
    sheets.open(History());
    const int cols[] = {4, 6, 7, 8}, rows[] = {5, 4, 3, 2};
    for (int g = 0; g < 4; ++g) {
        const Grid& grid = sheets.grid(g);
        SCOPED_TRACE(g);
        EXPECT_EQ(QSize(grid.maxCols(), grid.maxRows()), QSize(cols[g], rows[g]));
        EXPECT_EQ(QSize(grid.visibleCols(), grid.visibleRows()), QSize(cols[g], rows[g]));
        EXPECT_TRUE(grid.autoSize() && grid.scrollBars() == ScrollBars::None && !grid.colHeadersShown()
                    && !grid.rowHeadersShown());
        EXPECT_TRUE(grid.colWidth(1) == 8 && grid.colWidth(cols[g]) == 5 && grid.rowHeight(rows[g]) == 10);
        EXPECT_EQ(grid.hAlign(cols[g], rows[g]), HAlign::Center);
        EXPECT_EQ(grid.text(2, 1), QStringLiteral("        予 想 数 字                   "));
        EXPECT_EQ(grid.hAlign(2, 1), HAlign::Left);
        for (int c : {1, cols[g]})
            EXPECT_TRUE(grid.backColor(c, 1) == colors::kHeadingBack && grid.foreColor(c, 1) == colors::kBlue) << c;
        // No line crosses the title; the band keeps the lines around it.
        for (int c = 2; c < cols[g]; ++c)
            EXPECT_FALSE(solid(grid, c, 1, BorderSide::Right) || solid(grid, c + 1, 1, BorderSide::Left)) << c;
        EXPECT_TRUE(solid(grid, 3, 1, BorderSide::Top) && solid(grid, 3, 1, BorderSide::Bottom));
    }

    const Grid& cycle = sheets.grid(0);
    EXPECT_EQ((QStringList{cycle.text(1, 2), cycle.text(1, 3), cycle.text(1, 4), cycle.text(1, 5)}),
              (QStringList{" 7回周期法", " 9回周期法", "11回周期法", "12回周期法"}));
    // Lines above and below every cell, and right of the labels only.
    EXPECT_FALSE(solid(cycle, 3, 3, BorderSide::Left) || solid(cycle, 3, 3, BorderSide::Right));
    EXPECT_TRUE(solid(cycle, 1, 4, BorderSide::Right) && !solid(cycle, 1, 4, BorderSide::Left));

    // Lines on all four sides elsewhere; the labels of grids 1 and 2 stand in one tall cell.
    const Grid& elimination = sheets.grid(1);
    EXPECT_EQ(elimination.text(1, 3), QStringLiteral("消去法"));
    EXPECT_TRUE(solid(elimination, 4, 3, BorderSide::Left) && solid(elimination, 4, 3, BorderSide::Top));
    EXPECT_FALSE(solid(elimination, 1, 2, BorderSide::Bottom) || solid(elimination, 1, 3, BorderSide::Bottom));
    EXPECT_TRUE(solid(elimination, 1, 4, BorderSide::Bottom) && solid(elimination, 1, 3, BorderSide::Left));
    EXPECT_EQ(sheets.grid(2).text(1, 2), QStringLiteral("連発予想"));
    EXPECT_FALSE(solid(sheets.grid(2), 1, 2, BorderSide::Bottom));
    EXPECT_EQ(sheets.grid(3).text(1, 2), QStringLiteral("１発予想"));
    EXPECT_TRUE(solid(sheets.grid(3), 1, 2, BorderSide::Bottom));
}

TEST_F(PredictionGrids, HandWorkedHistoryCellByCell)
{
    sheets.open(fixture::handWorkedPredictionHistory());
    sheets.refresh(0);
    // Cycle: 5 of draw 8 seen 7 draws before (draw 1), 6 of draw 10 nine, 7 of draw 12 eleven,
    // 3 of draw 16 twelve (draw 4), 5 of draw 17 nine (draw 8).
    const QStringList cycle = {" 5 ", "6  5", "7  ", "3  "};
    EXPECT_EQ(values(sheets.grid(0)), cycle);
    // Rules read draws 19, 19, 18, 18, 17, … 12, 10 (the – rules their third digit): 9 7 8 1 4 3
    // 6 9 3 6 5 8 3 9 8. The repeats are kept but not shown, and leave no gap.
    EXPECT_EQ(sheets.prediction().elimination, (std::array<int, 15>{9, 7, 8, 1, 4, 3, 6, 9, 3, 6, 5, 8, 3, 9, 8}));
    EXPECT_EQ(values(sheets.grid(1)), (QStringList{"9 7 8 1 4", "3 6 5  ", "    "}));
    // In play: 6 (9 draws; its 5 lies past an empty entry), 7 (11) and 3 (12). The 7-draw method
    // has no first entry, so its 5 never counts. 9 is within 3 of 6 and 7 but within 2 of 7
    // only; 7 brings 6, 1 brings 3.
    EXPECT_EQ(values(sheets.grid(2)), (QStringList{"6 7 3   ", "     "}));
    EXPECT_EQ(values(sheets.grid(3)), (QStringList{"7 6 3    "}));

    // One analysis reflected: each rule reads a draw further back; the cycle grid stays, and
    // nothing of the longer elimination row is left over.
    sheets.refresh(1);
    EXPECT_EQ(values(sheets.grid(0)), cycle);
    EXPECT_EQ(values(sheets.grid(1)), (QStringList{"9 7 8 3 2", "6 5   ", "    "}));
    EXPECT_EQ(values(sheets.grid(2)), (QStringList{"6 7 3   ", "     "}));
    EXPECT_EQ(values(sheets.grid(3)), (QStringList{"7 6 3    "}));

    // Every place of grids 2 and 3 is shown when the cycle table holds every digit.
    sheets.setHistory(History());
    sheets.tables().cycle = {{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, prediction::kNoDigit, prediction::kNoDigit}}};
    sheets.refresh(0);
    EXPECT_EQ(values(sheets.grid(2)), (QStringList{"0 1 2 3 4 5", "6 7 8 9  "}));
    EXPECT_EQ(values(sheets.grid(3)), (QStringList{"0 1 2 3 6 7 8"}));
}

TEST_F(PredictionGrids, ARowStandsForTheTicketsTheBacktestBuys)
{
    sheets.open(fixture::handWorkedPredictionHistory());
    sheets.refresh(0);
    // 1発 shows 7 6 3: every box number over them but the triples, in ascending digits.
    const PredictionSheets::RowTickets oneShot = sheets.ticketsAt(3, 2);
    EXPECT_EQ(oneShot.type, ticket::Type::Box);
    EXPECT_EQ(oneShot.numbers, (QStringList{"336", "337", "366", "367", "377", "667", "677"}));
    // A cycle method's row is one straight once its three digits are there; a heading is nothing.
    EXPECT_TRUE(sheets.ticketsAt(0, 2).numbers.isEmpty());
    EXPECT_TRUE(sheets.ticketsAt(3, 1).numbers.isEmpty());

    sheets.setHistory(History());
    sheets.tables().cycle = {{{0, 1, 2}, {3, 4, 5}, {6, 7, 8}, {9, prediction::kNoDigit, prediction::kNoDigit}}};
    sheets.refresh(0);
    EXPECT_EQ(sheets.ticketsAt(0, 2).type, ticket::Type::Straight);
    EXPECT_EQ(sheets.ticketsAt(0, 2).numbers, QStringList{"012"});
    EXPECT_TRUE(sheets.ticketsAt(0, 5).numbers.isEmpty());
    // Ten digits: C(10,3) numbers of three different digits and 10 × 9 with a pair.
    EXPECT_EQ(sheets.ticketsAt(2, 3).numbers.size(), 120 + 90);
}

} // namespace
