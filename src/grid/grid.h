#pragma once

#include "grid/draw_row_index.h"

#include <QFlags>
#include <QHash>
#include <QString>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// A colour as the windows give it; a default-constructed one means "not set".
struct GridColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool valid = false;

    constexpr bool isValid() const { return valid; }
    constexpr std::uint32_t rgb24() const { return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b; }
    friend constexpr bool operator==(const GridColor&, const GridColor&) = default;
};

constexpr GridColor rgb(int r, int g, int b)
{
    return GridColor{std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), true};
}

enum class HAlign : std::uint8_t { Left, Right, Center };
enum class VAlign : std::uint8_t { Top, Center, Bottom };
enum class BorderStyle : std::uint8_t { None, Solid };
enum class BorderSide : std::uint8_t { Left = 1, Right = 2, Top = 4, Bottom = 8, Outline = 16 };
Q_DECLARE_FLAGS(BorderSides, BorderSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(BorderSides)
enum class ScrollBars : std::uint8_t { None, Horizontal, Vertical, Both };

struct CellBorder {
    BorderStyle style = BorderStyle::None;
    GridColor color;
    friend bool operator==(const CellBorder&, const CellBorder&) = default;
};

// Everything about a cell except its text and colours, resolved for drawing.
struct CellFormat {
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Center;
    bool wordWrap = false;
    CellBorder left, right, top, bottom;

    bool hasBorders() const
    {
        return left.style != BorderStyle::None || right.style != BorderStyle::None || top.style != BorderStyle::None
            || bottom.style != BorderStyle::None;
    }
};

// Columns [first, last] that a cell's text covers when it overflows into empty neighbours.
struct ColumnSpan {
    int first = 0;
    int last = 0;
    friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

// A headless spreadsheet that the read-only windows write their result tables into and a
// GridView shows. Rows and columns count from 1; row 0 is the column-header row and column 0
// the row-header column; -1 stands for all data rows or columns.
//
// Properties are put the way the window code expects of a grid control: choose the current
// cell with setCol/setRow (or a block with setCol2/setRow2 and block mode), then put
// alignment, colours, borders and so on. Texts and colours also have direct forms for the
// loops that fill a million cells.
//
// A cell costs 14 bytes: its text (inline when short or made of digits, else an id into a
// shared, counted string pool), back and fore colour ids into a palette and a style id into a
// deduplicated table.
//
// Defaults: an empty 0 x 0 sheet; rows 10 units high, columns 5 units wide (header row and
// column included); both headers shown; scroll bars both, only when needed, tracking;
// no overflow; grid lines shown; static text, left, vertically centred; black on white.
class Grid {
public:
    static constexpr double kDefaultRowHeight = 10.0;
    static constexpr double kDefaultColWidth = 5.0;
    static constexpr GridColor kDefaultBackColor = rgb(255, 255, 255);
    static constexpr GridColor kDefaultForeColor = rgb(0, 0, 0);
    static constexpr GridColor kHeaderBackColor = rgb(236, 236, 236);

    Grid();
    Grid(int maxCols, int maxRows);

    // Sheet size. Growing keeps every cell, shrinking drops the cells that fall off.
    void setMaxCols(int cols);
    void setMaxRows(int rows);
    int maxCols() const { return cols_; }
    int maxRows() const { return rows_; }

    // How much of the sheet the view shows when it sizes itself (frozen rows included).
    void setVisibleCols(int cols);
    void setVisibleRows(int rows);
    void setAutoSize(bool on);
    int visibleCols() const { return visibleCols_; }
    int visibleRows() const { return visibleRows_; }
    bool autoSize() const { return autoSize_; }

    void setColHeadersShown(bool shown);
    void setRowHeadersShown(bool shown);
    bool colHeadersShown() const { return colHeadersShown_; }
    bool rowHeadersShown() const { return rowHeadersShown_; }

    void setScrollBars(ScrollBars bars);
    void setScrollBarsWhenNeeded(bool whenNeeded);
    void setScrollBarTrack(bool track);
    ScrollBars scrollBars() const { return scrollBars_; }
    bool scrollBarsWhenNeeded() const { return scrollBarsWhenNeeded_; }
    bool scrollBarTrack() const { return scrollBarTrack_; }

    // The first n data rows / columns stay in view while the rest scrolls.
    void setFrozenRows(int rows);
    void setFrozenCols(int cols);
    int frozenRows() const { return frozenRows_; }
    int frozenCols() const { return frozenCols_; }

    // Heights in points, widths in character units; -1 sets every row or column
    // (headers included) and the size of rows and columns added later.
    void setRowHeight(int row, double heightUnits);
    void setColWidth(int col, double widthUnits);
    double rowHeight(int row) const;
    double colWidth(int col) const;

    void setAllowCellOverflow(bool allow);
    bool allowCellOverflow() const { return allowOverflow_; }
    void setGridLinesShown(bool shown);
    bool gridLinesShown() const { return gridLines_; }

    // The current cell or block that the puts below act on.
    void setCol(int col);
    void setRow(int row);
    void setCol2(int col);
    void setRow2(int row);
    void setBlockMode(bool on);
    void setBlock(int col, int row, int col2, int row2); // sets all four and block mode on
    int col() const { return col_; }
    int row() const { return row_; }
    int col2() const { return col2_; }
    int row2() const { return row2_; }
    bool blockMode() const { return blockMode_; }

    void setHAlign(HAlign align);
    void setVAlign(VAlign align);
    void setWordWrap(bool wrap);
    void setBackColor(GridColor color);
    void setForeColor(GridColor color);
    // Outline puts the sides on the block's edge only; the other sides go on every cell.
    void setCellBorder(BorderSides sides, BorderStyle style, GridColor color = kDefaultForeColor);

    void setText(int col, int row, const QString& text);
    void setBackColor(int col, int row, GridColor color);
    void setForeColor(int col, int row, GridColor color);
    void setCellColors(int col, int row, GridColor back, GridColor fore);

    QString text(int col, int row) const;
    bool hasText(int col, int row) const;
    GridColor backColor(int col, int row) const; // effective: white, or grey on headers
    GridColor foreColor(int col, int row) const;
    HAlign hAlign(int col, int row) const;
    VAlign vAlign(int col, int row) const;
    bool wordWrap(int col, int row) const;
    CellBorder border(int col, int row, BorderSide side) const;
    CellFormat format(int col, int row) const;

    // What a header shows: its own text if set, else the row number or column letters.
    QString headerText(int col, int row) const;
    static QString columnLabel(int col);

    // Columns that the text of (col,row), textWidth pixels wide with padding, covers: it spills
    // into empty neighbours, rightwards when left-aligned, leftwards when right-aligned, both
    // ways when centred, and stops at the first cell with text. colStarts holds the pixel start
    // of every column from column 0 and the end of the last one (maxCols() + 2 values).
    ColumnSpan overflowSpan(int col, int row, int textWidth, std::span<const int> colStarts) const;

    // The rows that list one draw each, with its 回数 (rows outside the sheet and numbers below 1
    // are not listed). Views open at the latest draw and go to a draw by its number; no export
    // or printout shows them.
    void setDrawRow(int row, int drawNo);
    const DrawRowIndex& drawRows() const { return drawRows_; }
    // The row a view opens at as its last row in view, and keeps to as new draws come: the row
    // of the latest draw, unless the sheet names a cell of its own (a chart, the latest draw's
    // mark). 0: none, the view opens at the top. latestCol: the column of the cell named; 0 for
    // the row of the latest draw, where the view keeps the column the user chose.
    void setLatestCell(int col, int row);

    // A table with one row per item (firstRow … lastRow, the headings above): clicking a
    // heading sorts those rows by its column (GridView). None: 0, 0.
    void setSortableRows(int firstRow, int lastRow);
    int sortableFirstRow() const { return sortFirst_; }
    int sortableLastRow() const { return sortLast_; }
    // Sorts the sortable rows by the column: numbers by value ("27.3%" by 27.3, "012" by 12),
    // other text after them by text, "–" and empty cells last either way; equal rows keep their
    // order. Whole rows move, colours and borders with their text.
    void sortRows(int col, bool descending);
    int latestRow() const { return latestRow_ > 0 ? latestRow_ : drawRows_.lastRow(); }
    int latestCol() const { return latestRow_ > 0 ? latestCol_ : 0; }

    // Clears every cell's text and format, and the rows listing draws; sheet size, sizes and
    // settings stay.
    void clear();

    // Counts every change; layoutRevision() only those that move or resize cells.
    std::uint64_t revision() const { return revision_; }
    std::uint64_t layoutRevision() const { return layoutRevision_; }

    std::size_t memoryUsage() const;
    int paletteSize() const { return int(palette_.size()) - 1; }
    int styleCount() const { return int(styles_.size()); }
    int stringPoolSize() const { return int(poolIndex_.size()); }

private:
    struct Cell {
        std::uint8_t text[8];
        std::uint16_t back;
        std::uint16_t fore;
        std::uint16_t style;
    };
    static_assert(sizeof(Cell) == 14);

    struct Style {
        std::uint16_t borderColor[4] = {0, 0, 0, 0}; // Left, Right, Top, Bottom
        std::uint8_t borderStyle[4] = {0, 0, 0, 0};
        HAlign hAlign = HAlign::Left;
        VAlign vAlign = VAlign::Center;
        bool wordWrap = false;

        friend bool operator==(const Style&, const Style&) = default;
        friend size_t qHash(const Style& s, size_t seed = 0)
        {
            std::uint64_t colors = std::uint64_t(s.borderColor[0]) | std::uint64_t(s.borderColor[1]) << 16
                | std::uint64_t(s.borderColor[2]) << 32 | std::uint64_t(s.borderColor[3]) << 48;
            std::uint32_t bits = s.borderStyle[0] | s.borderStyle[1] << 2 | s.borderStyle[2] << 4
                | s.borderStyle[3] << 6 | std::uint32_t(s.hAlign) << 10 | std::uint32_t(s.vAlign) << 12
                | std::uint32_t(s.wordWrap) << 14;
            return qHashMulti(seed, colors, bits);
        }
    };

    // Recently used colours, direct-mapped, so alternating colours in a fill loop stay hits.
    struct ColorCacheEntry {
        std::uint32_t key = 0xffffffffu;
        std::uint16_t index = 0;
    };
    static constexpr int kColorCacheBits = 6;

    struct Range {
        int c1, c2, r1, r2;
        bool isEmpty() const { return c1 > c2 || r1 > r2; }
    };

    static constexpr std::uint16_t kHeaderStyle = 1;

    bool contains(int col, int row) const
    {
        return unsigned(col) <= unsigned(cols_) && unsigned(row) <= unsigned(rows_);
    }
    Cell& cell(int col, int row) { return cells_[std::size_t(row) * std::size_t(cols_ + 1) + std::size_t(col)]; }
    const Cell& cell(int col, int row) const
    {
        return cells_[std::size_t(row) * std::size_t(cols_ + 1) + std::size_t(col)];
    }
    static Cell emptyCell(bool header);
    void resetRow(int row);

    static bool packShortText(const QString& text, std::uint64_t& packed);
    static std::uint64_t packedText(const Cell& c);
    static void storeText(Cell& c, std::uint64_t packed);
    std::uint64_t encodeText(const QString& text);
    QString decodeText(const Cell& c) const;
    std::uint32_t internString(const QString& text);
    void releaseText(const Cell& c);
    void releaseRows(int firstRow, int lastRow);

    std::uint16_t colorIndex(GridColor color);
    std::uint16_t colorIndexSlow(GridColor color);
    void setTextSlow(Cell& c, const QString& text);
    GridColor paletteColor(std::uint16_t index) const;

    int internStyle(const Style& style); // -1 when the table is full
    template <typename F> void transformStyles(const Range& range, F change);
    template <typename F> void forEachCell(const Range& range, F f);
    Range target() const;
    void touchLayout();

    std::vector<Cell> cells_;
    int cols_ = 0;
    int rows_ = 0;

    std::vector<QString> pool_;
    std::vector<std::uint32_t> poolRefs_;
    std::vector<std::uint32_t> poolFree_;
    QHash<QString, std::uint32_t> poolIndex_;
    // The pool's strings by the address of their characters: a string handed in again as the
    // very one the pool holds (a window writing one QString into many cells) is found without
    // hashing its characters.
    QHash<const QChar*, std::uint32_t> poolByBuffer_;

    std::vector<GridColor> palette_;
    QHash<std::uint32_t, std::uint16_t> paletteIndex_;
    ColorCacheEntry colorCache_[1 << kColorCacheBits];
    bool paletteFullWarned_ = false;

    std::vector<Style> styles_;
    QHash<Style, std::uint16_t> styleIndex_;

    std::vector<float> rowHeights_;
    std::vector<float> colWidths_;
    double defaultRowHeight_ = kDefaultRowHeight;
    double defaultColWidth_ = kDefaultColWidth;

    int visibleCols_ = 0;
    int visibleRows_ = 0;
    bool autoSize_ = false;
    bool colHeadersShown_ = true;
    bool rowHeadersShown_ = true;
    ScrollBars scrollBars_ = ScrollBars::Both;
    bool scrollBarsWhenNeeded_ = true;
    bool scrollBarTrack_ = true;
    int frozenRows_ = 0;
    int frozenCols_ = 0;
    bool allowOverflow_ = false;
    bool gridLines_ = true;

    DrawRowIndex drawRows_;
    int latestRow_ = 0;
    int sortFirst_ = 0;
    int sortLast_ = 0;
    int latestCol_ = 0;

    int col_ = 1, row_ = 1, col2_ = 1, row2_ = 1;
    bool blockMode_ = false;

    std::uint64_t revision_ = 0;
    std::uint64_t layoutRevision_ = 0;
};

// The fill loops of the windows run through these a million times; they stay inline.

inline std::uint16_t Grid::colorIndex(GridColor color)
{
    if (!color.isValid())
        return 0;
    const std::uint32_t key = color.rgb24();
    const ColorCacheEntry& e = colorCache_[(key * 2654435761u) >> (32 - kColorCacheBits)];
    return e.key == key ? e.index : colorIndexSlow(color);
}

// The characters of a digit text, by their four-bit codes.
inline constexpr char16_t kDigitTextChars[16]
    = {u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u',', u'.', u'/', u'-', u':', u'円'};

// The four-bit code of a character of a digit text; -1 for any other character.
inline int digitTextCode(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    switch (c) {
    case u',':
        return 10;
    case u'.':
        return 11;
    case u'/':
        return 12;
    case u'-':
        return 13;
    case u':':
        return 14;
    case u'円':
        return 15;
    default:
        return -1;
    }
}

// A cell's text is 8 bytes, kept as a little-endian word: the low byte is a tag, 0 empty,
// 1..7 that many Latin-1 bytes follow, 0x10|n n UTF-16 units from byte 2 (n <= 3), 0x20|n
// n characters of a digit text four bits each from byte 1 (n <= 14: dates, amounts in yen,
// grouped numbers), 0x80 a pool id in bytes 4..7.
inline bool Grid::packShortText(const QString& text, std::uint64_t& packed)
{
    const qsizetype n = text.size();
    if (n > 14)
        return false;
    const auto* u = reinterpret_cast<const char16_t*>(text.constData());
    if (n <= 7) {
        std::uint64_t latin1 = std::uint64_t(n);
        unsigned bits = 0;
        for (qsizetype i = 0; i < n; ++i) {
            bits |= u[i];
            latin1 |= std::uint64_t(u[i] & 0xff) << (8 * (i + 1));
        }
        if (bits < 0x100) {
            packed = latin1;
            return true;
        }
        if (n <= 3) {
            std::uint64_t utf16 = 0x10 | std::uint64_t(n);
            for (qsizetype i = 0; i < n; ++i)
                utf16 |= std::uint64_t(u[i]) << (16 * (i + 1));
            packed = utf16;
            return true;
        }
    }
    std::uint64_t digits = 0x20 | std::uint64_t(n);
    for (qsizetype i = 0; i < n; ++i) {
        const int code = digitTextCode(u[i]);
        if (code < 0)
            return false;
        digits |= std::uint64_t(code) << (8 + 4 * i);
    }
    packed = digits;
    return true;
}

inline std::uint64_t Grid::packedText(const Cell& c)
{
    std::uint64_t v;
    std::memcpy(&v, c.text, 8);
    return qFromLittleEndian(v);
}

inline void Grid::storeText(Cell& c, std::uint64_t packed)
{
    packed = qToLittleEndian(packed);
    std::memcpy(c.text, &packed, 8);
}

inline void Grid::setText(int col, int row, const QString& text)
{
    if (!contains(col, row))
        return;
    Cell& c = cell(col, row);
    std::uint64_t packed;
    // Short texts over a text that is not pooled need no pool bookkeeping.
    if (c.text[0] != 0x80 && packShortText(text, packed)) {
        storeText(c, packed);
        ++revision_;
        return;
    }
    setTextSlow(c, text);
}

inline void Grid::setBackColor(int col, int row, GridColor color)
{
    if (!contains(col, row))
        return;
    cell(col, row).back = colorIndex(color);
    ++revision_;
}

inline void Grid::setForeColor(int col, int row, GridColor color)
{
    if (!contains(col, row))
        return;
    cell(col, row).fore = colorIndex(color);
    ++revision_;
}

inline void Grid::setCellColors(int col, int row, GridColor back, GridColor fore)
{
    if (!contains(col, row))
        return;
    Cell& c = cell(col, row);
    c.back = colorIndex(back);
    c.fore = colorIndex(fore);
    ++revision_;
}
