#pragma once
// 桁別出現分析: each digit at each position (第1数字, 第2数字, 第3数字) and anywhere in the draw
// (全体), with how often it came against chance, how long it has been away and its longest wait;
// below the grid, a chart of one group's counts against chance.

#include "analysis/analysis_window.h"
#include "analysis/item_statistics.h"
#include "catalogue/window_sheets.h"

#include <array>
#include <memory>

class 桁別出現分析 : public AnalysisWindow {
public:
    // The groups of columns, in their order: 第1数字, 第2数字, 第3数字, 全体; five columns each
    // (出現回数, 出現率, 休止, 最大間隔, 休止指数) from column 2.
    static constexpr int kGroups = 4;
    static constexpr int kGroupCols = 5;
    using Counts = std::array<std::array<int, 10>, kGroups>;

    void mainStep(Grid& grid, const History& history) override;

    // What the last mainStep counted: the draws, and each group's 出現回数 of each digit.
    int draws() const { return m_draws; }
    const Counts& counts() const { return m_counts; }

    // The group a column of the grid belongs to; 0 (第1数字) for a column of none.
    static int groupOf(int col);
    static const QString& groupTitle(int group);
    // A digit's chance in one draw: 1/10 at a position, 271/1000 anywhere of the three.
    static item_stats::Chance chanceOf(int group);

private:
    int m_draws = 0;
    Counts m_counts{};
};

// The grid with the chart below it: the chart follows the group of the active cell, from the
// counts kept here (the rows of the grid may have been sorted).
class DigitPositionSheets : public SingleGridSheets {
public:
    DigitPositionSheets(std::unique_ptr<Grid> grid, int draws, const 桁別出現分析::Counts& counts);

    bool hasChart() const override { return true; }
    SheetChart chartAt(int col, int row) const override;

private:
    int m_draws;
    桁別出現分析::Counts m_counts;
};

std::unique_ptr<WindowSheets> digitPositionSheets(const History& history, const SheetOptions& options);
