#pragma once
// The grids of a window taken out of it: the print preview (印刷), a PDF or a CSV file, and the
// context menu of each of the window's grid views (コピー, CSV で保存…, PDF で保存…, 印刷…).
// Each window makes one, naming what it shows; the grids and the page header are asked for at
// the moment of printing or saving, so they are always what the window shows then.
//
// A file is written whole or not at all (data/file_write.h), never over the draw database nor
// its companion files, and never into a device or a pipe; a refusal or a failure is told in a
// message naming the file and the reason, and nothing else changes.

#include "data/file_write.h"
#include "grid/grid.h"
#include "print/page_layout.h"

#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class GridView;
class QMenu;
class QPoint;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

class GridOutput : public QObject {
    Q_OBJECT

public:
    // The grids as the window shows them now, in the order they are printed and saved.
    using Grids = std::function<QList<const Grid*>()>;
    // What the pages say besides the grids: the caption, the draws the grids were computed
    // from, the date, and the titles the window shows above its grids.
    using HeaderOf = std::function<PrintHeader()>;

    // caption names the window on paper and the file offered; databasePath is the draw
    // database, which is never written over; window is the parent of every dialog and message.
    GridOutput(QString caption, Grids grids, HeaderOf header, QString databasePath, QWidget* window);

    const QString& caption() const { return m_caption; }
    // The page header and titles of the grids as they are now.
    PrintHeader printHeader() const { return m_header(); }
    // What is printed and saved: the window's grids as they are now.
    QList<const Grid*> grids() const { return m_grids(); }

    // The print preview of the grids, on the page layout last chosen here (at first A4
    // portrait); its page setup changes size and orientation, its print button prints on a
    // printer, and its PDF で保存… saves the pages as they are laid out there.
    void print();
    // Ask for a file, then save to it.
    void savePdf();
    void saveCsv();

    // Save to the file named; true when it was written. A refusal or a failure is told through
    // showMessage and leaves no file of ours behind. The CSV is the grids' CSV form (cells
    // without their padding) after a UTF-8 byte-order mark.
    bool savePdfTo(const QString& path);
    bool saveCsvTo(const QString& path);

    // What the save dialogs offer first: "<caption>.<suffix>" ("<caption>_<period>.<suffix>" for
    // a window over a chosen period) in the folder last saved into in this session, or else the
    // user's documents folder (the home folder when there is none).
    QString suggestedPath(const QString& suffix) const;

    // Gives the view the context menu: the mouse's right button, the keyboard's menu key and
    // Shift+F10. The view is not changed otherwise.
    void attachContextMenu(GridView* view);
    // The menu for a view, built anew (the caller owns it); cell: the (col, row) it is for, the
    // one under the mouse or the active one, (-1,-1) for none.
    QMenu* contextMenu(GridView* view, QPoint cell = QPoint(-1, -1));
    // Entries a window puts at the top of its grids' menus, for the view and cell the menu is for
    // (it adds nothing where the cell has nothing to offer).
    using MenuEntries = std::function<void(QMenu* menu, GridView* view, QPoint cell)>;
    void setMenuEntries(MenuEntries entries) { m_menuEntries = std::move(entries); }

    // The page layout the next preview and PDF start from.
    const QPageLayout& pageLayout() const { return m_pageLayout; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void popUpMenu(GridView* view, const QPoint& globalPos);
    // The pages the print job asks for, on its printer (or, printed to a file, into that file).
    void printTo(QPrinter& printer);
    // The preview's print button opens the program's print dialog; PDF で保存… joins its tool bar.
    void takeOverPrinting(QPrintPreviewDialog* preview, QPrinter* printer);
    void printFromPreview(QPrintPreviewDialog* preview, QPrinter* printer);
    static FileWriteOptions saveOptions();
    // The parent of the dialogs and messages: the preview while it is open, else the window.
    QWidget* dialogParent() const;
    // Why the file may not be written, or empty when it may.
    QString refusal(const QString& path) const;
    // Writes what bytes makes (nothing: it could not be made) to the path, or tells why not.
    bool save(const QString& path, const QString& what, const std::function<std::optional<QByteArray>()>& bytes);
    QString choosePath(const QString& title, const QString& filter, const QString& suffix);
    void tell(const QString& text) const;

    QString m_caption;
    Grids m_grids;
    HeaderOf m_header;
    QString m_databasePath;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_dialogParent;
    QPageLayout m_pageLayout;
    MenuEntries m_menuEntries;
};
