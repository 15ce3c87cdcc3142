// データ管理's import, export, backup and restore as the player meets them, offscreen: the import
// dialog driven by its object names and by the keyboard alone, and the messages of the others.

#include "data/database_backup.h"
#include "data/draw_database.h"
#include "data/history_csv.h"
#include "widgets/message_box.h"
#include "widgets/window_host.h"
#include "windows/history_transfer.h"
#include "support/history_fixture.h"
#include "support/wait.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every stored draw as "回数:d-d-d:抽せん日", Null shown as "_", in draw order.
QStringList storedDraws(const QString& path)
{
    QStringList draws;
    const QString name = QStringLiteral("check-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(QStringLiteral("select 回数, 第1数字, 第2数字, 第3数字, 抽せん日 from 当選データ order by 回数"),
                    db);
        auto show = [&q](int i) { return q.value(i).isNull() ? QStringLiteral("_") : q.value(i).toString(); };
        while (q.next())
            draws << QStringLiteral("%1:%2-%3-%4:%5").arg(show(0), show(1), show(2), show(3), show(4));
    }
    QSqlDatabase::removeDatabase(name);
    return draws;
}

const QByteArray kStored = "回数,第1数字,第2数字,第3数字,抽せん日\n"
                           "1,1,1,1,1994/10/07\n2,2,2,2,1994/10/14\n3,3,3,3,1994/10/21\n"
                           "4,4,4,4,1994/10/28\n5,5,5,5,1994/11/04\n";

// A host over a database file that counts how often it is asked to read the history again.
class TransferHost : public WindowHost {
public:
    explicit TransferHost(QString databasePath) : m_databasePath(std::move(databasePath)) { }

    QMdiSubWindow* addSubWindow(QWidget*) override { return nullptr; }
    QWidget* dialogParent() override { return &parent; }
    const History& currentHistory() const override { return m_history; }
    QString databasePath() const override { return m_databasePath; }
    void childClosed(const QString&, bool) override { }
    bool reloadHistory() override
    {
        ++reloads;
        return true;
    }

    QWidget parent;
    int reloads = 0;

private:
    QString m_databasePath;
    History m_history;
};

class HistoryTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = dir.filePath(DrawDatabase::kFileName);
        QString reason;
        ASSERT_EQ(DrawDatabase::create(db, HistoryCsv::parse(kStored), &reason), DrawDatabase::Creation::Created);
        host = std::make_unique<TransferHost>(db);
        setMessageInterceptor([this](const MessageRequest& r) {
            messages << r;
            return r.buttons.testFlag(QMessageBox::Yes) ? answer : QMessageBox::Ok;
        });
        QApplication::clipboard()->clear();
    }
    void TearDown() override
    {
        setMessageInterceptor({});
        QApplication::clipboard()->clear();
    }

    template <typename T> static T* find(QWidget* dialog, const char* name)
    {
        T* widget = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QStringList rows(QTableWidget* table)
    {
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c) {
                if (!table->isColumnHidden(c))
                    cells << (table->item(r, c) ? table->item(r, c)->text() : QString());
            }
            rows << cells.join(u'|');
        }
        return rows;
    }
    // Presses Enter where the keyboard is in the active modal dialog, once it has the focus.
    static void pressEnter()
    {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(fixture::waitFor([dialog] { return dialog->isActiveWindow() && QApplication::focusWidget(); }));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    // Runs the import command as the menu does; `drive` plays the player while the dialog is up,
    // and the dialog is closed if it is still open afterwards (a failing test must not hang).
    void runImport(const std::function<void()>& drive)
    {
        QTimer::singleShot(0, [drive] {
            QPointer<HistoryImportDialog> dialog;
            EXPECT_TRUE(fixture::waitFor([&dialog] {
                dialog = qobject_cast<HistoryImportDialog*>(QApplication::activeModalWidget());
                return dialog != nullptr;
            }));
            if (dialog)
                drive();
            QTimer::singleShot(200, [dialog] {
                if (dialog)
                    dialog->reject();
            });
        });
        history_transfer::importHistory(*host);
    }

    QTemporaryDir dir;
    QString db;
    std::unique_ptr<TransferHost> host;
    QList<MessageRequest> messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

TEST_F(HistoryTransfer, ImportPreviewShowsEveryKindOfLineThenCancelWritesNothingAndImportWritesOnce)
{
    const QString csv = dir.filePath(QStringLiteral("draws.csv"));
    writeFile(csv,
              "回数,第1数字,第2数字,第3数字,抽せん日\n"
              "1,1,1,1,1994/10/07\n"
              "2,9,0,9,1994/10/14\n"
              "3,3,3,3,1994/10/22\n"
              "6,6,6,6,1994/11/11\n"
              "7,7,7,,\n"
              "8,1,2,X,\n"
              "9,1,2,3,1994/13/01\n");
    const QByteArray before = fixture::fileDigest(db);
    for (const char* close : {"cancelButton", "importButton"}) {
        SCOPED_TRACE(close);
        HistoryImportDialog dialog(*host, &host->parent);
        dialog.show();
        find<QLineEdit>(&dialog, "filePath")->setText(csv);
        ASSERT_TRUE(find<QPushButton>(&dialog, "previewButton")->isEnabled());
        find<QPushButton>(&dialog, "previewButton")->click();
        ASSERT_TRUE(messages.isEmpty()) << messages.first().text.toStdString();
        EXPECT_EQ(find<QStackedWidget>(&dialog, "pages")->currentWidget()->objectName(), QStringLiteral("previewPage"));
        EXPECT_EQ(find<QLabel>(&dialog, "summary")->text(),
                  QStringLiteral("追加 2回分　　変更 2回分　　登録済みと同じ 1回分　　取り込めない行 2行"));
        EXPECT_EQ(rows(find<QTableWidget>(&dialog, "additions")), (QStringList{"5|6|666|1994/11/11", "6|7|77－|－"}));
        EXPECT_EQ(rows(find<QTableWidget>(&dialog, "changes")),
                  (QStringList{"3|2|222|1994/10/14|909|1994/10/14", "4|3|333|1994/10/21|333|1994/10/22"}));
        const QStringList refused = rows(find<QTableWidget>(&dialog, "refused"));
        ASSERT_EQ(refused.size(), 2);
        EXPECT_TRUE(refused[0].startsWith(QStringLiteral("7|8,1,2,X,|「第3数字」"))) << refused[0].toStdString();
        EXPECT_TRUE(refused[1].startsWith(QStringLiteral("8|9,1,2,3,1994/13/01|「抽せん日」が実在する日付")))
            << refused[1].toStdString();
        auto* tabs = find<QTabWidget>(&dialog, "previewTabs");
        EXPECT_EQ(tabs->tabText(0), QStringLiteral("追加（2）"));
        EXPECT_EQ(tabs->tabText(1), QStringLiteral("変更（2）"));
        EXPECT_EQ(tabs->tabText(2), QStringLiteral("取り込めない行（2）"));
        EXPECT_TRUE(find<QPushButton>(&dialog, "importButton")->isDefault());

        find<QPushButton>(&dialog, close)->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_TRUE(messages.isEmpty());
        if (QByteArray(close) == "cancelButton") {
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
            EXPECT_EQ(fixture::fileDigest(db), before);
            EXPECT_EQ(host->reloads, 0);
        } else {
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(host->reloads, 1);
        }
    }
    EXPECT_EQ(storedDraws(db),
              (QStringList{"1:1-1-1:1994/10/07", "2:9-0-9:1994/10/14", "3:3-3-3:1994/10/22", "4:4-4-4:1994/10/28",
                           "5:5-5-5:1994/11/04", "6:6-6-6:1994/11/11", "7:7-7-_:_"}));
}

TEST_F(HistoryTransfer, DrawsCopiedBeforeOrWhileTheDialogIsOpenAreImportedWithEnterTwice)
{
    // Copied first: the box holds them when the dialog opens.
    QApplication::clipboard()->setText(QStringLiteral("第7090回 2026/10/12 123\n第7091回 2026/10/13 456\n"));
    runImport([] {
        pressEnter();
        pressEnter();
    });
    EXPECT_EQ(host->reloads, 1);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(storedDraws(db).mid(5), (QStringList{"7090:1-2-3:2026/10/12", "7091:4-5-6:2026/10/13"}));

    // Copied while it is open (from a browser, say); and pasted into the emptied box by hand.
    QApplication::clipboard()->clear();
    runImport([] {
        QApplication::clipboard()->setText(QStringLiteral("7092 789"));
        auto* dialog = qobject_cast<HistoryImportDialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(find<QPlainTextEdit>(dialog, "drawText")->toPlainText(), QStringLiteral("7092 789"));
        auto* text = find<QPlainTextEdit>(dialog, "drawText");
        text->clear();
        text->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("7092 789\n7093 012"));
        EXPECT_TRUE(text->document()->isEmpty()) << "what is typed is not replaced";
        QTest::keyClick(text, Qt::Key_V, Qt::ControlModifier);
        pressEnter();
        pressEnter();
    });
    EXPECT_EQ(host->reloads, 2);
    EXPECT_EQ(storedDraws(db).mid(7), (QStringList{"7092:7-8-9:_", "7093:0-1-2:_"}));
}

TEST_F(HistoryTransfer, BackupAndRestoreSayWhatTheyHoldAskFirstAndRefuseAForeignFile)
{
    const QString backup = dir.filePath(QStringLiteral("backup.db"));
    ASSERT_TRUE(history_transfer::backupDatabaseTo(*host, backup));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(messages[0].title, kMessageTitle);
    EXPECT_TRUE(messages[0].text.contains(backup));
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("第1回〜第5回（5回分）"))) << messages[0].text.toStdString();

    fixture::exec(db,
                  {QStringLiteral("insert into 当選データ values (6, 6, 6, 6, '1994/11/11')"),
                   QStringLiteral("insert into 当選データ values (7, 7, 7, 7, '1994/11/18')")});
    const QStringList seven = storedDraws(db);
    const QString kept = database_backup::keptCopyPath(db);

    // No: nothing changes.
    messages.clear();
    answer = QMessageBox::No;
    EXPECT_FALSE(history_transfer::restoreDatabaseFrom(*host, backup));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].icon, QMessageBox::Question);
    EXPECT_EQ(messages[0].defaultButton, QMessageBox::No);
    for (const QString& named : {backup, QStringLiteral("第1回〜第5回（5回分）"),
                                 QStringLiteral("第1回〜第7回（7回分）"), QStringLiteral("Numbers3Zubarin.db.bak")})
        EXPECT_TRUE(messages[0].text.contains(named)) << named.toStdString();
    EXPECT_EQ(storedDraws(db), seven);
    EXPECT_FALSE(QFileInfo::exists(kept));
    EXPECT_EQ(host->reloads, 0);

    // Yes: the backup's draws, the replaced ones kept, the history read once.
    messages.clear();
    answer = QMessageBox::Yes;
    EXPECT_TRUE(history_transfer::restoreDatabaseFrom(*host, backup));
    EXPECT_EQ(storedDraws(db), seven.mid(0, 5));
    EXPECT_EQ(storedDraws(kept), seven);
    EXPECT_EQ(host->reloads, 1);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1].icon, QMessageBox::Information);

    // A file of another kind: said why, nothing asked, nothing changed.
    const QString foreign = dir.filePath(QStringLiteral("notes.db"));
    writeFile(foreign, "SQLite format 3?\n");
    const QByteArray before = fixture::fileDigest(db);
    messages.clear();
    EXPECT_FALSE(history_transfer::restoreDatabaseFrom(*host, foreign));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("戻せません")));
    EXPECT_TRUE(messages[0].text.contains(foreign));
    EXPECT_EQ(fixture::fileDigest(db), before);
    EXPECT_EQ(host->reloads, 1);
}

TEST_F(HistoryTransfer, ExportWritesTheHistoryWithABomAndNeverOverTheDatabase)
{
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(history_transfer::exportHistoryTo(*host, csv));
    EXPECT_EQ(readFile(csv), QByteArray("\xEF\xBB\xBF") + kStored);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("第1回〜第5回（5回分）")));

    const QByteArray before = fixture::fileDigest(db);
    messages.clear();
    for (const QString& target : {db, QString(db + QStringLiteral("-journal"))}) {
        EXPECT_FALSE(history_transfer::exportHistoryTo(*host, target));
        EXPECT_EQ(fixture::fileDigest(db), before);
    }
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].text.contains(QStringLiteral("データベースのファイルです")));
    EXPECT_FALSE(QFileInfo::exists(db + QStringLiteral("-journal")));
}

} // namespace
