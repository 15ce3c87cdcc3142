#pragma once
// ランダム性の検定: eight tests of whether the complete draws of a range look like draws of
// independent, uniform digits, one row each, with Holm's correction over the tests that could be
// computed. The window shows the grid and, under it, the observed and expected counts of the
// test chosen.

#include "catalogue/window_sheets.h"
#include "data/draw_range.h"
#include "data/history.h"
#include "grid/grid.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <vector>

namespace randomness {

// P(X >= x) for X chi-square with df degrees of freedom: the regularized upper incomplete gamma
// Q(df/2, x/2). 1 for x <= 0.
double chiSquareUpperTail(double x, int df);
// P(|Z| >= |z|) for Z standard normal.
double normalTwoSided(double z);
// Holm's step-down adjustment of p-values, returned in the order given.
std::vector<double> holm(const std::vector<double>& p);

} // namespace randomness

class RandomnessSheet : public WindowSheets {
public:
    static constexpr int kTestCount = 8;

    // Grid columns.
    enum Column {
        kNameCol = 1,
        kCountCol,
        kStatisticCol,
        kDfCol,
        kPCol,
        kAdjustedPCol,
        kVerdictCol,
        kColCount = kVerdictCol
    };
    static constexpr int kFirstTestRow = 2;

    // The verdicts and their colours.
    static const QString kSuspect; // 偏りの疑い
    static const QString kNoBias; // 偏りなし
    static const QString kUndecided; // 判定できません
    static const QString kDash; // "–" in the cells of a test that cannot be computed
    static constexpr GridColor kSuspectBack = rgb(255, 215, 215);
    static constexpr GridColor kSuspectFore = rgb(200, 0, 0);
    static constexpr GridColor kUndecidedFore = rgb(128, 128, 128);
    static constexpr double kSignificance = 0.05;

    // The name of each test, in row order.
    static const std::array<QString, kTestCount>& testNames();

    // All complete draws: the first to the last complete draw number; from > to when there is none.
    static DrawRange defaultRange(const History& history);

    // Lays the grid out and fills it for the complete draws whose draw number lies in range.
    void compute(const History& history, DrawRange range);
    Grid& grid() { return m_grid; }
    const Grid& grid() const { return m_grid; }

    QList<Grid*> sheetGrids() override { return {&m_grid}; }

    // One test as computed.
    struct Result {
        int count = 0; // 対象回数: draws used (pairs for 引っ張り)
        bool computed = false; // false: too few draws, nothing below is set
        double statistic = 0; // chi-square, or z
        int df = 0; // 0 for the z tests
        double p = 1;
        double adjustedP = 1; // Holm, over the tests computed
        bool suspect() const { return computed && adjustedP < kSignificance; }
    };
    const std::array<Result, kTestCount>& results() const { return m_results; }

    // Observed against expected counts of one test (0-based, in row order), for the bar chart
    // under the table; one label per bar pair. Empty vectors when the test cannot be computed.
    struct Chart {
        QString title;
        QStringList labels;
        QVector<double> observed, expected;
    };
    Chart chart(int test) const;

private:
    void evaluate(const History& history, DrawRange range);
    void write(Grid& grid) const;

    Grid m_grid;
    std::array<Result, kTestCount> m_results{};
    std::array<Chart, kTestCount> m_charts{};
};
