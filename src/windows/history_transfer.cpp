#include "windows/history_transfer.h"

#include "data/database_backup.h"
#include "data/draw.h"
#include "data/draw_database.h"
#include "data/file_write.h"
#include "data/history_source.h"
#include "data/message_text.h"
#include "widgets/hourglass.h"
#include "widgets/message_box.h"
#include "widgets/modal.h"
#include "widgets/window_host.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString& lastFolder()
{
    static QString folder;
    return folder;
}

void remember(const QString& path)
{
    lastFolder() = QFileInfo(path).absolutePath();
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

QString chooseOpenPath(QWidget* parent, const QString& title, const QString& filter)
{
    auto* dialog = new QFileDialog(parent, title);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(filter);
    dialog->setDirectory(history_transfer::startFolder());
    QStringList chosen;
    if (runModal(dialog, [&](QFileDialog& d) { chosen = d.selectedFiles(); }) != QDialog::Accepted || chosen.isEmpty())
        return QString();
    return chosen.constFirst();
}

} // namespace

namespace history_transfer {

namespace {

void tell(WindowHost& host, const QString& text, QMessageBox::Icon icon)
{
    showMessage({host.dialogParent(), text, kMessageTitle, icon, QMessageBox::Ok, QMessageBox::Ok});
}

// The host's database, or empty when it has none yet (the user has been told).
QString databaseOf(WindowHost& host)
{
    const QString path = host.databasePath();
    if (path.isEmpty())
        tell(host, QStringLiteral("当選データのデータベースが開かれていません。"), QMessageBox::Warning);
    return path;
}

// What the database holds now, read from it (the history shown may wait for the entry window to close).
std::optional<History> readNow(const QString& databasePath, QString* reason)
{
    return history_source::reread(DrawDatabase::connectString(databasePath), reason);
}

QString chooseSavePath(WindowHost& host, const QString& title, const QString& filter, const QString& suffix,
                       const QString& fileName)
{
    auto* dialog = new QFileDialog(host.dialogParent(), title);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    dialog->setDirectory(startFolder());
    dialog->selectFile(fileName);
    QStringList chosen;
    if (runModal(dialog, [&](QFileDialog& d) { chosen = d.selectedFiles(); }) != QDialog::Accepted || chosen.isEmpty())
        return QString();
    return chosen.constFirst();
}

} // namespace

QString startFolder()
{
    const QString folder = lastFolder();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void importHistory(WindowHost& host)
{
    if (databaseOf(host).isEmpty())
        return;
    runModal(new HistoryImportDialog(host, host.dialogParent()));
}

void exportHistory(WindowHost& host)
{
    if (databaseOf(host).isEmpty())
        return;
    const QString fileName
        = QStringLiteral("numbers3-history-%1.csv").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    const QString path = chooseSavePath(host, QStringLiteral("当選データの書き出し"),
                                        QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("csv"), fileName);
    if (!path.isEmpty())
        exportHistoryTo(host, path);
}

bool exportHistoryTo(WindowHost& host, const QString& path)
{
    const QString database = databaseOf(host);
    if (database.isEmpty())
        return false;
    QString reason;
    std::optional<History> history;
    bool written = false;
    if (DrawDatabase::isDatabaseFile(database, path)) {
        reason = QStringLiteral("当選データのデータベースのファイルです。別の名前を選んでください");
    } else {
        Hourglass hourglass;
        history = readNow(database, &reason);
        if (history) {
            // Never a device or a pipe, also one that appears while the file is being made.
            FileWriteOptions options;
            options.onlyRegularFiles = true;
            options.waitForReader = false;
            written = writeFileBytes(path, historyCsvBytes(*history, true), &reason, options);
        }
    }
    if (!written) {
        tell(host, QStringLiteral("当選データを書き出せません。\n\nファイル: %1\n理由: %2").arg(shown(path), reason),
             QMessageBox::Warning);
        return false;
    }
    remember(path);
    tell(host,
         QStringLiteral("当選データを書き出しました。\n\nファイル: %1\n内容: %2")
             .arg(shown(path), message::historySpan(*history)),
         QMessageBox::Information);
    return true;
}

void backupDatabase(WindowHost& host)
{
    if (databaseOf(host).isEmpty())
        return;
    const QString path = chooseSavePath(host, QStringLiteral("バックアップ"), QStringLiteral("データベース (*.db)"),
                                        QStringLiteral("db"), database_backup::defaultFileName(QDate::currentDate()));
    if (!path.isEmpty())
        backupDatabaseTo(host, path);
}

bool backupDatabaseTo(WindowHost& host, const QString& path)
{
    const QString database = databaseOf(host);
    if (database.isEmpty())
        return false;
    QString reason;
    std::optional<History> held;
    {
        Hourglass hourglass;
        held = database_backup::backUp(database, path, &reason);
    }
    if (!held) {
        tell(host, QStringLiteral("バックアップを作れません。\n\nファイル: %1\n理由: %2").arg(shown(path), reason),
             QMessageBox::Warning);
        return false;
    }
    remember(path);
    tell(host,
         QStringLiteral("バックアップを作りました。\n\nファイル: %1\n内容: %2")
             .arg(shown(path), message::historySpan(*held)),
         QMessageBox::Information);
    return true;
}

void restoreDatabase(WindowHost& host)
{
    if (databaseOf(host).isEmpty())
        return;
    const QString path = chooseOpenPath(host.dialogParent(), QStringLiteral("バックアップから戻す"),
                                        QStringLiteral("データベース (*.db *.bak);;すべてのファイル (*)"));
    if (!path.isEmpty())
        restoreDatabaseFrom(host, path);
}

bool restoreDatabaseFrom(WindowHost& host, const QString& path)
{
    const QString database = databaseOf(host);
    if (database.isEmpty())
        return false;
    QString reason;
    std::optional<database_backup::Candidate> candidate;
    std::optional<History> current;
    {
        Hourglass hourglass;
        candidate = database_backup::inspect(path, database, &reason);
        if (candidate) {
            QString unread;
            current = readNow(database, &unread);
        }
    }
    if (!candidate) {
        tell(host, QStringLiteral("このファイルからは戻せません。\n\nファイル: %1\n理由: %2").arg(shown(path), reason),
             QMessageBox::Warning);
        return false;
    }
    const QString kept = database_backup::keptCopyPath(database);
    const QString question
        = QStringLiteral("今の当選データを、バックアップの内容に置き換えます。よろしいですか？\n\n"
                         "バックアップ: %1\n内容: %2\n\n今の当選データ: %3\n"
                         "今の当選データは、次のファイルに残します。\n%4")
              .arg(shown(path), message::historySpan(candidate->history),
                   current ? message::historySpan(*current) : QStringLiteral("（読めません）"), shown(kept));
    if (showMessage({host.dialogParent(), question, kMessageTitle, QMessageBox::Question,
                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No})
        != QMessageBox::Yes)
        return false;
    std::optional<database_backup::Restored> restored;
    {
        Hourglass hourglass;
        restored = database_backup::restore(*candidate, database, &reason);
    }
    if (!restored) {
        tell(host,
             QStringLiteral("バックアップから戻せません。当選データは元のままです。\n\nファイル: %1\n理由: %2")
                 .arg(shown(path), reason),
             QMessageBox::Warning);
        return false;
    }
    remember(path);
    host.reloadHistory();
    tell(host,
         QStringLiteral(
             "バックアップから戻しました。\n\n内容: %1\n\n前の当選データ（%2）は、次のファイルにあります。\n%3")
             .arg(message::historySpan(restored->after), message::historySpan(restored->before),
                  shown(restored->keptCopy)),
         QMessageBox::Information);
    return true;
}

} // namespace history_transfer

// ---------------------------------------------------------------------------------------------

void DrawTextEdit::insertFromMimeData(const QMimeData* source)
{
    const bool wasEmpty = document()->isEmpty();
    QPlainTextEdit::insertFromMimeData(source);
    if (wasEmpty && history_import::holdsDraws(toPlainText()))
        Q_EMIT pastedDraws();
}

void DrawTextEdit::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        Q_EMIT previewRequested();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

namespace {

// stretchLast: the last column takes the room left (a reason); otherwise every column is as
// wide as its contents, and a date column as wide as a date.
QTableWidget* makeTable(const QString& name, const QStringList& headers, bool stretchLast)
{
    auto* table = new QTableWidget(0, int(headers.size()));
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(stretchLast);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->setWordWrap(false);
    return table;
}

QTableWidgetItem* cell(const QString& text, bool number = false, bool emphasised = false)
{
    auto* item = new QTableWidgetItem(text);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (emphasised) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

QString dateShown(const QString& date)
{
    return date.isEmpty() ? QStringLiteral("－") : date;
}

// A line as the table of refused lines shows it: on one line, not too long.
QString lineShown(const QString& text)
{
    return message::excerpt(QStringView(text).trimmed());
}

} // namespace

HistoryImportDialog::HistoryImportDialog(WindowHost& host, QWidget* parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("HistoryImportDialog"));
    setWindowTitle(QStringLiteral("当選データの取り込み"));

    m_pages = new QStackedWidget;
    m_pages->setObjectName(QStringLiteral("pages"));

    // Where the draws come from.
    auto* input = new QWidget;
    input->setObjectName(QStringLiteral("inputPage"));
    auto* inputLayout = new QVBoxLayout(input);
    inputLayout->setContentsMargins(0, 0, 0, 0);
    m_textSource = new QRadioButton(QStringLiteral("貼り付けた文字から(&T)"));
    m_textSource->setObjectName(QStringLiteral("textSource"));
    m_textSource->setChecked(true);
    auto* textHint
        = new QLabel(QStringLiteral("1行に1回分ずつ、回数と当選数字を書くか貼り付けます（抽せん日は省けます）。\n"
                                    "例:　第7090回 2026/10/12 123　　7090,1,2,3　　7090 123"));
    textHint->setTextFormat(Qt::PlainText);
    m_text = new DrawTextEdit;
    m_text->setObjectName(QStringLiteral("drawText"));
    m_text->setTabChangesFocus(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setPlaceholderText(QStringLiteral("第7090回 2026/10/12 123\n（Ctrl+Enter で内容を確認します）"));
    m_paste = new QPushButton(QStringLiteral("クリップボードから貼り付け(&V)"));
    m_paste->setObjectName(QStringLiteral("pasteButton"));
    auto* textRow = new QHBoxLayout;
    textRow->addWidget(m_text, 1);
    auto* textButtons = new QVBoxLayout;
    textButtons->addWidget(m_paste);
    textButtons->addStretch(1);
    textRow->addLayout(textButtons);

    m_fileSource = new QRadioButton(QStringLiteral("CSV ファイルから(&F)"));
    m_fileSource->setObjectName(QStringLiteral("fileSource"));
    m_path = new QLineEdit;
    m_path->setObjectName(QStringLiteral("filePath"));
    m_browse = new QPushButton(QStringLiteral("参照…(&R)"));
    m_browse->setObjectName(QStringLiteral("browseButton"));
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(m_browse);
    auto* fileHint = new QLabel(QStringLiteral("見出しの行が「回数,第1数字,第2数字,第3数字」で始まる UTF-8 の CSV"
                                               "（抽せん日の列はあってもなくてもかまいません）"));
    fileHint->setWordWrap(true);

    // What belongs to a choice stands under it, indented as far as the choice's text.
    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, m_textSource)
        + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, m_textSource);
    auto* textBlock = new QVBoxLayout;
    textBlock->setContentsMargins(indent, 0, 0, 0);
    textBlock->addWidget(textHint);
    textBlock->addLayout(textRow, 1);
    auto* fileBlock = new QVBoxLayout;
    fileBlock->setContentsMargins(indent, 0, 0, 0);
    fileBlock->addLayout(fileRow);
    fileBlock->addWidget(fileHint);
    inputLayout->addWidget(m_textSource);
    inputLayout->addLayout(textBlock, 1);
    inputLayout->addSpacing(8);
    inputLayout->addWidget(m_fileSource);
    inputLayout->addLayout(fileBlock);
    m_pages->addWidget(input);

    // What the draws would do.
    auto* previewPage = new QWidget;
    previewPage->setObjectName(QStringLiteral("previewPage"));
    auto* previewLayout = new QVBoxLayout(previewPage);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("previewTabs"));
    m_additions
        = makeTable(QStringLiteral("additions"),
                    {QStringLiteral("行"), draw::kDrawNoField, QStringLiteral("当選数字"), draw::kDateField}, false);
    m_changes
        = makeTable(QStringLiteral("changes"),
                    {QStringLiteral("行"), draw::kDrawNoField, QStringLiteral("今の数字"),
                     QStringLiteral("今の抽せん日"), QStringLiteral("新しい数字"), QStringLiteral("新しい抽せん日")},
                    false);
    m_refused = makeTable(QStringLiteral("refused"),
                          {QStringLiteral("行"), QStringLiteral("内容"), QStringLiteral("理由")}, true);
    m_tabs->addTab(m_additions, QString());
    m_tabs->addTab(m_changes, QString());
    m_tabs->addTab(m_refused, QString());
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setWordWrap(true);
    m_note->setTextFormat(Qt::PlainText);
    previewLayout->addWidget(m_summary);
    previewLayout->addWidget(m_tabs, 1);
    previewLayout->addWidget(m_note);
    m_pages->addWidget(previewPage);

    m_back = new QPushButton(QStringLiteral("< 戻る(&B)"));
    m_back->setObjectName(QStringLiteral("backButton"));
    m_previewButton = new QPushButton(QStringLiteral("内容を確認(&P) >"));
    m_previewButton->setObjectName(QStringLiteral("previewButton"));
    m_import = new QPushButton(QStringLiteral("取り込む(&I)"));
    m_import->setObjectName(QStringLiteral("importButton"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_previewButton);
    buttons->addWidget(m_import);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_paste, &QPushButton::clicked, this, &HistoryImportDialog::pasteFromClipboard);
    connect(m_browse, &QPushButton::clicked, this, &HistoryImportDialog::chooseFile);
    connect(m_previewButton, &QPushButton::clicked, this, &HistoryImportDialog::showPreview);
    connect(m_back, &QPushButton::clicked, this, &HistoryImportDialog::goBack);
    connect(m_import, &QPushButton::clicked, this, &HistoryImportDialog::importPreviewed);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_textSource, &QRadioButton::toggled, this, &HistoryImportDialog::updateButtons);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        m_touched = m_touched || !m_filling;
        if (!m_text->document()->isEmpty())
            m_textSource->setChecked(true);
        updateButtons();
    });
    connect(m_path, &QLineEdit::textChanged, this, [this] {
        if (!m_path->text().isEmpty())
            m_fileSource->setChecked(true);
        updateButtons();
    });
    connect(m_text, &DrawTextEdit::pastedDraws, this, [this] { m_previewButton->setFocus(); });
    connect(m_text, &DrawTextEdit::previewRequested, this, [this] {
        if (m_previewButton->isEnabled())
            showPreview();
    });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &HistoryImportDialog::takeClipboardIfEmpty);

    // Its size, or what the screen has room for (a small screen, a large scale).
    QSize size(760, 540);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    resize(size);
    m_pages->setCurrentIndex(0);
    takeClipboardIfEmpty();
    updateButtons();
    if (m_text->document()->isEmpty())
        m_text->setFocus();
}

bool HistoryImportDialog::event(QEvent* event)
{
    // Back from the browser with draws copied: they are in the box.
    if (event->type() == QEvent::WindowActivate)
        takeClipboardIfEmpty();
    return QDialog::event(event);
}

void HistoryImportDialog::takeClipboardIfEmpty()
{
    // Only into a box the player has not touched: what was typed or cleared stays as it is.
    if (m_touched || m_pages->currentIndex() != 0 || !m_text->document()->isEmpty() || !m_path->text().isEmpty())
        return;
    const QString clipboard = QApplication::clipboard()->text();
    if (!history_import::holdsDraws(clipboard))
        return;
    fill(clipboard);
}

void HistoryImportDialog::pasteFromClipboard()
{
    const QString clipboard = QApplication::clipboard()->text();
    if (clipboard.trimmed().isEmpty()) {
        tell(QStringLiteral("クリップボードに文字がありません。"), false);
        return;
    }
    fill(clipboard);
}

void HistoryImportDialog::fill(const QString& text)
{
    m_filling = true;
    m_text->setPlainText(text);
    m_filling = false;
    m_textSource->setChecked(true);
    m_previewButton->setFocus();
}

void HistoryImportDialog::chooseFile()
{
    const QString path = chooseOpenPath(this, QStringLiteral("当選データの取り込み"),
                                        QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    m_path->setText(QDir::toNativeSeparators(path));
    m_fileSource->setChecked(true);
    m_previewButton->setFocus();
}

void HistoryImportDialog::updateButtons()
{
    const bool onPreview = m_pages->currentIndex() == 1;
    m_back->setVisible(onPreview);
    m_import->setVisible(onPreview);
    m_previewButton->setVisible(!onPreview);
    const bool hasInput
        = m_textSource->isChecked() ? !m_text->toPlainText().trimmed().isEmpty() : !m_path->text().trimmed().isEmpty();
    m_previewButton->setEnabled(hasInput);
    m_import->setEnabled(onPreview && m_preview && m_preview->writesAnything());
    if (onPreview) {
        m_import->setDefault(m_import->isEnabled());
        m_back->setDefault(!m_import->isEnabled());
    } else {
        m_previewButton->setDefault(true);
    }
}

HistoryCsv HistoryImportDialog::readInput(history_import::Source* source, QString* failure)
{
    if (m_textSource->isChecked()) {
        *source = history_import::Source::Text;
        HistoryCsv text = history_import::parseText(m_text->toPlainText());
        if (!text.ok())
            *failure = QStringLiteral("貼り付けた文字を読めません。\n\n理由: %1").arg(text.error);
        return text;
    }
    *source = history_import::Source::File;
    const QString path = QDir::fromNativeSeparators(m_path->text().trimmed());
    HistoryCsv file = HistoryCsv::readFile(path, HistoryCsv::BadLines::Collect);
    if (!file.ok())
        *failure = QStringLiteral("ファイルを読めません。\n\nファイル: %1\n理由: %2").arg(shown(path), file.error);
    else
        remember(path);
    return file;
}

bool HistoryImportDialog::showPreview()
{
    if (!m_previewButton->isEnabled() && m_pages->currentIndex() == 0)
        return false;
    history_import::Source source;
    HistoryCsv input;
    std::optional<history_import::Preview> preview;
    QString failure;
    {
        Hourglass hourglass;
        input = readInput(&source, &failure);
        QString reason;
        if (input.ok()) {
            preview = history_import::preview(m_host.databasePath(), input, source, &reason);
            if (!preview)
                failure = QStringLiteral("当選データのデータベースを読めません。\n\nファイル: %1\n理由: %2")
                              .arg(shown(m_host.databasePath()), reason);
        }
    }
    if (!preview) {
        tell(failure);
        return false;
    }
    m_input = std::move(input);
    m_source = source;
    m_preview = std::move(preview);
    fillPreview();
    m_pages->setCurrentIndex(1);
    updateButtons();
    if (m_import->isEnabled())
        m_import->setFocus();
    else
        m_back->setFocus();
    return true;
}

void HistoryImportDialog::fillPreview()
{
    const history_import::Preview& p = *m_preview;
    const QString prizes = QStringLiteral("当せん金 新しく %1回分・変更 %2回分・登録済みと同じ %3回分")
                               .arg(p.prizeAdditions)
                               .arg(p.prizeChanges)
                               .arg(p.prizesUnchanged);
    if (p.prizesOnly)
        m_summary->setText(QStringLiteral("%1　　取り込めない行 %2行").arg(prizes).arg(p.refused.size()));
    else
        m_summary->setText(
            QStringLiteral("追加 %1回分　　変更 %2回分　　登録済みと同じ %3回分　　取り込めない行 %4行%5")
                .arg(p.additions.size())
                .arg(p.changes.size())
                .arg(p.unchanged)
                .arg(p.refused.size())
                .arg(m_input && m_input->hasPrizes ? QStringLiteral("\n") + prizes : QString()));

    m_additions->setRowCount(int(p.additions.size()));
    for (int r = 0; r < p.additions.size(); ++r) {
        const history_import::PreviewRow& row = p.additions.at(r);
        m_additions->setItem(r, 0, cell(QString::number(row.line), true));
        m_additions->setItem(r, 1, cell(QString::number(row.drawNo), true));
        m_additions->setItem(r, 2, cell(history_import::digitsText(row.after)));
        m_additions->setItem(r, 3, cell(dateShown(row.after.date)));
    }
    m_additions->setColumnHidden(3, !p.hasDateColumn);

    m_changes->setRowCount(int(p.changes.size()));
    for (int r = 0; r < p.changes.size(); ++r) {
        const history_import::PreviewRow& row = p.changes.at(r);
        const QString oldDigits = history_import::digitsText(*row.before);
        const QString newDigits = history_import::digitsText(row.after);
        m_changes->setItem(r, 0, cell(QString::number(row.line), true));
        m_changes->setItem(r, 1, cell(QString::number(row.drawNo), true));
        m_changes->setItem(r, 2, cell(oldDigits));
        m_changes->setItem(r, 3, cell(dateShown(row.before->date)));
        m_changes->setItem(r, 4, cell(newDigits, false, newDigits != oldDigits));
        m_changes->setItem(r, 5, cell(dateShown(row.after.date), false, row.after.date != row.before->date));
    }
    m_changes->setColumnHidden(3, !p.hasDateColumn);
    m_changes->setColumnHidden(5, !p.hasDateColumn);

    m_refused->setRowCount(int(p.refused.size()));
    for (int r = 0; r < p.refused.size(); ++r) {
        const RefusedLine& line = p.refused.at(r);
        m_refused->setItem(r, 0, cell(QString::number(line.line), true));
        m_refused->setItem(r, 1, cell(lineShown(line.text)));
        m_refused->setItem(r, 2, cell(line.reason));
    }

    m_tabs->setTabText(0, QStringLiteral("追加（%1）").arg(p.additions.size()));
    m_tabs->setTabText(1, QStringLiteral("変更（%1）").arg(p.changes.size()));
    m_tabs->setTabText(2, QStringLiteral("取り込めない行（%1）").arg(p.refused.size()));
    for (QTableWidget* table : {m_additions, m_changes, m_refused}) {
        table->resizeColumnsToContents();
        // Room for the widest value a column takes, also while it shows none, and a blank beside it.
        const int blank = table->fontMetrics().horizontalAdvance(u'0') * 2;
        // The last column of the refused lines (the reason) takes the room left.
        const int sized = table == m_refused ? table->columnCount() - 1 : table->columnCount();
        for (int c = 0; c < sized; ++c) {
            const QString header = table->horizontalHeaderItem(c)->text();
            const QString widest = header.contains(draw::kDateField) ? QStringLiteral("0000/00/00")
                : header == draw::kDrawNoField                       ? QStringLiteral("00000")
                                                                     : QString();
            const int wanted = qMax(table->horizontalHeader()->fontMetrics().horizontalAdvance(header),
                                    table->fontMetrics().horizontalAdvance(widest))
                + blank;
            table->setColumnWidth(c, qMax(table->columnWidth(c), wanted));
        }
        table->scrollToTop();
    }
    m_tabs->setCurrentIndex(!p.additions.isEmpty() ? 0 : !p.changes.isEmpty() ? 1 : !p.refused.isEmpty() ? 2 : 0);

    QStringList notes;
    if (!p.writesAnything())
        notes << QStringLiteral("データベースに書き込むものはありません。");
    else if (p.prizesOnly)
        notes << QStringLiteral("「取り込む」で、当せん金をまとめて書き込みます。当選番号は変わりません。");
    else
        notes << QStringLiteral("「取り込む」で、追加と変更をまとめて書き込みます。");
    if (!p.refused.isEmpty())
        notes << QStringLiteral("取り込めない行は書き込みません。直すには「戻る」で前の画面に戻ってください。");
    if (!p.changes.isEmpty())
        notes << QStringLiteral("「変更」の回は、表の「新しい」欄のとおりに書き換わります。");
    m_note->setText(notes.join(u'\n'));
}

void HistoryImportDialog::goBack()
{
    m_pages->setCurrentIndex(0);
    m_preview.reset();
    updateButtons();
    if (m_textSource->isChecked())
        m_text->setFocus();
    else
        m_path->setFocus();
}

bool HistoryImportDialog::importPreviewed()
{
    if (!m_preview || !m_preview->writesAnything())
        return false;
    history_import::Applied applied;
    {
        Hourglass hourglass;
        applied = history_import::apply(m_host.databasePath(), *m_preview);
    }
    switch (applied.outcome) {
    case history_import::Applied::Written:
        m_host.reloadHistory();
        accept();
        return true;
    case history_import::Applied::Stale: {
        tell(QStringLiteral("確認のあとで、ほかのプログラムが当選データを書き換えました。何も書き込んでいません。\n\n"
                            "今の当選データで確認し直しますので、もう一度確かめてください。"),
             false);
        QString reason;
        std::optional<history_import::Preview> fresh;
        {
            Hourglass hourglass;
            fresh = history_import::preview(m_host.databasePath(), *m_input, m_source, &reason);
        }
        if (!fresh) {
            tell(QStringLiteral("当選データのデータベースを読めません。\n\n理由: %1").arg(reason));
            goBack();
            return false;
        }
        m_preview = std::move(fresh);
        fillPreview();
        updateButtons();
        return false;
    }
    case history_import::Applied::Failed:
        break;
    }
    tell(QStringLiteral("当選データを取り込めません。何も書き込んでいません。\n\n理由: %1").arg(applied.reason));
    return false;
}

void HistoryImportDialog::tell(const QString& text, bool warning)
{
    showMessage({this, text, kMessageTitle, warning ? QMessageBox::Warning : QMessageBox::Information, QMessageBox::Ok,
                 QMessageBox::Ok});
}
