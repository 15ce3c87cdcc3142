#pragma once
// The catalogue of the program's windows: one record each, saying all that the rest of the
// program needs to know of a window. The main window builds its menus and registers its
// children from it, the help looks up its keywords in it, the companion lists and exports
// what it names, and the family-wide tests walk it. Nothing else names a window.
//
// A new table-shaped analysis window needs its sheet builder (a class computing its grid from a
// History), its test, its help page and its record below; docs/architecture.md has the recipe.

#include "catalogue/window_sheets.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

class History;

namespace catalogue {

// The kind of window a record is shown in; the host has one factory for each.
enum class Frame {
    Analysis, // the analysis frame: description, legend, one grid, 閉じる (and 印刷)
    Prediction, // the prediction window with its option choices
    Backtest, // a range window with the backtest's two grids
    Randomness, // a range window with the randomness table and its chart
    Entry, // the draw-result entry sheet
    Tickets, // the player's ticket ledger (購入記録)
    Version, // the version dialog
    Help, // the manual
};

// The legend beside the grid of some analysis windows.
enum class Legend {
    None,
    Mark13, // a 13 px picture of the mark, then "：当選数字"
    Dot19, // a 19 px blue dot, then "：当選数字"
    Ball19, // a 19 px shaded blue ball, then "：当選数字"
    PreviousDigitSwatch, // a light-cyan swatch, then ":前回の数字"
};

// Where a window's entry hangs in the menu bar.
struct MenuPlace {
    QString menu; // the object name of the menu it is in; empty: the bar itself
    QString item; // the object name of its action
    QString text; // as shown, with its accelerator
    int position = 0; // the entries of a menu (windows, sub-menus, commands) go by position
    bool separatorBefore = false;
    QString shortcut; // in portable text ("Ctrl+1"); empty: none
};

using SheetBuilder = std::unique_ptr<WindowSheets> (*)(const History&, const SheetOptions&);

struct WindowRecord {
    QString form; // the window's name, by which it is opened and exported
    QString caption; // its title bar, and the name on paper
    QString description; // the line at its top
    Frame frame = Frame::Analysis;
    MenuPlace menu;
    QString helpPage; // its page of the manual, with an #anchor where it has one
    QStringList helpKeywords; // besides its form name, caption and menu text
    // What the window does to propEnd once built (true again when it closes); none: nothing.
    std::optional<bool> propEndAtLoad;
    // Opens only while propEnd is True (no window that holds the entry back is open).
    bool opensOnlyWhenPropEnd = false;

    // The analysis frame's look.
    int widthTwips = 0;
    int heightTwips = 0;
    Legend legend = Legend::None;
    bool printButton = false;

    // What it computes: null for a window that shows no grids of the history.
    SheetBuilder build = nullptr;
    bool usesPredictionFlags = false; // the computation takes the prediction's 反映する count
    // The computation takes the whole history and the range resolved against it (予想の検証 and
    // ランダム性の検定, which test the draws of the range against every earlier draw; 収支, whose
    // ticket lines name draws past the history's end); every other window computes from the draws
    // of its range alone.
    bool takesRange = false;
    // The range is the draws it tests (予想の検証, ランダム性の検定): the companion's usage says so,
    // and its --from and --to take 0 too, as they did before every window had a range.
    bool testsDraws = false;
    // The computation looks up a number the player types (SheetOptions::number): the frame
    // shows a number box and 検索, and the companion takes --number.
    bool takesNumber = false;
    // The computation reads the player's ticket lines (History::tickets()): the window computes
    // anew when they change, as every window does when the draws do.
    bool showsTickets = false;
    RangeChoice defaultRange; // the draws it covers until the player chooses others
    QString defaultRangeText; // for the companion's usage: the default of a window that takes a range
    // How it prints and exports: the line above each grid (by index), and what the companion's
    // usage says of the export where it is more than one table.
    QStringList titles;
    QString exportNote;

    bool computes() const { return build != nullptr; }
};

// Every window, in the order the companion lists them.
const QVector<WindowRecord>& windows();
const WindowRecord* findWindow(const QString& form);
// The records shown in a given frame.
QVector<const WindowRecord*> windowsIn(Frame frame);

// The record's grids computed from a history, as the window computes them when it opens: over
// the range the options give (none: the record's default), applied to the history
// (RangeChoice::drawsOf) or, for a window that takes a range, handed to it as the draws to test.
std::unique_ptr<WindowSheets> computeSheets(const WindowRecord& record, const History& history,
                                            const SheetOptions& options = {});

// The record's grids as the companion exports them in JSON: one grid, its object; several,
// {"window", "grids"}, each grid of an analysis window headed by its title. (In CSV, the grids
// separated by an empty line: gridsToCsv.)
QByteArray exportJson(const WindowRecord& record, const QList<const Grid*>& grids);

} // namespace catalogue
