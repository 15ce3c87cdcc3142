#pragma once

#include "grid/draw_row_index.h"
#include "render/grid_painter.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QStaticText>

#include <cstdint>
#include <vector>

class Grid;
struct CellFormat;
struct ColumnSpan;
class QPainter;

// Shows a Grid read-only, painting only the cells in view. Frozen rows and columns stay at
// the top and left; the rest scrolls by whole rows and columns. The window owns the Grid and
// calls gridChanged() after changing it; layout changes are also noticed when painting.
//
// A sheet that lists the draws (Grid::drawRows) opens at its latest row (Grid::latestRow):
// the last row in view, active, with the rows below it a scroll away. Ctrl+G, or a digit typed,
// asks for a draw (回数へ移動) and goes to its row.
class GridView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit GridView(Grid* grid = nullptr, QWidget* parent = nullptr);

    // Shows the grid from its top, or from its latest row where it has one (showLatest).
    void setGrid(Grid* grid);
    // Shows another grid in place of this one (the same window computed again; the grid may
    // also be the same object, computed again in place). A view that showed the latest row (in
    // view or active) moves to the new latest row; otherwise it keeps the scroll position, the
    // active cell and the selection as far as the new grid has them, moved along with the draws
    // in view where their rows moved. A view that showed no draws yet opens at the latest row.
    void replaceGrid(Grid* grid);
    Grid* grid() const { return grid_; }
    // The grid changed (its size too): the active cell and the selection keep to the sheet.
    void gridChanged();

    // What the user has chosen in the view. The active cell: (0,0) is none; a cell outside the
    // sheet makes none active.
    void setActiveCell(int col, int row);
    int activeCol() const { return activeCol_; }
    int activeRow() const { return activeRow_; }
    // The selected block, its ends in either order; -1 for the columns selects whole rows. A
    // block outside the sheet selects nothing.
    void setSelection(int col, int row, int col2, int row2);
    void clearSelection();
    bool hasSelection() const { return !selection_.isEmpty(); }
    const CellBlock& selection() const { return selection_; }
    // In row select mode, moving the active cell selects its whole row.
    void setRowSelectMode(bool on) { rowSelectMode_ = on; }
    bool rowSelectMode() const { return rowSelectMode_; }

    // With the grid's auto-size on: exactly the visible columns and rows, headers, frame
    // and the scroll bars that will be needed. A view outside any layout also resizes to it.
    QSize sizeHint() const override;

    // Viewport rectangle of a cell at the current scroll position; it may lie outside the
    // viewport or under the frozen panes when the cell is scrolled away. Empty for hidden
    // headers and cells outside the sheet.
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point as (col, row), headers as 0; (-1,-1) outside the sheet.
    QPoint cellAt(const QPoint& pos) const;
    int firstVisibleRow() const; // first scrolled row in view
    int firstVisibleCol() const;
    int lastVisibleRow() const; // last row at least partly in view
    int lastVisibleCol() const;
    void scrollToCell(int col, int row);

    // The grid's latest row the last row fully in view and active (in the grid's latest column
    // where it names one, else in the active column, or the first). Until the user scrolls, clicks or moves the active
    // cell, or the program does, the view keeps it there while it is laid out, shown and resized. Nothing without a
    // latest row.
    void showLatest();
    // Sorts a table of items by a column, as a click on its heading does: ascending, then, on the
    // same column again, descending. The order holds for the grids that replace this one.
    void sortBy(int col);
    int sortColumn() const { return sortCol_; }
    bool sortsDescending() const { return sortDescending_; }
    bool keepsLatestInView() const { return pinnedToLatest_; }
    // A row in view with a few rows of context above and below (as far as the sheet has them),
    // and active.
    void goToRow(int row);
    // The row of a draw, as goToRow; false, and nothing moves, when the sheet lists none for it.
    bool goToDraw(int drawNo);
    // Why the sheet cannot go to a draw (it lists no row for it), for the user; empty when it can.
    QString drawRefusal(int drawNo) const;
    // 回数へ移動: asks for a draw number, starting with `typed`, and goes to its row. Only in a
    // sheet that lists draws.
    void askForDraw(const QString& typed = {});

    // Tab-separated text of the selection, or the active cell's text, each cell without the
    // blanks that place it in its cell (spreadsheetText), as a spreadsheet pastes it.
    QString copyText() const;
    void copyToClipboard() const;

    // Cells visited by the last paint, for checking that only visible ones are.
    int lastPaintedCells() const { return paintedCells_; }

    const GridMetrics& metrics() const { return gridMetrics_; }
    // Every row and column of the sheet (headers where shown), with the frame.
    QSize sheetSize() const;

    // Where a cell's text is painted, in sheet pixels: the sheet's first shown row and column
    // at the origin, nothing scrolled. span is the cell and the empty cells its text
    // overflows into; the text's top-left corner lies at the top of its line.
    struct TextPlacement {
        QRect cell, span;
        QPoint topLeft;
        int width = 0;
    };
    TextPlacement textPlacement(int col, int row) const;

Q_SIGNALS:
    void activeCellChanged(int col, int row);
    void cellClicked(int col, int row);
    void cellDoubleClicked(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // A run of columns (or rows) painted side by side: the header, the frozen ones or the
    // scrolled ones. [first,last] are in view; [logicalFirst,logicalLast] belong to the pane.
    using Pane = GridPainter::Pane;

    bool layoutStale() const;
    void ensureLayout() const;
    void updateScrollBars();
    void updateScrollBarsOnce();
    void applyAutoSize();

    int colPixels(int col) const { return colPos_[std::size_t(col) + 1] - colPos_[std::size_t(col)]; }
    int rowPixels(int row) const { return rowPos_[std::size_t(row) + 1] - rowPos_[std::size_t(row)]; }
    int headerWidth() const;
    int headerHeight() const;
    int frozenColCount() const;
    int frozenRowCount() const;
    int colX(int col) const;
    int rowY(int row) const;
    std::vector<Pane> colPanes() const;
    std::vector<Pane> rowPanes() const;
    int scrolledSpaceX() const;
    int scrolledSpaceY() const;
    int pageRows() const;

    // The cells are painted as on paper (render/grid_painter.h).
    void paintPane(QPainter& p, const Pane& rows, const Pane& cols);

    void moveActiveCell(int col, int row, bool extend);
    Pane makePane(const std::vector<int>& pos, int first, int logicalFirst, int logicalLast, int start, int limit,
                  bool header) const;
    static int hitIndex(const std::vector<int>& pos, const Pane& pane, int offset);

    Grid* grid_ = nullptr;
    GridMetrics gridMetrics_;
    GridPainter cellPainter_;

    mutable std::vector<int> colPos_; // pixel start of each column, column 0 first
    mutable std::vector<int> rowPos_;
    mutable const Grid* layoutGrid_ = nullptr;
    mutable std::uint64_t layoutRevision_ = ~std::uint64_t(0);
    std::uint64_t appliedRevision_ = ~std::uint64_t(0);
    int paintedCells_ = 0;
    bool updatingScrollBars_ = false;
    bool scrollBarsDirty_ = false;
    int anchorCol_ = 0, anchorRow_ = 0; // where a shift-extended selection starts
    int activeCol_ = 0, activeRow_ = 0;
    CellBlock selection_;
    bool rowSelectMode_ = false;

    void keepStateInSheet();

    // The latest row at the foot of the view, as showLatest places it.
    void placeLatest();
    // The rows of the draws as the view last showed them: the grid may be computed again in place
    // before it comes back through replaceGrid.
    void rememberShownDraws();
    // From the layout as last made, before the grid changed: whether the latest row was in view,
    // and how far the rows of the draws in view moved in the new grid.
    bool showedLatest() const;
    int shownDrawsMovedBy(const DrawRowIndex& now) const;
    bool handleGoToKey(QKeyEvent* event);

    DrawRowIndex shownDrawRows_;
    int shownLatestRow_ = 0;
    int sortCol_ = 0;
    bool sortDescending_ = false;
    bool pinnedToLatest_ = false;
};
