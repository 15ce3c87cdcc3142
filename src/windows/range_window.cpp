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

RangeWindow::RangeWindow(WindowHost& host, const catalogue::WindowRecord& record)
    : m_host(host), m_record(record)
{
    setObjectName(record.form);
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

    Command2 = new QPushButton(QStringLiteral("印刷"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    m_output = new GridOutput(
        record.caption, [this] { return shownGrids(); },
        [this] { return PrintHeader::of(m_record.caption, m_history, std::optional(m_range), m_record.titles); },
        host.databasePath(), this);
    connect(Command2, &QPushButton::clicked, m_output, &GridOutput::print);
    Command1 = new QPushButton(QStringLiteral("閉じる"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, [this] {
        if (QWidget* w = window())
            w->close();
    });
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
    QMdiSubWindow* sub = window->m_host.addSubWindow(window);
    sub->setWindowTitle(window->m_record.caption);
    sub->move(0, 0);
    sub->resize(size);
    window->computeFrom(window->m_host.currentHistory());
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

void RangeWindow::attachGridMenu(GridView* view)
{
    m_output->attachContextMenu(view);
}

void RangeWindow::showRange()
{
    fromBox->setValue(m_range.from);
    toBox->setValue(m_range.to);
}

void RangeWindow::closeEvent(QCloseEvent* event)
{
    m_host.childClosed(m_record.form);
    event->accept();
}
