#include "grid/grid.h"
#include "grid/units.h"

#include <gtest/gtest.h>

namespace {

constexpr GridColor kRed = rgb(255, 0, 0);
constexpr GridColor kBlue = rgb(0, 0, 255);

TEST(GridUnits, ConvertAtScreenAndPrinterResolution)
{
    EXPECT_EQ(twipsToPixels(13200), 880);
    EXPECT_EQ(twipsToPixels(5280), 352);
    EXPECT_EQ(twipsToPixels(1440, 600), 600);
}

TEST(GridText, RoundTripsAcrossEveryEncoding)
{
    Grid g(4, 6);
    const QString samples[] = {
        QString(),
        QStringLiteral("0"),
        QStringLiteral("32767"),
        QStringLiteral("1234567"), // longest inline Latin-1
        QStringLiteral("abcdefgh"), // first pooled Latin-1
        QStringLiteral("12345678"), // a digit text
        QStringLiteral("2026/10/08"),
        QStringLiteral("9,500円"),
        QStringLiteral("-1,234.5:0/"),
        QStringLiteral("99,999,999,999"), // longest digit text
        QStringLiteral("999,999,999,999"), // first pooled digit text
        QStringLiteral("12,345円（第6回）"), // digits among other text
        QString::fromLatin1("\xff\xfe\x80\xe9"), // high Latin-1 bytes keep their value
        QStringLiteral("●"),
        QStringLiteral("初回"),
        QStringLiteral("第1数"), // longest inline UTF-16
        QStringLiteral("12回前"), // first pooled mixed text
        QStringLiteral("𠮷"), // a surrogate pair
        QString(QChar(0x80)) + QChar(0) + QChar(0) + QChar(0) + QChar(1), // looks like a pool tag
        QString(QChar(0x13)), // looks like a UTF-16 tag
        QString(3, QChar(0)), // embedded NULs are text too
        QStringLiteral("ナンバーズ3 出現回数一覧（全期間）"),
    };
    int col = 1, row = 1;
    for (const QString& s : samples) {
        g.setText(col, row, s);
        EXPECT_EQ(g.text(col, row), s) << "length " << s.size();
        EXPECT_EQ(g.hasText(col, row), !s.isEmpty());
        if (++col > 4) {
            col = 1;
            ++row;
        }
    }
}

TEST(GridText, DigitTextsNeedNoPool)
{
    Grid g(3, 100);
    for (int r = 1; r <= 100; ++r) {
        g.setText(1, r, QStringLiteral("2026/10/%1").arg(r, 2, 10, QLatin1Char('0')));
        g.setText(2, r, QString::number(r * 1000) + QStringLiteral(",100円"));
    }
    EXPECT_EQ(g.stringPoolSize(), 0);
    EXPECT_EQ(g.text(2, 7), QStringLiteral("7000,100円"));
    g.setText(3, 1, QStringLiteral("2026/10/08 12:00")); // a blank is no digit
    EXPECT_EQ(g.stringPoolSize(), 1);
}

TEST(GridText, PoolIsSharedAndCounted)
{
    Grid g(10, 100);
    const QString heading = QStringLiteral("12回前の出現");
    for (int r = 1; r <= 100; ++r)
        g.setText(1, r, heading);
    EXPECT_EQ(g.stringPoolSize(), 1);

    g.setText(1, 1, heading); // setting a cell to the text it already has keeps it
    EXPECT_EQ(g.text(1, 1), heading);
    for (int r = 1; r <= 99; ++r)
        g.setText(1, r, QStringLiteral("●"));
    EXPECT_EQ(g.stringPoolSize(), 1);
    g.setText(1, 100, QString());
    EXPECT_EQ(g.stringPoolSize(), 0);

    // A freed slot is reused and the text is found again.
    g.setText(2, 2, QStringLiteral("another long text"));
    g.setText(3, 3, QStringLiteral("another long text"));
    EXPECT_EQ(g.stringPoolSize(), 1);
    EXPECT_EQ(g.text(3, 3), QStringLiteral("another long text"));
    // A string changed after it was set is a text of its own, though it was the same string.
    QString changing = QStringLiteral("12回前の出現まで");
    g.setText(4, 4, changing);
    changing[0] = u'3';
    g.setText(4, 5, changing);
    EXPECT_EQ(g.text(4, 4), QStringLiteral("12回前の出現まで"));
    EXPECT_EQ(g.text(4, 5), QStringLiteral("32回前の出現まで"));
    g.setText(4, 4, QString());
    g.setText(4, 5, QString());

    // Cells dropped by shrinking or clearing give their texts back.
    g.setText(10, 50, QStringLiteral("dropped by columns"));
    g.setText(5, 90, QStringLiteral("dropped by rows"));
    g.setMaxCols(9);
    g.setMaxRows(80);
    EXPECT_EQ(g.stringPoolSize(), 1);
    g.clear();
    EXPECT_EQ(g.stringPoolSize(), 0);
    EXPECT_TRUE(g.text(3, 3).isEmpty());
}

TEST(GridColors, DefaultsUnsetAndPaletteReuse)
{
    Grid g(3, 3);
    EXPECT_EQ(g.backColor(1, 1), Grid::kDefaultBackColor);
    EXPECT_EQ(g.foreColor(1, 1), Grid::kDefaultForeColor);
    EXPECT_EQ(g.backColor(0, 1), Grid::kHeaderBackColor);
    EXPECT_EQ(g.backColor(2, 0), Grid::kHeaderBackColor);

    g.setCellColors(1, 1, kRed, kBlue);
    EXPECT_EQ(g.backColor(1, 1), kRed);
    EXPECT_EQ(g.foreColor(1, 1), kBlue);
    g.setBackColor(1, 1, GridColor{});
    EXPECT_EQ(g.backColor(1, 1), Grid::kDefaultBackColor);

    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            g.setCellColors(c, r, c % 2 ? kRed : kBlue, rgb(r, r, r));
    EXPECT_EQ(g.paletteSize(), 5);
    EXPECT_EQ(g.backColor(2, 3), kBlue);
    EXPECT_EQ(g.foreColor(2, 3), rgb(3, 3, 3));

    // Out of the sheet: ignored, and reads give the defaults.
    g.setBackColor(4, 1, kRed);
    g.setText(1, 4, QStringLiteral("x"));
    EXPECT_EQ(g.backColor(4, 1), Grid::kDefaultBackColor);
    EXPECT_TRUE(g.text(1, 4).isEmpty());
}

TEST(GridBlock, TargetsCellBlockAndAllRowsOrColumns)
{
    Grid g(5, 6);
    // Without block mode col2/row2 are ignored.
    g.setCol(2);
    g.setRow(3);
    g.setCol2(4);
    g.setRow2(5);
    g.setBackColor(kRed);
    EXPECT_EQ(g.backColor(2, 3), kRed);
    EXPECT_EQ(g.backColor(3, 3), Grid::kDefaultBackColor);
    EXPECT_EQ(g.backColor(2, 4), Grid::kDefaultBackColor);

    // Block mode covers the block, given in either order.
    g.setBlock(4, 5, 2, 3);
    g.setHAlign(HAlign::Right);
    for (int r = 1; r <= 6; ++r)
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(g.hAlign(c, r), c >= 2 && c <= 4 && r >= 3 && r <= 5 ? HAlign::Right : HAlign::Left)
                << c << "," << r;

    // -1 for the rows means every data row, never the header row.
    g.setBlockMode(false);
    g.setCol(5);
    g.setRow(-1);
    g.setForeColor(kBlue);
    for (int r = 1; r <= 6; ++r)
        EXPECT_EQ(g.foreColor(5, r), kBlue);
    EXPECT_EQ(g.foreColor(5, 0), Grid::kDefaultForeColor);
    EXPECT_EQ(g.foreColor(4, 1), Grid::kDefaultForeColor);

    // -1 in col2 widens the block to every column.
    g.setBlock(2, 2, -1, 2);
    g.setWordWrap(true);
    EXPECT_TRUE(g.wordWrap(1, 2));
    EXPECT_TRUE(g.wordWrap(5, 2));
    EXPECT_FALSE(g.wordWrap(0, 2));
    EXPECT_FALSE(g.wordWrap(1, 3));

    // All cells, then the header column on its own.
    g.setBlock(-1, -1, -1, -1);
    g.setVAlign(VAlign::Top);
    EXPECT_EQ(g.vAlign(1, 1), VAlign::Top);
    EXPECT_EQ(g.vAlign(5, 6), VAlign::Top);
    EXPECT_EQ(g.vAlign(0, 3), VAlign::Center);
    g.setBlock(0, -1, 0, -1);
    g.setBackColor(kBlue);
    EXPECT_EQ(g.backColor(0, 6), kBlue);
    EXPECT_EQ(g.backColor(0, 0), Grid::kHeaderBackColor);
    EXPECT_EQ(g.backColor(1, 6), Grid::kDefaultBackColor);

    // Puts over many cells keep the style table small.
    EXPECT_LE(g.styleCount(), 16);
}

TEST(GridBorders, SidesOutlineRemovalAndColours)
{
    Grid g(5, 5);
    g.setBlock(2, 2, 4, 4);
    g.setCellBorder(BorderSide::Outline, BorderStyle::Solid, kRed);
    auto style = [&](int c, int r, BorderSide s) { return g.border(c, r, s).style; };
    const auto solid = BorderStyle::Solid, none = BorderStyle::None;
    EXPECT_EQ(style(2, 3, BorderSide::Left), solid);
    EXPECT_EQ(style(3, 3, BorderSide::Left), none);
    EXPECT_EQ(style(4, 3, BorderSide::Right), solid);
    EXPECT_EQ(style(3, 2, BorderSide::Top), solid);
    EXPECT_EQ(style(3, 2, BorderSide::Bottom), none);
    EXPECT_EQ(style(3, 4, BorderSide::Bottom), solid);
    EXPECT_EQ(style(3, 3, BorderSide::Top), none);
    EXPECT_EQ(style(1, 2, BorderSide::Right), none);
    EXPECT_EQ(g.border(4, 4, BorderSide::Bottom).color, kRed);

    // Plain sides go on every cell of the block, each side with its own colour.
    g.setCellBorder(BorderSide::Bottom, BorderStyle::Solid, kBlue);
    EXPECT_EQ(g.border(3, 3, BorderSide::Bottom), (CellBorder{solid, kBlue}));
    EXPECT_EQ(g.border(4, 4, BorderSide::Bottom).color, kBlue);
    EXPECT_EQ(g.border(4, 4, BorderSide::Right).color, kRed);

    // None removes only the sides named.
    g.setCellBorder(BorderSide::Bottom | BorderSide::Left, BorderStyle::None);
    EXPECT_EQ(style(3, 3, BorderSide::Bottom), none);
    EXPECT_EQ(style(2, 3, BorderSide::Left), none);
    EXPECT_EQ(style(4, 3, BorderSide::Right), solid);
    EXPECT_EQ(style(3, 2, BorderSide::Top), solid);

    // A single cell's outline is all four sides; no colour given means black.
    g.setBlockMode(false);
    g.setCol(1);
    g.setRow(1);
    g.setCellBorder(BorderSide::Outline, BorderStyle::Solid, GridColor{});
    const CellFormat f = g.format(1, 1);
    EXPECT_TRUE(f.hasBorders());
    EXPECT_EQ(f.left, (CellBorder{solid, Grid::kDefaultForeColor}));
    EXPECT_EQ(f.bottom.style, solid);
    EXPECT_EQ(g.border(1, 1, BorderSide::Outline).style, none);
}

TEST(GridOverflow, SpansFollowAlignmentAndStopAtText)
{
    Grid g(8, 2);
    g.setAllowCellOverflow(true);
    const int w = 40;
    std::vector<int> starts(10); // every column w pixels wide, column 0 included
    for (int c = 0; c < 10; ++c)
        starts[std::size_t(c)] = c * w;
    g.setText(3, 1, QStringLiteral("heading"));

    EXPECT_EQ(g.overflowSpan(3, 1, w, starts), (ColumnSpan{3, 3}));
    EXPECT_EQ(g.overflowSpan(3, 1, w + 1, starts), (ColumnSpan{3, 4}));
    EXPECT_EQ(g.overflowSpan(3, 1, 3 * w, starts), (ColumnSpan{3, 5}));
    EXPECT_EQ(g.overflowSpan(3, 1, 100 * w, starts), (ColumnSpan{3, 8}));
    g.setBackColor(5, 1, kRed); // colour alone does not stop a text
    g.setText(6, 1, QStringLiteral("x"));
    EXPECT_EQ(g.overflowSpan(3, 1, 100 * w, starts), (ColumnSpan{3, 5}));

    g.setBlock(3, 1, 3, 1);
    g.setHAlign(HAlign::Right);
    EXPECT_EQ(g.overflowSpan(3, 1, 100 * w, starts), (ColumnSpan{1, 3}));
    g.setText(1, 1, QStringLiteral("y"));
    EXPECT_EQ(g.overflowSpan(3, 1, 100 * w, starts), (ColumnSpan{2, 3}));

    g.setHAlign(HAlign::Center);
    EXPECT_EQ(g.overflowSpan(3, 1, 3 * w, starts), (ColumnSpan{2, 4}));
    EXPECT_EQ(g.overflowSpan(3, 1, 5 * w, starts), (ColumnSpan{2, 5})); // left blocked by column 1

    g.setWordWrap(true);
    EXPECT_EQ(g.overflowSpan(3, 1, 5 * w, starts), (ColumnSpan{3, 3}));
    g.setWordWrap(false);
    g.setAllowCellOverflow(false);
    EXPECT_EQ(g.overflowSpan(3, 1, 5 * w, starts), (ColumnSpan{3, 3}));
    g.setAllowCellOverflow(true);
    EXPECT_EQ(g.overflowSpan(4, 1, 5 * w, starts), (ColumnSpan{4, 4})); // empty cells do not spill
}

TEST(GridSize, GrowingKeepsAndShrinkingDropsCells)
{
    Grid g(3, 3);
    g.setText(3, 3, QStringLiteral("corner"));
    g.setText(2, 0, QStringLiteral("見出し"));
    g.setCellColors(3, 3, kRed, kBlue);
    g.setBlock(3, 3, 3, 3);
    g.setHAlign(HAlign::Right);
    g.setRowHeight(3, 15);
    g.setColWidth(3, 8);

    g.setMaxCols(6);
    g.setMaxRows(7);
    EXPECT_EQ(g.text(3, 3), QStringLiteral("corner"));
    EXPECT_EQ(g.text(2, 0), QStringLiteral("見出し"));
    EXPECT_EQ(g.backColor(3, 3), kRed);
    EXPECT_EQ(g.hAlign(3, 3), HAlign::Right);
    EXPECT_EQ(g.rowHeight(3), 15);
    EXPECT_EQ(g.colWidth(3), 8);
    EXPECT_EQ(g.hAlign(5, 0), HAlign::Center); // new header cells look like headers
    EXPECT_EQ(g.hAlign(0, 6), HAlign::Center);
    EXPECT_EQ(g.hAlign(5, 6), HAlign::Left);
    EXPECT_EQ(g.rowHeight(7), Grid::kDefaultRowHeight);

    g.setMaxCols(2);
    g.setMaxRows(2);
    g.setMaxCols(4);
    g.setMaxRows(4);
    EXPECT_TRUE(g.text(3, 3).isEmpty());
    EXPECT_EQ(g.backColor(3, 3), Grid::kDefaultBackColor);
    EXPECT_EQ(g.hAlign(3, 3), HAlign::Left);
    EXPECT_EQ(g.text(2, 0), QStringLiteral("見出し"));
    EXPECT_EQ(g.rowHeight(3), Grid::kDefaultRowHeight);
}

TEST(GridState, RevisionsAndLabels)
{
    Grid g(4, 4);
    const auto rev = g.revision(), layout = g.layoutRevision();
    g.setText(1, 1, QStringLiteral("a"));
    g.setBackColor(1, 1, kRed);
    EXPECT_GT(g.revision(), rev);
    EXPECT_EQ(g.layoutRevision(), layout);
    g.setColWidth(1, 7);
    EXPECT_GT(g.layoutRevision(), layout);

    EXPECT_EQ(Grid::columnLabel(1), QStringLiteral("A"));
    EXPECT_EQ(Grid::columnLabel(26), QStringLiteral("Z"));
    EXPECT_EQ(Grid::columnLabel(27), QStringLiteral("AA"));
    EXPECT_EQ(Grid::columnLabel(53), QStringLiteral("BA"));
    EXPECT_EQ(Grid::columnLabel(702), QStringLiteral("ZZ"));
    EXPECT_EQ(Grid::columnLabel(703), QStringLiteral("AAA"));
    EXPECT_EQ(g.headerText(3, 0), QStringLiteral("C"));
    EXPECT_EQ(g.headerText(0, 3), QStringLiteral("3"));
}

TEST(GridClear, ResetsCellsButKeepsSheet)
{
    Grid g(3, 3);
    g.setText(1, 1, QStringLiteral("long enough to pool"));
    g.setCellColors(1, 1, kRed, kBlue);
    g.setBlock(-1, -1, -1, -1);
    g.setCellBorder(BorderSide::Outline, BorderStyle::Solid, kRed);
    g.setColWidth(2, 9);
    g.clear();
    EXPECT_EQ(g.maxCols(), 3);
    EXPECT_EQ(g.colWidth(2), 9);
    EXPECT_TRUE(g.text(1, 1).isEmpty());
    EXPECT_EQ(g.backColor(1, 1), Grid::kDefaultBackColor);
    EXPECT_FALSE(g.format(1, 1).hasBorders());
    EXPECT_EQ(g.hAlign(0, 1), HAlign::Center);
    g.setCellColors(1, 1, kBlue, kRed); // the palette starts afresh after a clear
    EXPECT_EQ(g.backColor(1, 1), kBlue);
    EXPECT_EQ(g.foreColor(1, 1), kRed);
}

TEST(GridMemory, FullDrawSheetStaysWithinSixteenBytesPerCell)
{
    constexpr int kRows = 32770, kCols = 32;
    Grid g(kCols, kRows);
    const QString dot = QStringLiteral("●");
    for (int r = 1; r <= kRows; ++r) {
        const QString number = QString::number(r % 32768);
        for (int c = 1; c <= kCols; ++c) {
            g.setText(c, r, c == 1 ? number : (r + c) % 3 ? QString::number((r * c) % 10) : dot);
            g.setCellColors(c, r, c % 2 ? rgb(255, 255, 224) : rgb(224, 255, 255), r % 5 ? kRed : kBlue);
        }
    }
    g.setText(1, 1, QStringLiteral("ナンバーズ3 出現回数一覧"));
    const double perCell = double(g.memoryUsage()) / (double(kRows) * kCols);
    EXPECT_LE(perCell, 16.0);
    EXPECT_EQ(g.text(1, 2), QStringLiteral("2"));
    EXPECT_EQ(g.text(2, 1), dot);
}

} // namespace
