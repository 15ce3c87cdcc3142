#pragma once
// The main window: a multiple-document frame whose menus open every other window.
// It runs the start-up load and the exit sequence, owns propEnd, hosts its children, hands them
// the current history and, when the database changes, the history read again.

#include "catalogue/window_catalogue.h"
#include "data/history.h"
#include "widgets/window_host.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>

class DrawDayStatus;
class HistoryWatcher;
class MdiArrangement;
class PlacementKeeper;
class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;

class MainFrm : public QMainWindow, public WindowHost {
    Q_OBJECT
    Q_PROPERTY(bool propEnd READ propEnd WRITE setPropEnd)

public:
    // Where the program keeps its data (see data/data_location.h).
    struct Files {
        QString database;
        QString shippedHistory;
        QString settings = {}; // the prediction window's settings file; empty: its bare name
    };

    // Where the main window's placement is kept, beside the prediction window's settings file.
    // A main window made without a settings path remembers no placement.
    static const QString kPlacementFileName;

    // Builds a child window when it is first opened (its load) and returns it: either a
    // sub-window already added with addSubWindow, or a top-level window of its own; nullptr
    // when it could not be built (the user has been told why).
    using ChildFactory = std::function<QWidget*(WindowHost&)>;

    // What a child does to propEnd: the value it sets once built, and true again when it unloads.
    // A child without a rule leaves propEnd alone.
    struct PropEndRule {
        bool atLoad = false;
    };

    static const QString kCaption;

    explicit MainFrm(Files files, QWidget* parent = nullptr);
    ~MainFrm() override;

    // The start-up load. False when the draw history cannot be read: the user has been told
    // which file and why, and the program should end.
    bool load();

    bool propEnd() const { return m_propEnd; }
    void setPropEnd(bool value) { m_propEnd = value; }

    // Makes a window reachable by its form name; the menu entries that open it come alive.
    void registerChild(const QString& formName, ChildFactory factory, std::optional<PropEndRule> rule = {});
    // Opens a child window, or brings the open one to the front without loading it again.
    QWidget* openChild(const QString& formName);
    // The open instance of a child window, if any.
    QWidget* childWindow(const QString& formName) const;

    QMdiArea* mdiArea() const { return m_mdi; }
    const Files& files() const { return m_files; }
    // The file of the main window's placement; empty when none is kept.
    QString placementFile() const;

    // The host of the child windows.
    QMdiSubWindow* addSubWindow(QWidget* content) override;
    QWidget* dialogParent() override { return this; }
    const History& currentHistory() const override;
    QString databasePath() const override;
    void childClosed(const QString& formName, bool databaseChanged = false) override;
    std::optional<RangeChoice> keptRange(const QString& formName) const override;
    void keepRange(const QString& formName, const RangeChoice& range) override;
    void applyRangeToAll(const RangeChoice& range) override;
    void proposeTickets(const QVector<ticket::Line>& lines) override;

    // Makes a history the current one: every open window that shows the history computes it
    // again (several at once), then shows it. Windows opened later start from it.
    void showHistory(History history);
    // What the player's tickets did on the draws a refresh brought, in the status bar.
    void showTicketReport(const QStringList& reports);
    // Every open window that shows the history (the sub-window contents).
    QList<HistoryView*> historyViews() const;
    // Each view computes from the current history, several at once, then each shows.
    void computeAndShow(const QList<HistoryView*>& views);
    // Reads the history from the database again, once; when it differs from the current one,
    // shows it. False when it cannot be read (the user has been told why; nothing changes).
    bool reloadHistory() override;

    // The prediction window's settings: read at start-up, written at exit.
    void setSettingsHooks(std::function<void()> readInitFile, std::function<void()> writeInitFile);

    // Menu commands (also reachable through the menu actions, by their names).
    void mnuMasterInput_Click();
    void arrangeOneAboveTheOther();
    void arrangeSideBySide();
    void arrangeCascade();
    void arrangeIcons();
    void showHelp();

    // What activating the main window does: the same as choosing the prediction entry.
    void activate();

    // The status bar's line: where the history stands against today (the clock is the system's
    // unless a test sets another).
    QLabel* standingLabel() const;
    void setToday(std::function<QDate()> today);
    // Whether the first activation offers, once, to add the draws missing since the last one
    // (the program does; a main window made for a test does not unless asked).
    void setOffersMissingDraws(bool offer) { m_offersMissingDraws = offer; }
    QDialog* missingDrawsHint() const;

    // The ウィンドウ menu's list of the open windows, the active one checked (built when the
    // menu opens).
    void updateWindowList();
    // The open windows that keep the entry window from opening (each set propEnd False when it
    // loaded), by caption.
    QStringList windowsHoldingEntryBack() const;

    QAction* menuAction(const QString& name) const;
    // What choosing a window's menu entry does: the manual, or the window (the entry window
    // only while propEnd allows it).
    void openFromMenu(const catalogue::WindowRecord& record);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void updateMenuStates();
    void bringToFront(QWidget* window);
    void onFocusWindowChanged(QWindow* window);
    void offerMissingDraws();
    // Asks to close the windows that keep the entry window from opening; true when they closed.
    bool closeWindowsHoldingEntryBack();
    QList<QWidget*> windowsHoldingEntryBackInOrder() const;
    QList<DatabaseFollower*> openFollowers() const;

    enum class FocusKind { None, Main, ChildForm, Other };

    Files m_files;
    QMdiArea* m_mdi = nullptr;
    bool m_propEnd = false;
    bool m_closing = false;
    bool m_activatedOnce = false;
    FocusKind m_lastFocus = FocusKind::None;
    QHash<QString, ChildFactory> m_factories;
    QHash<QString, PropEndRule> m_propEndRules;
    QHash<QString, QPointer<QWidget>> m_open;
    QSet<QString> m_opening; // being built now
    QHash<QString, QAction*> m_actions; // by menu item name
    QHash<QAction*, const catalogue::WindowRecord*> m_windowActions; // the window an entry opens
    QString m_databasePath; // of the history shown; empty before the load
    std::function<void()> m_readInitFile;
    std::function<void()> m_writeInitFile;
    std::unique_ptr<MdiArrangement> m_arrangement;
    std::unique_ptr<PlacementKeeper> m_placement;
    std::unique_ptr<DrawDayStatus> m_status;
    bool m_offersMissingDraws = false;
    QList<QAction*> m_windowListActions;
    HistoryWatcher* m_watcher = nullptr;
    bool m_reloadPending = false; // the entry window was open when the database changed
    QString m_lastReloadFailure; // said once, not at every change
};
