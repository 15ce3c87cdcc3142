#pragma once
// What a window computes from the history: its grids, in the order it shows, prints and exports
// them. The window shows them, and the companion exports the same object, so the two cannot
// disagree.

#include "data/draw_range.h"
#include "grid/grid.h"

#include <QList>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>
#include <vector>

// Observed against expected counts, one pair of bars per category: what a chart below a
// window's grid shows.
struct SheetChart {
    QString title;
    QStringList labels;
    QVector<double> observed, expected;
};

// Lines over a common x axis (a draw number): what a line chart below a window's grids shows.
struct SheetLineChart {
    QString title;
    QString xTitle, yTitle;
    QVector<double> x; // ascending, the same for every series
    struct Series {
        QString name;
        QVector<double> y; // one value for each x
    };
    QVector<Series> series;
};

class WindowSheets {
public:
    virtual ~WindowSheets() = default;

    // A window whose sheets have a chart shows it below its grids, for the active cell of its
    // first grid (col, row); the chart of a cell outside the charted columns is the one of the
    // nearest charted column.
    virtual bool hasChart() const { return false; }
    virtual SheetChart chartAt(int col, int row) const
    {
        Q_UNUSED(col);
        Q_UNUSED(row);
        return {};
    }

    // A window whose sheets have a line chart shows it below its grids (and below the bar chart,
    // where it has one). The chart is on the screen only: it is neither printed nor exported.
    virtual bool hasLineChart() const { return false; }
    virtual SheetLineChart lineChart() const { return {}; }

    // The grids, for a view that shows (and so marks up) them.
    virtual QList<Grid*> sheetGrids() = 0;
    QList<const Grid*> grids() const
    {
        QList<const Grid*> all;
        for (Grid* grid : const_cast<WindowSheets*>(this)->sheetGrids())
            all << grid;
        return all;
    }
};

// The one grid of an analysis window.
class SingleGridSheets : public WindowSheets {
public:
    explicit SingleGridSheets(std::unique_ptr<Grid> grid) : m_grid(std::move(grid)) { }
    QList<Grid*> sheetGrids() override { return {m_grid.get()}; }
    Grid& grid() { return *m_grid; }
    std::unique_ptr<Grid> takeGrid() { return std::move(m_grid); }

private:
    std::unique_ptr<Grid> m_grid;
};

// The grids of a window of several tables, computed together from the same draws and shown one
// below the other, each under its title.
class GridListSheets : public WindowSheets {
public:
    explicit GridListSheets(int count)
    {
        for (int i = 0; i < count; ++i) {
            m_grids.push_back(std::make_unique<Grid>());
            // The windows draw every line they want as a border.
            m_grids.back()->setGridLinesShown(false);
        }
    }
    QList<Grid*> sheetGrids() override
    {
        QList<Grid*> all;
        for (const std::unique_ptr<Grid>& grid : m_grids)
            all << grid.get();
        return all;
    }

private:
    std::vector<std::unique_ptr<Grid>> m_grids;
};

// What a window's computation takes besides the history.
struct SheetOptions {
    int reflected = 0; // the prediction's analyses set to 反映する
    // The draws the window covers (in a window that tests a stretch of the history, the draws
    // it tests); none: the window's default.
    std::optional<RangeChoice> range;
    // The number a window that looks one up (当せん番号検索) looks up, as typed.
    QString number = {};
};
