#pragma once
// The parts of the draw-entry grid: the sheet shown over the table of draws and the prizes of
// each draw, the cell editors, and the view that moves through the digit cells.

#include "data/draw_database.h"
#include "data/prizes.h"

#include <QClipboard>
#include <QDate>
#include <QIdentityProxyModel>
#include <QStyledItemDelegate>
#include <QHash>
#include <QTableView>
#include <optional>

class QLineEdit;
class QSqlTableModel;

namespace entry {

// Sheet columns, from 0: the draw number, the three digits, the day of the draw, the amount
// each kind of ticket paid (ストレート to ミニ, in the order of prize::Kind), and a static column
// of no field.
constexpr int kDrawNoColumn = 0;
constexpr int kFirstDigitColumn = 1;
constexpr int kLastDigitColumn = 3;
constexpr int kDateColumn = 4;
constexpr int kFirstPrizeColumn = 5;
constexpr int kLastPrizeColumn = kFirstPrizeColumn + prize::kKinds - 1;
constexpr int kStaticColumn = kLastPrizeColumn + 1;
constexpr int kColumnCount = kStaticColumn + 1;
// The columns with a field of the table 当選データ behind them: 回数 to 抽せん日.
constexpr int kTableColumns = kDateColumn + 1;

constexpr bool isDigitColumn(int column)
{
    return column >= kFirstDigitColumn && column <= kLastDigitColumn;
}

constexpr bool isPrizeColumn(int column)
{
    return column >= kFirstPrizeColumn && column <= kLastPrizeColumn;
}

constexpr int prizeColumn(int kind)
{
    return kFirstPrizeColumn + kind;
}

// The text a cell shows. Null shows nothing; a stored real keeps its decimal point, so the
// close check sees it as the user does.
QString cellText(const QVariant& value);

// The close check on one cell: in error when the text is not empty and is not a whole
// number 0–9 (below 0, above 9, containing ".", or not a number at all).
bool digitTextInError(const QString& text);

// What a digit cell stores for a value given to it: Null for nothing, the digit for one
// digit 0–9 (full-width digits as typed with an input method, too). Nothing for any other
// value, which must not be stored.
std::optional<QVariant> storedDigit(const QVariant& input);

} // namespace entry

// The columns of the sheet over the table 当選データ, every row of it in 回数 order, with the
// amounts of the table 当せん金 beside. Digits, days and amounts go to the database as soon as
// they are set; a value that is not a digit, not a day between the draws before and after, or
// not an amount a prize can be, never does.
//
// A proxy over the table model: the rows (fetching, resets, inserts, removals) come through as
// the table has them, while the columns are the sheet's own. 回数, the three digits and 抽せん日
// are found by field name wherever the table keeps them (a table without 抽せん日 shows the
// column empty and read-only), and the static column has no field behind it at all. The sheet
// answers for its cells itself; nothing reaches the table but a valid value through setData.
//
// The amounts are the sheet's own, by draw number, read with the rows and written through the
// database a draw at a time. A row without a valid 回数, or a database without the table
// 当せん金, has its amounts empty and read-only.
class DrawSheetModel : public QIdentityProxyModel {
    Q_OBJECT

public:
    using Amounts = DrawDatabase::PrizeAmounts;

    // The database must outlive the sheet.
    explicit DrawSheetModel(DrawDatabase& database, QObject* parent = nullptr);
    ~DrawSheetModel() override;

    // Reads the table again, every row of it (the table model alone fetches 256 at a time), and
    // the amounts of every draw. changed, when given: whether the reading differs from what the
    // sheet held before it.
    bool select(QString* reason, bool* changed = nullptr);

    // The draw number of a row as stored, and the last row that holds a draw number (-1 if none).
    QVariant drawNo(int row) const;
    int rowOfDrawNo(qlonglong drawNo) const;
    // Whether the table keeps the day of each draw.
    bool hasDates() const { return m_fieldColumn[entry::kDateColumn] >= 0; }
    // The day a draw is due by the calendar, counted on from the nearest draw before it that has
    // a day (from 第1回 when none has).
    QDate expectedDay(int drawNo) const;
    // Why a day may not be stored for the draw in a row: not a real date, or not after the day of
    // the draw before it and before the day of the draw after it. Empty when it may.
    QString dayRefusal(int row, const QString& text) const;
    // Whether a row has some of its digits but not all three.
    bool isPartlyTyped(int row) const;
    // Whether the database keeps prizes (the table 当せん金).
    bool hasPrizes() const { return m_hasPrizes; }
    // The amounts of the draw in a row as stored (all none when nothing is typed).
    Amounts amounts(int row) const;

    // Writes a cell as a step taken back or taken again: the value as stored before, with no
    // rule asked and no step recorded.
    bool restoreCell(int row, int column, const QVariant& stored);
    // Writes the five amounts of a row's draw as a step taken back or taken again.
    bool restoreAmounts(int row, const Amounts& stored, QString* reason);

    // The column mapping: a sheet cell to the table's field of its column (none for the static
    // column), and a table cell to the sheet (none for a field the sheet does not show).
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    // Every cell edits itself (the proxy would ask the table, which has no cell for an amount).
    QModelIndex buddy(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The sheet's rows, columns and order never change from here: rows come and go through the
    // database, then select; the table itself would delete or re-sort behind the sheet's back.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;
    bool insertColumns(int column, int count, const QModelIndex& parent = {}) override;
    bool removeColumns(int column, int count, const QModelIndex& parent = {}) override;

Q_SIGNALS:
    // The database refused a value typed in a column; the sheet shows again what it holds.
    void writeFailed(int column, const QString& reason);
    // A value was refused before it reached the database (a day out of order, an amount that no
    // prize can be): the cell, and why, for the user.
    void valueRefused(int row, int column, const QString& reason);
    // A digit or a day went to the database: the draw, the column, and the values stored before
    // and after.
    void cellWritten(const QVariant& drawNo, int column, const QVariant& before, const QVariant& after);
    // An amount typed in a column went to the database, with those it filled: the draw's five
    // amounts before and after.
    void amountsWritten(int drawNo, int column, const DrawSheetModel::Amounts& before,
                        const DrawSheetModel::Amounts& after);

private:
    void tableDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    bool write(int row, int column, const QVariant& stored);
    // An amount typed in a row (empty text: none), with the amounts a straight fills.
    bool writeAmount(int row, int column, const QVariant& value);
    bool storeAmounts(int row, const Amounts& amounts, QString* reason);
    // The draw number of a row, when it is a valid one.
    std::optional<int> validDrawNo(int row) const;
    // Every stored value the table holds, row by row, in the sheet's field order.
    QVector<QVariant> tableCells() const;

    DrawDatabase& m_database;
    QSqlTableModel* m_table;
    // The table's column of each sheet column with a field; -1 for a field it lacks.
    int m_fieldColumn[entry::kTableColumns] = {-1, -1, -1, -1, -1};
    bool m_hasPrizes = false;
    QHash<int, Amounts> m_amounts; // by draw number; a draw with nothing typed has none
};

// The editor of a digit cell (one digit 0–9 or nothing), of a day (2026/10/12) and of an amount
// (98,700). Enter stores it and moves on. The current cell is framed, also inside a highlighted
// row.
class DigitDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Puts the clipboard's text into the editor when it is one digit; anything else is refused
    // with the message of the digit check, and the editor keeps what it held.
    void paste(QLineEdit* editor, QClipboard::Mode mode) const;
};

// The grid of the entry window: Enter (and Tab) move to the next digit cell, row by row, and
// from an amount to the next amount, on to the next row's ストレート;
// its natural size shows every column and a given number of rows. A key that is the shortcut of
// one of the window's commands runs that command, never the grid's or the editor's own use of
// it (Ctrl+A is 行追加, not "select all"), and typing on a cell that cannot be edited does nothing.
class EntryGridView : public QTableView {
    Q_OBJECT

public:
    explicit EntryGridView(QWidget* parent = nullptr);

    void setVisibleRows(int rows);
    // Stores what an open editor holds and closes it, so nothing typed is left behind.
    void commitEdit();
    bool isEditing() const { return state() == EditingState; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // No search as you type: on 回数 it would move the cursor to the next draw whose number
    // begins with the digit typed.
    void keyboardSearch(const QString& search) override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_visibleRows = 1;
};
