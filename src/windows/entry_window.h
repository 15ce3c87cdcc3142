#pragma once
// The draw-result entry window: every draw of the database in an editable grid written
// straight through to the table, with rows added and deleted from its 編集 menu, every change
// made while it is open undone and redone step by step, and a check of every digit before its
// button closes it. When it closes after any change, its host reads the history again.

#include "catalogue/window_catalogue.h"
#include "data/draw_database.h"
#include "widgets/window_host.h"

#include <QWidget>
#include <memory>
#include <optional>

class DigitDelegate;
class DrawDatabase;
class DrawSheetModel;
class EntryGridView;
class QAction;
class QLabel;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPushButton;
class QUndoStack;

// No Q_OBJECT: moc skips classes with Japanese names, so signals go to lambdas.
class 当選データ入力 : public QWidget, public DatabaseFollower {
public:
    // The load sequence. Returns the sub-window in the host's area, or nullptr when the
    // database cannot be opened (the user has been told which file and why).
    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record);

    ~当選データ入力() override;

    QLabel* Label1() const { return m_label1; }
    QPushButton* Command1() const { return m_command1; }
    EntryGridView* fpSpread1() const { return m_grid; }
    DrawSheetModel* sheet() const { return m_sheet; }
    QMenuBar* menuBar() const { return m_menuBar; }
    QMenu* mnuEdit() const { return m_mnuEdit; }
    QAction* mnuAddLine() const { return m_mnuAddLine; }
    QAction* mnuDelLine() const { return m_mnuDelLine; }
    QAction* mnuUndo() const { return m_mnuUndo; }
    QAction* mnuRedo() const { return m_mnuRedo; }
    // The steps made while the window is open: digits, days, amounts, added and deleted rows.
    QUndoStack* undoStack() const { return m_undo; }

    // The commands, as the menu, the shortcuts and the button run them.
    void mnuAddLine_Click();
    void mnuDelLine_Click();
    void Command1_Click();
    // 回数へ移動 (Ctrl+G): asks for a draw and goes to its 第1数字.
    void goToDraw();
    void mnuUndo_Click();
    void mnuRedo_Click();
    // The right click on a row header (row from 0): pops up 編集 when exactly one row is
    // selected. True when it did.
    bool rowHeaderRightClick(int row, const QPoint& globalPos);

    // Whether anything was written to the database since the window opened.
    bool databaseChanged() const { return m_databaseChanged; }

    // The database file changed: when another program wrote to it, the rows are read again,
    // where they were in view and with what is being typed kept, and the window says so.
    void databaseFileChanged() override;
    // The line that says the rows were read again (hidden until they were).
    QLabel* notice() const { return m_notice; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    当選データ入力(WindowHost& host, const catalogue::WindowRecord& record);
    bool openRecordSet(QString* reason);
    void layOutGrid();
    bool reselect();
    void moveTo(int row, int column);
    void reportDatabaseError(const QString& what, const QString& reason);
    // The steps, taken back or again: each writes to the database at once and moves to its cell.
    bool putCell(const QVariant& drawNo, int column, const QVariant& value);
    bool putRow(const QVariant& drawNo, const DrawDatabase::StoredDraw& draw, int column);
    bool takeRow(const QVariant& drawNo, int column);
    void recordCell(const QVariant& drawNo, int column, const QVariant& before, const QVariant& after);
    bool putAmounts(int drawNo, int column, const DrawDatabase::PrizeAmounts& amounts);
    void recordAmounts(int drawNo, int column, const DrawDatabase::PrizeAmounts& before,
                       const DrawDatabase::PrizeAmounts& after);
    // A step that could not be taken back leaves the steps before it meaningless.
    void stepFailed(const QString& what, const QString& reason);
    // Whether the user lets the window close with draws that lack a digit.
    bool mayCloseWithPartlyTypedDraws();

    WindowHost& m_host;
    const catalogue::WindowRecord& m_record;
    bool m_databaseChanged = false;
    std::optional<qint64> m_dataVersion; // as the database said when the rows were last read
    std::unique_ptr<DrawDatabase> m_database;
    DrawSheetModel* m_sheet = nullptr;
    DigitDelegate* m_delegate = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_command1 = nullptr;
    EntryGridView* m_grid = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QMenu* m_mnuEdit = nullptr;
    QAction* m_mnuAddLine = nullptr;
    QAction* m_mnuDelLine = nullptr;
    QAction* m_mnuGoTo = nullptr;
    QAction* m_mnuUndo = nullptr;
    QAction* m_mnuRedo = nullptr;
    QUndoStack* m_undo = nullptr;
    bool m_replaying = false; // a step is being taken back or again: its writes are no new steps
};
