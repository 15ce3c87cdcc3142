#pragma once
// The four grids of the prediction window, fpSpread1(0..3): cycle methods, elimination,
// repeat and one-shot picks. Laid out and filled here, without widgets, so the companion
// exports exactly what the window shows.

#include "catalogue/window_sheets.h"
#include "data/tickets.h"
#include "grid/grid.h"
#include "prediction/predictor.h"

#include <QString>
#include <QStringList>
#include <array>

class History;

class PredictionSheets : public WindowSheets {
public:
    static constexpr int kGridCount = 4;
    // Value columns from column 2: grids 1 to 3 are as wide as their arrangement of places, so
    // every pick is shown.
    static constexpr std::array<int, kGridCount> kValueCols = {3, 5, 6, 7};
    static constexpr std::array<int, kGridCount> kRows = {5, 4, 3, 2};
    static const QString kHeading;
    // The captions above the four grids, in the window and on paper.
    static const QStringList kTitles;

    PredictionSheets();

    // The draw the picks are for, and the draws they come from:
    // "第7090回の予想（第7089回までの当選番号から）".
    static QString targetText(const History& history);

    Grid& grid(int index) { return m_grids.at(index); }
    const Grid& grid(int index) const { return m_grids.at(index); }
    QList<Grid*> sheetGrids() override { return {&m_grids[0], &m_grids[1], &m_grids[2], &m_grids[3]}; }

    // What opening the window computes: the layout and headings of grid 0, 1, 2 and 3 in
    // turn, then the draw and cycle tables from the history.
    void open(const History& history);
    // The draw and cycle tables from another history (the layout stays as it is); refresh()
    // then shows its picks.
    void setHistory(const History& history);
    // The picks with `reflected` analyses set to "反映する", written into the value cells
    // (those of grids 1 to 3 emptied first).
    void refresh(int reflected);

    const prediction::PredictionTables& tables() const { return m_tables; }
    prediction::PredictionTables& tables() { return m_tables; }
    const prediction::Prediction& prediction() const { return m_prediction; }

    // What a row of the window stands for, as 予想の検証 buys it: a cycle method's row of grid 0
    // (rows 2 to 5) its three digits as one ストレート, once all three are there; any row of grids
    // 1 to 3 (消去法, 連発予想, １発予想) one ボックス number for every three of their digits, each
    // digit used any number of times but not all three the same, in ascending order ("112",
    // "123"). No numbers for any other row.
    struct RowTickets {
        ticket::Type type = ticket::Type::Straight;
        QStringList numbers;
    };
    RowTickets ticketsAt(int grid, int row) const;

private:
    void layOut(int index);
    void headings(int index);
    void show();

    std::array<Grid, kGridCount> m_grids;
    prediction::PredictionTables m_tables;
    int m_lastDrawNo = 0; // of the history the tables were built from
    prediction::Prediction m_prediction{};
};
