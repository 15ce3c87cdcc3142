#pragma once
// The main window: a multiple-document frame whose menus open every other window.
// It runs the start-up load and the exit sequence, owns propEnd and arranges its children.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QAction;

class MainFrm : public QMainWindow {
    Q_OBJECT
    Q_PROPERTY(bool propEnd READ propEnd WRITE setPropEnd)

public:
    // Where the program keeps its data: by default beside the executable.
    struct Files {
        QString database;
        QString shippedHistory;
        static Files besideProgram();
    };

    // Builds a child window when it is first opened (its load) and returns it: either a
    // sub-window already added with addSubWindow, or a top-level window of its own.
    using ChildFactory = std::function<QWidget*(MainFrm&)>;

    static const QString kCaption;

    explicit MainFrm(Files files = Files::besideProgram(), QWidget* parent = nullptr);
    ~MainFrm() override;

    // The start-up load. False when the draw history cannot be read: the user has been told
    // which file and why, and the program should end.
    bool load();

    bool propEnd() const { return m_propEnd; }
    void setPropEnd(bool value) { m_propEnd = value; }

    // Makes a window reachable by its form name; the menu entries that open it come alive.
    void registerChild(const QString& formName, ChildFactory factory);
    // Opens a child window, or brings the open one to the front without loading it again.
    QWidget* openChild(const QString& formName);
    // The open instance of a child window, if any.
    QWidget* childWindow(const QString& formName) const;

    QMdiArea* mdiArea() const { return m_mdi; }
    QMdiSubWindow* addSubWindow(QWidget* content);

    // The prediction window's settings: read at start-up, written at exit.
    void setSettingsHooks(std::function<void()> readInitFile, std::function<void()> writeInitFile);

    // Menu commands (also reachable through the menu actions, by their names).
    void mnuMasterInput_Click();
    void arrangeOneAboveTheOther();
    void arrangeSideBySide();
    void arrangeIcons();
    void showHelp();

    // What activating the main window does: the same as choosing the prediction entry.
    void activate();

    QAction* menuAction(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void tile(Qt::Orientation direction);
    void updateMenuStates();
    void bringToFront(QWidget* window);
    void onFocusWindowChanged(QWindow* window);

    enum class FocusKind { None, Main, ChildForm, Other };

    Files m_files;
    QMdiArea* m_mdi = nullptr;
    bool m_propEnd = false;
    bool m_closing = false;
    bool m_activatedOnce = false;
    FocusKind m_lastFocus = FocusKind::None;
    QHash<QString, ChildFactory> m_factories;
    QHash<QString, QPointer<QWidget>> m_open;
    QHash<QString, QAction*> m_actions;         // by menu item name
    QHash<QAction*, QString> m_actionForms;     // the form an entry opens
    std::function<void()> m_readInitFile;
    std::function<void()> m_writeInitFile;
};
