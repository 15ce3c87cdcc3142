#pragma once
// How a grid's cells are painted, the one rule for the screen (GridView) and paper (PageLayout):
// backgrounds in runs of one colour (white is the paper's), grid lines on each cell's right and
// bottom edge except where a text overflows, texts that spill into empty neighbours, borders on
// top. Coordinates are the grid's pixels, as GridMetrics gives them; paper scales the painter.

#include "grid/grid.h"
#include "render/grid_metrics.h"

#include <QColor>
#include <QHash>
#include <QPoint>
#include <QRect>
#include <QStaticText>

#include <vector>

class QPainter;

// A block of cells, both ends included; col -1 stands for whole rows. No rows: no block.
struct CellBlock {
    int col = 0, row = 0, col2 = 0, row2 = 0;
    bool isEmpty() const { return row <= 0; }
    friend bool operator==(const CellBlock&, const CellBlock&) = default;
};

class GridPainter {
public:
    explicit GridPainter(const GridMetrics& metrics);

    // Pixel start of every column (row) from column (row) 0, and the end of the last one:
    // maxCols() + 2 (maxRows() + 2) values.
    static std::vector<int> colStarts(const Grid& grid, const GridMetrics& metrics);
    static std::vector<int> rowStarts(const Grid& grid, const GridMetrics& metrics);

    // A run of columns (or rows) painted side by side: the header, the frozen ones or the
    // scrolled ones. [first,last] are painted; [logicalFirst,logicalLast] belong to the pane
    // (a text overflows within them, from cells out of view too).
    struct Pane {
        int first = 1, last = 0;
        int logicalFirst = 1, logicalLast = 0;
        int start = 0, end = 0; // pixel extent
        bool header = false;
        bool isEmpty() const { return first > last || start >= end; }
    };

    // Lines at least a device pixel wide however small the painter's scale (paper, whose
    // preview shows whole pages); on screen a line is a pixel already.
    void setMinimumLineWidth(bool on) { linesAtLeastAPixel_ = on; }

    // Paints the cells of one pane of rows by one of columns, clipped to the panes. Borders may
    // reach one pixel into the panes above and left, never outside bounds. An invalid selection
    // colour leaves the grid's selection unpainted.
    void paintPane(QPainter& p, const Grid& grid, const std::vector<int>& colPos, const std::vector<int>& rowPos,
                   const Pane& rows, const Pane& cols, const QRect& bounds, const QColor& selection = QColor(),
                   const CellBlock& selected = {});

    // A text as the grids paint it, shaped once: sheets repeat a few short texts endlessly.
    struct ShapedText {
        QStaticText text;
        int width = 0;
    };
    const ShapedText& shaped(const QString& text) const;

    // Columns the text of (col,row), textWidth pixels wide, covers when it overflows.
    ColumnSpan overflowSpan(const Grid& grid, const std::vector<int>& colPos, int col, int row, int textWidth) const;
    // Where a one-line text of the given width starts in its cell (the top of its line).
    QPoint textTopLeft(int width, const QRect& cell, const CellFormat& format) const;

    static const QColor kGridLineColor;
    static const QColor kHeaderLineColor;

private:
    void paintText(QPainter& p, const QString& text, int width, const QRect& cell, const QRect& span,
                   const CellFormat& format, const QColor& fore);

    const GridMetrics& metrics_;
    bool linesAtLeastAPixel_ = false;
    mutable QHash<QString, ShapedText> shapedCache_;
};
