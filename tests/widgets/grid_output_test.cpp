// Saving a window's grids as PDF or CSV: a good save writes the whole file; a save the program
// must not or cannot make (the draw database, a missing folder, a file in place of a folder, a
// pipe) says so once, naming the file, and leaves the folder as it was.

#include "grid/grid_export.h"
#include "support/history_builder.h"
#include "support/special_files.h"
#include "widgets/grid_output.h"
#include "widgets/message_box.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinterInfo>
#include <QTimer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <thread>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class GridOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return QMessageBox::Ok;
        });
        for (Grid* g : {&first, &second}) {
            g->setMaxCols(3);
            g->setMaxRows(4);
        }
        first.setText(1, 1, QStringLiteral("回数"));
        first.setText(2, 3, QStringLiteral("1,2"));
        second.setText(3, 4, QStringLiteral("７"));
        write(database, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 'x'));
    }
    void TearDown() override { setMessageInterceptor({}); }

    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }
    // Each refused save told once, naming the file as given.
    void expectOneMessageNaming(const QString& path)
    {
        ASSERT_EQ(messages.size(), 1) << path.toStdString();
        EXPECT_TRUE(messages[0].text.contains(QDir::cleanPath(QFileInfo(path).absoluteFilePath())))
            << messages[0].text.toStdString();
        EXPECT_EQ(messages[0].title, kMessageTitle);
        EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
        messages.clear();
    }

    QTemporaryDir dir;
    QString database = dir.filePath(QStringLiteral("Numbers3Zubarin.db"));
    Grid first, second;
    QWidget window;
    GridOutput output{
        QStringLiteral("出現間隔分析"),
        [this] {
            return QList<const Grid*>{&first, &second};
        },
        [] {
            return PrintHeader::of(QStringLiteral("出現間隔分析"), fixture::history({{1, 1, 2, 3}, {2, 4, 5, 6}}));
        },
        database, &window};
    QList<MessageRequest> messages;
};

TEST_F(GridOutputTest, AGoodSaveWritesTheWholePdfAndTheCsvOfEveryGrid)
{
    const QString pdf = dir.filePath(QStringLiteral("出現間隔分析.pdf"));
    const QString csv = dir.filePath(QStringLiteral("出現間隔分析.csv"));
    write(csv, "an older file, replaced whole");
    ASSERT_TRUE(output.savePdfTo(pdf));
    ASSERT_TRUE(output.saveCsvTo(csv));
    EXPECT_TRUE(messages.isEmpty());
    const QByteArray bytes = contents(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF")) << bytes.left(16).toStdString();
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // The CSV form after the byte-order mark a spreadsheet on a Japanese desktop needs.
    EXPECT_TRUE(contents(csv).startsWith("\xEF\xBB\xBF"
                                         "回数,"))
        << contents(csv).left(16).toHex().toStdString();
    EXPECT_EQ(contents(csv), kUtf8Bom + gridsToCsv({&first, &second}));
    // The grids as they are at the moment of saving, their cells without the padding.
    first.setText(1, 2, QStringLiteral("　　新 "));
    ASSERT_TRUE(output.saveCsvTo(csv));
    EXPECT_EQ(contents(csv), kUtf8Bom + gridsToCsv({&first, &second}));
    EXPECT_TRUE(contents(csv).contains("\r\n新,")) << contents(csv).toStdString();
    EXPECT_EQ(entries(),
              (QStringList{QStringLiteral("Numbers3Zubarin.db"), QStringLiteral("出現間隔分析.csv"),
                           QStringLiteral("出現間隔分析.pdf")}));
}

TEST_F(GridOutputTest, TheDatabaseIsNeverWrittenOverUnderAnyOfItsNames)
{
    const QByteArray before = contents(database);
    ASSERT_TRUE(QFile::link(database, dir.filePath(QStringLiteral("link.pdf"))));
    ASSERT_EQ(::link(QFile::encodeName(database).constData(),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.csv"))).constData()),
              0);
    // Links to the journal's name, which is not there while nothing is written.
    ASSERT_TRUE(QFile::link(QStringLiteral("Numbers3Zubarin.db-journal"), dir.filePath(QStringLiteral("journal.csv"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("journal.csv"), dir.filePath(QStringLiteral("chain.pdf"))));
    const QStringList names = {database,
                               dir.filePath(QStringLiteral("./sub/../Numbers3Zubarin.db")),
                               dir.filePath(QStringLiteral("link.pdf")),
                               dir.filePath(QStringLiteral("hard.csv")),
                               database + QStringLiteral("-journal"),
                               dir.filePath(QStringLiteral("journal.csv")),
                               dir.filePath(QStringLiteral("chain.pdf"))};
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    const QStringList present = entries();
    for (const QString& path : names) {
        EXPECT_FALSE(output.savePdfTo(path)) << path.toStdString();
        expectOneMessageNaming(path);
        EXPECT_FALSE(output.saveCsvTo(path)) << path.toStdString();
        expectOneMessageNaming(path);
    }
    EXPECT_EQ(contents(database), before);
    EXPECT_EQ(entries(), present); // no journal made, no temporary file left
}

TEST_F(GridOutputTest, AFolderThatCannotTakeTheFileLeavesNothingBehind)
{
    const QString plainFile = dir.filePath(QStringLiteral("notes.txt"));
    write(plainFile, "keep me");
    const QString fifo = dir.filePath(QStringLiteral("pipe.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QStringList present = entries();
    // A folder that is not there, a file where a folder should be, a folder itself, and a pipe
    // no one reads (which must not hold the window up).
    for (const QString& path : {dir.filePath(QStringLiteral("missing/出現間隔分析.pdf")),
                                dir.filePath(QStringLiteral("notes.txt/出現間隔分析.pdf")), dir.path(), fifo}) {
        EXPECT_FALSE(output.savePdfTo(path)) << path.toStdString();
        expectOneMessageNaming(path);
        EXPECT_FALSE(output.saveCsvTo(path)) << path.toStdString();
        expectOneMessageNaming(path);
    }
    EXPECT_EQ(entries(), present);
    EXPECT_EQ(contents(plainFile), "keep me");
}

// A disk that fills up while the file is written (here: a file-size limit of 2 KB, which fails
// the writes past it as a full disk does) keeps the file that was there and leaves no part.
TEST_F(GridOutputTest, ADiskThatFillsUpMidWayKeepsTheOldFileAndLeavesNoPart)
{
    const QString path = dir.filePath(QStringLiteral("出現間隔分析.pdf"));
    write(path, "the old one");
    const QStringList present = entries();
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 2048;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool pdf = output.savePdfTo(path);
    const QList<MessageRequest> pdfMessages = messages;
    messages.clear();
    // A CSV of every draw is larger than the limit too.
    for (int r = 1; r <= 4; ++r)
        first.setText(1, r, QString(600, u'7'));
    const bool csv = output.saveCsvTo(path);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(pdf);
    EXPECT_FALSE(csv);
    const QList<MessageRequest> csvMessages = messages;
    for (const QList<MessageRequest>& told : {pdfMessages, csvMessages}) {
        messages = told;
        expectOneMessageNaming(path);
    }
    EXPECT_EQ(contents(path), "the old one");
    EXPECT_EQ(entries(), present);
}

// A FIFO made at the name after the save began (while the PDF was being made) is no file to
// write: the save says so at once instead of waiting for a reader, and the FIFO stays.
TEST_F(GridOutputTest, AFifoThatAppearsDuringASaveIsLeftAloneAndNeverWaitedOn)
{
    const QString path = dir.filePath(QStringLiteral("late.pdf"));
    GridOutput late(
        QStringLiteral("出現間隔分析"),
        [&] {
            if (!QFileInfo::exists(path))
                ::mkfifo(QFile::encodeName(path).constData(), 0600);
            return QList<const Grid*>{&first};
        },
        [] { return PrintHeader(); }, database, &window);
    // Should the save wait for a reader after all, one comes after a while and the time tells.
    std::atomic<bool> saved = false, waitedOn = false;
    std::thread reader([&] {
        for (int i = 0; i < 500 && !saved; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!saved) {
            waitedOn = true;
            const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            ::close(fd);
        }
    });
    EXPECT_FALSE(late.savePdfTo(path));
    saved = true;
    reader.join();
    EXPECT_FALSE(waitedOn);
    EXPECT_TRUE(fixture::isFifo(path));
    expectOneMessageNaming(path);
}

// The window going while its preview is open (the program ending) takes the preview with it;
// nothing is left to delete twice or to touch afterwards.
TEST_F(GridOutputTest, AWindowThatGoesWhileItsPreviewIsOpenLeavesNothingDangling)
{
    auto* host = new QWidget;
    auto* hosted = new GridOutput(
        QStringLiteral("出現間隔分析"), [this] { return QList<const Grid*>{&first}; }, [] { return PrintHeader(); },
        database, host);
    QTimer::singleShot(200, [host] { delete host; });
    QTimer::singleShot(10000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close(); // fail below rather than hang
    });
    const QPointer<GridOutput> alive(hosted);
    hosted->print();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The preview's print button opens a print dialog that offers printers only (it would open a
// file of its own choosing to try it, and a FIFO there would hang the program); without a
// printer it says how to get a PDF, which the preview's own PDF で保存… makes.
TEST_F(GridOutputTest, ThePreviewPrintsOnPrintersOnlyAndSavesItsPdfThroughTheProgram)
{
    bool offeredAFile = false, pdfButton = false, printed = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            offeredAFile = offeredAFile || dialog->testOption(QAbstractPrintDialog::PrintToFile);
            dialog->reject();
        } else if (auto* preview = qobject_cast<QPrintPreviewDialog*>(modal); preview && preview->isVisible()) {
            if (!printed) {
                printed = true;
                pdfButton = preview->findChild<QAction*>(QStringLiteral("previewSavePdf")) != nullptr;
                for (QAction* action : preview->findChildren<QAction*>()) {
                    if (action->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
                        QTimer::singleShot(0, action, &QAction::trigger);
                }
            } else {
                poll.stop();
                preview->reject();
            }
        }
    });
    poll.start();
    QTimer::singleShot(20000, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close(); // fail below rather than hang
    });
    output.print();
    EXPECT_TRUE(printed);
    EXPECT_TRUE(pdfButton);
    EXPECT_FALSE(offeredAFile);
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].text.contains(QStringLiteral("PDF で保存"))) << messages[0].text.toStdString();
    }
}

TEST_F(GridOutputTest, TheSaveDialogOffersTheCaptionInTheFolderLastSavedInto)
{
    const QString sub = dir.filePath(QStringLiteral("exports"));
    ASSERT_TRUE(QDir().mkpath(sub));
    EXPECT_EQ(QFileInfo(output.suggestedPath(QStringLiteral("pdf"))).fileName(), QStringLiteral("出現間隔分析.pdf"));
    // A failed save does not move the suggestion.
    EXPECT_FALSE(output.saveCsvTo(dir.filePath(QStringLiteral("missing/x.csv"))));
    EXPECT_NE(QFileInfo(output.suggestedPath(QStringLiteral("csv"))).absolutePath(),
              dir.filePath(QStringLiteral("missing")));
    ASSERT_TRUE(output.saveCsvTo(QDir(sub).filePath(QStringLiteral("a.csv"))));
    EXPECT_EQ(output.suggestedPath(QStringLiteral("csv")), QDir(sub).filePath(QStringLiteral("出現間隔分析.csv")));
}

} // namespace
