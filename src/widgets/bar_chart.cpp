#include "widgets/bar_chart.h"

#include "render/grid_metrics.h"

#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

const QString BarChart::kObservedLegend = QStringLiteral("実測");
const QString BarChart::kExpectedLegend = QStringLiteral("期待値");

namespace {

const QColor kObservedColor(70, 120, 200);
const QColor kExpectedColor(240, 160, 60);
const QColor kAxisColor(120, 120, 120);
const QColor kGuideColor(225, 225, 225);

// A round step for about `lines` guide lines up to `top`: 1, 2 or 5 times a power of ten.
double niceStep(double top, int lines)
{
    const double raw = top / std::max(1, lines);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (raw <= m * power)
            return m * power;
    }
    return 10 * power;
}

QString valueText(double v)
{
    return std::abs(v - std::round(v)) < 1e-9 ? QString::number(qint64(std::llround(v))) : QString::number(v, 'f', 1);
}

} // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent)
{
    setFont(GridMetrics::defaultFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BarChart::setData(Data data)
{
    data_ = std::move(data);
    update();
}

QSize BarChart::sizeHint() const
{
    const int line = fontMetrics().height();
    return {std::max(360, int(data_.labels.size()) * 44 + 80), 14 * line};
}

QSize BarChart::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {160, 8 * line};
}

BarChart::Geometry BarChart::geometry() const
{
    const QFontMetrics m = fontMetrics();
    double top = 0;
    for (const double v : data_.observed)
        top = std::max(top, v);
    for (const double v : data_.expected)
        top = std::max(top, v);
    Geometry g;
    const double step = niceStep(top > 0 ? top : 1, 5);
    g.top = std::ceil((top > 0 ? top : 1) / step) * step;
    const int scaleWidth = m.horizontalAdvance(valueText(g.top)) + 10;
    const int line = m.height();
    g.plot = rect().adjusted(scaleWidth + 6, 2 * line + 8, -10, -(line + 8));
    return g;
}

int BarChart::categoryAt(const QPoint& pos) const
{
    const qsizetype n = data_.labels.size();
    const Geometry g = geometry();
    if (n == 0 || !g.plot.contains(pos))
        return -1;
    return int((pos.x() - g.plot.left()) * n / std::max(1, g.plot.width()));
}

bool BarChart::event(QEvent* event)
{
    // Pointing at a pair of bars tells its two values.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = categoryAt(help->pos());
        if (i < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const double observed = i < data_.observed.size() ? data_.observed[i] : 0;
        const double expected = i < data_.expected.size() ? data_.expected[i] : 0;
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("%1\n%2: %3\n%4: %5")
                               .arg(data_.labels[i], kObservedLegend, valueText(observed), kExpectedLegend,
                                    QString::number(expected, 'f', 2)),
                           this);
        return true;
    }
    return QWidget::event(event);
}

void BarChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QFontMetrics m = fontMetrics();
    const int line = m.height();
    p.setPen(palette().text().color());
    p.drawText(QRect(8, 4, width() - 16, line), Qt::AlignLeft | Qt::AlignVCenter, data_.title);

    const qsizetype n = data_.labels.size();
    if (n == 0) {
        p.setPen(kAxisColor);
        p.drawText(rect(), Qt::AlignCenter, QStringLiteral("この検定は対象回数が足りないため計算できません"));
        return;
    }

    // The legend, right of the title.
    int x = width() - 10;
    for (const auto& [text, color] :
         {std::pair{kExpectedLegend, kExpectedColor}, std::pair{kObservedLegend, kObservedColor}}) {
        const int w = m.horizontalAdvance(text);
        x -= w;
        p.setPen(palette().text().color());
        p.drawText(QRect(x, 4, w, line), Qt::AlignVCenter, text);
        x -= line;
        p.fillRect(QRect(x, 4 + line / 4, line - 4, line / 2), color);
        x -= 12;
    }

    const Geometry g = geometry();
    const QRect plot = g.plot;
    if (plot.width() <= 0 || plot.height() <= 0)
        return;
    auto yOf = [&](double v) { return plot.bottom() - int(std::lround(v / g.top * plot.height())); };

    // Guide lines and the scale.
    const double step = niceStep(g.top, 5);
    for (double v = 0; v <= g.top + step / 2; v += step) {
        const int y = yOf(v);
        p.setPen(v == 0 ? kAxisColor : kGuideColor);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kAxisColor);
        p.drawText(QRect(0, y - line / 2, plot.left() - 6, line), Qt::AlignRight | Qt::AlignVCenter, valueText(v));
    }

    // The bars, each pair in its share of the width, the labels below.
    const double share = double(plot.width()) / double(n);
    const int barWidth = std::max(2, int(share * 0.36));
    for (qsizetype i = 0; i < n; ++i) {
        const int centre = plot.left() + int(share * (double(i) + 0.5));
        const double observed = i < data_.observed.size() ? data_.observed[i] : 0;
        const double expected = i < data_.expected.size() ? data_.expected[i] : 0;
        const int yo = yOf(observed), ye = yOf(expected);
        p.fillRect(QRect(centre - barWidth, yo, barWidth, plot.bottom() - yo), kObservedColor);
        p.fillRect(QRect(centre, ye, barWidth, plot.bottom() - ye), kExpectedColor);
        p.setPen(palette().text().color());
        const QString& label = data_.labels[i];
        const QRect labelRect(centre - int(share / 2), plot.bottom() + 4, int(share), line);
        p.drawText(labelRect, Qt::AlignHCenter | Qt::AlignTop,
                   m.horizontalAdvance(label) <= labelRect.width()
                       ? label
                       : m.elidedText(label, Qt::ElideRight, labelRect.width()));
    }
}
