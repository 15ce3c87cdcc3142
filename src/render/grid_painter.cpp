#include "render/grid_painter.h"

#include <QPainter>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

constexpr int kTextPadding = GridMetrics::kTextMargin;
constexpr int kShapedCacheLimit = 4096;

// Pixels a text of the given width needs in a cell: with padding, except that a text which
// fits between the grid lines only without it still counts as fitting (it is drawn centred).
int neededWidth(int width, int cellWidth)
{
    const int padded = width + 2 * kTextPadding;
    return width <= cellWidth - 1 ? std::min(padded, cellWidth) : padded;
}

QColor toQColor(GridColor c)
{
    return QColor(c.r, c.g, c.b);
}

// Rectangles of one colour in one go: on paper one fill for all of them, not one each.
void fillRects(QPainter& p, const QColor& color, const QList<QRect>& rects)
{
    if (rects.isEmpty())
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRects(rects);
}

// One-pixel-wide lines, given as rectangles. Filled, as on screen, a line narrower than a device
// pixel (a page seen whole) can vanish; stroked with a pen a pixel wide, every device and PDF
// reader draws it at least a device pixel wide.
void drawLines(QPainter& p, const QColor& color, const QList<QRect>& rects, bool atLeastAPixel)
{
    if (!atLeastAPixel) {
        fillRects(p, color, rects);
        return;
    }
    QList<QLineF> lines;
    lines.reserve(rects.size());
    for (const QRect& r : rects) {
        if (r.height() == 1)
            lines << QLineF(r.left(), r.top() + 0.5, r.left() + r.width(), r.top() + 0.5);
        else
            lines << QLineF(r.left() + 0.5, r.top(), r.left() + 0.5, r.top() + r.height());
    }
    p.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawLines(lines);
}

// One-pixel lines along x (or y) at a fixed y (or x), from `from` to `to` inclusive.
struct Segment {
    QRgb color;
    int at, from, to;
    bool operator<(const Segment& o) const { return std::tie(color, at, from) < std::tie(o.color, o.at, o.from); }
};

// Joins the segments that touch or overlap on one line of one colour and fills them, a colour
// at a time.
void fillSegments(QPainter& p, std::vector<Segment>& segments, bool vertical, bool atLeastAPixel)
{
    std::sort(segments.begin(), segments.end());
    QList<QRect> rects;
    for (std::size_t i = 0; i < segments.size();) {
        const QRgb color = segments[i].color;
        rects.clear();
        for (; i < segments.size() && segments[i].color == color;) {
            Segment s = segments[i++];
            for (; i < segments.size() && segments[i].color == color && segments[i].at == s.at
                 && segments[i].from <= s.to + 1;
                 ++i)
                s.to = std::max(s.to, segments[i].to);
            rects << (vertical ? QRect(s.at, s.from, 1, s.to - s.from + 1) : QRect(s.from, s.at, s.to - s.from + 1, 1));
        }
        drawLines(p, QColor::fromRgb(color), rects, atLeastAPixel);
    }
}

} // namespace

const QColor GridPainter::kGridLineColor(0xd8, 0xd8, 0xd8);
const QColor GridPainter::kHeaderLineColor(0xa0, 0xa0, 0xa0);

GridPainter::GridPainter(const GridMetrics& metrics) : metrics_(metrics)
{
}

std::vector<int> GridPainter::colStarts(const Grid& grid, const GridMetrics& metrics)
{
    std::vector<int> pos(std::size_t(grid.maxCols()) + 2);
    for (int c = 0; c <= grid.maxCols(); ++c)
        pos[std::size_t(c) + 1] = pos[std::size_t(c)] + metrics.colPixels(grid.colWidth(c));
    return pos;
}

std::vector<int> GridPainter::rowStarts(const Grid& grid, const GridMetrics& metrics)
{
    std::vector<int> pos(std::size_t(grid.maxRows()) + 2);
    for (int r = 0; r <= grid.maxRows(); ++r)
        pos[std::size_t(r) + 1] = pos[std::size_t(r)] + metrics.rowPixels(grid.rowHeight(r));
    return pos;
}

const GridPainter::ShapedText& GridPainter::shaped(const QString& text) const
{
    auto it = shapedCache_.find(text);
    if (it != shapedCache_.end())
        return *it;
    if (shapedCache_.size() >= kShapedCacheLimit)
        shapedCache_.clear();
    ShapedText entry;
    entry.text.setText(text);
    entry.text.setTextFormat(Qt::PlainText);
    entry.text.prepare(QTransform(), metrics_.font());
    entry.width = metrics_.fontMetrics().horizontalAdvance(text);
    return *shapedCache_.insert(text, std::move(entry));
}

ColumnSpan GridPainter::overflowSpan(const Grid& grid, const std::vector<int>& colPos, int col, int row,
                                     int textWidth) const
{
    const int cellWidth = colPos[std::size_t(col) + 1] - colPos[std::size_t(col)];
    return grid.overflowSpan(col, row, neededWidth(textWidth, cellWidth), colPos);
}

void GridPainter::paintPane(QPainter& p, const Grid& g, const std::vector<int>& colPos, const std::vector<int>& rowPos,
                            const Pane& rp, const Pane& cp, const QRect& bounds, const QColor& selection,
                            const CellBlock& selected)
{
    const QRect clip(cp.start, rp.start, cp.end - cp.start, rp.end - rp.start);
    p.setClipRect(clip);
    auto x = [&](int c) { return cp.start + colPos[std::size_t(c)] - colPos[std::size_t(cp.first)]; };
    auto y = [&](int r) { return rp.start + rowPos[std::size_t(r)] - rowPos[std::size_t(rp.first)]; };
    auto rectOf = [&](int c, int r) { return QRect(x(c), y(r), x(c + 1) - x(c), y(r + 1) - y(r)); };
    const bool header = rp.header || cp.header;

    // Backgrounds, in runs of one colour, and a run that goes on unchanged down the rows in one
    // rectangle; white is already there.
    struct Run {
        int c1, c2;
        GridColor color;
        int r1;
    };
    std::map<std::uint32_t, QList<QRect>> fills; // in colour order, so a PDF comes out the same every time
    auto flush = [&](const Run& run, int endRow) {
        fills[run.color.rgb24()] << QRect(x(run.c1), y(run.r1), x(run.c2 + 1) - x(run.c1), y(endRow) - y(run.r1));
    };
    std::vector<Run> open, next;
    for (int r = rp.first; r <= rp.last; ++r) {
        next.clear();
        std::size_t i = 0;
        int runStart = cp.first;
        GridColor runColor = g.backColor(cp.first, r);
        for (int c = cp.first + 1; c <= cp.last + 1; ++c) {
            const GridColor color = c <= cp.last ? g.backColor(c, r) : GridColor{};
            if (c <= cp.last && color == runColor)
                continue;
            if (runColor != Grid::kDefaultBackColor) {
                const Run run{runStart, c - 1, runColor, r};
                for (; i < open.size() && open[i].c1 < run.c1; ++i)
                    flush(open[i], r);
                if (i < open.size() && open[i].c1 == run.c1 && open[i].c2 == run.c2 && open[i].color == run.color)
                    next.push_back(open[i++]);
                else
                    next.push_back(run);
            }
            runStart = c;
            runColor = color;
        }
        for (; i < open.size(); ++i)
            flush(open[i], r);
        open.swap(next);
    }
    for (const Run& run : open)
        flush(run, rp.last + 1);
    for (const auto& [rgb, rects] : fills)
        fillRects(p, QColor::fromRgb(QRgb(rgb)), rects);

    if (!header && selection.isValid() && !selected.isEmpty()) {
        const int c1 = std::max(cp.first, selected.col < 0 ? 1 : selected.col);
        const int c2 = std::min(cp.last, selected.col < 0 ? g.maxCols() : selected.col2);
        const int r1 = std::max(rp.first, selected.row), r2 = std::min(rp.last, selected.row2);
        if (c1 <= c2 && r1 <= r2)
            p.fillRect(QRect(x(c1), y(r1), x(c2 + 1) - x(c1), y(r2 + 1) - y(r1)), selection);
    }

    // Texts, including ones that overflow into view from a cell left or right of it.
    struct Item {
        int col, row;
        QString text;
        int width;
        ColumnSpan span;
    };
    std::vector<Item> items;
    const bool overflow = g.allowCellOverflow() && !header;
    const int nCols = cp.last - cp.first + 1;
    // covered[(r - first row) * nCols + (c - first col)]: a text runs across c's right edge.
    std::vector<char> covered;
    for (int r = rp.first; r <= rp.last; ++r) {
        auto add = [&](int c) {
            QString text = header ? g.headerText(c, r) : g.text(c, r);
            if (text.isEmpty())
                return;
            const int width = shaped(text).width;
            ColumnSpan span = overflow ? overflowSpan(g, colPos, c, r, width) : ColumnSpan{c, c};
            span.first = std::max(span.first, cp.logicalFirst);
            span.last = std::min(span.last, cp.logicalLast);
            if (span.last < cp.first || span.first > cp.last)
                return; // overflows from outside without reaching into view
            if (span.first < span.last) {
                if (covered.empty())
                    covered.assign(std::size_t(rp.last - rp.first + 1) * std::size_t(nCols), 0);
                for (int k = std::max(span.first, cp.first); k < std::min(span.last, cp.last + 1); ++k)
                    covered[std::size_t(r - rp.first) * std::size_t(nCols) + std::size_t(k - cp.first)] = 1;
            }
            items.push_back({c, r, std::move(text), width, span});
        };
        if (overflow) {
            for (int c = cp.first - 1; c >= cp.logicalFirst; --c) {
                if (g.hasText(c, r)) {
                    add(c);
                    break;
                }
            }
        }
        for (int c = cp.first; c <= cp.last; ++c)
            if (header || g.hasText(c, r))
                add(c);
        if (overflow) {
            for (int c = cp.last + 1; c <= cp.logicalLast; ++c) {
                if (g.hasText(c, r)) {
                    add(c);
                    break;
                }
            }
        }
    }

    // Grid lines on each cell's right and bottom edge, except where a text overflows.
    if (!header && g.gridLinesShown()) {
        QList<QRect> lines;
        const int left = x(cp.first), right = x(cp.last + 1);
        for (int r = rp.first; r <= rp.last; ++r)
            lines << QRect(left, y(r + 1) - 1, right - left, 1);
        for (int c = cp.first; c <= cp.last; ++c) {
            const int lineX = x(c + 1) - 1;
            int segment = rp.first;
            for (int r = rp.first; r <= rp.last + 1; ++r) {
                const bool end = r > rp.last;
                if (!end
                    && (covered.empty()
                        || !covered[std::size_t(r - rp.first) * std::size_t(nCols) + std::size_t(c - cp.first)]))
                    continue;
                if (r > segment)
                    lines << QRect(lineX, y(segment), 1, y(r) - y(segment));
                segment = r + 1;
            }
        }
        drawLines(p, kGridLineColor, lines, linesAtLeastAPixel_);
    }

    for (const Item& it : items) {
        const QRect cell = rectOf(it.col, it.row);
        const QRect span(x(it.span.first), cell.y(), x(it.span.last + 1) - x(it.span.first), cell.height());
        paintText(p, it.text, it.width, cell, span, g.format(it.col, it.row), toQColor(g.foreColor(it.col, it.row)));
    }

    // Borders go on top. A cell's left and top edges are its neighbours' right and bottom
    // lines, so the clip reaches one pixel into the pane before. Lines of one colour that meet
    // are filled as one.
    p.setClipRect(clip.adjusted(-1, -1, 0, 0) & bounds);
    std::vector<Segment> vertical, horizontal;
    const QRgb headerLine = kHeaderLineColor.rgb();
    for (int r = rp.first; r <= rp.last; ++r) {
        for (int c = cp.first; c <= cp.last; ++c) {
            const QRect cell = rectOf(c, r);
            const int right = cell.x() + cell.width() - 1, bottom = cell.y() + cell.height() - 1;
            if (header) {
                vertical.push_back({headerLine, right, cell.y(), bottom});
                horizontal.push_back({headerLine, bottom, cell.x(), right});
            }
            const CellFormat f = g.format(c, r);
            if (!f.hasBorders())
                continue;
            const int left = std::max(0, cell.x() - 1), top = std::max(0, cell.y() - 1);
            auto color = [](const CellBorder& b) { return qRgb(b.color.r, b.color.g, b.color.b); };
            if (f.left.style != BorderStyle::None)
                vertical.push_back({color(f.left), left, top, bottom});
            if (f.right.style != BorderStyle::None)
                vertical.push_back({color(f.right), right, top, bottom});
            if (f.top.style != BorderStyle::None)
                horizontal.push_back({color(f.top), top, left, right});
            if (f.bottom.style != BorderStyle::None)
                horizontal.push_back({color(f.bottom), bottom, left, right});
        }
    }
    fillSegments(p, vertical, true, linesAtLeastAPixel_);
    fillSegments(p, horizontal, false, linesAtLeastAPixel_);
}

void GridPainter::paintText(QPainter& p, const QString& text, int width, const QRect& cell, const QRect& span,
                            const CellFormat& format, const QColor& fore)
{
    p.setPen(fore);
    if (format.wordWrap) {
        int flags = Qt::TextWordWrap;
        flags |= format.hAlign == HAlign::Left ? Qt::AlignLeft
            : format.hAlign == HAlign::Right   ? Qt::AlignRight
                                               : Qt::AlignHCenter;
        flags |= format.vAlign == VAlign::Top ? Qt::AlignTop
            : format.vAlign == VAlign::Bottom ? Qt::AlignBottom
                                              : Qt::AlignVCenter;
        p.save();
        p.setClipRect(cell, Qt::IntersectClip);
        p.drawText(cell.adjusted(kTextPadding, 0, -kTextPadding, 0), flags, text);
        p.restore();
        return;
    }
    const QPoint topLeft = textTopLeft(width, cell, format);
    const QFontMetrics& fm = metrics_.fontMetrics();
    const int tx = topLeft.x();
    const bool fits
        = tx >= span.x() && tx + width <= span.x() + span.width() && fm.ascent() + fm.descent() <= cell.height();
    if (fits) {
        p.drawStaticText(topLeft, shaped(text).text);
        return;
    }
    p.save();
    p.setClipRect(span, Qt::IntersectClip);
    p.drawStaticText(topLeft, shaped(text).text);
    p.restore();
}

QPoint GridPainter::textTopLeft(int width, const QRect& cell, const CellFormat& format) const
{
    // A cell's last column and row of pixels are its grid lines; the text is placed in the rest.
    const int room = cell.width() - 1;
    int tx = cell.x() + kTextPadding;
    if ((width <= room && width + 2 * kTextPadding > room) || format.hAlign == HAlign::Center)
        tx = cell.x() + (room - width) / 2;
    else if (format.hAlign == HAlign::Right)
        tx = cell.x() + room - kTextPadding - width;
    const int ink = metrics_.inkAbove() + metrics_.inkBelow();
    int baseline = cell.y() + (cell.height() - 1 - ink + 1) / 2 + metrics_.inkAbove();
    if (format.vAlign == VAlign::Top)
        baseline = cell.y() + 1 + metrics_.inkAbove();
    else if (format.vAlign == VAlign::Bottom)
        baseline = cell.y() + cell.height() - 2 - metrics_.inkBelow();
    return {tx, baseline - metrics_.fontMetrics().ascent()};
}
