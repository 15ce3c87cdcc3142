#include "widgets/analysis_frame.h"

#include "analysis/number_search.h"
#include "grid/colors.h"
#include "widgets/bar_chart.h"
#include "widgets/grid_output.h"
#include "widgets/grid_view.h"
#include "widgets/line_chart.h"
#include "widgets/range_bar.h"
#include "widgets/hourglass.h"
#include "grid/units.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadialGradient>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>

namespace {

QColor toQColor(GridColor c)
{
    return QColor(c.r, c.g, c.b);
}

using catalogue::Legend;

QPixmap legendPicture(Legend legend)
{
    const int size = legend == Legend::Mark13 ? 13 : 19;
    QPixmap pixmap(size, size);
    pixmap.fill(legend == Legend::Ball19 ? Qt::white : Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF disc(1, 1, size - 2, size - 2);
    if (legend == Legend::Ball19) {
        QRadialGradient shade(disc.center() - QPointF(size / 5.0, size / 5.0), size / 1.6);
        shade.setColorAt(0, QColor(153, 153, 255));
        shade.setColorAt(1, QColor(51, 51, 204));
        p.setBrush(shade);
    } else {
        p.setBrush(toQColor(colors::kMark));
    }
    p.drawEllipse(disc);
    return pixmap;
}

// The sheets scroll one way at most, as windows of one fixed size needed. Here the user sizes
// the window: a sheet that does not fit its room scrolls whichever way it does not fit.
std::unique_ptr<WindowSheets> scrollingBothWays(std::unique_ptr<WindowSheets> sheets)
{
    for (Grid* grid : sheets->sheetGrids()) {
        if (grid->scrollBarsWhenNeeded())
            grid->setScrollBars(ScrollBars::Both);
    }
    return sheets;
}

// Holds the grid at the top left of the room it is given, as large as that room up to the
// grid's own maximum (its whole sheet). The room beyond stays empty below and to the right:
// a plain box layout would centre the grid in it, away from the description above.
class TopLeftLayout : public QLayout {
public:
    explicit TopLeftLayout(QWidget* widget) { addWidget(widget); }
    ~TopLeftLayout() override { delete m_item; }

    void addItem(QLayoutItem* item) override
    {
        delete m_item;
        m_item = item;
    }
    int count() const override { return m_item ? 1 : 0; }
    QLayoutItem* itemAt(int index) const override { return index == 0 ? m_item : nullptr; }
    QLayoutItem* takeAt(int index) override
    {
        if (index != 0)
            return nullptr;
        return std::exchange(m_item, nullptr);
    }
    QSize sizeHint() const override { return m_item ? m_item->sizeHint() : QSize(); }
    QSize minimumSize() const override { return m_item ? m_item->minimumSize() : QSize(); }
    QSize maximumSize() const override { return QSize(QLAYOUTSIZE_MAX, QLAYOUTSIZE_MAX); }
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal | Qt::Vertical; }
    void setGeometry(const QRect& rect) override
    {
        QLayout::setGeometry(rect);
        if (m_item)
            m_item->setGeometry(QRect(rect.topLeft(), rect.size().boundedTo(m_item->maximumSize())));
    }

private:
    QLayoutItem* m_item = nullptr;
};

} // namespace

QMdiSubWindow* AnalysisFrame::load(WindowHost& host, const catalogue::WindowRecord& record)
{
    Hourglass hourglass;
    auto* frame = new AnalysisFrame(host, record);
    QMdiSubWindow* sub = frame->openInHost(QSize(twipsToPixels(record.widthTwips), twipsToPixels(record.heightTwips)));
    frame->fitGridsToSheets();
    if (frame->numberBox)
        frame->numberBox->setFocus();
    return sub;
}

AnalysisFrame::AnalysisFrame(WindowHost& host, const catalogue::WindowRecord& record)
    : ChildFrame(host, record), m_history(host.currentHistory())
{
    m_sheets = scrollingBothWays(catalogue::computeSheets(record, m_history, options()));
    Label1 = new QLabel(record.description, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // In a narrow window the description wraps rather than holding the window wide.
    Label1->setWordWrap(true);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1, 1);
    buildLegend(top);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    if (record.takesNumber)
        buildNumberRow(layout);

    const QList<Grid*> grids = m_sheets->sheetGrids();
    // The grids keep their own heights above a chart, which takes the room left.
    const bool charted = m_sheets->hasChart() || m_sheets->hasLineChart();
    for (qsizetype i = 0; i < grids.size(); ++i) {
        QLabel* title = nullptr;
        if (i < record.titles.size() && !record.titles.at(i).isEmpty()) {
            title = new QLabel(record.titles.at(i), this);
            title->setObjectName(QStringLiteral("title%1").arg(i + 1));
            layout->addWidget(title);
        }
        titleLabels << title;
        auto* view = new GridView(grids.at(i), this);
        view->setObjectName(QStringLiteral("fpSpread%1").arg(i + 1));
        attachGridMenu(view);
        views << view;
        // The grids above the last show whole; the last takes the room left, unless a chart does.
        const bool last = i == grids.size() - 1;
        layout->addLayout(new TopLeftLayout(view), last && !charted ? 1 : 0);
    }
    fpSpread1 = views.first();
    if (m_sheets->hasChart()) {
        chart = new BarChart(this);
        chart->setObjectName(QStringLiteral("chart"));
        // Squeezed, the chart gives its room to the grid first.
        chart->setMinimumHeight(5 * chart->fontMetrics().height());
        layout->addWidget(chart, 1);
        // The chart is of the active cell's column.
        QObject::connect(fpSpread1, &GridView::activeCellChanged, chart,
                         [this](int col, int row) { showChart(col, row); });
        showChart(m_chartCol, m_chartRow);
    }
    if (m_sheets->hasLineChart()) {
        lineChart = new LineChartView(this);
        lineChart->setObjectName(QStringLiteral("lineChart"));
        layout->addWidget(lineChart, 1);
        lineChart->setData(m_sheets->lineChart());
    }

    Command1 = makeCloseButton(QStringLiteral("Command1"));
    if (record.printButton)
        Command2 = makePrintButton(QStringLiteral("Command2"));
    QList<QPushButton*> buttons;
    if (Command2)
        buttons << Command2;
    buttons << Command1;
    layout->addWidget(makeFooter(buttons));
    showRange();
}

QStringList AnalysisFrame::shownNotes() const
{
    return record().takesNumber ? number_search::printedNotes(m_number) : QStringList();
}

SheetOptions AnalysisFrame::options() const
{
    SheetOptions options;
    options.range = rangeChoice();
    options.number = m_number;
    return options;
}

void AnalysisFrame::buildNumberRow(QVBoxLayout* layout)
{
    auto* label = new QLabel(QStringLiteral("番号(&N):"), this);
    numberBox = new QLineEdit(this);
    numberBox->setObjectName(QStringLiteral("numberBox"));
    numberBox->setPlaceholderText(QStringLiteral("例: 123、23"));
    numberBox->setMaxLength(16);
    numberBox->setMaximumWidth(numberBox->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 16);
    label->setBuddy(numberBox);
    searchButton = new QPushButton(QStringLiteral("検索(&S)"), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    numberMessage = new QLabel(this);
    numberMessage->setObjectName(QStringLiteral("numberMessage"));
    QPalette palette = numberMessage->palette();
    palette.setColor(QPalette::WindowText, QColor(200, 0, 0));
    numberMessage->setPalette(palette);
    numberMessage->hide();
    QObject::connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    QObject::connect(numberBox, &QLineEdit::returnPressed, this, [this] { search(); });

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(numberBox);
    row->addWidget(searchButton);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addWidget(numberMessage);
}

void AnalysisFrame::search()
{
    if (!numberBox)
        return;
    Hourglass hourglass;
    m_number = numberBox->text();
    const bool valid = number_search::readNumber(m_number).has_value();
    numberMessage->setText(valid ? QString() : number_search::kInvalidNumber);
    numberMessage->setVisible(!valid);
    computeFrom(m_history);
    showComputed();
}

void AnalysisFrame::buildLegend(QHBoxLayout* row)
{
    switch (record().legend) {
    case Legend::None:
        return;
    case Legend::PreviousDigitSwatch: {
        Label2 = new QLabel(this);
        Label2->setObjectName(QStringLiteral("Label2"));
        Label2->setFixedSize(24, 13);
        Label2->setAutoFillBackground(true);
        QPalette palette = Label2->palette();
        palette.setColor(QPalette::Window, toQColor(colors::kSwatchCyan));
        Label2->setPalette(palette);
        Label3 = new QLabel(QStringLiteral(":前回の数字"), this);
        Label3->setObjectName(QStringLiteral("Label3"));
        row->addWidget(Label2);
        row->addWidget(Label3);
        return;
    }
    case Legend::Mark13:
    case Legend::Dot19:
    case Legend::Ball19:
        Picture1 = new QLabel(this);
        Picture1->setObjectName(QStringLiteral("Picture1"));
        Picture1->setPixmap(legendPicture(record().legend));
        Label2 = new QLabel(QStringLiteral("：当選数字"), this);
        Label2->setObjectName(QStringLiteral("Label2"));
        row->addWidget(Picture1);
        row->addWidget(Label2);
        return;
    }
}

void AnalysisFrame::fitGridsToSheets()
{
    // A grid opens at the size its visible counts ask for, within the window, and follows the
    // window when it is resized, up to the size that shows the whole sheet. A grid above the
    // last (or above a chart) keeps the height it asks for while there is room: the one below
    // takes the rest.
    for (qsizetype i = 0; i < views.size(); ++i) {
        GridView* view = views.at(i);
        const QSize wanted = view->sizeHint();
        const QSize sheet = view->sheetSize();
        int width = sheet.width();
        qint64 height = sheet.height();
        // Room for the scroll bars, which show whenever the window is smaller than the sheet.
        const int bar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
        width += bar;
        height += bar;
        const QSize whole(qMax(width, wanted.width()),
                          int(qMin<qint64>(qMax<qint64>(height, wanted.height()), QWIDGETSIZE_MAX)));
        view->setMaximumSize(whole);
        const bool charted = chart || lineChart;
        const bool ownHeight = i < views.size() - 1 || charted;
        view->setSizePolicy(QSizePolicy::Expanding, ownHeight ? QSizePolicy::Preferred : QSizePolicy::Expanding);
        // Squeezed (tiled with many others), each of several grids keeps a row or two in view;
        // of more than two, a row each, so that the window needs no more room than the others.
        const int lines = views.size() > 2 ? 1 : 2;
        if (views.size() > 1 || charted)
            view->setMinimumHeight(qMin(whole.height(), lines * view->fontMetrics().height()));
    }
}

void AnalysisFrame::showChart(int col, int row)
{
    m_chartCol = col;
    m_chartRow = row;
    const SheetChart c = m_sheets->chartAt(col, row);
    chart->setData({c.title, c.labels, c.observed, c.expected});
}

void AnalysisFrame::computeFrom(const History& history)
{
    m_computed = scrollingBothWays(catalogue::computeSheets(record(), history, options()));
    m_computedHistory = history;
}

void AnalysisFrame::showComputed()
{
    if (!m_computed)
        return;
    const QList<Grid*> grids = m_computed->sheetGrids();
    for (qsizetype i = 0; i < views.size() && i < grids.size(); ++i)
        views.at(i)->replaceGrid(grids.at(i));
    m_sheets = std::move(m_computed);
    m_history = m_computedHistory;
    fitGridsToSheets();
    if (chart)
        showChart(m_chartCol, m_chartRow);
    if (lineChart)
        lineChart->setData(m_sheets->lineChart());
    showRange();
}
