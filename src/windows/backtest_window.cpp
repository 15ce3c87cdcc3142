#include "windows/backtest_window.h"

#include "widgets/grid_view.h"

#include <QLabel>
#include <QVBoxLayout>

BacktestWindow::BacktestWindow(WindowHost& host, const catalogue::WindowRecord& record,
                               std::shared_ptr<const PredictionSettings> settings)
    : RangeWindow(host, record), m_settings(std::move(settings))
{
    flagsLabel = new QLabel(this);
    flagsLabel->setObjectName(QStringLiteral("flagsLabel"));
    summaryView = new GridView(&m_sheets.summary(), this);
    summaryView->setObjectName(QStringLiteral("summaryView"));
    summaryView->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    noteLabel = new QLabel(BacktestSheets::kNote, this);
    noteLabel->setObjectName(QStringLiteral("noteLabel"));
    drawsView = new GridView(&m_sheets.draws(), this);
    drawsView->setObjectName(QStringLiteral("drawsView"));
    drawsView->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Expanding);
    body()->addWidget(flagsLabel);
    body()->addWidget(summaryView, 0, Qt::AlignLeft);
    body()->addWidget(noteLabel);
    body()->addWidget(drawsView, 1, Qt::AlignLeft);
    attachGridMenu(summaryView);
    attachGridMenu(drawsView);
}

QMdiSubWindow* BacktestWindow::load(WindowHost& host, const catalogue::WindowRecord& record,
                                    std::shared_ptr<const PredictionSettings> settings)
{
    return open(new BacktestWindow(host, record, std::move(settings)), kSize);
}

QList<const Grid*> BacktestWindow::shownGrids() const
{
    return m_sheets.grids();
}

void BacktestWindow::compute(const History& history, DrawRange range)
{
    m_computedReflected = m_settings->reflectedCount();
    m_computed = std::make_unique<BacktestSheets>();
    m_computed->compute(history, range, m_computedReflected);
}

void BacktestWindow::showResult()
{
    if (!m_computed)
        return;
    m_sheets = std::move(*m_computed);
    m_computed.reset();
    summaryView->replaceGrid(&m_sheets.summary());
    drawsView->replaceGrid(&m_sheets.draws());
    summaryView->setFixedHeight(summaryView->sizeHint().height());
    flagsLabel->setText(
        QStringLiteral("一発ズバリン予想の「反映する」の数: %1（予想の画面のデータ分析オプションのとおり）")
            .arg(m_computedReflected));
}
