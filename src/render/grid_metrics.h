#pragma once
// How the grid's own units become pixels for the font a grid is painted in. Column widths are
// in characters of the font (a unit is the digit "0" with room for the cell margins); row
// heights are in points at the screen's resolution, but never lower than a line of the font
// with a blank pixel above and below. Every text of the windows then fits its cell.

#include <QFont>
#include <QFontMetrics>

class GridMetrics {
public:
    // The program's grid font: a proportional Japanese Gothic face.
    static QFont defaultFont();

    explicit GridMetrics(const QFont& font = defaultFont(), double dpi = 96.0);

    int colPixels(double units) const;
    int rowPixels(double units) const;

    const QFont& font() const { return font_; }
    const QFontMetrics& fontMetrics() const { return metrics_; }

    // Where the glyphs of the grids' texts (digits, kana and kanji, marks) reach above and
    // below the baseline: the band that is centred in a cell.
    int inkAbove() const { return inkAbove_; }
    int inkBelow() const { return inkBelow_; }

    // Blank pixels between a cell's edges and its text.
    static constexpr int kTextMargin = 2;

private:
    QFont font_;
    QFontMetrics metrics_;
    double charPixels_;
    double pointPixels_;
    int inkAbove_ = 0, inkBelow_ = 0;
};
