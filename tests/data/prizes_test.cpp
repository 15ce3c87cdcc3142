// The prizes of the draws: the rule one pool pays the five kinds by, the prize columns of a
// history file, and the database of an earlier version brought forward at start-up (killed at
// any moment, or where it may not be written).

#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/history_source.h"
#include "data/prizes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <limits>
#include <signal.h>
#include <unistd.h>

namespace {

const QString kShippedHistory = QStringLiteral(N3_HISTORY_CSV);

TEST(PrizeRule, GivesEveryShippedDrawItsFourOtherAmountsFromItsStraight)
{
    const HistoryCsv history = HistoryCsv::readFile(kShippedHistory);
    const HistoryCsv prizes = HistoryCsv::readFile(DrawDatabase::shippedPrizesBeside(kShippedHistory));
    ASSERT_TRUE(history.ok() && prizes.ok()) << prizes.error.toStdString();
    ASSERT_TRUE(prizes.prizesOnly);
    QHash<int, prize::Shape> shapes;
    for (const HistoryRow& row : history.rows)
        shapes.insert(row.drawNo, prize::shapeOf(*row.digits[0], *row.digits[1], *row.digits[2]));
    const QHash<int, prize::DrawPrizes> paid = prizes.prizesByDrawNo();
    ASSERT_EQ(paid.size(), 6335);
    int triples = 0;
    for (auto it = paid.cbegin(); it != paid.cend(); ++it) {
        const prize::Shape shape = shapes.value(it.key());
        triples += shape == prize::Shape::Triple ? 1 : 0;
        EXPECT_EQ(prize::amountsFromStraight(it->amounts[prize::Straight], shape), it->amounts) << it.key();
    }
    EXPECT_EQ(triples, 52);
    // Worked by hand: a single of 98,700 and a double of 98,700.
    EXPECT_EQ(prize::amountsFromStraight(98700, prize::Shape::Single),
              (std::array<int, 5>{98700, 16400, 57500, 8200, 9800}));
    EXPECT_EQ(prize::amountsFromStraight(98700, prize::Shape::Double),
              (std::array<int, 5>{98700, 32900, 65800, 16400, 9800}));
    EXPECT_EQ(prize::amountsFromStraight(98700, prize::Shape::Triple), (std::array<int, 5>{98700, 0, 0, 0, 9800}));
}

TEST(PrizeRule, TakesWholeHundredsOfYenUpToTheLargestPrize)
{
    for (const char* good : {"0", "100", "98700", "９８，７００", " 98,700円 ", "99999900"})
        EXPECT_TRUE(prize::readAmount(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", "150", "-100", "100000000", "abc", "1e5", "98700.0", "0x100"}) {
        EXPECT_FALSE(prize::readAmount(QString::fromUtf8(bad))) << bad;
        EXPECT_FALSE(prize::amountRefusal(QString::fromUtf8(bad)).isEmpty()) << bad;
    }
    EXPECT_EQ(prize::yenText(-1200), QStringLiteral("-1,200円"));
    EXPECT_EQ(prize::yenText(95400), QStringLiteral("95,400円"));
    EXPECT_EQ(prize::yenText(0), QStringLiteral("0円"));
    EXPECT_EQ(prize::grouped(999), QStringLiteral("999"));
    EXPECT_EQ(prize::grouped(-100000), QStringLiteral("-100,000"));
    // The lowest long long has no positive counterpart; its digits are written all the same.
    EXPECT_EQ(prize::grouped(std::numeric_limits<long long>::min()), QStringLiteral("-9,223,372,036,854,775,808"));
}

const QByteArray kPrizeHeader = prize::fileHeader().join(u',').toUtf8() + '\n';

TEST(PrizeColumns, AreReadAloneOrAfterTheDrawsAndRefusedWhereWrong)
{
    const HistoryCsv alone = HistoryCsv::parse(kPrizeHeader + "5,2,98700,,16400,1,57500,3,8200,40,9800\n");
    ASSERT_TRUE(alone.ok()) << alone.error.toStdString();
    EXPECT_TRUE(alone.prizesOnly);
    ASSERT_EQ(alone.rows.size(), 1);
    EXPECT_EQ(alone.rows[0].digits, (std::array<std::optional<int>, 3>{}));
    const prize::DrawPrizes expected{{2, std::nullopt, 1, 3, 40}, {98700, 16400, 57500, 8200, 9800}};
    EXPECT_EQ(alone.rows[0].prizes, expected);

    const QByteArray withDraws = QByteArray("回数,第1数字,第2数字,第3数字,抽せん日,") + kPrizeHeader.mid(7);
    const HistoryCsv history = HistoryCsv::parse(withDraws
                                                 + "5,1,2,3,2026/10/09,2,98700,,16400,1,57500,3,8200,40,9800\n"
                                                   "6,4,5,6,2026/10/12,,,,,,,,,,\n");
    ASSERT_TRUE(history.ok()) << history.error.toStdString();
    EXPECT_TRUE(history.hasPrizes);
    EXPECT_FALSE(history.prizesOnly);
    EXPECT_EQ(history.rows[0].prizes, expected);
    EXPECT_FALSE(history.rows[1].prizes); // nothing said of draw 6's prizes

    // A wrong amount or count names its line and field; so does a line with an amount missing.
    for (const char* line : {"5,2,98750,,16400,1,57500,3,8200,40,9800", "5,-2,98700,,16400,1,57500,3,8200,40,9800",
                             "5,2,98700,,,1,57500,3,8200,40,9800", "5,2,100000000,,16400,1,57500,3,8200,40,9800"}) {
        const HistoryCsv bad = HistoryCsv::parse(kPrizeHeader + line + '\n');
        EXPECT_FALSE(bad.ok()) << line;
        EXPECT_EQ(bad.errorLine, 2) << line;
        EXPECT_TRUE(bad.errorField.startsWith(QStringLiteral("ストレート"))
                    || bad.errorField.startsWith(QStringLiteral("ボックス")))
            << line << " " << bad.errorField.toStdString();
    }
    // Some of the prize columns, or out of order, is no prize file.
    EXPECT_FALSE(HistoryCsv::parse("回数,第1数字,第2数字,第3数字,ストレート当せん金\n1,1,2,3,98700\n").ok());
    EXPECT_FALSE(HistoryCsv::parse("回数,ストレート当せん金,ストレート口数\n").ok());
}

TEST(PrizeColumns, GoOutWithTheHistoryAndComeBackTheSame)
{
    const History history = History::fromRows({{1, {1, 2, 3}}, {2, {7, 7, 7}}, {3, {4, 4, 5}}},
                                              {QStringLiteral("2026/10/08"), QString(), QStringLiteral("2026/10/12")})
                                .withPrizes({{1, {{2, std::nullopt, 1, 3, 40}, {98700, 16400, 57500, 8200, 9800}}},
                                             {2, {{1, 0, 0, 0, 30}, {512400, 0, 0, 0, 51200}}}});
    const QByteArray bytes = historyCsvBytes(history, false);
    const QByteArray header = QByteArray("回数,第1数字,第2数字,第3数字,抽せん日,") + kPrizeHeader.mid(7);
    EXPECT_TRUE(bytes.startsWith(header));
    EXPECT_TRUE(bytes.contains("\n3,4,4,5,2026/10/12,,,,,,,,,,\n"));
    const HistoryCsv again = HistoryCsv::parse(bytes);
    ASSERT_TRUE(again.ok()) << again.error.toStdString();
    QHash<int, prize::DrawPrizes> expected;
    expected.insert(1, *history.prizes(0));
    expected.insert(2, *history.prizes(1));
    EXPECT_EQ(again.prizesByDrawNo(), expected);
    // A history without prizes is written as before.
    EXPECT_TRUE(historyCsvBytes(History::fromRows({{1, {1, 2, 3}}}), false)
                    .startsWith("回数,第1数字,第2数字,第3数字,抽せん日\n1,"));
}

TEST(NewDatabase, GetsTheDrawsAndThePrizesThatShipAndTheSchemasVersion)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(DrawDatabase::kFileName);
    QString reason;
    const auto loaded = history_source::startupLoad(db, kShippedHistory, &reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    EXPECT_TRUE(loaded->notice.isEmpty());
    int withPrizes = 0;
    for (qsizetype i = 0; i < loaded->history.recordCount(); ++i)
        withPrizes += loaded->history.prizes(i) ? 1 : 0;
    EXPECT_EQ(withPrizes, 6335);
    const prize::DrawPrizes* triple = loaded->history.prizes(6809); // 第6810回, 777
    ASSERT_TRUE(triple);
    EXPECT_EQ(triple->amounts, (std::array<int, 5>{69100, 0, 0, 0, 6900}));
    EXPECT_EQ(triple->counts[prize::Box], 0);
    DrawDatabase look(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
    ASSERT_TRUE(look.open(&reason));
    EXPECT_FALSE(look.needsUpgrade());
}

// A database as the version before the prizes made it: the draws, the query, no version.
class EarlierDatabase : public ::testing::Test {
protected:
    void SetUp() override { makeOld(); }

    void makeOld()
    {
        db = dir.filePath(DrawDatabase::kFileName);
        QFile::remove(db);
        QString reason;
        ASSERT_EQ(DrawDatabase::create(db, HistoryCsv::readFile(kShippedHistory), &reason),
                  DrawDatabase::Creation::Created)
            << reason.toStdString();
        DrawDatabase made(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadWrite);
        ASSERT_TRUE(made.open(&reason)) << reason.toStdString();
        QSqlQuery q(made.database());
        // The player's own changes: draw 2 typed otherwise, a draw of their own, a date changed.
        for (const char* sql :
             {"drop table 当せん金", "pragma user_version = 0", "update 当選データ set 第3数字 = 0 where 回数 = 2",
              "insert into 当選データ values (7090, 1, 2, 3, '2026/10/12')",
              "update 当選データ set 抽せん日 = 'a note' where 回数 = 3"})
            ASSERT_TRUE(q.exec(QString::fromUtf8(sql))) << sql;
        before = stored();
    }

    QStringList stored()
    {
        DrawDatabase look(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
        QString reason;
        EXPECT_TRUE(look.open(&reason)) << reason.toStdString();
        QSqlQuery q(look.database());
        q.exec(QStringLiteral("select * from 当選データ order by 回数"));
        QStringList rows;
        while (q.next())
            rows << QStringLiteral("%1:%2%3%4:%5")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                             q.value(4).toString());
        return rows;
    }

    // The version, and how many draws have prizes (-1: no table).
    std::pair<int, int> schema()
    {
        DrawDatabase look(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
        QString reason;
        EXPECT_TRUE(look.open(&reason)) << reason.toStdString();
        QSqlQuery q(look.database());
        q.exec(QStringLiteral("pragma user_version"));
        q.next();
        const int version = q.value(0).toInt();
        if (!look.hasPrizeTable())
            return {version, -1};
        q.exec(QStringLiteral("select count(*) from 当せん金"));
        q.next();
        return {version, q.value(0).toInt()};
    }

    QTemporaryDir dir;
    QString db;
    QStringList before;
};

TEST_F(EarlierDatabase, GetsTheShippedPrizesOfTheDrawsItHoldsAsDrawnAndKeepsEveryDraw)
{
    QString reason;
    const auto loaded = history_source::startupLoad(db, kShippedHistory, &reason);
    ASSERT_TRUE(loaded) << reason.toStdString();
    EXPECT_TRUE(loaded->notice.isEmpty()) << loaded->notice.toStdString();
    EXPECT_EQ(stored(), before);
    EXPECT_EQ(schema(), std::make_pair(DrawDatabase::kSchemaVersion, 6334));
    const History& history = loaded->history;
    ASSERT_TRUE(history.prizes(0));
    EXPECT_EQ(history.prizes(0)->amounts[prize::Straight], 119800);
    EXPECT_FALSE(history.prizes(1)); // draw 2 is not the drawn number
    EXPECT_TRUE(history.prizes(2)); // a changed date is still the same draw
    EXPECT_FALSE(history.prizes(7089)); // the player's own draw 7090
    // Brought forward once: the next start finds nothing to do and changes nothing.
    QFile file(db);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray upgraded = file.readAll();
    file.close();
    EXPECT_EQ(DrawDatabase::bringForward(db, kShippedHistory, &reason), DrawDatabase::Upgrade::Current);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), upgraded);
}

TEST_F(EarlierDatabase, KilledAtAnyMomentOfBringingItForwardIsTheOldOneOrTheNew)
{
    int old = 0, upgraded = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        QProcess child;
        child.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("upgrade"), db, kShippedHistory});
        ASSERT_TRUE(child.waitForStarted(10000));
        QThread::msleep(QRandomGenerator::global()->bounded(5, 90));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(10000);
        // Whatever the kill left, the next reader rolls back or finds the whole.
        const std::pair<int, int> found = schema();
        EXPECT_EQ(stored(), before);
        if (found == std::make_pair(0, -1)) {
            ++old;
            continue;
        }
        EXPECT_EQ(found, std::make_pair(DrawDatabase::kSchemaVersion, 6334));
        ++upgraded;
        makeOld(); // a fresh old database for the next kill
    }
    EXPECT_EQ(old + upgraded, 12);
}

TEST_F(EarlierDatabase, WhereItMayNotBeWrittenIsReadAsItIsWithoutPrizesAndSaysSo)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty())
        GTEST_SKIP() << "needs root and setpriv to start as a user who may not write";
    const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
        | QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(dir.path(), readable));
    ASSERT_TRUE(QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    QProcess child;
    child.start(setpriv,
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                 QStringLiteral(N3_CHILD_PATH), QStringLiteral("start"), db, kShippedHistory});
    ASSERT_TRUE(child.waitForFinished(30000));
    const QString said = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_TRUE(said.startsWith(QStringLiteral("ok 7090 7090 ")) && said.contains(QStringLiteral("当せん金なし")))
        << said.toStdString();
    EXPECT_EQ(schema(), std::make_pair(0, -1));
    EXPECT_EQ(stored(), before);
}

} // namespace
