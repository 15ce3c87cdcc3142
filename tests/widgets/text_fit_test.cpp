// Every text of every window's grid, computed from the real history and its prizes, fits its
// cell as the grid paints it: no glyph touches or crosses a cell's lines, with a blank pixel on
// every side; a text that overflows is measured over the empty cells it runs into. ctest runs
// this once more at twice the scale.
#include "support/catalogue_support.h"
#include "analysis/randomness.h"
#include "prediction/backtest.h"
#include "prediction/prediction_sheets.h"
#include "support/history_builder.h"
#include "widgets/grid_view.h"

#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QStaticText>

#include <cmath>

#include <gtest/gtest.h>

namespace {

struct Misfit {
    int col, row;
    QString text;
    QRect ink, room;
};

// The pixels a glyph may cover: inside the lines, one blank pixel from each. A cell's own lines
// are its right and bottom pixel; its left and top lines belong to the cells before it.
QRect roomFor(const GridView::TextPlacement& placed)
{
    return QRect(placed.span.left() + 1, placed.cell.top() + 1, placed.span.width() - 3, placed.cell.height() - 3);
}

// The pixels a text inks when painted with its origin at (0, 0) on the baseline, found by
// painting it at the screen's pixel ratio: any pixel not left white counts, in the logical
// pixels it falls in.
QRect paintedInk(const QString& text, const QFont& font)
{
    const QFontMetrics metrics(font);
    const qreal ratio = qGuiApp->devicePixelRatio();
    const int margin = 8;
    const QSize logical(metrics.horizontalAdvance(text) + 2 * margin, metrics.height() + 2 * margin);
    QImage image(logical * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawStaticText(QPoint(margin, margin), QStaticText(text));
    }
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xffffff) != 0xffffff) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    auto logicalPixel = [&](int device) { return int(std::floor(device / ratio)); };
    return QRect(QPoint(logicalPixel(left) - margin, logicalPixel(top) - margin - metrics.ascent()),
                 QPoint(logicalPixel(right) - margin, logicalPixel(bottom) - margin - metrics.ascent()));
}

std::vector<Misfit> misfits(const Grid& grid)
{
    GridView view(const_cast<Grid*>(&grid));
    const QFontMetrics& metrics = view.metrics().fontMetrics();
    QHash<QString, QRect> inkOf; // around the text's origin on its baseline
    std::vector<Misfit> found;
    for (int r = 1; r <= grid.maxRows(); ++r) {
        for (int c = 1; c <= grid.maxCols(); ++c) {
            if (!grid.hasText(c, r))
                continue;
            const QString text = grid.text(c, r);
            auto it = inkOf.find(text);
            if (it == inkOf.end())
                it = inkOf.insert(text, paintedInk(text, view.metrics().font()));
            const GridView::TextPlacement placed = view.textPlacement(c, r);
            const QRect ink = it->translated(placed.topLeft + QPoint(0, metrics.ascent()));
            const QRect room = roomFor(placed);
            if (!ink.isEmpty() && !room.contains(ink) && found.size() < 20)
                found.push_back({c, r, text, ink, room});
        }
    }
    return found;
}

std::string describe(const std::vector<Misfit>& found)
{
    std::string out;
    for (const Misfit& m : found) {
        out += "  (" + std::to_string(m.col) + "," + std::to_string(m.row) + ") \"" + m.text.toStdString() + "\" ink x"
            + std::to_string(m.ink.left()) + ".." + std::to_string(m.ink.right()) + " y" + std::to_string(m.ink.top())
            + ".." + std::to_string(m.ink.bottom()) + " room x" + std::to_string(m.room.left()) + ".."
            + std::to_string(m.room.right()) + " y" + std::to_string(m.room.top()) + ".."
            + std::to_string(m.room.bottom()) + "\n";
    }
    return out;
}

TEST(TextFit, EveryTextOfEveryWindowFitsItsCell)
{
    const History history = fixture::realHistory().withPrizes(fixture::shippedPrizes());
    SCOPED_TRACE("device pixel ratio " + std::to_string(qGuiApp->devicePixelRatio()));
    for (const catalogue::WindowRecord* record : cataloguetest::analyses()) {
        const std::unique_ptr<WindowSheets> sheets
            = catalogue::computeSheets(*record, history, cataloguetest::searching());
        for (const Grid* grid : sheets->grids()) {
            const auto found = misfits(*grid);
            EXPECT_TRUE(found.empty()) << record->form.toStdString() << ":\n" << describe(found);
        }
    }
    // 収支 at the amounts of the largest ledger: 10,000 lines of 10 口 over 10 draws, some
    // running past the history's end, some paid at the nominal prize.
    QVector<ticket::Line> lines;
    for (int i = 0; i < 10000; ++i) {
        ticket::Line line;
        line.type = ticket::Type(i % ticket::kTypes);
        line.number = QStringLiteral("%1").arg(i % 100, line.type == ticket::Type::Mini ? 2 : 3, 10, QChar(u'0'));
        line.units = ticket::kMaxUnits;
        line.firstDraw = 1 + (i * 7) % (history.lastDrawNo() + 1);
        line.draws = ticket::kMaxDraws;
        lines << line;
    }
    const auto balance
        = catalogue::computeSheets(*catalogue::findWindow(QStringLiteral("収支")), history.withTickets(lines));
    for (const Grid* grid : balance->grids()) {
        const auto found = misfits(*grid);
        EXPECT_TRUE(found.empty()) << "収支:\n" << describe(found);
    }
    PredictionSheets sheets;
    sheets.open(history);
    for (int reflected : {0, 10}) {
        sheets.refresh(reflected);
        for (int g = 0; g < PredictionSheets::kGridCount; ++g) {
            const auto found = misfits(sheets.grid(g));
            EXPECT_TRUE(found.empty()) << "一発ズバリン grid " << g << ":\n" << describe(found);
        }
    }
    // Every draw, and a range too short for some tests.
    const DrawRange all = RandomnessSheet::defaultRange(history);
    for (const DrawRange range : {all, DrawRange{all.from, all.from + 1}}) {
        BacktestSheets backtest;
        backtest.compute(history, range, 2);
        for (const Grid* grid : {&backtest.summary(), &backtest.draws()}) {
            const auto found = misfits(*grid);
            EXPECT_TRUE(found.empty()) << "予想の検証:\n" << describe(found);
        }
        // The wins of draws with prizes show their amounts: the shortest and the longest.
        for (const int straight : {15000, prize::kMaxAmount}) {
            QHash<int, prize::DrawPrizes> byDrawNo;
            for (const DrawRecord& draw : history.draws()) {
                if (draw.complete)
                    byDrawNo.insert(draw.drawNo,
                                    {.counts = {},
                                     .amounts = prize::amountsFromStraight(
                                         straight, prize::shapeOf(draw.digit(1), draw.digit(2), draw.digit(3)))});
            }
            backtest.compute(history.withPrizes(byDrawNo), range, 2);
            const auto found = misfits(backtest.draws());
            EXPECT_TRUE(found.empty()) << "予想の検証, ¥" << straight << " a straight:\n" << describe(found);
        }
        RandomnessSheet randomness;
        randomness.compute(history, range);
        const auto found = misfits(randomness.grid());
        EXPECT_TRUE(found.empty()) << "ランダム性の検定:\n" << describe(found);
    }
}

} // namespace
