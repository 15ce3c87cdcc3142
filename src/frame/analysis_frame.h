#pragma once
// The frame every analysis window shares: a description, an optional legend, the grid, and the
// close and print buttons. It runs the load sequence and keeps propEnd of the main window.

#include "analysis/analysis_window.h"
#include "frame/grid.h"

#include <QWidget>
#include <memory>

class GridView;
class MainFrm;
class QLabel;
class QMdiSubWindow;
class QPushButton;

class AnalysisFrame : public QWidget {
public:
    // The load sequence: hourglass, propEnd, placement and size, the window's main step.
    // Returns the sub-window, shown in the main window's client area.
    static QMdiSubWindow* load(MainFrm& main, const AnalysisWindowInfo& info);

    AnalysisFrame(MainFrm& main, const AnalysisWindowInfo& info, std::unique_ptr<Grid> grid);

    Grid& grid() { return *m_grid; }
    const AnalysisWindowInfo& info() const { return m_info; }

    QLabel* Label1 = nullptr;
    QLabel* Picture1 = nullptr;     // the legend's picture, where the window has one
    QLabel* Label2 = nullptr;       // the legend's text (or swatch, in the carry-over window)
    QLabel* Label3 = nullptr;       // the carry-over window's legend text
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;  // 印刷, where the window has it
    GridView* fpSpread1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLegend(class QHBoxLayout* row);
    void fitGridToSheet();

    MainFrm& m_main;
    const AnalysisWindowInfo& m_info;
    std::unique_ptr<Grid> m_grid;
};
