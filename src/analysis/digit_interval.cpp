#include "analysis/digit_interval.h"

#include "grid/colors.h"

namespace {

// "-9" … "-1", "0", "+1" … "+9", made once for the whole fill.
const QString& differenceText(int difference)
{
    static const std::array<QString, 19> texts = [] {
        std::array<QString, 19> t;
        for (int d = -9; d <= 9; ++d)
            t[d + 9] = d > 0 ? QStringLiteral("+") + QString::number(d) : QString::number(d);
        return t;
    }();
    return texts[difference + 9];
}

} // namespace

数字間隔分析::数字間隔分析()
    : HeadAndFootDigitTable({.titleCol = 2,
                             .title = QStringLiteral("　当 選 数 字"),
                             .outlinedBand = false,
                             .resultCaption = QStringLiteral("差分")})
{
}

void 数字間隔分析::startFill()
{
    m_previous = {0, 0, 0};
}

void 数字間隔分析::fillResults(Grid& grid, int row, int, const std::array<int, 3>& digits)
{
    // The first row has nothing before it to differ from.
    if (row > kFirstDataRow) {
        for (int p = 1; p <= 3; ++p) {
            const int d = digits[p - 1] - m_previous[p - 1];
            grid.setText(resultCol(p), row, differenceText(d));
            if (d < 0)
                grid.setBackColor(resultCol(p), row, colors::kPaleMagenta);
        }
    }
    m_previous = digits;
}
