// The draw-result entry window end to end, offscreen, on temporary databases: typing,
// inserting, deleting, the confirmations, the close check, propEnd, what the database holds
// afterwards and what the host is told.

#include "app/main_frm.h"
#include "windows/entry_grid.h"
#include "windows/entry_window.h"
#include "widgets/message_box.h"
#include "widgets/window_host.h"
#include "render/grid_metrics.h"
#include "support/history_builder.h"
#include "support/history_fixture.h"
#include "support/wait.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <tuple>
#include <utility>
#include <gtest/gtest.h>

namespace {

using fixture::null;

QString insertQuestion(int drawNo)
{
    return QStringLiteral("第%1回を最後に追加します。よろしいですか？").arg(drawNo);
}
QString deleteQuestion(int drawNo)
{
    return QStringLiteral("第%1回を削除します。よろしいですか？").arg(drawNo);
}

const QString kEntryForm = QStringLiteral("当選データ入力");

const catalogue::WindowRecord& entryRecord()
{
    return *catalogue::findWindow(kEntryForm);
}

// A host that keeps the entry window in an area of its own and records what it is told at close.
class RecordingHost : public WindowHost {
public:
    explicit RecordingHost(QString databasePath) : m_databasePath(std::move(databasePath)) { }

    QMdiSubWindow* addSubWindow(QWidget* content) override
    {
        QMdiSubWindow* sub = area.addSubWindow(content);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        return sub;
    }
    QWidget* dialogParent() override { return &area; }
    const History& currentHistory() const override { return m_history; }
    QString databasePath() const override { return m_databasePath; }
    void childClosed(const QString& formName, bool databaseChanged) override
    {
        closed << std::pair(formName, databaseChanged);
    }
    bool reloadHistory() override
    {
        ++reloads;
        return true;
    }

    QMdiArea area;
    QList<std::pair<QString, bool>> closed;
    int reloads = 0;

private:
    QString m_databasePath;
    History m_history;
};

class EntryWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath(QStringLiteral("n.db"));
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return answer;
        });
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }

    void start(const std::vector<fixture::RawDraw>& draws, bool withChecks = true)
    {
        fixture::writeDatabase(path, draws, withChecks);
        main = std::make_unique<MainFrm>(MainFrm::Files{path, dir.filePath(QStringLiteral("none.csv"))});
        ASSERT_TRUE(main->load());
        main->registerChild(
            kEntryForm, [](WindowHost& host) -> QWidget* { return 当選データ入力::load(host, entryRecord()); },
            MainFrm::PropEndRule{false});
    }
    // Opens the window through the guarded menu command, as the user does.
    当選データ入力* open()
    {
        main->mnuMasterInput_Click();
        sub = qobject_cast<QMdiSubWindow*>(main->childWindow(kEntryForm));
        w = sub ? static_cast<当選データ入力*>(sub->widget()) : nullptr;
        return w;
    }
    bool isOpen() const { return sub && !sub->isHidden(); }

    // The rows as the sheet shows them and as a fresh connection finds them: "回数,d1,d2,d3",
    // Null as nothing, an empty string as ''.
    QStringList shown() const
    {
        QStringList rows;
        for (int r = 0; r < w->sheet()->rowCount(); ++r)
            rows << QStringList{cell(r, 0).data().toString(), cell(r, 1).data().toString(),
                                cell(r, 2).data().toString(), cell(r, 3).data().toString()}
                        .join(u',');
        return rows;
    }
    QStringList stored() const
    {
        QStringList rows;
        const QString name = QStringLiteral("check-") + path;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery q(QStringLiteral("select 回数 || ',' || quote(第1数字) || ',' || quote(第2数字) || ',' || "
                                       "quote(第3数字) from 当選データ order by 回数"),
                        db);
            while (q.next())
                rows << q.value(0).toString().replace(QStringLiteral("NULL"), QString());
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }
    // The five amounts of a row as the sheet shows them, and every row of 当せん金 as a fresh
    // connection finds it: "回数,ストレート,…,ミニ", Null as nothing.
    QStringList amountsShown(int row) const
    {
        QStringList texts;
        for (int c = entry::kFirstPrizeColumn; c <= entry::kLastPrizeColumn; ++c)
            texts << cell(row, c).data().toString();
        return texts;
    }
    QStringList amountsStored() const
    {
        QStringList rows;
        const QString name = QStringLiteral("prizes-") + path;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery q(
                QStringLiteral("select 回数 || ',' || quote(ストレート当せん金) || ',' || quote(ボックス当せん金) "
                               "|| ',' || quote(セットストレート当せん金) || ',' || quote(セットボックス当せん金) "
                               "|| ',' || quote(ミニ当せん金) from 当せん金 order by 回数"),
                db);
            while (q.next())
                rows << q.value(0).toString().replace(QStringLiteral("NULL"), QString());
        }
        QSqlDatabase::removeDatabase(name);
        return rows;
    }
    // Types an amount on a prize cell as the keyboard does: the first key opens the editor.
    void typeAmount(int row, int kind, const QString& text)
    {
        activate(row, entry::prizeColumn(kind));
        press(text.left(1));
        ASSERT_NE(editor(), nullptr);
        QTest::keyClicks(editor(), text.mid(1));
        QTest::keyClick(editor(), Qt::Key_Return);
    }
    QModelIndex cell(int row, int column) const { return w->sheet()->index(row, column); }
    void activate(int row, int column) { w->fpSpread1()->setCurrentIndex(cell(row, column)); }
    QPoint active() const
    {
        const QModelIndex i = w->fpSpread1()->currentIndex();
        return {i.column(), i.row()};
    }
    QWidget* editor() const { return w->fpSpread1()->indexWidget(w->fpSpread1()->currentIndex()); }
    // A key as a keyboard or an input method delivers it (full-width too), where the focus
    // would be: the grid, or the editor that Enter has opened on the next cell.
    void press(const QString& text)
    {
        QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(w->fpSpread1()->isEditing() ? editor() : w->fpSpread1(), &event);
    }
    void type(const QString& character)
    {
        press(character);
        ASSERT_NE(editor(), nullptr);
        QTest::keyClick(editor(), Qt::Key_Return);
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MainFrm> main;
    QPointer<QMdiSubWindow> sub;
    当選データ入力* w = nullptr;
    QList<MessageRequest> messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

TEST(EntryRules, CloseCheckAcceptsEmptyAndSingleDigitsOnly)
{
    for (const char* ok : {"", "0", "9"})
        EXPECT_FALSE(entry::digitTextInError(QString::fromUtf8(ok))) << ok;
    for (const char* bad : {"10", "-1", "1.0", ".", "a", " ", "0.5", "1e1"})
        EXPECT_TRUE(entry::digitTextInError(QString::fromUtf8(bad))) << bad;
}

TEST_F(EntryWindow, OpensEveryDrawInOrderLaidOutAtTheTopLeft)
{
    // More draws than the table model fetches at once, stored out of order.
    std::vector<fixture::RawDraw> draws;
    for (int n = 300; n >= 1; --n)
        draws.push_back({n, n % 10, null(), 3});
    start(draws);
    main->resize(1000, 1100); // room for the window at its own size
    main->show();
    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(main->propEnd());
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    ASSERT_EQ(w->sheet()->rowCount(), 300);
    EXPECT_EQ(shown().front(), "1,1,,3");
    EXPECT_EQ(shown().back(), "300,0,,3");

    QTableView* grid = w->fpSpread1();
    const GridMetrics metrics;
    const int widths[] = {5, 7, 7, 7, 11};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(grid->columnWidth(c), metrics.colPixels(widths[c])) << c;
    EXPECT_EQ(grid->columnWidth(entry::kStaticColumn), metrics.colPixels(4));
    EXPECT_EQ(grid->rowHeight(299), metrics.rowPixels(10));
    EXPECT_EQ(grid->viewport()->height() / metrics.rowPixels(10), 50);
    // Every column is in view at the window's own size, with room in the prize columns for the
    // largest amount and for the kind's name above it.
    EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width());
    const int largest = QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("99,999,900"));
    for (int c = entry::kFirstPrizeColumn; c <= entry::kLastPrizeColumn; ++c) {
        EXPECT_EQ(w->sheet()->headerData(c, Qt::Horizontal).toString(),
                  prize::kKindNames.at(std::size_t(c - entry::kFirstPrizeColumn)));
        EXPECT_LE(largest + 2 * GridMetrics::kTextMargin, grid->columnWidth(c)) << c;
        EXPECT_LE(grid->horizontalHeader()->sectionSizeHint(c), grid->columnWidth(c)) << c;
    }
}

TEST_F(EntryWindow, TypedDigitsAreStoredAtOnceAndEnterMovesToTheNextDigit)
{
    start({{1, 1, 1, 5}, {2, null(), null(), null()}});
    ASSERT_NE(open(), nullptr);
    activate(0, 3);
    QTest::keyClick(w->fpSpread1(), Qt::Key_Return);
    EXPECT_EQ(active(), QPoint(1, 1));
    type(QStringLiteral("3"));
    EXPECT_EQ(active(), QPoint(2, 1));
    type(QStringLiteral("０"));
    type(QStringLiteral("9"));
    EXPECT_EQ(stored()[1], "2,3,0,9");

    // Typing over a digit replaces it.
    activate(0, 3);
    type(QStringLiteral("7"));
    EXPECT_EQ(stored()[0], "1,1,1,7");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EntryWindow, InvalidDigitsNeverReachTheDatabase)
{
    start({{1, 1, 1, 5}});
    ASSERT_NE(open(), nullptr);
    DigitDelegate delegate;
    QWidget parent;
    std::unique_ptr<QWidget> made(delegate.createEditor(&parent, {}, cell(0, 1)));
    auto* line = qobject_cast<QLineEdit*>(made.get());
    ASSERT_NE(line, nullptr);
    for (const char* typed : {"a", "-", ".", "+", " ", "12"}) {
        line->clear();
        QTest::keyClicks(line, QString::fromUtf8(typed));
        EXPECT_EQ(line->text(), typed == std::string("12") ? QStringLiteral("1") : QString()) << typed;
    }
    EXPECT_EQ(delegate.createEditor(&parent, {}, cell(0, 0)), nullptr);

    for (const QVariant& bad : {QVariant("10"), QVariant("-1"), QVariant("1.0"), QVariant(12), QVariant(4.5)})
        EXPECT_FALSE(w->sheet()->setData(cell(0, 1), bad)) << bad.toString().toStdString();
    EXPECT_EQ(stored(), (QStringList{"1,1,1,5"}));
    // Emptying a digit stores Null, never the empty string.
    EXPECT_TRUE(w->sheet()->setData(cell(0, 2), QString()));
    EXPECT_EQ(stored(), (QStringList{"1,1,,5"}));
}

TEST_F(EntryWindow, APasteOfMoreThanOneDigitIsRefusedWithTheDigitMessage)
{
    start({{1, 1, 1, 5}});
    ASSERT_NE(open(), nullptr);
    activate(0, 2);
    w->fpSpread1()->edit(cell(0, 2));
    auto* line = qobject_cast<QLineEdit*>(editor());
    ASSERT_NE(line, nullptr);
    for (const char* pasted : {"12345", "x", "1.0"}) {
        QGuiApplication::clipboard()->setText(QString::fromUtf8(pasted));
        QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(line->text(), QStringLiteral("1")) << pasted;
        ASSERT_EQ(messages.size(), 1) << pasted;
        EXPECT_EQ(messages.takeFirst().text, QStringLiteral("結果マスタの数字に誤りがあります。"));
    }
    // One digit, as a copied cell brings it (with its line end), goes in.
    QGuiApplication::clipboard()->setText(QStringLiteral("７\n"));
    QTest::keyClick(line, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(line->text(), QStringLiteral("７"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(stored(), (QStringList{"1,1,7,5"}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EntryWindow, InsertAddsTheNextDrawAsTheLastRowAndMovesIntoIt)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}, {5, 2, 2, 2}});
    ASSERT_NE(open(), nullptr);
    activate(2, 2);
    w->mnuAddLine_Click();
    ASSERT_EQ(messages.size(), 1);
    const MessageRequest& q = messages[0];
    EXPECT_EQ(std::tuple(q.text, q.title, q.icon, q.buttons, q.defaultButton),
              std::tuple(insertQuestion(6), QStringLiteral("ナンバーズ3ズバリン"), QMessageBox::Warning,
                         QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No), QMessageBox::No));
    EXPECT_EQ(shown().back(), "6,,,");
    EXPECT_EQ(shown().size(), 4u);
    // The new draw is typed from its first digit, whatever column the cursor was in.
    EXPECT_EQ(active(), QPoint(1, 3));
    EXPECT_EQ(stored(), shown());

    // The draw number cannot be changed, also in the new row: typing on it changes nothing and
    // leaves the cursor where it is (no jump to a draw whose number begins with the digit).
    EXPECT_FALSE(cell(3, 0).flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(w->sheet()->setData(cell(3, 0), 7));
    activate(3, 0);
    for (const char* typed : {"5", "7", "1", "２", "x"}) {
        press(QString::fromUtf8(typed));
        EXPECT_FALSE(w->fpSpread1()->isEditing()) << typed;
        EXPECT_EQ(active(), QPoint(0, 3)) << typed;
    }
    EXPECT_EQ(shown(), (QStringList{"1,1,1,5", "2,0,5,9", "5,2,2,2", "6,,,"}));

    // From a row in the middle the new draw still takes its place in draw order.
    activate(0, 1);
    w->mnuAddLine_Click();
    EXPECT_EQ(shown().back(), "7,,,");
    EXPECT_EQ(active(), QPoint(1, 4));
    EXPECT_EQ(messages.back().text, insertQuestion(7));
    EXPECT_EQ(stored(), shown());
}

TEST_F(EntryWindow, DeleteRemovesTheActiveRowsDrawAndNoChangesNothing)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 4, 4, 4}});
    ASSERT_NE(open(), nullptr);
    activate(1, 3);
    const QByteArray before = fixture::fileDigest(path);
    answer = QMessageBox::No;
    w->mnuAddLine_Click();
    w->mnuDelLine_Click();
    EXPECT_EQ(shown(), (QStringList{"1,1,1,5", "2,0,5,9", "3,4,4,4"}));
    EXPECT_EQ(fixture::fileDigest(path), before);

    answer = QMessageBox::Yes;
    w->mnuDelLine_Click();
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(std::tuple(messages[2].text, messages[2].icon, messages[2].defaultButton),
              std::tuple(deleteQuestion(2), QMessageBox::Warning, QMessageBox::No));
    const QStringList remaining = {"1,1,1,5", "3,4,4,4"};
    EXPECT_EQ(shown(), remaining);
    EXPECT_EQ(stored(), remaining);
    EXPECT_EQ(active(), QPoint(3, 1));

    // An inserted row can be deleted again, and its record goes with it.
    w->mnuAddLine_Click();
    w->mnuDelLine_Click();
    EXPECT_EQ(stored(), remaining);
}

TEST_F(EntryWindow, ShortcutsAndRowHeaderMenuReachTheCommands)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}});
    answer = QMessageBox::No;
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    ASSERT_NE(open(), nullptr);
    main->activateWindow();
    ASSERT_TRUE(fixture::waitFor([&] { return main->isActiveWindow(); }));
    w->fpSpread1()->setFocus();
    QTest::keyClick(w->fpSpread1(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w->fpSpread1(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, insertQuestion(3));
    EXPECT_EQ(messages[1].text, deleteQuestion(2));

    // The pop-up comes on a row header while exactly one row is selected, and not otherwise.
    QHeaderView* header = w->fpSpread1()->verticalHeader();
    const QPoint onRow2(header->width() / 2, header->sectionViewportPosition(1) + 2);
    QContextMenuEvent click(QContextMenuEvent::Mouse, onRow2, header->viewport()->mapToGlobal(onRow2));
    QCoreApplication::sendEvent(header->viewport(), &click);
    EXPECT_TRUE(fixture::waitFor([&] { return w->mnuEdit()->isVisible(); }));
    w->mnuEdit()->hide();
    w->fpSpread1()->selectAll();
    EXPECT_FALSE(w->rowHeaderRightClick(1, QPoint()));
    EXPECT_FALSE(w->mnuEdit()->isVisible());
}

TEST_F(EntryWindow, ShortcutsAskEveryTimeWhateverTheRealBoxBeforeWasAnswered)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 4, 4, 4}});
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    ASSERT_NE(open(), nullptr);
    main->activateWindow();
    ASSERT_TRUE(fixture::waitFor([&] { return main->isActiveWindow(); }));
    activate(1, 2);
    w->fpSpread1()->setFocus();

    // Real modal boxes from here, each answered いいえ with a click once it is up; the keys come
    // to the main window as the window system delivers them.
    setMessageInterceptor({});
    QStringList asked;
    QTimer answerer;
    answerer.setInterval(5);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && box->button(QMessageBox::No)) {
            asked << box->text();
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        }
    });
    answerer.start();
    auto press = [&](Qt::Key key) {
        const qsizetype count = asked.size();
        QTest::keyClick(main->windowHandle(), key, Qt::ControlModifier);
        fixture::waitFor([&] { return asked.size() > count; }, 1000);
    };
    for (int round = 0; round < 2; ++round) {
        press(Qt::Key_A);
        press(Qt::Key_D);
    }
    // With an editor open on a digit too: the shortcuts are the window's, not the editor's.
    QTest::keyClick(main->windowHandle(), Qt::Key_7);
    ASSERT_TRUE(w->fpSpread1()->isEditing());
    press(Qt::Key_A);
    press(Qt::Key_D);
    answerer.stop();

    EXPECT_EQ(asked,
              (QStringList{insertQuestion(4), deleteQuestion(2), insertQuestion(4), deleteQuestion(2),
                           insertQuestion(4), deleteQuestion(2)}))
        << asked.join(u'|').toStdString();
    EXPECT_EQ(w->fpSpread1()->selectionModel()->selectedRows(), QModelIndexList{cell(1, 0)});
    EXPECT_EQ(active(), QPoint(2, 1));
    // Nothing added or deleted; the digit typed is stored.
    EXPECT_EQ(stored(), (QStringList{"1,1,1,5", "2,0,7,9", "3,4,4,4"}));
}

TEST_F(EntryWindow, CloseCheckStopsAtTheFirstWrongCellRowByRow)
{
    // A database without checks holds wrong values as outside edits may leave them.
    start({{1, 1, 2, 3}, {2, 4, 5, "x"}, {3, "10", 1, 1}}, false);
    ASSERT_NE(open(), nullptr);
    // An editor opened on a wrong value and left untouched changes nothing.
    activate(1, 3);
    w->fpSpread1()->edit(cell(1, 3));
    ASSERT_TRUE(w->fpSpread1()->isEditing());
    QTest::keyClick(editor(), Qt::Key_Return);

    w->Command1()->click();
    ASSERT_EQ(messages.size(), 1);
    const MessageRequest& m = messages[0];
    EXPECT_EQ(std::tuple(m.text, m.title, m.icon, m.buttons),
              std::tuple(QStringLiteral("結果マスタの数字に誤りがあります。"), QStringLiteral("メッセ－ジ"),
                         QMessageBox::Critical, QMessageBox::StandardButtons(QMessageBox::Ok)));
    EXPECT_EQ(active(), QPoint(3, 1));
    EXPECT_TRUE(isOpen());
    EXPECT_FALSE(main->propEnd());

    // A stored real shows its decimal point and is refused as well.
    ASSERT_TRUE(w->sheet()->setData(cell(1, 3), 6));
    fixture::exec(path, {QStringLiteral("update 当選データ set 第1数字 = 1.0 where 回数 = 3")});
    w->mnuAddLine_Click(); // reads the table again
    w->Command1_Click();
    EXPECT_EQ(active(), QPoint(1, 2));
    EXPECT_EQ(messages.size(), 3);

    ASSERT_TRUE(w->sheet()->setData(cell(2, 1), 8));
    w->Command1_Click();
    EXPECT_EQ(messages.size(), 3);
    EXPECT_FALSE(isOpen());
    EXPECT_TRUE(main->propEnd());
}

TEST_F(EntryWindow, CloseBoxClosesWithoutTheCheck)
{
    start({{1, 1, 2, "x"}}, false);
    ASSERT_NE(open(), nullptr);
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(sub, nullptr);
    EXPECT_TRUE(main->propEnd());

    // Closing the main window unloads the entry window too.
    ASSERT_NE(open(), nullptr);
    main->close();
    EXPECT_TRUE(main->propEnd());
}

TEST_F(EntryWindow, TellsItsHostAtCloseWhetherTheDatabaseChanged)
{
    fixture::writeDatabase(path, {{1, 1, 1, 5}, {2, 0, 5, 9}});
    RecordingHost host(path);
    // Opens the window on the host, runs the edit, closes the window and gives what the window
    // said of itself and what the host was told.
    auto session = [&](const std::function<void()>& edit) {
        sub = 当選データ入力::load(host, entryRecord());
        w = sub ? static_cast<当選データ入力*>(sub->widget()) : nullptr;
        EXPECT_NE(w, nullptr);
        if (!w)
            return std::tuple(false, std::pair(QString(), false), qsizetype(0));
        edit();
        const bool changed = w->databaseChanged();
        const qsizetype before = host.closed.size();
        sub->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return std::tuple(changed, host.closed.value(before), host.closed.size() - before);
    };
    const auto toldUnchanged = std::tuple(false, std::pair(kEntryForm, false), qsizetype(1));
    const auto toldChanged = std::tuple(true, std::pair(kEntryForm, true), qsizetype(1));

    // Looked at, an editor opened and left, insert and delete declined: nothing changed.
    answer = QMessageBox::No;
    EXPECT_EQ(session([&] {
                  activate(0, 2);
                  w->fpSpread1()->edit(cell(0, 2));
                  QTest::keyClick(editor(), Qt::Key_Return);
                  w->mnuAddLine_Click();
                  w->mnuDelLine_Click();
              }),
              toldUnchanged);
    answer = QMessageBox::Yes;
    EXPECT_EQ(session([&] {
                  activate(1, 1);
                  type(QStringLiteral("4"));
              }),
              toldChanged);
    EXPECT_EQ(session([&] { w->mnuAddLine_Click(); }), toldChanged);
    EXPECT_EQ(session([&] {
                  activate(0, 1);
                  w->mnuDelLine_Click();
              }),
              toldChanged);
    EXPECT_EQ(stored(), (QStringList{"2,4,5,9", "3,,,"}));
}

TEST_F(EntryWindow, EnteredDrawsReachTheDatabaseAndTheHistoryOnceTheWindowCloses)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 7, 7, 7}});
    const History atStart = main->currentHistory();
    ASSERT_EQ(atStart, fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 7, 7, 7}}));
    ASSERT_NE(open(), nullptr);
    activate(2, 1);
    w->mnuAddLine_Click();
    for (const char* digit : {"2", "4", "6"})
        type(QString::fromUtf8(digit));
    activate(0, 1);
    w->mnuDelLine_Click();
    activate(1, 2);
    press(QStringLiteral("1")); // still in the editor when the button is clicked
    const QStringList expected = {"2,0,5,9", "3,7,1,7", "4,2,4,6"};
    EXPECT_EQ(shown()[2], expected[2]);
    // While the window is open, the other windows keep computing from the history read before.
    EXPECT_EQ(main->currentHistory(), atStart);
    w->Command1_Click();
    ASSERT_FALSE(isOpen());
    EXPECT_EQ(shown(), expected);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_EQ(stored(), expected);
    const History entered = fixture::history({{2, 0, 5, 9}, {3, 7, 1, 7}, {4, 2, 4, 6}});
    EXPECT_TRUE(fixture::waitFor([&] { return main->currentHistory().draws() == entered.draws(); }));
}

// The draw day by keyboard: two new draws typed one after the other, starting from wherever the
// cursor was, land every digit under its own position, each with its day by the calendar.
TEST_F(EntryWindow, TwoDrawsTypedInARowLandEveryDigitInItsPlaceWithTheirDays)
{
    start({{7088, 1, 2, 3}, {7089, 4, 3, 1}});
    fixture::exec(path,
                  {QStringLiteral("update 当選データ set 抽せん日 = '2026/10/08' where 回数 = 7088"),
                   QStringLiteral("update 当選データ set 抽せん日 = '2026/10/09' where 回数 = 7089")});
    ASSERT_NE(open(), nullptr);
    activate(1, 3); // in 第3数字, where typing a draw ends
    for (const char* digits : {"456", "789"}) {
        w->mnuAddLine_Click();
        for (const char* d = digits; *d; ++d)
            type(QString(QLatin1Char(*d)));
    }
    EXPECT_EQ(stored(), (QStringList{"7088,1,2,3", "7089,4,3,1", "7090,4,5,6", "7091,7,8,9"}));
    EXPECT_EQ(cell(2, entry::kDateColumn).data().toString(), QStringLiteral("2026/10/12"));
    EXPECT_EQ(cell(3, entry::kDateColumn).data().toString(), QStringLiteral("2026/10/13"));

    // A day is a real date between the days of the draws around it; anything else is refused
    // with the reason, and the stored day stays.
    messages.clear();
    for (const char* bad : {"2026/10/32", "2026/10/09", "2026/10/13", "10/12"}) {
        const qsizetype before = messages.size();
        EXPECT_FALSE(w->sheet()->setData(cell(2, entry::kDateColumn), QString::fromUtf8(bad))) << bad;
        ASSERT_TRUE(fixture::waitFor([&] { return messages.size() > before; })) << bad;
        EXPECT_TRUE(messages.back().text.contains(QStringLiteral("第7090回"))) << bad;
    }
    EXPECT_TRUE(messages[1].text.contains(QStringLiteral("第7089回（2026/10/09）より後")));
    EXPECT_TRUE(messages[2].text.contains(QStringLiteral("第7091回（2026/10/13）より前")));
    EXPECT_EQ(cell(2, entry::kDateColumn).data().toString(), QStringLiteral("2026/10/12"));
    EXPECT_TRUE(w->sheet()->setData(cell(3, entry::kDateColumn), QStringLiteral("２０２６／１０／１４")));
    EXPECT_EQ(cell(3, entry::kDateColumn).data().toString(), QStringLiteral("2026/10/14"));
}

// Every change made while the window is open is taken back and made again step by step, each
// step in the database at once.
TEST_F(EntryWindow, UndoAndRedoEveryKindOfChangeWithTheDatabaseAfterEachStep)
{
    start({{1, 1, 1, 5}, {2, 0, 5, 9}});
    ASSERT_NE(open(), nullptr);
    const QStringList opened = stored();
    activate(1, 2);
    type(QStringLiteral("7")); // a digit
    ASSERT_TRUE(w->sheet()->setData(cell(1, entry::kDateColumn), QStringLiteral("1994/10/14"))); // a day
    w->mnuAddLine_Click(); // a row added
    activate(0, 1);
    w->mnuDelLine_Click(); // a row deleted
    const QStringList steps[]
        = {opened, {"1,1,1,5", "2,0,7,9"}, {"1,1,1,5", "2,0,7,9"}, {"1,1,1,5", "2,0,7,9", "3,,,"}, {"2,0,7,9", "3,,,"}};
    ASSERT_EQ(stored(), steps[4]);
    ASSERT_EQ(w->undoStack()->count(), 4);
    auto day = [&] {
        const int row = w->sheet()->rowOfDrawNo(2);
        return w->sheet()->index(row, entry::kDateColumn).data().toString();
    };
    for (int step = 3; step >= 0; --step) {
        w->mnuUndo_Click();
        EXPECT_EQ(stored(), steps[step]) << step;
        EXPECT_EQ(shown(), steps[step]) << step;
        EXPECT_EQ(day(), step >= 2 ? QStringLiteral("1994/10/14") : QString()) << step;
    }
    EXPECT_FALSE(w->mnuUndo()->isEnabled()) << "back at the state the window opened with";
    for (int step = 1; step <= 4; ++step) {
        QTest::keyClick(w->fpSpread1(), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(stored(), steps[step]) << step;
    }
    EXPECT_FALSE(w->mnuRedo()->isEnabled());
    // The deleted row comes back with its digits and its day.
    QTest::keyClick(w->fpSpread1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(stored(), steps[3]);
    EXPECT_EQ(cell(0, entry::kDateColumn).data().toString(), QString());
    EXPECT_TRUE(w->databaseChanged());
    EXPECT_TRUE(messages.size() == 2) << "only the two questions";
}

// The prizes of a draw: a straight typed fills the kinds still empty with what the same pool pays
// them, by the shape of the draw's number; what was typed before stays.
TEST_F(EntryWindow, AStraightFillsTheKindsStillEmptyByTheShapeOfTheDraw)
{
    using namespace entry;
    start({{1, 1, 2, 3}, {2, 1, 1, 2}, {3, 7, 7, 7}, {4, 5, null(), null()}});
    ASSERT_NE(open(), nullptr);
    // A single, by the keyboard: Enter stores it and moves on to the next amount.
    typeAmount(0, prize::Straight, QStringLiteral("98700"));
    EXPECT_EQ(amountsShown(0), (QStringList{"98,700", "16,400", "57,500", "8,200", "9,800"}));
    EXPECT_EQ(active(), QPoint(prizeColumn(prize::Box), 0));
    // A double with its box typed first (full-width, grouped, as an input method gives it).
    ASSERT_TRUE(w->sheet()->setData(cell(1, prizeColumn(prize::Box)), QStringLiteral("３０，０００")));
    EXPECT_EQ(amountsShown(1), (QStringList{"", "30,000", "", "", ""})) << "nothing else fills from a box";
    ASSERT_TRUE(w->sheet()->setData(cell(1, prizeColumn(prize::Straight)), QStringLiteral("98,700")));
    EXPECT_EQ(amountsShown(1), (QStringList{"98,700", "30,000", "65,800", "16,400", "9,800"}));
    // A triple pays nothing as a box or a set; a draw still without all its digits gets its ミニ.
    // (Pasted as a cell copied from a sheet brings it, with its line end.)
    activate(2, prizeColumn(prize::Straight));
    w->fpSpread1()->edit(cell(2, prizeColumn(prize::Straight)));
    ASSERT_NE(editor(), nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("98,700\r\n"));
    QTest::keyClick(editor(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(amountsShown(2), (QStringList{"98,700", "0", "0", "0", "9,800"}));
    ASSERT_TRUE(w->sheet()->setData(cell(3, prizeColumn(prize::Straight)), QStringLiteral("98700")));
    EXPECT_EQ(amountsShown(3), (QStringList{"98,700", "", "", "", "9,800"}));

    // Any amount may be typed over afterwards, and a straight typed again leaves them.
    ASSERT_TRUE(w->sheet()->setData(cell(0, prizeColumn(prize::SetBox)), QStringLiteral("8,100")));
    ASSERT_TRUE(w->sheet()->setData(cell(0, prizeColumn(prize::Straight)), QStringLiteral("90,000")));
    EXPECT_EQ(amountsShown(0), (QStringList{"90,000", "16,400", "57,500", "8,100", "9,800"}));
    // An emptied cell stores none for its kind; the others stay.
    ASSERT_TRUE(w->sheet()->setData(cell(0, prizeColumn(prize::Mini)), QString()));
    EXPECT_EQ(amountsStored(),
              (QStringList{"1,90000,16400,57500,8100,", "2,98700,30000,65800,16400,9800", "3,98700,0,0,0,9800",
                           "4,98700,,,,9800"}));

    // From the last amount, Enter goes on to the next draw's ストレート; from 第3数字 to the next
    // draw's 第1数字, as ever.
    activate(0, kLastPrizeColumn);
    QTest::keyClick(w->fpSpread1(), Qt::Key_Return);
    EXPECT_EQ(active(), QPoint(kFirstPrizeColumn, 1));
    activate(0, kLastDigitColumn);
    QTest::keyClick(w->fpSpread1(), Qt::Key_Return);
    EXPECT_EQ(active(), QPoint(kFirstDigitColumn, 1));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(EntryWindow, AmountsNoPrizeCanBeAreRefusedSayingWhyAndStoreNothing)
{
    using namespace entry;
    start({{1, 1, 2, 3}});
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(w->sheet()->setData(cell(0, prizeColumn(prize::Straight)), QStringLiteral("98700")));
    const QStringList before = amountsStored();
    activate(0, kFirstDigitColumn);
    for (const QVariant& bad :
         {QVariant("150"), QVariant("-100"), QVariant("100,000,000"), QVariant("abc"), QVariant(-100)}) {
        messages.clear();
        EXPECT_FALSE(w->sheet()->setData(cell(0, prizeColumn(prize::Box)), bad)) << bad.toString().toStdString();
        ASSERT_TRUE(fixture::waitFor([&] { return !messages.isEmpty(); })) << bad.toString().toStdString();
        EXPECT_EQ(messages[0].text,
                  QStringLiteral("第1回のボックス当せん金に誤りがあります。\n\n")
                      + prize::amountRefusal(bad.toString()));
        EXPECT_EQ(active(), QPoint(prizeColumn(prize::Box), 0)) << "back on the cell to type it again";
    }
    EXPECT_EQ(amountsStored(), before);
    EXPECT_EQ(amountsShown(0), (QStringList{"98,700", "16,400", "57,500", "8,200", "9,800"}));
    EXPECT_EQ(w->undoStack()->count(), 1);

    // A database that keeps no prizes (one that could not be brought forward): the cells are
    // empty and cannot be typed in.
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(QFile::remove(path));
    start({{1, 1, 2, 3}}, false);
    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(w->sheet()->hasPrizes());
    EXPECT_FALSE(cell(0, kFirstPrizeColumn).flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(w->sheet()->setData(cell(0, kFirstPrizeColumn), QStringLiteral("98700")));
    activate(0, kFirstPrizeColumn);
    press(QStringLiteral("9"));
    EXPECT_FALSE(w->fpSpread1()->isEditing());
    EXPECT_EQ(amountsShown(0), QStringList(prize::kKinds, QString()));

    // A table made elsewhere may hold a row without a valid 回数: its amounts cannot be typed,
    // while the other rows' can.
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList prizeColumns{QStringLiteral("回数 INTEGER PRIMARY KEY")};
    for (const QString& field : prize::fields())
        prizeColumns << field + QStringLiteral(" INTEGER");
    fixture::exec(path,
                  {QStringLiteral("create table 当せん金 (%1)").arg(prizeColumns.join(u',')),
                   QStringLiteral("insert into 当選データ values (NULL, 4, 5, 6)")});
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(w->sheet()->hasPrizes());
    ASSERT_TRUE(w->sheet()->drawNo(0).isNull()) << "Null sorts first";
    EXPECT_FALSE(cell(0, kFirstPrizeColumn).flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(w->sheet()->setData(cell(0, kFirstPrizeColumn), QStringLiteral("98700")));
    EXPECT_TRUE(w->sheet()->setData(cell(1, kFirstPrizeColumn), QStringLiteral("98700")));
    EXPECT_EQ(amountsStored(), (QStringList{"1,98700,16400,57500,8200,9800"}));
}

// A straight with the amounts it filled is one step: taken back, all five are as they were.
TEST_F(EntryWindow, UndoTakesBackAStraightWithWhatItFilledAsOneStep)
{
    using namespace entry;
    start({{1, 1, 2, 3}, {2, 4, 5, 6}});
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(w->sheet()->setData(cell(1, prizeColumn(prize::Box)), QStringLiteral("15,000")));
    typeAmount(1, prize::Straight, QStringLiteral("90000"));
    const QStringList filled = {"90,000", "15,000", "52,500", "7,500", "9,000"};
    ASSERT_EQ(amountsShown(1), filled);
    ASSERT_EQ(w->undoStack()->count(), 2);
    EXPECT_EQ(w->mnuUndo()->text(), QStringLiteral("元に戻す（第2回のストレート当せん金）"));

    activate(0, kFirstDigitColumn);
    QTest::keyClick(w->fpSpread1(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(amountsShown(1), (QStringList{"", "15,000", "", "", ""}));
    EXPECT_EQ(amountsStored(), (QStringList{"2,,15000,,,"}));
    EXPECT_EQ(active(), QPoint(prizeColumn(prize::Straight), 1));
    w->mnuUndo_Click();
    EXPECT_EQ(amountsShown(1), QStringList(prize::kKinds, QString()));
    EXPECT_EQ(amountsStored(), QStringList()) << "a draw with nothing typed has no row";
    EXPECT_FALSE(w->mnuUndo()->isEnabled());

    w->mnuRedo_Click();
    QTest::keyClick(w->fpSpread1(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(amountsShown(1), filled);
    EXPECT_EQ(amountsStored(), (QStringList{"2,90000,15000,52500,7500,9000"}));
    EXPECT_FALSE(w->mnuRedo()->isEnabled());
    EXPECT_TRUE(messages.isEmpty());
}

// The amounts are in the database: a window opened again shows them, so does the history once
// the window closes, and what another program writes meanwhile is read again with the rows.
TEST_F(EntryWindow, AmountsAreReadWithTheRowsAndReachTheHistory)
{
    using namespace entry;
    start({{1, 1, 2, 3}, {2, 4, 4, 6}});
    ASSERT_NE(open(), nullptr);
    typeAmount(0, prize::Straight, QStringLiteral("98700"));
    w->Command1_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(fixture::waitFor([&] { return main->currentHistory().prizes(0) != nullptr; }));
    EXPECT_EQ(main->currentHistory().prizes(0)->amounts, (std::array<int, 5>{98700, 16400, 57500, 8200, 9800}));
    EXPECT_EQ(main->currentHistory().prizes(1), nullptr);

    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(amountsShown(0), (QStringList{"98,700", "16,400", "57,500", "8,200", "9,800"}));
    fixture::exec(path, {QStringLiteral("insert into 当せん金 (回数, ストレート当せん金) values (2, 45000)")});
    w->databaseFileChanged();
    EXPECT_EQ(amountsShown(1), (QStringList{"45,000", "", "", "", ""}));
    EXPECT_TRUE(messages.isEmpty());
}

// A draw left with some of its digits asks before the window, or the program, closes.
TEST_F(EntryWindow, ClosingWithAPartlyTypedDrawAsksNamingIt)
{
    start({{1, 1, 1, 5}});
    ASSERT_NE(open(), nullptr);
    w->mnuAddLine_Click();
    type(QStringLiteral("4"));
    messages.clear();
    answer = QMessageBox::No;
    sub->close();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].text, QStringLiteral("第2回は数字がそろっていません。このまま閉じますか？"));
    EXPECT_EQ(messages[0].defaultButton, QMessageBox::No);
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(active(), QPoint(2, 1)) << "back at the first missing digit";
    main->close();
    EXPECT_TRUE(isOpen()) << "the program stays open with it";

    answer = QMessageBox::Yes;
    w->Command1_Click();
    EXPECT_EQ(messages.size(), 3);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(stored(), (QStringList{"1,1,1,5", "2,4,,"}));
}

TEST_F(EntryWindow, DatabaseFailuresAreReportedAndNothingIsShownThatIsNotStored)
{
    start({{1, 1, 1, 5}});
    fixture::exec(path,
                  {QStringLiteral("create trigger refuse before update on 当選データ "
                                  "begin select raise(abort, 'refused by test'); end")});
    ASSERT_NE(open(), nullptr);
    EXPECT_FALSE(w->sheet()->setData(cell(0, 1), 4));
    EXPECT_EQ(cell(0, 1).data().toString(), QStringLiteral("1"));
    ASSERT_TRUE(fixture::waitFor([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("refused by test")));
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    // So with an amount, and the amounts it would have filled.
    fixture::exec(path,
                  {QStringLiteral("create trigger refusePrize before insert on 当せん金 "
                                  "begin select raise(abort, 'prize refused by test'); end")});
    messages.clear();
    EXPECT_FALSE(w->sheet()->setData(cell(0, entry::kFirstPrizeColumn), QStringLiteral("98700")));
    EXPECT_EQ(amountsShown(0), QStringList(prize::kKinds, QString()));
    ASSERT_TRUE(fixture::waitFor([&] { return !messages.isEmpty(); }));
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("当せん金を書き込めません。")));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("prize refused by test")));
    EXPECT_EQ(w->undoStack()->count(), 0);
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A database that cannot be opened: the user is told which file and why, nothing opens,
    // propEnd stays as it was, and the entry window can still be opened later. (The host may
    // also warn that it cannot read the history again; that is its own message.)
    messages.clear();
    const QString away = dir.filePath(QStringLiteral("away.db"));
    ASSERT_TRUE(QFile::rename(path, away));
    EXPECT_EQ(open(), nullptr);
    QList<MessageRequest> errors;
    for (const MessageRequest& m : std::as_const(messages)) {
        if (m.icon == QMessageBox::Critical)
            errors << m;
    }
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(errors[0].title, QStringLiteral("メッセ－ジ"));
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(main->propEnd());

    // The highest draw number leaves no room for another row.
    fixture::exec(away, {QStringLiteral("insert into 当選データ (回数) values (32767)")});
    ASSERT_TRUE(QFile::rename(away, path));
    ASSERT_NE(open(), nullptr);
    messages.clear();
    w->mnuAddLine_Click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(w->sheet()->rowCount(), 2);
}

} // namespace
