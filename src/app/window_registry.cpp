#include "app/window_registry.h"

#include "app/main_frm.h"
#include "app/version_window.h"
#include "catalogue/window_catalogue.h"
#include "widgets/analysis_frame.h"
#include "windows/backtest_window.h"
#include "windows/entry_window.h"
#include "windows/prediction_window.h"
#include "windows/randomness_window.h"
#include "windows/ticket_window.h"

#include <QMdiSubWindow>
#include <memory>

void registerWindows(MainFrm& main)
{
    // The prediction flags outlive the window: the main window's hooks and the factories of the
    // windows that predict share them for as long as the main window keeps either.
    const QString settingsFile = main.files().settings;
    auto settings = settingsFile.isEmpty() ? std::make_shared<PredictionSettings>()
                                           : std::make_shared<PredictionSettings>(settingsFile);
    using catalogue::Frame;
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        const catalogue::WindowRecord* r = &record;
        MainFrm::ChildFactory factory;
        switch (record.frame) {
        case Frame::Analysis:
            factory = [r](WindowHost& host) -> QWidget* { return AnalysisFrame::load(host, *r); };
            break;
        case Frame::Prediction:
            factory = [r, settings](WindowHost& host) -> QWidget* { return 一発ズバリン::load(host, *r, settings); };
            break;
        case Frame::Backtest:
            // The backtest predicts as the prediction window does, with its flags as they are.
            factory = [r, settings](WindowHost& host) -> QWidget* { return BacktestWindow::load(host, *r, settings); };
            break;
        case Frame::Randomness:
            factory = [r](WindowHost& host) -> QWidget* { return RandomnessWindow::load(host, *r); };
            break;
        case Frame::Entry:
            factory = [r](WindowHost& host) -> QWidget* { return 当選データ入力::load(host, *r); };
            break;
        case Frame::Tickets:
            factory = [r](WindowHost& host) -> QWidget* { return TicketWindow::load(host, *r); };
            break;
        case Frame::Version:
            factory = [](WindowHost& host) -> QWidget* {
                auto* about = new バージョン情報(host.dialogParent());
                about->showDatabase(host.databasePath());
                return about;
            };
            break;
        case Frame::Help:
            continue; // the manual is the help window's, one per top-level window
        }
        // propEnd says whether the entry window may open: the windows whose record says so set
        // it once built; the host sets it back to True when they close.
        std::optional<MainFrm::PropEndRule> rule;
        if (record.propEndAtLoad)
            rule = MainFrm::PropEndRule{*record.propEndAtLoad};
        main.registerChild(record.form, std::move(factory), rule);
    }
    main.setSettingsHooks([settings] { settings->ReadInitFile(); },
                          [settings, &main] { 一発ズバリン::saveSettings(*settings, &main); });
}
