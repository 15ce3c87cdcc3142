#include "print/page_layout.h"

#include "data/draw.h"

#include "data/history.h"
#include "render/grid_metrics.h"
#include "render/grid_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <limits>

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
// Digits never print lower than this; a grid that would need smaller ones is cut by columns.
constexpr double kMinDigitMm = 2.0;
// A grid of several pages grows to the page width only until its digits are this high (a narrow
// grid of thousands of rows would otherwise take several times the paper).
constexpr double kMaxDigitMmOnSeveralPages = 3.5;
// A grid of one page grows towards the page width only until its digits are this high (the
// prediction's small tables would otherwise print in letters a centimetre tall).
constexpr double kMaxDigitMmOnOnePage = 5.0;
// Above the grid the caption and a line with the draws and the date printed; below, the page
// number. Heights and font sizes in points.
constexpr double kHeaderHeight = 34;
constexpr double kFooterHeight = 16;
constexpr double kCaptionSize = 12;
constexpr double kInfoSize = 8;
// A line of notes under the header (what a prediction was made for, with its options).
constexpr double kNoteHeight = kInfoSize * 1.6;
// The line above a grid naming it, and the room between grids that share a page.
constexpr double kTitleSize = 10;
constexpr double kTitleHeight = 18;
constexpr double kGridGap = 12;
constexpr double kFit = 1e-9; // rounding slack when comparing lengths
constexpr double kMinGridRoom = 72; // points

// Height of the digits in the grid font, in grid pixels, as drawn unhinted on paper.
double digitHeightPixels(const GridMetrics& metrics)
{
    constexpr int kMagnify = 50;
    QFont large = metrics.font();
    large.setPixelSize(metrics.font().pixelSize() * kMagnify);
    const double height = QFontMetricsF(large).tightBoundingRect(QStringLiteral("0123456789")).height() / kMagnify;
    // A face without digits: take them as high as most faces draw them.
    return height > 0 ? height : 0.7 * metrics.font().pixelSize();
}

QString drawText(const History& history, qsizetype index)
{
    QString text = QStringLiteral("第%1回").arg(history.realDrawNo(history.draws().at(index).drawNo));
    const QString stored = history.date(index).simplified();
    if (stored.isEmpty())
        return text;
    const std::optional<QDate> date = draw::readDate(stored).date;
    return text + u'（' + (date ? date->toString(Qt::ISODate) : stored) + u'）';
}

// [first, last] of each stretch that fits in space pixels, given the pixel starts pos; every
// stretch holds at least one index.
QList<std::pair<int, int>> cut(const std::vector<int>& pos, int first, int last, double space)
{
    QList<std::pair<int, int>> bands;
    for (int from = first; from <= last;) {
        int to = from;
        while (to < last && pos[std::size_t(to) + 2] - pos[std::size_t(from)] <= space + kFit)
            ++to;
        bands.append({from, to});
        from = to + 1;
    }
    if (bands.isEmpty())
        bands.append({first, last}); // nothing beyond the headings: one empty stretch
    return bands;
}

QFont textFont(double points, double pixelsPerPoint, bool bold = false)
{
    QFont font = GridMetrics::defaultFont();
    font.setPixelSize(std::max(1, int(std::lround(points * pixelsPerPoint))));
    font.setBold(bold);
    return font;
}

} // namespace

PrintHeader PrintHeader::of(const QString& caption, const History& history, QDate today)
{
    return of(caption, history, DrawRange{1, std::numeric_limits<int>::max()}, today);
}

PrintHeader PrintHeader::of(const QString& caption, const History& history, const RangeChoice& range,
                            const QStringList& titles, QDate today)
{
    PrintHeader header = of(caption, history, range.resolve(history), today);
    if (range.kind != RangeChoice::Kind::All)
        header.period = range.name();
    header.titles = titles;
    return header;
}

QString PrintHeader::drawsLine() const
{
    if (period.isEmpty())
        return drawRange;
    return drawRange.isEmpty() ? period : period + u'　' + drawRange;
}

PrintHeader PrintHeader::of(const QString& caption, const History& history, const DrawRange& range, QDate today)
{
    PrintHeader header;
    header.caption = caption;
    const QVector<DrawRecord>& draws = history.draws();
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < draws.size(); ++i) {
        if (!draws.at(i).complete || !range.contains(history.realDrawNo(draws.at(i).drawNo)))
            continue;
        if (first < 0)
            first = i;
        last = i;
    }
    if (first >= 0)
        header.drawRange
            = first == last ? drawText(history, first) : drawText(history, first) + u'～' + drawText(history, last);
    if (today.isValid())
        header.printedOn = today.toString(Qt::ISODate);
    return header;
}

QPageLayout PageLayout::defaultPageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

double PageLayout::headerHeight() const
{
    return kHeaderHeight + double(m_header.notes.size()) * kNoteHeight;
}

PageLayout::PageLayout(QList<const Grid*> grids, PrintHeader header, QPageLayout page)
    : m_grids(std::move(grids)), m_header(std::move(header)), m_page(std::move(page))
{
    // A page with no room for an inch of grid below the header (or no page at all) would cut
    // the grid into a page per cell: the default page instead.
    const QRectF paper = m_page.isValid() ? m_page.paintRect(QPageLayout::Point) : QRectF();
    if (paper.width() < kMinGridRoom || paper.height() - headerHeight() - kFooterHeight < kMinGridRoom)
        m_page = defaultPageLayout();
    m_width = m_page.paintRect(QPageLayout::Point).width();
    m_room = m_page.paintRect(QPageLayout::Point).height() - headerHeight() - kFooterHeight;
    const double digit = digitHeightPixels(GridMetrics());
    m_minScale = kMinDigitMm * kPointsPerMm / digit;
    m_oneMaxScale = std::max(m_minScale, kMaxDigitMmOnOnePage * kPointsPerMm / digit);
    m_manyMaxScale = std::max(m_minScale, kMaxDigitMmOnSeveralPages * kPointsPerMm / digit);
    m_sheets.resize(std::size_t(m_grids.size()));

    // Grids of a page each go onto paper whole; the page takes the smallest of their scales.
    QList<int> stack;
    double stackScale = 0;
    auto height = [this](int g, double scale) {
        const Sheet& sheet = m_sheets[std::size_t(g)];
        return sheet.titleHeight + sheet.height * scale;
    };
    auto stackHeight = [&](const QList<int>& list, double scale) {
        double total = kGridGap * double(std::max<qsizetype>(0, list.size() - 1));
        for (const int g : list)
            total += height(g, scale);
        return total;
    };
    auto closeStack = [&] {
        if (stack.isEmpty())
            return;
        Page onePage;
        double top = 0;
        for (const int g : std::as_const(stack)) {
            Sheet& sheet = m_sheets[std::size_t(g)];
            sheet.scale = stackScale;
            sheet.repeatedRows = sheet.repeatedCols = 0;
            onePage.parts.append({g, 1, sheet.rows, 1, sheet.cols, top});
            top += height(g, stackScale) + kGridGap;
        }
        m_pages.append(onePage);
        stack.clear();
    };
    for (int g = 0; g < m_grids.size(); ++g) {
        if (!m_grids.at(g))
            continue;
        const double scale = measure(g, *m_grids.at(g));
        if (scale <= 0) {
            closeStack();
            cutIntoPages(g);
            continue;
        }
        QList<int> more = stack;
        more << g;
        if (!stack.isEmpty() && stackHeight(more, std::min(stackScale, scale)) > m_room + kFit)
            closeStack();
        stackScale = stack.isEmpty() ? scale : std::min(stackScale, scale);
        stack << g;
    }
    closeStack();
}

double PageLayout::measure(int index, const Grid& grid)
{
    const GridMetrics metrics;
    Sheet& sheet = m_sheets[std::size_t(index)];
    sheet.colPos = GridPainter::colStarts(grid, metrics);
    sheet.rowPos = GridPainter::rowStarts(grid, metrics);
    const std::vector<int>& cols = sheet.colPos;
    const std::vector<int>& rows = sheet.rowPos;
    sheet.cols = grid.maxCols();
    sheet.rows = grid.maxRows();
    sheet.width = (grid.rowHeadersShown() ? cols[1] : 0) + cols.back() - cols[1];
    sheet.height = (grid.colHeadersShown() ? rows[1] : 0) + rows.back() - rows[1];
    sheet.titleHeight = index < m_header.titles.size() && !m_header.titles.at(index).isEmpty() ? kTitleHeight : 0;

    // An empty grid is its title only.
    if (sheet.width <= 0 || sheet.height <= 0)
        return m_oneMaxScale;
    // The whole grid on one page, as large as the page allows, when its digits stay legible.
    const double onePage = std::min(m_width / sheet.width, (m_room - sheet.titleHeight) / sheet.height);
    if (onePage < m_minScale)
        return 0;
    return std::min(onePage, m_oneMaxScale);
}

void PageLayout::cutIntoPages(int index)
{
    const Grid& grid = *m_grids.at(index);
    Sheet& sheet = m_sheets[std::size_t(index)];
    const std::vector<int>& cols = sheet.colPos;
    const std::vector<int>& rows = sheet.rowPos;
    // As wide as the page within the digits' limits.
    sheet.scale = std::clamp(m_width / sheet.width, m_minScale, m_manyMaxScale);

    // Headings that would leave less than half a page for the rest print once, where they stand.
    const int headerWidth = grid.rowHeadersShown() ? cols[1] : 0;
    const int headerHeight = grid.colHeadersShown() ? rows[1] : 0;
    sheet.repeatedRows = std::clamp(grid.frozenRows(), 0, sheet.rows);
    sheet.repeatedCols = std::clamp(grid.frozenCols(), 0, sheet.cols);
    const double pageWidth = m_width / sheet.scale, pageHeight = (m_room - sheet.titleHeight) / sheet.scale;
    if (headerHeight + rows[std::size_t(sheet.repeatedRows) + 1] - rows[1] > pageHeight / 2)
        sheet.repeatedRows = 0;
    if (headerWidth + cols[std::size_t(sheet.repeatedCols) + 1] - cols[1] > pageWidth / 2)
        sheet.repeatedCols = 0;
    const double rowSpace = pageHeight - headerHeight - (rows[std::size_t(sheet.repeatedRows) + 1] - rows[1]);
    const double colSpace = pageWidth - headerWidth - (cols[std::size_t(sheet.repeatedCols) + 1] - cols[1]);

    // Across, then down: the pages of one stretch of rows follow each other.
    const auto rowBands = cut(rows, sheet.repeatedRows + 1, sheet.rows, rowSpace);
    const auto colBands = cut(cols, sheet.repeatedCols + 1, sheet.cols, colSpace);
    for (const auto& [firstRow, lastRow] : rowBands) {
        for (const auto& [firstCol, lastCol] : colBands)
            m_pages.append(Page{{Part{index, firstRow, lastRow, firstCol, lastCol, 0}}});
    }
}

void PageLayout::paint(QPainter& painter, int pageIndex, const QRect& paintRect, int resolution) const
{
    if (pageIndex < 0 || pageIndex >= m_pages.size() || resolution <= 0)
        return;
    const double pixelsPerPoint = resolution / 72.0;
    QRect area = paintRect;
    // A printer or PDF writer that keeps its margins puts the painter's origin at the corner of
    // the printable area already: the area as the page layout gives it starts there.
    if (const auto* paged = dynamic_cast<const QPagedPaintDevice*>(painter.device())) {
        const QPageLayout layout = paged->pageLayout();
        if (layout.mode() == QPageLayout::StandardMode
            && area.topLeft() == layout.paintRectPixels(resolution).topLeft())
            area.moveTopLeft(QPoint(0, 0));
    }

    painter.save();
    painter.setClipping(false);

    // The header: the caption, then the draws shown and the date printed; the footer: n / N.
    painter.setPen(Qt::black);
    const QFont captionFont = textFont(kCaptionSize, pixelsPerPoint, true);
    const QFont infoFont = textFont(kInfoSize, pixelsPerPoint);
    painter.setFont(captionFont);
    const QFontMetrics captionMetrics(captionFont, painter.device());
    const int captionHeight = int(std::lround(kCaptionSize * 1.6 * pixelsPerPoint));
    painter.drawText(QRect(area.left(), area.top(), area.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     captionMetrics.elidedText(m_header.caption, Qt::ElideRight, area.width()));
    painter.setFont(infoFont);
    const QFontMetrics infoMetrics(infoFont, painter.device());
    const QRect infoLine(area.left(), area.top() + captionHeight, area.width(),
                         int(std::lround(kInfoSize * 1.6 * pixelsPerPoint)));
    const QString printed = m_header.printedOn.isEmpty() ? QString() : QStringLiteral("印刷日 ") + m_header.printedOn;
    const int printedWidth = infoMetrics.horizontalAdvance(printed);
    painter.drawText(infoLine, Qt::AlignRight | Qt::AlignVCenter, printed);
    const int gap = int(std::lround(4 * kInfoSize * pixelsPerPoint / 8));
    painter.drawText(
        infoLine, Qt::AlignLeft | Qt::AlignVCenter,
        infoMetrics.elidedText(m_header.drawsLine(), Qt::ElideRight, std::max(0, area.width() - printedWidth - gap)));
    const int noteHeight = int(std::lround(kNoteHeight * pixelsPerPoint));
    for (int n = 0; n < m_header.notes.size(); ++n) {
        const QRect note(area.left(), int(std::lround(area.top() + (kHeaderHeight + n * kNoteHeight) * pixelsPerPoint)),
                         area.width(), noteHeight);
        painter.drawText(note, Qt::AlignLeft | Qt::AlignVCenter,
                         infoMetrics.elidedText(m_header.notes.at(n), Qt::ElideRight, area.width()));
    }
    const int footerHeight = int(std::lround(kFooterHeight * pixelsPerPoint));
    painter.drawText(QRect(area.left(), area.bottom() + 1 - footerHeight, area.width(), footerHeight),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("%1 / %2").arg(pageIndex + 1).arg(m_pages.size()));

    for (const Part& part : m_pages.at(pageIndex).parts)
        paintPart(painter, part, area, pixelsPerPoint);
    painter.restore();
}

void PageLayout::paintPart(QPainter& painter, const Part& part, const QRect& area, double pixelsPerPoint) const
{
    const Grid* grid = part.grid >= 0 && part.grid < m_grids.size() ? m_grids.at(part.grid) : nullptr;
    const Sheet* laidOut = grid ? &m_sheets[std::size_t(part.grid)] : nullptr;
    // A grid that changed size since the pages were laid out no longer fits them.
    if (!laidOut || laidOut->cols != grid->maxCols() || laidOut->rows != grid->maxRows())
        return;
    const Sheet& sheet = *laidOut;
    const std::vector<int>& cols = sheet.colPos;
    const std::vector<int>& rows = sheet.rowPos;

    painter.save();
    const double top = area.top() + (headerHeight() + part.top) * pixelsPerPoint;
    if (sheet.titleHeight > 0) {
        const QFont titleFont = textFont(kTitleSize, pixelsPerPoint);
        painter.setFont(titleFont);
        painter.setPen(Qt::black);
        const QRect line(area.left(), int(std::lround(top)), area.width(),
                         int(std::lround(sheet.titleHeight * pixelsPerPoint)));
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(titleFont, painter.device())
                             .elidedText(m_header.titles.at(part.grid), Qt::ElideRight, area.width()));
    }

    // The grid in its own pixels, scaled as a whole.
    const double scale = sheet.scale * pixelsPerPoint;
    painter.translate(area.left(), top + sheet.titleHeight * pixelsPerPoint);
    painter.scale(scale, scale);
    const GridMetrics metrics;
    GridPainter cells(metrics);
    cells.setMinimumLineWidth(true);
    painter.setFont(metrics.font());

    // Panes as the view has them: the header, the repeated headings, the page's own part.
    auto panes = [](const std::vector<int>& pos, bool headerShown, int repeated, int first, int last, int count) {
        std::vector<GridPainter::Pane> list;
        int start = 0;
        auto add = [&](int from, int to, int logicalFirst, int logicalLast, bool header) {
            GridPainter::Pane pane;
            pane.first = from;
            pane.last = to;
            pane.logicalFirst = logicalFirst;
            pane.logicalLast = logicalLast;
            pane.start = start;
            pane.end = start + (to >= from ? pos[std::size_t(to) + 1] - pos[std::size_t(from)] : 0);
            pane.header = header;
            start = pane.end;
            if (!pane.isEmpty())
                list.push_back(pane);
        };
        if (headerShown)
            add(0, 0, 0, 0, true);
        if (repeated > 0)
            add(1, repeated, 1, repeated, false);
        add(first, last, repeated + 1, count, false);
        return list;
    };
    const auto rowPanes
        = panes(rows, grid->colHeadersShown(), sheet.repeatedRows, part.firstRow, part.lastRow, grid->maxRows());
    const auto colPanes
        = panes(cols, grid->rowHeadersShown(), sheet.repeatedCols, part.firstCol, part.lastCol, grid->maxCols());
    if (!rowPanes.empty() && !colPanes.empty()) {
        const QRect bounds(0, 0, colPanes.back().end, rowPanes.back().end);
        for (const GridPainter::Pane& r : rowPanes) {
            for (const GridPainter::Pane& c : colPanes)
                cells.paintPane(painter, *grid, cols, rows, r, c, bounds);
        }
    }
    painter.restore();
}

QByteArray pdfOf(const PageLayout& layout, const QList<int>& pages, int resolution)
{
    // Fonts need a GUI application; without one there is no PDF rather than a crash.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(resolution);
        if (!writer.setPageLayout(layout.pageLayout()))
            return {};
        writer.setTitle(layout.header().caption);
        writer.setCreator(QStringLiteral("ナンバーズ3ズバリン"));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const QRect area(QPoint(0, 0), writer.pageLayout().paintRectPixels(resolution).size());
        QList<int> chosen = pages;
        if (chosen.isEmpty()) {
            for (int page = 0; page < layout.pageCount(); ++page)
                chosen << page;
        }
        for (qsizetype i = 0; i < chosen.size(); ++i) {
            if (i > 0 && !writer.newPage())
                return {};
            layout.paint(painter, chosen[i], area, resolution);
        }
        if (!painter.end())
            return {};
    }
    return buffer.data();
}
