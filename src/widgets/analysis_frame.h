#pragma once
// The frame every analysis window shares: a description, an optional legend, the grid (or the
// grids, one below the other under their titles; the last takes the room left, or a chart of the
// active cell's column below the grid does, or the sheets' line chart below them), and the range bar beside the close
// and print buttons. It runs the load sequence, and computes its grid again whenever its host hands it a new history or
// the player chooses other draws. The grid prints, and saves as PDF or CSV, from its context menu and, where the window
// has one, the print button.

#include "catalogue/window_catalogue.h"
#include "data/history.h"
#include "widgets/child_frame.h"

#include <memory>

class BarChart;
class LineChartView;
class GridView;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;

class AnalysisFrame : public ChildFrame {
public:
    // The load sequence: hourglass, placement and size, the window's main step over the host's
    // current history. Returns the sub-window, shown in the host's client area.
    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record);

    // Computes the grid from the host's current history over the range the window covers.
    AnalysisFrame(WindowHost& host, const catalogue::WindowRecord& record);

    void computeFrom(const History& history) override;
    void showComputed() override;
    bool showsTickets() const override { return record().showsTickets; }

    Grid& grid() { return *m_sheets->sheetGrids().first(); }

    QLabel* Label1 = nullptr;
    QLabel* Picture1 = nullptr; // the legend's picture, where the window has one
    QLabel* Label2 = nullptr; // the legend's text (or swatch, in the carry-over window)
    QLabel* Label3 = nullptr; // the carry-over window's legend text
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr; // 印刷, where the window has it
    GridView* fpSpread1 = nullptr;
    // Every grid's view (fpSpread1 first) and the titles above them (null where none).
    QList<GridView*> views;
    QList<QLabel*> titleLabels;
    BarChart* chart = nullptr; // where the window's sheets have a chart
    LineChartView* lineChart = nullptr; // where they have a line chart
    // A window that looks up a number: the box it is typed in, 検索, and what is wrong with it.
    QLineEdit* numberBox = nullptr;
    QPushButton* searchButton = nullptr;
    QLabel* numberMessage = nullptr;

    // The number looked up, as typed when 検索 was last pressed.
    const QString& number() const { return m_number; }
    // Looks the box's number up over the range (検索).
    void search();

protected:
    QList<const Grid*> shownGrids() const override { return m_sheets->grids(); }
    const History& shownHistory() const override { return m_history; }
    QStringList shownNotes() const override;

private:
    void buildLegend(class QHBoxLayout* row);
    void fitGridsToSheets();
    void showChart(int col, int row);
    void buildNumberRow(class QVBoxLayout* layout);
    SheetOptions options() const;

    std::unique_ptr<WindowSheets> m_sheets;
    std::unique_ptr<WindowSheets> m_computed; // made by computeFrom, waiting to be shown
    History m_history; // the grid was computed from it
    History m_computedHistory; // m_computed is computed from it
    int m_chartCol = 1, m_chartRow = 1; // the cell the chart is of
    QString m_number;
};
