#include "windows/entry_window.h"

#include "data/draw.h"
#include "data/draw_database.h"
#include "windows/entry_grid.h"
#include "widgets/grid_view.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTime>
#include <QVBoxLayout>

using namespace entry;

namespace {

const QString kProgramTitle = QStringLiteral("ナンバーズ3ズバリン");
constexpr int kVisibleRows = 50;
constexpr int kRowHeight = 10;
constexpr int kDrawNoWidth = 5;
constexpr int kDigitWidth = 7;
constexpr int kStaticWidth = 4;

bool confirm(QWidget* parent, const QString& text)
{
    return showMessage(
               {parent, text, kProgramTitle, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes;
}

} // namespace

当選データ入力::当選データ入力(WindowHost& host, const catalogue::WindowRecord& record) : m_host(host), m_record(record)
{
    setObjectName(record.form);
    setWindowTitle(record.caption);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setNativeMenuBar(false);
    m_mnuEdit = m_menuBar->addMenu(QStringLiteral("編集(&E)"));
    m_mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    m_mnuAddLine = m_mnuEdit->addAction(QStringLiteral("行追加"));
    m_mnuAddLine->setObjectName(QStringLiteral("mnuAddLine"));
    m_mnuAddLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    m_mnuDelLine = m_mnuEdit->addAction(QStringLiteral("行削除"));
    m_mnuDelLine->setObjectName(QStringLiteral("mnuDelLine"));
    m_mnuDelLine->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // A sub-window has no menu bar of the frame's: the shortcuts live in the window itself,
    // alive while the focus is anywhere inside it.
    for (QAction* action : {m_mnuAddLine, m_mnuDelLine}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(m_mnuAddLine, &QAction::triggered, this, [this] { mnuAddLine_Click(); });
    connect(m_mnuDelLine, &QAction::triggered, this, [this] { mnuDelLine_Click(); });

    m_label1 = new QLabel(QStringLiteral("当選数字を開催回数毎に入力します（分析対象データとなります）"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #0000C0;"));
    m_notice->hide();

    m_grid = new EntryGridView(this);
    m_grid->setObjectName(QStringLiteral("fpSpread1"));
    m_delegate = new DigitDelegate(m_grid);

    m_command1 = new QPushButton(QStringLiteral("閉じる"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    connect(m_command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_command1);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(m_label1);
    layout->addWidget(m_notice);
    // The grid keeps the width of its columns; only its height follows the window.
    layout->addWidget(m_grid, 1, Qt::AlignLeft);
    layout->addLayout(buttonRow);
}

当選データ入力::~当選データ入力()
{
    // The grid and its model go before the connection they read through.
    delete m_grid;
    delete m_sheet;
}

QMdiSubWindow* 当選データ入力::load(WindowHost& host, const catalogue::WindowRecord& record)
{
    QString reason;
    QMdiSubWindow* sub = nullptr;
    {
        Hourglass hourglass;
        auto* window = new 当選データ入力(host, record);
        if (window->openRecordSet(&reason)) {
            window->layOutGrid();
            sub = host.addSubWindow(window);
            sub->move(0, 0);
            sub->resize(sub->sizeHint());
        } else {
            delete window;
        }
    }
    if (!sub) {
        showMessage({host.dialogParent(),
                     QStringLiteral("当選データのデータベースを開けません。\n\nファイル: %1\n理由: %2")
                         .arg(QDir::toNativeSeparators(host.databasePath()), reason),
                     kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
    }
    return sub;
}

bool 当選データ入力::openRecordSet(QString* reason)
{
    m_database = std::make_unique<DrawDatabase>(DrawDatabase::connectString(m_host.databasePath()),
                                                DrawDatabase::Mode::ReadWrite);
    if (!m_database->open(reason))
        return false;
    m_sheet = new DrawSheetModel(m_database->database(), this);
    if (!m_sheet->select(reason))
        return false;
    m_dataVersion = m_database->dataVersion();
    m_grid->setModel(m_sheet);
    connect(m_sheet, &DrawSheetModel::digitWritten, this, [this] { m_databaseChanged = true; });
    connect(
        m_sheet, &DrawSheetModel::writeFailed, this,
        [this](const QString& why) { reportDatabaseError(QStringLiteral("当選数字を書き込めません。"), why); },
        Qt::QueuedConnection);
    return true;
}

void 当選データ入力::layOutGrid()
{
    const GridMetrics metrics;
    m_grid->setFont(metrics.font());
    m_grid->setItemDelegate(m_delegate);
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                            | QAbstractItemView::EditKeyPressed);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_grid->setShowGrid(true);
    m_grid->setGridStyle(Qt::SolidLine);
    m_grid->setWordWrap(false);
    m_grid->setCornerButtonEnabled(false);
    m_grid->setSortingEnabled(false);

    // Rows keep one height: measuring them from their contents takes seconds on a long history.
    QHeaderView* rows = m_grid->verticalHeader();
    const int rowHeight = metrics.rowPixels(kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(rowHeight);
    rows->setDefaultSectionSize(rowHeight);
    rows->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rows, &QWidget::customContextMenuRequested, this, [this, rows](const QPoint& pos) {
        rowHeaderRightClick(rows->logicalIndexAt(pos), rows->viewport()->mapToGlobal(pos));
    });

    QHeaderView* columns = m_grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setMinimumSectionSize(metrics.colPixels(kStaticWidth));
    columns->resizeSection(kDrawNoColumn, metrics.colPixels(kDrawNoWidth));
    for (int c = kFirstDigitColumn; c <= kLastDigitColumn; ++c)
        columns->resizeSection(c, metrics.colPixels(kDigitWidth));
    columns->resizeSection(kStaticColumn, metrics.colPixels(kStaticWidth));

    m_grid->setVisibleRows(kVisibleRows);
    // Draws are added at the end of a long history: open where the typing happens, on the
    // first of the draws at the end that still lack a digit, or else on the last draw.
    const int count = m_sheet->rowCount();
    auto incomplete = [this](int row) {
        for (int c = kFirstDigitColumn; c <= kLastDigitColumn; ++c) {
            if (m_sheet->index(row, c).data().toString().isEmpty())
                return true;
        }
        return false;
    };
    int start = count - 1;
    while (start > 0 && incomplete(start) && incomplete(start - 1))
        --start;
    if (count > 0)
        moveTo(start, kFirstDigitColumn);
}

bool 当選データ入力::reselect()
{
    QString reason;
    if (m_sheet->select(&reason))
        return true;
    reportDatabaseError(QStringLiteral("当選データを読み直せません。"), reason);
    return false;
}

void 当選データ入力::databaseFileChanged()
{
    // This window's own writes leave the version as it is: only another program's count.
    const std::optional<qint64> version = m_database->dataVersion();
    if (!version || version == m_dataVersion)
        return;
    m_dataVersion = version;
    // Said first, so that the grid has the room that leaves it before it scrolls.
    m_notice->setText(QStringLiteral("ほかのプログラムの書き込みを読み直しました（%1）")
                          .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
    m_notice->show();
    if (layout())
        layout()->activate();

    // Where the user is and what is being typed there, by draw number: rows may come and go.
    const QModelIndex current = m_grid->currentIndex();
    const QVariant drawNo = current.isValid() ? m_sheet->drawNo(current.row()) : QVariant();
    const int column = current.isValid() ? current.column() : kFirstDigitColumn;
    std::optional<QString> typed;
    if (m_grid->isEditing()) {
        if (auto* line = qobject_cast<QLineEdit*>(m_grid->indexWidget(current)); line && line->isModified())
            typed = line->text();
    }
    const int scrolled = m_grid->verticalScrollBar()->value();
    if (!reselect())
        return;
    m_grid->verticalScrollBar()->setValue(scrolled);
    const int row = drawNo.isNull() ? -1 : m_sheet->rowOfDrawNo(drawNo.toLongLong());
    if (row >= 0) {
        const QModelIndex again = m_sheet->index(row, column);
        m_grid->setCurrentIndex(again);
        m_grid->scrollTo(again); // only when the rows came and went around it
        if (typed) {
            m_grid->edit(again);
            if (auto* line = qobject_cast<QLineEdit*>(m_grid->indexWidget(again))) {
                line->setText(*typed);
                line->setModified(true);
            }
        }
    }
}

void 当選データ入力::moveTo(int row, int column)
{
    const QModelIndex index = m_sheet->index(row, column);
    if (!index.isValid())
        return;
    m_grid->setCurrentIndex(index);
    m_grid->scrollTo(index);
    m_grid->setFocus();
}

void 当選データ入力::reportDatabaseError(const QString& what, const QString& reason)
{
    showMessage({this, QStringLiteral("%1\n\n理由: %2").arg(what, reason), kMessageTitle, QMessageBox::Critical,
                 QMessageBox::Ok, QMessageBox::Ok});
}

void 当選データ入力::mnuAddLine_Click()
{
    m_grid->commitEdit();
    if (!confirm(this, QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")))
        return;
    const QModelIndex active = m_grid->currentIndex();
    const int column = active.isValid() ? active.column() : kFirstDigitColumn;

    // The new draw takes the next free number; its digits wait to be typed (Null).
    QString reason;
    const std::optional<int> next = m_database->nextDrawNo(&reason);
    if (!next || !m_database->insertDraw(*next, &reason)) {
        reportDatabaseError(QStringLiteral("行を追加できません。"), reason);
        return;
    }
    m_databaseChanged = true;
    // The sheet stays in 回数 order, as the database and the next opening show it: the new
    // draw, numbered after every other, is the last row.
    if (reselect())
        moveTo(m_sheet->rowOfDrawNo(*next), column);
}

void 当選データ入力::mnuDelLine_Click()
{
    m_grid->commitEdit();
    const QModelIndex active = m_grid->currentIndex();
    if (!active.isValid())
        return;
    if (!confirm(this, QStringLiteral("選択された行を削除します。よろしいですか？")))
        return;
    const int row = active.row();
    const int column = active.column();

    QString reason;
    if (!m_database->deleteDraw(m_sheet->drawNo(row), &reason)) {
        reportDatabaseError(QStringLiteral("行を削除できません。"), reason);
        return;
    }
    m_databaseChanged = true;
    if (reselect())
        moveTo(qMin(row, m_sheet->rowCount() - 1), column);
}

void 当選データ入力::Command1_Click()
{
    m_grid->commitEdit();
    for (int row = 0; row < m_sheet->rowCount(); ++row) {
        for (int column = kFirstDigitColumn; column <= kStaticColumn; ++column) {
            if (digitTextInError(m_sheet->index(row, column).data().toString())) {
                showMessage({this, QStringLiteral("結果マスタの数字に誤りがあります。"), kMessageTitle,
                             QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
                moveTo(row, column);
                return;
            }
        }
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

bool 当選データ入力::rowHeaderRightClick(int row, const QPoint& globalPos)
{
    if (row < 0 || row >= m_sheet->rowCount())
        return false;
    if (m_grid->selectionModel()->selectedRows().size() != 1)
        return false;
    m_mnuEdit->popup(globalPos);
    return true;
}

void 当選データ入力::closeEvent(QCloseEvent* event)
{
    m_grid->commitEdit();
    m_host.childClosed(m_record.form, m_databaseChanged);
    QWidget::closeEvent(event);
}
