#include "widgets/line_chart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLocale>
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
    chart->setMargins(QMargins(4, 4, 4, 4));
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
    setChart(chart);
}

void LineChartView::setData(const SheetLineChart& data)
{
    m_data = data;
    QChart* c = chart();
    c->removeAllSeries();
    c->setTitle(data.title);
    m_x->setTitleText(data.xTitle);
    m_y->setTitleText(data.yTitle);
    // The scale holds 0 and every value.
    double low = 0, high = 0;
    for (const SheetLineChart::Series& s : data.series) {
        auto* line = new QLineSeries;
        line->setName(s.name);
        QList<QPointF> points;
        const qsizetype n = std::min(s.y.size(), data.x.size());
        points.reserve(n);
        for (qsizetype i = 0; i < n; ++i) {
            points << QPointF(data.x[i], s.y[i]);
            low = std::min(low, s.y[i]);
            high = std::max(high, s.y[i]);
        }
        line->replace(points);
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
