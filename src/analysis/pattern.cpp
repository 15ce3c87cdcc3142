#include "analysis/pattern.h"

#include "grid/colors.h"
#include "analysis/draw_rows.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kCols = 7;
constexpr int kHeadingRow = 1;
constexpr int kFirstDataRow = 2;
constexpr int kFirstDigitCol = 2;
constexpr int kFirstCountCol = 5;
constexpr int kSecondCountCol = 6;
constexpr int kLetterCol = 7;

// The background of a first-class digit's cell.
constexpr GridColor kFirstClassBack = colors::kPaleCyan;

// Indexed by the count the letter follows: "A" keeps the default background.
constexpr std::array<GridColor, 4> kLetterBack
    = {GridColor{}, colors::kPaleCyan, colors::kPaleGreen, colors::kPaleYellow};

} // namespace

const PatternRule& PatternAnalysis::evenOddRule()
{
    static const PatternRule rule{QStringLiteral("偶数"), QStringLiteral("奇数"), [](int d) { return d % 2 == 0; },
                                  colors::kWhite, false};
    return rule;
}

const PatternRule& PatternAnalysis::lowHighRule()
{
    // The window promises low 0–4 and high 5–9, so 4 counts as low.
    static const PatternRule rule{QStringLiteral("低数字"), QStringLiteral("高数字"), [](int d) { return d <= 4; },
                                  GridColor{}, true};
    return rule;
}

void PatternAnalysis::layout(Grid& grid, const History& history)
{
    const int rows = kHeadingRow + history.drawRowCount();
    setUpSheet(grid,
               {.cols = kCols,
                .rows = rows,
                .visibleCols = kCols,
                .visibleRows = 51,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = kHeadingRow,
                .frozenCols = 0,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setRowHeight(kHeadingRow, 20);
    grid.setColWidth(1, 6);

    // A block whose first row lies past the last would wrap back onto the heading row.
    if (rows >= kFirstDataRow) {
        colours(grid, 1, kFirstDataRow, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
        colours(grid, kFirstCountCol, kFirstDataRow, kFirstCountCol, rows, colors::kPaleCyan, colors::kBlue);
        colours(grid, kSecondCountCol, kFirstDataRow, kSecondCountCol, rows, colors::kWhite, colors::kBlue);
    }
    borders(grid, 1, 1, kCols, rows, kAllSides, BorderStyle::Solid, colors::kBlack);
}

void PatternAnalysis::headings(Grid& grid, int headingRow)
{
    const int r = headingRow;
    borders(grid, 2, r, 4, r, kAllSides, BorderStyle::None);
    borders(grid, 2, r, 4, r, BorderSide::Outline, BorderStyle::Solid, colors::kBlack);
    colours(grid, 1, r, kCols, r, colors::kHeadingBack, colors::kBlue);

    grid.setAllowCellOverflow(true);
    block(grid, 2, r, 2, r);
    grid.setHAlign(HAlign::Left);
    grid.setVAlign(VAlign::Center);
    grid.setText(2, r, QStringLiteral("        当 選 数 字 "));

    grid.setText(1, r, QStringLiteral("回数"));
    grid.setText(kFirstCountCol, r, m_rule.firstHeading);
    grid.setText(kSecondCountCol, r, m_rule.secondHeading);
    grid.setText(kLetterCol, r, QStringLiteral("パターン"));
}

void PatternAnalysis::fill(Grid& grid, const History& history)
{
    draw_rows::forEachCompleteDraw(grid, history, kFirstDataRow, [&](const DrawRecord& draw, int row) {
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        int first = 0;
        for (int p = 1; p <= 3; ++p) {
            const int d = draw.digit(p);
            const int col = kFirstDigitCol + p - 1;
            grid.setText(col, row, QString::number(d));
            if (m_rule.inFirstClass(d)) {
                ++first;
                grid.setBackColor(col, row, kFirstClassBack);
            } else if (m_rule.secondClassBack.isValid()) {
                grid.setBackColor(col, row, m_rule.secondClassBack);
            }
        }
        const int second = 3 - first;
        grid.setText(kFirstCountCol, row, QString::number(first));
        grid.setText(kSecondCountCol, row, QString::number(second));
        const int letter = m_rule.letterByFirstCount ? first : second;
        grid.setText(kLetterCol, row, QString(QChar(u'A' + letter)));
        if (kLetterBack[letter].isValid())
            grid.setBackColor(kLetterCol, row, kLetterBack[letter]);
    });
}
