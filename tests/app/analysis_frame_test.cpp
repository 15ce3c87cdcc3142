// The frame of the analysis windows: the family table, the load sequence with propEnd,
// placement and size, the controls, closing and reopening.

#include "catalogue/window_catalogue.h"
#include "app/main_frm.h"
#include "app/window_registry.h"
#include "widgets/analysis_frame.h"
#include "widgets/grid_view.h"
#include "widgets/line_chart.h"
#include "widgets/message_box.h"
#include "grid/units.h"
#include "support/main_window_fixture.h"
#include "support/history_builder.h"

#include <QAction>
#include <QChart>
#include <QLegend>
#include <QLineSeries>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AnalysisFrameTest : public ::testing::Test {
protected:
    void SetUp() override { main = fixture::mainWindowOver(fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3}})); }
    void TearDown() override
    {
        main.reset();
        setMessageInterceptor({});
    }
    AnalysisFrame* frameOf(const QString& form)
    {
        auto* sub = qobject_cast<QMdiSubWindow*>(main->childWindow(form));
        return sub ? static_cast<AnalysisFrame*>(sub->widget()) : nullptr;
    }
    void trigger(const char* name) { main->menuAction(QString::fromLatin1(name))->trigger(); }

    std::unique_ptr<MainFrm> main;
};

TEST_F(AnalysisFrameTest, FrequencyChartOpensAtTheTopLeftWithItsControls)
{
    trigger("mnuSyutugenHindo");
    AnalysisFrame* frame = frameOf(QStringLiteral("出現頻度分析"));
    ASSERT_TRUE(frame);
    EXPECT_FALSE(main->propEnd());
    auto* sub = qobject_cast<QMdiSubWindow*>(frame->parentWidget());
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    EXPECT_EQ(sub->size(), QSize(twipsToPixels(13200), twipsToPixels(5280)));
    EXPECT_EQ(sub->windowTitle(), QStringLiteral("出現頻度分析"));
    EXPECT_EQ(frame->Label1->text(), QStringLiteral("過去の当選番号の出現回数を数字別に分析します"));
    ASSERT_TRUE(frame->Picture1);
    EXPECT_EQ(frame->Picture1->pixmap().size(), QSize(13, 13));
    EXPECT_EQ(frame->Label2->text(), QStringLiteral("：当選数字"));
    EXPECT_EQ(frame->Command1->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(frame->Command2, nullptr);
    EXPECT_EQ(frame->fpSpread1->grid(), &frame->grid());
    EXPECT_EQ(frame->grid().maxRows(), 4);
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(AnalysisFrameTest, CloseButtonSetsPropEndAndANewHistoryReachesTheOpenWindow)
{
    trigger("mnuSyutugenHindo");
    AnalysisFrame* frame = frameOf(QStringLiteral("出現頻度分析"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->grid().maxRows(), 4);

    // A new history is computed by the open window itself; choosing it again only brings it forward.
    main->showHistory(fixture::history({{1, 3, 3, 3}, {2, 3, 3, 3}}));
    trigger("mnuSyutugenHindo");
    EXPECT_EQ(frameOf(QStringLiteral("出現頻度分析")), frame);
    EXPECT_EQ(frame->grid().maxRows(), 6 + 2);

    QPointer<AnalysisFrame> alive(frame);
    frame->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
    EXPECT_TRUE(main->propEnd());

    trigger("mnuSyutugenHindo");
    ASSERT_TRUE(frameOf(QStringLiteral("出現頻度分析")));
    EXPECT_EQ(frameOf(QStringLiteral("出現頻度分析"))->grid().maxRows(), 6 + 2);
}

TEST_F(AnalysisFrameTest, LoadFollowsTheTableForPropEndPrintButtonAndLegend)
{
    catalogue::WindowRecord info = *catalogue::findWindow(QStringLiteral("出現頻度分析"));
    info.form = QStringLiteral("試験");
    info.propEndAtLoad = true;
    info.printButton = true;
    info.legend = catalogue::Legend::PreviousDigitSwatch;
    QMdiSubWindow* sub = AnalysisFrame::load(*main, info);
    auto* frame = static_cast<AnalysisFrame*>(sub->widget());
    ASSERT_TRUE(frame->Command2);
    EXPECT_EQ(frame->Command2->text(), QStringLiteral("印刷"));
    EXPECT_TRUE(frame->Command2->isEnabled());
    EXPECT_EQ(frame->Picture1, nullptr);
    EXPECT_EQ(frame->Label2->text(), QString());
    EXPECT_EQ(frame->Label2->palette().color(QPalette::Window), QColor(128, 255, 255));
    EXPECT_EQ(frame->Label3->text(), QStringLiteral(":前回の数字"));

    info.legend = catalogue::Legend::Ball19;
    QMdiSubWindow* ball = AnalysisFrame::load(*main, info);
    EXPECT_EQ(static_cast<AnalysisFrame*>(ball->widget())->Picture1->pixmap().size(), QSize(19, 19));
    sub->close();
    ball->close();
}

TEST_F(AnalysisFrameTest, GridFollowsTheWindowUpToTheWholeSheet)
{
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    trigger("mnuSyutugenHindo");
    AnalysisFrame* frame = frameOf(QStringLiteral("出現頻度分析"));
    auto* sub = qobject_cast<QMdiSubWindow*>(frame->parentWidget());
    sub->resize(sub->width(), 800);
    QTest::qWait(20);
    // Four rows never need 800 pixels: the grid stops at the sheet's own size.
    EXPECT_LT(frame->fpSpread1->height(), 200);
    EXPECT_EQ(frame->fpSpread1->lastVisibleRow(), 4);
    sub->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    main->showHistory(fixture::history({{1, 0, 0, 0},
                                        {2, 0, 0, 0},
                                        {3, 0, 0, 0},
                                        {4, 0, 0, 0},
                                        {5, 0, 0, 0},
                                        {6, 0, 0, 0},
                                        {7, 0, 0, 0},
                                        {8, 0, 0, 0},
                                        {9, 0, 0, 0},
                                        {10, 0, 0, 0},
                                        {11, 0, 0, 0},
                                        {12, 0, 0, 0},
                                        {13, 0, 0, 0}}));
    trigger("mnuSyutugenHindo");
    frame = frameOf(QStringLiteral("出現頻度分析"));
    sub = qobject_cast<QMdiSubWindow*>(frame->parentWidget());
    QTest::qWait(20);
    const int opened = frame->fpSpread1->height();
    auto rowsInView = [&] { return frame->fpSpread1->lastVisibleRow() - frame->fpSpread1->firstVisibleRow() + 1; };
    const int rowsOpened = rowsInView();
    EXPECT_LT(rowsOpened, 39) << "39 mark rows do not fit the window as it opens";
    sub->resize(sub->width(), 250);
    QTest::qWait(20);
    EXPECT_LT(frame->fpSpread1->height(), opened);
    sub->resize(sub->width(), 800);
    QTest::qWait(20);
    EXPECT_GT(frame->fpSpread1->height(), opened);
    EXPECT_GT(rowsInView(), rowsOpened);
}

TEST_F(AnalysisFrameTest, EmptyHistoryShowsHeadingsOverAnEmptySheet)
{
    main->showHistory(History());
    trigger("mnuSyutugenHindo");
    AnalysisFrame* frame = frameOf(QStringLiteral("出現頻度分析"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->grid().maxRows(), 2);
    EXPECT_EQ(frame->grid().text(1, 2), QStringLiteral("出現数"));
}

// 収支's line chart shows its sheets' lines, and follows a new history (and its tickets) as the
// grids do.
TEST_F(AnalysisFrameTest, ALineChartBelowTheGridsFollowsANewHistory)
{
    trigger("mnuBalance");
    AnalysisFrame* frame = frameOf(QStringLiteral("収支"));
    ASSERT_TRUE(frame);
    ASSERT_TRUE(frame->lineChart);
    EXPECT_EQ(frame->chart, nullptr);
    EXPECT_TRUE(frame->lineChart->data().x.isEmpty());
    EXPECT_EQ(frame->lineChart->data().title, QStringLiteral("累計収支"));

    ticket::Line line;
    line.number = QStringLiteral("159");
    line.firstDraw = 1;
    line.draws = 3;
    main->showHistory(fixture::history({{1, 1, 1, 5}, {2, 0, 5, 9}, {3}}).withTickets({line}));
    // Draw 3 is not drawn: two points, on each line.
    EXPECT_EQ(frame->lineChart->data().x, (QVector<double>{1, 2}));
    const QList<QAbstractSeries*> series = frame->lineChart->chart()->series();
    ASSERT_EQ(series.size(), 2);
    for (QAbstractSeries* s : series)
        EXPECT_EQ(static_cast<QLineSeries*>(s)->count(), 2) << s->name().toStdString();
    EXPECT_EQ(static_cast<QLineSeries*>(series[0])->at(1), QPointF(2, -400));
    EXPECT_EQ(frame->views.at(2)->grid()->maxRows(), 4);
}

// Squeezed (tiled with many others), the chart drops its texts rather than clip them, and takes
// them back with the room.
TEST(LineChart, SqueezedItDropsItsTextsAndTakesThemBack)
{
    LineChartView view;
    view.setData({QStringLiteral("累計収支"),
                  QStringLiteral("回数"),
                  QStringLiteral("円"),
                  {1, 2},
                  {{QStringLiteral("累計収支"), {-200, 14800}}}});
    const int text = view.fontMetrics().height();
    view.resize(40 * text, 14 * text);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.chart()->title(), QStringLiteral("累計収支"));
    EXPECT_TRUE(view.chart()->legend()->isVisible());
    view.resize(40 * text, 5 * text);
    EXPECT_TRUE(view.chart()->title().isEmpty());
    EXPECT_FALSE(view.chart()->legend()->isVisible());
    view.resize(40 * text, 14 * text);
    EXPECT_EQ(view.chart()->title(), QStringLiteral("累計収支"));
    EXPECT_TRUE(view.chart()->legend()->isVisible());
}

TEST(LineChart, AxisMarksFallOnRoundNumbers)
{
    EXPECT_EQ(LineChartView::xMarks(6500, 7089), (QVector<int>{6500, 6600, 6700, 6800, 6900, 7000}));
    EXPECT_EQ(LineChartView::xMarks(1, 32767), (QVector<int>{5000, 10000, 15000, 20000, 25000, 30000}));
    EXPECT_EQ(LineChartView::xMarks(7087, 7089), (QVector<int>{7087, 7088, 7089}));
    EXPECT_EQ(LineChartView::xMarks(1, 2), (QVector<int>{1, 2}));
}

TEST(LineChart, ALongLineKeepsWhatEachPartOfItPassesThrough)
{
    const QVector<double> x{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const QVector<double> y{0, 5, -3, 2, 1, 4, -6, 7, 0, 1};
    // Draws 1–5 and 6–10: the first, the highest, the lowest and the last of each, in order.
    EXPECT_EQ(LineChartView::drawnPoints(x, y, 2),
              (QList<QPointF>{{1, 0}, {2, 5}, {3, -3}, {5, 1}, {6, 4}, {7, -6}, {8, 7}, {10, 1}}));
    // Few points: every one.
    EXPECT_EQ(LineChartView::drawnPoints(x, y, 3).size(), 10);
}

} // namespace
