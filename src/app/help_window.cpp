#include "app/help_window.h"

#include "data/message_text.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

const QString HelpWindow::kCaption = QStringLiteral("ナンバーズ3ズバリン ヘルプ");
const QString HelpWindow::kResourceFolder = QStringLiteral(":/help");

namespace {

// The pages are Japanese: a Gothic face that has the glyphs, whatever the desktop's default.
const QStringList kFontFamilies
    = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
       QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")};
constexpr double kTextPointSize = 10.5;

const QColor kMatchBack(255, 236, 120); // every place the word stands in the page
const QColor kCurrentBack(255, 160, 60); // the one found last

// The page of the manual a URL names, without its anchor; empty when it is none of the manual.
QString resourcePath(const QUrl& url)
{
    if (url.scheme() != QLatin1String("qrc"))
        return {};
    const QString path = QDir::cleanPath(url.path());
    if (!path.startsWith(QStringLiteral("/help/")) || !path.endsWith(QStringLiteral(".html")))
        return {};
    return u':' + path;
}

QUrl withoutFragment(QUrl url)
{
    url.setFragment(QString());
    return url;
}

// The pages an HTML page links to, in the order they appear.
QStringList linkedPages(const QTextDocument& document)
{
    QStringList pages;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            const QString page = QUrl(href).path();
            if (!href.isEmpty() && !page.isEmpty() && !pages.contains(page))
                pages << page;
        }
    }
    return pages;
}

} // namespace

QUrl HelpWindow::pageUrl(const QString& page)
{
    QUrl url(QStringLiteral("qrc:/help/"));
    return url.resolved(QUrl(page));
}

HelpWindow* HelpWindow::instanceFor(QWidget* owner)
{
    static QPointer<HelpWindow> ownerless;
    QWidget* top = owner ? owner->window() : nullptr;
    if (!top) {
        if (!ownerless)
            ownerless = new HelpWindow(nullptr);
        return ownerless;
    }
    if (auto* open = top->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly))
        return open;
    return new HelpWindow(top);
}

HelpWindow::HelpWindow(QWidget* owner) : QMainWindow(owner, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(kCaption);
    // The toolbar stays: no menu to hide it.
    setContextMenuPolicy(Qt::NoContextMenu);

    QFont uiFont = font();
    uiFont.setFamilies(kFontFamilies);
    setFont(uiFont);

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true); // other sites open in the web browser
    QFont textFont = uiFont;
    if (textFont.pointSizeF() > 0)
        textFont.setPointSizeF(qMax(textFont.pointSizeF(), kTextPointSize));
    m_browser->setFont(textFont);
    m_browser->document()->setDocumentMargin(12);

    m_resultsLabel = new QLabel;
    m_resultsLabel->setWordWrap(true);
    m_results = new QListWidget;
    m_results->setObjectName(QStringLiteral("searchResults"));
    m_resultsPanel = new QWidget;
    auto* panelLayout = new QVBoxLayout(m_resultsPanel);
    panelLayout->setContentsMargins(4, 4, 0, 4);
    panelLayout->addWidget(m_resultsLabel);
    panelLayout->addWidget(m_results, 1);
    m_resultsPanel->hide();

    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->addWidget(m_resultsPanel);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    setCentralWidget(m_splitter);

    QToolBar* bar = addToolBar(QStringLiteral("ヘルプ"));
    bar->setObjectName(QStringLiteral("helpToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る"));
    m_back->setObjectName(QStringLiteral("helpBack"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setToolTip(
        QStringLiteral("前に見たページに戻ります (%1)").arg(m_back->shortcut().toString(QKeySequence::NativeText)));
    m_back->setEnabled(false);
    m_forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む"));
    m_forward->setObjectName(QStringLiteral("helpForward"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setToolTip(
        QStringLiteral("戻る前のページに進みます (%1)").arg(m_forward->shortcut().toString(QKeySequence::NativeText)));
    m_forward->setEnabled(false);
    m_home = bar->addAction(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("目次"));
    m_home->setObjectName(QStringLiteral("helpContents"));
    m_home->setToolTip(QStringLiteral("目次のページを表示します"));
    bar->addSeparator();

    auto* searchLabel = new QLabel(QStringLiteral(" 検索: "));
    bar->addWidget(searchLabel);
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("helpSearch"));
    m_searchField->setPlaceholderText(QStringLiteral("すべてのページから探す言葉"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setMaxLength(kMaxWordLength);
    m_searchField->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("すべてのページから探す言葉")) + 40);
    m_searchField->setToolTip(
        QStringLiteral("Enter で検索します。同じ言葉でもう一度 Enter を押すと、ページの中の次の場所に移ります"));
    bar->addWidget(m_searchField);
    m_findNext = bar->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QStringLiteral("次を検索"));
    m_findNext->setObjectName(QStringLiteral("helpFindNext"));
    m_findNext->setShortcut(QKeySequence::FindNext);
    m_findNext->setToolTip(QStringLiteral("このページの中で次の場所に移ります (%1)")
                               .arg(m_findNext->shortcut().toString(QKeySequence::NativeText)));

    auto* findPrevious = new QAction(this);
    findPrevious->setShortcut(QKeySequence::FindPrevious);
    addAction(findPrevious);
    auto* focusSearch = new QAction(this);
    focusSearch->setShortcut(QKeySequence::Find);
    addAction(focusSearch);
    // Closed as a window of reference is: Esc, or Ctrl+W (and the desktop's own close keys).
    auto* closeWindow = new QAction(this);
    closeWindow->setObjectName(QStringLiteral("helpClose"));
    QList<QKeySequence> closeKeys{QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Close)) {
        if (!closeKeys.contains(key))
            closeKeys << key;
    }
    closeWindow->setShortcuts(closeKeys);
    addAction(closeWindow);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, [this] { showPage(indexUrl()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    // The browser tells the new page before its source() says so.
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { pageChanged(url); });
    connect(m_browser, &QTextBrowser::highlighted, this, [this](const QUrl& url) {
        if (url.isEmpty())
            statusBar()->clearMessage();
        else if (resourcePath(url).isEmpty())
            statusBar()->showMessage(url.toString());
    });
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] { runSearch(); });
    connect(m_searchField, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty())
            runSearch(); // cleared: the highlights and the list go
    });
    connect(m_findNext, &QAction::triggered, this, [this] {
        if (m_searchField->text().trimmed() != m_word)
            runSearch();
        else
            findNext();
    });
    connect(findPrevious, &QAction::triggered, this, [this] { findNext(true); });
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    connect(focusSearch, &QAction::triggered, this, [this] {
        m_searchField->setFocus(Qt::ShortcutFocusReason);
        m_searchField->selectAll();
    });
    connect(m_results, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { openHit(item); });
    connect(m_results, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { openHit(item); });

    // A sensible size on any screen: 900 × 700, or less where the screen is smaller.
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    QRect available(0, 0, 900, 700);
    if (screen)
        available = screen->availableGeometry();
    resize(qMin(900, available.width() * 9 / 10), qMin(700, available.height() * 9 / 10));
    QRect frame(QPoint(), size());
    frame.moveCenter(owner ? owner->frameGeometry().center() : available.center());
    frame.moveLeft(qBound(available.left(), frame.left(), qMax(available.left(), available.right() - frame.width())));
    frame.moveTop(qBound(available.top(), frame.top(), qMax(available.top(), available.bottom() - frame.height())));
    move(frame.topLeft());
}

bool HelpWindow::showPage(const QUrl& url)
{
    const QString path = resourcePath(url);
    if (path.isEmpty() || !QFile::exists(path))
        return false;
    if (m_browser->source() == url) {
        // The page is shown already: only its place changes, and the history keeps one entry.
        if (url.hasFragment())
            m_browser->scrollToAnchor(url.fragment());
        else
            m_browser->verticalScrollBar()->setValue(0);
    } else {
        m_browser->setSource(url);
    }
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    return true;
}

QUrl HelpWindow::currentPage() const
{
    return m_browser->source();
}

const QList<HelpWindow::Page>& HelpWindow::pages()
{
    if (!m_pages.isEmpty())
        return m_pages;
    // In the order of the index: the index first, then the pages as it lists them.
    QStringList order{QStringLiteral("index.html")};
    QStringList files = QDir(kResourceFolder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    QList<Page> loaded;
    for (const QString& file : std::as_const(files)) {
        QFile source(kResourceFolder + u'/' + file);
        if (!source.open(QIODevice::ReadOnly))
            continue;
        QTextDocument document;
        document.setHtml(QString::fromUtf8(source.readAll()));
        if (file == QLatin1String("index.html")) {
            for (const QString& page : linkedPages(document)) {
                if (!order.contains(page))
                    order << page;
            }
        }
        QString title = document.metaInformation(QTextDocument::DocumentTitle);
        if (title.isEmpty())
            title = file;
        loaded << Page{pageUrl(file), title, document.toPlainText()};
    }
    for (const QString& page : std::as_const(order)) {
        for (qsizetype i = 0; i < loaded.size(); ++i) {
            if (loaded[i].url == pageUrl(page)) {
                m_pages << loaded.takeAt(i);
                break;
            }
        }
    }
    m_pages << loaded;
    return m_pages;
}

QRegularExpression HelpWindow::patternFor(const QString& word)
{
    const QString trimmed = word.trimmed().left(kMaxWordLength);
    const QList<uint> points = trimmed.toUcs4();
    const auto options = QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;
    // A long word (a pasted paragraph) is looked for as it stands.
    if (points.size() > kMaxFlexibleLength)
        return QRegularExpression(QRegularExpression::escape(trimmed), options);
    // Letters and digits match in either case and either width (Ｄ, d and D alike), and any
    // run of blanks matches any other. Each character is taken whole, also one beyond the
    // 16-bit range (𠮷, 😀).
    const auto escaped = [](uint point) {
        const char32_t one = point;
        return QRegularExpression::escape(QString::fromUcs4(&one, 1));
    };
    QString pattern;
    bool inBlanks = false;
    for (const uint point : points) {
        if (QChar::isSpace(point)) {
            if (!inBlanks)
                pattern += QStringLiteral("\\s+");
            inBlanks = true;
            continue;
        }
        inBlanks = false;
        const QString itself = escaped(point);
        QString other;
        if (point >= 0x21 && point <= 0x7E)
            other = escaped(point + 0xFEE0);
        else if (point >= 0xFF01 && point <= 0xFF5E)
            other = escaped(point - 0xFEE0);
        pattern += other.isEmpty() ? itself : u'[' + itself + other + u']';
    }
    return QRegularExpression(pattern, options);
}

QList<HelpWindow::Hit> HelpWindow::search(const QString& word)
{
    QList<Hit> hits;
    if (word.trimmed().isEmpty())
        return hits;
    const QRegularExpression pattern = patternFor(word);
    if (!pattern.isValid())
        return hits;
    for (const Page& page : pages()) {
        int count = 0;
        for (auto it = pattern.globalMatch(page.text); it.hasNext(); it.next())
            ++count;
        if (count > 0)
            hits << Hit{page.url, page.title, count};
    }
    return hits;
}

void HelpWindow::runSearch()
{
    const QString word = m_searchField->text().trimmed();
    if (word.isEmpty()) {
        m_word.clear();
        m_results->clear();
        m_resultsPanel->hide();
        statusBar()->clearMessage();
        highlight(false);
        return;
    }
    if (word == m_word && m_resultsPanel->isVisible()) {
        findNext();
        return;
    }
    m_word = word;
    m_pattern = patternFor(word);
    const QList<Hit> hits = search(word);
    // What the bar said belongs to the word before: a word found says where it stands (or
    // nothing), a word not found says so.
    if (hits.isEmpty())
        statusBar()->showMessage(QStringLiteral("「%1」は見つかりませんでした。").arg(message::excerpt(word)));
    else
        statusBar()->clearMessage();

    m_results->clear();
    for (const Hit& hit : hits) {
        auto* item = new QListWidgetItem(QStringLiteral("%1（%2か所）").arg(hit.title).arg(hit.count), m_results);
        item->setData(Qt::UserRole, hit.page);
        item->setToolTip(hit.title);
    }
    m_resultsLabel->setText(hits.isEmpty() ? QStringLiteral("「%1」はどのページにもありません。").arg(word)
                                           : QStringLiteral("「%1」があるページ: %2").arg(word).arg(hits.size()));
    if (m_resultsPanel->isHidden()) {
        m_resultsPanel->show();
        // As wide as the titles found, within reason; the splitter moves it from then on.
        const int wanted = std::max({m_results->sizeHintForColumn(0), m_resultsLabel->sizeHint().width(),
                                     fontMetrics().horizontalAdvance(QStringLiteral("一発ズバリン予想（99か所）"))})
            + 2 * m_results->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
        const int panel = qMin(wanted, m_splitter->width() / 3);
        m_splitter->setSizes({panel, m_splitter->width() - panel});
    }

    // The word is looked for in the page on show first; a page without it gives way to the
    // page that has it most often (the first of them in the manual's order).
    const QUrl current = withoutFragment(currentPage());
    bool inCurrent = false;
    int most = -1;
    for (int i = 0; i < hits.size(); ++i) {
        inCurrent = inCurrent || hits[i].page == current;
        if (most < 0 || hits[i].count > hits[most].count)
            most = i;
    }
    if (!inCurrent && most >= 0) {
        openHit(m_results->item(most));
        return;
    }
    highlight(inCurrent);
    markCurrentResult(currentPage());
}

void HelpWindow::openHit(QListWidgetItem* item)
{
    if (!item)
        return;
    const QUrl url = item->data(Qt::UserRole).toUrl();
    if (withoutFragment(currentPage()) != url)
        showPage(url);
    highlight(true);
}

void HelpWindow::highlight(bool moveToFirst)
{
    m_matches.clear();
    m_current = -1;
    if (!m_word.isEmpty() && m_pattern.isValid()) {
        QTextDocument* document = m_browser->document();
        for (QTextCursor found = document->find(m_pattern, 0); !found.isNull();
             found = document->find(m_pattern, found))
            m_matches << found;
    }
    if (moveToFirst && !m_matches.isEmpty())
        m_current = 0;
    showMatches();
}

void HelpWindow::showMatches()
{
    QList<QTextEdit::ExtraSelection> selections;
    for (qsizetype i = 0; i < m_matches.size(); ++i) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = m_matches[i];
        selection.format.setBackground(i == m_current ? kCurrentBack : kMatchBack);
        selections << selection;
    }
    m_browser->setExtraSelections(selections);
    if (m_current >= 0) {
        placeInView(m_matches[m_current]);
        statusBar()->showMessage(
            QStringLiteral("「%1」 %2 / %3 か所（このページ）").arg(m_word).arg(m_current + 1).arg(m_matches.size()));
    }
}

void HelpWindow::findNext(bool backward)
{
    if (m_word.isEmpty())
        return;
    if (m_matches.isEmpty()) {
        statusBar()->showMessage(QStringLiteral("このページに「%1」はありません。").arg(m_word));
        return;
    }
    const int n = int(m_matches.size());
    if (m_current < 0)
        m_current = backward ? n - 1 : 0;
    else
        m_current = (m_current + (backward ? n - 1 : 1)) % n;
    showMatches();
}

void HelpWindow::placeInView(const QTextCursor& match)
{
    // The match a third of the way down, with some of what precedes it in view.
    QTextCursor at(match);
    at.setPosition(match.selectionStart());
    m_browser->setTextCursor(at);
    const QRect rect = m_browser->cursorRect(at);
    QScrollBar* bar = m_browser->verticalScrollBar();
    bar->setValue(bar->value() + rect.top() - m_browser->viewport()->height() / 3);
    const QRect shown = m_browser->cursorRect(at);
    if (shown.left() < 0 || shown.right() > m_browser->viewport()->width())
        m_browser->ensureCursorVisible();
}

void HelpWindow::pageChanged(const QUrl& page)
{
    // Whatever page opens while a word is searched for shows where it stands.
    highlight(false);
    markCurrentResult(page);
}

void HelpWindow::markCurrentResult(const QUrl& page)
{
    const QUrl current = withoutFragment(page);
    for (int i = 0; i < m_results->count(); ++i) {
        if (m_results->item(i)->data(Qt::UserRole).toUrl() == current) {
            const QSignalBlocker block(m_results);
            m_results->setCurrentRow(i);
            return;
        }
    }
    m_results->clearSelection();
}
