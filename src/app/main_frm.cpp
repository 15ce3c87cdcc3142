#include "app/main_frm.h"

#include "app/draw_day_status.h"
#include "app/global_bas.h"
#include "app/html_help.h"
#include "app/history_watcher.h"
#include "app/mdi_arrangement.h"
#include "app/menu_bar.h"
#include "app/placement_keeper.h"
#include "analysis/ticket_results.h"
#include "widgets/child_frame.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"
#include "windows/history_transfer.h"
#include "windows/ticket_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <optional>

const QString MainFrm::kCaption = QStringLiteral("ナンバーズ3ズバリン デスクトップ版");
const QString MainFrm::kPlacementFileName = QStringLiteral("ナンバーズ3ズバリン.window.ini");

namespace {

const QString kHelpKeyword = QStringLiteral("ミニロトズバリンについて");
// The keys that close the active window.
const QList<QKeySequence> kCloseWindowKeys = {QKeySequence(Qt::CTRL | Qt::Key_F4), QKeySequence(Qt::CTRL | Qt::Key_W)};
// Activating the main window does what this entry of its menu does.
const QString kActivationItem = QStringLiteral("mnuYoso");

} // namespace

MainFrm::MainFrm(Files files, QWidget* parent) : QMainWindow(parent), m_files(std::move(files))
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(kCaption);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_status = std::make_unique<DrawDayStatus>(statusBar());
    buildMenus();

    // A new main window starts from no history at all, whatever an earlier one held.
    GlobalBas::releaseDraws();
    m_arrangement = std::make_unique<MdiArrangement>(m_mdi);
    m_watcher = new HistoryWatcher(this);
    connect(m_watcher, &HistoryWatcher::settled, this, [this] {
        // While a window that writes to the database (the entry window) is open, the history
        // is read when it closes; the window itself takes up at once what another program wrote.
        const QList<DatabaseFollower*> followers = openFollowers();
        if (!followers.isEmpty()) {
            m_reloadPending = true;
            for (DatabaseFollower* follower : followers)
                follower->databaseFileChanged();
        } else {
            reloadHistory();
        }
    });

    connect(qApp, &QGuiApplication::focusWindowChanged, this,
            [this](QWindow* window) { onFocusWindowChanged(window); });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize available = screen->availableSize();
        resize(qMin(1100, available.width()), qMin(800, available.height()));
    }
    QString placementFile;
    if (!m_files.settings.isEmpty()) {
        const QFileInfo settings(m_files.settings);
        const QString placement = settings.absoluteDir().filePath(kPlacementFileName);
        if (placement != settings.absoluteFilePath())
            placementFile = placement;
    }
    m_placement = std::make_unique<PlacementKeeper>(*this, placementFile);
    m_placement->restore();
}

MainFrm::~MainFrm()
{
    GlobalBas::releaseDraws();
}

void MainFrm::buildMenus()
{
    MenuBarActions actions = buildMenuBar(menuBar());
    m_actions = std::move(actions.byName);
    m_windowActions = std::move(actions.windows);
    for (auto it = m_windowActions.cbegin(); it != m_windowActions.cend(); ++it) {
        const catalogue::WindowRecord* record = it.value();
        connect(it.key(), &QAction::triggered, this, [this, record] { openFromMenu(*record); });
    }
    connect(menuAction(QStringLiteral("mnuEnd")), &QAction::triggered, this, [this] { close(); });
    menuAction(QStringLiteral("mnuMasterKanri"))->setEnabled(false);
    connect(menuAction(QStringLiteral("mnuImport")), &QAction::triggered, this,
            [this] { history_transfer::importHistory(*this); });
    connect(menuAction(QStringLiteral("mnuExport")), &QAction::triggered, this,
            [this] { history_transfer::exportHistory(*this); });
    connect(menuAction(QStringLiteral("mnuBackup")), &QAction::triggered, this,
            [this] { history_transfer::backupDatabase(*this); });
    connect(menuAction(QStringLiteral("mnuRestore")), &QAction::triggered, this,
            [this] { history_transfer::restoreDatabase(*this); });
    connect(menuAction(QStringLiteral("mnuWindowHorizontal")), &QAction::triggered, this,
            [this] { arrangeOneAboveTheOther(); });
    connect(menuAction(QStringLiteral("mnuWindowVertical")), &QAction::triggered, this,
            [this] { arrangeSideBySide(); });
    connect(menuAction(QStringLiteral("mnuWindowCascade")), &QAction::triggered, this, [this] { arrangeCascade(); });
    connect(menuAction(QStringLiteral("mnuWindowArrangeIcon")), &QAction::triggered, this, [this] { arrangeIcons(); });
    // Ctrl+F4 and Ctrl+W close the active window.
    QAction* closeWindow = menuAction(QStringLiteral("mnuWindowClose"));
    closeWindow->setShortcuts(kCloseWindowKeys);
    closeWindow->setShortcutContext(Qt::WindowShortcut);
    connect(closeWindow, &QAction::triggered, this, [this] { m_mdi->closeActiveSubWindow(); });
    if (QMenu* windowMenu = menuAction(QStringLiteral("mnuWindow"))->menu())
        connect(windowMenu, &QMenu::aboutToShow, this, [this] { updateWindowList(); });
    updateMenuStates();
}

void MainFrm::openFromMenu(const catalogue::WindowRecord& record)
{
    if (record.frame == catalogue::Frame::Help) {
        showHelp();
        return;
    }
    // The entry window writes to the database under the windows that show it: it opens only
    // when none of those is open.
    if (record.opensOnlyWhenPropEnd && !propEnd() && !closeWindowsHoldingEntryBack())
        return;
    openChild(record.form);
}

QList<QWidget*> MainFrm::windowsHoldingEntryBackInOrder() const
{
    // Each of them set propEnd False when it loaded; closing them all sets it True again.
    QList<QWidget*> holding;
    for (auto it = m_open.cbegin(); it != m_open.cend(); ++it) {
        const auto rule = m_propEndRules.constFind(it.key());
        if (it.value() && rule != m_propEndRules.cend() && !rule->atLoad)
            holding << it.value();
    }
    // As the user opened them: the sub-windows in their order, then windows of their own.
    const QList<QMdiSubWindow*> order = m_mdi->subWindowList(QMdiArea::CreationOrder);
    std::stable_sort(holding.begin(), holding.end(), [&order](QWidget* a, QWidget* b) {
        const auto place = [&order](QWidget* w) {
            const qsizetype i = order.indexOf(qobject_cast<QMdiSubWindow*>(w));
            return i < 0 ? order.size() : i;
        };
        return place(a) < place(b);
    });
    return holding;
}

QStringList MainFrm::windowsHoldingEntryBack() const
{
    QStringList captions;
    for (const QWidget* window : windowsHoldingEntryBackInOrder())
        captions << window->windowTitle();
    return captions;
}

bool MainFrm::closeWindowsHoldingEntryBack()
{
    const QStringList holding = windowsHoldingEntryBack();
    QString text = QStringLiteral("表示中のウィンドウを閉じないと実行できません。");
    if (holding.isEmpty()) {
        showMessage({this, text, kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return false;
    }
    text += QStringLiteral("\n\n開いているウィンドウ:\n　") + holding.join(QStringLiteral("\n　"))
        + QStringLiteral("\n\nこれらのウィンドウを閉じて当選データ入力を開きますか？");
    if (showMessage(
            {this, text, kMessageTitle, QMessageBox::Critical, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes})
        != QMessageBox::Yes)
        return false;
    // Taken out first: each close takes its window out of the open ones.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : windowsHoldingEntryBackInOrder())
        windows << window;
    for (const QPointer<QWidget>& window : std::as_const(windows)) {
        if (window)
            window->close(); // a sub-window closes its content through its own close
    }
    return propEnd();
}

void MainFrm::updateWindowList()
{
    QMenu* menu = menuAction(QStringLiteral("mnuWindow"))->menu();
    for (QAction* action : std::as_const(m_windowListActions)) {
        menu->removeAction(action);
        delete action; // the list is built as the menu opens, never from one of its items
    }
    m_windowListActions.clear();
    const QList<QMdiSubWindow*> subs = m_mdi->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty())
        return;
    m_windowListActions << menu->addSeparator();
    for (int i = 0; i < subs.size(); ++i) {
        QMdiSubWindow* sub = subs.at(i);
        const QString number = i < 9 ? QStringLiteral("&%1 ").arg(i + 1) : QStringLiteral("%1 ").arg(i + 1);
        QAction* action = menu->addAction(number + sub->windowTitle());
        action->setObjectName(QStringLiteral("mnuWindowList%1").arg(i + 1));
        action->setCheckable(true);
        action->setChecked(sub == m_mdi->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub)
                bringToFront(sub);
        });
        m_windowListActions << action;
    }
}

QLabel* MainFrm::standingLabel() const
{
    return m_status->label();
}

void MainFrm::setToday(std::function<QDate()> today)
{
    m_status->setToday(std::move(today));
    m_status->show(GlobalBas::gRsDraws);
}

QDialog* MainFrm::missingDrawsHint() const
{
    return m_status->hint();
}

void MainFrm::offerMissingDraws()
{
    if (!m_offersMissingDraws || m_closing)
        return;
    MissingDrawsHint::Actions actions;
    actions.openEntry = [this] { mnuMasterInput_Click(); };
    actions.import = [this] {
        if (QAction* import = menuAction(QStringLiteral("mnuImport")))
            import->trigger();
    };
    actions.showGuide = [this] { HtmlHelp::showHelpPage(this, HtmlHelp::kGettingStartedPage); };
    m_status->offerHint(std::move(actions), this);
}

QAction* MainFrm::menuAction(const QString& name) const
{
    return m_actions.value(name);
}

void MainFrm::updateMenuStates()
{
    // An entry whose window is not registered (a main window made without its children) is
    // shown greyed; the manual is always there.
    for (auto it = m_windowActions.cbegin(); it != m_windowActions.cend(); ++it)
        it.key()->setEnabled(it.value()->frame == catalogue::Frame::Help || m_factories.contains(it.value()->form));
}

void MainFrm::registerChild(const QString& formName, ChildFactory factory, std::optional<PropEndRule> rule)
{
    m_factories.insert(formName, std::move(factory));
    if (rule)
        m_propEndRules.insert(formName, *rule);
    else
        m_propEndRules.remove(formName);
    updateMenuStates();
}

QString MainFrm::placementFile() const
{
    return m_placement->file();
}

QWidget* MainFrm::childWindow(const QString& formName) const
{
    return m_open.value(formName).data();
}

QMdiSubWindow* MainFrm::addSubWindow(QWidget* content)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(content);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the active window by key is the main window's own command: where the desktop
    // gives the sub-window's close one of those keys too, the two would cancel each other out
    // and close nothing.
    if (QMenu* system = sub->systemMenu()) {
        for (QAction* action : system->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            bool taken = false;
            for (const QKeySequence& key : kCloseWindowKeys)
                taken = keys.removeAll(key) > 0 || taken;
            if (taken)
                action->setShortcuts(keys);
        }
    }
    return sub;
}

const History& MainFrm::currentHistory() const
{
    return GlobalBas::gRsDraws;
}

QString MainFrm::databasePath() const
{
    return m_databasePath;
}

QList<DatabaseFollower*> MainFrm::openFollowers() const
{
    QList<DatabaseFollower*> followers;
    for (const QPointer<QWidget>& child : std::as_const(m_open)) {
        QWidget* content = child;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(content))
            content = sub->widget();
        if (auto* follower = dynamic_cast<DatabaseFollower*>(content))
            followers << follower;
    }
    return followers;
}

void MainFrm::childClosed(const QString& formName, bool databaseChanged)
{
    // The window is on its way out: opening it again builds a new one.
    m_open.remove(formName);
    if (m_propEndRules.contains(formName))
        setPropEnd(true);
    if (databaseChanged || (m_reloadPending && openFollowers().isEmpty())) {
        // One reading covers every change so far, the entry window's last writes included.
        m_reloadPending = false;
        m_watcher->cancelPending();
        // After the close has run its course, not in the middle of it.
        QTimer::singleShot(0, this, [this] { reloadHistory(); });
    }
}

QList<HistoryView*> MainFrm::historyViews() const
{
    QList<HistoryView*> views;
    for (const QPointer<QWidget>& child : std::as_const(m_open)) {
        QWidget* content = child;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(content))
            content = sub->widget();
        if (auto* view = dynamic_cast<HistoryView*>(content))
            views << view;
    }
    return views;
}

void MainFrm::showHistory(History history)
{
    const QStringList reports = ticket_results::newDrawReports(GlobalBas::gRsDraws, history);
    const bool ticketsOnly = GlobalBas::gRsDraws.sameDrawsAs(history);
    GlobalBas::adoptHistory(std::move(history));
    m_status->show(GlobalBas::gRsDraws);
    if (!reports.isEmpty())
        showTicketReport(reports);
    QList<HistoryView*> views = historyViews();
    // A change of the ledger alone (a line recorded) leaves what the other windows show as it is.
    if (ticketsOnly)
        views.removeIf([](const HistoryView* view) { return !view->showsTickets(); });
    computeAndShow(views);
}

void MainFrm::showTicketReport(const QStringList& reports)
{
    // Beside where the history stands, until the next draw the tickets cover: the latest draw
    // brought, the others (an import may bring many) in its tip.
    auto* label = findChild<QLabel*>(QStringLiteral("ticketReport"));
    if (!label) {
        label = new QLabel(statusBar());
        label->setObjectName(QStringLiteral("ticketReport"));
        statusBar()->addWidget(label);
    }
    QString text = reports.last();
    if (reports.size() > 1)
        text += QStringLiteral("（ほか%1回）").arg(reports.size() - 1);
    label->setText(text);
    label->setToolTip(reports.join(u'\n'));
}

std::optional<RangeChoice> MainFrm::keptRange(const QString& formName) const
{
    return m_placement->range(formName);
}

void MainFrm::keepRange(const QString& formName, const RangeChoice& range)
{
    m_placement->keepRange(formName, range);
}

void MainFrm::applyRangeToAll(const RangeChoice& range)
{
    QList<HistoryView*> views;
    for (HistoryView* view : historyViews()) {
        auto* frame = dynamic_cast<ChildFrame*>(view);
        if (!frame || frame->rangeChoice() == range)
            continue;
        frame->takeRangeChoice(range);
        views << view;
    }
    computeAndShow(views);
}

void MainFrm::proposeTickets(const QVector<ticket::Line>& lines)
{
    const catalogue::WindowRecord* ledger = nullptr;
    for (const catalogue::WindowRecord* record : catalogue::windowsIn(catalogue::Frame::Tickets))
        ledger = record;
    if (!ledger)
        return;
    if (TicketWindow* window = TicketWindow::of(openChild(ledger->form)))
        window->propose(lines);
}

void MainFrm::computeAndShow(const QList<HistoryView*>& views)
{
    if (views.isEmpty())
        return;
    Hourglass hourglass;
    // Each window computes from the same history and touches nothing of another's: they run
    // side by side, then show on this thread.
    const History& current = GlobalBas::gRsDraws;
    QtConcurrent::blockingMap(views, [&current](HistoryView* view) { view->computeFrom(current); });
    for (HistoryView* view : std::as_const(views))
        view->showComputed();
}

bool MainFrm::reloadHistory()
{
    if (m_databasePath.isEmpty())
        return false;
    HistoryWatcher::Reading reading;
    {
        Hourglass hourglass;
        reading = m_watcher->reread(GlobalBas::gRsDraws);
    }
    const QString& reason = reading.reason;
    if (reading.outcome == HistoryWatcher::Reading::Failed) {
        // Said once for a run of failures; the windows keep showing the history they have.
        if (reason != m_lastReloadFailure) {
            m_lastReloadFailure = reason;
            showMessage(
                {this,
                 QStringLiteral(
                     "当選データを読み直せません。表示中の分析は前の当選データのままです。\n\nファイル: %1\n理由: %2")
                     .arg(QDir::toNativeSeparators(m_databasePath), reason),
                 kMessageTitle, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
        }
        return false;
    }
    m_lastReloadFailure.clear();
    if (reading.outcome == HistoryWatcher::Reading::Changed)
        showHistory(std::move(reading.history));
    return true;
}

void MainFrm::setSettingsHooks(std::function<void()> readInitFile, std::function<void()> writeInitFile)
{
    m_readInitFile = std::move(readInitFile);
    m_writeInitFile = std::move(writeInitFile);
}

void MainFrm::bringToFront(QWidget* window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window)) {
        if (sub->isMinimized())
            sub->showNormal();
        sub->show();
        m_mdi->setActiveSubWindow(sub);
    } else {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

QWidget* MainFrm::openChild(const QString& formName)
{
    // The open instance, or the one being built: the hourglass and the window's own load let
    // pending events run, and a second open of the same window may be among them.
    Hourglass hourglass;
    if (QWidget* open = childWindow(formName)) {
        bringToFront(open);
        return open;
    }
    if (m_opening.contains(formName))
        return nullptr;
    const auto factory = m_factories.constFind(formName);
    if (factory == m_factories.cend())
        return nullptr;
    m_opening.insert(formName);
    QWidget* window = (*factory)(*this);
    m_opening.remove(formName);
    if (!window)
        return nullptr;
    // Only a window that was built successfully has loaded: only then does its rule apply.
    if (const auto rule = m_propEndRules.constFind(formName); rule != m_propEndRules.cend())
        setPropEnd(rule->atLoad);
    m_open.insert(formName, window);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window))
        m_arrangement->fitAtOpening(sub);
    bringToFront(window);
    return window;
}

void MainFrm::mnuMasterInput_Click()
{
    if (QAction* entry = menuAction(QStringLiteral("mnuMasterInput")))
        entry->trigger();
}

void MainFrm::arrangeOneAboveTheOther()
{
    m_arrangement->tile(Qt::Vertical);
}

void MainFrm::arrangeSideBySide()
{
    m_arrangement->tile(Qt::Horizontal);
}

void MainFrm::arrangeCascade()
{
    m_arrangement->cascade();
}

void MainFrm::arrangeIcons()
{
    m_arrangement->arrangeIcons();
}

void MainFrm::showHelp()
{
    HtmlHelp::HtmlHelpA(this, HtmlHelp::kManualFile, HtmlHelp::HH_DISPLAY_INDEX, kHelpKeyword);
    HtmlHelp::HH_AKLINK link;
    link.cbStruct = 32;
    link.fReserved = false;
    link.pszKeywords = kHelpKeyword;
    link.fIndexOnFail = false;
    HtmlHelp::HtmlHelpA(this, HtmlHelp::kManualFile, HtmlHelp::HH_KEYWORD_LOOKUP, link);
}

bool MainFrm::load()
{
    if (m_readInitFile)
        m_readInitFile();
    QString reason;
    QString notice;
    bool loaded = false;
    {
        Hourglass hourglass;
        setPropEnd(true);
        loaded = GlobalBas::startupLoad(m_files.database, m_files.shippedHistory, &reason, &notice);
    }
    if (loaded) {
        m_status->show(GlobalBas::gRsDraws);
        // Once, where the prizes cannot be kept (a database that may not be written): at the
        // right of the status bar, beside where the history stands.
        if (!notice.isEmpty()) {
            auto* label = findChild<QLabel*>(QStringLiteral("loadNotice"));
            if (!label) {
                label = new QLabel(statusBar());
                label->setObjectName(QStringLiteral("loadNotice"));
                statusBar()->addPermanentWidget(label);
            }
            label->setText(notice);
            label->setToolTip(notice);
        }
        m_databasePath = m_files.database;
        m_watcher->watch(m_databasePath);
    } else {
        showMessage({this,
                     QStringLiteral("当選データのデータベースを開けません。\n\nファイル: %1\n理由: %2")
                         .arg(QDir::toNativeSeparators(m_files.database), reason),
                     kMessageTitle, QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
    }
    return loaded;
}

void MainFrm::activate()
{
    if (m_closing)
        return;
    const bool first = !m_activatedOnce;
    m_activatedOnce = true;
    if (const catalogue::WindowRecord* record = m_windowActions.value(menuAction(kActivationItem)))
        openChild(record->form);
    // The hint comes after the prediction window, so that it is in front.
    if (first)
        QTimer::singleShot(0, this, [this] { offerMissingDraws(); });
}

void MainFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    m_placement->shown();
    // Some platforms never report the first activation; the prediction still opens at start-up.
    if (!m_activatedOnce)
        QTimer::singleShot(0, this, [this] {
            if (!m_activatedOnce)
                activate();
        });
}

void MainFrm::onFocusWindowChanged(QWindow* window)
{
    FocusKind kind = FocusKind::None;
    if (window && window == windowHandle()) {
        kind = FocusKind::Main;
    } else if (window) {
        kind = FocusKind::Other;
        for (const QPointer<QWidget>& child : std::as_const(m_open)) {
            if (child && child->isWindow() && child->windowHandle() == window)
                kind = FocusKind::ChildForm;
        }
    }
    // Activation counts when it comes from another window of the program (not from a message
    // box, and not from another application), or when it is the first one.
    const bool activated = kind == FocusKind::Main && (!m_activatedOnce || m_lastFocus == FocusKind::ChildForm);
    m_lastFocus = kind;
    if (activated)
        activate();
}

void MainFrm::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    // Children first, each through its own unload. One may ask to stay open (the entry window
    // with a draw half typed): then the program stays too.
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        m_closing = false;
        event->ignore();
        return;
    }
    for (const QPointer<QWidget>& child : std::as_const(m_open)) {
        if (child && child->isWindow())
            child->close();
    }
    if (m_writeInitFile)
        m_writeInitFile();
    m_placement->save();
    // From here on nothing may stop the exit.
    GlobalBas::releaseDraws();
    {
        Hourglass hourglass;
    }
    event->accept();
}
