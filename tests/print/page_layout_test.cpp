// Grids on pages: where pages break for grids taller and wider than a page, the headings on
// every page and the foot only at the end, the scale of a small grid and the floor on digits,
// read back from the painted pages and from the PDF's text.

#include "data/history.h"
#include "render/grid_metrics.h"
#include "print/page_layout.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

const PrintHeader kHeader{
    QStringLiteral("テスト表"), QStringLiteral("第1回～第9回"), QStringLiteral("2026-12-08"), {}, {}, {}};

// A grid as the windows make them: no spreadsheet headers.
Grid sheet(int cols, int rows)
{
    Grid grid(cols, rows);
    grid.setColHeadersShown(false);
    grid.setRowHeadersShown(false);
    return grid;
}

// What pdftotext with the given option makes of a PDF.
QString pdfToText(const QByteArray& pdf, const QString& option)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {option, path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page of a PDF, as a PDF reader extracts it.
QStringList pdfPageTexts(const QByteArray& pdf)
{
    QStringList pages = pdfToText(pdf, QStringLiteral("-layout")).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

#define REQUIRE_PDFTOTEXT()                                                                                            \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                                         \
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed"

// The parts of the pages of a grid larger than a page: one a page.
QList<PageLayout::Part> partsOf(const PageLayout& layout)
{
    QList<PageLayout::Part> parts;
    for (const PageLayout::Page& page : layout.pages()) {
        EXPECT_EQ(page.parts.size(), 1);
        parts += page.parts;
    }
    return parts;
}

// How many pages show each data cell (outside the frozen headings): every one exactly once.
void expectEveryCellOnce(const PageLayout& layout, const Grid& grid)
{
    std::map<std::pair<int, int>, int> shown;
    for (const PageLayout::Part& part : partsOf(layout))
        for (int r = part.firstRow; r <= part.lastRow; ++r)
            for (int c = part.firstCol; c <= part.lastCol; ++c)
                ++shown[{r, c}];
    for (int r = grid.frozenRows() + 1; r <= grid.maxRows(); ++r)
        for (int c = grid.frozenCols() + 1; c <= grid.maxCols(); ++c)
            ASSERT_EQ((shown[{r, c}]), 1) << "row " << r << " col " << c;
}

// A page as an image at the given resolution, on white paper.
QImage render(const PageLayout& layout, int page, int dpi)
{
    const QRect full = layout.pageLayout().fullRectPixels(dpi);
    QImage image(full.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.paint(painter, page, layout.pageLayout().paintRectPixels(dpi), dpi);
    painter.end();
    return image;
}

TEST(PageLayout, TallGridBreaksByRowsWithTheHeadingsOnEveryPageAndTheFootOnlyOnTheLast)
{
    // Two frozen heading rows, 300 draws, and a foot heading that is not frozen.
    Grid grid = sheet(3, 303);
    grid.setColWidth(-1, 10);
    grid.setFrozenRows(2);
    grid.setText(1, 1, QStringLiteral("頭の見出し"));
    grid.setText(1, 2, QStringLiteral("回数"));
    for (int r = 3; r <= 302; ++r)
        grid.setText(1, r, QStringLiteral("D%1").arg(r));
    grid.setText(1, 303, QStringLiteral("足の見出し"));

    const PageLayout layout({&grid}, kHeader);
    ASSERT_GE(layout.pageCount(), 3);
    EXPECT_EQ(partsOf(layout).first().firstRow, 3);
    EXPECT_EQ(partsOf(layout).last().lastRow, 303);
    expectEveryCellOnce(layout, grid);

    REQUIRE_PDFTOTEXT();
    const QStringList pages = pdfPageTexts(pdfOf(layout));
    ASSERT_EQ(pages.size(), layout.pageCount());
    std::map<int, int> drawRows;
    for (int i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(pages[i].contains(QStringLiteral("頭の見出し"))) << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains(QStringLiteral("回数"))) << "page " << i + 1;
        EXPECT_EQ(pages[i].contains(QStringLiteral("足の見出し")), i == pages.size() - 1) << "page " << i + 1;
        EXPECT_TRUE(
            pages[i].contains(QRegularExpression(QStringLiteral("\\b%1 ?/ ?%2\\b").arg(i + 1).arg(pages.size()))))
            << "page " << i + 1;
        EXPECT_TRUE(pages[i].contains(QStringLiteral("印刷日 2026-12-08")));
        for (const auto& m : QRegularExpression(QStringLiteral("\\bD(\\d+)\\b")).globalMatch(pages[i]))
            ++drawRows[m.captured(1).toInt()];
    }
    ASSERT_EQ(drawRows.size(), 300u);
    for (const auto& [row, count] : drawRows)
        EXPECT_EQ(count, 1) << "D" << row;
}

// Rows fill each page down to the footer, and none reaches into it.
TEST(PageLayout, RowsFillThePageDownToTheFooterAndNoFurther)
{
    Grid grid = sheet(3, 300);
    grid.setGridLinesShown(false);
    for (int r = 1; r <= 300; ++r)
        grid.setBackColor(1, r, rgb(255, 0, 0));
    const PageLayout layout({&grid}, kHeader);
    ASSERT_GE(layout.pageCount(), 2);
    constexpr int kDpi = 100;
    const QRect paper = layout.pageLayout().paintRectPixels(kDpi);
    const int footer = 16 * kDpi / 72; // the page number's line
    for (int page = 0; page < layout.pageCount() - 1; ++page) {
        const QImage image = render(layout, page, kDpi);
        int bottom = -1;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(paper.left() + 2, y) == qRgb(255, 0, 0))
                bottom = y;
        EXPECT_LE(bottom, paper.bottom() - footer) << "page " << page + 1;
        EXPECT_GE(bottom, paper.bottom() - footer - paper.height() / 20) << "page " << page + 1;
    }
}

TEST(PageLayout, WideGridBreaksByColumnsRepeatingTheFrozenColumn)
{
    Grid grid = sheet(150, 6);
    grid.setColWidth(-1, 6);
    grid.setFrozenCols(1);
    for (int r = 1; r <= 6; ++r)
        grid.setText(1, r, QStringLiteral("R%1").arg(r));
    for (int c = 2; c <= 150; ++c)
        grid.setText(c, 1, QStringLiteral("C%1").arg(c));

    const PageLayout layout({&grid}, kHeader);
    ASSERT_GE(layout.pageCount(), 2);
    for (const PageLayout::Part& part : partsOf(layout)) {
        EXPECT_EQ(part.firstRow, 1);
        EXPECT_EQ(part.lastRow, 6);
    }
    expectEveryCellOnce(layout, grid);
    // Landscape pages are wider: fewer of them.
    QPageLayout landscape = PageLayout::defaultPageLayout();
    landscape.setOrientation(QPageLayout::Landscape);
    EXPECT_LT(PageLayout({&grid}, kHeader, landscape).pageCount(), layout.pageCount());

    REQUIRE_PDFTOTEXT();
    const QStringList pages = pdfPageTexts(pdfOf(layout));
    ASSERT_EQ(pages.size(), layout.pageCount());
    std::map<int, int> columns;
    for (const QString& page : pages) {
        for (int r = 1; r <= 6; ++r)
            EXPECT_TRUE(page.contains(QStringLiteral("R%1").arg(r)));
        for (const auto& m : QRegularExpression(QStringLiteral("\\bC(\\d+)\\b")).globalMatch(page))
            ++columns[m.captured(1).toInt()];
    }
    ASSERT_EQ(columns.size(), 149u);
    for (const auto& [col, count] : columns)
        EXPECT_EQ(count, 1) << "C" << col;
}

TEST(PageLayout, GridTallerAndWiderThanAPageGoesAcrossThenDown)
{
    Grid grid = sheet(150, 400);
    grid.setFrozenRows(1);
    grid.setFrozenCols(1);
    const PageLayout layout({&grid}, kHeader);
    expectEveryCellOnce(layout, grid);
    const QList<PageLayout::Part> pages = partsOf(layout);
    ASSERT_GE(pages.size(), 4);
    // The pages of one stretch of rows follow each other, left to right.
    EXPECT_EQ(pages[1].firstRow, pages[0].firstRow);
    EXPECT_EQ(pages[1].firstCol, pages[0].lastCol + 1);
    int bands = 0;
    for (const PageLayout::Part& page : pages)
        bands += page.firstCol == 2;
    EXPECT_GE(bands, 2);
    EXPECT_EQ(pages.size() % bands, 0);
}

TEST(PageLayout, SmallGridsAreScaledUpOnOnePageTowardsThePageWidth)
{
    // A grid of 16 columns fills the page width; one of 5 grows only until its digits reach
    // their one-page limit, which leaves it narrower than the page but larger than on screen.
    constexpr int kDpi = 100;
    auto redOf = [](int cols, QRect* paper) {
        Grid grid = sheet(cols, 4);
        grid.setGridLinesShown(false);
        for (int r = 1; r <= 4; ++r)
            for (int c = 1; c <= cols; ++c)
                grid.setBackColor(c, r, rgb(255, 0, 0));
        const PageLayout layout({&grid}, kHeader);
        EXPECT_EQ(layout.pageCount(), 1);
        const QImage image = render(layout, 0, kDpi);
        *paper = layout.pageLayout().paintRectPixels(kDpi);
        QRect red;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
        return red;
    };
    QRect paper;
    const QRect wide = redOf(16, &paper);
    EXPECT_LE(std::abs(wide.left() - paper.left()), 1);
    EXPECT_LE(std::abs(wide.right() - paper.right()), 2);
    EXPECT_LT(wide.height(), paper.height() / 2);

    const QRect narrow = redOf(5, &paper);
    const int onScreen = GridMetrics().colPixels(5) * 5 * kDpi / 96; // every column the default 5 units
    EXPECT_LE(std::abs(narrow.left() - paper.left()), 1);
    EXPECT_GT(narrow.width(), onScreen * 3 / 2);
    EXPECT_LT(narrow.width(), paper.width() * 3 / 4);
}

TEST(PageLayout, DigitsNeverPrintBelowTwoMillimetresAWideGridIsCutInstead)
{
    Grid grid = sheet(200, 80);
    grid.setGridLinesShown(false);
    for (int r = 1; r <= 80; ++r)
        for (int c = 1; c <= 200; ++c)
            grid.setText(c, r, QString::number(c % 10));
    const PageLayout layout({&grid}, kHeader);
    ASSERT_GE(layout.pageCount(), 2);
    EXPECT_GT(partsOf(layout).last().firstCol, 1);

    // The height of the lines of digits on the page, from the painted pixels.
    constexpr int kDpi = 300;
    const QImage image = render(layout, 0, kDpi);
    std::vector<int> runs;
    int run = 0;
    for (int y = image.height() * 3 / 10; y < image.height() * 9 / 10; ++y) {
        bool ink = false;
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(line[x]) < 128;
        if (ink)
            ++run;
        else if (run > 0)
            runs.push_back(std::exchange(run, 0));
    }
    ASSERT_GE(runs.size(), 10u);
    const double mm = 25.4 / kDpi;
    for (std::size_t i = 1; i < runs.size(); ++i) { // the first may start above the band
        EXPECT_GE(runs[i] * mm, 2.0 - mm) << runs[i];
        EXPECT_LE(runs[i] * mm, 2.3) << runs[i]; // at the floor: not larger than it need be
    }
}

// A window of several small grids (the prediction's four) prints them one below the other, each
// under the title it has in the window; a grid larger than a page starts a page of its own,
// its title on each.
TEST(PageLayout, SmallGridsSharePagesUnderTheirTitlesALargeOneHasPagesOfItsOwn)
{
    Grid first = sheet(6, 5), second = sheet(8, 2), tall = sheet(3, 400), last = sheet(2, 2);
    tall.setColWidth(-1, 10);
    first.setText(1, 1, QStringLiteral("一の表"));
    last.setText(1, 1, QStringLiteral("四の表"));
    PrintHeader header = kHeader;
    header.titles = {QStringLiteral("●第一の表"), QStringLiteral("●第二の表"), QStringLiteral("●長い表"),
                     QStringLiteral("●第四の表")};
    const PageLayout layout({&first, &second, &tall, &last}, header);
    const QList<PageLayout::Page>& pages = layout.pages();
    ASSERT_GE(pages.size(), 4);
    ASSERT_EQ(pages.first().parts.size(), 2);
    EXPECT_EQ(pages.first().parts[0].grid, 0);
    EXPECT_EQ(pages.first().parts[1].grid, 1);
    EXPECT_GT(pages.first().parts[1].top, pages.first().parts[0].top);
    for (int i = 1; i < pages.size() - 1; ++i) {
        ASSERT_EQ(pages[i].parts.size(), 1);
        EXPECT_EQ(pages[i].parts[0].grid, 2);
    }
    EXPECT_EQ(pages.last().parts.size(), 1);
    EXPECT_EQ(pages.last().parts[0].grid, 3);

    // Twenty small grids do not fit one page: they go on as many as they need, in order.
    Grid small = sheet(6, 5);
    QList<const Grid*> many(20, &small);
    const PageLayout stacked(many, kHeader);
    EXPECT_GE(stacked.pageCount(), 2);
    EXPECT_LT(stacked.pageCount(), 20);
    int next = 0;
    for (const PageLayout::Page& page : stacked.pages())
        for (const PageLayout::Part& part : page.parts)
            EXPECT_EQ(part.grid, next++);
    EXPECT_EQ(next, 20);

    REQUIRE_PDFTOTEXT();
    const QStringList texts = pdfPageTexts(pdfOf(layout));
    ASSERT_EQ(texts.size(), pages.size());
    const QString& one = texts.first();
    EXPECT_LT(one.indexOf(QStringLiteral("●第一の表")), one.indexOf(QStringLiteral("一の表"), one.indexOf(u'●') + 2));
    EXPECT_TRUE(one.contains(QStringLiteral("●第二の表")));
    for (int i = 1; i < texts.size() - 1; ++i)
        EXPECT_TRUE(texts[i].contains(QStringLiteral("●長い表"))) << "page " << i + 1;
    EXPECT_TRUE(texts.last().contains(QStringLiteral("●第四の表")));
    EXPECT_TRUE(texts.last().contains(QStringLiteral("四の表")));
}

// The print preview shows whole pages at a fraction of the paper's resolution: a grid line,
// less than a device pixel wide there, is still drawn.
TEST(PageLayout, GridLinesStayVisibleOnAPageScaledDown)
{
    Grid grid = sheet(3, 40);
    const PageLayout layout({&grid}, kHeader);
    ASSERT_EQ(layout.pageCount(), 1);
    constexpr int kDpi = 20;
    const QImage image = render(layout, 0, kDpi);
    const QRect paper = layout.pageLayout().paintRectPixels(kDpi);
    // Down the middle of the first column: a line below each of the 40 rows.
    const int x = paper.left() + 3;
    int lines = 0;
    bool onLine = false;
    for (int y = paper.top() + 34 * kDpi / 72; y <= paper.bottom(); ++y) {
        const bool ink = image.pixel(x, y) != qRgb(255, 255, 255);
        lines += ink && !onLine;
        onLine = ink;
    }
    EXPECT_EQ(lines, 40);
}

TEST(PageLayout, APageWithNoRoomForTheGridGivesWayToTheDefault)
{
    const Grid grid = sheet(30, 500);
    const int pages = PageLayout({&grid}, kHeader).pageCount();
    for (const QPageLayout& page : {QPageLayout(),
                                    QPageLayout(QPageSize(QSizeF(20, 20), QPageSize::Millimeter), QPageLayout::Portrait,
                                                QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter)}) {
        const PageLayout layout({&grid}, kHeader, page);
        EXPECT_TRUE(layout.pageLayout().isEquivalentTo(PageLayout::defaultPageLayout()));
        EXPECT_EQ(layout.pageCount(), pages);
    }
}

// The print preview and a PDF writer keep the margins themselves: a printable area given as the
// page layout has it lands at the margins all the same, not twice as far in.
TEST(PageLayout, OnAPrinterThePrintableAreaStartsAtTheMargins)
{
    REQUIRE_PDFTOTEXT();
    const Grid grid = sheet(3, 3);
    const PageLayout layout({&grid}, kHeader);
    auto captionAt = [&](bool asThePageLayoutHasIt) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            writer.setPageLayout(layout.pageLayout());
            QPainter painter(&writer);
            QRect area = layout.pageLayout().paintRectPixels(300);
            if (!asThePageLayoutHasIt)
                area.moveTopLeft(QPoint(0, 0));
            layout.paint(painter, 0, area, 300);
        }
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>テスト"))
                  .match(pdfToText(buffer.data(), QStringLiteral("-bbox")));
        return QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
    };
    const QPointF given = captionAt(true), atOrigin = captionAt(false);
    const double margin = 10 * 72 / 25.4;
    EXPECT_NEAR(given.x(), margin, 2);
    EXPECT_NEAR(given.y(), margin, 6);
    EXPECT_NEAR(given.x(), atOrigin.x(), 0.01);
    EXPECT_NEAR(given.y(), atOrigin.y(), 0.01);
}

TEST(PrintHeader, NamesTheFirstAndLastCompleteDrawWithTheirDates)
{
    auto draw = [](int no, int digit) {
        DrawRecord d;
        d.drawNo = no;
        for (auto& x : d.digits)
            x = std::int8_t(digit);
        return d;
    };
    // Draw 4 is not drawn yet; draw 2 has no date.
    const History dated = History::fromRows(
        {draw(1, 1), draw(2, 2), draw(3, 3), draw(4, DrawRecord::kNull)},
        {QStringLiteral("1994/10/07"), QString(), QStringLiteral("1994-10-21"), QStringLiteral("2026/10/30")});
    const PrintHeader header = PrintHeader::of(QStringLiteral("出現間隔分析"), dated, QDate(2026, 12, 8));
    EXPECT_EQ(header.caption, QStringLiteral("出現間隔分析"));
    EXPECT_EQ(header.drawRange, QStringLiteral("第1回（1994-10-07）～第3回（1994-10-21）"));
    EXPECT_EQ(header.printedOn, QStringLiteral("2026-12-08"));

    // A stretch of the history: its draws only.
    EXPECT_EQ(PrintHeader::of(QString(), dated, DrawRange{2, 9}).drawRange,
              QStringLiteral("第2回～第3回（1994-10-21）"));

    const History undated = History::fromRows({draw(1, 1), draw(7089, 2)});
    EXPECT_EQ(PrintHeader::of(QString(), undated).drawRange, QStringLiteral("第1回～第7089回"));
    EXPECT_TRUE(PrintHeader::of(QString(), History()).drawRange.isEmpty());
}

} // namespace
