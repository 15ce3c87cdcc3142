#include "widgets/grid_view.h"

#include "grid/grid.h"
#include "grid/grid_export.h"
#include "widgets/go_to_draw.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

const QColor kSelectionColor(0, 120, 215, 48);
const QColor kFocusColor(40, 120, 230, 190);

// The rows a row gone to has above and below it, where the sheet and the view have room.
constexpr int kContextRows = 3;

Qt::ScrollBarPolicy policyFor(bool on, bool whenNeeded)
{
    if (!on)
        return Qt::ScrollBarAlwaysOff;
    return whenNeeded ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
}

// Largest index in [first, last] whose start lies less than space pixels past pos[first].
int lastStartingBefore(const std::vector<int>& pos, int first, int last, int space)
{
    if (space <= 0 || first > last)
        return first - 1;
    const auto begin = pos.begin() + first;
    const auto it = std::lower_bound(begin, pos.begin() + last + 1, pos[std::size_t(first)] + space);
    return int(it - pos.begin()) - 1;
}

// Smallest index in [first, last] from which everything up to the end of last fits in space.
int firstFitting(const std::vector<int>& pos, int first, int last, int space)
{
    if (first > last)
        return first;
    const int end = pos[std::size_t(last) + 1];
    const auto it = std::lower_bound(pos.begin() + first, pos.begin() + last + 1, end - space);
    return std::min(int(it - pos.begin()), last);
}

} // namespace

GridView::GridView(Grid* grid, QWidget* parent)
    : QAbstractScrollArea(parent), gridMetrics_(), cellPainter_(gridMetrics_)
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    // Whatever the user does with a scroll bar lets the view go from the latest row.
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { pinnedToLatest_ = false; });
        connect(bar, &QAbstractSlider::sliderPressed, this, [this] { pinnedToLatest_ = false; });
    }
    setGrid(grid);
}

void GridView::setGrid(Grid* grid)
{
    grid_ = grid;
    layoutGrid_ = nullptr;
    appliedRevision_ = ~std::uint64_t(0);
    anchorCol_ = anchorRow_ = 0;
    activeCol_ = activeRow_ = 0;
    selection_ = {};
    pinnedToLatest_ = false;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    gridChanged();
    showLatest();
}

void GridView::replaceGrid(Grid* grid)
{
    const int scrolledCols = horizontalScrollBar()->value();
    const int scrolledRows = verticalScrollBar()->value();
    // Read from what was shown before anything lays the new grid out.
    const bool follow = showedLatest() || shownLatestRow_ < 1;
    const int moved = grid ? shownDrawsMovedBy(grid->drawRows()) : 0;
    const int frozen = frozenRowCount();
    grid_ = grid;
    layoutGrid_ = nullptr;
    appliedRevision_ = ~std::uint64_t(0);
    if (moved != 0) {
        // The draws the user looks at and has chosen moved to other rows: the view goes with them.
        if (activeRow_ > frozen)
            activeRow_ = std::max(frozen + 1, activeRow_ + moved);
        if (anchorRow_ > frozen)
            anchorRow_ = std::max(frozen + 1, anchorRow_ + moved);
        if (!selection_.isEmpty() && selection_.row > frozen)
            selection_ = {selection_.col, std::max(frozen + 1, selection_.row + moved), selection_.col2,
                          std::max(frozen + 1, selection_.row2 + moved)};
    }
    if (grid_ && sortCol_ > 0)
        grid_->sortRows(sortCol_, sortDescending_);
    gridChanged();
    horizontalScrollBar()->setValue(scrolledCols);
    verticalScrollBar()->setValue(scrolledRows + moved);
    if (follow)
        showLatest();
}

void GridView::gridChanged()
{
    keepStateInSheet();
    updateScrollBars();
    applyAutoSize();
    rememberShownDraws();
    if (pinnedToLatest_)
        placeLatest();
    viewport()->update();
}

void GridView::rememberShownDraws()
{
    shownDrawRows_ = grid_ ? grid_->drawRows() : DrawRowIndex();
    shownLatestRow_ = grid_ ? grid_->latestRow() : 0;
}

// ---- the latest row and going to a draw ----

namespace {

// The scrolled rows in view: [top, last], last partly in view; top > last when none is.
struct RowsInView {
    int frozen = 0;
    int top = 1;
    int last = 0;
};

// From a layout already made: pos holds the pixel start of every row and the end of the last.
RowsInView rowsInView(const std::vector<int>& pos, const Grid& grid, int scrolled, int viewportHeight)
{
    RowsInView view;
    const int rows = int(pos.size()) - 2;
    if (rows < 1)
        return view;
    view.frozen = std::clamp(grid.frozenRows(), 0, rows);
    view.top = view.frozen + 1 + scrolled;
    if (view.top > rows) {
        view.last = view.top - 1;
        return view;
    }
    const int header = grid.colHeadersShown() ? pos[1] - pos[0] : 0;
    const int space = viewportHeight - header - (pos[std::size_t(view.frozen) + 1] - pos[1]);
    view.last = lastStartingBefore(pos, view.top, rows, space);
    return view;
}

} // namespace

bool GridView::showedLatest() const
{
    // The layout is the one last made, which is what the view showed: the grid itself may
    // already hold its next computation.
    if (pinnedToLatest_)
        return true;
    const int latest = shownLatestRow_;
    // Whether the latest row is in view, not whether it is active: a player who scrolled back to
    // older draws stays there.
    if (latest < 1 || !grid_)
        return false;
    const RowsInView view = rowsInView(rowPos_, *grid_, verticalScrollBar()->value(), viewport()->height());
    return latest <= view.frozen || (latest >= view.top && latest <= view.last);
}

int GridView::shownDrawsMovedBy(const DrawRowIndex& now) const
{
    if (!grid_ || shownDrawRows_.isEmpty() || now.isEmpty())
        return 0;
    const RowsInView view = rowsInView(rowPos_, *grid_, verticalScrollBar()->value(), viewport()->height());
    for (int row = view.top; row <= view.last; ++row) {
        const int drawNo = shownDrawRows_.drawAt(row);
        if (const int moved = drawNo ? now.rowOf(drawNo) : 0)
            return moved - row;
    }
    return 0;
}

void GridView::placeLatest()
{
    if (!grid_)
        return;
    const int row = grid_->latestRow();
    ensureLayout();
    if (appliedRevision_ != grid_->layoutRevision())
        updateScrollBars();
    const int fr = frozenRowCount();
    if (row <= fr || row > grid_->maxRows())
        return;
    verticalScrollBar()->setValue(firstFitting(rowPos_, fr + 1, row, scrolledSpaceY()) - fr - 1);
}

void GridView::sortBy(int col)
{
    if (!grid_ || grid_->sortableFirstRow() < 1)
        return;
    sortDescending_ = col == sortCol_ && !sortDescending_;
    sortCol_ = col;
    grid_->sortRows(sortCol_, sortDescending_);
    viewport()->update();
}

void GridView::showLatest()
{
    if (!grid_ || grid_->latestRow() < 1 || grid_->maxCols() < 1)
        return;
    activeCol_ = grid_->latestCol() > 0 ? grid_->latestCol() : std::clamp(activeCol_, 1, grid_->maxCols());
    activeRow_ = grid_->latestRow();
    anchorCol_ = activeCol_;
    anchorRow_ = activeRow_;
    placeLatest();
    pinnedToLatest_ = true;
    viewport()->update();
}

void GridView::goToRow(int row)
{
    if (!grid_ || row < 1 || row > grid_->maxRows() || grid_->maxCols() < 1)
        return;
    pinnedToLatest_ = false;
    ensureLayout();
    if (appliedRevision_ != grid_->layoutRevision())
        updateScrollBars();
    const int fr = frozenRowCount();
    if (row > fr) {
        QScrollBar* v = verticalScrollBar();
        const int space = scrolledSpaceY();
        int first = std::max(fr + 1, row - kContextRows);
        int last = std::min(grid_->maxRows(), row + kContextRows);
        if (rowPos_[std::size_t(last) + 1] - rowPos_[std::size_t(first)] > space)
            first = last = row; // no room for the rows around it
        int top = fr + 1 + v->value();
        if (first < top)
            top = first;
        else if (rowPos_[std::size_t(last) + 1] - rowPos_[std::size_t(top)] > space)
            top = firstFitting(rowPos_, fr + 1, last, space);
        v->setValue(top - fr - 1);
    }
    moveActiveCell(activeCol_ > 0 ? activeCol_ : 1, row, false);
}

bool GridView::goToDraw(int drawNo)
{
    const int row = grid_ ? grid_->drawRows().rowOf(drawNo) : 0;
    if (row < 1)
        return false;
    goToRow(row);
    return true;
}

QString GridView::drawRefusal(int drawNo) const
{
    const DrawRowIndex none;
    const DrawRowIndex& rows = grid_ ? grid_->drawRows() : none;
    if (rows.rowOf(drawNo) > 0)
        return {};
    if (rows.isEmpty())
        return QStringLiteral("この表には回数の行がありません。");
    if (drawNo < rows.firstDrawNo() || drawNo > rows.lastDrawNo())
        return QStringLiteral("第%1回の行はありません。\nこの表にあるのは第%2回～第%3回です。")
            .arg(drawNo)
            .arg(rows.firstDrawNo())
            .arg(rows.lastDrawNo());
    return QStringLiteral("第%1回は当選数字が入っていないため、この表に行がありません。").arg(drawNo);
}

void GridView::askForDraw(const QString& typed)
{
    if (!grid_ || grid_->drawRows().isEmpty())
        return;
    const QPointer<GridView> self(this);
    const std::optional<int> drawNo
        = askDrawNo(this, typed, [self](int n) { return self ? self->drawRefusal(n) : QString(); });
    // The sheet may have been computed again meanwhile: a draw it no longer lists moves nothing.
    if (self && drawNo)
        self->goToDraw(*drawNo);
}

bool GridView::handleGoToKey(QKeyEvent* event)
{
    if (!grid_ || grid_->drawRows().isEmpty())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_G && modifiers == Qt::ControlModifier) {
        askForDraw();
        return true;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    // A digit starts the number, from the main keys or the keypad.
    const QString text = event->text();
    if (text.size() == 1 && GoToDrawDialog::numberOf(text)) {
        askForDraw(text);
        return true;
    }
    return false;
}

void GridView::setActiveCell(int col, int row)
{
    pinnedToLatest_ = false;
    if (!grid_ || col < 1 || row < 1 || col > grid_->maxCols() || row > grid_->maxRows())
        col = row = 0;
    if (col == activeCol_ && row == activeRow_)
        return;
    activeCol_ = col;
    activeRow_ = row;
    viewport()->update();
}

void GridView::setSelection(int col, int row, int col2, int row2)
{
    const int rows = grid_ ? grid_->maxRows() : 0;
    const int cols = grid_ ? grid_->maxCols() : 0;
    if (row < 0 || row2 < 0) {
        row = 1;
        row2 = rows;
    }
    if (row > row2)
        std::swap(row, row2);
    row = std::max(row, 1);
    row2 = std::min(row2, rows);
    if (col < 0 || col2 < 0) {
        col = col2 = -1;
    } else {
        if (col > col2)
            std::swap(col, col2);
        col = std::max(col, 1);
        col2 = std::min(col2, cols);
    }
    if (row > row2 || (col != -1 && col > col2)) {
        clearSelection();
        return;
    }
    selection_ = {col, row, col2, row2};
    viewport()->update();
}

void GridView::clearSelection()
{
    if (selection_.isEmpty())
        return;
    selection_ = {};
    viewport()->update();
}

void GridView::keepStateInSheet()
{
    // A cell the sheet no longer has is no longer active; a selection keeps what is left of it.
    const int cols = grid_ ? grid_->maxCols() : 0;
    const int rows = grid_ ? grid_->maxRows() : 0;
    if (activeCol_ > cols || activeRow_ > rows)
        activeCol_ = activeRow_ = 0;
    if (!selection_.isEmpty())
        setSelection(selection_.col, selection_.row, selection_.col < 0 ? -1 : std::min(selection_.col2, cols),
                     std::min(selection_.row2, rows));
}

void GridView::applyAutoSize()
{
    // Layouts read sizeHint(); size policies are the owner's. Only a view that no layout
    // places sizes itself.
    updateGeometry();
    const bool laidOut = parentWidget() && parentWidget()->layout();
    if (grid_ && grid_->autoSize() && !laidOut && size() != sizeHint())
        resize(sizeHint());
}

// ---- layout ----

bool GridView::layoutStale() const
{
    return !grid_ || layoutGrid_ != grid_ || layoutRevision_ != grid_->layoutRevision();
}

void GridView::ensureLayout() const
{
    if (!grid_) {
        colPos_.assign(2, 0);
        rowPos_.assign(2, 0);
        layoutGrid_ = nullptr;
        return;
    }
    if (!layoutStale())
        return;
    const int cols = grid_->maxCols();
    const int rows = grid_->maxRows();
    colPos_.resize(std::size_t(cols) + 2);
    rowPos_.resize(std::size_t(rows) + 2);
    colPos_[0] = 0;
    for (int c = 0; c <= cols; ++c)
        colPos_[std::size_t(c) + 1] = colPos_[std::size_t(c)] + gridMetrics_.colPixels(grid_->colWidth(c));
    rowPos_[0] = 0;
    for (int r = 0; r <= rows; ++r)
        rowPos_[std::size_t(r) + 1] = rowPos_[std::size_t(r)] + gridMetrics_.rowPixels(grid_->rowHeight(r));
    layoutGrid_ = grid_;
    layoutRevision_ = grid_->layoutRevision();
}

int GridView::headerWidth() const
{
    return grid_ && grid_->rowHeadersShown() ? colPixels(0) : 0;
}

int GridView::headerHeight() const
{
    return grid_ && grid_->colHeadersShown() ? rowPixels(0) : 0;
}

int GridView::frozenColCount() const
{
    return grid_ ? std::clamp(grid_->frozenCols(), 0, grid_->maxCols()) : 0;
}

int GridView::frozenRowCount() const
{
    return grid_ ? std::clamp(grid_->frozenRows(), 0, grid_->maxRows()) : 0;
}

int GridView::scrolledSpaceX() const
{
    const int fc = frozenColCount();
    return viewport()->width() - headerWidth() - (colPos_[std::size_t(fc) + 1] - colPos_[1]);
}

int GridView::scrolledSpaceY() const
{
    const int fr = frozenRowCount();
    return viewport()->height() - headerHeight() - (rowPos_[std::size_t(fr) + 1] - rowPos_[1]);
}

void GridView::updateScrollBars()
{
    // Policies and ranges resize the viewport, which comes back here; Qt is then still in the
    // middle of its own layout, so the nested update is turned into another pass.
    if (updatingScrollBars_) {
        scrollBarsDirty_ = true;
        return;
    }
    updatingScrollBars_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        scrollBarsDirty_ = false;
        updateScrollBarsOnce();
        if (!scrollBarsDirty_)
            break;
    }
    updatingScrollBars_ = false;
}

void GridView::updateScrollBarsOnce()
{
    ensureLayout();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (!grid_) {
        h->setRange(0, 0);
        v->setRange(0, 0);
        return;
    }
    appliedRevision_ = grid_->layoutRevision();
    const ScrollBars bars = grid_->scrollBars();
    const bool whenNeeded = grid_->scrollBarsWhenNeeded();
    const auto hPolicy = policyFor(bars == ScrollBars::Horizontal || bars == ScrollBars::Both, whenNeeded);
    const auto vPolicy = policyFor(bars == ScrollBars::Vertical || bars == ScrollBars::Both, whenNeeded);
    if (horizontalScrollBarPolicy() != hPolicy)
        setHorizontalScrollBarPolicy(hPolicy);
    if (verticalScrollBarPolicy() != vPolicy)
        setVerticalScrollBarPolicy(vPolicy);
    h->setTracking(grid_->scrollBarTrack());
    v->setTracking(grid_->scrollBarTrack());

    const int fc = frozenColCount(), fr = frozenRowCount();
    const int cols = grid_->maxCols(), rows = grid_->maxRows();
    const int spaceX = scrolledSpaceX(), spaceY = scrolledSpaceY();
    const int maxLeft = fc >= cols ? 0 : firstFitting(colPos_, fc + 1, cols, spaceX) - (fc + 1);
    const int maxTop = fr >= rows ? 0 : firstFitting(rowPos_, fr + 1, rows, spaceY) - (fr + 1);
    h->setRange(0, std::max(0, maxLeft));
    v->setRange(0, std::max(0, maxTop));
    const int left = fc + 1 + h->value(), top = fr + 1 + v->value();
    h->setPageStep(std::max(1, lastStartingBefore(colPos_, left, cols, spaceX) - left));
    v->setPageStep(std::max(1, lastStartingBefore(rowPos_, top, rows, spaceY) - top));
}

QSize GridView::sizeHint() const
{
    if (!grid_ || !grid_->autoSize())
        return QAbstractScrollArea::sizeHint();
    ensureLayout();
    // Rows and columns that the sheet does not have yet count at their default size.
    auto extent = [](const std::vector<int>& pos, int wanted, int existing, int defaultSize) {
        const int n = std::clamp(wanted, 0, existing);
        return pos[std::size_t(n) + 1] - pos[1] + (wanted - n) * defaultSize;
    };
    const int visCols = grid_->visibleCols(), visRows = grid_->visibleRows();
    int w = headerWidth() + extent(colPos_, visCols, grid_->maxCols(), gridMetrics_.colPixels(grid_->colWidth(-1)));
    int h = headerHeight() + extent(rowPos_, visRows, grid_->maxRows(), gridMetrics_.rowPixels(grid_->rowHeight(-1)));
    w += 2 * frameWidth();
    h += 2 * frameWidth();

    const ScrollBars bars = grid_->scrollBars();
    const bool whenNeeded = grid_->scrollBarsWhenNeeded();
    const bool needH
        = (bars == ScrollBars::Horizontal || bars == ScrollBars::Both) && (!whenNeeded || grid_->maxCols() > visCols);
    const bool needV
        = (bars == ScrollBars::Vertical || bars == ScrollBars::Both) && (!whenNeeded || grid_->maxRows() > visRows);
    const int spacing = style()->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, this)
        ? style()->pixelMetric(QStyle::PM_ScrollView_ScrollBarSpacing, nullptr, this)
        : 0;
    if (needV)
        w += verticalScrollBar()->sizeHint().width() + spacing;
    if (needH)
        h += horizontalScrollBar()->sizeHint().height() + spacing;
    return {w, h};
}

QSize GridView::sheetSize() const
{
    ensureLayout();
    if (!grid_)
        return {2 * frameWidth(), 2 * frameWidth()};
    const int w = headerWidth() + colPos_.back() - colPos_[1];
    const qint64 h = qint64(headerHeight()) + rowPos_.back() - rowPos_[1];
    return {w + 2 * frameWidth(), int(std::min<qint64>(h + 2 * frameWidth(), QWIDGETSIZE_MAX))};
}

GridView::TextPlacement GridView::textPlacement(int col, int row) const
{
    ensureLayout();
    TextPlacement placed;
    if (!grid_ || col < 1 || row < 1 || col > grid_->maxCols() || row > grid_->maxRows())
        return placed;
    const QString text = grid_->text(col, row);
    placed.width = cellPainter_.shaped(text).width;
    const int x0 = headerWidth() - colPos_[1], y0 = headerHeight() - rowPos_[1];
    placed.cell = QRect(x0 + colPos_[std::size_t(col)], y0 + rowPos_[std::size_t(row)], colPixels(col), rowPixels(row));
    const ColumnSpan span = grid_->allowCellOverflow()
        ? cellPainter_.overflowSpan(*grid_, colPos_, col, row, placed.width)
        : ColumnSpan{col, col};
    placed.span = QRect(x0 + colPos_[std::size_t(span.first)], placed.cell.y(),
                        colPos_[std::size_t(span.last) + 1] - colPos_[std::size_t(span.first)], placed.cell.height());
    placed.topLeft = cellPainter_.textTopLeft(placed.width, placed.cell, grid_->format(col, row));
    return placed;
}

// ---- geometry ----

int GridView::colX(int col) const
{
    if (col == 0)
        return 0;
    const int fc = frozenColCount();
    if (col <= fc)
        return headerWidth() + colPos_[std::size_t(col)] - colPos_[1];
    const int left = fc + 1 + horizontalScrollBar()->value();
    return headerWidth() + colPos_[std::size_t(fc) + 1] - colPos_[1] + colPos_[std::size_t(col)]
        - colPos_[std::size_t(left)];
}

int GridView::rowY(int row) const
{
    if (row == 0)
        return 0;
    const int fr = frozenRowCount();
    if (row <= fr)
        return headerHeight() + rowPos_[std::size_t(row)] - rowPos_[1];
    const int top = fr + 1 + verticalScrollBar()->value();
    return headerHeight() + rowPos_[std::size_t(fr) + 1] - rowPos_[1] + rowPos_[std::size_t(row)]
        - rowPos_[std::size_t(top)];
}

QRect GridView::cellRect(int col, int row) const
{
    ensureLayout();
    if (!grid_ || col < 0 || row < 0 || col > grid_->maxCols() || row > grid_->maxRows())
        return {};
    if ((col == 0 && !grid_->rowHeadersShown()) || (row == 0 && !grid_->colHeadersShown()))
        return {};
    return {colX(col), rowY(row), colPixels(col), rowPixels(row)};
}

GridView::Pane GridView::makePane(const std::vector<int>& pos, int first, int logicalFirst, int logicalLast, int start,
                                  int limit, bool header) const
{
    Pane p;
    p.header = header;
    p.logicalFirst = logicalFirst;
    p.logicalLast = logicalLast;
    p.first = std::min(first, logicalLast + 1);
    p.start = std::min(start, limit);
    p.end = std::min(start + pos[std::size_t(logicalLast) + 1] - pos[std::size_t(p.first)], limit);
    p.last = lastStartingBefore(pos, p.first, logicalLast, p.end - p.start);
    return p;
}

std::vector<GridView::Pane> GridView::colPanes() const
{
    std::vector<Pane> panes;
    const int limit = viewport()->width();
    const int hw = headerWidth(), fc = frozenColCount();
    if (hw > 0)
        panes.push_back(makePane(colPos_, 0, 0, 0, 0, limit, true));
    if (fc > 0)
        panes.push_back(makePane(colPos_, 1, 1, fc, hw, limit, false));
    panes.push_back(makePane(colPos_, fc + 1 + horizontalScrollBar()->value(), fc + 1, grid_->maxCols(),
                             hw + colPos_[std::size_t(fc) + 1] - colPos_[1], limit, false));
    return panes;
}

std::vector<GridView::Pane> GridView::rowPanes() const
{
    std::vector<Pane> panes;
    const int limit = viewport()->height();
    const int hh = headerHeight(), fr = frozenRowCount();
    if (hh > 0)
        panes.push_back(makePane(rowPos_, 0, 0, 0, 0, limit, true));
    if (fr > 0)
        panes.push_back(makePane(rowPos_, 1, 1, fr, hh, limit, false));
    panes.push_back(makePane(rowPos_, fr + 1 + verticalScrollBar()->value(), fr + 1, grid_->maxRows(),
                             hh + rowPos_[std::size_t(fr) + 1] - rowPos_[1], limit, false));
    return panes;
}

int GridView::hitIndex(const std::vector<int>& pos, const Pane& pane, int offset)
{
    if (pane.isEmpty() || offset < pane.start || offset >= pane.end)
        return -1;
    const int target = pos[std::size_t(pane.first)] + offset - pane.start;
    const auto it = std::upper_bound(pos.begin() + pane.first, pos.begin() + pane.last + 2, target);
    return int(it - pos.begin()) - 1;
}

QPoint GridView::cellAt(const QPoint& point) const
{
    ensureLayout();
    if (!grid_)
        return {-1, -1};
    int col = -1, row = -1;
    for (const Pane& pane : colPanes())
        if (const int c = hitIndex(colPos_, pane, point.x()); c >= 0)
            col = c;
    for (const Pane& pane : rowPanes())
        if (const int r = hitIndex(rowPos_, pane, point.y()); r >= 0)
            row = r;
    if (col < 0 || row < 0)
        return {-1, -1};
    return {col, row};
}

int GridView::firstVisibleRow() const
{
    ensureLayout();
    return grid_ ? rowPanes().back().first : 0;
}

int GridView::firstVisibleCol() const
{
    ensureLayout();
    return grid_ ? colPanes().back().first : 0;
}

int GridView::lastVisibleRow() const
{
    ensureLayout();
    if (!grid_)
        return 0;
    const auto panes = rowPanes();
    return panes.back().isEmpty() ? std::max(0, frozenRowCount()) : panes.back().last;
}

int GridView::lastVisibleCol() const
{
    ensureLayout();
    if (!grid_)
        return 0;
    const auto panes = colPanes();
    return panes.back().isEmpty() ? std::max(0, frozenColCount()) : panes.back().last;
}

void GridView::scrollToCell(int col, int row)
{
    pinnedToLatest_ = false;
    if (!grid_)
        return;
    ensureLayout();
    if (appliedRevision_ != grid_->layoutRevision())
        updateScrollBars();
    const int fc = frozenColCount(), fr = frozenRowCount();
    if (row > fr && row <= grid_->maxRows()) {
        QScrollBar* v = verticalScrollBar();
        const int top = fr + 1 + v->value();
        if (row < top)
            v->setValue(row - fr - 1);
        else if (rowPos_[std::size_t(row) + 1] - rowPos_[std::size_t(top)] > scrolledSpaceY())
            v->setValue(firstFitting(rowPos_, fr + 1, row, scrolledSpaceY()) - fr - 1);
    }
    if (col > fc && col <= grid_->maxCols()) {
        QScrollBar* h = horizontalScrollBar();
        const int left = fc + 1 + h->value();
        if (col < left)
            h->setValue(col - fc - 1);
        else if (colPos_[std::size_t(col) + 1] - colPos_[std::size_t(left)] > scrolledSpaceX())
            h->setValue(firstFitting(colPos_, fc + 1, col, scrolledSpaceX()) - fc - 1);
    }
}

int GridView::pageRows() const
{
    const int top = frozenRowCount() + 1 + verticalScrollBar()->value();
    return std::max(1, lastStartingBefore(rowPos_, top, grid_->maxRows(), scrolledSpaceY()) - top);
}

// ---- painting ----

void GridView::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), Qt::white);
    paintedCells_ = 0;
    if (!grid_)
        return;
    if (appliedRevision_ != grid_->layoutRevision()) {
        updateScrollBars();
        updateGeometry();
    }
    p.setFont(gridMetrics_.font());
    const auto rows = rowPanes();
    const auto cols = colPanes();
    for (const Pane& r : rows) {
        for (const Pane& c : cols) {
            const QRect area(c.start, r.start, c.end - c.start, r.end - r.start);
            if (!r.isEmpty() && !c.isEmpty() && area.intersects(event->rect()))
                paintPane(p, r, c);
        }
    }

    const int ac = activeCol_, ar = activeRow_;
    if (ac > 0 && ar > 0) {
        // The focus ring is clipped to the panes the cell belongs to.
        const Pane& rp = ar <= frozenRowCount() ? rows[rows.size() - 2] : rows.back();
        const Pane& cp = ac <= frozenColCount() ? cols[cols.size() - 2] : cols.back();
        const QRect cell = cellRect(ac, ar);
        p.setClipRect(QRect(cp.start - 1, rp.start - 1, cp.end - cp.start + 1, rp.end - rp.start + 1)
                      & viewport()->rect());
        p.setPen(QPen(kFocusColor, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell.adjusted(-1, -1, -1, -1));
        p.drawRect(cell.adjusted(0, 0, -2, -2));
    }
}

void GridView::paintPane(QPainter& p, const Pane& rp, const Pane& cp)
{
    paintedCells_ += (rp.last - rp.first + 1) * (cp.last - cp.first + 1);
    cellPainter_.paintPane(p, *grid_, colPos_, rowPos_, rp, cp, viewport()->rect(), kSelectionColor, selection_);
}

// ---- events ----

void GridView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (pinnedToLatest_)
        placeLatest();
}

void GridView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void GridView::moveActiveCell(int col, int row, bool extend)
{
    if (!grid_ || grid_->maxCols() < 1 || grid_->maxRows() < 1)
        return;
    col = std::clamp(col, 1, grid_->maxCols());
    row = std::clamp(row, 1, grid_->maxRows());
    const bool moved = col != activeCol_ || row != activeRow_;
    setActiveCell(col, row);
    if (!extend || anchorRow_ < 1) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    if (rowSelectMode_)
        setSelection(-1, anchorRow_, -1, row);
    else if (extend)
        setSelection(anchorCol_, anchorRow_, col, row);
    else if (hasSelection())
        clearSelection();
    scrollToCell(col, row);
    viewport()->update();
    if (moved)
        Q_EMIT activeCellChanged(col, row);
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    if (!grid_) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        event->accept();
        return;
    }
    if (handleGoToKey(event)) {
        event->accept();
        return;
    }
    ensureLayout();
    int col = activeCol_, row = activeRow_;
    if (col < 1 || row < 1) {
        // Nothing active yet: the first key picks the top-left cell in view.
        col = frozenColCount() > 0 ? 1 : firstVisibleCol();
        row = frozenRowCount() > 0 ? 1 : firstVisibleRow();
        switch (event->key()) {
        case Qt::Key_Up:
            ++row;
            break;
        case Qt::Key_Down:
            --row;
            break;
        case Qt::Key_Left:
            ++col;
            break;
        case Qt::Key_Right:
            --col;
            break;
        default:
            break;
        }
    }
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // The view moves a page and the active cell with it.
        const int page = event->key() == Qt::Key_PageUp ? -pageRows() : pageRows();
        verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
        row += page;
        break;
    }
    case Qt::Key_Home:
        col = 1;
        if (ctrl)
            row = 1;
        break;
    case Qt::Key_End:
        col = grid_->maxCols();
        if (ctrl)
            row = grid_->maxRows();
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    moveActiveCell(col, row, shift);
    event->accept();
}

void GridView::mousePressEvent(QMouseEvent* event)
{
    if (!grid_ || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() < 0)
        return;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (cell.x() >= 1 && cell.y() >= 1)
        moveActiveCell(cell.x(), cell.y(), shift);
    else if (cell.x() == 0 && cell.y() >= 1)
        moveActiveCell(std::max(1, activeCol_), cell.y(), shift);
    if (cell.x() >= 1 && cell.y() >= 1 && cell.y() < grid_->sortableFirstRow())
        sortBy(cell.x());
    Q_EMIT cellClicked(cell.x(), cell.y());
}

void GridView::wheelEvent(QWheelEvent* event)
{
    pinnedToLatest_ = false;
    QAbstractScrollArea::wheelEvent(event);
}

void GridView::mouseReleaseEvent(QMouseEvent* event)
{
    // The press did the work; the release belongs to it.
    event->setAccepted(grid_ && event->button() == Qt::LeftButton);
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!grid_ || event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0)
        Q_EMIT cellDoubleClicked(cell.x(), cell.y());
}

// ---- copying ----

QString GridView::copyText() const
{
    if (!grid_)
        return {};
    if (hasSelection()) {
        const int c1 = selection_.col < 0 ? 1 : selection_.col;
        const int c2 = selection_.col < 0 ? grid_->maxCols() : selection_.col2;
        QStringList lines;
        for (int r = selection_.row; r <= selection_.row2; ++r) {
            QStringList cells;
            for (int c = c1; c <= c2; ++c)
                cells << spreadsheetText(grid_->text(c, r));
            lines << cells.join(u'\t');
        }
        return lines.join(u'\n');
    }
    return spreadsheetText(grid_->text(activeCol_, activeRow_));
}

void GridView::copyToClipboard() const
{
    const QString text = copyText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}
