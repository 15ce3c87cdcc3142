// Opening the draw database at start-up: creation from the shipped history, the snapshot,
// and files that cannot serve (which must be reported and left exactly as they were).

#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"
#include "support/history_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using fixture::null;

class StartupLoad : public ::testing::Test {
protected:
    QString path(const QString& name = DrawDatabase::kFileName) const { return dir.filePath(name); }

    std::optional<history_source::Loaded> load(QString* reason, const QString& history = QStringLiteral(N3_HISTORY_CSV))
    {
        return history_source::startupLoad(path(), history, reason);
    }

    QTemporaryDir dir;
};

TEST_F(StartupLoad, CreatesTheDatabaseFromTheShippedHistory)
{
    QString reason;
    const auto loaded = load(&reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    ASSERT_TRUE(QFileInfo::exists(path()));
    EXPECT_FALSE(QFileInfo::exists(path() + QStringLiteral(".creating")));

    EXPECT_EQ(loaded->connectString, QStringLiteral("Driver=QSQLITE;Data Source=") + QDir::toNativeSeparators(path()));
    const History& history = loaded->history;
    EXPECT_EQ(history.recordCount(), 7089);
    EXPECT_EQ(history.lastDrawNo(), 7089);
    // Whole-history digit totals as published for draws 1–7089.
    const StartupFigures& f = history.figures();
    EXPECT_EQ(f.digitCount, (std::array<int, 10>{2138, 2115, 2134, 2147, 2122, 2016, 2104, 2100, 2164, 2227}));
    EXPECT_EQ(f.countMax, 2227);
    EXPECT_EQ(f.countMin, 0);
    EXPECT_EQ(f.classCount, 11);
    EXPECT_EQ(f.digitsByCount.at(2016), QStringLiteral("5"));

    // The first rows as the snapshot gives them: 1: 1-9-1, 2: 9-8-8.
    EXPECT_EQ(history.field(0, QStringLiteral("回数")).toInt(), 1);
    EXPECT_EQ(history.field(0, QStringLiteral("第2数字")).toInt(), 9);
    EXPECT_EQ(history.field(1, QStringLiteral("第3数字")).toInt(), 8);
}

TEST_F(StartupLoad, ReadsNullEmptyAndNumbersAsTheyAreStored)
{
    fixture::writeDatabase(path(), {{1, 1, 1, 5}, {2, 0, 5, 9}, {3, null(), null(), null()}},
                           /*withChecks=*/false);
    fixture::exec(path(), {QStringLiteral("insert into 当選データ values (4, 2, '', 3)")});
    QString reason;
    const auto loaded = load(&reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    const History& history = loaded->history;
    EXPECT_EQ(history.lastDrawNo(), 2);
    EXPECT_EQ(history.figures().classCount, 4);

    EXPECT_EQ(history.field(0, QStringLiteral("第1数字")), QVariant(1));
    EXPECT_TRUE(history.field(2, QStringLiteral("第1数字")).isNull());
    EXPECT_FALSE(history.draws().at(2).complete);
    const QVariant empty = history.field(3, QStringLiteral("第2数字"));
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(empty.toString(), QString());
    EXPECT_EQ(history.field(3, QStringLiteral("第3数字")), QVariant(3));
    EXPECT_FALSE(history.field(3, QStringLiteral("抽せん日")).isValid()) << "only the four draw fields are kept";
    EXPECT_EQ(history.recordCount(), 4);
    EXPECT_FALSE(history.field(4, QStringLiteral("回数")).isValid());
}

TEST_F(StartupLoad, ValuesOnlyOutsideEditsCanStoreCountAsIncomplete)
{
    fixture::writeDatabase(path(),
                           {{1, 3, 3, 3},
                            {2, 12, 1, 1},
                            {3, 1.5, 1, 1},
                            {4, QStringLiteral("x"), 1, 1},
                            {5, -1, 1, 1},
                            {6, QStringLiteral("7"), 7.0, 7},
                            {40000, 1, 1, 1}},
                           /*withChecks=*/false);
    QString reason;
    const auto loaded = load(&reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    const History& history = loaded->history;
    EXPECT_EQ(history.lastDrawNo(), 6) << "a whole number stored as text or as 7.0 still is a digit";
    EXPECT_EQ(history.digitCount(), (std::array<int, 10>{0, 0, 0, 3, 0, 0, 0, 3, 0, 0}));
    // The odd value itself is still what the field gives.
    EXPECT_EQ(history.field(1, QStringLiteral("第1数字")).toInt(), 12);
    EXPECT_EQ(history.field(3, QStringLiteral("第1数字")).toString(), QStringLiteral("x"));
}

TEST_F(StartupLoad, SnapshotDoesNotSeeLaterWrites)
{
    fixture::writeDatabase(path(), {{1, 1, 2, 3}, {2, null(), null(), null()}});
    QString reason;
    const auto loaded = load(&reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    {
        DrawDatabase writer(loaded->connectString, DrawDatabase::Mode::ReadWrite);
        ASSERT_TRUE(writer.open(&reason)) << reason.toStdString();
        QSqlQuery q(writer.database());
        ASSERT_TRUE(
            q.exec(QStringLiteral("update 当選データ set 第1数字 = 4, 第2数字 = 5, 第3数字 = 6 where 回数 = 2")));
        ASSERT_TRUE(
            q.exec(QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (3, 7, 8, 9)")));
    }
    EXPECT_EQ(loaded->history.recordCount(), 2);
    EXPECT_FALSE(loaded->history.draws().at(1).complete);
    EXPECT_EQ(loaded->history.lastDrawNo(), 1);
}

TEST_F(StartupLoad, ExistingDatabaseIsNeverModified)
{
    fixture::writeDatabase(path(), {{5, 1, 2, 3}});
    const QByteArray before = fixture::fileDigest(path());
    const QDateTime modified = QFileInfo(path()).lastModified();
    QString reason;
    ASSERT_TRUE(load(&reason, dir.filePath(QStringLiteral("no-such-history.csv")))) << reason.toStdString();
    EXPECT_EQ(fixture::fileDigest(path()), before);
    EXPECT_EQ(QFileInfo(path()).lastModified(), modified);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{DrawDatabase::kFileName});
}

struct BadFile {
    const char* label;
    std::function<void(const QString&)> make;
    const char* reasonPart;
};

TEST_F(StartupLoad, FileThatCannotServeIsReportedAndLeftAsItWas)
{
    const std::vector<BadFile> cases = {
        {"corrupt bytes",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray("SQLite format 3") + QByteArray(4000, '\x5a'));
         },
         "壊れています"},
        {"text file",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("回数,第1数字,第2数字,第3数字\n1,2,3,4\n");
         },
         "壊れています"},
        {"empty file",
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         "テーブル「当選データ」がありません"},
        {"wrong tables", [](const QString& p) { fixture::exec(p, {QStringLiteral("create table draws (n integer)")}); },
         "テーブル「当選データ」がありません"},
        {"table without the query",
         [](const QString& p) {
             fixture::exec(
                 p, {QStringLiteral("create table 当選データ (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字)")});
         },
         "クエリ「全データ選択クエリ」がありません"},
        {"query without a digit field",
         [](const QString& p) {
             fixture::exec(
                 p,
                 {QStringLiteral("create table 当選データ (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字)"),
                  QStringLiteral("create view 全データ選択クエリ as select 回数, 第1数字, 第2数字 from 当選データ")});
         },
         "第3数字"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.label);
        QFile::remove(path());
        c.make(path());
        const QByteArray before = fixture::fileDigest(path());
        const qint64 size = QFileInfo(path()).size();
        QString reason;
        EXPECT_FALSE(load(&reason));
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reasonPart))) << reason.toStdString();
        EXPECT_EQ(QFileInfo(path()).size(), size);
        EXPECT_EQ(fixture::fileDigest(path()), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{DrawDatabase::kFileName})
            << "no journal or other file is left beside it";
    }
}

TEST_F(StartupLoad, MissingDatabaseWithoutItsHistoryCreatesNothing)
{
    QString reason;
    EXPECT_FALSE(load(&reason, dir.filePath(QStringLiteral("gone.csv"))));
    EXPECT_TRUE(reason.contains(QStringLiteral("gone.csv"))) << reason.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// A shipped history that is no plain file (a FIFO would wait for a writer for ever, a link to
// an endless device would fill memory) is refused before a byte is read.
TEST_F(StartupLoad, ShippedHistoryThatIsNoPlainFileIsRefusedAtOnce)
{
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv")), endless = dir.filePath(QStringLiteral("zero.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), endless));
    for (const QString& history : {fifo, endless}) {
        SCOPED_TRACE(history.toStdString());
        // Should the reader wait on the FIFO after all, a late writer lets it go and the test fails.
        std::atomic<bool> done = false;
        std::thread rescue([&] {
            for (int i = 0; i < 100 && !done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        });
        QElapsedTimer timer;
        timer.start();
        QString reason;
        EXPECT_FALSE(load(&reason, history));
        done = true;
        rescue.join();
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_TRUE(reason.contains(QStringLiteral("通常のファイルではありません"))) << reason.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path()));
    }
}

TEST_F(StartupLoad, DirectoryInPlaceOfTheFileIsReported)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(DrawDatabase::kFileName));
    QString reason;
    EXPECT_FALSE(load(&reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST(DrawDatabaseSchema, ChecksRefuseWhatIsNotADrawOrADigit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.db"));
    fixture::writeDatabase(path, {});
    DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
    QString reason;
    ASSERT_TRUE(db.open(&reason)) << reason.toStdString();
    QSqlQuery q(db.database());
    auto insert = [&q](const QString& values) {
        return q.exec(
            QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (%1)").arg(values));
    };
    EXPECT_TRUE(insert(QStringLiteral("1, 0, 9, NULL")));
    EXPECT_TRUE(insert(QStringLiteral("32767, '5', 5, 5"))) << "text that is a whole digit is stored as a number";
    EXPECT_FALSE(insert(QStringLiteral("0, 1, 1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("32768, 1, 1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("2, 10, 1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("3, 1, -1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("4, 1, 1, 1.5")));
    EXPECT_FALSE(insert(QStringLiteral("5, '', 1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("6, 'x', 1, 1")));
    EXPECT_FALSE(insert(QStringLiteral("1, 2, 2, 2"))) << "a draw number is stored once";
}

TEST(DrawDatabaseCreate, FailedCreationLeavesNoFileBehind)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("n.db"));
    HistoryCsv bad = HistoryCsv::parse("回数,第1数字,第2数字,第3数字\n1,1,2,3\n2,1,2,x\n");
    QString reason;
    EXPECT_EQ(DrawDatabase::create(path, bad, &reason), DrawDatabase::Creation::Failed);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A draw the schema refuses stops the creation the same way.
    HistoryCsv good = HistoryCsv::parse("回数,第1数字,第2数字,第3数字\n1,1,2,3\n");
    good.rows[0].digits[2] = 12;
    EXPECT_EQ(DrawDatabase::create(path, good, &reason), DrawDatabase::Creation::Failed);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
