#include "windows/entry_grid.h"

#include "data/draw.h"
#include "data/draw_calendar.h"
#include "data/draw_database.h"
#include "data/message_text.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlTableModel>
#include <cmath>

namespace entry {

namespace {

const QColor kDrawNoBack(255, 255, 200);
const QColor kDrawNoText(255, 0, 0);

QVariant nullDigit()
{
    return QVariant(QMetaType(QMetaType::Int));
}

// A digit typed as one character: ASCII or full-width.
std::optional<int> digitOf(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'０' && c <= u'９')
        return c.unicode() - u'０';
    return std::nullopt;
}

} // namespace

QString cellText(const QVariant& value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        QString text = QString::number(value.toDouble(), 'g', 15);
        if (!text.contains(u'.') && !text.contains(u'e') && std::isfinite(value.toDouble()))
            text += QStringLiteral(".0");
        return text;
    }
    return value.toString();
}

bool digitTextInError(const QString& text)
{
    if (text.isEmpty())
        return false;
    if (text.contains(u'.'))
        return true;
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        return true;
    // NaN fails every comparison, so it is caught by the last test.
    return value < 0 || value > 9 || value != std::floor(value);
}

std::optional<QVariant> storedDigit(const QVariant& input)
{
    if (input.isNull())
        return nullDigit();
    switch (input.typeId()) {
    case QMetaType::QString: {
        const QString text = input.toString();
        if (text.isEmpty())
            return nullDigit();
        if (text.size() != 1)
            return std::nullopt;
        if (const auto d = digitOf(text.front()))
            return QVariant(*d);
        return std::nullopt;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: {
        const qlonglong n = input.toLongLong();
        if (n >= 0 && n <= 9)
            return QVariant(int(n));
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace entry

using namespace entry;

DrawSheetModel::DrawSheetModel(DrawDatabase& database, QObject* parent)
    : QIdentityProxyModel(parent), m_database(database), m_table(new QSqlTableModel(this, database.database()))
{
    m_table->setTable(DrawDatabase::kTable);
    m_table->setEditStrategy(QSqlTableModel::OnFieldChange);
    m_fieldColumn[kDrawNoColumn] = m_table->fieldIndex(draw::kDrawNoField);
    for (int p = 0; p < 3; ++p)
        m_fieldColumn[kFirstDigitColumn + p] = m_table->fieldIndex(draw::kDigitFields[p]);
    m_fieldColumn[kDateColumn] = m_table->fieldIndex(draw::kDateField);
    m_table->setSort(m_fieldColumn[kDrawNoColumn], Qt::AscendingOrder);

    // A changed block of the table is no block of the sheet, whose columns are in an order of
    // their own: the proxy's mapping of its two corners would name the wrong cells, or none.
    // The sheet shows the changed rows again whole instead. (Before Qt 6.8 the proxy cannot be
    // told so: its own connection to the signal is taken off.)
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    setHandleSourceDataChanges(false);
    setSourceModel(m_table);
#else
    setSourceModel(m_table);
    disconnect(m_table, &QAbstractItemModel::dataChanged, this, nullptr);
#endif
    connect(
        m_table, &QAbstractItemModel::dataChanged, this,
        [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) { tableDataChanged(topLeft, bottomRight); });
}

DrawSheetModel::~DrawSheetModel() = default;

bool DrawSheetModel::select(QString* reason, bool* changed)
{
    const QString fields[] = {draw::kDrawNoField, draw::kDigitFields[0], draw::kDigitFields[1], draw::kDigitFields[2]};
    for (int c = 0; c < kDateColumn; ++c) {
        if (m_fieldColumn[c] < 0) {
            *reason = QStringLiteral("テーブル「%1」に項目「%2」がありません").arg(DrawDatabase::kTable, fields[c]);
            return false;
        }
    }
    // The amounts first: when they cannot be read, the sheet stays as it was.
    const bool hasPrizes = m_database.hasPrizeTable();
    std::optional<QHash<int, Amounts>> amounts = QHash<int, Amounts>();
    if (hasPrizes && !(amounts = m_database.storedAmounts(reason)))
        return false;
    const QVector<QVariant> cellsBefore = changed ? tableCells() : QVector<QVariant>();
    const bool amountsChanged = hasPrizes != m_hasPrizes || *amounts != m_amounts;
    m_hasPrizes = hasPrizes;
    m_amounts = std::move(*amounts);
    if (!m_table->select()) {
        *reason = message::databaseReason(m_table->lastError());
        return false;
    }
    while (m_table->canFetchMore())
        m_table->fetchMore();
    if (changed)
        *changed = amountsChanged || tableCells() != cellsBefore;
    return true;
}

QVector<QVariant> DrawSheetModel::tableCells() const
{
    QVector<int> fields;
    for (const int column : m_fieldColumn) {
        if (column >= 0)
            fields << column;
    }
    QVector<QVariant> cells;
    cells.reserve(m_table->rowCount() * fields.size());
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (const int column : std::as_const(fields))
            cells << m_table->data(m_table->index(row, column), Qt::EditRole);
    }
    return cells;
}

std::optional<int> DrawSheetModel::validDrawNo(int row) const
{
    return draw::drawNoValue(drawNo(row));
}

DrawSheetModel::Amounts DrawSheetModel::amounts(int row) const
{
    const std::optional<int> number = m_hasPrizes ? validDrawNo(row) : std::nullopt;
    return number ? m_amounts.value(*number) : Amounts();
}

QVariant DrawSheetModel::drawNo(int row) const
{
    return data(index(row, kDrawNoColumn), Qt::EditRole);
}

int DrawSheetModel::rowOfDrawNo(qlonglong number) const
{
    for (int row = rowCount() - 1; row >= 0; --row) {
        const QVariant value = drawNo(row);
        if (!value.isNull() && value.toLongLong() == number)
            return row;
    }
    return -1;
}

QDate DrawSheetModel::expectedDay(int drawNo) const
{
    for (int r = rowCount() - 1; r >= 0; --r) {
        const QDate day = draw_calendar::dayOf(data(index(r, kDateColumn), Qt::EditRole).toString());
        const QVariant before = this->drawNo(r);
        if (!day.isValid() || before.isNull() || before.toInt() >= drawNo)
            continue;
        QDate expected = day;
        for (int n = before.toInt(); n < drawNo; ++n)
            expected = draw_calendar::nextDrawDay(expected);
        return expected;
    }
    return draw_calendar::dayOfDraw(drawNo);
}

QString DrawSheetModel::dayRefusal(int row, const QString& text) const
{
    const QString name = QStringLiteral("第%1回").arg(drawNo(row).toString());
    const QDate day = draw_calendar::dayOf(text);
    if (!day.isValid())
        return QStringLiteral("「%1」は日付ではありません。%2の抽せん日は 2026/10/12 のように入力してください。")
            .arg(text, name);
    for (int r = row - 1; r >= 0; --r) {
        const QDate before = draw_calendar::dayOf(data(index(r, kDateColumn), Qt::EditRole).toString());
        if (!before.isValid())
            continue;
        if (day <= before)
            return QStringLiteral("%1の抽せん日は、前の第%2回（%3）より後の日付にしてください。")
                .arg(name, drawNo(r).toString(), draw::dateText(before));
        break;
    }
    for (int r = row + 1; r < rowCount(); ++r) {
        const QDate after = draw_calendar::dayOf(data(index(r, kDateColumn), Qt::EditRole).toString());
        if (!after.isValid())
            continue;
        if (day >= after)
            return QStringLiteral("%1の抽せん日は、次の第%2回（%3）より前の日付にしてください。")
                .arg(name, drawNo(r).toString(), draw::dateText(after));
        break;
    }
    return {};
}

bool DrawSheetModel::isPartlyTyped(int row) const
{
    int present = 0;
    for (int c = kFirstDigitColumn; c <= kLastDigitColumn; ++c)
        present += draw::isPresent(data(index(row, c), Qt::EditRole)) ? 1 : 0;
    return present > 0 && present < 3;
}

bool DrawSheetModel::restoreCell(int row, int column, const QVariant& stored)
{
    if (row < 0 || row >= rowCount() || column <= kDrawNoColumn || column >= kStaticColumn || m_fieldColumn[column] < 0)
        return false;
    return write(row, column, stored);
}

bool DrawSheetModel::restoreAmounts(int row, const Amounts& stored, QString* reason)
{
    if (row < 0 || row >= rowCount() || !(flags(index(row, kFirstPrizeColumn)) & Qt::ItemIsEditable)) {
        *reason = QStringLiteral("この行には当せん金を入力できません");
        return false;
    }
    return storeAmounts(row, stored, reason);
}

bool DrawSheetModel::storeAmounts(int row, const Amounts& amounts, QString* reason)
{
    const int number = *validDrawNo(row);
    if (!m_database.writeAmounts(number, amounts, reason))
        return false;
    if (amounts == Amounts())
        m_amounts.remove(number);
    else
        m_amounts.insert(number, amounts);
    Q_EMIT dataChanged(index(row, kFirstPrizeColumn), index(row, kLastPrizeColumn));
    return true;
}

bool DrawSheetModel::writeAmount(int row, int column, const QVariant& value)
{
    const int kind = column - kFirstPrizeColumn;
    const QString text = value.toString().trimmed();
    std::optional<int> amount;
    if (!text.isEmpty()) {
        amount = prize::readAmount(text);
        if (!amount) {
            Q_EMIT valueRefused(row, column, prize::amountRefusal(text));
            return false;
        }
    }
    const Amounts before = amounts(row);
    Amounts after = before;
    after[std::size_t(kind)] = amount;
    // A straight fills the kinds still empty with what the same pool pays them: all of them
    // once the draw's digits tell its shape, the ミニ alone (which does not depend on it) before.
    if (kind == prize::Straight && amount) {
        std::optional<int> digits[3];
        for (int p = 0; p < 3; ++p)
            digits[p] = draw::digitValue(data(index(row, kFirstDigitColumn + p), Qt::EditRole));
        const bool shapeKnown = digits[0] && digits[1] && digits[2];
        const std::array<int, prize::kKinds> filled = prize::amountsFromStraight(
            *amount, shapeKnown ? prize::shapeOf(*digits[0], *digits[1], *digits[2]) : prize::Shape::Single);
        for (int k = 0; k < prize::kKinds; ++k) {
            if (!after[std::size_t(k)] && (shapeKnown || k == prize::Mini))
                after[std::size_t(k)] = filled[std::size_t(k)];
        }
    }
    if (after == before)
        return true;
    QString reason;
    if (!storeAmounts(row, after, &reason)) {
        Q_EMIT dataChanged(index(row, kFirstPrizeColumn), index(row, kLastPrizeColumn));
        Q_EMIT writeFailed(column, reason);
        return false;
    }
    Q_EMIT amountsWritten(*validDrawNo(row), column, before, after);
    return true;
}

bool DrawSheetModel::write(int row, int column, const QVariant& stored)
{
    const QVariant number = drawNo(row);
    const QVariant before = data(index(row, column), Qt::EditRole);
    if (m_table->setData(m_table->index(row, m_fieldColumn[column]), stored)) {
        Q_EMIT cellWritten(number, column, before, stored);
        return true;
    }
    // The table model keeps a refused value on show; take it back so the sheet never shows
    // what the database does not hold.
    const QString reason = message::databaseReason(m_table->lastError());
    m_table->revertRow(row);
    Q_EMIT dataChanged(index(row, 0), index(row, kColumnCount - 1));
    Q_EMIT writeFailed(column, reason);
    return false;
}

void DrawSheetModel::tableDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    const int last = rowCount() - 1;
    const int first = topLeft.isValid() ? topLeft.row() : 0;
    const int end = bottomRight.isValid() ? qMin(bottomRight.row(), last) : last;
    if (first <= end)
        Q_EMIT dataChanged(index(first, 0), index(end, kColumnCount - 1));
}

QModelIndex DrawSheetModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || proxyIndex.column() >= kTableColumns
        || m_fieldColumn[proxyIndex.column()] < 0)
        return {};
    return m_table->index(proxyIndex.row(), m_fieldColumn[proxyIndex.column()]);
}

QModelIndex DrawSheetModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != m_table)
        return {};
    for (int c = 0; c < kTableColumns; ++c) {
        if (m_fieldColumn[c] == sourceIndex.column())
            return createIndex(sourceIndex.row(), c);
    }
    return {};
}

QModelIndex DrawSheetModel::index(int row, int column, const QModelIndex& parent) const
{
    // Made here, not through the table: the static column has no cell there.
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex DrawSheetModel::parent(const QModelIndex&) const
{
    return {};
}

QModelIndex DrawSheetModel::sibling(int row, int column, const QModelIndex& index) const
{
    return index.isValid() ? this->index(row, column) : QModelIndex();
}

QModelIndex DrawSheetModel::buddy(const QModelIndex& index) const
{
    return index;
}

int DrawSheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_table->rowCount();
}

int DrawSheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant DrawSheetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (isPrizeColumn(column)) {
        const std::optional<int> amount = amounts(index.row())[std::size_t(column - kFirstPrizeColumn)];
        switch (role) {
        case Qt::DisplayRole:
            return amount ? prize::grouped(*amount) : QString();
        case Qt::EditRole:
            return amount ? QVariant(*amount) : QVariant();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole:
        return column == kStaticColumn ? QString() : cellText(data(index, Qt::EditRole));
    case Qt::EditRole:
        return column == kStaticColumn ? QVariant() : m_table->data(mapToSource(index), Qt::EditRole);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case Qt::BackgroundRole:
        return column == kDrawNoColumn ? QVariant(kDrawNoBack) : QVariant();
    case Qt::ForegroundRole:
        return column == kDrawNoColumn ? QVariant(kDrawNoText) : QVariant();
    default:
        return {};
    }
}

bool DrawSheetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.model() != this || role != Qt::EditRole)
        return false;
    const int row = index.row();
    if (index.column() == kDateColumn && hasDates()) {
        // Full-width digits and slashes, as an input method types them, count as the plain ones.
        const QString text = value.toString().normalized(QString::NormalizationForm_KC).trimmed();
        if (text.isEmpty())
            return write(row, kDateColumn, QVariant(QMetaType(QMetaType::QString)));
        if (const QString refusal = dayRefusal(row, text); !refusal.isEmpty()) {
            Q_EMIT valueRefused(row, kDateColumn, refusal);
            return false;
        }
        return write(row, kDateColumn, draw::dateText(draw_calendar::dayOf(text)));
    }
    if (isPrizeColumn(index.column()))
        return (flags(index) & Qt::ItemIsEditable) && writeAmount(row, index.column(), value);
    if (!isDigitColumn(index.column()))
        return false;
    const auto stored = storedDigit(value);
    if (!stored)
        return false;
    return write(row, index.column(), *stored);
}

Qt::ItemFlags DrawSheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column();
    const bool editable = isDigitColumn(column) || (column == kDateColumn && hasDates())
        || (isPrizeColumn(column) && m_hasPrizes && validDrawNo(index.row()));
    return editable ? flags | Qt::ItemIsEditable : flags;
}

QVariant DrawSheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == kDrawNoColumn)
        return draw::kDrawNoField;
    if (isDigitColumn(section))
        return draw::kDigitFields[section - kFirstDigitColumn];
    if (section == kDateColumn)
        return draw::kDateField;
    if (isPrizeColumn(section))
        return prize::kKindNames.at(std::size_t(section - kFirstPrizeColumn));
    return QString();
}

void DrawSheetModel::sort(int, Qt::SortOrder)
{
}

bool DrawSheetModel::insertRows(int, int, const QModelIndex&)
{
    return false;
}

bool DrawSheetModel::removeRows(int, int, const QModelIndex&)
{
    return false;
}

bool DrawSheetModel::insertColumns(int, int, const QModelIndex&)
{
    return false;
}

bool DrawSheetModel::removeColumns(int, int, const QModelIndex&)
{
    return false;
}

namespace {

// The command of the window around the widget (an action of the widget or of a parent, up to
// the window or sub-window) whose shortcut the key is; nullptr for none.
QAction* windowCommandFor(const QWidget* widget, const QKeyEvent* key)
{
    const QKeySequence pressed(key->keyCombination());
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        for (QAction* action : w->actions()) {
            if (action->isEnabled() && action->shortcuts().contains(pressed))
                return action;
        }
        if (w->isWindow() || w->windowType() == Qt::SubWindow)
            break;
    }
    return nullptr;
}

} // namespace

void DigitDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || view->currentIndex() != index) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The current cell stands out of its highlighted row: unhighlighted, in a frame of the
    // highlight's colour.
    QStyleOptionViewItem current = option;
    current.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    // The view has filled the row's highlight under every cell of it already.
    painter->fillRect(option.rect, option.palette.brush(QPalette::Active, QPalette::Base));
    QStyledItemDelegate::paint(painter, current, index);
    painter->save();
    const int width = qMax(2, option.rect.height() / 8);
    QPen pen(option.palette.color(QPalette::Active, QPalette::Highlight), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(option.rect.adjusted(width / 2, width / 2, -(width + 1) / 2, -(width + 1) / 2));
    painter->restore();
}

QWidget* DigitDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    if (index.column() == kDateColumn) {
        if (!(index.flags() & Qt::ItemIsEditable))
            return nullptr;
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("dayEditor"));
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->setMaxLength(10);
        editor->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９/／\\-－]{0,10}")), editor));
        return editor;
    }
    if (isPrizeColumn(index.column())) {
        if (!(index.flags() & Qt::ItemIsEditable))
            return nullptr;
        // Digits and groupings as typed or copied ("98,700", "９８７００", "98,700円"); the amount
        // itself is checked when it is stored.
        auto* editor = new QLineEdit(parent);
        editor->setObjectName(QStringLiteral("amountEditor"));
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        editor->setMaxLength(16);
        editor->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９,，円 ]{0,16}")), editor));
        return editor;
    }
    if (!isDigitColumn(index.column()))
        return nullptr;
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("digitEditor"));
    editor->setFrame(false);
    editor->setAlignment(Qt::AlignCenter);
    editor->setMaxLength(1);
    editor->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9０-９]?")), editor));
    // What comes in otherwise than by typing goes through the paste check below: the editor's
    // own menu and drops would cut "12345" down to "1" without a word.
    editor->setContextMenuPolicy(Qt::NoContextMenu);
    editor->setAcceptDrops(false);
    return editor;
}

void DigitDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return;
    if (index.column() == kDateColumn) {
        line->setText(index.data(Qt::EditRole).toString());
        return;
    }
    if (isPrizeColumn(index.column())) {
        line->setText(index.data(Qt::DisplayRole).toString());
        return;
    }
    // Only a valid digit is offered for editing; anything else the user types over.
    const auto digit = storedDigit(index.data(Qt::EditRole));
    line->setText(digit && !digit->isNull() ? QString::number(digit->toInt()) : QString());
}

void DigitDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    // An editor opened and left without typing writes nothing.
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line || !line->isModified() || !line->hasAcceptableInput())
        return;
    model->setData(index, line->text(), Qt::EditRole);
}

void DigitDelegate::paste(QLineEdit* editor, QClipboard::Mode mode) const
{
    // Blanks and a line end around it (a cell copied from a sheet brings one) do not count.
    const QString text = QGuiApplication::clipboard()->text(mode).trimmed();
    const std::optional<QVariant> digit = storedDigit(text);
    if (text.isEmpty() || !digit) {
        if (!text.isEmpty())
            showMessage({editor->window(), QStringLiteral("結果マスタの数字に誤りがあります。"), kMessageTitle,
                         QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return;
    }
    editor->selectAll();
    editor->insert(text);
}

bool DigitDelegate::eventFilter(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        // The window's commands go before the editor's own keys (Ctrl+A would select its text).
        // As a key press, the shortcut has not run (no window was active): the key runs it.
        auto* editor = qobject_cast<QWidget*>(object);
        if (QAction* command = editor ? windowCommandFor(editor, static_cast<QKeyEvent*>(event)) : nullptr) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->ignore();
            } else {
                event->accept();
                command->trigger();
            }
            return true;
        }
    }
    // A paste (the keys, or the middle button's selection) takes one digit, or is refused. A
    // day or an amount is checked when it is stored.
    if (auto* line = qobject_cast<QLineEdit*>(object); line && line->objectName() == QStringLiteral("digitEditor")) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            paste(line, QClipboard::Clipboard);
            return true;
        }
        if ((event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonPress)
            && static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
            if (event->type() == QEvent::MouseButtonRelease && QGuiApplication::clipboard()->supportsSelection())
                paste(line, QClipboard::Selection);
            return true;
        }
    }
    // An amount copied from a sheet brings its line end: it goes in without it.
    if (auto* line = qobject_cast<QLineEdit*>(object); line && line->objectName() == QStringLiteral("amountEditor")
        && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        line->insert(QGuiApplication::clipboard()->text().trimmed());
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

EntryGridView::EntryGridView(QWidget* parent) : QTableView(parent)
{
}

void EntryGridView::setVisibleRows(int rows)
{
    m_visibleRows = rows;
    updateGeometry();
}

void EntryGridView::commitEdit()
{
    if (!isEditing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QSize EntryGridView::sizeHint() const
{
    const bool scrolls = model() && model()->rowCount() > m_visibleRows;
    const int width = 2 * frameWidth() + (verticalHeader()->isHidden() ? 0 : verticalHeader()->sizeHint().width())
        + horizontalHeader()->length() + (scrolls ? verticalScrollBar()->sizeHint().width() : 0);
    const int height = 2 * frameWidth() + (horizontalHeader()->isHidden() ? 0 : horizontalHeader()->sizeHint().height())
        + m_visibleRows * verticalHeader()->defaultSectionSize();
    return {width, height};
}

QSize EntryGridView::minimumSizeHint() const
{
    const QSize full = sizeHint();
    return {
        full.width(),
        qMin(full.height(),
             horizontalHeader()->sizeHint().height() + 5 * verticalHeader()->defaultSectionSize() + 2 * frameWidth())};
}

QModelIndex EntryGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (!model() || (cursorAction != MoveNext && cursorAction != MovePrevious))
        return QTableView::moveCursor(cursorAction, modifiers);
    const int rows = model()->rowCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, kFirstDigitColumn);
    int row = current.row();
    int column = current.column();
    // The amounts, one after the other, row by row.
    if (isPrizeColumn(column)) {
        if (cursorAction == MoveNext) {
            if (column < kLastPrizeColumn) {
                ++column;
            } else if (row + 1 < rows) {
                ++row;
                column = kFirstPrizeColumn;
            }
        } else if (column > kFirstPrizeColumn) {
            --column;
        } else if (row > 0) {
            --row;
            column = kLastPrizeColumn;
        }
        return model()->index(row, column);
    }
    if (cursorAction == MoveNext) {
        if (column < kFirstDigitColumn) {
            column = kFirstDigitColumn;
        } else if (column < kLastDigitColumn) {
            ++column;
        } else if (row + 1 < rows) {
            ++row;
            column = kFirstDigitColumn;
        } else {
            column = kLastDigitColumn;
        }
    } else {
        if (column > kLastDigitColumn) {
            column = kLastDigitColumn;
        } else if (column > kFirstDigitColumn) {
            --column;
        } else if (row > 0) {
            --row;
            column = kLastDigitColumn;
        } else {
            column = kFirstDigitColumn;
        }
    }
    return model()->index(row, column);
}

void EntryGridView::keyboardSearch(const QString&)
{
}

void EntryGridView::keyPressEvent(QKeyEvent* event)
{
    // A shortcut of the window's that comes here as a key has not run (no window was active):
    // the key runs it.
    if (QAction* command = windowCommandFor(this, event)) {
        event->accept();
        command->trigger();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !isEditing()) {
        const QModelIndex next = moveCursor(MoveNext, event->modifiers());
        if (next.isValid())
            setCurrentIndex(next);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
