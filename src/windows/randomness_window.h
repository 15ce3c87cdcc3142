#pragma once
// ランダム性の検定: eight tests of whether the draws in a stretch of the history look like a fair
// draw, with a chart of observed against expected counts for the test chosen in the table.

#include "analysis/randomness.h"
#include "windows/range_window.h"

#include <memory>

class BarChart;
class GridView;

class RandomnessWindow : public RangeWindow {
public:
    static constexpr QSize kSize{900, 640};

    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record);

    const RandomnessSheet& sheet() const { return m_sheet; }
    // The test (0-based, in the table's order) whose counts the chart shows.
    int chartedTest() const { return m_test; }
    void chartTest(int test);

    GridView* fpSpread1 = nullptr;
    BarChart* chart = nullptr;

protected:
    void compute(const History& history, DrawRange range) override;
    void showResult() override;
    QList<const Grid*> shownGrids() const override;

private:
    RandomnessWindow(WindowHost& host, const catalogue::WindowRecord& record);

    RandomnessSheet m_sheet;
    std::unique_ptr<RandomnessSheet> m_computed;
    int m_test = 0;
};
