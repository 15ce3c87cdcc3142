// The main window as the host of the program's own windows: propEnd at each child's load and
// unload, single instances, and a new draw reaching every open window (typed in the entry
// window, or written by another program) and every window opened afterwards.

#include "support/catalogue_support.h"
#include "app/main_frm.h"
#include "data/draw_database.h"
#include "app/window_registry.h"
#include "prediction/prediction_sheets.h"
#include "prediction/prediction_settings.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_output.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"
#include "windows/entry_grid.h"
#include "windows/entry_window.h"
#include "windows/prediction_window.h"
#include "windows/ticket_window.h"
#include "support/history_fixture.h"
#include "support/prediction_test_support.h"
#include "support/wait.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

const QString kEntry = QStringLiteral("当選データ入力");
const QString kPrediction = QStringLiteral("一発ズバリン");
const QString kFiveClass = QStringLiteral("分割5傾向分析");

class HostedWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return QMessageBox::Ok;
        });
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }
    // Draws 1 to count complete, then one draw not drawn yet.
    void start(int count)
    {
        std::vector<fixture::RawDraw> draws = fixture::steppedDraws(count);
        draws.push_back({count + 1, fixture::null(), fixture::null(), fixture::null()});
        fixture::writeDatabase(db, draws);
        main = std::make_unique<MainFrm>(MainFrm::Files{db, cwd.filePath(QStringLiteral("none.csv"))});
        registerWindows(*main);
        ASSERT_TRUE(main->load());
    }
    template <typename T> T* content(const QString& form)
    {
        auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(form));
        return sub ? dynamic_cast<T*>(sub->widget()) : nullptr;
    }
    void close(const QString& form)
    {
        qobject_cast<QMdiSubWindow*>(main->childWindow(form))->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    fixture::InTemporaryDirectory cwd; // the prediction window's settings file lands here
    QString db = cwd.filePath(QStringLiteral("n.db"));
    std::unique_ptr<MainFrm> main;
    QList<MessageRequest> messages;
};

TEST_F(HostedWindows, EachChildSetsPropEndOnceBuiltAndBackAtItsUnload)
{
    start(3);
    QList<std::pair<QString, bool>> rules{{kPrediction, false}, {kEntry, false}};
    for (const catalogue::WindowRecord* record : cataloguetest::analyses())
        rules.push_back({record->form, *record->propEndAtLoad});
    for (const auto& [form, atLoad] : rules) {
        SCOPED_TRACE(form.toStdString());
        main->setPropEnd(true);
        QWidget* window = main->openChild(form);
        ASSERT_TRUE(window);
        EXPECT_EQ(main->propEnd(), atLoad);
        EXPECT_EQ(main->openChild(form), window) << "a second open brings the same window forward";
        EXPECT_EQ(main->mdiArea()->subWindowList().size(), 1);
        close(form);
        EXPECT_TRUE(main->propEnd());
        EXPECT_EQ(main->childWindow(form), nullptr);
    }
    EXPECT_TRUE(messages.isEmpty());

    // An entry window that cannot open its database never loaded: propEnd stays as it was.
    ASSERT_TRUE(QFile::remove(db));
    for (const bool before : {true, false}) {
        main->setPropEnd(before);
        EXPECT_EQ(main->openChild(kEntry), nullptr);
        EXPECT_EQ(main->propEnd(), before);
    }
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(HostedWindows, DrawTypedInTheEntryWindowReachesEveryWindowWhenItCloses)
{
    start(200);
    // 分割5傾向分析 leaves the entry window free to open; the prediction may open after it.
    ASSERT_TRUE(main->openChild(kFiveClass));
    auto* trend = content<AnalysisFrame>(kFiveClass);
    ASSERT_TRUE(trend);
    trend->fpSpread1->resize(400, 300);
    trend->fpSpread1->scrollToCell(1, 150);
    trend->fpSpread1->setActiveCell(3, 150);
    trend->fpSpread1->setSelection(2, 150, 4, 152);
    const int firstRow = trend->fpSpread1->firstVisibleRow();
    ASSERT_GT(firstRow, 100);
    ASSERT_EQ(trend->grid().text(1, 202), QStringLiteral("回数")) << "the foot headings below draw 200";

    main->mnuMasterInput_Click();
    auto* entry = content<当選データ入力>(kEntry);
    ASSERT_TRUE(entry);
    ASSERT_TRUE(main->openChild(kPrediction));
    auto* prediction = content<一発ズバリン>(kPrediction);
    ASSERT_TRUE(prediction);

    // Draw 201: 4, 0, 9.
    DrawSheetModel* sheet = entry->sheet();
    const int row = sheet->rowOfDrawNo(201);
    ASSERT_GE(row, 0);
    ASSERT_TRUE(sheet->setData(sheet->index(row, 1), QStringLiteral("4")));
    ASSERT_TRUE(sheet->setData(sheet->index(row, 2), QStringLiteral("0")));
    ASSERT_TRUE(sheet->setData(sheet->index(row, 3), QStringLiteral("9")));
    EXPECT_EQ(trend->grid().text(1, 202), QStringLiteral("回数")) << "nothing changes while typing";

    close(kEntry);
    ASSERT_TRUE(fixture::waitFor([&] { return trend->grid().text(1, 202) == QStringLiteral("201"); }));
    EXPECT_EQ(QStringList({trend->grid().text(2, 202), trend->grid().text(3, 202), trend->grid().text(4, 202)}),
              QStringList({"4", "0", "9"}));
    EXPECT_EQ(trend->grid().text(1, 203), QStringLiteral("回数"));
    EXPECT_EQ(trend->fpSpread1->grid(), &trend->grid());
    EXPECT_EQ(trend->fpSpread1->firstVisibleRow(), firstRow) << "the window stays where it was";
    EXPECT_EQ(QPoint(trend->fpSpread1->activeCol(), trend->fpSpread1->activeRow()), QPoint(3, 150));
    EXPECT_EQ(trend->fpSpread1->selection(), (CellBlock{2, 150, 4, 152})) << "and the selection with it";

    // The prediction is the one a fresh start would show, with the same choices.
    EXPECT_EQ(main->currentHistory().lastDrawNo(), 201);
    PredictionSheets expected;
    expected.open(main->currentHistory());
    expected.refresh(prediction->settings().reflectedCount());
    for (int g = 0; g < PredictionSheets::kGridCount; ++g)
        EXPECT_EQ(fixture::values(prediction->grid(g)), fixture::values(expected.grid(g))) << "grid " << g;

    // A window opened afterwards starts from the new history too.
    ASSERT_TRUE(main->openChild(QStringLiteral("数字合計分析")));
    EXPECT_EQ(content<AnalysisFrame>(QStringLiteral("数字合計分析"))->grid().text(5, 202), QStringLiteral("13"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HostedWindows, DrawsWrittenByAnotherProgramReachTheOpenWindows)
{
    start(5);
    ASSERT_TRUE(main->openChild(kFiveClass));
    auto* trend = content<AnalysisFrame>(kFiveClass);
    ASSERT_TRUE(trend);
    // As an import by the companion does: its own connection, its own transaction.
    fixture::exec(db,
                  {QStringLiteral("update 当選データ set 第1数字 = 1, 第2数字 = 2, 第3数字 = 3 where 回数 = 6"),
                   QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (7, 7, 7, 7)")});
    ASSERT_TRUE(fixture::waitFor([&] { return trend->grid().text(1, 8) == QStringLiteral("7"); }));
    EXPECT_EQ(trend->grid().text(1, 7), QStringLiteral("6"));
    EXPECT_EQ(main->currentHistory().lastDrawNo(), 7);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HostedWindows, ADrawTheTicketsCoverIsReportedInTheStatusBarWhenItArrives)
{
    start(5);
    auto report = [&]() -> QString {
        const auto* label = main->findChild<QLabel*>(QStringLiteral("ticketReport"));
        return label ? label->text() : QString();
    };
    fixture::exec(db,
                  {QStringLiteral("insert into 購入記録 (開始回, 継続回数, 番号, 申込, 口数, メモ, 記録日時) "
                                  "values (6, 2, '321', 'ボックス', 3, '', '2026-12-10T00:00:00Z')"),
                   QStringLiteral("update 当選データ set 第1数字 = 1, 第2数字 = 2, 第3数字 = 3 where 回数 = 6")});
    ASSERT_TRUE(fixture::waitFor([&] { return !report().isEmpty(); }));
    EXPECT_EQ(report(), QStringLiteral("第6回: 3口 — ボックス当せん 45,000円（理論値）"));
    // The next draw the line covers replaces it; a draw it does not cover leaves it.
    fixture::exec(db, {QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (7, 0, 0, 0)")});
    ASSERT_TRUE(fixture::waitFor([&] { return report() == QStringLiteral("第7回: 3口 — はずれ"); }));
    fixture::exec(db, {QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (8, 3, 2, 1)")});
    ASSERT_TRUE(fixture::waitFor([&] { return main->currentHistory().lastDrawNo() == 8; }));
    EXPECT_EQ(report(), QStringLiteral("第7回: 3口 — はずれ"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HostedWindows, APredictionRowGoesIntoTheLedgersFormForTheNextDraw)
{
    start(30);
    ASSERT_TRUE(main->openChild(kPrediction));
    auto* prediction = content<一発ズバリン>(kPrediction);
    ASSERT_TRUE(prediction);
    auto addFrom = [&](int grid, int row) {
        std::unique_ptr<QMenu> menu(prediction->output().contextMenu(prediction->fpSpread1[grid], QPoint(2, row)));
        auto* add = menu->findChild<QAction*>(QStringLiteral("mnuAddTickets"));
        EXPECT_TRUE(add && add->isEnabled());
        if (add)
            add->trigger();
        QCoreApplication::processEvents(); // the ledger opens once the menu is done
        QCoreApplication::processEvents();
    };
    // The elimination grid: one box line per number its digits allow.
    const PredictionSheets::RowTickets boxes = prediction->sheets().ticketsAt(1, 2);
    ASSERT_GE(boxes.numbers.size(), 7);
    addFrom(1, 2);
    TicketWindow* ledger = TicketWindow::of(main->childWindow(QStringLiteral("購入記録")));
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger->numberEdit()->text(), boxes.numbers.join(u' '));
    EXPECT_EQ(ledger->chosenType(), ticket::Type::Box);
    EXPECT_EQ(ledger->firstDrawBox()->value(), 31);
    EXPECT_EQ(ledger->drawsBox()->value(), 1);
    EXPECT_TRUE(main->currentHistory().tickets().isEmpty()); // for the player to confirm
    // A heading row stands for nothing.
    std::unique_ptr<QMenu> heading(prediction->output().contextMenu(prediction->fpSpread1[1], QPoint(2, 1)));
    EXPECT_FALSE(heading->findChild<QAction*>(QStringLiteral("mnuAddTickets"))->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HostedWindows, ALineRecordedRecomputesOnlyTheWindowsThatShowTickets)
{
    start(5);
    ASSERT_TRUE(main->openChild(kFiveClass));
    auto* trend = content<AnalysisFrame>(kFiveClass);
    ASSERT_TRUE(trend);
    const Grid* shown = &trend->grid();
    fixture::exec(db,
                  {QStringLiteral("insert into 購入記録 (開始回, 継続回数, 番号, 申込, 口数, メモ, 記録日時) "
                                  "values (6, 1, '123', 'ストレート', 1, '', '2026-12-10T00:00:00Z')")});
    ASSERT_TRUE(fixture::waitFor([&] { return main->currentHistory().tickets().size() == 1; }));
    EXPECT_EQ(&trend->grid(), shown);
    fixture::exec(db, {QStringLiteral("update 当選データ set 第1数字 = 1, 第2数字 = 2, 第3数字 = 3 where 回数 = 6")});
    ASSERT_TRUE(fixture::waitFor([&] { return trend->grid().text(1, 7) == QStringLiteral("6"); }));
}

TEST_F(HostedWindows, DrawsWrittenAfterTheDatabaseWasPutBackReachTheOpenWindows)
{
    start(5);
    ASSERT_TRUE(main->openChild(kFiveClass));
    auto* trend = content<AnalysisFrame>(kFiveClass);
    ASSERT_TRUE(trend);
    // Deleted, as a sync tool does before it puts the file back: the windows keep what they show.
    const QString backup = cwd.filePath(QStringLiteral("backup.db"));
    ASSERT_TRUE(QFile::copy(db, backup));
    ASSERT_TRUE(QFile::remove(db));
    ASSERT_TRUE(fixture::waitFor([&] { return !messages.isEmpty(); }));
    ASSERT_TRUE(QFile::copy(backup, db));
    fixture::exec(db,
                  {QStringLiteral("update 当選データ set 第1数字 = 1, 第2数字 = 2, 第3数字 = 3 where 回数 = 6"),
                   QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (7, 7, 7, 7)")});
    ASSERT_TRUE(fixture::waitFor([&] { return trend->grid().text(1, 8) == QStringLiteral("7"); }));
    // And so on, for every later write.
    fixture::exec(db, {QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (8, 8, 8, 8)")});
    ASSERT_TRUE(fixture::waitFor([&] { return trend->grid().text(1, 9) == QStringLiteral("8"); }));
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(HostedWindows, TheOpenEntryWindowTakesUpWhatAnotherProgramWroteAndKeepsWhatIsBeingTyped)
{
    start(5);
    main->mnuMasterInput_Click();
    auto* entry = content<当選データ入力>(kEntry);
    ASSERT_TRUE(entry);
    DrawSheetModel* sheet = entry->sheet();
    EntryGridView* grid = entry->fpSpread1();
    // The first digit of draw 6 is being typed.
    const QModelIndex typing = sheet->index(sheet->rowOfDrawNo(6), 1);
    grid->setCurrentIndex(typing);
    grid->edit(typing);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(typing));
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, QStringLiteral("4"));
    EXPECT_TRUE(entry->notice()->isHidden());

    // Meanwhile an import changes draw 2 and adds draw 7.
    fixture::exec(db,
                  {QStringLiteral("update 当選データ set 第1数字 = 9 where 回数 = 2"),
                   QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (7, 7, 7, 7)")});
    ASSERT_TRUE(fixture::waitFor([&] { return sheet->rowOfDrawNo(7) >= 0; }));
    EXPECT_EQ(sheet->index(sheet->rowOfDrawNo(2), 1).data().toString(), QStringLiteral("9"));
    EXPECT_FALSE(entry->notice()->isHidden());
    EXPECT_TRUE(entry->notice()->text().startsWith(QStringLiteral("ほかのプログラムの書き込みを読み直しました")));
    ASSERT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->currentIndex().row(), sheet->rowOfDrawNo(6));
    editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), QStringLiteral("4"));

    // What was typed is stored with the import, not in place of it; the window's own writes
    // read nothing again.
    grid->commitEdit();
    const QString notice = entry->notice()->text();
    QTest::qWait(600);
    EXPECT_EQ(entry->notice()->text(), notice);
    // Draw 6 has one digit of three: closing asks, and goes on when told to.
    setMessageInterceptor([this](const MessageRequest& r) {
        messages << r;
        return QMessageBox::Yes;
    });
    close(kEntry);
    ASSERT_TRUE(fixture::waitFor([&] { return main->currentHistory().lastDrawNo() == 7; }));
    EXPECT_EQ(main->currentHistory().field(1, QStringLiteral("第1数字")).toInt(), 9);
    EXPECT_EQ(main->currentHistory().field(5, QStringLiteral("第1数字")).toInt(), 4);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("第6回は数字がそろっていません。このまま閉じますか？"));
}

TEST_F(HostedWindows, ALineRecordedElsewhereLeavesTheEntryWindowsStepsToBeTakenBack)
{
    start(5);
    main->mnuMasterInput_Click();
    auto* entry = content<当選データ入力>(kEntry);
    ASSERT_TRUE(entry);
    DrawSheetModel* sheet = entry->sheet();
    const QModelIndex cell = sheet->index(sheet->rowOfDrawNo(2), 1);
    const QVariant before = cell.data(Qt::EditRole);
    const QString typed = before.toInt() == 9 ? QStringLiteral("8") : QStringLiteral("9");
    ASSERT_TRUE(sheet->setData(cell, typed));
    ASSERT_EQ(entry->undoStack()->count(), 1);

    // The ledger alone changes: the draws are as they were, and so is what may be taken back.
    fixture::exec(db,
                  {QStringLiteral("insert into 購入記録 (開始回, 継続回数, 番号, 申込, 口数, メモ, 記録日時) "
                                  "values (6, 1, '123', 'ストレート', 1, '', '2026-12-10T00:00:00Z')")});
    entry->databaseFileChanged();
    EXPECT_TRUE(entry->notice()->isHidden());
    ASSERT_EQ(entry->undoStack()->count(), 1);
    entry->mnuUndo_Click();
    DrawDatabase stored(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
    QString reason;
    ASSERT_TRUE(stored.open(&reason)) << reason.toStdString();
    const std::optional<DrawDatabase::StoredDraw> draw = stored.storedDraw(2, &reason);
    ASSERT_TRUE(draw);
    EXPECT_EQ(draw->digits[0].toInt(), before.toInt());

    // A draw changed elsewhere does take the steps away.
    ASSERT_TRUE(sheet->setData(cell, typed));
    fixture::exec(db, {QStringLiteral("update 当選データ set 第1数字 = 0 where 回数 = 4")});
    entry->databaseFileChanged();
    EXPECT_FALSE(entry->notice()->isHidden());
    EXPECT_EQ(entry->undoStack()->count(), 0);
}

} // namespace
