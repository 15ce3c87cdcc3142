// The database under faults from outside: creators racing for the same missing file, a writer
// killed in the middle of its transaction, leftovers of a killed creation, and a database that
// fails as a whole while a history is written into it.

#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"
#include "support/history_fixture.h"
#include "tools/tool_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

namespace {

using toolfixture::storedDraws;

// A history of `count` draws from `first` on, digits depending on the salt, as CSV and as
// the "回数:d-d-d:_" lines storedDraws() gives.
struct MadeHistory {
    QByteArray csv = toolfixture::kHeader;
    QStringList stored;
};

MadeHistory makeHistory(int first, int count, int salt)
{
    MadeHistory h;
    for (int n = first; n < first + count; ++n) {
        const int a = (n + salt) % 10, b = (n * 3 + salt) % 10, c = (n * 7 + salt) % 10;
        h.csv += QStringLiteral("%1,%2,%3,%4\n").arg(n).arg(a).arg(b).arg(c).toUtf8();
        h.stored << QStringLiteral("%1:%2-%3-%4:_").arg(n).arg(a).arg(b).arg(c);
    }
    return h;
}

QProcess* launch(const QString& program, const QStringList& args)
{
    auto* process = new QProcess;
    process->start(program, args);
    return process;
}

TEST(DatabaseFaults, CreatorsRacingForTheSameMissingFileEachFindTheirDraws)
{
    const QString tool = QStringLiteral(N3_TOOL_PATH), child = QStringLiteral(N3_CHILD_PATH);
    QTemporaryDir inputs;
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        QTemporaryDir dir;
        const QString db = dir.filePath(DrawDatabase::kFileName);
        // Different draws and digits for each side, so either side's rows can be told apart.
        const MadeHistory mine = makeHistory(1, 40, round), theirs = makeHistory(101, 40, round + 5);
        const QString mineCsv = inputs.filePath(QStringLiteral("a%1.csv").arg(round)),
                      theirsCsv = inputs.filePath(QStringLiteral("b%1.csv").arg(round));
        toolfixture::writeFile(mineCsv, mine.csv);
        toolfixture::writeFile(theirsCsv, theirs.csv);

        // Two imports, a start and an import, two starts: in turn.
        const int kind = round % 3;
        const bool firstStarts = kind >= 1, secondStarts = kind == 2;
        auto args = [&](bool starts, const QString& csv) {
            return starts
                ? QStringList{QStringLiteral("start"), db, csv}
                : QStringList{QStringLiteral("import"), QStringLiteral("--db"), db, QStringLiteral("--csv"), csv};
        };
        std::unique_ptr<QProcess> first(launch(firstStarts ? child : tool, args(firstStarts, mineCsv)));
        std::unique_ptr<QProcess> second(launch(secondStarts ? child : tool, args(secondStarts, theirsCsv)));
        ASSERT_TRUE(first->waitForFinished(30000) && second->waitForFinished(30000));

        const QStringList stored = storedDraws(db);
        const std::pair<QProcess*, const MadeHistory*> sides[] = {{first.get(), &mine}, {second.get(), &theirs}};
        for (const auto& [process, history] : sides) {
            const QString said = QString::fromUtf8(process->readAllStandardOutput() + process->readAllStandardError());
            EXPECT_EQ(process->exitCode(), 0) << said.toStdString();
            if (process == first.get() ? firstStarts : secondStarts) {
                // A start shows a whole history, never an empty one.
                EXPECT_TRUE(said.startsWith(QStringLiteral("ok 40 ")) || said.startsWith(QStringLiteral("ok 80 ")))
                    << said.toStdString();
            } else {
                for (const QString& draw : history->stored)
                    ASSERT_TRUE(stored.contains(draw))
                        << draw.toStdString() << " missing after: " << said.toStdString();
            }
        }
        EXPECT_GE(stored.size(), 40);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{DrawDatabase::kFileName})
            << "no unfinished file, journal or lock is left";
    }
}

class InterruptedWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(toolfixture::runProgram({QStringLiteral("import"), QStringLiteral("--db"), db,
                                           QStringLiteral("--csv"), QStringLiteral(N3_HISTORY_CSV)})
                      .exitCode,
                  0);
        intact = fixture::fileDigest(db);
    }

    // A writer rewriting most draws is killed before its commit: its changed pages are in the
    // file already, the journal to undo them beside it.
    void killWriterMidTransaction()
    {
        QProcess writer;
        writer.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("hold-write"), db, QStringLiteral("7000")});
        ASSERT_TRUE(writer.waitForReadyRead(30000));
        ASSERT_EQ(writer.readAllStandardOutput().trimmed(), "ready");
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished(10000);
        ASSERT_TRUE(QFileInfo::exists(journal));
        ASSERT_NE(fixture::fileDigest(db), intact) << "the writer must have changed the file itself";
    }

    QTemporaryDir dir;
    QString db = dir.filePath(DrawDatabase::kFileName), journal = db + QStringLiteral("-journal");
    QByteArray intact;
};

TEST_F(InterruptedWrite, AStartRollsItBackAndShowsTheHistoryAsItWas)
{
    killWriterMidTransaction();
    QString reason;
    const auto loaded = history_source::startupLoad(db, QString(), &reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    EXPECT_EQ(loaded->history.recordCount(), 7089);
    EXPECT_EQ(loaded->history.field(0, QStringLiteral("第2数字")).toInt(), 9) << "draw 1 is 1-9-1";
    EXPECT_EQ(loaded->history.field(0, QStringLiteral("第3数字")).toInt(), 1);
    EXPECT_EQ(fixture::fileDigest(db), intact);
    EXPECT_FALSE(QFileInfo::exists(journal));
}

TEST_F(InterruptedWrite, AnExportRollsItBackAndExportsTheHistoryAsItWas)
{
    const toolfixture::Run before
        = toolfixture::runProgram({QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"),
                                   QStringLiteral("数字合計分析")});
    ASSERT_EQ(before.exitCode, 0);
    killWriterMidTransaction();
    const toolfixture::Run after
        = toolfixture::runProgram({QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"),
                                   QStringLiteral("数字合計分析")});
    EXPECT_EQ(after.exitCode, 0) << after.err.toStdString();
    EXPECT_EQ(after.out, before.out);
    EXPECT_EQ(fixture::fileDigest(db), intact);
}

TEST_F(InterruptedWrite, AReaderThatMayNotWriteSaysWhyAndChangesNothing)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run the companion as a user who may not write";
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readable));
    killWriterMidTransaction();
    const QByteArray interrupted = fixture::fileDigest(db);
    auto exportAsNobody = [&] {
        QProcess tool;
        tool.start(setpriv,
                   {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                    QStringLiteral(N3_TOOL_PATH), QStringLiteral("export"), QStringLiteral("--db"), db,
                    QStringLiteral("--window"), QStringLiteral("数字合計分析")});
        tool.waitForFinished(30000);
        return std::pair{tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
    };

    const auto [refused, message] = exportAsNobody();
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(message.contains(QStringLiteral("-journal")) && message.contains(QStringLiteral("元に戻せません")))
        << message.toStdString();
    EXPECT_EQ(fixture::fileDigest(db), interrupted);
    EXPECT_TRUE(QFileInfo::exists(journal));

    // Once a start that may write has rolled it back, the same user reads it.
    QString reason;
    ASSERT_TRUE(history_source::startupLoad(db, QString(), &reason)) << reason.toStdString();
    EXPECT_EQ(fixture::fileDigest(db), intact);
    EXPECT_EQ(exportAsNobody().first, 0);
}

TEST(DatabaseFaults, LeftoversOfAKilledCreationGoAtTheNextStart)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(DrawDatabase::kFileName);
    // What creations killed halfway leave: unfinished files of this and of earlier versions,
    // their journals, and a lock whose process is gone.
    const QStringList leftovers = {DrawDatabase::kFileName + QStringLiteral(".creating"),
                                   DrawDatabase::kFileName + QStringLiteral(".creating-journal"),
                                   DrawDatabase::kFileName + QStringLiteral(".creating-Ab12Cd"),
                                   DrawDatabase::kFileName + QStringLiteral(".creating-Ab12Cd-journal")};
    auto leave = [&] {
        for (const QString& name : leftovers)
            toolfixture::writeFile(dir.filePath(name), "unfinished");
        QProcess holder;
        holder.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("hold-lock"), db + QStringLiteral(".lock")});
        ASSERT_TRUE(holder.waitForReadyRead(30000));
        ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
        holder.waitForFinished(10000);
        ASSERT_TRUE(QFileInfo::exists(db + QStringLiteral(".lock")));
    };
    const QStringList onlyTheDatabase{DrawDatabase::kFileName};

    for (const bool exists : {false, true}) {
        SCOPED_TRACE(exists ? "the database exists" : "the database is missing");
        leave();
        QString reason;
        const auto loaded = history_source::startupLoad(db, QStringLiteral(N3_HISTORY_CSV), &reason);
        ASSERT_TRUE(loaded) << reason.toStdString();
        EXPECT_EQ(loaded->history.recordCount(), 7089);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), onlyTheDatabase);
    }
}

TEST(DatabaseFaults, ALockNoProcessHoldsHoldsNoCreationBack)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(DrawDatabase::kFileName), lock = db + QStringLiteral(".lock");
    const QString csv = QStringLiteral(N3_HISTORY_CSV);
    auto startsAtOnce = [&](const char* what) {
        SCOPED_TRACE(what);
        QElapsedTimer timer;
        timer.start();
        QString reason;
        ASSERT_TRUE(history_source::startupLoad(db, csv, &reason)) << reason.toStdString();
        EXPECT_LT(timer.elapsed(), 10000);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{DrawDatabase::kFileName});
        ASSERT_TRUE(QFile::remove(db));
    };
    // A start killed the moment its lock file appears leaves it, empty.
    int locksLeft = 0;
    for (int round = 0; round < 3; ++round) {
        QProcess creator;
        creator.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("start"), db, csv});
        ASSERT_TRUE(creator.waitForStarted(10000));
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(lock) && !QFileInfo::exists(db) && waited.elapsed() < 10000) { }
        ::kill(static_cast<pid_t>(creator.processId()), SIGKILL);
        creator.waitForFinished(10000);
        locksLeft += QFileInfo::exists(lock) ? 1 : 0;
        QFile::remove(db);
        startsAtOnce("after a kill");
    }
    EXPECT_GT(locksLeft, 0) << "the kills came too late to leave a lock";
    // Such a file written by hand, and one naming a process that is gone.
    for (const QByteArray& left : {QByteArray(), QByteArray("2147483646\nnumbers3zubarin\nhost\n")}) {
        toolfixture::writeFile(lock, left);
        startsAtOnce(left.isEmpty() ? "an empty lock" : "a lock of a process that is gone");
    }
    // A creator that is alive holds the others back; when waiting ends, the message names the file.
    QProcess holder;
    holder.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("hold-lock"), lock});
    ASSERT_TRUE(holder.waitForReadyRead(30000));
    QString reason;
    EXPECT_EQ(DrawDatabase::create(db, HistoryCsv::readFile(csv), &reason, 300), DrawDatabase::Creation::Failed);
    EXPECT_TRUE(reason.contains(lock)) << reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(db));
    ::kill(static_cast<pid_t>(holder.processId()), SIGKILL);
    holder.waitForFinished(10000);
}

TEST(DatabaseFaults, AQueryThatNeverEndsIsGivenUpWithTheReason)
{
    // Views made elsewhere over an endless recursion: rows without end, none ever, and rows
    // without end to be sorted before the first one comes.
    const QString endless = QStringLiteral("with recursive r(n) as (select 1 union all select n + 1 from r) ");
    const QString columns = QStringLiteral("select n %1 as 回数, 1 as 第1数字, 2 as 第2数字, 3 as 第3数字 from r");
    for (const QString& view : QStringList{endless + columns.arg(QStringLiteral("% 32767 + 1")),
                                           endless + columns.arg(QString()) + QStringLiteral(" where n < 0"),
                                           endless + columns.arg(QString()) + QStringLiteral(" order by n desc")}) {
        SCOPED_TRACE(view.toStdString());
        QTemporaryDir dir;
        const QString db = dir.filePath(DrawDatabase::kFileName);
        fixture::exec(db,
                      {QStringLiteral("create table 当選データ (回数 INTEGER, 第1数字, 第2数字, 第3数字)"),
                       QStringLiteral("create view 全データ選択クエリ as ") + view});
        QElapsedTimer timer;
        timer.start();
        QString reason;
        EXPECT_FALSE(history_source::startupLoad(db, QString(), &reason));
        EXPECT_LT(timer.elapsed(), 30000);
        EXPECT_TRUE(reason.contains(QStringLiteral("読むのをやめました"))) << reason.toStdString();
    }
}

TEST(DatabaseFaults, AWriteFailingForTheWholeDatabaseNamesTheFileNotARow)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("n.db")), csv = dir.filePath(QStringLiteral("in.csv"));
    fixture::writeDatabase(db, {{1, 1, 1, 5}});
    toolfixture::writeFile(csv, toolfixture::kHeader + "2,2,2,2\n3,3,3,3\n");
    // Reading works, but the journal a write needs cannot be made.
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("no-such-folder/journal")), db + QStringLiteral("-journal")));
    const toolfixture::Run run
        = toolfixture::runProgram({QStringLiteral("import"), QStringLiteral("--db"), db, QStringLiteral("--csv"), csv});
    const QString message = QString::fromUtf8(run.err);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(message.contains(db)) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("行目"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("開けません（unable to open database file）")))
        << message.toStdString();
    QFile::remove(db + QStringLiteral("-journal"));
    EXPECT_EQ(storedDraws(db), QStringList{QStringLiteral("1:1-1-5:_")});
}

} // namespace
