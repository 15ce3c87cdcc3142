#include "windows/entry_window.h"

#include "data/draw.h"
#include "data/draw_calendar.h"
#include "data/draw_database.h"
#include "windows/entry_grid.h"
#include "widgets/undo_step.h"
#include "widgets/go_to_draw.h"
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
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

using namespace entry;

namespace {

const QString kProgramTitle = QStringLiteral("ナンバーズ3ズバリン");
constexpr int kVisibleRows = 50;
constexpr int kRowHeight = 10;
constexpr int kDrawNoWidth = 5;
constexpr int kDigitWidth = 7;
constexpr int kStaticWidth = 4;
constexpr int kDateWidth = 11;
constexpr int kPrizeWidth = 10; // "99,999,900"
// How many draws a question names before it counts the rest.
constexpr int kNamedDraws = 3;

bool confirm(QWidget* parent, const QString& text)
{
    return showMessage(
               {parent, text, kProgramTitle, QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes;
}

QString drawName(const QVariant& drawNo)
{
    return QStringLiteral("第%1回").arg(drawNo.toString());
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
    m_mnuGoTo = m_mnuEdit->addAction(QStringLiteral("回数へ移動…"));
    m_mnuGoTo->setObjectName(QStringLiteral("mnuGoTo"));
    m_mnuGoTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    m_mnuEdit->addSeparator();
    m_undo = new QUndoStack(this);
    m_mnuUndo = m_mnuEdit->addAction(QStringLiteral("元に戻す"));
    m_mnuUndo->setObjectName(QStringLiteral("mnuUndo"));
    m_mnuUndo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    m_mnuRedo = m_mnuEdit->addAction(QStringLiteral("やり直し"));
    m_mnuRedo->setObjectName(QStringLiteral("mnuRedo"));
    m_mnuRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    auto showSteps = [this] {
        m_mnuUndo->setEnabled(m_undo->canUndo());
        m_mnuUndo->setText(m_undo->canUndo() ? QStringLiteral("元に戻す（%1）").arg(m_undo->undoText())
                                             : QStringLiteral("元に戻す"));
        m_mnuRedo->setEnabled(m_undo->canRedo());
        m_mnuRedo->setText(m_undo->canRedo() ? QStringLiteral("やり直し（%1）").arg(m_undo->redoText())
                                             : QStringLiteral("やり直し"));
    };
    connect(m_undo, &QUndoStack::indexChanged, this, showSteps);
    connect(m_undo, &QUndoStack::cleanChanged, this, showSteps);
    showSteps();
    // A sub-window has no menu bar of the frame's: the shortcuts live in the window itself,
    // alive while the focus is anywhere inside it.
    for (QAction* action : {m_mnuAddLine, m_mnuDelLine, m_mnuGoTo, m_mnuUndo, m_mnuRedo}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(m_mnuAddLine, &QAction::triggered, this, [this] { mnuAddLine_Click(); });
    connect(m_mnuDelLine, &QAction::triggered, this, [this] { mnuDelLine_Click(); });
    connect(m_mnuGoTo, &QAction::triggered, this, [this] { goToDraw(); });
    connect(m_mnuUndo, &QAction::triggered, this, [this] { mnuUndo_Click(); });
    connect(m_mnuRedo, &QAction::triggered, this, [this] { mnuRedo_Click(); });

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
    // The steps go quietly: the menu they would update is going too.
    m_undo->disconnect(this);
    delete m_undo;
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
    m_sheet = new DrawSheetModel(*m_database, this);
    if (!m_sheet->select(reason))
        return false;
    m_dataVersion = m_database->dataVersion();
    m_grid->setModel(m_sheet);
    connect(m_sheet, &DrawSheetModel::cellWritten, this,
            [this](const QVariant& drawNo, int column, const QVariant& before, const QVariant& after) {
                m_databaseChanged = true;
                recordCell(drawNo, column, before, after);
            });
    connect(
        m_sheet, &DrawSheetModel::amountsWritten, this,
        [this](int drawNo, int column, const DrawSheetModel::Amounts& before, const DrawSheetModel::Amounts& after) {
            m_databaseChanged = true;
            recordAmounts(drawNo, column, before, after);
        });
    // Said once the editor has moved on; then the cursor goes back to the cell to type it again.
    connect(
        m_sheet, &DrawSheetModel::valueRefused, this,
        [this](int row, int column, const QString& why) {
            const QString what = isPrizeColumn(column)
                ? QStringLiteral("%1の%2に誤りがあります。")
                      .arg(drawName(m_sheet->drawNo(row)), prize::amountField(column - kFirstPrizeColumn))
                : QStringLiteral("抽せん日に誤りがあります。");
            showMessage({this, QStringLiteral("%1\n\n%2").arg(what, why), kMessageTitle, QMessageBox::Warning,
                         QMessageBox::Ok, QMessageBox::Ok});
            moveTo(row, column);
        },
        Qt::QueuedConnection);
    connect(
        m_sheet, &DrawSheetModel::writeFailed, this,
        [this](int column, const QString& why) {
            reportDatabaseError(isPrizeColumn(column) ? QStringLiteral("当せん金を書き込めません。")
                                                      : QStringLiteral("当選数字を書き込めません。"),
                                why);
        },
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
    // On the cells the 編集 menu pops up too, with 元に戻す and やり直し.
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (const QModelIndex at = m_grid->indexAt(pos); at.isValid())
            m_grid->setCurrentIndex(at);
        m_mnuEdit->popup(m_grid->viewport()->mapToGlobal(pos));
    });

    QHeaderView* columns = m_grid->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setMinimumSectionSize(metrics.colPixels(kStaticWidth));
    columns->resizeSection(kDrawNoColumn, metrics.colPixels(kDrawNoWidth));
    for (int c = kFirstDigitColumn; c <= kLastDigitColumn; ++c)
        columns->resizeSection(c, metrics.colPixels(kDigitWidth));
    columns->resizeSection(kDateColumn, metrics.colPixels(kDateWidth));
    // An amount column holds the largest amount, and the name of its kind above it ("セット
    // ストレート" may need more, depending on the style's margins around a heading).
    for (int c = kFirstPrizeColumn; c <= kLastPrizeColumn; ++c)
        columns->resizeSection(c, qMax(metrics.colPixels(kPrizeWidth), columns->sectionSizeHint(c)));
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
    QString reason;
    bool changed = true;
    if (!m_sheet->select(&reason, &changed)) {
        m_undo->clear();
        reportDatabaseError(QStringLiteral("当選データを読み直せません。"), reason);
        return;
    }
    // A write elsewhere that left the draws and their amounts as they were (a ticket recorded)
    // leaves the steps so far as good as they were.
    if (changed) {
        // The steps so far were made on rows another program may have changed since: taking
        // them back could write over what it wrote.
        const bool hadSteps = m_undo->count() > 0;
        m_undo->clear();
        // Said before the grid scrolls back, so that it has the room the notice leaves it.
        m_notice->setText(QStringLiteral("ほかのプログラムの書き込みを読み直しました（%1）%2")
                              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                   hadSteps ? QStringLiteral("。それまでの操作は元に戻せません。") : QString()));
        m_notice->show();
        if (layout())
            layout()->activate();
    }
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
    // The new draw takes the next free number, after every other: the sheet stays in 回数
    // order, as the database and the next opening show it, so the new draw is the last row.
    QString reason;
    const std::optional<int> next = m_database->nextDrawNo(&reason);
    if (!next) {
        reportDatabaseError(QStringLiteral("行を追加できません。"), reason);
        return;
    }
    if (!confirm(this, QStringLiteral("第%1回を最後に追加します。よろしいですか？").arg(*next)))
        return;
    // Its digits wait to be typed (Null), from the first: whatever column the cursor was in,
    // the draw is typed from its 第1数字. Its day is the next draw day by the calendar.
    const QVariant drawNo = *next;
    DrawDatabase::StoredDraw added;
    if (m_sheet->hasDates())
        added.date = draw::dateText(m_sheet->expectedDay(*next));
    if (!putRow(drawNo, added, kFirstDigitColumn))
        return;
    m_undo->push(new WrittenStep(
        QStringLiteral("%1の追加").arg(drawName(drawNo)), [this, drawNo] { return takeRow(drawNo, kFirstDigitColumn); },
        [this, drawNo, added] { return putRow(drawNo, added, kFirstDigitColumn); }));
}

void 当選データ入力::mnuDelLine_Click()
{
    m_grid->commitEdit();
    const QModelIndex active = m_grid->currentIndex();
    if (!active.isValid())
        return;
    const QVariant drawNo = m_sheet->drawNo(active.row());
    if (!confirm(this, QStringLiteral("%1を削除します。よろしいですか？").arg(drawName(drawNo))))
        return;
    const int column = active.column();
    QString reason;
    const std::optional<DrawDatabase::StoredDraw> removed = m_database->storedDraw(drawNo, &reason);
    if (!removed) {
        reportDatabaseError(QStringLiteral("行を削除できません。"),
                            reason.isEmpty() ? QStringLiteral("%1が見つかりません").arg(drawName(drawNo)) : reason);
        return;
    }
    if (!takeRow(drawNo, column))
        return;
    m_undo->push(new WrittenStep(
        QStringLiteral("%1の削除").arg(drawName(drawNo)),
        [this, drawNo, removed, column] { return putRow(drawNo, *removed, column); },
        [this, drawNo, column] { return takeRow(drawNo, column); }));
}

void 当選データ入力::goToDraw()
{
    m_grid->commitEdit();
    const auto refusal = [this](int drawNo) {
        return m_sheet->rowOfDrawNo(drawNo) >= 0 ? QString() : QStringLiteral("第%1回の行はありません。").arg(drawNo);
    };
    if (const std::optional<int> drawNo = askDrawNo(this, {}, refusal))
        moveTo(m_sheet->rowOfDrawNo(*drawNo), kFirstDigitColumn);
}

void 当選データ入力::mnuUndo_Click()
{
    m_grid->commitEdit();
    if (m_undo->canUndo())
        m_undo->undo();
}

void 当選データ入力::mnuRedo_Click()
{
    m_grid->commitEdit();
    if (m_undo->canRedo())
        m_undo->redo();
}

void 当選データ入力::recordCell(const QVariant& drawNo, int column, const QVariant& before, const QVariant& after)
{
    if (m_replaying)
        return;
    const QString what = column == kDateColumn ? draw::kDateField : draw::kDigitFields[column - kFirstDigitColumn];
    m_undo->push(new WrittenStep(
        QStringLiteral("%1の%2").arg(drawName(drawNo), what),
        [this, drawNo, column, before] { return putCell(drawNo, column, before); },
        [this, drawNo, column, after] { return putCell(drawNo, column, after); }));
}

void 当選データ入力::recordAmounts(int drawNo, int column, const DrawDatabase::PrizeAmounts& before,
                                   const DrawDatabase::PrizeAmounts& after)
{
    // One step for the amount typed and those it filled: taken back, all five are as before.
    m_undo->push(new WrittenStep(
        QStringLiteral("%1の%2").arg(drawName(drawNo), prize::amountField(column - kFirstPrizeColumn)),
        [this, drawNo, column, before] { return putAmounts(drawNo, column, before); },
        [this, drawNo, column, after] { return putAmounts(drawNo, column, after); }));
}

bool 当選データ入力::putAmounts(int drawNo, int column, const DrawDatabase::PrizeAmounts& amounts)
{
    const int row = m_sheet->rowOfDrawNo(drawNo);
    QString reason = QStringLiteral("%1が見つかりません").arg(drawName(drawNo));
    if (row < 0 || !m_sheet->restoreAmounts(row, amounts, &reason)) {
        stepFailed(QStringLiteral("元に戻せません。"), reason);
        return false;
    }
    m_databaseChanged = true;
    moveTo(row, column);
    return true;
}

bool 当選データ入力::putCell(const QVariant& drawNo, int column, const QVariant& value)
{
    const int row = m_sheet->rowOfDrawNo(drawNo.toLongLong());
    m_replaying = true;
    const bool written = row >= 0 && m_sheet->restoreCell(row, column, value);
    m_replaying = false;
    if (!written) {
        stepFailed(QStringLiteral("元に戻せません。"),
                   row < 0 ? QStringLiteral("%1が見つかりません").arg(drawName(drawNo))
                           : QStringLiteral("データベースが書き込みを拒みました"));
        return false;
    }
    m_databaseChanged = true;
    moveTo(row, column);
    return true;
}

bool 当選データ入力::putRow(const QVariant& drawNo, const DrawDatabase::StoredDraw& draw, int column)
{
    QString reason;
    if (!m_database->insertDraw(drawNo, draw, &reason)) {
        stepFailed(QStringLiteral("行を追加できません。"), reason);
        return false;
    }
    m_databaseChanged = true;
    if (reselect())
        moveTo(m_sheet->rowOfDrawNo(drawNo.toLongLong()), column);
    return true;
}

bool 当選データ入力::takeRow(const QVariant& drawNo, int column)
{
    const int row = m_sheet->rowOfDrawNo(drawNo.toLongLong());
    QString reason;
    if (!m_database->deleteDraw(drawNo, &reason)) {
        stepFailed(QStringLiteral("行を削除できません。"), reason);
        return false;
    }
    m_databaseChanged = true;
    if (reselect())
        moveTo(qMin(qMax(row, 0), m_sheet->rowCount() - 1), column);
    return true;
}

void 当選データ入力::stepFailed(const QString& what, const QString& reason)
{
    // Called from inside the stack's own undo or redo: cleared once that has returned.
    QTimer::singleShot(0, this, [this] { m_undo->clear(); });
    reportDatabaseError(what, reason);
}

bool 当選データ入力::mayCloseWithPartlyTypedDraws()
{
    QStringList names;
    int count = 0;
    for (int row = 0; row < m_sheet->rowCount(); ++row) {
        if (!m_sheet->isPartlyTyped(row))
            continue;
        if (++count <= kNamedDraws)
            names << drawName(m_sheet->drawNo(row));
    }
    if (count == 0)
        return true;
    QString drawsText = names.join(QStringLiteral("、"));
    if (count > kNamedDraws)
        drawsText += QStringLiteral("ほか%1回").arg(count - kNamedDraws);
    const bool close
        = showMessage({this, QStringLiteral("%1は数字がそろっていません。このまま閉じますか？").arg(drawsText),
                       kMessageTitle, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes;
    if (!close) {
        for (int row = 0; row < m_sheet->rowCount(); ++row) {
            if (!m_sheet->isPartlyTyped(row))
                continue;
            int column = kFirstDigitColumn;
            while (column < kLastDigitColumn && draw::isPresent(m_sheet->index(row, column).data(Qt::EditRole)))
                ++column;
            moveTo(row, column);
            break;
        }
    }
    return close;
}

void 当選データ入力::Command1_Click()
{
    m_grid->commitEdit();
    for (int row = 0; row < m_sheet->rowCount(); ++row) {
        for (int column : {kFirstDigitColumn, kFirstDigitColumn + 1, kLastDigitColumn, kStaticColumn}) {
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
    if (!mayCloseWithPartlyTypedDraws()) {
        event->ignore();
        return;
    }
    m_host.childClosed(m_record.form, m_databaseChanged);
    QWidget::closeEvent(event);
}
