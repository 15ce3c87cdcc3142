#include "widgets/child_frame.h"

#include "data/history.h"
#include "widgets/grid_output.h"
#include "widgets/hourglass.h"
#include "widgets/range_bar.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

// The range bar and the buttons: side by side while the row holds the bar's controls and the
// buttons, else the bar on a row of its own above them. Its minimum is the one row, so that a
// window made small (tiled with many others) cuts the bar short rather than growing.
class Footer : public QWidget {
public:
    Footer(RangeBar* bar, const QList<QPushButton*>& buttons, QWidget* parent) : QWidget(parent), m_bar(bar)
    {
        m_buttons = new QHBoxLayout;
        m_buttons->setContentsMargins(0, 0, 0, 0);
        m_buttons->addStretch(1);
        for (QPushButton* button : buttons)
            m_buttons->addWidget(button);
        m_grid = new QGridLayout(this);
        m_grid->setContentsMargins(0, 0, 0, 0);
        m_grid->setColumnStretch(0, 1);
        bar->setParent(this);
        place(false);
        bar->installEventFilter(this);
    }

    QSize minimumSizeHint() const override
    {
        const QSize buttons = m_buttons->minimumSize();
        const int bar = std::min(m_bar->minimumSizeHint().height(), m_bar->maximumHeight());
        return {buttons.width(), std::max(buttons.height(), bar)};
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        fit();
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The bar's controls change with the kind chosen (開始回〜終了回 takes the most room).
        if (watched == m_bar && event->type() == QEvent::LayoutRequest)
            fit();
        return QWidget::eventFilter(watched, event);
    }

private:
    void fit()
    {
        const int oneRow = m_bar->sizeHint().width() + m_grid->horizontalSpacing() + m_buttons->sizeHint().width();
        const bool wrapped = width() < oneRow;
        if (wrapped != m_wrapped)
            place(wrapped);
    }
    void place(bool wrapped)
    {
        m_wrapped = wrapped;
        m_grid->removeWidget(m_bar);
        m_grid->removeItem(m_buttons);
        if (wrapped) {
            m_grid->addWidget(m_bar, 0, 0, 1, 2);
            m_grid->addLayout(m_buttons, 1, 0, 1, 2);
        } else {
            m_grid->addWidget(m_bar, 0, 0);
            m_grid->addLayout(m_buttons, 0, 1);
        }
    }

    RangeBar* m_bar;
    QHBoxLayout* m_buttons = nullptr;
    QGridLayout* m_grid = nullptr;
    bool m_wrapped = false;
};

} // namespace

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

QWidget* ChildFrame::makeFooter(const QList<QPushButton*>& buttons)
{
    return new Footer(makeRangeBar(), buttons, this);
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
