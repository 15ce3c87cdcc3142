#pragma once
// The grids of a window on paper: cut into pages by rows, and by columns when wider than the
// page, the frozen heading rows and columns repeated on every page, each page with a header
// (the window's caption, the draws shown, the date printed) and a footer "n / N". The print
// preview, "PDF で保存…" and the companion's PDF export all lay pages out here.

#include "analysis/draw_range.h"
#include "grid/grid.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPageLayout>
#include <QString>

#include <vector>

class History;
class QPainter;

struct PrintHeader {
    QString caption;    // the window's caption
    QString drawRange;  // the first and last draw shown, with their dates
    QString printedOn;  // the date printed

    // For a window computed from the history (the draws it holds, first to last complete).
    static PrintHeader of(const QString& caption, const History& history, QDate today = QDate::currentDate());
    // For a window that shows a stretch of the history (予想の検証, ランダム性の検定): its
    // complete draws within the range.
    static PrintHeader of(const QString& caption, const History& history, const DrawRange& range,
                          QDate today = QDate::currentDate());
};

class PageLayout {
public:
    // A4 portrait with margins of 10 mm.
    static QPageLayout defaultPageLayout();

    // One page: the rows and columns of one grid it shows besides the repeated headings.
    struct Page {
        int grid = 0;
        int firstRow = 1, lastRow = 0;
        int firstCol = 1, lastCol = 0;
    };

    // Each grid starts on a page of its own and is scaled as a whole: a grid that fits one page
    // with its digits at least 2 mm high fills the page's width (or height); a larger one is as
    // wide as the page, its digits between 2 and 3.5 mm, cut by rows and, when wider than the
    // page even so, by columns, its pages going across, then down. A page layout with no room
    // for an inch of grid gives way to the default one. The grids must outlive the layout; one
    // whose size changed since is no longer painted.
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
    // How one grid goes onto paper: its columns' and rows' pixel starts (GridMetrics), the
    // heading rows and columns repeated on its pages, and the points of paper per pixel.
    struct Sheet {
        std::vector<int> colPos, rowPos;
        int cols = 0, rows = 0; // the grid's size when laid out
        int repeatedRows = 0, repeatedCols = 0;
        double scale = 0.75;
    };
    void layOut(int index, const Grid& grid);

    QList<const Grid*> m_grids;
    std::vector<Sheet> m_sheets;
    PrintHeader m_header;
    QPageLayout m_page;
    QList<Page> m_pages;
};

// The pages (0-based; none given: every page) as a PDF document (the texts as text, titled
// with the caption); empty when none could be made (no QGuiApplication, a page layout the
// writer refuses).
QByteArray pdfOf(const PageLayout& layout, const QList<int>& pages = {}, int resolution = 300);
