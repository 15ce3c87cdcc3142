// The main window: its menu tree, start-up and exit, propEnd and the guarded entry command,
// single-instance children, window arrangement, help and the version window.

#include "app/help_window.h"
#include "app/html_help.h"
#include "app/main_frm.h"
#include "app/version_window.h"
#include "widgets/message_box.h"
#include "support/history_builder.h"
#include "support/history_fixture.h"
#include "support/wait.h"

#include <QAction>
#include <QFile>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kEntry = QStringLiteral("当選データ入力");

// A child window that behaves as the program's windows do towards their host.
class ProbeWindow : public QWidget {
public:
    ProbeWindow(WindowHost& host, QStringList* log, const QString& name) : m_host(host), m_log(log), m_name(name)
    {
        cursorAtLoad = QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
        if (m_log)
            *m_log << QStringLiteral("load ") + m_name;
        setWindowTitle(name);
    }
    Qt::CursorShape cursorAtLoad;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        m_host.childClosed(m_name);
        if (m_log)
            *m_log << QStringLiteral("unload ") + m_name;
        event->accept();
    }

private:
    WindowHost& m_host;
    QStringList* m_log;
    QString m_name;
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture::writeDatabase(dir.filePath(QStringLiteral("n.db")),
                               {{1, 1, 1, 5}, {2, 0, 5, 9}, {3, fixture::null(), fixture::null(), fixture::null()}});
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return answer;
        });
        main = std::make_unique<MainFrm>(files());
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }
    MainFrm::Files files() const
    {
        return {dir.filePath(QStringLiteral("n.db")), dir.filePath(QStringLiteral("none.csv"))};
    }
    // Registers a probe child under a form name; counts how often it is loaded.
    void registerProbe(const QString& form, bool propEndAtLoad = false)
    {
        main->registerChild(
            form,
            [this, form](WindowHost& host) -> QWidget* {
                ++loads[form];
                auto* probe = new ProbeWindow(host, &log, form);
                probes[form] = probe;
                return host.addSubWindow(probe);
            },
            MainFrm::PropEndRule{propEndAtLoad});
    }
    void trigger(const char* name) { main->menuAction(QString::fromLatin1(name))->trigger(); }
    void registerVersionWindow()
    {
        main->registerChild(QStringLiteral("バージョン情報"),
                            [](WindowHost& host) -> QWidget* { return new バージョン情報(host.dialogParent()); });
    }
    QMdiSubWindow* subWindowOf(const QString& form) { return qobject_cast<QMdiSubWindow*>(main->childWindow(form)); }
    void closeChild(const QString& form)
    {
        subWindowOf(form)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir dir;
    std::unique_ptr<MainFrm> main;
    QList<MessageRequest> messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    QHash<QString, int> loads;
    QHash<QString, QPointer<ProbeWindow>> probes;
    QStringList log;
};

TEST_F(MainWindow, MenuTreeHasEveryItemWithItsCaptionInOrder)
{
    // name, caption, depth, as the menu bar must read from left to right and top to bottom: the
    // menus and commands of the main window with the catalogue's windows in their places.
    QFile golden(QStringLiteral(N3_SOURCE_DIR "/tests/golden/menu.txt"));
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    QStringList expected = QString::fromUtf8(golden.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QStringList actual;
    std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int depth) {
        for (QAction* a : actions) {
            actual << QString(depth * 2, u' ') + a->objectName() + u' ' + a->text();
            if (a->menu())
                walk(a->menu()->actions(), depth + 1);
        }
    };
    walk(main->menuBar()->actions(), 0);
    EXPECT_EQ(actual, expected) << actual.join(u'\n').toStdString();
    EXPECT_EQ(main->windowTitle().left(10), QStringLiteral("ナンバーズ3ズバリン"));
    EXPECT_GT(main->windowTitle().size(), 10) << "the caption carries an edition name";
}

TEST_F(MainWindow, MaintenanceEntryIsGreyedAndEntriesWithoutAWindowOpenNothing)
{
    EXPECT_FALSE(main->menuAction(QStringLiteral("mnuMasterKanri"))->isEnabled());
    trigger("mnuMasterKanri");
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());

    EXPECT_FALSE(main->menuAction(QStringLiteral("mnuSyutugenHindo"))->isEnabled());
    registerProbe(QStringLiteral("出現頻度分析"));
    EXPECT_TRUE(main->menuAction(QStringLiteral("mnuSyutugenHindo"))->isEnabled());
    EXPECT_FALSE(main->menuAction(QStringLiteral("mnuSyutugenKaisu"))->isEnabled());
}

TEST_F(MainWindow, StartupLoadSetsPropEndAndFiguresAndCallsTheSettingsReader)
{
    QStringList calls;
    main->setSettingsHooks(
        [&] { calls << QStringLiteral("read") << (main->currentHistory().isEmpty() ? "empty" : "loaded"); },
        [&] { calls << QStringLiteral("write"); });
    ASSERT_TRUE(main->load());
    EXPECT_EQ(calls, (QStringList{"read", "empty"})) << "settings are read before the history";
    EXPECT_TRUE(main->propEnd());
    EXPECT_EQ(main->currentHistory().lastDrawNo(), 2);
    EXPECT_EQ(main->currentHistory().figures().classCount, 4);
    EXPECT_FALSE(QApplication::overrideCursor()) << "the pointer is back to the default";
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindow, UnreadableDatabaseEndsStartUpWithAMessageNamingTheFile)
{
    const QString path = dir.filePath(QStringLiteral("n.db"));
    QFile::remove(path);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, '\x01'));
    }
    const QByteArray before = fixture::fileDigest(path);
    EXPECT_FALSE(main->load());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(path)));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("壊れています")));
    EXPECT_EQ(messages[0].title, QStringLiteral("メッセ－ジ"));
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(fixture::fileDigest(path), before);
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(MainWindow, FailedLoadLeavesTheHistoryAndTheConnectionAsTheyWere)
{
    ASSERT_TRUE(main->load());
    const QString connection = main->databasePath();
    const History before = main->currentHistory();
    const QString path = dir.filePath(QStringLiteral("n.db"));
    ASSERT_TRUE(QFile::remove(path));
    QFile garbage(path);
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(2048, '\x01'));
    garbage.close();
    EXPECT_FALSE(main->load());
    EXPECT_EQ(main->databasePath(), connection);
    EXPECT_TRUE(main->currentHistory() == before);
    EXPECT_EQ(main->currentHistory().lastDrawNo(), 2);
}

TEST_F(MainWindow, EntryCommandIsRefusedWhileAChildHoldsPropEnd)
{
    ASSERT_TRUE(main->load());
    registerProbe(kEntry);
    registerProbe(QStringLiteral("出現頻度分析"));
    registerProbe(QStringLiteral("出現間隔分析"));

    trigger("mnuSyutugenHindo");
    EXPECT_FALSE(main->propEnd());
    answer = QMessageBox::No;
    trigger("mnuMasterInput");
    ASSERT_EQ(messages.size(), 1);
    // The message names the windows that hold the entry window back, and offers to close them.
    EXPECT_EQ(messages[0].text,
              QStringLiteral("表示中のウィンドウを閉じないと実行できません。\n\n開いているウィンドウ:\n"
                             "　出現頻度分析\n\nこれらのウィンドウを閉じて当選データ入力を開きますか？"));
    EXPECT_EQ(messages[0].title, QString::fromUtf16(u"メッセ\uFF0Dジ"));
    EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    EXPECT_EQ(messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
    EXPECT_EQ(loads.value(kEntry), 0);
    EXPECT_TRUE(subWindowOf(QStringLiteral("出現頻度分析")));
    EXPECT_FALSE(QApplication::overrideCursor());

    // A then B, close A: the flag holds the latest change, so the entry window opens.
    trigger("mnuSyutugenKankaku");
    closeChild(QStringLiteral("出現頻度分析"));
    EXPECT_TRUE(main->propEnd());
    trigger("mnuMasterInput");
    EXPECT_EQ(loads.value(kEntry), 1);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(subWindowOf(QStringLiteral("出現間隔分析")));

    // Answered yes, the windows that hold it back close (the others stay) and it opens.
    closeChild(kEntry);
    registerProbe(QStringLiteral("偶数奇数の組合せパターン分析"), /*propEndAtLoad=*/true);
    trigger("mnuKisuGusuPattern");
    trigger("mnuNumberKankaku"); // not registered: opens nothing
    trigger("mnuSyutugenHindo");
    EXPECT_FALSE(main->propEnd());
    answer = QMessageBox::Yes;
    trigger("mnuMasterInput");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].text.contains(QStringLiteral("　出現間隔分析\n　出現頻度分析\n\n")));
    EXPECT_EQ(loads.value(kEntry), 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(subWindowOf(QStringLiteral("出現間隔分析")));
    EXPECT_FALSE(subWindowOf(QStringLiteral("出現頻度分析")));
    EXPECT_TRUE(subWindowOf(QStringLiteral("偶数奇数の組合せパターン分析")));
}

// Ctrl+F4 closes the active window; the ウィンドウ menu lists the open ones, the active checked.
TEST_F(MainWindow, WindowMenuListsTheOpenWindowsAndCtrlF4ClosesTheActiveOne)
{
    ASSERT_TRUE(main->load());
    registerProbe(QStringLiteral("出現頻度分析"));
    registerProbe(QStringLiteral("数字合計分析"));
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    trigger("mnuSyutugenHindo");
    trigger("mnuHonsuji");
    main->updateWindowList();
    QMenu* menu = main->menuAction(QStringLiteral("mnuWindow"))->menu();
    QStringList listed;
    for (QAction* action : menu->actions()) {
        if (action->objectName().startsWith(QStringLiteral("mnuWindowList")))
            listed << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
    }
    EXPECT_EQ(listed, (QStringList{"&1 出現頻度分析", "&2 数字合計分析 *"}));
    auto listItem = [&](int n) { return menu->findChild<QAction*>(QStringLiteral("mnuWindowList%1").arg(n)); };
    listItem(1)->trigger();
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), subWindowOf(QStringLiteral("出現頻度分析")));

    QTest::keyClick(main.get(), Qt::Key_F4, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(subWindowOf(QStringLiteral("出現頻度分析")));
    EXPECT_TRUE(subWindowOf(QStringLiteral("数字合計分析")));
    main->updateWindowList();
    ASSERT_TRUE(listItem(1));
    EXPECT_EQ(listItem(1)->text(), QStringLiteral("&1 数字合計分析"));
    EXPECT_FALSE(listItem(2));
    QTest::keyClick(main.get(), Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
}

// The status bar says where the history stands against today, and follows a new history.
TEST_F(MainWindow, StatusBarNamesTheLatestAndTheNextDrawAndTheDrawsMissing)
{
    main->setToday([] { return QDate(1994, 10, 20); });
    ASSERT_TRUE(main->load());
    // Draws 1 and 2 by the calendar: 1994/10/07 and 10/14 (the stored draws have no dates).
    EXPECT_EQ(main->standingLabel()->text(), QStringLiteral("最新 第2回（1994/10/14）　次回 第3回（1994/10/21）"));
    main->setToday([] { return QDate(1994, 11, 1); });
    EXPECT_EQ(main->standingLabel()->text(),
              QStringLiteral("最新 第2回（1994/10/14）　次回 第3回（1994/10/21）　未入力 約2回"));
    main->showHistory(fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 1, 2, 3}}));
    EXPECT_EQ(main->standingLabel()->text(),
              QStringLiteral("最新 第3回（1994/10/21）　次回 第4回（1994/10/28）　未入力 約1回"));
    EXPECT_EQ(main->missingDrawsHint(), nullptr) << "a main window made for a test offers no hint";
}

// Once per start, when draws are missing, a hint beside the window offers to add them.
TEST_F(MainWindow, MissingDrawsHintComesOnceAndOpensTheEntryWindow)
{
    main->setToday([] { return QDate(1994, 11, 1); });
    main->setOffersMissingDraws(true);
    registerProbe(kEntry);
    ASSERT_TRUE(main->load());
    main->activate();
    ASSERT_TRUE(fixture::waitFor([&] { return main->missingDrawsHint() != nullptr; }));
    QDialog* hint = main->missingDrawsHint();
    EXPECT_FALSE(hint->isModal());
    EXPECT_TRUE(hint->findChild<QLabel*>(QStringLiteral("hintText"))->text().contains(QStringLiteral("約2回")));
    hint->findChild<QPushButton*>(QStringLiteral("hintEntry"))->click();
    EXPECT_EQ(loads.value(kEntry), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->missingDrawsHint(), nullptr);
    main->activate();
    QCoreApplication::processEvents();
    EXPECT_EQ(main->missingDrawsHint(), nullptr) << "once per start";
}

TEST_F(MainWindow, WindowThatLeavesPropEndTrueDoesNotBlockTheEntryWindow)
{
    ASSERT_TRUE(main->load());
    registerProbe(kEntry);
    registerProbe(QStringLiteral("偶数奇数の組合せパターン分析"), /*propEndAtLoad=*/true);
    trigger("mnuKisuGusuPattern");
    trigger("mnuMasterInput");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(loads.value(kEntry), 1);
}

TEST_F(MainWindow, ChildWindowsAreSingleInstancesOpenedUnderTheHourglass)
{
    ASSERT_TRUE(main->load());
    registerProbe(QStringLiteral("出現頻度分析"));
    registerProbe(QStringLiteral("数字合計分析"));
    trigger("mnuSyutugenHindo");
    EXPECT_EQ(probes[QStringLiteral("出現頻度分析")]->cursorAtLoad, Qt::WaitCursor);
    EXPECT_FALSE(QApplication::overrideCursor());
    trigger("mnuHonsuji");
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), subWindowOf(QStringLiteral("数字合計分析")));

    // Choosing it again brings the open window forward without loading it again.
    QWidget* first = main->childWindow(QStringLiteral("出現頻度分析"));
    trigger("mnuSyutugenHindo");
    EXPECT_EQ(loads.value(QStringLiteral("出現頻度分析")), 1);
    EXPECT_EQ(main->childWindow(QStringLiteral("出現頻度分析")), first);
    EXPECT_EQ(main->mdiArea()->activeSubWindow(), first);
    EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);

    // A minimised window comes back too.
    subWindowOf(QStringLiteral("出現頻度分析"))->showMinimized();
    trigger("mnuSyutugenHindo");
    EXPECT_FALSE(subWindowOf(QStringLiteral("出現頻度分析"))->isMinimized());

    // Closed and chosen again, it loads anew.
    closeChild(QStringLiteral("出現頻度分析"));
    EXPECT_EQ(main->childWindow(QStringLiteral("出現頻度分析")), nullptr);
    trigger("mnuSyutugenHindo");
    EXPECT_EQ(loads.value(QStringLiteral("出現頻度分析")), 2);
}

TEST_F(MainWindow, ClosingUnloadsChildrenFirstThenWritesSettingsAndReleasesTheHistory)
{
    main->setSettingsHooks({}, [this] {
        log << QStringLiteral("write settings")
            << (main->currentHistory().isEmpty() ? QStringLiteral("history gone") : QStringLiteral("history held"));
    });
    ASSERT_TRUE(main->load());
    registerProbe(QStringLiteral("出現頻度分析"));
    registerProbe(QStringLiteral("バラツキ分析"));
    trigger("mnuSyutugenHindo");
    trigger("mnuBaratsuki");
    log.clear();
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(messages.isEmpty()) << "closing asks nothing";
    ASSERT_EQ(log.size(), 4);
    EXPECT_TRUE(log[0].startsWith(QStringLiteral("unload ")));
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("unload ")));
    EXPECT_EQ(log.mid(2), (QStringList{"write settings", "history held"}));
    EXPECT_TRUE(main->propEnd());
    EXPECT_TRUE(main->currentHistory().isEmpty());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(MainWindow, EndCommandClosesTheMainWindow)
{
    ASSERT_TRUE(main->load());
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    trigger("mnuEnd");
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(main->currentHistory().isEmpty());
}

TEST_F(MainWindow, ActivationOpensThePredictionWindowAtStartUpAndAfterTheVersionWindow)
{
    ASSERT_TRUE(main->load());
    const QString prediction = QStringLiteral("一発ズバリン");
    registerProbe(prediction);
    main->show();
    EXPECT_TRUE(fixture::waitFor([&] { return loads.value(prediction) == 1; }));
    EXPECT_FALSE(main->propEnd());

    closeChild(prediction);
    registerVersionWindow();
    trigger("mnuAbout");
    QWidget* about = main->childWindow(QStringLiteral("バージョン情報"));
    ASSERT_TRUE(about);
    about->activateWindow();
    EXPECT_TRUE(fixture::waitFor([&] { return about->isActiveWindow(); }));
    EXPECT_EQ(loads.value(prediction), 1);
    static_cast<バージョン情報*>(about)->Command1->click();
    main->activateWindow();
    EXPECT_TRUE(fixture::waitFor([&] { return loads.value(prediction) == 2; }));

    // A message box is not a window of the program's own: returning from it does nothing.
    closeChild(prediction);
    registerProbe(kEntry);
    main->setPropEnd(false);
    setMessageInterceptor({});
    bool boxSeen = false;
    QTimer::singleShot(0, [&boxSeen] {
        boxSeen
            = fixture::waitFor([] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr; });
        if (boxSeen)
            QApplication::activeModalWidget()->close();
    });
    trigger("mnuMasterInput");
    EXPECT_TRUE(boxSeen);
    main->activateWindow();
    QTest::qWait(50);
    EXPECT_EQ(loads.value(prediction), 2);
}

TEST_F(MainWindow, ArrangementTilesOneAboveTheOtherAndSideBySide)
{
    ASSERT_TRUE(main->load());
    main->resize(900, 700);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    const QStringList forms
        = {QStringLiteral("出現頻度分析"), QStringLiteral("数字合計分析"), QStringLiteral("バラツキ分析")};
    for (const QString& f : forms)
        registerProbe(f);
    trigger("mnuSyutugenHindo");
    trigger("mnuHonsuji");
    trigger("mnuBaratsuki");
    const QRect area = main->mdiArea()->viewport()->rect();

    trigger("mnuWindowHorizontal");
    QList<QRect> rects;
    for (QMdiSubWindow* w : main->mdiArea()->subWindowList())
        rects << w->geometry();
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
    ASSERT_EQ(rects.size(), 3);
    EXPECT_EQ(rects[0].top(), area.top());
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rects[i].width(), area.width());
        EXPECT_NEAR(rects[i].height(), area.height() / 3, 1);
        if (i > 0) {
            EXPECT_EQ(rects[i].top(), rects[i - 1].bottom() + 1);
        }
    }
    EXPECT_EQ(rects[2].bottom(), area.bottom());
    EXPECT_EQ(rects[0], subWindowOf(QStringLiteral("バラツキ分析"))->geometry()) << "the active window comes first";

    trigger("mnuWindowVertical");
    rects.clear();
    for (QMdiSubWindow* w : main->mdiArea()->subWindowList())
        rects << w->geometry();
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) { return a.left() < b.left(); });
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rects[i].height(), area.height());
        EXPECT_NEAR(rects[i].width(), area.width() / 3, 1);
        if (i > 0) {
            EXPECT_EQ(rects[i].left(), rects[i - 1].right() + 1);
        }
    }

    trigger("mnuWindowCascade");
    const QRect a = subWindowOf(forms[0])->geometry(), b = subWindowOf(forms[1])->geometry();
    EXPECT_NE(a.topLeft(), b.topLeft());

    // Minimised windows line up along the bottom edge and stay out of the tiling.
    subWindowOf(forms[0])->showMinimized();
    subWindowOf(forms[1])->showMinimized();
    trigger("mnuWindowArrangeIcon");
    const QRect i0 = subWindowOf(forms[0])->geometry(), i1 = subWindowOf(forms[1])->geometry();
    EXPECT_EQ(i0.bottom(), area.bottom());
    EXPECT_EQ(i1.bottom(), area.bottom());
    EXPECT_EQ(qMin(i0.left(), i1.left()), area.left());
    EXPECT_EQ(qMax(i0.left(), i1.left()), qMin(i0.right(), i1.right()) + 1);
    trigger("mnuWindowHorizontal");
    const QRect tiled = subWindowOf(forms[2])->geometry();
    EXPECT_EQ(tiled.width(), area.width());
    EXPECT_LE(tiled.bottom(), qMin(i0.top(), i1.top())) << "tiling leaves the icons in view";
}

TEST_F(MainWindow, HelpOpensOneHelpWindowAtThePageAboutTheProgram)
{
    // No help file on disk, and none in the current directory: the manual is the program's own.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    trigger("mnuHelpFile");
    QDir::setCurrent(previous);
    auto* help = main->findChild<HelpWindow*>();
    ASSERT_TRUE(help) << "the help window belongs to the main window";
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow()) << "a window of its own, not a child inside the frame";
    EXPECT_EQ(help->windowTitle(), QStringLiteral("ナンバーズ3ズバリン ヘルプ"));
    EXPECT_EQ(help->currentPage().toString(), HelpWindow::indexUrl().toString()) << "the page about the program";
    EXPECT_FALSE(help->browser()->toPlainText().isEmpty());
    EXPECT_FALSE(help->browser()->isBackwardAvailable()) << "the two calls leave one page in the history";
    EXPECT_TRUE(messages.isEmpty());

    // Asked for again after it was closed on another page: the same window, at the index.
    ASSERT_TRUE(help->showPage(HelpWindow::pageUrl(QStringLiteral("frequency.html"))));
    help->close();
    trigger("mnuHelpFile");
    EXPECT_EQ(main->findChildren<HelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage().toString(), HelpWindow::indexUrl().toString());
}

TEST_F(MainWindow, VersionWindowShowsItsTextsAndClosesWithoutTouchingPropEnd)
{
    ASSERT_TRUE(main->load());
    main->setPropEnd(false);
    registerVersionWindow();
    trigger("mnuAbout");
    auto* about = static_cast<バージョン情報*>(main->childWindow(QStringLiteral("バージョン情報")));
    ASSERT_TRUE(about);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_TRUE(about->isWindow()) << "a window of its own, not a child inside the frame";
    EXPECT_EQ(about->Label1->text(), QStringLiteral("ナンバーズ３ズバリン"));
    EXPECT_EQ(about->Label2->text(), QStringLiteral(" Ver1.10"));
    EXPECT_EQ(about->Label3->text(),
              QStringLiteral(
                  "　　　　　一発ズバリンと高額当選を狙う！！　　　　　　　　　　「ナンバーズ３次世代攻略ソフト」"));
    EXPECT_EQ(about->Command1->text(), QStringLiteral("閉じる"));
    trigger("mnuAbout");
    EXPECT_EQ(main->childWindow(QStringLiteral("バージョン情報")), about) << "a single instance";
    QPointer<QWidget> alive(about);
    about->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_FALSE(main->propEnd());
}

} // namespace
