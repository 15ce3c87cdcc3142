#include "windows/range_window.h"

#include "data/draw.h"
#include "widgets/grid_output.h"
#include "widgets/hourglass.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

RangeWindow::RangeWindow(WindowHost& host, const catalogue::WindowRecord& record) : ChildFrame(host, record)
{
    Label1 = new QLabel(record.description, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    auto spin = [this](const QString& name) {
        auto* box = new QSpinBox(this);
        box->setObjectName(name);
        // Draw numbers; 0 stands for "before the first draw" in an empty history.
        box->setRange(0, draw::kMaxDrawNo);
        box->setAccelerated(true);
        box->setKeyboardTracking(false);
        return box;
    };
    fromBox = spin(QStringLiteral("fromBox"));
    toBox = spin(QStringLiteral("toBox"));
    recomputeButton = new QPushButton(QStringLiteral("再計算"), this);
    recomputeButton->setObjectName(QStringLiteral("recomputeButton"));
    connect(recomputeButton, &QPushButton::clicked, this, [this] { recompute(); });
    for (QSpinBox* box : {fromBox, toBox})
        connect(box, &QAbstractSpinBox::editingFinished, this, [this, box] {
            if (box->hasFocus())
                recompute();
        });

    auto* rangeRow = new QHBoxLayout;
    auto* fromLabel = new QLabel(QStringLiteral("開始回"), this);
    fromLabel->setBuddy(fromBox);
    auto* toLabel = new QLabel(QStringLiteral("終了回"), this);
    toLabel->setBuddy(toBox);
    rangeRow->addWidget(fromLabel);
    rangeRow->addWidget(fromBox);
    rangeRow->addSpacing(12);
    rangeRow->addWidget(toLabel);
    rangeRow->addWidget(toBox);
    rangeRow->addSpacing(12);
    rangeRow->addWidget(recomputeButton);
    rangeRow->addStretch(1);

    Command2 = makePrintButton(QStringLiteral("Command2"));
    Command1 = makeCloseButton(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);

    m_body = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(Label1);
    layout->addLayout(rangeRow);
    layout->addLayout(m_body, 1);
    layout->addLayout(buttons);
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
    m_pendingRange = m_followsDefault ? defaultRange(history) : m_range;
    compute(m_pendingHistory, m_pendingRange);
}

void RangeWindow::showComputed()
{
    m_history = m_pendingHistory;
    m_range = m_pendingRange;
    showRange();
    showResult();
}

void RangeWindow::recompute()
{
    Hourglass hourglass;
    const DrawRange wanted{fromBox->value(), toBox->value()};
    m_followsDefault = wanted == defaultRange(m_history);
    m_pendingHistory = m_history;
    m_pendingRange = wanted;
    compute(m_pendingHistory, m_pendingRange);
    showComputed();
}

void RangeWindow::showRange()
{
    fromBox->setValue(m_range.from);
    toBox->setValue(m_range.to);
}
