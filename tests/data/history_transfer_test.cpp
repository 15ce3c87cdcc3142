// Moving the history in and out from the program: the import's preview and its one write, the
// pasted forms of a draw, the exported CSV, and backups taken and restored while another
// connection writes.

#include "data/database_backup.h"
#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_import.h"
#include "data/history_source.h"
#include "support/history_fixture.h"
#include "support/special_files.h"
#include "tools/tool_test_support.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using history_import::Source;
using toolfixture::storedDraws;

const QByteArray kDatedHeader = "回数,第1数字,第2数字,第3数字,抽せん日\n";

// A database made as the program makes one, from CSV text.
void createDatabase(const QString& path, const QByteArray& csv)
{
    QString reason;
    ASSERT_EQ(DrawDatabase::create(path, HistoryCsv::parse(csv), &reason), DrawDatabase::Creation::Created)
        << reason.toStdString();
}

std::optional<History> historyOf(const QString& path)
{
    QString reason;
    std::optional<History> history = history_source::reread(DrawDatabase::connectString(path), &reason);
    EXPECT_TRUE(history) << reason.toStdString();
    return history;
}

QStringList refusedLines(const QVector<RefusedLine>& refused)
{
    QStringList lines;
    for (const RefusedLine& line : refused)
        lines << QStringLiteral("%1:%2").arg(line.line).arg(line.reason);
    return lines;
}

QStringList drawNos(const QVector<history_import::PreviewRow>& rows)
{
    QStringList numbers;
    for (const history_import::PreviewRow& row : rows)
        numbers << QString::number(row.drawNo);
    return numbers;
}

class HistoryImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = dir.filePath(DrawDatabase::kFileName);
        createDatabase(db,
                       kDatedHeader
                           + "1,1,1,1,1994/10/07\n2,2,2,2,1994/10/14\n3,3,3,3,1994/10/21\n"
                             "4,4,4,4,1994/10/28\n5,,,,\n");
    }
    QString file(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("draws.csv"));
        toolfixture::writeFile(path, bytes);
        return path;
    }

    QTemporaryDir dir;
    QString db;
};

TEST_F(HistoryImport, PreviewOfAFileSortsEveryLineAndTheWriteDoesWhatItShowed)
{
    const QString csv = file(kDatedHeader
                             + "1,1,1,1,1994/10/07\n" // as stored
                               "2,9,9,9,1994/10/14\n" // new digits
                               "3,3,3,3,1994-10-21\n" // the stored date, written otherwise
                               "5,5,5,5,1994/11/04\n" // digits for a draw stored without any
                               "6,6,6,6,1994/11/11\n" // new
                               "7,x,1,2,\n"
                               "8,1,2,3,2026/02/30\n"
                               "9,1,2,3,\n"
                               "9,1,2,3,\n" // the same line twice: one draw
                               "10,1,2,3,\n"
                               "10,4,5,6,\n" // the same draw with other digits: neither
                               "40000,1,2,3,\n"
                               "4,4,4\n");
    const HistoryCsv input = HistoryCsv::readFile(csv, HistoryCsv::BadLines::Collect);
    ASSERT_TRUE(input.ok()) << input.error.toStdString();
    const QByteArray before = fixture::fileDigest(db);
    QString reason;
    const std::optional<history_import::Preview> preview = history_import::preview(db, input, Source::File, &reason);
    ASSERT_TRUE(preview) << reason.toStdString();
    EXPECT_EQ(fixture::fileDigest(db), before) << "a preview writes nothing";

    EXPECT_EQ(drawNos(preview->additions), (QStringList{"6", "9"}));
    EXPECT_EQ(history_import::digitsText(preview->additions[0].after), QStringLiteral("666"));
    EXPECT_EQ(preview->additions[0].after.date, QStringLiteral("1994/11/11"));
    EXPECT_EQ(preview->additions[0].line, 6);
    ASSERT_EQ(drawNos(preview->changes), (QStringList{"2", "5"}));
    EXPECT_EQ(history_import::digitsText(*preview->changes[0].before), QStringLiteral("222"));
    EXPECT_EQ(history_import::digitsText(preview->changes[0].after), QStringLiteral("999"));
    EXPECT_EQ(history_import::digitsText(*preview->changes[1].before), QStringLiteral("－－－"));
    EXPECT_EQ(preview->changes[1].before->date, QString());
    EXPECT_EQ(preview->changes[1].after.date, QStringLiteral("1994/11/04"));
    EXPECT_EQ(preview->unchanged, 2);

    const QStringList refused = refusedLines(preview->refused);
    ASSERT_EQ(refused.size(), 6) << refused.join(u'\n').toStdString();
    const std::pair<int, const char*> expected[] = {
        {7, "第1数字"}, {8, "実在する日付"}, {11, "12行目"}, {12, "11行目"}, {13, "1～32767"}, {14, "項目の数"},
    };
    for (qsizetype i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(preview->refused[i].line, expected[i].first);
        EXPECT_TRUE(preview->refused[i].reason.contains(QString::fromUtf8(expected[i].second)))
            << refused[i].toStdString();
    }
    EXPECT_EQ(preview->refused[0].text, QStringLiteral("7,x,1,2,"));

    const history_import::Applied applied = history_import::apply(db, *preview);
    ASSERT_EQ(applied.outcome, history_import::Applied::Written) << applied.reason.toStdString();
    EXPECT_EQ(applied.count.written, 4);
    EXPECT_EQ(applied.count.replaced, 2);
    EXPECT_EQ(storedDraws(db),
              (QStringList{"1:1-1-1:1994/10/07", "2:9-9-9:1994/10/14", "3:3-3-3:1994/10/21", "4:4-4-4:1994/10/28",
                           "5:5-5-5:1994/11/04", "6:6-6-6:1994/11/11", "9:1-2-3:_"}));
}

TEST_F(HistoryImport, NothingIsWrittenWhenAnotherProgramChangedAPreviewedDraw)
{
    const HistoryCsv input = history_import::parseText(QStringLiteral("2 999\n6 666\n"));
    QString reason;
    const std::optional<history_import::Preview> preview = history_import::preview(db, input, Source::Text, &reason);
    ASSERT_TRUE(preview) << reason.toStdString();
    ASSERT_EQ(preview->changes.size(), 1);
    fixture::exec(db, {QStringLiteral("update 当選データ set 第1数字 = 0 where 回数 = 2")});
    const QStringList changed = storedDraws(db);
    EXPECT_EQ(history_import::apply(db, *preview).outcome, history_import::Applied::Stale);
    EXPECT_EQ(storedDraws(db), changed);

    // Taken again, the preview shows what is stored now and writes.
    const std::optional<history_import::Preview> fresh = history_import::preview(db, input, Source::Text, &reason);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(history_import::digitsText(*fresh->changes[0].before), QStringLiteral("022"));
    EXPECT_EQ(history_import::apply(db, *fresh).outcome, history_import::Applied::Written);
    EXPECT_EQ(storedDraws(db)[1], QStringLiteral("2:9-9-9:1994/10/14"));
}

TEST_F(HistoryImport, ReadsPastedDrawsInEveryFormAndKeepsStoredDatesForLinesWithoutOne)
{
    const QString text = QStringLiteral("第7090回 2026/10/12 123\n"
                                        "7091,1,2,3\n"
                                        "7092 456\n"
                                        "７０９３　７８９\n"
                                        "7094\t0\t1\t2\t2026/10/16\n"
                                        "第 7095 回   2026年10月19日（月）  3 4 5\n"
                                        "7096,6,7,8,2026/10/20\r\n"
                                        "回数,第1数字,第2数字,第3数字,抽せん日\n"
                                        "\n"
                                        "7097 12\n"
                                        "7098 2026/02/30 123\n"
                                        "当せん番号\n"
                                        "0 123\n"
                                        "7099 123 2026/10/21 2026/10/22\n"
                                        "7100 令和8年10月23日 901\n"
                                        "7101 1 2 3 x\n"
                                        "3 333\n");
    const HistoryCsv csv = history_import::parseText(text);
    ASSERT_TRUE(csv.ok());
    EXPECT_EQ(csv.extraColumns, QStringList{QStringLiteral("抽せん日")});
    QStringList rows;
    for (const HistoryRow& row : csv.rows)
        rows << QStringLiteral("%1@%2:%3%4%5:%6")
                    .arg(row.drawNo)
                    .arg(row.line)
                    .arg(*row.digits[0])
                    .arg(*row.digits[1])
                    .arg(*row.digits[2])
                    .arg(csv.extraValue(row, QStringLiteral("抽せん日")));
    EXPECT_EQ(
        rows,
        (QStringList{"7090@1:123:2026/10/12", "7091@2:123:", "7092@3:456:", "7093@4:789:", "7094@5:012:2026/10/16",
                     "7095@6:345:2026/10/19", "7096@7:678:2026/10/20", "7100@15:901:2026/10/23", "3@17:333:"}));
    const QStringList refused = refusedLines(csv.refused);
    ASSERT_EQ(refused.size(), 6) << refused.join(u'\n').toStdString();
    EXPECT_EQ(csv.refused[0].line, 10);
    EXPECT_TRUE(csv.refused[0].reason.contains(QStringLiteral("0～9の数字3つ")));
    EXPECT_TRUE(csv.refused[1].reason.contains(QStringLiteral("実在する日付")));
    EXPECT_TRUE(csv.refused[2].reason.contains(QStringLiteral("回数で始まっていません")));
    EXPECT_TRUE(csv.refused[3].reason.contains(QStringLiteral("回数が1～32767")));
    EXPECT_TRUE(csv.refused[4].reason.contains(QStringLiteral("二つ")));
    EXPECT_EQ(csv.refused[5].line, 16);
    EXPECT_TRUE(history_import::holdsDraws(QStringLiteral("見出し\n７０９３　７８９")));
    EXPECT_FALSE(history_import::holdsDraws(QStringLiteral("当せん番号\n7097 12")));

    // A pasted line without a date says nothing of it: draw 3 keeps its date, while a pasted
    // date replaces the stored one.
    QString reason;
    const HistoryCsv pasted = history_import::parseText(QStringLiteral("3 333\n4 444 1994/10/29\n"));
    const std::optional<history_import::Preview> preview = history_import::preview(db, pasted, Source::Text, &reason);
    ASSERT_TRUE(preview) << reason.toStdString();
    EXPECT_EQ(preview->unchanged, 1);
    ASSERT_EQ(preview->changes.size(), 1);
    EXPECT_EQ(history_import::apply(db, *preview).outcome, history_import::Applied::Written);
    EXPECT_EQ(storedDraws(db).mid(2, 2), (QStringList{"3:3-3-3:1994/10/21", "4:4-4-4:1994/10/29"}));
}

TEST(HistoryExport, TheShippedHistoryExportsAsTheShippedFileAndImportsBackUnchanged)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(DrawDatabase::kFileName);
    const QByteArray shipped = toolfixture::readFile(QStringLiteral(N3_HISTORY_CSV));
    ASSERT_FALSE(shipped.isEmpty());
    createDatabase(db, shipped);
    // A draw entered without digits yet, and one with a date that needs quoting.
    fixture::exec(db,
                  {QStringLiteral("insert into 当選データ (回数) values (7090)"),
                   QStringLiteral("insert into 当選データ values (7091, 1, 2, 3, 'a, \"b\"')")});
    const std::optional<History> history = historyOf(db);
    ASSERT_TRUE(history);
    const QByteArray exported = historyCsvBytes(*history, true);
    EXPECT_TRUE(exported.startsWith(QByteArray(QByteArray("\xEF\xBB\xBF") + shipped)));
    EXPECT_TRUE(exported.endsWith("\n7090,,,,\n7091,1,2,3,\"a, \"\"b\"\"\"\n")) << exported.right(40).constData();
    EXPECT_EQ(historyCsvBytes(*history, false), exported.mid(3));

    const QString copy = dir.filePath(QStringLiteral("copy.db"));
    createDatabase(copy, exported);
    const std::optional<History> back = historyOf(copy);
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == *history);
}

class DatabaseBackup : public ::testing::Test {
protected:
    void SetUp() override
    {
        live = dir.filePath(DrawDatabase::kFileName);
        fixture::writeDatabase(live, fixture::steppedDraws(100));
    }

    QTemporaryDir dir;
    QString live;
};

// Commits one draw at a time (101, 102, …) on a connection of its own, one after the other,
// until told to stop.
class Writer {
public:
    explicit Writer(QString path) : m_path(std::move(path))
    {
        m_thread = std::thread([this] { run(); });
    }
    ~Writer() { stop(); }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    int committed() const { return m_committed; }
    QString error() const { return m_error; }

private:
    void run()
    {
        const QString name = QStringLiteral("writer-thread");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(m_path);
            if (!db.open()) {
                m_error = db.lastError().text();
                return;
            }
            QSqlQuery insert(db);
            for (int n = 101; !m_stop && n <= 30000; ++n) {
                insert.prepare(
                    QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (?, ?, ?, ?)"));
                insert.addBindValue(n);
                insert.addBindValue(n % 10);
                insert.addBindValue((n * 3) % 10);
                insert.addBindValue((n * 7) % 10);
                if (!insert.exec()) {
                    m_error = insert.lastError().text();
                    break;
                }
                m_committed = n - 100;
                // A breath between commits, as a program that writes now and then takes: a
                // writer that never pauses keeps readers waiting for their lock.
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        }
        QSqlDatabase::removeDatabase(name);
    }

    QString m_path;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_committed{0};
    QString m_error;
    std::thread m_thread;
};

// The stepped draws 1 to count, as a history read from a database holds them.
History steppedHistory(int count)
{
    QVector<DrawRecord> rows;
    for (int n = 1; n <= count; ++n) {
        DrawRecord row;
        row.drawNo = n;
        row.digits[0] = std::int8_t(n % 10);
        row.digits[1] = std::int8_t((n * 3) % 10);
        row.digits[2] = std::int8_t((n * 7) % 10);
        rows << row;
    }
    return History::fromRows(rows);
}

TEST_F(DatabaseBackup, BackupTakenWhileAnotherConnectionWritesIsOneCommittedStateAndRestoresExactly)
{
    const QString backup = dir.filePath(QStringLiteral("backup.db"));
    std::optional<History> held;
    int committedBefore = 0, committedAfter = 0;
    {
        Writer writer(live);
        while (writer.committed() < 20 && writer.error().isEmpty())
            std::this_thread::yield();
        committedBefore = writer.committed();
        QString reason;
        held = database_backup::backUp(live, backup, &reason);
        ASSERT_TRUE(held) << reason.toStdString();
        committedAfter = writer.committed();
        while (writer.committed() < committedAfter + 20 && writer.error().isEmpty())
            std::this_thread::yield();
        writer.stop();
        ASSERT_TRUE(writer.error().isEmpty()) << writer.error().toStdString();
    }
    // Some state the writer committed, whole: draws 1 to n, nothing half-written.
    const int count = held->recordCount();
    EXPECT_GE(count, 100 + committedBefore);
    EXPECT_LE(count, 100 + committedAfter + 1);
    EXPECT_TRUE(*held == steppedHistory(count));
    EXPECT_TRUE(*historyOf(backup) == *held);
    EXPECT_FALSE(QFileInfo::exists(backup + QStringLiteral("-journal")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".backup")).size(), 0)
        << "no temporary file is left";

    const History final = *historyOf(live);
    ASSERT_GT(final.recordCount(), count);
    const std::optional<FileIdentity> file = identityOf(live);
    // A connection open across the restore (the entry window's) reads the restored draws.
    DrawDatabase open(DrawDatabase::connectString(live), DrawDatabase::Mode::ReadOnly);
    QString reason;
    ASSERT_TRUE(open.open(&reason)) << reason.toStdString();

    const std::optional<database_backup::Candidate> candidate = database_backup::inspect(backup, live, &reason);
    ASSERT_TRUE(candidate) << reason.toStdString();
    EXPECT_TRUE(candidate->history == *held);
    const std::optional<database_backup::Restored> restored = database_backup::restore(*candidate, live, &reason);
    ASSERT_TRUE(restored) << reason.toStdString();
    EXPECT_TRUE(restored->before == final);
    EXPECT_TRUE(restored->after == *held);
    EXPECT_TRUE(*historyOf(live) == *held);
    EXPECT_TRUE(*open.readHistory(&reason) == *held);
    EXPECT_EQ(identityOf(live), file) << "the database stays the same file";
    const QString kept = database_backup::keptCopyPath(live);
    EXPECT_EQ(QFileInfo(kept).fileName(), QStringLiteral("Numbers3Zubarin.db.bak"));
    EXPECT_TRUE(*historyOf(kept) == final);

    // Restoring the kept copy undoes the restore, although the restore keeps a copy under that very name.
    const std::optional<database_backup::Candidate> undo = database_backup::inspect(kept, live, &reason);
    ASSERT_TRUE(undo) << reason.toStdString();
    ASSERT_TRUE(database_backup::restore(*undo, live, &reason)) << reason.toStdString();
    EXPECT_TRUE(*historyOf(live) == final);
    EXPECT_TRUE(*historyOf(kept) == *held);
}

TEST_F(DatabaseBackup, RestoreRefusesWhatIsNoDatabaseOfTheProgramAndLeavesTheLiveOneAsItWas)
{
    const QString text = dir.filePath(QStringLiteral("notes.db"));
    toolfixture::writeFile(text, "回数,第1数字,第2数字,第3数字\n1,2,3,4\n");
    const QString other = dir.filePath(QStringLiteral("other.db"));
    fixture::exec(other, {QStringLiteral("create table 当選データ (回数 INTEGER)")});
    const QString link = dir.filePath(QStringLiteral("link.db"));
    ASSERT_TRUE(QFile::link(live, link));
    const QString fifo = dir.filePath(QStringLiteral("fifo.db"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString large = dir.filePath(QStringLiteral("large.db"));
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(database_backup::kMaxBackupBytes + 1));
    }

    const QByteArray before = fixture::fileDigest(live);
    const std::pair<QString, const char*> cases[] = {
        {text, "開けません"},     {other, "クエリ"},
        {live, "そのもの"},       {link, "そのもの"},
        {fifo, "通常のファイル"}, {dir.path(), "フォルダ"},
        {large, "大きすぎます"},  {dir.filePath(QStringLiteral("none.db")), "ありません"},
    };
    for (const auto& [path, why] : cases) {
        SCOPED_TRACE(path.toStdString());
        QString reason;
        EXPECT_FALSE(database_backup::inspect(path, live, &reason));
        EXPECT_TRUE(reason.contains(QString::fromUtf8(why))) << reason.toStdString();
    }
    EXPECT_EQ(fixture::fileDigest(live), before);
    EXPECT_FALSE(QFileInfo::exists(database_backup::keptCopyPath(live)));
    EXPECT_TRUE(fixture::isFifo(fifo));

    // A backup goes into a regular file only, never over the database or beside it.
    for (const QString& target : {fifo, live, link, QString(live + QStringLiteral("-journal")), dir.path()}) {
        SCOPED_TRACE(target.toStdString());
        QString reason;
        EXPECT_FALSE(database_backup::backUp(live, target, &reason));
        EXPECT_FALSE(reason.isEmpty());
    }
    EXPECT_EQ(fixture::fileDigest(live), before);
    EXPECT_TRUE(fixture::isFifo(fifo));
    EXPECT_FALSE(QFileInfo::exists(live + QStringLiteral("-journal")));
}

} // namespace
