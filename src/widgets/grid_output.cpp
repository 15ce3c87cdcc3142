#include "widgets/grid_output.h"

#include "data/draw_database.h"
#include "data/file_write.h"
#include "grid/grid_export.h"
#include "widgets/grid_view.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"
#include "widgets/modal.h"

#include <QAction>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>
#include <optional>
#include <utility>

namespace {

// The folder last saved into, for the next save dialog of any window.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

// A name a file may take: the caption without the folder separator or control characters.
QString fileNameOf(const QString& caption)
{
    QString name;
    for (const QChar c : caption)
        name += (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control) ? QChar(u'_') : c;
    name = name.trimmed();
    return name.isEmpty() || name.startsWith(u'.') ? QStringLiteral("grid") + name : name;
}

// The pages a print job asks for, 0-based: all of them unless a range was chosen.
QList<int> pagesToPrint(const QPrinter& printer, int pageCount)
{
    QList<int> pages;
    const QPageRanges ranges = printer.pageRanges();
    const bool ranged = printer.printRange() == QPrinter::PageRange && !ranges.isEmpty();
    for (int page = 0; page < pageCount; ++page) {
        if (!ranged || ranges.contains(page + 1))
            pages << page;
    }
    return pages;
}

// A PDF that could not be made comes back empty.
std::optional<QByteArray> nonEmpty(QByteArray pdf)
{
    if (pdf.isEmpty())
        return std::nullopt;
    return pdf;
}

} // namespace

GridOutput::GridOutput(QString caption, Grids grids, HeaderOf header, QString databasePath, QWidget* window)
    : QObject(window),
      m_caption(std::move(caption)),
      m_grids(std::move(grids)),
      m_header(std::move(header)),
      m_databasePath(std::move(databasePath)),
      m_window(window),
      m_pageLayout(PageLayout::defaultPageLayout())
{
    setObjectName(QStringLiteral("gridOutput"));
}

void GridOutput::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_pageLayout);
    printer.setDocName(m_caption);
    // Should the window go while the preview is open (the program ends), this goes with it and
    // nothing here is touched afterwards.
    const QPointer<GridOutput> self(this);
    auto* preview = new QPrintPreviewDialog(&printer, m_window);
    preview->setObjectName(QStringLiteral("printPreview"));
    takeOverPrinting(preview, &printer);
    // Large enough to read a page: most of the screen's height, and as wide as a page or the
    // whole tool bar (whose print button would otherwise hide behind its overflow), as the
    // screen allows.
    if (const QScreen* screen = m_window ? m_window->screen() : nullptr) {
        const QRect room = screen->availableGeometry();
        const int height = room.height() * 9 / 10;
        preview->resize(qMin(room.width(), qMax(preview->sizeHint().width(), height)), height);
    }
    connect(preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        if (target)
            printTo(*target);
    });
    m_dialogParent = preview;
    runModal(preview);
    if (!self)
        return;
    m_dialogParent = nullptr;
    // The next preview and PDF start from the paper and orientation chosen here.
    m_pageLayout = printer.pageLayout();
}

void GridOutput::takeOverPrinting(QPrintPreviewDialog* preview, QPrinter* printer)
{
    // The preview's own print button opens a print dialog that would write the pages into a
    // file it names itself, opening that file first to try it (a FIFO there would hang the
    // program). Printed from here, that dialog offers printers only; a PDF is saved beside it,
    // through the checks every save of the program takes.
    for (QAction* action : preview->findChildren<QAction*>()) {
        if (QObject::disconnect(action, SIGNAL(triggered(bool)), preview, SLOT(_q_print())))
            connect(action, &QAction::triggered, preview,
                    [this, preview, printer] { printFromPreview(preview, printer); });
    }
    auto* toolBar = preview->findChild<QToolBar*>();
    if (!toolBar)
        return;
    auto* pdf = new QAction(QStringLiteral("PDF で保存…"), preview);
    pdf->setObjectName(QStringLiteral("previewSavePdf"));
    pdf->setToolTip(QStringLiteral("このページ設定のまま PDF ファイルに保存します"));
    toolBar->addAction(pdf);
    if (auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(pdf)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(pdf, &QAction::triggered, preview, [this, printer] {
        m_pageLayout = printer->pageLayout();
        savePdf();
    });
}

void GridOutput::printFromPreview(QPrintPreviewDialog* preview, QPrinter* printer)
{
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        tell(QStringLiteral("使えるプリンターがありません。PDF ファイルにするには「PDF で保存…」を使ってください。"));
        return;
    }
    auto* dialog = new QPrintDialog(printer, preview);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, false);
    if (runModal(dialog) != QDialog::Accepted)
        return;
    if (auto* pages = preview->findChild<QPrintPreviewWidget*>())
        pages->print();
    preview->accept();
}

void GridOutput::printTo(QPrinter& printer)
{
    const QList<const Grid*> grids = m_grids();
    const PageLayout layout(grids, printHeader(), printer.pageLayout());
    const QList<int> pages = pagesToPrint(printer, layout.pageCount());
    if (pages.isEmpty()) {
        tell(QStringLiteral("印刷するページがありません（このウィンドウは %1 ページです）。").arg(layout.pageCount()));
        return;
    }

    // Printed to a file (the print dialog's PDF output): checked and written as PDF で保存 is,
    // whole or not at all, rather than by the printer straight into the file.
    if (!printer.outputFileName().isEmpty()) {
        const QString path = printer.outputFileName();
        save(path, QStringLiteral("PDF"), [&] { return nonEmpty(pdfOf(layout, pages, printer.resolution())); });
        return;
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        tell(QStringLiteral("印刷できません。プリンターを使えません。"));
        return;
    }
    // The painter's origin is the corner of the printable area.
    const int resolution = printer.resolution();
    const QRect paintRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(resolution).size());
    bool first = true;
    for (const int page : pages) {
        if (!first)
            printer.newPage();
        first = false;
        layout.paint(painter, page, paintRect, resolution);
    }
    if (!painter.end())
        tell(QStringLiteral("印刷できませんでした。プリンターがページを受け取りませんでした。"));
}

void GridOutput::savePdf()
{
    const QString path
        = choosePath(QStringLiteral("PDF で保存"), QStringLiteral("PDF ファイル (*.pdf)"), QStringLiteral("pdf"));
    if (!path.isEmpty())
        savePdfTo(path);
}

void GridOutput::saveCsv()
{
    const QString path
        = choosePath(QStringLiteral("CSV で保存"), QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        saveCsvTo(path);
}

bool GridOutput::savePdfTo(const QString& path)
{
    return save(path, QStringLiteral("PDF"),
                [this] { return nonEmpty(pdfOf(PageLayout(m_grids(), printHeader(), m_pageLayout))); });
}

bool GridOutput::saveCsvTo(const QString& path)
{
    // With the byte-order mark: a spreadsheet on a Japanese desktop reads a CSV file without one
    // in the locale's code page and garbles every Japanese text.
    return save(path, QStringLiteral("CSV"),
                [this] { return std::optional<QByteArray>(withUtf8Bom(gridsToCsv(m_grids()))); });
}

FileWriteOptions GridOutput::saveOptions()
{
    // Never a device or a pipe, also one that appears while the file is being made, and never
    // waiting for a reader.
    FileWriteOptions options;
    options.onlyRegularFiles = true;
    options.waitForReader = false;
    return options;
}

QString GridOutput::refusal(const QString& path) const
{
    // A device or a pipe the writer refuses itself (saveOptions), also one that appears late.
    if (DrawDatabase::isDatabaseFile(m_databasePath, path))
        return QStringLiteral("当選データのデータベースのファイルです。別の名前を選んでください");
    return QString();
}

bool GridOutput::save(const QString& path, const QString& what, const std::function<std::optional<QByteArray>()>& bytes)
{
    const QString shown = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString reason = refusal(path);
    if (reason.isEmpty()) {
        Hourglass hourglass;
        const std::optional<QByteArray> content = bytes();
        if (!content)
            reason = QStringLiteral("%1 を作れませんでした").arg(what);
        else if (writeFileBytes(path, *content, &reason, saveOptions())) {
            lastFolder() = QFileInfo(path).absolutePath();
            return true;
        }
    }
    tell(QStringLiteral("%1 を保存できません。\n\nファイル: %2\n理由: %3").arg(what, shown, reason));
    return false;
}

QString GridOutput::suggestedPath(const QString& suffix) const
{
    QString folder = lastFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            folder = QDir::homePath();
    }
    // A window over fewer than all draws says which in the name: "出現頻度分析_直近100回.csv".
    const QString period = m_header ? m_header().period : QString();
    const QString name = period.isEmpty() ? m_caption : m_caption + u'_' + period;
    return QDir(folder).filePath(fileNameOf(name) + u'.' + suffix);
}

QString GridOutput::choosePath(const QString& title, const QString& filter, const QString& suffix)
{
    auto* dialog = new QFileDialog(dialogParent(), title);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    // A name typed without its suffix gets it, as the filter says.
    dialog->setDefaultSuffix(suffix);
    const QString suggested = suggestedPath(suffix);
    dialog->setDirectory(QFileInfo(suggested).absolutePath());
    dialog->selectFile(QFileInfo(suggested).fileName());
    QStringList chosen;
    if (runModal(dialog, [&](QFileDialog& d) { chosen = d.selectedFiles(); }) != QDialog::Accepted || chosen.isEmpty())
        return QString();
    return chosen.constFirst();
}

QWidget* GridOutput::dialogParent() const
{
    return m_dialogParent ? m_dialogParent.data() : m_window.data();
}

void GridOutput::tell(const QString& text) const
{
    showMessage({dialogParent(), text, kMessageTitle, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok});
}

QMenu* GridOutput::contextMenu(GridView* view, QPoint cell)
{
    auto* menu = new QMenu(view);
    menu->setObjectName(QStringLiteral("gridMenu"));
    if (m_menuEntries) {
        m_menuEntries(menu, view, cell);
        if (!menu->isEmpty())
            menu->addSeparator();
    }
    const QPointer<GridView> target = view;
    QAction* copy = menu->addAction(QStringLiteral("コピー"));
    copy->setShortcut(QKeySequence::Copy); // shown beside it: the view's own Ctrl+C
    connect(copy, &QAction::triggered, this, [target] {
        if (target)
            target->copyToClipboard();
    });
    // The dialogs open once the menu has finished with the click: a dialog's own event loop
    // may delete a menu that closes itself while the menu is still handling the click.
    menu->addSeparator();
    connect(
        menu->addAction(QStringLiteral("CSV で保存…")), &QAction::triggered, this, [this] { saveCsv(); },
        Qt::QueuedConnection);
    connect(
        menu->addAction(QStringLiteral("PDF で保存…")), &QAction::triggered, this, [this] { savePdf(); },
        Qt::QueuedConnection);
    menu->addSeparator();
    connect(
        menu->addAction(QStringLiteral("印刷…")), &QAction::triggered, this, [this] { print(); }, Qt::QueuedConnection);
    return menu;
}

void GridOutput::attachContextMenu(GridView* view)
{
    // The mouse's menu reaches the viewport, the keyboard's the view (its focus widget).
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
}

bool GridOutput::eventFilter(QObject* watched, QEvent* event)
{
    GridView* view = qobject_cast<GridView*>(watched);
    if (!view && watched->parent())
        view = qobject_cast<GridView*>(watched->parent());
    if (!view || (watched != view && watched != view->viewport()))
        return QObject::eventFilter(watched, event);

    if (event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Mouse)
            popUpMenu(view, menuEvent->globalPos());
        else
            popUpMenu(view, QPoint(-1, -1));
        event->accept();
        return true;
    }
    // Shift+F10 as the menu key: the window system turns the menu key itself into the event
    // above, but not this one.
    if (event->type() == QEvent::KeyPress && watched == view) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            popUpMenu(view, QPoint(-1, -1));
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void GridOutput::popUpMenu(GridView* view, const QPoint& globalPos)
{
    QPoint at = globalPos;
    QPoint forCell(view->activeCol(), view->activeRow());
    if (at != QPoint(-1, -1))
        forCell = view->cellAt(view->viewport()->mapFromGlobal(at));
    if (at == QPoint(-1, -1)) {
        // From the keyboard: below the active cell where it is in view, else at the top left.
        QWidget* viewport = view->viewport();
        QPoint local(0, 0);
        if (view->grid()) {
            const QRect cell = view->cellRect(view->activeCol(), view->activeRow());
            if (!cell.isEmpty() && viewport->rect().intersects(cell))
                local = QPoint(qBound(0, cell.left(), viewport->width() - 1),
                               qBound(0, cell.bottom(), viewport->height() - 1));
        }
        at = viewport->mapToGlobal(local);
    }
    QMenu* menu = contextMenu(view, forCell);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}
