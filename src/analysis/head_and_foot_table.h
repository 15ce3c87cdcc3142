#pragma once
// The table that 出現間隔分析 and 数字間隔分析 share: one row per draw number between two heading
// rows at the head and the same two, mirrored, at the foot. Column 1 holds the draw number,
// columns 2, 4 and 6 the three digits, columns 3, 5 and 7 what the window works out for the
// digit to their left.

#include "analysis/analysis_window.h"

#include <QString>
#include <array>

class HeadAndFootDigitTable : public HeadAndFootAnalysis {
protected:
    // What the two windows write differently into their heading rows.
    struct Headings {
        int titleCol = 2; // the title is written here and spills over the band
        QString title;
        bool outlinedBand = false; // the band gets an outline, or no lines of its own
        QString resultCaption; // over columns 3, 5 and 7
    };

    explicit HeadAndFootDigitTable(Headings headings) : m_headings(std::move(headings)) { }

    static constexpr int kCols = 7;
    static constexpr int kFirstDataRow = 3;
    static constexpr int digitCol(int position) { return 2 * position; } // position 1–3
    static constexpr int resultCol(int position) { return 2 * position + 1; }

    // Before the walk over the history.
    virtual void startFill() = 0;
    // For each complete draw, once its number and digits are in its row.
    virtual void fillResults(Grid& grid, int row, int drawNo, const std::array<int, 3>& digits) = 0;

private:
    void layout(Grid& grid, const History& history) final;
    void headings(Grid& grid, int baseRow, bool bottom) final;
    // Every record takes a row, so an incomplete draw leaves its row empty.
    void fill(Grid& grid, const History& history) final;

    Headings m_headings;
};
