#include "windows/range_window.h"

#include "widgets/hourglass.h"
#include "widgets/range_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

RangeWindow::RangeWindow(WindowHost& host, const catalogue::WindowRecord& record) : ChildFrame(host, record)
{
    Label1 = new QLabel(record.description, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    recomputeButton = new QPushButton(QStringLiteral("再計算"), this);
    recomputeButton->setObjectName(QStringLiteral("recomputeButton"));
    connect(recomputeButton, &QPushButton::clicked, this, [this] { chooseRange(rangeChoice()); });
    Command2 = makePrintButton(QStringLiteral("Command2"));
    Command1 = makeCloseButton(QStringLiteral("Command1"));

    m_body = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Label1);
    layout->addLayout(m_body, 1);
    layout->addWidget(makeFooter({recomputeButton, Command2, Command1}));
}

QMdiSubWindow* RangeWindow::open(RangeWindow* window, QSize size)
{
    Hourglass hourglass;
    QMdiSubWindow* sub = window->openInHost(size);
    window->computeFrom(window->host().currentHistory());
    window->showComputed();
    return sub;
}

void RangeWindow::computeFrom(const History& history)
{
    m_pendingHistory = history;
    m_pendingRange = rangeChoice().resolve(history);
    compute(m_pendingHistory, m_pendingRange);
}

void RangeWindow::showComputed()
{
    m_history = m_pendingHistory;
    m_range = m_pendingRange;
    showResult();
    showRange();
}
