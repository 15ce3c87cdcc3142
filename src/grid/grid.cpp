#include "grid/grid.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>

namespace {

// Text tags, see Grid::packShortText().
constexpr std::uint8_t kMaxLatin1 = 7;
constexpr std::uint8_t kMaxUtf16 = 3;
constexpr std::uint8_t kDigitsTag = 0x20;
constexpr std::uint8_t kMaxDigits = 14;
constexpr std::uint8_t kPoolTag = 0x80;

constexpr std::size_t kMaxIds = 65536; // colour and style ids are 16 bits
constexpr std::uint32_t kNoMemo = 0xffffffffu;

int sideIndex(BorderSide side)
{
    switch (side) {
    case BorderSide::Left:
        return 0;
    case BorderSide::Right:
        return 1;
    case BorderSide::Top:
        return 2;
    case BorderSide::Bottom:
        return 3;
    case BorderSide::Outline:
        break;
    }
    return -1;
}

// QHash keeps about one control byte per bucket plus the entries themselves.
template <typename K, typename V> std::size_t hashBytes(const QHash<K, V>& h)
{
    return std::size_t(h.capacity()) * (1 + sizeof(K) + sizeof(V)) + 64;
}

} // namespace

Grid::Grid()
{
    cells_.assign(1, emptyCell(true));
    rowHeights_.assign(1, float(defaultRowHeight_));
    colWidths_.assign(1, float(defaultColWidth_));
    clear();
}

Grid::Grid(int maxCols, int maxRows) : Grid()
{
    setMaxCols(maxCols);
    setMaxRows(maxRows);
}

Grid::Cell Grid::emptyCell(bool header)
{
    Cell c;
    std::memset(&c, 0, sizeof c);
    c.style = header ? kHeaderStyle : 0;
    return c;
}

void Grid::resetRow(int row)
{
    Cell* p = &cell(0, row);
    p[0] = emptyCell(true);
    const Cell fill = emptyCell(row == 0);
    std::fill(p + 1, p + cols_ + 1, fill);
}

void Grid::touchLayout()
{
    ++revision_;
    ++layoutRevision_;
}

// ---- sheet size ----

void Grid::setMaxCols(int cols)
{
    cols = std::max(0, cols);
    if (cols == cols_)
        return;
    const int keep = std::min(cols_, cols);
    std::vector<Cell> next(std::size_t(rows_ + 1) * std::size_t(cols + 1));
    for (int r = 0; r <= rows_; ++r) {
        const Cell* src = &cell(0, r);
        Cell* dst = &next[std::size_t(r) * std::size_t(cols + 1)];
        if (!poolIndex_.isEmpty())
            for (int c = keep + 1; c <= cols_; ++c)
                releaseText(src[c]);
        std::memcpy(static_cast<void*>(dst), src, std::size_t(keep + 1) * sizeof(Cell));
        std::fill(dst + keep + 1, dst + cols + 1, emptyCell(r == 0));
    }
    cells_.swap(next);
    cols_ = cols;
    colWidths_.resize(std::size_t(cols + 1), float(defaultColWidth_));
    if (latestCol_ > cols)
        latestRow_ = latestCol_ = 0;
    touchLayout();
}

void Grid::setMaxRows(int rows)
{
    rows = std::max(0, rows);
    if (rows == rows_)
        return;
    const std::size_t stride = std::size_t(cols_ + 1);
    if (rows < rows_) {
        releaseRows(rows + 1, rows_);
        cells_.resize(std::size_t(rows + 1) * stride);
    } else {
        const int old = rows_;
        cells_.resize(std::size_t(rows + 1) * stride);
        rows_ = rows;
        for (int r = old + 1; r <= rows; ++r)
            cell(0, r).style = kHeaderStyle;
    }
    rows_ = rows;
    rowHeights_.resize(std::size_t(rows + 1), float(defaultRowHeight_));
    drawRows_.dropRowsAfter(rows);
    if (latestRow_ > rows)
        latestRow_ = latestCol_ = 0;
    touchLayout();
}

void Grid::setVisibleCols(int cols)
{
    visibleCols_ = std::max(0, cols);
    touchLayout();
}

void Grid::setVisibleRows(int rows)
{
    visibleRows_ = std::max(0, rows);
    touchLayout();
}

void Grid::setAutoSize(bool on)
{
    autoSize_ = on;
    touchLayout();
}

void Grid::setColHeadersShown(bool shown)
{
    colHeadersShown_ = shown;
    touchLayout();
}

void Grid::setRowHeadersShown(bool shown)
{
    rowHeadersShown_ = shown;
    touchLayout();
}

void Grid::setScrollBars(ScrollBars bars)
{
    scrollBars_ = bars;
    touchLayout();
}

void Grid::setScrollBarsWhenNeeded(bool whenNeeded)
{
    scrollBarsWhenNeeded_ = whenNeeded;
    touchLayout();
}

void Grid::setScrollBarTrack(bool track)
{
    scrollBarTrack_ = track;
    touchLayout(); // the view sets up its scroll bars on layout changes
}

void Grid::setFrozenRows(int rows)
{
    frozenRows_ = std::max(0, rows);
    touchLayout();
}

void Grid::setFrozenCols(int cols)
{
    frozenCols_ = std::max(0, cols);
    touchLayout();
}

// ---- sizes ----

void Grid::setRowHeight(int row, double heightUnits)
{
    heightUnits = std::max(0.0, heightUnits);
    if (row < 0) {
        defaultRowHeight_ = heightUnits;
        std::fill(rowHeights_.begin(), rowHeights_.end(), float(heightUnits));
    } else if (row <= rows_) {
        rowHeights_[std::size_t(row)] = float(heightUnits);
    } else {
        return;
    }
    touchLayout();
}

void Grid::setColWidth(int col, double widthUnits)
{
    widthUnits = std::max(0.0, widthUnits);
    if (col < 0) {
        defaultColWidth_ = widthUnits;
        std::fill(colWidths_.begin(), colWidths_.end(), float(widthUnits));
    } else if (col <= cols_) {
        colWidths_[std::size_t(col)] = float(widthUnits);
    } else {
        return;
    }
    touchLayout();
}

double Grid::rowHeight(int row) const
{
    return unsigned(row) <= unsigned(rows_) ? double(rowHeights_[std::size_t(row)]) : defaultRowHeight_;
}

double Grid::colWidth(int col) const
{
    return unsigned(col) <= unsigned(cols_) ? double(colWidths_[std::size_t(col)]) : defaultColWidth_;
}

void Grid::setAllowCellOverflow(bool allow)
{
    allowOverflow_ = allow;
    ++revision_;
}

void Grid::setGridLinesShown(bool shown)
{
    gridLines_ = shown;
    ++revision_;
}

// ---- current cell and block ----

void Grid::setCol(int col)
{
    col_ = col;
}

void Grid::setRow(int row)
{
    row_ = row;
}

void Grid::setCol2(int col)
{
    col2_ = col;
}

void Grid::setRow2(int row)
{
    row2_ = row;
}

void Grid::setBlockMode(bool on)
{
    blockMode_ = on;
}

void Grid::setBlock(int col, int row, int col2, int row2)
{
    col_ = col;
    row_ = row;
    col2_ = col2;
    row2_ = row2;
    blockMode_ = true;
}

Grid::Range Grid::target() const
{
    // A negative coordinate at either end means every data row or column.
    auto span = [this](int a, int b, int max, int& lo, int& hi) {
        if (a < 0 || (blockMode_ && b < 0)) {
            lo = 1;
            hi = max;
            return;
        }
        lo = a;
        hi = blockMode_ ? b : a;
        if (lo > hi)
            std::swap(lo, hi);
        hi = std::min(hi, max);
    };
    Range r{};
    span(col_, col2_, cols_, r.c1, r.c2);
    span(row_, row2_, rows_, r.r1, r.r2);
    return r;
}

template <typename F> void Grid::forEachCell(const Range& range, F f)
{
    if (range.isEmpty())
        return;
    const int width = range.c2 - range.c1 + 1;
    for (int r = range.r1; r <= range.r2; ++r) {
        Cell* p = &cell(range.c1, r);
        for (int i = 0; i < width; ++i)
            f(p[i]);
    }
}

int Grid::internStyle(const Style& style)
{
    const auto it = styleIndex_.constFind(style);
    if (it != styleIndex_.constEnd())
        return *it;
    if (styles_.size() >= kMaxIds)
        return -1;
    const auto id = std::uint16_t(styles_.size());
    styles_.push_back(style);
    styleIndex_.insert(style, id);
    return id;
}

// Cells sharing a style get the same new style, so each distinct old style is looked up once.
template <typename F> void Grid::transformStyles(const Range& range, F change)
{
    if (range.isEmpty())
        return;
    std::vector<std::uint32_t> memo(styles_.size(), kNoMemo);
    bool full = false;
    forEachCell(range, [&](Cell& c) {
        std::uint32_t id = memo[c.style];
        if (id == kNoMemo) {
            Style s = styles_[c.style];
            change(s);
            const int interned = internStyle(s);
            full = full || interned < 0;
            id = interned < 0 ? c.style : std::uint32_t(interned);
            memo[c.style] = id;
        }
        c.style = std::uint16_t(id);
    });
    if (full)
        qWarning("Grid: more than 65536 distinct cell formats; some formats were not applied");
    ++revision_;
}

void Grid::setHAlign(HAlign align)
{
    transformStyles(target(), [align](Style& s) { s.hAlign = align; });
}

void Grid::setVAlign(VAlign align)
{
    transformStyles(target(), [align](Style& s) { s.vAlign = align; });
}

void Grid::setWordWrap(bool wrap)
{
    transformStyles(target(), [wrap](Style& s) { s.wordWrap = wrap; });
}

void Grid::setBackColor(GridColor color)
{
    const std::uint16_t id = colorIndex(color);
    forEachCell(target(), [id](Cell& c) { c.back = id; });
    ++revision_;
}

void Grid::setForeColor(GridColor color)
{
    const std::uint16_t id = colorIndex(color);
    forEachCell(target(), [id](Cell& c) { c.fore = id; });
    ++revision_;
}

void Grid::setCellBorder(BorderSides sides, BorderStyle style, GridColor color)
{
    const Range r = target();
    if (r.isEmpty())
        return;
    const auto styleBits = std::uint8_t(style);
    const std::uint16_t colorId
        = style == BorderStyle::None ? 0 : colorIndex(color.isValid() ? color : kDefaultForeColor);
    auto put = [&](const Range& sub, unsigned mask) {
        transformStyles(sub, [&](Style& s) {
            for (int i = 0; i < 4; ++i) {
                if (mask & (1u << i)) {
                    s.borderStyle[i] = styleBits;
                    s.borderColor[i] = colorId;
                }
            }
        });
    };
    const unsigned everyCell = unsigned(sides.toInt()) & 15u;
    if (everyCell)
        put(r, everyCell);
    if (sides.testFlag(BorderSide::Outline)) {
        put({r.c1, r.c1, r.r1, r.r2}, 1u);
        put({r.c2, r.c2, r.r1, r.r2}, 2u);
        put({r.c1, r.c2, r.r1, r.r1}, 4u);
        put({r.c1, r.c2, r.r2, r.r2}, 8u);
    }
}

// ---- texts ----

std::uint64_t Grid::encodeText(const QString& text)
{
    std::uint64_t packed;
    if (packShortText(text, packed))
        return packed;
    return kPoolTag | std::uint64_t(internString(text)) << 32;
}

QString Grid::decodeText(const Cell& c) const
{
    const std::uint64_t v = packedText(c);
    const auto tag = std::uint8_t(v);
    if (tag == 0)
        return QString();
    if (tag == kPoolTag)
        return pool_[std::uint32_t(v >> 32)];
    if (tag <= kMaxLatin1) {
        char latin1[kMaxLatin1];
        for (int i = 0; i < tag; ++i)
            latin1[i] = char(v >> (8 * (i + 1)));
        return QString::fromLatin1(latin1, tag);
    }
    if ((tag & 0xf0) == kDigitsTag) {
        const int n = tag & 0x0f;
        QChar chars[kMaxDigits];
        for (int i = 0; i < n; ++i)
            chars[i] = QChar(kDigitTextChars[(v >> (8 + 4 * i)) & 0x0f]);
        return QString(chars, n);
    }
    const int n = tag & 0x0f;
    QChar units[kMaxUtf16];
    for (int i = 0; i < n; ++i)
        units[i] = QChar(char16_t(v >> (16 * (i + 1))));
    return QString(units, n);
}

std::uint32_t Grid::internString(const QString& text)
{
    const auto held = poolByBuffer_.constFind(text.constData());
    if (held != poolByBuffer_.constEnd() && pool_[*held].constData() == text.constData()
        && pool_[*held].size() == text.size()) {
        ++poolRefs_[*held];
        return *held;
    }
    const auto it = poolIndex_.constFind(text);
    if (it != poolIndex_.constEnd()) {
        ++poolRefs_[*it];
        return *it;
    }
    std::uint32_t id;
    if (!poolFree_.empty()) {
        id = poolFree_.back();
        poolFree_.pop_back();
        pool_[id] = text;
        poolRefs_[id] = 1;
    } else {
        id = std::uint32_t(pool_.size());
        pool_.push_back(text);
        poolRefs_.push_back(1);
    }
    poolIndex_.insert(pool_[id], id);
    poolByBuffer_.insert(pool_[id].constData(), id);
    return id;
}

void Grid::releaseText(const Cell& c)
{
    if (c.text[0] != kPoolTag)
        return;
    const auto id = std::uint32_t(packedText(c) >> 32);
    if (--poolRefs_[id] == 0) {
        poolIndex_.remove(pool_[id]);
        poolByBuffer_.remove(pool_[id].constData());
        pool_[id] = QString();
        poolFree_.push_back(id);
    }
}

void Grid::releaseRows(int firstRow, int lastRow)
{
    if (poolIndex_.isEmpty() || firstRow > lastRow)
        return;
    const Cell* p = &cell(0, firstRow);
    const Cell* end = p + std::size_t(lastRow - firstRow + 1) * std::size_t(cols_ + 1);
    for (; p != end; ++p)
        releaseText(*p);
}

void Grid::setTextSlow(Cell& c, const QString& text)
{
    const std::uint64_t packed = encodeText(text); // interned first: a cell set to its own text keeps the entry
    releaseText(c);
    storeText(c, packed);
    ++revision_;
}

QString Grid::text(int col, int row) const
{
    return contains(col, row) ? decodeText(cell(col, row)) : QString();
}

bool Grid::hasText(int col, int row) const
{
    return contains(col, row) && cell(col, row).text[0] != 0;
}

QString Grid::headerText(int col, int row) const
{
    if (!contains(col, row))
        return QString();
    if (hasText(col, row) || (col > 0 && row > 0))
        return text(col, row);
    if (row == 0)
        return columnLabel(col);
    return QString::number(row);
}

QString Grid::columnLabel(int col)
{
    QString label;
    while (col > 0) {
        --col;
        label.prepend(QChar(u'A' + col % 26));
        col /= 26;
    }
    return label;
}

// ---- colours ----

std::uint16_t Grid::colorIndexSlow(GridColor color)
{
    const std::uint32_t key = color.rgb24();
    std::uint16_t id;
    const auto it = paletteIndex_.constFind(key);
    if (it != paletteIndex_.constEnd()) {
        id = *it;
    } else if (palette_.size() < kMaxIds) {
        id = std::uint16_t(palette_.size());
        palette_.push_back(color);
        paletteIndex_.insert(key, id);
    } else {
        // A full palette gets the nearest colour rather than dropping the put.
        if (!paletteFullWarned_)
            qWarning("Grid: more than 65535 colours; using the nearest ones");
        paletteFullWarned_ = true;
        id = 1;
        int best = 1 << 30;
        for (std::size_t i = 1; i < palette_.size(); ++i) {
            const int dr = palette_[i].r - color.r, dg = palette_[i].g - color.g, db = palette_[i].b - color.b;
            const int d = dr * dr + dg * dg + db * db;
            if (d < best) {
                best = d;
                id = std::uint16_t(i);
            }
        }
    }
    colorCache_[(key * 2654435761u) >> (32 - kColorCacheBits)] = {key, id};
    return id;
}

GridColor Grid::paletteColor(std::uint16_t index) const
{
    return palette_[index];
}

GridColor Grid::backColor(int col, int row) const
{
    const bool header = col == 0 || row == 0;
    if (contains(col, row)) {
        if (const std::uint16_t id = cell(col, row).back)
            return paletteColor(id);
    }
    return header ? kHeaderBackColor : kDefaultBackColor;
}

GridColor Grid::foreColor(int col, int row) const
{
    if (contains(col, row)) {
        if (const std::uint16_t id = cell(col, row).fore)
            return paletteColor(id);
    }
    return kDefaultForeColor;
}

// ---- formats ----

HAlign Grid::hAlign(int col, int row) const
{
    return format(col, row).hAlign;
}

VAlign Grid::vAlign(int col, int row) const
{
    return format(col, row).vAlign;
}

bool Grid::wordWrap(int col, int row) const
{
    return format(col, row).wordWrap;
}

CellBorder Grid::border(int col, int row, BorderSide side) const
{
    const int i = sideIndex(side);
    if (i < 0 || !contains(col, row))
        return {};
    const Style& s = styles_[cell(col, row).style];
    return {BorderStyle(s.borderStyle[i]), s.borderStyle[i] ? paletteColor(s.borderColor[i]) : GridColor{}};
}

CellFormat Grid::format(int col, int row) const
{
    CellFormat f;
    if (!contains(col, row))
        return f;
    const Style& s = styles_[cell(col, row).style];
    f.hAlign = s.hAlign;
    f.vAlign = s.vAlign;
    f.wordWrap = s.wordWrap;
    CellBorder* sides[4] = {&f.left, &f.right, &f.top, &f.bottom};
    for (int i = 0; i < 4; ++i) {
        if (s.borderStyle[i]) {
            sides[i]->style = BorderStyle(s.borderStyle[i]);
            sides[i]->color = paletteColor(s.borderColor[i]);
        }
    }
    return f;
}

ColumnSpan Grid::overflowSpan(int col, int row, int textWidth, std::span<const int> colStarts) const
{
    auto colWidthPixels = [&](int c) { return colStarts[std::size_t(c) + 1] - colStarts[std::size_t(c)]; };
    ColumnSpan span{col, col};
    if (!allowOverflow_ || col < 1 || row < 1 || !hasText(col, row))
        return span;
    const Style& s = styles_[cell(col, row).style];
    const int excess = textWidth - colWidthPixels(col);
    if (s.wordWrap || excess <= 0)
        return span;
    auto grow = [&](int need, int step, int& edge) {
        for (int c = edge + step; need > 0 && c >= 1 && c <= cols_ && !hasText(c, row); c += step) {
            need -= colWidthPixels(c);
            edge = c;
        }
    };
    switch (s.hAlign) {
    case HAlign::Left:
        grow(excess, 1, span.last);
        break;
    case HAlign::Right:
        grow(excess, -1, span.first);
        break;
    case HAlign::Center:
        // Centred text sticks out half on each side; a blocked side is clipped, not shifted.
        grow(excess - excess / 2, 1, span.last);
        grow(excess / 2, -1, span.first);
        break;
    }
    return span;
}

void Grid::clear()
{
    for (int r = 0; r <= rows_; ++r)
        resetRow(r);
    pool_.clear();
    poolRefs_.clear();
    poolFree_.clear();
    poolIndex_.clear();
    poolByBuffer_.clear();
    palette_.assign(1, GridColor{});
    paletteIndex_.clear();
    std::fill(std::begin(colorCache_), std::end(colorCache_), ColorCacheEntry{});
    paletteFullWarned_ = false;
    styles_.clear();
    styleIndex_.clear();
    internStyle(Style{});
    Style header;
    header.hAlign = HAlign::Center;
    internStyle(header);
    drawRows_.clear();
    latestRow_ = latestCol_ = 0;
    sortFirst_ = sortLast_ = 0;
    ++revision_;
}

void Grid::setSortableRows(int firstRow, int lastRow)
{
    const bool valid = firstRow >= 1 && lastRow >= firstRow && lastRow <= rows_;
    sortFirst_ = valid ? firstRow : 0;
    sortLast_ = valid ? lastRow : 0;
}

void Grid::sortRows(int col, bool descending)
{
    if (sortFirst_ < 1 || sortLast_ > rows_ || col < 1 || col > cols_)
        return;
    // The key of a cell: 0 a number (its value), 1 other text, 2 nothing ("–" or empty).
    struct Key {
        int kind;
        double value;
        QString text;
    };
    const int count = sortLast_ - sortFirst_ + 1;
    std::vector<Key> keys;
    keys.reserve(std::size_t(count));
    for (int r = sortFirst_; r <= sortLast_; ++r) {
        QString t = text(col, r).trimmed();
        if (t.isEmpty() || t == QStringLiteral("–")) {
            keys.push_back({2, 0, {}});
            continue;
        }
        if (t.endsWith(u'%'))
            t.chop(1);
        bool isNumber = false;
        const double value = t.toDouble(&isNumber);
        keys.push_back(isNumber ? Key{0, value, {}} : Key{1, 0, text(col, r)});
    }
    std::vector<int> order(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        order[std::size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&keys, descending](int a, int b) {
        const Key& x = keys[std::size_t(a)];
        const Key& y = keys[std::size_t(b)];
        if (x.kind != y.kind)
            return x.kind < y.kind;
        if (x.kind == 0)
            return descending ? x.value > y.value : x.value < y.value;
        if (x.kind == 1)
            return descending ? x.text > y.text : x.text < y.text;
        return false;
    });
    const std::size_t width = std::size_t(cols_ + 1);
    std::vector<Cell> moved(std::size_t(count) * width);
    for (int i = 0; i < count; ++i)
        std::copy_n(&cell(0, sortFirst_ + order[std::size_t(i)]), width, &moved[std::size_t(i) * width]);
    std::copy(moved.begin(), moved.end(), &cell(0, sortFirst_));
    ++revision_;
}

void Grid::setDrawRow(int row, int drawNo)
{
    if (row >= 1 && row <= rows_ && drawNo >= 1)
        drawRows_.add(row, drawNo);
}

void Grid::setLatestCell(int col, int row)
{
    const bool inSheet = col >= 1 && col <= cols_ && row >= 1 && row <= rows_;
    latestCol_ = inSheet ? col : 0;
    latestRow_ = inSheet ? row : 0;
}

std::size_t Grid::memoryUsage() const
{
    std::size_t bytes = sizeof(Grid) + cells_.capacity() * sizeof(Cell);
    bytes += pool_.capacity() * sizeof(QString) + poolRefs_.capacity() * 4 + poolFree_.capacity() * 4;
    for (const QString& s : pool_)
        if (!s.isNull())
            bytes += std::size_t(s.capacity()) * 2 + 32; // text plus its shared header
    bytes += hashBytes(poolIndex_) + hashBytes(poolByBuffer_);
    bytes += palette_.capacity() * sizeof(GridColor) + hashBytes(paletteIndex_);
    bytes += styles_.capacity() * sizeof(Style) + hashBytes(styleIndex_);
    bytes += (rowHeights_.capacity() + colWidths_.capacity()) * sizeof(float);
    bytes += drawRows_.memoryUsage();
    return bytes;
}
