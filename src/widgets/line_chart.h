#pragma once
// The line chart below a window's grids (SheetLineChart): one line for each series over the
// common x axis (draw numbers, marked at round numbers and written as cells write them, "7000"),
// the legend below, the scale on the left with the amounts grouped ("-1,200"). The window sets
// the data; Qt Charts paints it at any size. It is on the screen only.

#include "catalogue/window_sheets.h"

#include <QChartView>
#include <QList>
#include <QPointF>

class QCategoryAxis;
class QValueAxis;

class LineChartView : public QChartView {
public:
    explicit LineChartView(QWidget* parent = nullptr);

    // Replaces every line; with no x, the chart shows its axes and title alone.
    void setData(const SheetLineChart& data);
    const SheetLineChart& data() const { return m_data; }

    // Room for the title, the axes, the legend and a readable line between them; squeezed, the
    // window gives the chart its share of the room there is, down to nothing.
    QSize sizeHint() const override;

    // The points of a line drawn over at most buckets parts of its x range: all of them, or,
    // where there are more than four a part, those of each part that the line passes through
    // (its first, lowest, highest and last), which draw the same line on any screen narrower
    // than the parts.
    static QList<QPointF> drawnPoints(const QVector<double>& x, const QVector<double>& y, int buckets);
    static constexpr int kBuckets = 2048;

    // The marks of an x axis from first to last: the multiples of 1, 2 or 5 × 10ⁿ (at least 1)
    // that give about five of them.
    static QVector<int> xMarks(double first, double last);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Squeezed below what the title, the axes' titles and the legend need, the chart drops them
    // (the title first), so that what room there is shows the lines rather than clipped texts.
    void fitTextsToHeight();

    SheetLineChart m_data;
    QCategoryAxis* m_x = nullptr;
    QValueAxis* m_y = nullptr;
};
