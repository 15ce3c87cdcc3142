// The catalogue, window by window, through the program: each record opens from its menu entry
// under its caption, and each window that computes grids prints exactly what the companion
// exports for it. A second open of a window while it loads builds no second window.

#include "app/help_window.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "catalogue/window_catalogue.h"
#include "grid/grid_export.h"
#include "support/history_fixture.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_output.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return QMessageBox::Ok;
        });
        fixture::writeDatabase(dir.filePath(QStringLiteral("Numbers3Zubarin.db")), fixture::steppedDraws(60));
        // One analysis reflected, so that the windows that predict show what the file says.
        QFile settings(dir.filePath(QStringLiteral("ナンバーズ3ズバリン.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("数字合計分析Opt=True\r\n") > 0);
        settings.close();
        main = std::make_unique<MainFrm>(MainFrm::Files{dir.filePath(QStringLiteral("Numbers3Zubarin.db")),
                                                        dir.filePath(QStringLiteral("none.csv")), settings.fileName()});
        registerWindows(*main);
        ASSERT_TRUE(main->load());
        main->resize(1200, 900);
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }
    void closeWindow(QWidget* window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // What the companion exports for a window, from the same folder.
    QByteArray companionJson(const QString& form)
    {
        QProcess tool;
        tool.start(QStringLiteral(N3_TOOL_PATH),
                   {QStringLiteral("export"), QStringLiteral("--data-dir"), dir.path(), QStringLiteral("--window"),
                    form, QStringLiteral("--format"), QStringLiteral("json")});
        if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
            return tool.readAllStandardError();
        return tool.readAllStandardOutput();
    }

    QTemporaryDir dir;
    std::unique_ptr<MainFrm> main;
    QList<MessageRequest> messages;
};

TEST_F(Catalogue, EveryRecordOpensFromItsMenuEntryUnderItsCaption)
{
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        SCOPED_TRACE(record.form.toStdString());
        QAction* entry = main->menuAction(record.menu.item);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->text(), record.menu.text);
        ASSERT_TRUE(entry->isEnabled());
        main->setPropEnd(true); // the entry window opens only then
        entry->trigger();
        if (record.frame == catalogue::Frame::Help) {
            HelpWindow* help = HelpWindow::instanceFor(main.get());
            EXPECT_TRUE(help->isVisible());
            EXPECT_EQ(help->windowTitle(), record.caption);
            closeWindow(help);
            continue;
        }
        QWidget* window = main->childWindow(record.form);
        ASSERT_TRUE(window);
        // A window over fewer than all draws names them after its caption.
        if (record.defaultRange == RangeChoice::all())
            EXPECT_EQ(window->windowTitle(), record.caption);
        else
            EXPECT_TRUE(window->windowTitle().startsWith(record.caption + QStringLiteral(" - ")));
        EXPECT_EQ(main->propEnd(), record.propEndAtLoad.value_or(true));
        closeWindow(window);
        EXPECT_FALSE(main->childWindow(record.form));
    }
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Catalogue, EveryWindowPrintsWhatTheCompanionExportsForIt)
{
    int compared = 0;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (!record.computes())
            continue;
        SCOPED_TRACE(record.form.toStdString());
        QWidget* window = main->openChild(record.form);
        ASSERT_TRUE(window);
        auto* output = window->findChild<GridOutput*>();
        ASSERT_TRUE(output);
        const QList<const Grid*> grids = output->grids();
        ASSERT_FALSE(grids.isEmpty());
        const PrintHeader header = output->printHeader();
        EXPECT_EQ(header.caption, record.caption);
        EXPECT_EQ(header.titles, record.titles);
        EXPECT_TRUE(catalogue::exportJson(record, grids) == companionJson(record.form));
        ++compared;
        closeWindow(window);
    }
    EXPECT_EQ(compared,
              std::count_if(catalogue::windows().cbegin(), catalogue::windows().cend(),
                            [](const catalogue::WindowRecord& r) { return r.computes(); }));
    EXPECT_GE(compared, 18);
}

TEST_F(Catalogue, ASecondOpenWhileTheFirstIsBeingBuiltBuildsNoSecondWindow)
{
    // A second choice of the same entry that arrives while the window is loading (its load lets
    // pending events run, as every load does under the hourglass).
    const QString form = QStringLiteral("出現頻度分析");
    const catalogue::WindowRecord& record = *catalogue::findWindow(form);
    int loads = 0;
    main->registerChild(form, [&](WindowHost& host) -> QWidget* {
        if (++loads == 1)
            QMetaObject::invokeMethod(
                main.get(), [this, form] { main->openChild(form); }, Qt::QueuedConnection);
        return AnalysisFrame::load(host, record);
    });
    QWidget* first = main->openChild(form);
    QCoreApplication::processEvents();
    int built = 0;
    for (QMdiSubWindow* sub : main->mdiArea()->subWindowList())
        built += sub->widget() && sub->widget()->objectName() == form;
    EXPECT_EQ(built, 1);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(main->childWindow(form), first);
}

} // namespace
