#pragma once
// 購入記録: the player's ticket lines. A form records a line (several numbers at once, one line
// each), changes the selected one or deletes the selected ones; every change is written to the
// table 購入記録 at once, and every change made while the window is open is undone and redone
// step by step. The lines recorded are listed below the form, newest first, each with what its
// draws paid so far. The tickets file of the companion is imported and exported here too.
//
// The window computes each line's state from the history its host shows (HistoryView), so a new
// draw, or lines another program wrote, reach it as every other window's view does.

#include "catalogue/window_catalogue.h"
#include "data/history.h"
#include "data/tickets.h"
#include "widgets/window_host.h"

#include <QAbstractTableModel>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class DrawDatabase;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;
class QUndoStack;

namespace ticket_results {
class DrawIndex;
}

// The lines recorded, newest first (the last recorded on top), one row each.
class TicketTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        FirstDrawColumn, // 開始回
        DrawsColumn, // the draws it covers: "第7090回〜第7092回"
        NumberColumn, // 番号
        TypeColumn, // 申込
        UnitsColumn, // 口数
        CostColumn, // "1,200円"
        StateColumn, // ticket_results::summary
        MemoColumn, // メモ
        RecordedColumn, // 記録日時, local time
        ColumnCount
    };

    // A line, and its state over the model's history once known (worked out when first shown).
    struct Row {
        ticket::Line line;
        std::optional<QString> state;
    };
    // The rows of these lines, newest first, with each state over the history where one is
    // given. Touches nothing but its arguments.
    static QVector<Row> rowsOf(const QVector<ticket::Line>& lines, const History* history = nullptr);
    // The draws a line covers, as the list shows them.
    static QString drawsText(const ticket::Line& line);

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Shows these rows, their states over this history.
    void setRows(QVector<Row> rows, const History& history);
    // Puts rows in their places by id (each id not shown yet).
    void addRows(const QVector<Row>& rows);
    // Takes the rows of these ids out.
    void removeIds(const QVector<qint64>& ids);
    // Shows the row of the row's id anew.
    void replaceRow(const Row& row);

    const ticket::Line& lineAt(int row) const { return m_rows.at(row).line; }
    // ticket_results::summary of the line over the history.
    QString stateAt(int row) const;
    // The row showing the line with this id; -1 when none does.
    int rowOfId(qint64 id) const;
    // The lines shown, oldest first (as the database lists them).
    QVector<ticket::Line> lines() const;

private:
    // Where a line of this id goes: the rows run by id, the largest first.
    int placeOf(qint64 id) const;
    void resetRows(QVector<Row> rows);

    mutable QVector<Row> m_rows; // each state filled in when first asked for
    History m_history;
    mutable std::shared_ptr<const ticket_results::DrawIndex> m_index; // of m_history, once needed
};

class TicketWindow : public QWidget, public HistoryView {
    Q_OBJECT

public:
    // The load sequence: opens the database and shows the window in the host's area. Returns
    // the sub-window (its widget() is the TicketWindow), or nullptr when the database cannot be
    // opened (the user has been told which file and why).
    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record);
    // The window inside a sub-window load returned (or the host keeps); null for any other.
    static TicketWindow* of(QWidget* window);

    ~TicketWindow() override;

    // Fills the form with proposed lines for the player to confirm: their numbers in 番号 (joined
    // by " "), the first line's 申込, 口数, 開始回 and 継続回数; records nothing and gives 追加 the
    // focus. No lines: nothing changes.
    void propose(const QVector<ticket::Line>& lines);

    // The commands, as the buttons and keys run them. Each that changes the ledger writes it at
    // once and is one step of 元に戻す; each says why when it cannot (and then changes nothing).
    void add();
    void quickPick();
    void change();
    void deleteSelected();
    void undo();
    void redo();
    // 取り込み… and 書き出し… with a file dialog, and with the file given.
    void importTickets();
    void exportTickets();
    bool importFrom(const QString& path);
    bool exportTo(const QString& path);

    // Whether lines may be recorded (the database has the table 購入記録 and may be written).
    bool isEditable() const { return m_editable; }

    // HistoryView: each line's state over the new history, and the lines it holds.
    void computeFrom(const History& history) override;
    void showComputed() override;
    bool showsTickets() const override { return true; }

    TicketTableModel* model() const { return m_model; }
    QTableView* view() const { return m_view; }
    QUndoStack* undoStack() const { return m_undo; }
    QLineEdit* numberEdit() const { return m_number; }
    QRadioButton* typeButton(ticket::Type type) const;
    ticket::Type chosenType() const;
    QSpinBox* unitsBox() const { return m_units; }
    QSpinBox* firstDrawBox() const { return m_firstDraw; }
    QSpinBox* drawsBox() const { return m_draws; }
    QLineEdit* memoEdit() const { return m_memo; }
    QPushButton* addButton() const { return m_addButton; }
    QPushButton* changeButton() const { return m_changeButton; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    QLabel* notice() const { return m_notice; }

    // The first draw the form offers: the one after the history's last complete draw.
    static int nextDrawOf(const History& history);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TicketWindow(WindowHost& host, const catalogue::WindowRecord& record);
    bool openDatabase(QString* reason);
    void buildForm();
    // The lines the form gives, one per number typed; the refusals, when any, in the reason.
    QVector<ticket::Line> formLines(QString* refusal) const;
    // The numbers typed in 番号, as formLines splits them.
    QStringList formNumbers() const;
    // Says beside the form how many lines 追加 would record and what they cost.
    void showFormCost();
    void fillForm(const ticket::Line& line);
    void setType(ticket::Type type);
    void onSelectionChanged();
    void updateButtons();
    QVector<int> selectedRows() const;
    void selectIds(const QVector<qint64>& ids);
    void tell(const QString& text, bool warning = true);
    bool ask(const QString& text);

    // The steps, done, taken back and done again: each writes at once and shows it.
    // New lines get their ids and 記録日時 (in lines); lines put back keep theirs.
    bool recordLines(QVector<ticket::Line>& lines, const QString& failure);
    bool putLines(const QVector<ticket::Line>& lines, const QString& failure);
    bool takeLines(const QVector<qint64>& ids, const QString& failure);
    bool rewriteLine(const ticket::Line& line, const QString& failure);
    void pushStep(const QString& text, std::function<bool()> undo, std::function<bool()> redo);
    // A write failed: says why, and shows the database's lines as they are now.
    void writeFailed(const QString& what, const QString& reason);
    void reloadFromDatabase();
    void showRows(QVector<TicketTableModel::Row> rows);

    WindowHost& m_host;
    const catalogue::WindowRecord& m_record;
    std::unique_ptr<DrawDatabase> m_database;
    bool m_editable = false;
    History m_history; // what the states are computed from
    std::optional<History> m_computedHistory; // computeFrom's, until shown
    QVector<TicketTableModel::Row> m_computedRows;
    int m_offeredFirstDraw = 1; // what 開始回 offers while the player leaves it alone
    bool m_filling = false; // the form is being filled, not typed into

    QLabel* m_notice = nullptr;
    QLineEdit* m_number = nullptr;
    QLabel* m_formCost = nullptr; // how many lines 追加 would record, and what they cost
    QButtonGroup* m_types = nullptr;
    QSpinBox* m_units = nullptr;
    QSpinBox* m_firstDraw = nullptr;
    QSpinBox* m_draws = nullptr;
    QLineEdit* m_memo = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_quickPickButton = nullptr;
    QPushButton* m_changeButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_undoButton = nullptr;
    QPushButton* m_redoButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QTableView* m_view = nullptr;
    TicketTableModel* m_model = nullptr;
    QUndoStack* m_undo = nullptr;
};
