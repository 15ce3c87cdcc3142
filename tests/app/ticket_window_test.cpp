// 購入記録 end to end, offscreen, on temporary databases: every change written at once and taken
// back and again step by step (the database read after each), refused entries and files that
// change nothing, the quick pick, the keys, and lines another program wrote coming in with a new
// history.

#include "app/main_frm.h"
#include "app/window_registry.h"
#include "data/draw_database.h"
#include "support/history_fixture.h"
#include "support/wait.h"
#include "widgets/message_box.h"
#include "windows/ticket_window.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

const QString kForm = QStringLiteral("購入記録");

class TicketLedger : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("Numbers3Zubarin.db"));
        fixture::writeDatabase(path, fixture::steppedDraws(60));
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return r.buttons.testFlag(QMessageBox::Yes) ? answer : QMessageBox::Ok;
        });
        main = std::make_unique<MainFrm>(MainFrm::Files{path, dir.filePath(QStringLiteral("none.csv"))});
        registerWindows(*main);
        ASSERT_TRUE(main->load());
        main->resize(1200, 900);
        main->show();
        w = TicketWindow::of(main->openChild(kForm));
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }

    // What the database holds now, read through a connection of its own.
    QVector<ticket::Line> stored()
    {
        DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadOnly);
        QString reason;
        EXPECT_TRUE(db.open(&reason)) << reason.toStdString();
        return db.storedTickets(&reason).value_or(QVector<ticket::Line>{});
    }
    // The list shows the database as it is.
    void expectListIsTheDatabase() { EXPECT_EQ(w->model()->lines(), stored()); }
    void fill(const QString& number, ticket::Type type, int units = 1, int first = 61, int draws = 1)
    {
        w->view()->clearSelection();
        w->numberEdit()->setText(number);
        w->typeButton(type)->setChecked(true);
        w->unitsBox()->setValue(units);
        w->firstDrawBox()->setValue(first);
        w->drawsBox()->setValue(draws);
    }
    void selectNumbers(const QSet<QString>& numbers)
    {
        QItemSelection selection;
        for (int row = 0; row < w->model()->rowCount(); ++row) {
            if (numbers.contains(w->model()->lineAt(row).number))
                selection.select(w->model()->index(row, 0), w->model()->index(row, 0));
        }
        w->view()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    QString cell(int row, int column) const { return w->model()->index(row, column).data().toString(); }
    QString writeFile(const QByteArray& bytes)
    {
        const QString file = dir.filePath(QStringLiteral("tickets.csv"));
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return file;
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MainFrm> main;
    TicketWindow* w = nullptr;
    QList<MessageRequest> messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

TEST_F(TicketLedger, AddingOneAndSeveralNumbersIsOneStepEachTakenBackAndAgain)
{
    EXPECT_EQ(w->windowTitle(), kForm);
    EXPECT_EQ(w->firstDrawBox()->value(), 61); // the draw after the last complete one
    EXPECT_EQ(TicketWindow::of(main->openChild(kForm)), w); // one window, raised again

    fill(QStringLiteral("123"), ticket::Type::Box, 2, 61, 3);
    w->memoEdit()->setText(QStringLiteral("誕生日"));
    w->add();
    QVector<ticket::Line> after = stored();
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after[0].number, QStringLiteral("123"));
    EXPECT_EQ(after[0].type, ticket::Type::Box);
    EXPECT_EQ(after[0].units, 2);
    EXPECT_EQ(after[0].firstDraw, 61);
    EXPECT_EQ(after[0].draws, 3);
    EXPECT_EQ(after[0].memo, QStringLiteral("誕生日"));
    expectListIsTheDatabase();
    EXPECT_EQ(cell(0, TicketTableModel::DrawsColumn), QStringLiteral("第61回〜第63回"));
    EXPECT_EQ(cell(0, TicketTableModel::CostColumn), QStringLiteral("1,200円"));
    EXPECT_EQ(cell(0, TicketTableModel::StateColumn), QStringLiteral("3回中0回抽せん済み"));
    EXPECT_TRUE(w->numberEdit()->text().isEmpty());

    // Blanks, commas and full-width forms part the numbers: one line each, one step.
    fill(QStringLiteral("456 789,０１２　345"), ticket::Type::Straight);
    w->add();
    after = stored();
    ASSERT_EQ(after.size(), 5);
    expectListIsTheDatabase();
    EXPECT_EQ(cell(0, TicketTableModel::NumberColumn), QStringLiteral("345")); // newest first
    EXPECT_EQ(w->undoStack()->count(), 2);

    w->undo();
    EXPECT_EQ(stored().size(), 1);
    expectListIsTheDatabase();
    w->undo();
    EXPECT_TRUE(stored().isEmpty());
    expectListIsTheDatabase();
    w->redo();
    w->redo();
    // Put back as they were: the same ids, the same 記録日時.
    EXPECT_EQ(stored(), after);
    expectListIsTheDatabase();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TicketLedger, ChangeAndDeleteAreTakenBackAndAgain)
{
    fill(QStringLiteral("456 789 012"), ticket::Type::Set, 1, 61, 2);
    w->add();
    const QVector<ticket::Line> added = stored();
    ASSERT_EQ(added.size(), 3);

    selectNumbers({QStringLiteral("789")});
    EXPECT_EQ(w->numberEdit()->text(), QStringLiteral("789")); // selecting fills the form
    EXPECT_TRUE(w->typeButton(ticket::Type::Set)->isChecked());
    w->unitsBox()->setValue(5);
    w->numberEdit()->setText(QStringLiteral("788"));
    w->change();
    QVector<ticket::Line> changed = stored();
    ASSERT_EQ(changed.size(), 3);
    EXPECT_EQ(changed[1].id, added[1].id);
    EXPECT_EQ(changed[1].number, QStringLiteral("788"));
    EXPECT_EQ(changed[1].units, 5);
    EXPECT_EQ(changed[1].recorded, added[1].recorded);
    expectListIsTheDatabase();
    w->undo();
    EXPECT_EQ(stored(), added);
    expectListIsTheDatabase();
    w->redo();
    EXPECT_EQ(stored(), changed);

    // Deleting asks first, naming the line (or counting the lines), and a No deletes nothing.
    selectNumbers({QStringLiteral("456")});
    answer = QMessageBox::No;
    w->deleteSelected();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("第61回から2回　456　セット　1口　を削除しますか？"));
    EXPECT_EQ(stored(), changed);

    answer = QMessageBox::Yes;
    selectNumbers({QStringLiteral("456"), QStringLiteral("012")});
    w->deleteSelected();
    EXPECT_EQ(messages.last().text, QStringLiteral("選んだ2行を削除しますか？"));
    ASSERT_EQ(stored().size(), 1);
    EXPECT_EQ(stored()[0].number, QStringLiteral("788"));
    expectListIsTheDatabase();
    w->undo();
    EXPECT_EQ(stored(), changed); // back with their ids and 記録日時
    expectListIsTheDatabase();
    w->redo();
    EXPECT_EQ(stored().size(), 1);
    w->undo();
    w->undo();
    w->undo();
    EXPECT_TRUE(stored().isEmpty());
    expectListIsTheDatabase();
}

TEST_F(TicketLedger, AnImportIsOneStepAndAFileWithOneBadLineWritesNothing)
{
    const QString bad = writeFile(QByteArrayLiteral("開始回,継続回数,番号,申込,口数,メモ\n"
                                                    "61,1,123,ストレート,1,\n"
                                                    "61,2,777,ボックス,1,\n"
                                                    "62,1,45,ミニ,2,夕方\n"));
    EXPECT_FALSE(w->importFrom(bad));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(
        QStringLiteral("3行目: ボックスでは「777」のような3つとも同じ数字は申し込めません。")))
        << messages[0].text.toStdString();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(w->model()->rowCount(), 0);
    EXPECT_EQ(w->undoStack()->count(), 0);

    const QString good = writeFile(QByteArrayLiteral("開始回,継続回数,番号,申込,口数,メモ\n"
                                                     "61,1,123,ストレート,1,\n"
                                                     "62,1,45,ミニ,2,夕方\n"));
    ASSERT_TRUE(w->importFrom(good));
    const QVector<ticket::Line> imported = stored();
    ASSERT_EQ(imported.size(), 2);
    EXPECT_EQ(imported[1].memo, QStringLiteral("夕方"));
    expectListIsTheDatabase();
    w->undo();
    EXPECT_TRUE(stored().isEmpty());
    expectListIsTheDatabase();
    w->redo();
    EXPECT_EQ(stored(), imported);

    // Exported, it is the companion's file again.
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(w->exportTo(out));
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), ticket::ticketsCsvBytes(imported));
    // Never over the database.
    EXPECT_FALSE(w->exportTo(path));
    EXPECT_EQ(stored(), imported);
}

TEST_F(TicketLedger, ARefusedEntrySaysEveryReasonAndChangesNothing)
{
    fill(QStringLiteral("777"), ticket::Type::Box);
    w->add();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(
        messages[0].text.contains(QStringLiteral("ボックスでは「777」のような3つとも同じ数字は申し込めません。")));

    // One bad number among good ones: nothing is recorded.
    fill(QStringLiteral("123 1234"), ticket::Type::Straight);
    w->add();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].text.contains(
        QStringLiteral("「1234」：ストレートの番号は「000」から「999」までの3けたの数字です。")));

    // A line past the last draw there can be, with a bad number: both reasons.
    fill(QStringLiteral("5"), ticket::Type::Mini, 1, 32767, 2);
    w->add();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[2].text.contains(QStringLiteral("ミニの番号は「00」から「99」までの2けたの数字です。")));
    EXPECT_TRUE(messages[2].text.contains(QStringLiteral("最後の回（開始回＋継続回数－1）が第32767回を超えます。")));

    EXPECT_TRUE(stored().isEmpty());
    EXPECT_EQ(w->model()->rowCount(), 0);
    EXPECT_EQ(w->undoStack()->count(), 0);
}

TEST_F(TicketLedger, QuickPickGivesANumberTheTypeIsSoldIn)
{
    for (const ticket::Type type : {ticket::Type::Straight, ticket::Type::Box, ticket::Type::Set, ticket::Type::Mini}) {
        w->typeButton(type)->setChecked(true);
        QSet<QString> seen;
        for (int i = 0; i < 400; ++i) {
            w->quickPick();
            ticket::Line line;
            line.type = type;
            line.number = w->numberEdit()->text();
            line.firstDraw = 61;
            EXPECT_TRUE(ticket::refusals(line).isEmpty()) << line.number.toStdString();
            seen.insert(line.number);
        }
        EXPECT_GT(seen.size(), 40); // drawn, not one number again and again
    }
}

TEST_F(TicketLedger, TheKeysRecordDeleteAndTakeBack)
{
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    fill(QStringLiteral("321"), ticket::Type::Straight);
    w->numberEdit()->setFocus();
    QTest::keyClick(w->numberEdit(), Qt::Key_Return);
    ASSERT_EQ(stored().size(), 1);
    // The emptied 番号 has no typing to take back: Ctrl+Z there takes back the line.
    QTest::keyClick(w->numberEdit(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(stored().isEmpty());
    QTest::keyClick(w->numberEdit(), Qt::Key_Y, Qt::ControlModifier);
    ASSERT_EQ(stored().size(), 1);

    selectNumbers({QStringLiteral("321")});
    w->view()->setFocus();
    QTest::keyClick(w->view(), Qt::Key_Delete);
    EXPECT_TRUE(stored().isEmpty());
    expectListIsTheDatabase();

    // Enter in a box of numbers records too (the keypad's Enter as well).
    fill(QStringLiteral("654"), ticket::Type::Straight);
    w->unitsBox()->setFocus();
    QTest::keyClick(w->unitsBox(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(stored().size(), 1);
}

TEST_F(TicketLedger, LinesAnotherProgramWroteAndNewDrawsComeInWithTheSelectionKept)
{
    fill(QStringLiteral("123"), ticket::Type::Straight, 2, 61, 1);
    w->add();
    fill(QStringLiteral("55"), ticket::Type::Mini, 1, 61, 1);
    w->add();
    selectNumbers({QStringLiteral("123")});
    EXPECT_EQ(cell(1, TicketTableModel::StateColumn), QStringLiteral("1回中0回抽せん済み"));

    // Another connection adds a line and draw 61 comes out 1 2 3.
    {
        DrawDatabase other(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
        QString reason;
        ASSERT_TRUE(other.open(&reason));
        ticket::Line line;
        line.number = QStringLiteral("999");
        line.firstDraw = 61;
        ASSERT_TRUE(other.insertTickets({line}, &reason)) << reason.toStdString();
        ASSERT_TRUE(other.insertDraw(61, {{1, 2, 3}, QString()}, &reason)) << reason.toStdString();
    }
    ASSERT_TRUE(main->reloadHistory());
    expectListIsTheDatabase();
    ASSERT_EQ(w->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, TicketTableModel::NumberColumn), QStringLiteral("999"));
    const QModelIndexList selected = w->view()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(w->model()->lineAt(selected[0].row()).number, QStringLiteral("123"));
    EXPECT_EQ(cell(selected[0].row(), TicketTableModel::StateColumn).left(10), QStringLiteral("1回中1回抽せん済み"));
    EXPECT_TRUE(cell(selected[0].row(), TicketTableModel::StateColumn).contains(QStringLiteral("ストレート")));
    // What this window did before could undo what the other wrote: it says so and forgets it.
    EXPECT_EQ(w->undoStack()->count(), 0);
    EXPECT_TRUE(w->notice()->isVisibleTo(w));
}

TEST_F(TicketLedger, ANewHistoryKeepsTheLineInViewAtTheTop)
{
    auto otherAdds = [this](int count) {
        DrawDatabase other(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
        QString reason;
        ASSERT_TRUE(other.open(&reason));
        QVector<ticket::Line> lines(count);
        for (int i = 0; i < count; ++i)
            lines[i].number = QStringLiteral("%1").arg(i % 1000, 3, 10, QChar(u'0'));
        ASSERT_TRUE(other.insertTickets(lines, &reason)) << reason.toStdString();
    };
    otherAdds(300);
    ASSERT_TRUE(main->reloadHistory());
    ASSERT_EQ(w->model()->rowCount(), 300);
    w->view()->scrollTo(w->model()->index(150, 0), QAbstractItemView::PositionAtTop);
    const qint64 topId = w->model()->lineAt(w->view()->indexAt(QPoint(0, 0)).row()).id;
    otherAdds(5);
    ASSERT_TRUE(main->reloadHistory());
    ASSERT_EQ(w->model()->rowCount(), 305);
    EXPECT_EQ(w->model()->lineAt(w->view()->indexAt(QPoint(0, 0)).row()).id, topId);
    // At the top, the newest lines come into view.
    w->view()->scrollToTop();
    otherAdds(1);
    ASSERT_TRUE(main->reloadHistory());
    EXPECT_EQ(w->view()->indexAt(QPoint(0, 0)).row(), 0);
    expectListIsTheDatabase();
}

TEST_F(TicketLedger, AWriteThatFailsSaysWhyAndTheListFollowsTheDatabase)
{
    fill(QStringLiteral("123 456"), ticket::Type::Straight);
    w->add();
    const QVector<ticket::Line> added = stored();
    ASSERT_EQ(added.size(), 2);
    {
        DrawDatabase other(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
        QString reason;
        ASSERT_TRUE(other.open(&reason));
        ASSERT_TRUE(other.deleteTickets({added[0].id}, &reason));
    }
    selectNumbers({QStringLiteral("123")});
    w->unitsBox()->setValue(3);
    w->change();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("ほかのプログラムが削除しました")))
        << messages[0].text.toStdString();
    EXPECT_EQ(stored().size(), 1);
    expectListIsTheDatabase();
}

TEST_F(TicketLedger, ProposedLinesFillTheFormAndRecordNothing)
{
    ticket::Line a, b;
    a.number = QStringLiteral("123");
    a.type = ticket::Type::Box;
    a.units = 3;
    a.firstDraw = 70;
    a.draws = 5;
    b = a;
    b.number = QStringLiteral("456");
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    w->propose({a, b});
    EXPECT_EQ(w->numberEdit()->text(), QStringLiteral("123 456"));
    EXPECT_TRUE(w->typeButton(ticket::Type::Box)->isChecked());
    EXPECT_EQ(w->unitsBox()->value(), 3);
    EXPECT_EQ(w->firstDrawBox()->value(), 70);
    EXPECT_EQ(w->drawsBox()->value(), 5);
    // Two lines of 3口 over 5 draws: what 追加 would cost is said beside the form.
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("formCost"))->text(), QStringLiteral("2行・6,000円"));
    EXPECT_TRUE(fixture::waitFor([this] { return w->addButton()->hasFocus(); }, 1000));
    EXPECT_TRUE(stored().isEmpty());
    w->add();
    EXPECT_EQ(stored().size(), 2);
}

// A host over a database of an earlier version that could not be brought forward.
class OldDatabaseHost : public WindowHost {
public:
    explicit OldDatabaseHost(QString databasePath) : m_path(std::move(databasePath)) { }
    QMdiSubWindow* addSubWindow(QWidget* content) override
    {
        QMdiSubWindow* sub = area.addSubWindow(content);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        return sub;
    }
    QWidget* dialogParent() override { return &area; }
    const History& currentHistory() const override { return m_history; }
    QString databasePath() const override { return m_path; }
    void childClosed(const QString&, bool) override { }
    bool reloadHistory() override { return true; }

    QMdiArea area;

private:
    QString m_path;
    History m_history;
};

TEST(TicketLedgerOld, ADatabaseWithoutTheTableSaysSoAndRecordsNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.db"));
    fixture::writeDatabase(path, fixture::steppedDraws(10), false);
    QList<MessageRequest> messages;
    setMessageInterceptor([&](const MessageRequest& r) {
        messages << r;
        return QMessageBox::Ok;
    });
    OldDatabaseHost host(path);
    TicketWindow* w = TicketWindow::of(TicketWindow::load(host, *catalogue::findWindow(kForm)));
    ASSERT_TRUE(w);
    EXPECT_FALSE(w->isEditable());
    EXPECT_TRUE(w->notice()->isVisibleTo(w));
    EXPECT_TRUE(w->notice()->text().contains(QStringLiteral("購入記録の表がありません")));
    EXPECT_FALSE(w->addButton()->isEnabled());
    EXPECT_FALSE(w->numberEdit()->isEnabled());
    w->numberEdit()->setText(QStringLiteral("123"));
    w->add();
    EXPECT_TRUE(messages.isEmpty());
    setMessageInterceptor({});
}

} // namespace
