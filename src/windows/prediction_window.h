#pragma once
// 一発ズバリン: the prediction window. Four grids of picks for the next draw (cycle methods,
// elimination, repeat and one-shot) and, for ten analyses, whether each is reflected in the
// prediction. The flags belong to a PredictionSettings that outlives the window, so they
// survive closing and reopening it, and a new history keeps them.

#include "catalogue/window_catalogue.h"
#include "data/history.h"
#include "prediction/prediction_sheets.h"
#include "prediction/prediction_settings.h"
#include "widgets/child_frame.h"

#include <array>
#include <memory>

class GridView;
class QGroupBox;
class QLabel;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;

// No Q_OBJECT: moc skips classes with Japanese names, so signals go to lambdas.
class 一発ズバリン : public ChildFrame {
public:
    static constexpr int kWidthTwips = 8244;
    static constexpr int kHeightTwips = 9360;
    static constexpr int kOptionCount = 12; // 10 and 11 stand for analyses without a flag
    // The option frames' captions, index 0 to 11.
    static const std::array<QString, kOptionCount> kOptionCaptions;

    // The load sequence: hourglass, placement and size, the settings file, the flags on the
    // options, the grids, the tables of the host's current history and the picks. Returns the
    // sub-window.
    static QMdiSubWindow* load(WindowHost& host, const catalogue::WindowRecord& record,
                               std::shared_ptr<PredictionSettings> settings);

    // Saves the flags; a failure is told to the user once, not at every click.
    static bool saveSettings(PredictionSettings& settings, QWidget* parent);

    const Grid& grid(int index) const { return m_sheets.grid(index); }
    const PredictionSheets& sheets() const { return m_sheets; }
    const PredictionSettings& settings() const { return *m_settings; }

    std::array<GridView*, PredictionSheets::kGridCount> fpSpread1{};
    std::array<QRadioButton*, kOptionCount> Opt反映する{};
    std::array<QRadioButton*, kOptionCount> Opt反映しない{};
    std::array<QGroupBox*, kOptionCount> optionFrames{};
    QGroupBox* predictionFrame = nullptr; // 当選予想
    QGroupBox* optionsFrame = nullptr; // データ分析オプション
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* LabelTarget = nullptr; // the draw predicted, and the draws it comes from
    QPushButton* Cmd閉じる = nullptr;
    QPushButton* Command2 = nullptr;

    void computeFrom(const History& history) override;
    void showComputed() override;

    void Opt反映する_Click(int index);
    void Opt反映しない_Click(int index);

protected:
    QList<const Grid*> shownGrids() const override { return m_sheets.grids(); }
    const History& shownHistory() const override { return m_history; }
    // On paper: the draw predicted, then the ten options as chosen.
    QStringList shownNotes() const override;

private:
    一発ズバリン(WindowHost& host, const catalogue::WindowRecord& record, std::shared_ptr<PredictionSettings> settings);
    QWidget* buildPredictionFrame();
    QWidget* buildOptionsFrame();
    void showFlags();
    void optionClicked(int index, bool reflect);
    void refresh();
    // 購入記録に追加…: the row's tickets for the next draw, for the player to confirm.
    void proposeTickets(const PredictionSheets::RowTickets& tickets);

    std::shared_ptr<PredictionSettings> m_settings;
    PredictionSheets m_sheets;
    History m_history; // the picks come from it, over the range the window covers:
    History m_drawn; // its draws of that range
    History m_computedHistory; // the tables computeFrom made come from it
    History m_computedDrawn;
};
