#include "render/grid_metrics.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {
// A column unit is the width of the digit "0" and a quarter more: the design's narrowest texts
// (a mark in two units, "第1数字" in five, "11回周期法" in eight) then keep a blank pixel on
// each side within the grid lines, and the columns keep their proportions.
constexpr double kCharUnitPerDigit = 1.25;
} // namespace

QFont GridMetrics::defaultFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    // 9 pt at 96 dpi, in pixels so that text keeps its size relative to the rows.
    font.setPixelSize(12);
    return font;
}

GridMetrics::GridMetrics(const QFont& font, double dpi)
    : font_(font),
      metrics_(font),
      charPixels_(kCharUnitPerDigit * QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'))),
      pointPixels_(dpi / 72.0)
{
    // The line's ascent and descent, and any glyph of the grids that reaches past them
    // (brackets in headings reach below the descent in some faces).
    const QRect ink = metrics_.tightBoundingRect(QStringLiteral("(回数字出現第差分予想0123456789●○)"));
    inkAbove_ = std::max(metrics_.ascent(), -ink.top());
    inkBelow_ = std::max(metrics_.descent(), ink.bottom() + 1);
}

int GridMetrics::colPixels(double units) const
{
    return int(std::lround(units * charPixels_));
}

int GridMetrics::rowPixels(double units) const
{
    // A row is never lower than a line of text with a blank pixel above and below it and the
    // grid line.
    const int line = inkAbove_ + inkBelow_ + 3;
    return units <= 0 ? 0 : std::max(line, int(std::lround(units * pointPixels_)));
}
