#pragma once
// What a window computes from the history: its grids, in the order it shows, prints and exports
// them. The window shows them, and the companion exports the same object, so the two cannot
// disagree.

#include "data/draw_range.h"
#include "grid/grid.h"

#include <QList>
#include <memory>
#include <optional>

class WindowSheets {
public:
    virtual ~WindowSheets() = default;

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

// What a window's computation takes besides the history.
struct SheetOptions {
    int reflected = 0; // the prediction's analyses set to 反映する
    // The draws the window covers (in a window that tests a stretch of the history, the draws
    // it tests); none: the window's default.
    std::optional<RangeChoice> range;
};
