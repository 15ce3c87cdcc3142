// The prediction window in the main window: its texts and controls, option clicks, the flags
// kept in the settings file across reopening and from start-up to exit, and a file that
// cannot be written.

#include "app/main_frm.h"
#include "app/window_registry.h"
#include "widgets/grid_output.h"
#include "widgets/grid_view.h"
#include "widgets/message_box.h"
#include "grid/units.h"
#include "support/prediction_test_support.h"
#include "windows/prediction_window.h"
#include "support/main_window_fixture.h"
#include "support/history_fixture.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kForm = QStringLiteral("一発ズバリン");
const QString kFile = QStringLiteral("ナンバーズ3ズバリン.ini");

using fixture::values;

// The elimination grid of the hand-worked history with 0, 1 and 2 analyses reflected.
const QStringList kElimination0 = {"9 7 8 1 4", "3 6 5  ", "    "};
const QStringList kElimination1 = {"9 7 8 3 2", "6 5   ", "    "};
const QStringList kElimination2 = {"9 7 3 1 2", "6 5 8  ", "    "};
const QStringList kCycle = {" 5 ", "6  5", "7  ", "3  "};

using fixture::flagsWith;

std::array<bool, 10> fileFlags()
{
    PredictionSettings settings;
    settings.ReadInitFile();
    return settings.flags();
}

class PredictionWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return QMessageBox::Ok;
        });
        main = fixture::mainWindowOver(fixture::handWorkedPredictionHistory());
    }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }
    一発ズバリン* open()
    {
        main->menuAction(QStringLiteral("mnuYoso"))->trigger();
        auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(kForm));
        return sub ? static_cast<一発ズバリン*>(sub->widget()) : nullptr;
    }
    void closeWindow(一発ズバリン* window)
    {
        window->Cmd閉じる->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static std::array<bool, 10> shownFlags(一発ズバリン* window)
    {
        std::array<bool, 10> flags{};
        for (int i = 0; i < 10; ++i)
            flags[i] = window->Opt反映する[i]->isChecked() && !window->Opt反映しない[i]->isChecked();
        return flags;
    }

    fixture::InTemporaryDirectory cwd;
    std::unique_ptr<MainFrm> main;
    QList<MessageRequest> messages;
};

TEST_F(PredictionWindow, OpensAtTheTopLeftWithItsTextsAndControls)
{
    一発ズバリン* window = open();
    ASSERT_TRUE(window);
    EXPECT_FALSE(main->propEnd());
    EXPECT_FALSE(QApplication::overrideCursor());
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("一発ズバリン予想"));
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    EXPECT_EQ(sub->size(), QSize(twipsToPixels(8244), twipsToPixels(9360)));

    const QStringList texts = {window->Label19->text(),       window->predictionFrame->title(), window->Label1->text(),
                               window->Label2->text(),        window->Label3->text(),           window->Label4->text(),
                               window->optionsFrame->title(), window->Label15->text()};
    EXPECT_EQ(
        texts,
        (QStringList{
            "各データ分析の結果を元に周期法、消去法、連発ズバリン、一発ズバリンの各手法を用いて当選数字を予想します。",
            "当選予想", "●周期法による予想(この予想数字を組合わせて購入します)",
            "●消去法による予想(この予想数字を組合わせて購入します)",
            "●連発ズバリン予想(この予想数字を組む合わせて購入します)", "●一発ズバリン予想", "データ分析オプション",
            "各データ分析の分析結果を当選予想へ反映するかを設定します。"}));
    const QStringList captions = {"■頻度分析（出現頻度分析）",
                                  "■間隔分析（出現間隔分析）",
                                  "■出現回数分析",
                                  "■バラツキ分析",
                                  "■引っ張り分析",
                                  "■連番・飛び石分析",
                                  "■数字合計分析",
                                  "■組合せパターン分析",
                                  "■5分割傾向分析",
                                  "■分割データ分析",
                                  "■下一桁出現傾向分析",
                                  "■下一桁連続出現回数分析"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(window->optionFrames[i]->title(), captions[i]);
        EXPECT_EQ(window->Opt反映する[i]->text() + window->Opt反映しない[i]->text(),
                  QStringLiteral("反映する反映しない"));
        EXPECT_TRUE(window->Opt反映しない[i]->isChecked() && !window->Opt反映する[i]->isChecked())
            << "no file: none reflected";
    }
    EXPECT_EQ(window->Cmd閉じる->text() + window->Command2->text(), QStringLiteral("閉じる印刷"));
    EXPECT_TRUE(window->Command2->isEnabled());
    EXPECT_EQ(values(window->grid(0)), kCycle);
    EXPECT_EQ(values(window->grid(1)), kElimination0);

    // Everything fits the window's own size without scrolling, and each grid shows its whole sheet.
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    auto* scroll = window->findChild<QScrollArea*>();
    ASSERT_TRUE(scroll);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(window->fpSpread1[g]->grid(), &window->grid(g));
        EXPECT_EQ(window->fpSpread1[g]->lastVisibleCol(), window->grid(g).maxCols()) << g;
        EXPECT_EQ(window->fpSpread1[g]->lastVisibleRow(), window->grid(g).maxRows()) << g;
    }
    EXPECT_EQ(main->childWindow(kForm), sub) << "activation at start-up brings the same window forward";

    closeWindow(window);
    EXPECT_TRUE(main->propEnd());
    EXPECT_FALSE(main->childWindow(kForm));
}

TEST_F(PredictionWindow, OptionClicksRefreshThePicksAndReopeningShowsTheFlagsOfTheFile)
{
    一発ズバリン* window = open();
    ASSERT_TRUE(window);
    window->Opt反映する[3]->click();
    EXPECT_EQ(shownFlags(window), flagsWith({3}));
    EXPECT_EQ(values(window->grid(1)), kElimination1);
    EXPECT_EQ(values(window->grid(0)), kCycle) << "the options never move the cycle methods";
    EXPECT_EQ(fileFlags(), flagsWith({3})) << "saved at once";
    QTest::mouseClick(window->Opt反映する[9], Qt::LeftButton);
    EXPECT_EQ(values(window->grid(1)), kElimination2);
    window->Opt反映しない[3]->click();
    EXPECT_EQ(values(window->grid(1)), kElimination1);

    // The last two pairs stand for no flag: selected and refreshed, nothing counted or saved.
    const QByteArray saved = fixture::readBytes(kFile);
    window->Opt反映する[10]->click();
    window->Opt反映する[11]->click();
    EXPECT_TRUE(window->Opt反映する[10]->isChecked() && window->Opt反映する[11]->isChecked());
    EXPECT_EQ(values(window->grid(1)), kElimination1);
    EXPECT_EQ(fixture::readBytes(kFile), saved);

    // Reopened, the window shows the choices made before, and then whatever the file says.
    closeWindow(window);
    window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(shownFlags(window), flagsWith({9}));
    EXPECT_FALSE(window->Opt反映する[10]->isChecked());
    closeWindow(window);
    fixture::writeBytes(
        kFile, QStringLiteral("分割データ分析Opt=False\r\n間隔分析Opt=True\r\n引っ張り分析Opt=1\r\n").toUtf8());
    window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(shownFlags(window), flagsWith({1, 4}));
    EXPECT_EQ(values(window->grid(1)), kElimination2);
    EXPECT_TRUE(messages.isEmpty());

    // The window and its printout name the draw predicted and the draws it comes from; on paper
    // the ten options follow, as chosen.
    const int last = main->currentHistory().lastDrawNo();
    ASSERT_GT(last, 0);
    const QString target = QStringLiteral("第%1回の予想（第%2回までの当選番号から）").arg(last + 1).arg(last);
    EXPECT_EQ(window->LabelTarget->text(), target);
    const QStringList notes = window->output().printHeader().notes;
    ASSERT_EQ(notes.size(), 5);
    EXPECT_EQ(notes[0], target);
    EXPECT_TRUE(notes[1].contains(QStringLiteral("間隔分析（出現間隔分析） 反映する")));
    EXPECT_TRUE(notes[1].contains(QStringLiteral("出現回数分析 反映しない")));
    EXPECT_TRUE(notes[2].contains(QStringLiteral("引っ張り分析 反映する")));
}

TEST_F(PredictionWindow, StartUpReadsTheFileAndExitWritesIt)
{
    const QString db = cwd.filePath(QStringLiteral("n.db"));
    fixture::writeDatabase(db, {{1, 1, 1, 5}, {2, 0, 5, 9}});
    fixture::writeBytes(kFile, QStringLiteral("数字合計分析Opt=True\r\n").toUtf8());
    main = std::make_unique<MainFrm>(MainFrm::Files{db, QString()});
    registerWindows(*main);
    ASSERT_TRUE(main->load());

    // Read at start-up: with the file gone, the window still shows the flag.
    ASSERT_TRUE(QFile::remove(kFile));
    一発ズバリン* window = open();
    ASSERT_TRUE(window);
    EXPECT_EQ(shownFlags(window), flagsWith({6}));
    EXPECT_FALSE(QFile::exists(kFile)) << "opening writes nothing";

    // Written at exit, after the window has closed.
    EXPECT_TRUE(main->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main->propEnd());
    EXPECT_FALSE(main->childWindow(kForm));
    EXPECT_EQ(fileFlags(), flagsWith({6}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(PredictionWindow, ASettingsFileThatCannotBeWrittenIsReportedOnce)
{
    ASSERT_TRUE(QDir().mkdir(kFile));
    一発ズバリン* window = open();
    ASSERT_TRUE(window);
    window->Opt反映する[0]->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(cwd.filePath(kFile)));
    EXPECT_EQ(messages[0].title, QStringLiteral("メッセ－ジ"));
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(values(window->grid(1)), kElimination1) << "the choice still counts";

    window->Opt反映する[1]->click();
    EXPECT_EQ(values(window->grid(1)), kElimination2);
    EXPECT_TRUE(main->close());
    EXPECT_EQ(messages.size(), 1) << "neither the next click nor the exit repeats it";
}

} // namespace
