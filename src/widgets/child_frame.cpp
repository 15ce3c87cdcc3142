#include "widgets/child_frame.h"

#include "data/history.h"
#include "widgets/grid_output.h"
#include "widgets/hourglass.h"
#include "widgets/range_bar.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPushButton>

ChildFrame::ChildFrame(WindowHost& host, const catalogue::WindowRecord& record)
    : m_host(host), m_record(record), m_rangeChoice(host.keptRange(record.form).value_or(record.defaultRange))
{
    setObjectName(record.form);
    setWindowTitle(record.caption);
    m_output = new GridOutput(
        record.caption, [this] { return shownGrids(); },
        [this] {
            PrintHeader header = PrintHeader::of(m_record.caption, shownHistory(), m_rangeChoice, m_record.titles);
            header.notes = shownNotes();
            return header;
        },
        host.databasePath(), this);
}

void ChildFrame::takeRangeChoice(const RangeChoice& range)
{
    m_rangeChoice = range;
    m_host.keepRange(m_record.form, range);
}

void ChildFrame::chooseRange(const RangeChoice& range)
{
    Hourglass hourglass;
    takeRangeChoice(range);
    computeFrom(shownHistory());
    showComputed();
}

RangeBar* ChildFrame::makeRangeBar()
{
    if (m_rangeBar)
        return m_rangeBar;
    m_rangeBar = new RangeBar(this);
    connect(m_rangeBar, &RangeBar::chosen, this, [this](const RangeChoice& range) { chooseRange(range); });
    connect(m_rangeBar, &RangeBar::applyToAllRequested, this,
            [this](const RangeChoice& range) { m_host.applyRangeToAll(range); });
    return m_rangeBar;
}

void ChildFrame::showRange()
{
    const History& history = shownHistory();
    const QString cover = m_rangeChoice.coverText(history);
    if (m_rangeBar) {
        const std::optional<DrawRange> covered = history.completeDrawsIn(m_rangeChoice.resolve(history));
        m_rangeBar->showChoice(m_rangeChoice, covered.value_or(DrawRange{1, std::max(1, history.lastDrawNo())}));
        m_rangeBar->setCoverText(cover);
    }
    // The title names the draws wherever the window covers fewer than all.
    const QString title = m_rangeChoice.kind == RangeChoice::Kind::All
        ? m_record.caption
        : m_record.caption + QStringLiteral(" - ") + cover;
    setWindowTitle(title);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(title);
}

QPushButton* ChildFrame::makeCloseButton(const QString& objectName)
{
    auto* button = new QPushButton(QStringLiteral("閉じる"), this);
    button->setObjectName(objectName);
    connect(button, &QPushButton::clicked, this, [this] {
        // A frame inside the host's area is the content of a sub-window, which is no window of
        // its own: the sub-window goes, not the main window it lies in.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    return button;
}

QPushButton* ChildFrame::makePrintButton(const QString& objectName)
{
    auto* button = new QPushButton(QStringLiteral("印刷"), this);
    button->setObjectName(objectName);
    connect(button, &QPushButton::clicked, m_output, &GridOutput::print);
    return button;
}

void ChildFrame::attachGridMenu(GridView* view)
{
    m_output->attachContextMenu(view);
}

QMdiSubWindow* ChildFrame::openInHost(QSize size)
{
    QMdiSubWindow* sub = m_host.addSubWindow(this);
    sub->setWindowTitle(windowTitle());
    sub->move(0, 0);
    sub->resize(size);
    return sub;
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    m_host.childClosed(m_record.form);
    event->accept();
}
