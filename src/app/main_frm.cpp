#include "app/main_frm.h"

#include "app/global_bas.h"
#include "app/html_help.h"
#include "app/menu_bar.h"
#include "data/draw_database.h"
#include "data/history_source.h"
#include "data/regular_file.h"
#include "data/window_placement.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <optional>

const QString MainFrm::kCaption = QStringLiteral("ナンバーズ3ズバリン デスクトップ版");
const QString MainFrm::kPlacementFileName = QStringLiteral("ナンバーズ3ズバリン.window.ini");

namespace {

const QString kHelpKeyword = QStringLiteral("ミニロトズバリンについて");
// Activating the main window does what this entry of its menu does.
const QString kActivationItem = QStringLiteral("mnuYoso");

// Sub-windows to tile: the visible, not minimised ones, most recently active first.
QList<QMdiSubWindow*> tileable(QMdiArea* area)
{
    QList<QMdiSubWindow*> windows;
    const QList<QMdiSubWindow*> history = area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.crbegin(); it != history.crend(); ++it) {
        if ((*it)->isVisible() && !(*it)->isMinimized())
            windows << *it;
    }
    return windows;
}

// The height the icons of minimised sub-windows take at the bottom of the area.
int iconRowHeight(QMdiArea* area)
{
    for (QMdiSubWindow* w : area->subWindowList()) {
        if (w->isVisible() && w->isMinimized())
            return w->height();
    }
    return 0;
}

// The size a sub-window asked for when it opened, before it was fitted into the area.
constexpr char kOwnSize[] = "n3OwnSize";

QSize ownSize(const QMdiSubWindow* w)
{
    const QSize own = w->property(kOwnSize).toSize();
    return own.isValid() ? own : w->size();
}

// How far each window of a cascade lies below the one before: the height of a title bar.
int titleBarHeight(const QList<QMdiSubWindow*>& windows)
{
    int height = 0;
    for (const QMdiSubWindow* w : windows)
        height = qMax(height, w->contentsMargins().top());
    if (height <= 0 && !windows.isEmpty())
        height = windows.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, windows.first());
    return qMax(height, 1);
}

// Whether a window of this geometry lies wholly on one of the screens there are now.
bool fitsAScreen(const QRect& rect)
{
    if (!rect.isValid())
        return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QSize available = screen->availableGeometry().size();
        if (screen->geometry().contains(rect) && rect.width() <= available.width()
            && rect.height() <= available.height())
            return true;
    }
    return false;
}

} // namespace

MainFrm::MainFrm(Files files, QWidget* parent)
    : QMainWindow(parent), m_files(std::move(files))
{
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(kCaption);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    buildMenus();

    // A new main window starts from no history at all, whatever an earlier one held.
    GlobalBas::releaseDraws();
    // Outside writes (an import by the companion) come as a burst of changes: the history is
    // read once they have stopped for a moment.
    m_reloadTimer = new QTimer(this);
    m_reloadTimer->setSingleShot(true);
    m_reloadTimer->setInterval(300);
    connect(m_reloadTimer, &QTimer::timeout, this, [this] {
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
    if (!m_files.settings.isEmpty()) {
        const QFileInfo settings(m_files.settings);
        const QString placement = settings.absoluteDir().filePath(kPlacementFileName);
        if (placement != settings.absoluteFilePath())
            m_placementFile = placement;
    }
    restorePlacement();
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
    connect(menuAction(QStringLiteral("mnuWindowHorizontal")), &QAction::triggered, this,
            [this] { arrangeOneAboveTheOther(); });
    connect(menuAction(QStringLiteral("mnuWindowVertical")), &QAction::triggered, this,
            [this] { arrangeSideBySide(); });
    connect(menuAction(QStringLiteral("mnuWindowCascade")), &QAction::triggered, this,
            [this] { arrangeCascade(); });
    connect(menuAction(QStringLiteral("mnuWindowArrangeIcon")), &QAction::triggered, this,
            [this] { arrangeIcons(); });
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
    if (record.opensOnlyWhenPropEnd && !propEnd()) {
        showMessage({this, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"), kMessageTitle,
                     QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok});
        return;
    }
    openChild(record.form);
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

QWidget* MainFrm::childWindow(const QString& formName) const
{
    return m_open.value(formName).data();
}

QMdiSubWindow* MainFrm::addSubWindow(QWidget* content)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(content);
    sub->setAttribute(Qt::WA_DeleteOnClose);
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
        m_reloadTimer->stop();
        // After the close has run its course, not in the middle of it.
        QTimer::singleShot(0, this, [this] { reloadHistory(); });
    }
}

void MainFrm::showHistory(History history)
{
    GlobalBas::adoptHistory(std::move(history));
    QList<HistoryView*> views;
    for (const QPointer<QWidget>& child : std::as_const(m_open)) {
        QWidget* content = child;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(content))
            content = sub->widget();
        if (auto* view = dynamic_cast<HistoryView*>(content))
            views << view;
    }
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
    QString reason;
    std::optional<History> history;
    {
        Hourglass hourglass;
        history = history_source::reread(GlobalBas::gConnectString, &reason);
    }
    if (!history) {
        // Said once for a run of failures; the windows keep showing the history they have.
        if (reason != m_lastReloadFailure) {
            m_lastReloadFailure = reason;
            showMessage({this,
                         QStringLiteral("当選データを読み直せません。表示中の分析は前の当選データのままです。\n\nファイル: %1\n理由: %2")
                             .arg(QDir::toNativeSeparators(m_databasePath), reason),
                         kMessageTitle, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
        }
        return false;
    }
    m_lastReloadFailure.clear();
    watchDatabase();
    if (!(*history == GlobalBas::gRsDraws))
        showHistory(std::move(*history));
    return true;
}

void MainFrm::watchDatabase()
{
    const QString& path = m_databasePath;
    if (path.isEmpty())
        return;
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { databaseFileChanged(); });
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { databaseFolderChanged(); });
    }
    // The folder too: a database deleted and put back (a backup restored, a sync) appears there.
    const QString folder = QFileInfo(path).absolutePath();
    if (!m_watcher->directories().contains(folder))
        m_watcher->addPath(folder);
    // The watch follows the file now at the name, also one that replaced the file watched so far.
    if (m_watcher->files().contains(path))
        m_watcher->removePath(path);
    m_watchedFile = identityOf(path);
    if (m_watchedFile)
        m_watcher->addPath(path);
}

void MainFrm::databaseFolderChanged()
{
    // Another file at the database's name (one put back, or renamed over it): read it. One
    // that went is forgotten, so that a copy put back is another file, whatever its number.
    const QString& path = m_databasePath;
    const std::optional<FileIdentity> now = identityOf(path);
    if (!now) {
        m_watchedFile.reset();
    } else if (now != m_watchedFile) {
        watchDatabase();
        m_reloadTimer->start();
    }
}

void MainFrm::databaseFileChanged()
{
    m_reloadTimer->start();
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
        fitAtOpening(sub);
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
    tile(Qt::Vertical);
}

void MainFrm::arrangeSideBySide()
{
    tile(Qt::Horizontal);
}

QRect MainFrm::arrangementArea() const
{
    // The client area above the row the icons of minimised windows take.
    return m_mdi->viewport()->rect().adjusted(0, 0, 0, -iconRowHeight(m_mdi));
}

void MainFrm::fitAtOpening(QMdiSubWindow* sub)
{
    // A child opens where and as large as it asks (the top left, at its own size), but never
    // larger than the client area: width and height each shrink to the area's, and the
    // window's contents scroll. Before the main window is shown its area is not known yet.
    sub->setProperty(kOwnSize, sub->size());
    const QRect area = m_mdi->viewport()->rect();
    if (!m_mdi->isVisible() || area.isEmpty())
        return;
    sub->resize(sub->size().boundedTo(area.size()));
    if (!area.contains(sub->geometry()))
        sub->move(area.topLeft());
}

void MainFrm::tile(Qt::Orientation direction)
{
    // Equal shares of the client area, stacked down (vertical) or across (horizontal). No
    // share is smaller than the least a window needs to show its controls apart: windows that
    // do not fit in one column (or row) that way go on in further ones beside it (below it).
    const QList<QMdiSubWindow*> windows = tileable(m_mdi);
    if (windows.isEmpty())
        return;
    const QRect area = arrangementArea();
    const bool down = direction == Qt::Vertical;
    QSize least(1, 1);
    for (QMdiSubWindow* w : windows)
        least = least.expandedTo(w->minimumSizeHint());
    const int n = int(windows.size());
    const int length = down ? area.height() : area.width();
    const int across = down ? area.width() : area.height();
    const int perLine = std::clamp(length / (down ? least.height() : least.width()), 1, n);
    const int lines = (n + perLine - 1) / perLine;
    for (int line = 0; line < lines; ++line) {
        const int first = n * line / lines;
        const int count = n * (line + 1) / lines - first;
        const int top = across * line / lines;
        const int bottom = across * (line + 1) / lines;
        for (int i = 0; i < count; ++i) {
            const int from = length * i / count;
            const int to = length * (i + 1) / count;
            QMdiSubWindow* w = windows[first + i];
            w->showNormal();
            if (down)
                w->setGeometry(area.left() + top, area.top() + from, bottom - top, to - from);
            else
                w->setGeometry(area.left() + from, area.top() + top, to - from, bottom - top);
        }
    }
}

void MainFrm::arrangeCascade()
{
    // Each window a title bar's height below and to the right of the one before, the most
    // recently active one on top, so that every title bar shows. A window keeps its own size
    // where that fits the room left to it, and never reaches past the area. Each needs room
    // to show its controls apart: when the windows would go lower (or further right) than
    // that leaves, the next ones start again at the top, to the right of the captions before
    // them.
    const QList<QMdiSubWindow*> windows = tileable(m_mdi);
    if (windows.isEmpty())
        return;
    const QRect area = arrangementArea();
    const int step = titleBarHeight(windows);
    QSize least(10 * step, 4 * step);
    for (QMdiSubWindow* w : windows)
        least = least.expandedTo(w->minimumSizeHint());
    least = least.boundedTo(area.size());
    const int stepsDown = (area.height() - least.height()) / step;
    const int stepsAcross = (area.width() - least.width()) / step;
    const int perRound = 1 + std::max(0, std::min(stepsDown, stepsAcross));
    // A later round leaves this much of each caption of the round before it in view.
    const int shift = (perRound - 1) * step + 8 * step;
    const int rounds = 1 + std::max(0, (area.width() - least.width() - (perRound - 1) * step) / shift);
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[n - 1 - i];  // the least recently active first, at the bottom
        const int k = i % perRound;
        const int round = (i / perRound) % rounds;
        const QPoint at(area.left() + round * shift + k * step, area.top() + k * step);
        const QSize room(area.right() + 1 - at.x(), area.bottom() + 1 - at.y());
        w->showNormal();
        w->setGeometry(QRect(at, ownSize(w).boundedTo(room)));
        w->raise();
    }
    m_mdi->setActiveSubWindow(windows.first());
}

void MainFrm::arrangeIcons()
{
    // Minimised sub-windows line up along the bottom edge, left to right, rising a row
    // when the width is used up.
    const QRect area = m_mdi->viewport()->rect();
    int x = area.left();
    int y = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isVisible() || !w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > area.left() && x + size.width() > area.right() + 1) {
            x = area.left();
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = qMax(rowHeight, size.height());
        w->move(x, y - size.height());
        x += size.width();
    }
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
    bool loaded = false;
    {
        Hourglass hourglass;
        setPropEnd(true);
        loaded = GlobalBas::startupLoad(m_files.database, m_files.shippedHistory, &reason);
    }
    if (loaded) {
        m_databasePath = m_files.database;
        watchDatabase();
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
    m_activatedOnce = true;
    if (const catalogue::WindowRecord* record = m_windowActions.value(menuAction(kActivationItem)))
        openChild(record->form);
}

void MainFrm::restorePlacement()
{
    // The placement of the last run, where a screen can still show it; otherwise (the first
    // start, a screen gone) the window opens maximised over its default size, centred.
    if (m_placementFile.isEmpty())
        return;
    const std::optional<WindowPlacement> stored = WindowPlacement::read(m_placementFile);
    bool maximized = !stored || stored->maximized;
    if (stored && stored->geometry && fitsAScreen(*stored->geometry)) {
        setGeometry(*stored->geometry);
    } else {
        maximized = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect centred(QPoint(), size());
            centred.moveCenter(screen->availableGeometry().center());
            move(centred.topLeft());
        }
    }
    if (maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainFrm::coverScreenUnlessMaximised()
{
    // Maximising is the window manager's work: on a bare X server nothing does it, and the
    // window would stay at its normal size. It then covers its screen's free area itself,
    // through its native window, so that it stays maximised in its own eyes and keeps its
    // normal geometry for when it is restored and for the next start.
    if (!isMaximized() || !windowHandle() || !screen())
        return;
    const QRect available = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.width() >= available.width() - 16 && frame.height() >= available.height() - 16)
        return;
    windowHandle()->setGeometry(available);
}

void MainFrm::savePlacement()
{
    // The placement is a convenience: should the file not be written, the next start opens
    // maximised, and nothing else depends on it.
    if (m_placementFile.isEmpty() || !m_shownOnce)
        return;
    WindowPlacement placement;
    placement.maximized = isMaximized() || isFullScreen();
    if (const QRect normal = normalGeometry(); normal.isValid())
        placement.geometry = normal;
    QString reason;
    placement.write(m_placementFile, &reason);
}

void MainFrm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce && isMaximized())
        QTimer::singleShot(500, this, [this] { coverScreenUnlessMaximised(); });
    m_shownOnce = true;
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
    const bool activated = kind == FocusKind::Main
        && (!m_activatedOnce || m_lastFocus == FocusKind::ChildForm);
    m_lastFocus = kind;
    if (activated)
        activate();
}

void MainFrm::closeEvent(QCloseEvent* event)
{
    m_closing = true;
    // Children first, each through its own unload.
    m_mdi->closeAllSubWindows();
    for (const QPointer<QWidget>& child : std::as_const(m_open)) {
        if (child && child->isWindow())
            child->close();
    }
    if (m_writeInitFile)
        m_writeInitFile();
    savePlacement();
    // From here on nothing may stop the exit.
    GlobalBas::releaseDraws();
    {
        Hourglass hourglass;
    }
    event->accept();
}
