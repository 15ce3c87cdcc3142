// Where windows go: the main window's placement between runs, children fitted into the client
// area as they open, cascading and tiling many windows, and the controls of a narrow window.

#include "support/catalogue_support.h"
#include "app/main_frm.h"
#include "grid/units.h"
#include "support/history_builder.h"
#include "support/main_window_fixture.h"
#include "support/prediction_test_support.h"
#include "support/special_files.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_view.h"
#include "windows/prediction_window.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

TEST(MainWindowPlacement, FirstStartIsMaximisedAndLaterStartsTakeUpTheLastPlacement)
{
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("ナンバーズ3ズバリン.ini"));
    const MainFrm::Files files{dir.filePath(QStringLiteral("n.db")), dir.filePath(QStringLiteral("none.csv")),
                               settings};
    const QString placement = dir.filePath(QStringLiteral("ナンバーズ3ズバリン.window.ini"));
    const QRect chosen(40, 50, 500, 400);
    {
        MainFrm main(files);
        EXPECT_EQ(main.placementFile(), placement);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(main.isMaximized());
        main.showNormal();
        main.setGeometry(chosen);
        QTest::qWait(20);
        main.close();
    }
    ASSERT_TRUE(QFile::exists(placement));
    EXPECT_FALSE(QFile::exists(settings)) << "the prediction's settings file is none of the main window's business";
    {
        MainFrm main(files);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_FALSE(main.isMaximized());
        EXPECT_EQ(main.geometry(), chosen);
        main.showMaximized();
        QTest::qWait(20);
        main.close();
    }
    {
        // Closed maximised: maximised again, and restoring it gives back the size chosen before.
        MainFrm main(files);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(main.isMaximized());
        main.showNormal();
        QTest::qWait(20);
        EXPECT_EQ(main.geometry(), chosen);
    }
    {
        // A placement no screen shows any more (a screen taken away) counts for nothing.
        QSettings stored(placement, QSettings::IniFormat);
        stored.setValue(QStringLiteral("MainFrm/geometry"), QRect(5000, 40, 500, 400));
        stored.setValue(QStringLiteral("MainFrm/maximized"), false);
    }
    MainFrm main(files);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    EXPECT_TRUE(main.isMaximized());
}

// What a user may leave under the placement file's name: a link to a device (to make the program
// forget), a FIFO, a file far too large, a damaged one, and the empty lock Qt's settings class
// once left beside it. None holds the start or the exit up; only a regular file is replaced,
// by the placement at exit.
TEST(MainWindowPlacement, AFileThatIsNoPlacementHoldsNothingUpAndNoDeviceIsReplaced)
{
    QTemporaryDir dir;
    const MainFrm::Files files{dir.filePath(QStringLiteral("n.db")), dir.filePath(QStringLiteral("none.csv")),
                               dir.filePath(QStringLiteral("ナンバーズ3ズバリン.ini"))};
    const QString placement = dir.filePath(MainFrm::kPlacementFileName);
    const QString device = dir.filePath(QStringLiteral("full"));
    const bool haveDevice = fixture::makeFullDeviceNode(device);
    enum class Kind { DeviceLink, Fifo, Huge, Damaged };
    for (const Kind kind : {Kind::DeviceLink, Kind::Fifo, Kind::Huge, Kind::Damaged}) {
        SCOPED_TRACE(int(kind));
        QFile::remove(placement);
        switch (kind) {
        case Kind::DeviceLink:
            if (!haveDevice)
                continue;
            ASSERT_TRUE(QFile::link(device, placement));
            break;
        case Kind::Fifo:
            ASSERT_EQ(::mkfifo(QFile::encodeName(placement).constData(), 0600), 0);
            break;
        case Kind::Huge: {
            QFile huge(placement);
            ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(100 * 1024 * 1024));
            break;
        }
        case Kind::Damaged:
            fixture::writeBytes(placement,
                                QByteArray("[MainFrm]\ngeometry=@Rect(1 2\n\xff\xfe\0maximized=perhaps\n", 42));
            break;
        }
        fixture::writeBytes(placement + QStringLiteral(".lock"), QByteArray());
        // Should the start wait on the FIFO for a writer, one comes after a while and the time tells.
        std::atomic<bool> started = false;
        std::thread writer([&] {
            for (int i = 0; i < 500 && !started; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!started && kind == Kind::Fifo) {
                const int fd = ::open(QFile::encodeName(placement).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        });
        QElapsedTimer timer;
        timer.start();
        {
            MainFrm main(files);
            started = true;
            main.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
            EXPECT_TRUE(main.isMaximized());
            main.close();
        }
        started = true;
        writer.join();
        EXPECT_LT(timer.elapsed(), 4000);
        switch (kind) {
        case Kind::DeviceLink:
            EXPECT_TRUE(QFileInfo(placement).isSymLink());
            EXPECT_TRUE(fixture::isFullDeviceNode(device));
            break;
        case Kind::Fifo:
            EXPECT_TRUE(fixture::isFifo(placement));
            break;
        case Kind::Huge:
        case Kind::Damaged:
            QFile written(placement);
            EXPECT_TRUE(written.open(QIODevice::ReadOnly)
                        && written.readAll().startsWith("[MainFrm]\ngeometry=@Rect("));
            break;
        }
    }
}

class Placement : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = fixture::mainWindowOver(fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3, 2, 2, 7}}));
    }
    void showMain(QSize size)
    {
        main->resize(size);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }
    QMdiSubWindow* open(const QString& form) { return qobject_cast<QMdiSubWindow*>(main->openChild(form)); }
    QRect area() const { return main->mdiArea()->viewport()->rect(); }
    // Opens every window there is: each analysis and the prediction.
    void openAll()
    {
        for (const catalogue::WindowRecord* record : cataloguetest::analyses())
            ASSERT_TRUE(open(record->form)) << record->form.toStdString();
        ASSERT_TRUE(open(QStringLiteral("一発ズバリン")));
        QTest::qWait(20);
    }
    // Each title bar shows its start (the caption) above every window stacked over it, and
    // each window lies within the area.
    void expectEveryTitleBarInView()
    {
        const QList<QMdiSubWindow*> stack = main->mdiArea()->subWindowList(QMdiArea::StackingOrder);
        ASSERT_EQ(stack.size(), cataloguetest::analyses().size() + 1);
        EXPECT_EQ(stack.last(), main->mdiArea()->activeSubWindow()) << "the active window is on top";
        for (int i = 0; i < stack.size(); ++i) {
            const QRect g = stack[i]->geometry();
            EXPECT_TRUE(area().contains(g)) << stack[i]->windowTitle().toStdString();
            const QRect caption(g.left(), g.top(), qMin(g.width(), 80), stack[i]->widget()->geometry().top());
            for (int above = i + 1; above < stack.size(); ++above) {
                EXPECT_FALSE(stack[above]->geometry().intersects(caption))
                    << stack[above]->windowTitle().toStdString() << " covers the title bar of "
                    << stack[i]->windowTitle().toStdString();
            }
        }
    }

    fixture::InTemporaryDirectory cwd; // the prediction's settings file, should it be written
    std::unique_ptr<MainFrm> main;
};

// Where a widget lies in the window it is part of.
QRect inFrame(const QWidget* widget, const QWidget* frame)
{
    return QRect(widget->mapTo(frame, QPoint(0, 0)), widget->size());
}

TEST_F(Placement, ChildrenOpenAtTheirOwnSizeOrAsLargeAsTheAreaAllows)
{
    main->showHistory(fixture::realHistory());
    showMain({860, 560});
    const QSize split(twipsToPixels(12400), twipsToPixels(12300));
    const QSize frequency(twipsToPixels(13200), twipsToPixels(5280));
    const QSize counts(twipsToPixels(6700), twipsToPixels(3405));
    ASSERT_TRUE(split.width() < area().width() && split.height() > area().height());
    ASSERT_TRUE(frequency.width() > area().width() && frequency.height() < area().height());

    // Too high: as high as the area, its own width, its grid scrolling and its buttons in view.
    QMdiSubWindow* sub = open(QStringLiteral("分割3データ分析"));
    QTest::qWait(20);
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), QSize(split.width(), area().height())));
    auto* frame = static_cast<AnalysisFrame*>(sub->widget());
    EXPECT_TRUE(frame->fpSpread1->verticalScrollBar()->isVisible());
    EXPECT_TRUE(frame->rect().contains(inFrame(frame->Command1, frame)));

    // Too wide: as wide as the area, its own height.
    sub = open(QStringLiteral("出現頻度分析"));
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), QSize(area().width(), frequency.height())));

    // One that fits keeps its size, and a larger main window later changes none of them.
    sub = open(QStringLiteral("回数別出現分析"));
    EXPECT_EQ(sub->geometry(), QRect(QPoint(0, 0), counts));
    const int fitted = area().height();
    main->resize(1200, 900);
    QTest::qWait(20);
    EXPECT_EQ(sub->size(), counts);
    EXPECT_EQ(open(QStringLiteral("分割3データ分析"))->height(), fitted);
}

TEST_F(Placement, CountClassesShowEveryRowAtTheirOwnSizeOrScroll)
{
    main->showHistory(fixture::realHistory());
    showMain({1000, 700});
    auto* frame = static_cast<AnalysisFrame*>(open(QStringLiteral("回数別出現分析"))->widget());
    QTest::qWait(20);
    GridView* grid = frame->fpSpread1;
    const int rows = frame->grid().maxRows();
    ASSERT_GT(rows, 10);
    const bool whole = grid->lastVisibleRow() == rows && grid->cellRect(1, rows).bottom() < grid->viewport()->height();
    EXPECT_TRUE(whole || grid->verticalScrollBar()->isVisible()) << "the last rows out of view, and no way to them";
}

TEST_F(Placement, NarrowAndTallWindowsKeepTheGridUnderItsLabelAndTheButtonsApart)
{
    showMain({1000, 800});
    for (const QString& form : {QStringLiteral("出現間隔分析"), QStringLiteral("出現頻度分析")}) {
        QMdiSubWindow* sub = open(form);
        auto* frame = static_cast<AnalysisFrame*>(sub->widget());
        for (const QSize size : {QSize(160, 700), QSize(900, 700)}) {
            sub->resize(size);
            QTest::qWait(20);
            const QRect grid = frame->fpSpread1->geometry();
            EXPECT_LE(grid.top() - frame->Label1->geometry().bottom(), 12) << "the grid sits right under its label";
            const QRect close = inFrame(frame->Command1, frame);
            EXPECT_GE(close.top(), grid.bottom());
            if (frame->Command2) {
                EXPECT_FALSE(inFrame(frame->Command2, frame).intersects(close));
            }
            EXPECT_TRUE(frame->rect().contains(close));
        }
    }
    QMdiSubWindow* sub = open(QStringLiteral("一発ズバリン"));
    auto* prediction = static_cast<一発ズバリン*>(sub->widget());
    sub->resize(160, 300);
    QTest::qWait(20);
    const QRect close = inFrame(prediction->Cmd閉じる, prediction), print = inFrame(prediction->Command2, prediction);
    EXPECT_FALSE(close.intersects(print));
    EXPECT_TRUE(prediction->rect().contains(close)) << "in view, not scrolled away";
}

TEST_F(Placement, CascadeKeepsEveryWindowInTheAreaAndEveryTitleBarInView)
{
    showMain({1100, 700});
    openAll();
    main->arrangeCascade();
    expectEveryTitleBarInView();
    // A window smaller than the room left to it keeps its own size.
    const QRect counts = qobject_cast<QMdiSubWindow*>(main->childWindow(QStringLiteral("回数別出現分析")))->geometry();
    EXPECT_EQ(counts.size(), QSize(twipsToPixels(6700), twipsToPixels(3405)));

    // More windows than fit down the area: the rest start again at the top, beside the captions
    // (in a wide area, as low as the 26 windows allow).
    main->resize(1300, 420);
    QTest::qWait(20);
    main->arrangeCascade();
    expectEveryTitleBarInView();
    int atTop = 0;
    for (QMdiSubWindow* w : main->mdiArea()->subWindowList())
        atTop += w->y() == 0;
    EXPECT_GE(atTop, 2);
}

TEST_F(Placement, TilingManyWindowsGivesEachRoomForItsControls)
{
    // Every window there is, on a main window as large as a full-HD screen leaves it.
    showMain({1400, 900});
    openAll();
    for (auto arrange : {&MainFrm::arrangeOneAboveTheOther, &MainFrm::arrangeSideBySide}) {
        (main.get()->*arrange)();
        QTest::qWait(20);
        const QList<QMdiSubWindow*> windows = main->mdiArea()->subWindowList();
        for (QMdiSubWindow* w : windows) {
            EXPECT_TRUE(area().contains(w->geometry()));
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->windowTitle().toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->windowTitle().toStdString();
            for (QMdiSubWindow* other : windows)
                EXPECT_TRUE(w == other || !w->geometry().intersects(other->geometry()));
        }
    }
}

} // namespace
