#include "windows/ticket_window.h"

#include "analysis/ticket_results.h"
#include "data/draw.h"
#include "data/draw_database.h"
#include "data/file_write.h"
#include "data/prizes.h"
#include "widgets/undo_step.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"
#include "widgets/modal.h"
#include "windows/history_transfer.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

// How many refused lines of a file a message names before it counts the rest.
constexpr int kNamedRefusals = 30;

constexpr ticket::Type kTypes[] = {ticket::Type::Straight, ticket::Type::Box, ticket::Type::Set, ticket::Type::Mini};

QString drawName(int drawNo)
{
    return QStringLiteral("第%1回").arg(drawNo);
}

// A line as a question or a step names it: "第7090回から3回　123　ボックス　2口".
QString lineText(const ticket::Line& line)
{
    const QString draws = line.draws == 1 ? drawName(line.firstDraw)
                                          : QStringLiteral("%1から%2回").arg(drawName(line.firstDraw)).arg(line.draws);
    return QStringLiteral("%1　%2　%3　%4口").arg(draws, line.number, ticket::typeName(line.type)).arg(line.units);
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

// Now, as the table keeps it (to the second), so that a line shown is the line stored.
QDateTime recordedNow()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return now.addMSecs(-now.time().msec());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The list

QVector<TicketTableModel::Row> TicketTableModel::rowsOf(const QVector<ticket::Line>& lines, const History* history)
{
    std::optional<ticket_results::DrawIndex> index;
    if (history)
        index.emplace(*history);
    QVector<Row> rows;
    rows.reserve(lines.size());
    for (const ticket::Line& line : lines) {
        Row row{line, std::nullopt};
        if (history)
            row.state = ticket_results::summary(line, ticket_results::resultsOf(line, *history, *index));
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.line.id > b.line.id; });
    return rows;
}

QString TicketTableModel::drawsText(const ticket::Line& line)
{
    if (line.draws <= 1)
        return drawName(line.firstDraw);
    return QStringLiteral("%1〜%2").arg(drawName(line.firstDraw), drawName(line.lastDraw()));
}

int TicketTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TicketTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TicketTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& row = m_rows.at(index.row());
    const ticket::Line& line = row.line;
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case FirstDrawColumn:
        case UnitsColumn:
        case CostColumn:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case NumberColumn:
            return QVariant(Qt::AlignCenter);
        default:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case FirstDrawColumn:
        return QString::number(line.firstDraw);
    case DrawsColumn:
        return drawsText(line);
    case NumberColumn:
        return line.number;
    case TypeColumn:
        return ticket::typeName(line.type);
    case UnitsColumn:
        return QString::number(line.units);
    case CostColumn:
        return prize::yenText(line.cost());
    case StateColumn:
        return stateAt(index.row());
    case MemoColumn:
        return line.memo;
    case RecordedColumn:
        return line.recorded.isValid() ? line.recorded.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                                       : QString();
    default:
        return {};
    }
}

QVariant TicketTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case FirstDrawColumn:
        return QStringLiteral("開始回");
    case DrawsColumn:
        return QStringLiteral("対象の回");
    case NumberColumn:
        return QStringLiteral("番号");
    case TypeColumn:
        return QStringLiteral("申込");
    case UnitsColumn:
        return QStringLiteral("口数");
    case CostColumn:
        return QStringLiteral("金額");
    case StateColumn:
        return QStringLiteral("結果");
    case MemoColumn:
        return QStringLiteral("メモ");
    case RecordedColumn:
        return QStringLiteral("記録日時");
    default:
        return {};
    }
}

QString TicketTableModel::stateAt(int row) const
{
    Row& at = m_rows[row];
    if (!at.state) {
        if (!m_index)
            m_index = std::make_shared<const ticket_results::DrawIndex>(m_history);
        at.state = ticket_results::summary(at.line, ticket_results::resultsOf(at.line, m_history, *m_index));
    }
    return *at.state;
}

void TicketTableModel::setRows(QVector<Row> rows, const History& history)
{
    m_history = history;
    m_index.reset();
    resetRows(std::move(rows));
}

void TicketTableModel::resetRows(QVector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TicketTableModel::placeOf(qint64 id) const
{
    const auto at = std::lower_bound(m_rows.cbegin(), m_rows.cend(), id,
                                     [](const Row& row, qint64 wanted) { return row.line.id > wanted; });
    return int(at - m_rows.cbegin());
}

int TicketTableModel::rowOfId(qint64 id) const
{
    const int row = placeOf(id);
    return row < m_rows.size() && m_rows.at(row).line.id == id ? row : -1;
}

void TicketTableModel::addRows(const QVector<Row>& rows)
{
    // A few rows go in one by one, so that the view keeps what it shows; many at once (an
    // import) are merged and shown anew.
    constexpr int kOneByOne = 16;
    if (rows.size() <= kOneByOne) {
        for (const Row& row : rows) {
            const int at = placeOf(row.line.id);
            beginInsertRows({}, at, at);
            m_rows.insert(at, row);
            endInsertRows();
        }
        return;
    }
    QVector<Row> all = m_rows;
    all += rows;
    std::stable_sort(all.begin(), all.end(), [](const Row& a, const Row& b) { return a.line.id > b.line.id; });
    resetRows(std::move(all));
}

void TicketTableModel::removeIds(const QVector<qint64>& ids)
{
    constexpr int kOneByOne = 16;
    if (ids.size() <= kOneByOne) {
        for (const qint64 id : ids) {
            const int row = rowOfId(id);
            if (row < 0)
                continue;
            beginRemoveRows({}, row, row);
            m_rows.removeAt(row);
            endRemoveRows();
        }
        return;
    }
    const QSet<qint64> gone(ids.cbegin(), ids.cend());
    QVector<Row> kept;
    kept.reserve(m_rows.size());
    for (const Row& row : std::as_const(m_rows)) {
        if (!gone.contains(row.line.id))
            kept.push_back(row);
    }
    resetRows(std::move(kept));
}

void TicketTableModel::replaceRow(const Row& row)
{
    const int at = rowOfId(row.line.id);
    if (at < 0)
        return;
    m_rows[at] = row;
    Q_EMIT dataChanged(index(at, 0), index(at, ColumnCount - 1));
}

QVector<ticket::Line> TicketTableModel::lines() const
{
    QVector<ticket::Line> lines;
    lines.reserve(m_rows.size());
    for (auto it = m_rows.crbegin(); it != m_rows.crend(); ++it)
        lines.push_back(it->line);
    return lines;
}

// ---------------------------------------------------------------------------------------------
// The window

TicketWindow::TicketWindow(WindowHost& host, const catalogue::WindowRecord& record) : m_host(host), m_record(record)
{
    setObjectName(record.form);
    setWindowTitle(record.caption);
    m_undo = new QUndoStack(this);
    m_model = new TicketTableModel(this);
    buildForm();
}

TicketWindow::~TicketWindow()
{
    // The steps go quietly: the buttons they would update are going too.
    m_undo->disconnect(this);
    delete m_undo;
    m_undo = nullptr;
    // The view and its model go before the connection the steps write through.
    delete m_view;
    m_view = nullptr;
}

TicketWindow* TicketWindow::of(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
        window = sub->widget();
    return qobject_cast<TicketWindow*>(window);
}

int TicketWindow::nextDrawOf(const History& history)
{
    return std::clamp(history.lastDrawNo() + 1, draw::kMinDrawNo, draw::kMaxDrawNo);
}

void TicketWindow::buildForm()
{
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setWordWrap(true);
    m_notice->setStyleSheet(QStringLiteral("color: #0000C0;"));
    m_notice->hide();

    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("form"));
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);

    m_number = new QLineEdit(form);
    m_number->setObjectName(QStringLiteral("numberEdit"));
    m_number->setPlaceholderText(QStringLiteral("例：123 456 789（いくつでも。1つの番号が1行になります）"));
    m_quickPickButton = new QPushButton(QStringLiteral("クイックピック"), form);
    m_quickPickButton->setObjectName(QStringLiteral("quickPickButton"));
    auto* numberLabel = new QLabel(QStringLiteral("番号"), form);
    numberLabel->setBuddy(m_number);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(m_quickPickButton);
    grid->addWidget(numberLabel, 0, 0);
    grid->addLayout(numberRow, 0, 1, 1, 7);

    m_types = new QButtonGroup(form);
    auto* typeRow = new QHBoxLayout;
    const char* typeNames[] = {"straightButton", "boxButton", "setButton", "miniButton"};
    for (int t = 0; t < ticket::kTypes; ++t) {
        auto* button = new QRadioButton(ticket::typeName(kTypes[t]), form);
        button->setObjectName(QString::fromLatin1(typeNames[t]));
        m_types->addButton(button, t);
        typeRow->addWidget(button);
    }
    m_types->button(0)->setChecked(true);
    typeRow->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("申込"), form), 1, 0);
    grid->addLayout(typeRow, 1, 1, 1, 7);

    auto spin = [form](const char* name, int from, int to) {
        auto* box = new QSpinBox(form);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(from, to);
        return box;
    };
    m_units = spin("unitsBox", 1, ticket::kMaxUnits);
    m_firstDraw = spin("firstDrawBox", draw::kMinDrawNo, draw::kMaxDrawNo);
    m_draws = spin("drawsBox", 1, ticket::kMaxDraws);
    auto* unitsLabel = new QLabel(QStringLiteral("口数"), form);
    auto* firstLabel = new QLabel(QStringLiteral("開始回"), form);
    auto* drawsLabel = new QLabel(QStringLiteral("継続回数"), form);
    unitsLabel->setBuddy(m_units);
    firstLabel->setBuddy(m_firstDraw);
    drawsLabel->setBuddy(m_draws);
    grid->addWidget(unitsLabel, 2, 0);
    grid->addWidget(m_units, 2, 1);
    grid->addWidget(firstLabel, 2, 2);
    grid->addWidget(m_firstDraw, 2, 3);
    grid->addWidget(drawsLabel, 2, 4);
    grid->addWidget(m_draws, 2, 5);
    // What 追加 would record: a proposal may hold many numbers, more than 番号 shows at once.
    m_formCost = new QLabel(form);
    m_formCost->setObjectName(QStringLiteral("formCost"));
    grid->addWidget(m_formCost, 2, 6, 1, 2);

    m_memo = new QLineEdit(form);
    m_memo->setObjectName(QStringLiteral("memoEdit"));
    auto* memoLabel = new QLabel(QStringLiteral("メモ"), form);
    memoLabel->setBuddy(m_memo);
    grid->addWidget(memoLabel, 3, 0);
    grid->addWidget(m_memo, 3, 1, 1, 7);
    grid->setColumnStretch(7, 1);

    auto button = [this](const QString& text, const char* name) {
        auto* made = new QPushButton(text, this);
        made->setObjectName(QString::fromLatin1(name));
        made->setAutoDefault(false);
        return made;
    };
    m_addButton = button(QStringLiteral("追加"), "addButton");
    m_changeButton = button(QStringLiteral("変更"), "changeButton");
    m_deleteButton = button(QStringLiteral("削除"), "deleteButton");
    m_undoButton = button(QStringLiteral("元に戻す"), "undoButton");
    m_redoButton = button(QStringLiteral("やり直し"), "redoButton");
    m_importButton = button(QStringLiteral("取り込み…"), "importButton");
    m_exportButton = button(QStringLiteral("書き出し…"), "exportButton");
    m_closeButton = button(QStringLiteral("閉じる"), "closeButton");
    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {m_addButton, m_changeButton, m_deleteButton, m_undoButton, m_redoButton})
        commands->addWidget(b);
    commands->addSpacing(24);
    commands->addWidget(m_importButton);
    commands->addWidget(m_exportButton);
    commands->addStretch();

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("ledgerView"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setWordWrap(false);
    m_view->setAlternatingRowColors(true);
    m_view->setSortingEnabled(false);
    // Rows keep one height and columns their widths: measuring 10,000 lines would take long.
    QHeaderView* rows = m_view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    const QFontMetrics metrics = m_view->fontMetrics();
    const QString widest[TicketTableModel::ColumnCount] = {
        QStringLiteral("32767"),
        QStringLiteral("第32758回〜第32767回"),
        QStringLiteral("000"),
        QStringLiteral("ストレート"),
        QStringLiteral("10"),
        QStringLiteral("20,000円"),
        QStringLiteral("10回中10回抽せん済み・セットストレート 1回 999,000円（理論値）"),
        QStringLiteral("メモメモメモメモ"),
        QStringLiteral("2026/12/31 23:59"),
    };
    for (int c = 0; c < TicketTableModel::ColumnCount; ++c) {
        const int header = metrics.horizontalAdvance(m_model->headerData(c, Qt::Horizontal).toString());
        columns->resizeSection(c, std::max(metrics.horizontalAdvance(widest[c]), header) + 16);
    }
    columns->setStretchLastSection(true);

    auto* foot = new QHBoxLayout;
    foot->addStretch();
    foot->addWidget(m_closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_notice);
    layout->addWidget(form);
    layout->addLayout(commands);
    layout->addWidget(m_view, 1);
    layout->addLayout(foot);

    connect(m_addButton, &QPushButton::clicked, this, [this] { add(); });
    connect(m_quickPickButton, &QPushButton::clicked, this, [this] { quickPick(); });
    connect(m_changeButton, &QPushButton::clicked, this, [this] { change(); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(m_undoButton, &QPushButton::clicked, this, [this] { undo(); });
    connect(m_redoButton, &QPushButton::clicked, this, [this] { redo(); });
    connect(m_importButton, &QPushButton::clicked, this, [this] { importTickets(); });
    connect(m_exportButton, &QPushButton::clicked, this, [this] { exportTickets(); });
    connect(m_closeButton, &QPushButton::clicked, this, [this] {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { onSelectionChanged(); });
    connect(m_undo, &QUndoStack::indexChanged, this, [this] { updateButtons(); });
    connect(m_number, &QLineEdit::textChanged, this, [this] { showFormCost(); });
    connect(m_units, &QSpinBox::valueChanged, this, [this] { showFormCost(); });
    connect(m_draws, &QSpinBox::valueChanged, this, [this] { showFormCost(); });

    // Enter anywhere in the form records what it holds; Delete in the list deletes the lines
    // selected; Ctrl+Z and Ctrl+Y anywhere in the window take the steps back and again.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* enter = new QShortcut(key, form);
        enter->setContext(Qt::WidgetWithChildrenShortcut);
        connect(enter, &QShortcut::activated, this, [this] { add(); });
    }
    auto* remove = new QAction(QStringLiteral("削除"), m_view);
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    remove->setShortcutContext(Qt::WidgetShortcut);
    m_view->addAction(remove);
    connect(remove, &QAction::triggered, this, [this] { deleteSelected(); });
    auto* undoAction = new QAction(QStringLiteral("元に戻す"), this);
    undoAction->setObjectName(QStringLiteral("undoAction"));
    undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    auto* redoAction = new QAction(QStringLiteral("やり直し"), this);
    redoAction->setObjectName(QStringLiteral("redoAction"));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
    connect(undoAction, &QAction::triggered, this, [this] { undo(); });
    connect(redoAction, &QAction::triggered, this, [this] { redo(); });
    // A text box takes Ctrl+Z for its own typing while it has any to take back; then the
    // window's steps.
    for (QWidget* typed :
         {static_cast<QWidget*>(m_number), static_cast<QWidget*>(m_memo), static_cast<QWidget*>(m_units),
          static_cast<QWidget*>(m_firstDraw), static_cast<QWidget*>(m_draws)})
        typed->installEventFilter(this);

    setTabOrder(m_number, m_quickPickButton);
    updateButtons();
}

bool TicketWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undoKey = key->matches(QKeySequence::Undo);
        const bool redoKey = key->matches(QKeySequence::Redo) || key->keyCombination() == (Qt::CTRL | Qt::Key_Y);
        if (undoKey || redoKey) {
            auto* edit = qobject_cast<QLineEdit*>(watched);
            if (!edit)
                edit = watched->findChild<QLineEdit*>();
            const bool own = edit && (undoKey ? edit->isUndoAvailable() : edit->isRedoAvailable());
            if (!own)
                return true; // not taken by the box: the window's shortcut runs
        }
    }
    return QWidget::eventFilter(watched, event);
}

QMdiSubWindow* TicketWindow::load(WindowHost& host, const catalogue::WindowRecord& record)
{
    QString reason;
    QMdiSubWindow* sub = nullptr;
    {
        Hourglass hourglass;
        auto* window = new TicketWindow(host, record);
        if (window->openDatabase(&reason)) {
            sub = host.addSubWindow(window);
            sub->move(0, 0);
            QSize size(1280, 640);
            if (QMdiArea* area = sub->mdiArea())
                size = size.boundedTo(area->viewport()->size());
            sub->resize(size.expandedTo(sub->minimumSizeHint()));
            window->m_number->setFocus();
        } else {
            delete window;
        }
    }
    if (!sub) {
        showMessage({host.dialogParent(),
                     QStringLiteral("購入記録のデータベースを開けません。\n\nファイル: %1\n理由: %2")
                         .arg(QDir::toNativeSeparators(host.databasePath()), reason),
                     kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
    }
    return sub;
}

bool TicketWindow::openDatabase(QString* reason)
{
    const QString path = m_host.databasePath();
    if (path.isEmpty()) {
        *reason = QStringLiteral("データベースが開かれていません");
        return false;
    }
    // A file this user may not write (or whose folder keeps no journal) is only read.
    const QFileInfo file(path);
    const bool writable = file.isWritable() && QFileInfo(file.absolutePath()).isWritable();
    m_database = std::make_unique<DrawDatabase>(
        DrawDatabase::connectString(path), writable ? DrawDatabase::Mode::ReadWrite : DrawDatabase::Mode::ReadOnly);
    if (!m_database->open(reason))
        return false;
    const bool hasTable = m_database->hasTicketTable();
    m_editable = hasTable && writable;
    // The lines as the host's history holds them, read with its draws: one state of the
    // database, and no second reading of 10,000 lines.
    m_history = m_host.currentHistory();
    m_offeredFirstDraw = nextDrawOf(m_history);
    m_firstDraw->setValue(m_offeredFirstDraw);
    showRows(TicketTableModel::rowsOf(m_history.tickets()));
    if (!hasTable) {
        m_notice->setText(
            QStringLiteral("このデータベースには購入記録の表がありません（書き込めない古い形式のデータベース"
                           "です）。購入記録は記録できません。"));
        m_notice->show();
    } else if (!writable) {
        m_notice->setText(QStringLiteral("このデータベースには書き込めないため、購入記録は見るだけです。"));
        m_notice->show();
    }
    for (QWidget* editing : std::initializer_list<QWidget*>{m_number, m_quickPickButton, m_units, m_firstDraw, m_draws,
                                                            m_memo, m_importButton})
        editing->setEnabled(m_editable);
    for (QAbstractButton* type : m_types->buttons())
        type->setEnabled(m_editable);
    m_exportButton->setEnabled(hasTable);
    updateButtons();
    return true;
}

QRadioButton* TicketWindow::typeButton(ticket::Type type) const
{
    return qobject_cast<QRadioButton*>(m_types->button(int(type)));
}

ticket::Type TicketWindow::chosenType() const
{
    const int id = m_types->checkedId();
    return id >= 0 && id < ticket::kTypes ? kTypes[id] : ticket::Type::Straight;
}

void TicketWindow::setType(ticket::Type type)
{
    if (QAbstractButton* button = m_types->button(int(type)))
        button->setChecked(true);
}

QStringList TicketWindow::formNumbers() const
{
    // Full-width digits, commas and blanks count as their ASCII forms.
    const QString text = m_number->text().normalized(QString::NormalizationForm_KC);
    static const QRegularExpression separators(QStringLiteral("[\\s,、]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

void TicketWindow::showFormCost()
{
    const qint64 lines = formNumbers().size();
    const qint64 cost = lines * ticket::kPrice * m_units->value() * m_draws->value();
    m_formCost->setText(lines == 0 ? QString() : QStringLiteral("%1行・%2").arg(lines).arg(prize::yenText(cost)));
}

QVector<ticket::Line> TicketWindow::formLines(QString* refusal) const
{
    const QStringList numbers = formNumbers();
    ticket::Line form;
    form.type = chosenType();
    form.units = m_units->value();
    form.firstDraw = m_firstDraw->value();
    form.draws = m_draws->value();
    form.memo = m_memo->text();
    if (numbers.isEmpty()) {
        *refusal = QStringLiteral("番号を入力してください。");
        return {};
    }
    // What the form says whatever the number, once; then what each number breaks.
    ticket::Line sample = form;
    sample.number = form.type == ticket::Type::Mini ? QStringLiteral("12") : QStringLiteral("123");
    const QStringList common = ticket::refusals(sample);
    QStringList reasons = common;
    QVector<ticket::Line> lines;
    for (const QString& number : numbers) {
        ticket::Line line = form;
        line.number = number;
        for (const QString& reason : ticket::refusals(line)) {
            if (!common.contains(reason))
                reasons << (numbers.size() > 1 ? QStringLiteral("「%1」：%2").arg(number, reason) : reason);
        }
        lines << line;
    }
    refusal->clear();
    if (!reasons.isEmpty()) {
        reasons.removeDuplicates();
        *refusal = QStringLiteral("記録できません。\n\n%1").arg(reasons.join(u'\n'));
        return {};
    }
    return lines;
}

void TicketWindow::fillForm(const ticket::Line& line)
{
    m_number->setText(line.number);
    setType(line.type);
    m_units->setValue(line.units);
    m_firstDraw->setValue(line.firstDraw);
    m_draws->setValue(line.draws);
    m_memo->setText(line.memo);
}

void TicketWindow::propose(const QVector<ticket::Line>& lines)
{
    if (lines.isEmpty())
        return;
    // The proposal is new lines, not a change of the one selected.
    m_view->clearSelection();
    QStringList numbers;
    for (const ticket::Line& line : lines)
        numbers << line.number;
    const ticket::Line& first = lines.first();
    m_number->setText(numbers.join(u' '));
    m_number->setCursorPosition(0); // the first numbers in view, the count beside the form
    setType(first.type);
    m_units->setValue(first.units);
    m_firstDraw->setValue(first.firstDraw);
    m_draws->setValue(first.draws);
    m_addButton->setFocus();
}

QVector<int> TicketWindow::selectedRows() const
{
    QVector<int> rows;
    for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TicketWindow::onSelectionChanged()
{
    const QVector<int> rows = selectedRows();
    if (rows.size() == 1 && !m_filling)
        fillForm(m_model->lineAt(rows.first()));
    updateButtons();
}

void TicketWindow::updateButtons()
{
    if (!m_undo)
        return;
    const qsizetype selected = m_view->selectionModel()->selectedRows().size();
    m_addButton->setEnabled(m_editable);
    m_changeButton->setEnabled(m_editable && selected == 1);
    m_deleteButton->setEnabled(m_editable && selected > 0);
    m_undoButton->setEnabled(m_editable && m_undo->canUndo());
    m_redoButton->setEnabled(m_editable && m_undo->canRedo());
    m_undoButton->setToolTip(m_undo->canUndo() ? QStringLiteral("元に戻す：%1（Ctrl+Z）").arg(m_undo->undoText())
                                               : QStringLiteral("Ctrl+Z"));
    m_redoButton->setToolTip(m_undo->canRedo() ? QStringLiteral("やり直し：%1（Ctrl+Y）").arg(m_undo->redoText())
                                               : QStringLiteral("Ctrl+Y"));
}

void TicketWindow::selectIds(const QVector<qint64>& ids)
{
    QItemSelection selection;
    for (const qint64 id : ids) {
        const int row = m_model->rowOfId(id);
        if (row >= 0)
            selection.select(m_model->index(row, 0), m_model->index(row, TicketTableModel::ColumnCount - 1));
    }
    m_view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TicketWindow::tell(const QString& text, bool warning)
{
    showMessage({this, text, kMessageTitle, warning ? QMessageBox::Warning : QMessageBox::Information, QMessageBox::Ok,
                 QMessageBox::Ok});
}

bool TicketWindow::ask(const QString& text)
{
    return showMessage(
               {this, text, kMessageTitle, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        == QMessageBox::Yes;
}

void TicketWindow::showRows(QVector<TicketTableModel::Row> rows)
{
    // What the player looks at stays: the lines selected, the current one and the line at the
    // top of the list (the top itself, where the newest lines come in).
    QVector<qint64> selected;
    for (const int row : selectedRows())
        selected << m_model->lineAt(row).id;
    const QModelIndex current = m_view->currentIndex();
    const qint64 currentId = current.isValid() ? m_model->lineAt(current.row()).id : 0;
    const int currentColumn = current.isValid() ? current.column() : 0;
    const bool atTop = m_view->verticalScrollBar()->value() == 0;
    const QModelIndex top = m_view->indexAt(QPoint(0, 0));
    const qint64 topId = top.isValid() ? m_model->lineAt(top.row()).id : 0;

    m_filling = true;
    m_model->setRows(std::move(rows), m_history);
    m_view->doItemsLayout(); // the scroll range of the new rows, before scrolling in it
    if (const int row = m_model->rowOfId(currentId); row >= 0)
        m_view->selectionModel()->setCurrentIndex(m_model->index(row, currentColumn), QItemSelectionModel::NoUpdate);
    selectIds(selected);
    if (atTop) {
        m_view->scrollToTop();
    } else if (const int row = m_model->rowOfId(topId); row >= 0) {
        m_view->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtTop);
    }
    m_filling = false;
    updateButtons();
}

void TicketWindow::add()
{
    if (!m_editable)
        return;
    QString refusal;
    QVector<ticket::Line> lines = formLines(&refusal);
    if (!refusal.isEmpty()) {
        tell(refusal);
        return;
    }
    if (!recordLines(lines, QStringLiteral("購入記録に書き込めません。")))
        return;
    const QString text = lines.size() == 1 ? QStringLiteral("追加（%1）").arg(lineText(lines.first()))
                                           : QStringLiteral("追加（%1行）").arg(lines.size());
    QVector<qint64> ids;
    for (const ticket::Line& line : std::as_const(lines))
        ids << line.id;
    pushStep(
        text, [this, ids] { return takeLines(ids, QStringLiteral("元に戻せません。")); },
        [this, lines] { return putLines(lines, QStringLiteral("やり直せません。")); });
    // The lines are recorded: the form is ready for the next numbers, the list shows them on top.
    m_view->clearSelection();
    m_view->scrollToTop();
    m_number->setText(QString()); // and nothing of it to take back with Ctrl+Z
    m_number->setFocus();
}

void TicketWindow::quickPick()
{
    QRandomGenerator* random = QRandomGenerator::system();
    const ticket::Type type = chosenType();
    QString number;
    if (type == ticket::Type::Mini) {
        number = QStringLiteral("%1").arg(random->bounded(100), 2, 10, QChar(u'0'));
    } else {
        // ボックス and セット are not sold for a triple.
        const bool noTriple = type == ticket::Type::Box || type == ticket::Type::Set;
        int n = 0;
        do {
            n = int(random->bounded(1000));
        } while (noTriple && n % 111 == 0);
        number = QStringLiteral("%1").arg(n, 3, 10, QChar(u'0'));
    }
    m_number->setText(number);
}

void TicketWindow::change()
{
    if (!m_editable)
        return;
    const QVector<int> rows = selectedRows();
    if (rows.size() != 1)
        return;
    const ticket::Line before = m_model->lineAt(rows.first());
    QString refusal;
    const QVector<ticket::Line> lines = formLines(&refusal);
    if (!refusal.isEmpty()) {
        tell(refusal);
        return;
    }
    if (lines.size() != 1) {
        tell(QStringLiteral("変更する行の番号を一つだけ入力してください。"));
        return;
    }
    ticket::Line after = lines.first();
    after.id = before.id;
    after.recorded = before.recorded;
    if (after == before)
        return;
    if (!rewriteLine(after, QStringLiteral("購入記録を変更できません。")))
        return;
    pushStep(
        QStringLiteral("変更（%1）").arg(lineText(after)),
        [this, before] { return rewriteLine(before, QStringLiteral("元に戻せません。")); },
        [this, after] { return rewriteLine(after, QStringLiteral("やり直せません。")); });
}

void TicketWindow::deleteSelected()
{
    if (!m_editable)
        return;
    const QVector<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    QVector<ticket::Line> removed;
    QVector<qint64> ids;
    for (const int row : rows) {
        removed << m_model->lineAt(row);
        ids << removed.last().id;
    }
    const QString question = rows.size() == 1 ? QStringLiteral("%1　を削除しますか？").arg(lineText(removed.first()))
                                              : QStringLiteral("選んだ%1行を削除しますか？").arg(rows.size());
    if (!ask(question))
        return;
    if (!takeLines(ids, QStringLiteral("購入記録を削除できません。")))
        return;
    const QString text = rows.size() == 1 ? QStringLiteral("削除（%1）").arg(lineText(removed.first()))
                                          : QStringLiteral("削除（%1行）").arg(rows.size());
    pushStep(
        text, [this, removed] { return putLines(removed, QStringLiteral("元に戻せません。")); },
        [this, ids] { return takeLines(ids, QStringLiteral("やり直せません。")); });
}

void TicketWindow::undo()
{
    if (m_editable && m_undo->canUndo())
        m_undo->undo();
}

void TicketWindow::redo()
{
    if (m_editable && m_undo->canRedo())
        m_undo->redo();
}

void TicketWindow::pushStep(const QString& text, std::function<bool()> undo, std::function<bool()> redo)
{
    m_undo->push(new WrittenStep(text, std::move(undo), std::move(redo)));
}

bool TicketWindow::recordLines(QVector<ticket::Line>& lines, const QString& failure)
{
    // New lines are recorded now; a line put back keeps its id and its 記録日時.
    const QDateTime now = recordedNow();
    for (ticket::Line& line : lines) {
        if (!line.recorded.isValid())
            line.recorded = now;
    }
    QString reason;
    QVector<qint64> ids;
    if (!m_database->insertTickets(lines, &reason, &ids)) {
        writeFailed(failure, reason);
        return false;
    }
    for (qsizetype i = 0; i < lines.size() && i < ids.size(); ++i)
        lines[i].id = ids.at(i);
    m_model->addRows(TicketTableModel::rowsOf(lines));
    updateButtons();
    return true;
}

bool TicketWindow::putLines(const QVector<ticket::Line>& lines, const QString& failure)
{
    QVector<ticket::Line> copy = lines;
    return recordLines(copy, failure);
}

bool TicketWindow::takeLines(const QVector<qint64>& ids, const QString& failure)
{
    QString reason;
    if (!m_database->deleteTickets(ids, &reason)) {
        writeFailed(failure, reason);
        return false;
    }
    m_model->removeIds(ids);
    updateButtons();
    return true;
}

bool TicketWindow::rewriteLine(const ticket::Line& line, const QString& failure)
{
    QString reason;
    if (!m_database->updateTicket(line, &reason)) {
        writeFailed(failure, reason);
        return false;
    }
    m_model->replaceRow({line, std::nullopt});
    if (const QVector<int> rows = selectedRows(); rows.size() == 1 && m_model->lineAt(rows.first()).id == line.id) {
        m_filling = true;
        fillForm(line);
        m_filling = false;
    }
    return true;
}

void TicketWindow::writeFailed(const QString& what, const QString& reason)
{
    // The steps so far were made on lines the database no longer holds as they were; the call
    // may come from inside the stack's own undo or redo, so they go once that has returned.
    QTimer::singleShot(0, this, [this] {
        if (m_undo)
            m_undo->clear();
    });
    showMessage({this, QStringLiteral("%1\n\n理由: %2").arg(what, reason), kMessageTitle, QMessageBox::Critical,
                 QMessageBox::Ok, QMessageBox::Ok});
    reloadFromDatabase();
}

void TicketWindow::reloadFromDatabase()
{
    QString reason;
    const std::optional<QVector<ticket::Line>> lines = m_database->storedTickets(&reason);
    if (!lines) {
        showMessage({this, QStringLiteral("購入記録を読み直せません。\n\n理由: %1").arg(reason), kMessageTitle,
                     QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return;
    }
    showRows(TicketTableModel::rowsOf(*lines));
}

void TicketWindow::importTickets()
{
    if (!m_editable)
        return;
    auto* dialog = new QFileDialog(this, QStringLiteral("購入記録の取り込み"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(QStringLiteral("CSV ファイル (*.csv)"));
    dialog->setDirectory(history_transfer::startFolder());
    QStringList chosen;
    if (runModal(dialog, [&](QFileDialog& d) { chosen = d.selectedFiles(); }) != QDialog::Accepted || chosen.isEmpty())
        return;
    importFrom(chosen.constFirst());
}

bool TicketWindow::importFrom(const QString& path)
{
    if (!m_editable)
        return false;
    const ticket::TicketsCsv csv = ticket::readTicketsFile(path);
    if (!csv.error.isEmpty()) {
        tell(QStringLiteral("購入記録を取り込めません。\n\nファイル: %1\n理由: %2").arg(shown(path), csv.error));
        return false;
    }
    if (!csv.refused.isEmpty()) {
        QStringList listed;
        for (const ticket::RefusedTicket& refused : csv.refused) {
            if (listed.size() == kNamedRefusals) {
                listed << QStringLiteral("ほかに%1行").arg(csv.refused.size() - kNamedRefusals);
                break;
            }
            listed << QStringLiteral("%1行目: %2").arg(refused.line).arg(refused.reasons.join(u' '));
        }
        tell(QStringLiteral("取り込めない行が%1行あるため、何も書き込んでいません。\n\nファイル: %2\n\n%3")
                 .arg(csv.refused.size())
                 .arg(shown(path), listed.join(u'\n')));
        return false;
    }
    if (csv.lines.isEmpty()) {
        tell(QStringLiteral("取り込む行がありません。\n\nファイル: %1").arg(shown(path)), false);
        return false;
    }
    QVector<ticket::Line> lines = csv.lines;
    {
        Hourglass hourglass;
        if (!recordLines(lines, QStringLiteral("購入記録を取り込めません（何も書き込んでいません）。")))
            return false;
    }
    QVector<qint64> ids;
    for (const ticket::Line& line : std::as_const(lines))
        ids << line.id;
    pushStep(
        QStringLiteral("取り込み（%1行）").arg(lines.size()),
        [this, ids] { return takeLines(ids, QStringLiteral("元に戻せません。")); },
        [this, lines] { return putLines(lines, QStringLiteral("やり直せません。")); });
    m_view->clearSelection();
    m_view->scrollToTop();
    tell(QStringLiteral("購入記録を%1行取り込みました。\n\nファイル: %2").arg(lines.size()).arg(shown(path)), false);
    return true;
}

void TicketWindow::exportTickets()
{
    auto* dialog = new QFileDialog(this, QStringLiteral("購入記録の書き出し"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(QStringLiteral("CSV ファイル (*.csv)"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setDirectory(history_transfer::startFolder());
    dialog->selectFile(QStringLiteral("tickets-%1.csv").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
    QStringList chosen;
    if (runModal(dialog, [&](QFileDialog& d) { chosen = d.selectedFiles(); }) != QDialog::Accepted || chosen.isEmpty())
        return;
    exportTo(chosen.constFirst());
}

bool TicketWindow::exportTo(const QString& path)
{
    QString reason;
    std::optional<QVector<ticket::Line>> lines;
    bool written = false;
    if (DrawDatabase::isDatabaseFile(m_host.databasePath(), path)) {
        reason = QStringLiteral("当選データのデータベースのファイルです。別の名前を選んでください");
    } else {
        lines = m_database->storedTickets(&reason);
        if (lines) {
            // Never a device or a pipe, also one that appears while the file is being made.
            FileWriteOptions options;
            options.onlyRegularFiles = true;
            options.waitForReader = false;
            written = writeFileBytes(path, ticket::ticketsCsvBytes(*lines), &reason, options);
        }
    }
    if (!written) {
        tell(QStringLiteral("購入記録を書き出せません。\n\nファイル: %1\n理由: %2").arg(shown(path), reason));
        return false;
    }
    tell(QStringLiteral("購入記録を%1行書き出しました。\n\nファイル: %2").arg(lines->size()).arg(shown(path)), false);
    return true;
}

void TicketWindow::computeFrom(const History& history)
{
    m_computedHistory = history;
    m_computedRows = TicketTableModel::rowsOf(history.tickets(), &history);
}

void TicketWindow::showComputed()
{
    if (!m_computedHistory)
        return;
    const History history = *m_computedHistory;
    m_computedHistory.reset();
    // Lines other than those this window wrote: another program changed the ledger, and the
    // steps so far could undo what it wrote.
    if (history.tickets() != m_model->lines() && m_undo->count() > 0) {
        m_undo->clear();
        m_notice->setText(QStringLiteral("ほかのプログラムが購入記録を書き換えたので読み直しました（%1）。"
                                         "それまでの操作は元に戻せません。")
                              .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
        m_notice->show();
    }
    m_history = history;
    // 開始回 moves on with a new draw while the player has left it as offered.
    const int next = nextDrawOf(m_history);
    if (m_firstDraw->value() == m_offeredFirstDraw && !m_view->selectionModel()->hasSelection())
        m_firstDraw->setValue(next);
    m_offeredFirstDraw = next;
    showRows(std::move(m_computedRows));
    m_computedRows.clear();
}

void TicketWindow::closeEvent(QCloseEvent* event)
{
    m_host.childClosed(m_record.form, false);
    QWidget::closeEvent(event);
}
