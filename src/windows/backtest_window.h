#pragma once
// 予想の検証: how each method of the prediction window would have done over a stretch of the
// history, next to what chance alone would have done. The option flags are the prediction
// window's, as they are when the window computes.

#include "prediction/backtest.h"
#include "prediction/prediction_settings.h"
#include "windows/range_window.h"

#include <memory>

class GridView;

class BacktestWindow : public RangeWindow {
public:
    static constexpr QSize kSize{1000, 640};

    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record,
                               std::shared_ptr<const PredictionSettings> settings);

    const BacktestSheets& sheets() const { return m_sheets; }

    GridView* summaryView = nullptr;
    GridView* drawsView = nullptr;
    QLabel* noteLabel = nullptr;
    QLabel* flagsLabel = nullptr;

protected:
    void compute(const History& history, DrawRange range) override;
    void showResult() override;
    QList<const Grid*> shownGrids() const override;

private:
    BacktestWindow(WindowHost& host, const catalogue::WindowRecord& record,
                   std::shared_ptr<const PredictionSettings> settings);

    std::shared_ptr<const PredictionSettings> m_settings;
    BacktestSheets m_sheets;
    std::unique_ptr<BacktestSheets> m_computed;
    int m_computedReflected = 0;
};
