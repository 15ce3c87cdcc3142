#pragma once
// The line chart below a window's grids (SheetLineChart): one line for each series over the
// common x axis (draw numbers, marked at round numbers and written as cells write them, "7000"),
// the legend below, the scale on the left with the amounts grouped ("-1,200"). The window sets
// the data; Qt Charts paints it at any size. It is on the screen only.

#include "catalogue/window_sheets.h"

#include <QChartView>

class QCategoryAxis;
class QValueAxis;

class LineChartView : public QChartView {
public:
    explicit LineChartView(QWidget* parent = nullptr);

    // Replaces every line; with no x, the chart shows its axes and title alone.
    void setData(const SheetLineChart& data);
    const SheetLineChart& data() const { return m_data; }

    // The marks of an x axis from first to last: the multiples of 1, 2 or 5 × 10ⁿ (at least 1)
    // that give about five of them.
    static QVector<int> xMarks(double first, double last);

private:
    SheetLineChart m_data;
    QCategoryAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
};
