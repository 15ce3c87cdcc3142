// 印刷 and the grids' context menus in the windows: each print button opens the preview of its
// window's grids, every grid view has the menu (a window without a print button too), and what a
// window saves is its own grids, never over the database the program has open.

#include "app/main_frm.h"
#include "app/window_registry.h"
#include "grid/grid_export.h"
#include "print/page_layout.h"
#include "support/history_fixture.h"
#include "support/prediction_test_support.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_output.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"
#include "windows/backtest_window.h"
#include "windows/prediction_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QRegularExpression>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

class GridOutputWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return QMessageBox::Ok;
        });
        fixture::writeDatabase(db, fixture::steppedDraws(40));
        main = std::make_unique<MainFrm>(MainFrm::Files{db, cwd.filePath(QStringLiteral("none.csv"))});
        registerWindows(*main);
        ASSERT_TRUE(main->load());
        main->resize(1200, 900);
        main->show();
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        main.reset();
        setMessageInterceptor({});
    }
    QWidget* open(const char* action, const QString& form)
    {
        main->menuAction(QString::fromLatin1(action))->trigger();
        auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(form));
        return sub ? sub->widget() : nullptr;
    }
    // The texts of the context menu open now, without separators; the menu is closed.
    static QStringList openMenuTexts()
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return {};
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text();
        }
        menu->close();
        return texts;
    }

    fixture::InTemporaryDirectory cwd;
    QString db = cwd.filePath(QStringLiteral("n.db"));
    std::unique_ptr<MainFrm> main;
    QList<MessageRequest> messages;
};

TEST_F(GridOutputWindows, EveryPrintButtonPreviewsEveryPageOfItsWindowsGrids)
{
    const std::pair<const char*, QString> windows[] = {
        {"mnuSyutugenKankaku", QStringLiteral("出現間隔分析")},
        {"mnuYoso", QStringLiteral("一発ズバリン")},
        {"mnuBacktest", QStringLiteral("予想の検証")},
        {"mnuRandomness", QStringLiteral("ランダム性の検定")},
    };
    for (const auto& [action, form] : windows) {
        SCOPED_TRACE(form.toStdString());
        QWidget* window = open(action, form);
        ASSERT_TRUE(window);
        auto* print = window->findChild<QPushButton*>(QStringLiteral("Command2"));
        auto* output = window->findChild<GridOutput*>();
        ASSERT_TRUE(print && output);
        EXPECT_TRUE(print->isEnabled());
        EXPECT_EQ(print->text(), QStringLiteral("印刷"));

        const PageLayout expected(output->grids(), output->printHeader(), output->pageLayout());
        if (form == QStringLiteral("一発ズバリン")) {
            // Its four small grids share a page, each under the line the window shows above it.
            EXPECT_EQ(expected.pageCount(), 1);
            for (int g = 0; g < 4; ++g) {
                auto* label = window->findChild<QLabel*>(QStringLiteral("Label%1").arg(g + 1));
                ASSERT_TRUE(label);
                EXPECT_EQ(output->printHeader().titles.value(g), label->text());
            }
        }
        int previewed = -1;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (preview && preview->isVisible()) {
                poll.stop();
                if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
                    previewed = pages->pageCount();
                preview->reject();
            }
        });
        poll.start();
        QTimer::singleShot(20000, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close(); // fail below rather than hang
        });
        print->click();
        EXPECT_GE(expected.pageCount(), 1);
        EXPECT_EQ(previewed, expected.pageCount());
        EXPECT_TRUE(messages.isEmpty());
        // A4 portrait until the preview's page setup says otherwise.
        EXPECT_EQ(output->pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(output->pageLayout().orientation(), QPageLayout::Portrait);
    }
}

TEST_F(GridOutputWindows, AWindowWithoutAPrintButtonHasTheMenuFromTheMouseAndTheKeyboard)
{
    auto* frame = dynamic_cast<AnalysisFrame*>(open("mnuSyutugenHindo", QStringLiteral("出現頻度分析")));
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->Command2, nullptr);
    const QStringList items = {QStringLiteral("コピー"), QStringLiteral("CSV で保存…"), QStringLiteral("PDF で保存…"),
                               QStringLiteral("印刷…")};

    QWidget* viewport = frame->fpSpread1->viewport();
    const QPoint at = frame->fpSpread1->cellRect(2, 2).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &click);
    EXPECT_EQ(openMenuTexts(), items);

    frame->fpSpread1->setFocus();
    QTest::keyClick(frame->fpSpread1, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(openMenuTexts(), items);
    // The menu key, as the window system hands it on.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), frame->fpSpread1->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(frame->fpSpread1, &key);
    EXPECT_EQ(openMenuTexts(), items);
}

TEST_F(GridOutputWindows, CopyTakesTheGridClickedOfTheFour)
{
    auto* window = dynamic_cast<一発ズバリン*>(open("mnuYoso", QStringLiteral("一発ズバリン")));
    ASSERT_TRUE(window);
    // Each grid's active cell on the name of its first method; the copy must come from the one clicked.
    for (GridView* other : window->fpSpread1)
        other->setActiveCell(1, 2);
    GridView* view = window->fpSpread1[2];
    const QString expected = view->copyText();
    ASSERT_FALSE(expected.isEmpty());
    for (GridView* other : window->fpSpread1) {
        if (other != view) {
            ASSERT_NE(other->copyText(), expected);
        }
    }
    QApplication::clipboard()->setText(QStringLiteral("before"));

    const QPoint at = view->cellRect(1, 2).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &click);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    const QList<QAction*> actions = menu->actions();
    const auto copy = std::find_if(actions.cbegin(), actions.cend(),
                                   [](const QAction* a) { return a->text() == QStringLiteral("コピー"); });
    ASSERT_NE(copy, actions.cend());
    (*copy)->trigger();
    menu->close();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);
}

TEST_F(GridOutputWindows, WindowsSaveTheirOwnGridsAndNeverOverTheDatabase)
{
    QFile file(db);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    auto* interval = dynamic_cast<AnalysisFrame*>(open("mnuSyutugenKankaku", QStringLiteral("出現間隔分析")));
    auto* backtest = dynamic_cast<BacktestWindow*>(open("mnuBacktest", QStringLiteral("予想の検証")));
    auto* prediction = dynamic_cast<一発ズバリン*>(open("mnuYoso", QStringLiteral("一発ズバリン")));
    ASSERT_TRUE(interval && backtest && prediction);
    const QList<GridOutput*> outputs = {&interval->output(), &backtest->output(), &prediction->output()};
    for (GridOutput* output : outputs) {
        EXPECT_FALSE(output->savePdfTo(db));
        EXPECT_FALSE(output->saveCsvTo(db));
    }
    EXPECT_EQ(messages.size(), 2 * outputs.size());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    file.close();

    const QString csv = cwd.filePath(QStringLiteral("out.csv"));
    const QList<QList<const Grid*>> grids = {
        {&interval->grid()},
        {&backtest->sheets().summary(), &backtest->sheets().draws()},
        {&prediction->grid(0), &prediction->grid(1), &prediction->grid(2), &prediction->grid(3)},
    };
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        ASSERT_TRUE(outputs[i]->saveCsvTo(csv));
        QFile saved(csv);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_EQ(saved.readAll(), withUtf8Bom(gridsToCsv(grids[i]))) << outputs[i]->caption().toStdString();
    }

    // The range window heads its pages with the draws of its range.
    const QString drawRange = backtest->output().printHeader().drawRange;
    const std::optional<DrawRange> tested = main->currentHistory().completeDrawsIn(backtest->range());
    ASSERT_TRUE(tested);
    const QRegularExpression firstToLast(
        QStringLiteral("^第%1回(（[^）]*）)?～第%2回(（[^）]*）)?$").arg(tested->from).arg(tested->to));
    EXPECT_TRUE(firstToLast.match(drawRange).hasMatch()) << drawRange.toStdString();
}

} // namespace
