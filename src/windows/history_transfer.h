#pragma once
// データ管理's commands that move the history in and out from the program: importing draws (a
// CSV file or pasted text, with a preview first), exporting the history as CSV, backing the
// database up and restoring it from a backup. Each command works on the host's database and
// has the host read the history again (once) when it changed it.
//
// Each entry point that asks for a file has a twin that takes the file (…To, …From), for tests
// and for callers that know the file already.

#include "data/history_csv.h"
#include "data/history_import.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class WindowHost;

namespace history_transfer {

// The import dialog (a modal one), then nothing more: the windows show what was imported.
void importHistory(WindowHost& host);
// A save dialog, then exportHistoryTo.
void exportHistory(WindowHost& host);
// A save dialog (Numbers3Zubarin-YYYYMMDD.db in the last folder used, or the home folder), then
// backupDatabaseTo.
void backupDatabase(WindowHost& host);
// An open dialog, then restoreDatabaseFrom.
void restoreDatabase(WindowHost& host);

// Writes the database's history (read from it now) to path as CSV in the companion's form with
// a UTF-8 BOM in front, never over the database or a file beside it, nor into a device or a
// FIFO. Says where it went, or why not. True when written.
bool exportHistoryTo(WindowHost& host, const QString& path);
// Makes a backup of the database at path (database_backup::backUp) and says where it went and
// what it holds, or why not.
bool backupDatabaseTo(WindowHost& host, const QString& path);
// Checks the file, asks whether to replace the current history with what it holds, and restores
// it (database_backup::restore), keeping the replaced database as Numbers3Zubarin.db.bak; then
// has the host read the history again. Says why when it cannot. True when restored.
bool restoreDatabaseFrom(WindowHost& host, const QString& path);

// Where the save and open dialogs start: the folder last used by one of them in this session,
// else the home folder.
QString startFolder();

} // namespace history_transfer

// The text box of the import dialog. A paste that fills the empty box with draws says so
// (pastedDraws), so the dialog can move on to 確認; Ctrl+Enter asks for the preview.
class DrawTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    using QPlainTextEdit::QPlainTextEdit;

Q_SIGNALS:
    void pastedDraws();
    void previewRequested();

protected:
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// "当選データの取り込み": where the draws come from (pasted text, or a CSV file), then the
// preview of what they would do (the draws to add, the draws that would change with the old and
// new values side by side, how many are already stored as given, the lines refused and why),
// then 取り込む (everything in one transaction, then the host reads the history once) or
// キャンセル (nothing written). The keyboard alone does it: with draws on the clipboard the box
// is filled when the dialog opens (or when they are copied while it is open) and Enter, Enter
// previews and imports.
//
// Object names: pages (inputPage, previewPage); textSource, fileSource; drawText, pasteButton;
// filePath, browseButton; previewButton; summary, note, previewTabs with additions, changes
// and refused (tables); backButton, importButton, cancelButton.
class HistoryImportDialog : public QDialog {
    Q_OBJECT

public:
    HistoryImportDialog(WindowHost& host, QWidget* parent);

    // What the preview page shows; nothing while the first page is up.
    const std::optional<history_import::Preview>& preview() const { return m_preview; }

    // The steps the buttons take.
    void pasteFromClipboard();
    void chooseFile();
    // Reads the draws and shows the preview; false (the user told why) when they cannot be read.
    bool showPreview();
    void goBack();
    // Writes the preview's draws; on success the host reads the history again and the dialog
    // closes accepted.
    bool importPreviewed();

protected:
    bool event(QEvent* event) override;

private:
    void takeClipboardIfEmpty();
    // Puts text into the box as the dialog's own doing (not the player's typing).
    void fill(const QString& text);
    void updateButtons();
    void fillPreview();
    // The draws of the chosen source; when the text or the file cannot be read at all, the
    // message that says so is in failure.
    HistoryCsv readInput(history_import::Source* source, QString* failure);
    void tell(const QString& text, bool warning = true);

    WindowHost& m_host;
    QStackedWidget* m_pages = nullptr;
    QRadioButton* m_textSource = nullptr;
    QRadioButton* m_fileSource = nullptr;
    DrawTextEdit* m_text = nullptr;
    QPushButton* m_paste = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_summary = nullptr;
    QLabel* m_note = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTableWidget* m_additions = nullptr;
    QTableWidget* m_changes = nullptr;
    QTableWidget* m_refused = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_cancel = nullptr;
    std::optional<HistoryCsv> m_input; // what the preview was made from
    history_import::Source m_source = history_import::Source::Text;
    std::optional<history_import::Preview> m_preview;
    bool m_filling = false;
    bool m_touched = false; // the player has typed into the box, or cleared it
};
