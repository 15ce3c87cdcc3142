#pragma once
// The grids of a window on paper: cut into pages by rows, and by columns when wider than the
// page, the frozen heading rows and columns repeated on every page, each page with a header
// (the window's caption, the draws shown, the date printed) and a footer "n / N". The print
// preview, "PDF で保存…" and the companion's PDF export all lay pages out here.

#include "data/draw_range.h"
#include "grid/grid.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class History;
class QPainter;

// What is printed besides the cells.
struct PrintHeader {
    QString caption; // the window's caption
    QString drawRange; // the first and last draw shown, with their dates
    QString printedOn; // the date printed
    QStringList titles; // the line above each grid, as the window shows it (by index; none: no line)
    QStringList notes; // lines under the header, before the grids (what a prediction is for)
    QString period; // the draws the window was set to cover, where not all ("直近100回")

    // For a window computed from the history (the draws it holds, first to last complete).
    static PrintHeader of(const QString& caption, const History& history, QDate today = QDate::currentDate());
    // For a window that shows a stretch of the history (予想の検証, ランダム性の検定): its
    // complete draws within the range.
    static PrintHeader of(const QString& caption, const History& history, const DrawRange& range,
                          QDate today = QDate::currentDate());
    // For the grids a window shows over the draws it covers (its range), with the titles above
    // its grids.
    static PrintHeader of(const QString& caption, const History& history, const RangeChoice& range,
                          const QStringList& titles, QDate today = QDate::currentDate());
    // The line that names the draws: the period, where there is one, then the draws.
    QString drawsLine() const;
};

class PageLayout {
public:
    // A4 portrait with margins of 10 mm.
    static QPageLayout defaultPageLayout();

    // What a page shows of one grid: the rows and columns besides the repeated headings, top
    // points below the page's header (where the grid's title, if any, stands).
    struct Part {
        int grid = 0;
        int firstRow = 1, lastRow = 0;
        int firstCol = 1, lastCol = 0;
        double top = 0;
    };
    // A page: one part of a grid larger than a page, or one or more whole grids, one below the
    // other.
    struct Page {
        QList<Part> parts;
    };

    // Each grid is scaled as a whole. Grids that fit one page with their digits at least 2 mm
    // high go one below the other, each under its title, as many to a page as fit, all of a
    // page at one scale: as large as the page's width (or height) allows, digits at most 5 mm.
    // A larger grid starts on a page of its own: as wide as the page, its digits between 2 and
    // 3.5 mm, cut by rows and, when wider than the page even so, by columns, its pages going
    // across, then down, its title on each. A page layout with no room for an inch of grid
    // gives way to the default one. The grids must outlive the layout; one whose size changed
    // since is no longer painted.
    PageLayout(QList<const Grid*> grids, PrintHeader header, QPageLayout page = defaultPageLayout());

    int pageCount() const { return int(m_pages.size()); }
    const QList<Page>& pages() const { return m_pages; }
    const QPageLayout& pageLayout() const { return m_page; }
    const PrintHeader& header() const { return m_header; }

    // Paints a page (0-based) onto a painter whose device uses the page layout: paintRect is the
    // page's printable area in the device's pixels (QPageLayout::paintRectPixels(resolution)).
    // A printer or PDF writer that keeps the margins (not full page) has its origin at that
    // area's corner already; the area is then taken from there.
    void paint(QPainter& painter, int page, const QRect& paintRect, int resolution) const;

private:
    // The header's height in points: the caption, the line of draws and date, and the notes.
    double headerHeight() const;
    // How one grid goes onto paper: its columns' and rows' pixel starts (GridMetrics), the
    // heading rows and columns repeated on its pages, and the points of paper per pixel.
    struct Sheet {
        std::vector<int> colPos, rowPos;
        int cols = 0, rows = 0; // the grid's size when laid out
        double width = 0, height = 0; // in pixels, the headers included
        double titleHeight = 0; // points
        int repeatedRows = 0, repeatedCols = 0;
        double scale = 0.75; // points a pixel: at first as large as a 96 dpi screen shows it
    };
    // Measures a grid; the scale at which it fills one page, or 0 when it needs several.
    double measure(int index, const Grid& grid);
    // Cuts a grid larger than a page into pages of its own.
    void cutIntoPages(int index);
    void paintPart(QPainter& painter, const Part& part, const QRect& area, double pixelsPerPoint) const;

    QList<const Grid*> m_grids;
    std::vector<Sheet> m_sheets;
    // The page's width and its height between header and footer (points); the scales (points
    // a pixel) at which digits are 2 mm, and at most on one page and on several.
    double m_width = 0, m_room = 0;
    double m_minScale = 0, m_oneMaxScale = 0, m_manyMaxScale = 0;
    PrintHeader m_header;
    QPageLayout m_page;
    QList<Page> m_pages;
};

// The pages (0-based; none given: every page) as a PDF document (the texts as text, titled
// with the caption); empty when none could be made (no QGuiApplication, a page layout the
// writer refuses).
QByteArray pdfOf(const PageLayout& layout, const QList<int>& pages = {}, int resolution = 300);
