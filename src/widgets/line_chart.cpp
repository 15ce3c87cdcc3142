#include "widgets/line_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
#include <QResizeEvent>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

LineChartView::LineChartView(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Numbers on the scale as the grids write amounts: grouped by ",", an ASCII minus.
    chart->setLocalizeNumbers(true);
    QLocale grouping(QLocale::Japanese, QLocale::Japan);
    grouping.setNumberOptions(QLocale::DefaultNumberOptions);
    chart->setLocale(grouping);
    chart->setMargins(QMargins(4, 4, 16, 4));
    // The view holds itself at least as large as its chart, whose title, axes and legend ask for
    // more room than a window tiled with many others has: squeezed, the chart gives all its room
    // to the grids above it.
    chart->setMinimumSize(1, 1);
    m_x = new QCategoryAxis(chart);
    m_x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_y = new QValueAxis(chart);
    m_y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(m_x, Qt::AlignBottom);
    chart->addAxis(m_y, Qt::AlignLeft);
    // The view made a chart of its own, which it lets go of without deleting it.
    QChart* made = this->chart();
    setChart(chart);
    delete made;
}

QSize LineChartView::sizeHint() const
{
    const int line = fontMetrics().height();
    return QSize(40 * line, 14 * line);
}

void LineChartView::setData(const SheetLineChart& data)
{
    m_data = data;
    QChart* c = chart();
    c->removeAllSeries();
    m_x->setTitleText(data.xTitle);
    m_y->setTitleText(data.yTitle);
    fitTextsToHeight();
    // The scale holds 0 and every value.
    double low = 0, high = 0;
    for (const SheetLineChart::Series& s : data.series) {
        auto* line = new QLineSeries;
        line->setName(s.name);
        const qsizetype n = std::min(s.y.size(), data.x.size());
        for (qsizetype i = 0; i < n; ++i) {
            low = std::min(low, s.y[i]);
            high = std::max(high, s.y[i]);
        }
        line->replace(drawnPoints(data.x, s.y, kBuckets));
        c->addSeries(line);
        line->attachAxis(m_x);
        line->attachAxis(m_y);
    }
    const double first = data.x.isEmpty() ? 1 : data.x.first();
    const double last = data.x.isEmpty() ? 1 : data.x.last();
    // One draw alone still gets a width.
    const double end = std::max(last, first + 1);
    for (const QString& label : m_x->categoriesLabels())
        m_x->remove(label);
    m_x->setStartValue(first - 1); // below the first mark, which may lie at first
    for (const int mark : xMarks(first, end))
        m_x->append(QString::number(mark), mark);
    m_x->setRange(first, end);
    if (high <= low)
        high = low + 1;
    m_y->setRange(low, high);
    m_y->applyNiceNumbers();
}

void LineChartView::resizeEvent(QResizeEvent* event)
{
    fitTextsToHeight();
    QChartView::resizeEvent(event);
}

void LineChartView::fitTextsToHeight()
{
    const int lines = height() / qMax(1, fontMetrics().height());
    const bool labelled = lines >= 9;
    chart()->setTitle(lines >= 12 ? m_data.title : QString());
    chart()->legend()->setVisible(labelled);
    m_x->setTitleVisible(labelled);
    m_y->setTitleVisible(labelled);
}

QList<QPointF> LineChartView::drawnPoints(const QVector<double>& x, const QVector<double>& y, int buckets)
{
    const qsizetype n = std::min(x.size(), y.size());
    QList<QPointF> points;
    if (n <= 4 * qsizetype(buckets) || !(x[n - 1] > x[0])) {
        points.reserve(n);
        for (qsizetype i = 0; i < n; ++i)
            points << QPointF(x[i], y[i]);
        return points;
    }
    // The points of each bucket of the x range that the line must pass through there: its first,
    // its lowest, its highest and its last, in their order.
    points.reserve(4 * buckets);
    const double first = x[0], span = x[n - 1] - x[0];
    qsizetype start = 0;
    while (start < n) {
        const int bucket = std::min(buckets - 1, int((x[start] - first) / span * buckets));
        qsizetype end = start + 1, lowest = start, highest = start;
        while (end < n && std::min(buckets - 1, int((x[end] - first) / span * buckets)) == bucket) {
            if (y[end] < y[lowest])
                lowest = end;
            if (y[end] > y[highest])
                highest = end;
            ++end;
        }
        qsizetype kept[4] = {start, std::min(lowest, highest), std::max(lowest, highest), end - 1};
        for (int k = 0; k < 4; ++k) {
            if (k == 0 || kept[k] != kept[k - 1])
                points << QPointF(x[kept[k]], y[kept[k]]);
        }
        start = end;
    }
    return points;
}

QVector<int> LineChartView::xMarks(double first, double last)
{
    QVector<int> marks;
    if (!(last >= first))
        return marks;
    // Of 1, 2, 5 and 10 × 10ⁿ, the step that gives the nearest to five marks, and 1 at least.
    const double range = last - first;
    double step = 1;
    if (range > 5) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(range / 5)));
        double best = -1;
        for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
            const double candidate = std::max(1.0, factor * magnitude);
            const double miss = std::abs(range / candidate - 5);
            if (best < 0 || miss < best) {
                best = miss;
                step = candidate;
            }
        }
    }
    for (double mark = std::ceil(first / step) * step; mark <= last; mark += step)
        marks << int(mark);
    return marks;
}
