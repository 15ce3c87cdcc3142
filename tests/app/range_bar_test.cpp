// The range bar as the player uses it: a choice applies at once and names the draws in the
// title, 直近N回 follows a new draw, each window keeps its choice across a restart, and one
// choice goes to every open window.

#include "support/history_builder.h"
#include "support/main_window_fixture.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_output.h"
#include "widgets/range_bar.h"
#include "windows/prediction_window.h"
#include "windows/randomness_window.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using fixture::drawsUpTo;

const QString kCount = QStringLiteral("出現回数分析");

TEST(RangeBar, ATypedNumberAppliesWithEnterAndTheLastDrawsFollowTheHistory)
{
    auto main = fixture::mainWindowOver(drawsUpTo(30));
    main->show();
    auto* frame = fixture::openedFrom<AnalysisFrame>(*main, "mnuZenkaiSyutugen", kCount);
    ASSERT_TRUE(frame);
    RangeBar* bar = frame->rangeBar();
    ASSERT_TRUE(bar && bar->isVisible());
    EXPECT_EQ(bar->coverText(), QStringLiteral("全期間（第1回〜第30回）"));
    EXPECT_EQ(frame->parentWidget()->windowTitle(), kCount);

    bar->kindBox->setCurrentIndex(1);
    Q_EMIT bar->kindBox->activated(1);
    EXPECT_EQ(frame->rangeChoice(), RangeChoice::lastDraws(100)) << "the N last used";
    bar->lastBox->lineEdit()->selectAll();
    QTest::keyClicks(bar->lastBox->lineEdit(), QStringLiteral("10"));
    EXPECT_EQ(frame->rangeChoice(), RangeChoice::lastDraws(100)) << "typing alone applies nothing";
    QTest::keyClick(bar->lastBox->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(frame->rangeChoice(), RangeChoice::lastDraws(10));
    EXPECT_EQ(frame->parentWidget()->windowTitle(), QStringLiteral("出現回数分析 - 直近10回（第21回〜第30回）"));
    EXPECT_EQ(frame->grid().drawRows().drawAt(frame->grid().drawRows().firstRow()), 21);

    // On paper and in the file offered, the period.
    EXPECT_EQ(frame->output().printHeader().period, QStringLiteral("直近10回"));
    EXPECT_TRUE(
        frame->output().suggestedPath(QStringLiteral("csv")).endsWith(QStringLiteral("/出現回数分析_直近10回.csv")));

    main->showHistory(drawsUpTo(31));
    EXPECT_EQ(bar->coverText(), QStringLiteral("直近10回（第22回〜第31回）"));
    EXPECT_EQ(frame->grid().drawRows().drawAt(frame->grid().drawRows().firstRow()), 22);
}

TEST(RangeBar, EachWindowKeepsItsChoiceAcrossARestart)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const MainFrm::Files files{.database = dir.filePath(QStringLiteral("n.db")),
                               .shippedHistory = QString(),
                               .settings = dir.filePath(QStringLiteral("n.ini"))};
    {
        MainFrm main(files);
        main.setPropEnd(true);
        registerWindows(main);
        main.showHistory(drawsUpTo(40));
        auto* frame = fixture::openedFrom<AnalysisFrame>(main, "mnuZenkaiSyutugen", kCount);
        ASSERT_TRUE(frame);
        frame->chooseRange(RangeChoice::between(5, 20));
        // Closed and opened again in the same run: the same draws.
        main.childWindow(kCount)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        frame = fixture::openedFrom<AnalysisFrame>(main, "mnuZenkaiSyutugen", kCount);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->rangeChoice(), RangeChoice::between(5, 20));
    }
    QFile placement(dir.filePath(MainFrm::kPlacementFileName));
    ASSERT_TRUE(placement.open(QIODevice::ReadOnly)) << "kept at once, before any exit";
    EXPECT_TRUE(placement.readAll().contains("出現回数分析=between 5 20"));

    MainFrm again(files);
    again.setPropEnd(true);
    registerWindows(again);
    again.showHistory(drawsUpTo(41));
    auto* frame = fixture::openedFrom<AnalysisFrame>(again, "mnuZenkaiSyutugen", kCount);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->rangeChoice(), RangeChoice::between(5, 20)) << "a typed range stays as typed";
    EXPECT_EQ(frame->rangeBar()->fromBox->value(), 5);
    EXPECT_EQ(frame->rangeBar()->toBox->value(), 20);
    auto* other = fixture::openedFrom<AnalysisFrame>(again, "mnuBaratsuki", QStringLiteral("バラツキ分析"));
    ASSERT_TRUE(other);
    EXPECT_EQ(other->rangeChoice(), RangeChoice::all()) << "another window keeps its own";
}

TEST(RangeBar, OneChoiceGoesToEveryOpenWindow)
{
    auto main = fixture::mainWindowOver(drawsUpTo(60));
    main->show();
    auto* count = fixture::openedFrom<AnalysisFrame>(*main, "mnuZenkaiSyutugen", kCount);
    auto* randomness
        = fixture::openedFrom<RandomnessWindow>(*main, "mnuRandomness", QStringLiteral("ランダム性の検定"));
    main->menuAction(QStringLiteral("mnuYoso"))->trigger();
    auto* prediction = dynamic_cast<一発ズバリン*>(
        qobject_cast<QMdiSubWindow*>(main->childWindow(QStringLiteral("一発ズバリン")))->widget());
    ASSERT_TRUE(count && randomness && prediction);

    count->chooseRange(RangeChoice::lastDraws(30));
    QAction* toAll = count->rangeBar()->menu->findChild<QAction*>(QStringLiteral("rangeToAll"));
    ASSERT_TRUE(toAll);
    toAll->trigger();
    for (ChildFrame* frame : std::initializer_list<ChildFrame*>{count, randomness, prediction})
        EXPECT_EQ(frame->rangeChoice(), RangeChoice::lastDraws(30)) << frame->record().form.toStdString();
    EXPECT_EQ(randomness->range(), (DrawRange{31, 32767})) << "the draws it tests";
    EXPECT_EQ(prediction->LabelTarget->text(), QStringLiteral("第61回の予想（第31回〜第60回の当選番号から）"));
}

} // namespace
