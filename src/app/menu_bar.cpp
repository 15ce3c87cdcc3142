#include "app/menu_bar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

namespace {

// The menus, and the commands that open no window. Window entries come from the catalogue and
// take their places among these by position.
struct MenuEntry {
    const char* parent; // empty: the bar
    const char* name;
    const char16_t* text;
    int position;
    bool isMenu;
    bool separatorBefore = false; // a line above the entry, named after it (…Separator)
};

constexpr MenuEntry kEntries[] = {
    {"", "mnuEnd", u"終了(&X)", 10, false},
    {"", "mnuMain", u"データ分析(&S)", 30, true},
    {"mnuMain", "mnuHindo", u"頻度分析", 10, true},
    {"mnuMain", "mnuKankaku", u"間隔分析", 20, true},
    {"mnuMain", "mnuPattern", u"組合せパターン分析", 80, true},
    {"mnuMain", "mnuBunkatsuData", u"分割データ分析", 100, true},
    {"mnuMain", "mnuNumbersView", u"ナンバーズの見方", 105, true},
    {"", "mnuHosyu", u"データ管理(&M)", 40, true},
    {"mnuHosyu", "mnuMasterKanri", u"当選データ保守(&D)", 20, false},
    {"mnuHosyu", "mnuImport", u"当選データの取り込み…", 30, false, true},
    {"mnuHosyu", "mnuExport", u"当選データの書き出し…", 40, false},
    {"mnuHosyu", "mnuBackup", u"バックアップ…", 50, false, true},
    {"mnuHosyu", "mnuRestore", u"バックアップから戻す…", 60, false},
    {"", "mnuWindow", u"ウィンドウ(&W)", 50, true},
    {"mnuWindow", "mnuWindowHorizontal", u"上下に並べて表示(&H)", 10, false},
    {"mnuWindow", "mnuWindowVertical", u"左右に並べて表示(&V)", 20, false},
    {"mnuWindow", "mnuWindowCascade", u"重ねて表示(&C)", 30, false},
    {"mnuWindow", "mnuWindowArrangeIcon", u"アイコンの整列(&A)", 40, false},
    {"mnuWindow", "mnuWindowClose", u"ウィンドウを閉じる(&O)", 50, false},
    {"", "mnuHelp", u"ヘルプ(&H)", 60, true},
};

// One entry of a menu, of either kind.
struct Item {
    int position = 0;
    QString name;
    QString text;
    bool isMenu = false;
    const catalogue::WindowRecord* window = nullptr;
    bool separatorBefore = false;
};

void fill(QMenuBar* bar, QMenu* menu, const QString& name, const QHash<QString, QList<Item>>& items,
          MenuBarActions& actions)
{
    for (const Item& item : items.value(name)) {
        if (item.separatorBefore) {
            QAction* separator = menu ? menu->addSeparator() : bar->addSeparator();
            separator->setObjectName(item.name + QStringLiteral("Separator"));
            actions.byName.insert(separator->objectName(), separator);
        }
        QAction* action = nullptr;
        if (item.isMenu) {
            QMenu* sub = menu ? menu->addMenu(item.text) : bar->addMenu(item.text);
            sub->setObjectName(item.name);
            action = sub->menuAction();
            fill(bar, sub, item.name, items, actions);
        } else {
            action = menu ? menu->addAction(item.text) : bar->addAction(item.text);
        }
        action->setObjectName(item.name);
        actions.byName.insert(item.name, action);
        if (item.window) {
            actions.windows.insert(action, item.window);
            if (!item.window->menu.shortcut.isEmpty())
                action->setShortcut(QKeySequence(item.window->menu.shortcut, QKeySequence::PortableText));
        }
    }
}

} // namespace

MenuBarActions buildMenuBar(QMenuBar* bar)
{
    QHash<QString, QList<Item>> items; // by the menu they are in
    for (const MenuEntry& entry : kEntries) {
        items[QString::fromLatin1(entry.parent)] << Item{entry.position,
                                                         QString::fromLatin1(entry.name),
                                                         QString::fromUtf16(entry.text),
                                                         entry.isMenu,
                                                         nullptr,
                                                         entry.separatorBefore};
    }
    for (const catalogue::WindowRecord& record : catalogue::windows()) {
        if (!record.menu.item.isEmpty())
            items[record.menu.menu] << Item{
                record.menu.position, record.menu.item, record.menu.text, false, &record, record.menu.separatorBefore};
    }
    for (QList<Item>& list : items)
        std::stable_sort(list.begin(), list.end(),
                         [](const Item& a, const Item& b) { return a.position < b.position; });
    MenuBarActions actions;
    fill(bar, nullptr, QString(), items, actions);
    return actions;
}
