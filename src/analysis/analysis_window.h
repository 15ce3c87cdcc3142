#pragma once
// What every analysis window computes: its whole grid, from the draw history it is given and the
// start-up figures of that history. The shapes below are the main steps several windows share.

#include "data/history.h"
#include "grid/grid.h"

#include <QString>
#include <QVector>
#include <memory>

// Every side of every cell of a block.
inline constexpr BorderSides kAllSides = BorderSide::Left | BorderSide::Right | BorderSide::Top | BorderSide::Bottom;

// The layout every analysis sheet starts from.
struct SheetLayout {
    int cols = 0;
    int rows = 0;
    int visibleCols = 0;
    int visibleRows = 0;
    ScrollBars scrollBars = ScrollBars::Vertical;
    int frozenRows = 0;
    int frozenCols = 0;
    double rowHeight = 10;  // every row, before the window sets its own
    double colWidth = 5;    // every column, before the window sets its own
};

class AnalysisWindow {
public:
    virtual ~AnalysisWindow() = default;
    // Lays the grid out, writes the headings and fills it from the history.
    virtual void mainStep(Grid& grid, const History& history) = 0;

protected:
    // Sheet size, visible counts with auto-size, built-in headers hidden, scroll bars shown only
    // when needed and following the thumb, frozen panes, row heights and column widths, and every
    // cell static text centred both ways.
    static void setUpSheet(Grid& grid, const SheetLayout& layout);

    // Block helpers: -1 for a column or row means all of them.
    static void block(Grid& grid, int col, int row, int col2, int row2) { grid.setBlock(col, row, col2, row2); }
    // Every cell of a range becomes static text, centred both ways.
    static void staticCentred(Grid& grid, int col, int row, int col2, int row2);
    static void colours(Grid& grid, int col, int row, int col2, int row2, GridColor back, GridColor fore);
    static void borders(Grid& grid, int col, int row, int col2, int row2, BorderSides sides,
                        BorderStyle style, GridColor colour = rgb(0, 0, 0));
};

// Headings in row 1, data from row 2.
class OneHeadingRowAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int headingRow) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};

// Two heading rows at the head and the same two, mirrored, below the last draw row.
class HeadAndFootAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int baseRow, bool bottom) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};

// Three heading rows; the headings routine writes from base row 2.
class ThreeHeadingRowsAnalysis : public AnalysisWindow {
public:
    void mainStep(Grid& grid, const History& history) final;

protected:
    virtual void layout(Grid& grid, const History& history) = 0;
    virtual void headings(Grid& grid, int baseRow) = 0;
    virtual void fill(Grid& grid, const History& history) = 0;
};

// The legend beside the grid of some windows.
enum class Legend {
    None,
    Mark13,                // a 13 px picture of the mark, then "：当選数字"
    Dot19,                 // a 19 px blue dot, then "：当選数字"
    Ball19,                // a 19 px shaded blue ball, then "：当選数字"
    PreviousDigitSwatch,   // a light-cyan swatch, then ":前回の数字"
};

// One row of the family of analysis windows.
struct AnalysisWindowInfo {
    QString form;          // the window's name
    QString caption;
    QString description;   // Label1
    int widthTwips = 0;
    int heightTwips = 0;
    Legend legend = Legend::None;
    bool printButton = false;
    bool propEndAtLoad = false;  // most windows block the entry window while open
    std::unique_ptr<AnalysisWindow> (*create)() = nullptr;  // null: not in this build yet

    bool available() const { return create != nullptr; }
};

// The family, in the order of the table the windows are described in.
const QVector<AnalysisWindowInfo>& analysisWindows();
const AnalysisWindowInfo* findAnalysisWindow(const QString& form);

// Computes the grid of a window from a history, as the window does at load.
std::unique_ptr<Grid> computeAnalysisGrid(const AnalysisWindowInfo& info, const History& history);
