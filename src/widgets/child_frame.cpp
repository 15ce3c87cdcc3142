#include "widgets/child_frame.h"

#include "widgets/grid_output.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QPushButton>

ChildFrame::ChildFrame(WindowHost& host, const catalogue::WindowRecord& record) : m_host(host), m_record(record)
{
    setObjectName(record.form);
    setWindowTitle(record.caption);
    m_output = new GridOutput(
        record.caption, [this] { return shownGrids(); },
        [this] {
            PrintHeader header = PrintHeader::of(m_record.caption, shownHistory(), shownRange(), m_record.titles);
            header.notes = shownNotes();
            return header;
        },
        host.databasePath(), this);
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
    sub->setWindowTitle(m_record.caption);
    sub->move(0, 0);
    sub->resize(size);
    return sub;
}

void ChildFrame::closeEvent(QCloseEvent* event)
{
    m_host.childClosed(m_record.form);
    event->accept();
}
