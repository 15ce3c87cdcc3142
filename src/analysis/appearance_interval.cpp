#include "analysis/appearance_interval.h"

#include "data/draw.h"

出現間隔分析::出現間隔分析()
    : HeadAndFootDigitTable({.titleCol = 4,
                             .title = QStringLiteral("　当 選 数 字     "),
                             .outlinedBand = true,
                             .resultCaption = QStringLiteral("出現")})
{
}

void 出現間隔分析::startFill()
{
    m_digitTable.assign(draw::kMaxDrawNo + 1, {0, 0, 0});
    m_intervalTexts.assign(draw::kMaxDrawNo + 1, QString());
}

const QString& 出現間隔分析::intervalText(int interval)
{
    QString& text = m_intervalTexts[interval];
    if (text.isEmpty())
        text = QString::number(interval) + QStringLiteral("回前");
    return text;
}

void 出現間隔分析::fillResults(Grid& grid, int row, int drawNo, const std::array<int, 3>& digits)
{
    for (int p = 0; p < 3; ++p)
        m_digitTable[drawNo][p] = std::int8_t(digits[p]);

    // Only earlier draw numbers are searched, so a repeated digit finds the same earlier draw.
    for (int p = 1; p <= 3; ++p) {
        const int d = digits[p - 1];
        int found = 0;
        for (int m = drawNo - 1; m >= 1 && found == 0; --m) {
            const auto& earlier = m_digitTable[m];
            if (earlier[0] == d || earlier[1] == d || earlier[2] == d)
                found = m;
        }
        grid.setText(resultCol(p), row, found ? intervalText(drawNo - found) : QStringLiteral("初回"));
    }
}
