#include "windows/randomness_window.h"

#include "widgets/bar_chart.h"
#include "widgets/grid_view.h"

#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kFirstTestRow = 2; // below the heading row
}

RandomnessWindow::RandomnessWindow(WindowHost& host, const catalogue::WindowRecord& record) : RangeWindow(host, record)
{
    fpSpread1 = new GridView(&m_sheet.grid(), this);
    fpSpread1->setObjectName(QStringLiteral("fpSpread1"));
    fpSpread1->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    chart = new BarChart(this);
    chart->setObjectName(QStringLiteral("chart"));
    body()->addWidget(fpSpread1, 0, Qt::AlignLeft);
    body()->addWidget(chart, 1);
    attachGridMenu(fpSpread1);
    // The chart follows the row of the active cell.
    QObject::connect(fpSpread1, &GridView::activeCellChanged, this, [this](int, int row) {
        if (row >= kFirstTestRow)
            chartTest(row - kFirstTestRow);
    });
    QObject::connect(fpSpread1, &GridView::cellClicked, this, [this](int, int row) {
        if (row >= kFirstTestRow)
            chartTest(row - kFirstTestRow);
    });
}

QMdiSubWindow* RandomnessWindow::load(WindowHost& host, const catalogue::WindowRecord& record)
{
    return open(new RandomnessWindow(host, record), kSize);
}

void RandomnessWindow::chartTest(int test)
{
    m_test = std::clamp(test, 0, RandomnessSheet::kTestCount - 1);
    const RandomnessSheet::Chart c = m_sheet.chart(m_test);
    chart->setData({c.title, c.labels, c.observed, c.expected});
}

QList<const Grid*> RandomnessWindow::shownGrids() const
{
    return m_sheet.grids();
}

void RandomnessWindow::compute(const History& history, DrawRange range)
{
    m_computed = std::make_unique<RandomnessSheet>();
    m_computed->compute(history, range);
}

void RandomnessWindow::showResult()
{
    if (!m_computed)
        return;
    m_sheet = std::move(*m_computed);
    m_computed.reset();
    fpSpread1->replaceGrid(&m_sheet.grid());
    fpSpread1->setFixedHeight(fpSpread1->sizeHint().height());
    chartTest(m_test);
}
