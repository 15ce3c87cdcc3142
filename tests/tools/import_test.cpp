// Importing a history CSV: every kind of bad line is refused with its line and field named and
// nothing written; good files insert, replace and keep what the CSV does not speak of.

#include "tool_commands.h"
#include "support/history_fixture.h"
#include "tools/tool_test_support.h"

#include "data/draw_database.h"
#include "data/prizes.h"

#include <QDir>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using toolfixture::kHeader;
using toolfixture::storedDraws;

class Import : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    tool::ImportResult import(const QString& db, const QByteArray& csv)
    {
        toolfixture::writeFile(path(QStringLiteral("in.csv")), csv);
        return tool::importHistory(db, path(QStringLiteral("in.csv")));
    }

    QTemporaryDir dir;
};

TEST_F(Import, RefusesEachKindOfBadLineAndWritesNothing)
{
    const struct {
        QByteArray body;
        int line;
        QString field;
    } cases[] = {
        {"1,1,2,3\n2,1,x,3\n", 3, QStringLiteral("第2数字")},
        {"1,1,2,10\n", 2, QStringLiteral("第3数字")},
        {"0,1,2,3\n", 2, QStringLiteral("回数")},
        {"32768,1,2,3\n", 2, QStringLiteral("回数")},
        {"1,1,2,3\n5,4,5,6\n1,7,8,9\n", 4, QStringLiteral("回数")},
        {"1,1,2,3\n2,1,2\n", 3, QString()},
        {"1,1,2,3,extra\n", 2, QString()},
        {"1,1,2,3\n2,\x82\xA0,1,1\n", 3, QString()}, // Shift_JIS, not UTF-8
    };
    const QString existing = path(QStringLiteral("existing.db"));
    fixture::writeDatabase(existing, {{1, 1, 1, 5}, {2, 0, 5, 9}});
    const QByteArray before = fixture::fileDigest(existing);

    for (const auto& c : cases) {
        SCOPED_TRACE(c.body.toStdString());
        for (const QString& db : {existing, path(QStringLiteral("fresh.db"))}) {
            const tool::ImportResult result = import(db, kHeader + c.body);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.errorLine, c.line);
            EXPECT_EQ(result.errorField, c.field);
            EXPECT_TRUE(result.error.contains(QStringLiteral("%1行目").arg(c.line)) && result.error.contains(c.field))
                << result.error.toStdString();
        }
        EXPECT_EQ(fixture::fileDigest(existing), before);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
                  (QStringList{QStringLiteral("existing.db"), QStringLiteral("in.csv")}));
    }
}

TEST_F(Import, DatabasesThatRefuseStayByteIdentical)
{
    const QString other = path(QStringLiteral("other.db")), text = path(QStringLiteral("text.db")),
                  trigger = path(QStringLiteral("trigger.db"));
    fixture::exec(other, {QStringLiteral("create table t (x)")});
    toolfixture::writeFile(text, "not a database\n");
    // Ours, but draw 3 fails halfway through the write: the draws before it must go too.
    fixture::writeDatabase(trigger, {{1, 1, 1, 5}});
    fixture::exec(trigger,
                  {QStringLiteral("create trigger refuse before insert on 当選データ when new.回数 = 3 "
                                  "begin select raise(abort, 'refused'); end")});
    for (const QString& db : {other, text, trigger}) {
        const QByteArray before = fixture::fileDigest(db);
        const tool::ImportResult result = import(db, kHeader + "1,9,9,9\n2,2,2,2\n3,3,3,3\n4,4,4,4\n");
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(db)) << result.error.toStdString();
        EXPECT_EQ(fixture::fileDigest(db), before) << db.toStdString();
    }
}

TEST_F(Import, InsertsAndReplacesByDrawNumberKeepingStoredDates)
{
    const QString db = path(QStringLiteral("n.db"));
    tool::ImportResult result = import(db,
                                       "\xEF\xBB\xBF回数,第1数字,第2数字,第3数字,備考,抽せん日\r\n"
                                       "1,1,1,5,\"a, b\",1994/10/07\r\n2,0,5,9,,1994/10/14\r\n3,,,,,\r\n");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.created);
    EXPECT_EQ(result.written, 3);

    // No date column: draw 2's digits are replaced, its date stays; draw 4 is new.
    result = import(db, kHeader + "2,3,3,3\n4,4,4,4\n");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_FALSE(result.created);
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(result.replaced, 1);
    EXPECT_EQ(storedDraws(db),
              (QStringList{QStringLiteral("1:1-1-5:1994/10/07"), QStringLiteral("2:3-3-3:1994/10/14"),
                           QStringLiteral("3:_-_-_:_"), QStringLiteral("4:4-4-4:_")}));

    // With the column, the file's date wins; an empty digit means not drawn yet.
    ASSERT_TRUE(import(db, "回数,第1数字,第2数字,第3数字,抽せん日\n1,1,,5,1994/10/08\n").ok);
    EXPECT_EQ(storedDraws(db).first(), QStringLiteral("1:1-_-5:1994/10/08"));
}

TEST_F(Import, ImportsTheShippedHistory)
{
    const tool::ImportResult result = tool::importHistory(path(QStringLiteral("n.db")), QStringLiteral(N3_HISTORY_CSV));
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.written, 7089);
    const QStringList draws = storedDraws(path(QStringLiteral("n.db")));
    ASSERT_EQ(draws.size(), 7089);
    EXPECT_EQ(draws.first(), QStringLiteral("1:1-9-1:1994/10/07"));
    EXPECT_EQ(draws.last(), QStringLiteral("7089:4-3-1:2026/10/09"));
}

// The prizes in the database, as "回数:straight/box/…" by draw.
QStringList storedPrizes(const QString& db)
{
    DrawDatabase database(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
    QString reason;
    EXPECT_TRUE(database.open(&reason)) << reason.toStdString();
    const auto prizes = database.storedPrizes(&reason);
    EXPECT_TRUE(prizes) << reason.toStdString();
    QStringList rows;
    for (auto it = prizes->cbegin(); it != prizes->cend(); ++it) {
        QStringList amounts;
        for (const int yen : it->amounts)
            amounts << QString::number(yen);
        rows << QStringLiteral("%1:%2").arg(it.key()).arg(amounts.join(u'/'));
    }
    rows.sort();
    return rows;
}

TEST_F(Import, TakesPrizesAloneOrWithTheDrawsAndBringsAnEarlierDatabaseForwardFirst)
{
    const QByteArray prizeHeader = prize::fileHeader().join(u',').toUtf8() + '\n';
    const QString db = path(QStringLiteral("n.db"));
    ASSERT_TRUE(import(db, kHeader + "1,1,2,3\n2,4,4,5\n").ok);

    // A prize file alone changes no draw; a bad line in it writes nothing at all.
    tool::ImportResult result = import(db, prizeHeader + "2,1,98700,3,32900,,65800,,16400,,9800\n");
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.prizesOnly);
    EXPECT_EQ(result.prizes, 1);
    EXPECT_EQ(storedDraws(db), (QStringList{QStringLiteral("1:1-2-3:_"), QStringLiteral("2:4-4-5:_")}));
    EXPECT_EQ(storedPrizes(db), QStringList{QStringLiteral("2:98700/32900/65800/16400/9800")});
    result = import(db, prizeHeader + "1,,90000,,15000,,52500,,7500,,9000\n2,,98750,,0,,0,,0,,9800\n");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorLine, 3);
    EXPECT_EQ(storedPrizes(db), QStringList{QStringLiteral("2:98700/32900/65800/16400/9800")});

    // As columns after the draws: written with them, in the same transaction.
    ASSERT_TRUE(import(db,
                       QByteArray("回数,第1数字,第2数字,第3数字,抽せん日,") + prizeHeader.mid(7)
                           + "1,1,2,3,1994/10/07,,90000,,15000,,52500,,7500,,9000\n")
                    .ok);
    EXPECT_EQ(storedPrizes(db),
              (QStringList{QStringLiteral("1:90000/15000/52500/7500/9000"),
                           QStringLiteral("2:98700/32900/65800/16400/9800")}));

    // A database of the version before the prizes gets the shipped prizes before the import writes.
    const QString earlier = path(QStringLiteral("earlier.db"));
    fixture::writeDatabase(earlier, {{1, 1, 9, 1}, {2, 1, 9, 2}});
    {
        DrawDatabase database(DrawDatabase::connectString(earlier), DrawDatabase::Mode::ReadWrite);
        QString reason;
        ASSERT_TRUE(database.open(&reason));
        QSqlQuery(database.database()).exec(QStringLiteral("drop table 当せん金"));
        QSqlQuery(database.database()).exec(QStringLiteral("pragma user_version = 0"));
    }
    toolfixture::writeFile(path(QStringLiteral("in.csv")), kHeader + "3,3,3,3\n");
    ASSERT_TRUE(tool::importHistory(earlier, path(QStringLiteral("in.csv")), QStringLiteral(N3_HISTORY_CSV)).ok);
    // Draw 1 is 191 as drawn; draw 2 is held as 192, not the drawn 988, and draw 3 came after.
    EXPECT_EQ(storedPrizes(earlier), QStringList{QStringLiteral("1:119800/39900/79800/19900/11900")});
}

TEST_F(Import, TicketsGoInWholeOrNotAtAllAndComeOutAsTheyWent)
{
    const QString db = path(QStringLiteral("n.db"));
    ASSERT_TRUE(import(db, kHeader + "1,1,2,3\n").ok);
    const QString tickets = path(QStringLiteral("tickets.csv"));
    const QByteArray header = "開始回,継続回数,番号,申込,口数,メモ\n";
    toolfixture::writeFile(tickets, header + "2,3,123,ボックス,2,first\n2,1,777,セット,0,\n3,1,07,ミニ,1,\n");
    const toolfixture::Run refused = toolfixture::runProgram(
        {QStringLiteral("tickets"), QStringLiteral("import"), tickets, QStringLiteral("--db"), db});
    EXPECT_EQ(refused.exitCode, 1);
    const QString said = QString::fromUtf8(refused.err);
    EXPECT_TRUE(said.contains(QStringLiteral("3行目")) && said.contains(QStringLiteral("「777」"))
                && said.contains(QStringLiteral("口数")) && !said.contains(QStringLiteral("2行目")))
        << said.toStdString();
    const auto exported = [&] {
        return toolfixture::runProgram(
            {QStringLiteral("tickets"), QStringLiteral("export"), QStringLiteral("--db"), db});
    };
    EXPECT_EQ(exported().out, header); // nothing was written

    toolfixture::writeFile(tickets, header + "2,3,123,ボックス,2,first\n3,1,07,ミニ,1,\n");
    const toolfixture::Run taken = toolfixture::runProgram(
        {QStringLiteral("tickets"), QStringLiteral("import"), tickets, QStringLiteral("--db"), db});
    EXPECT_EQ(taken.exitCode, 0) << taken.err.toStdString();
    EXPECT_EQ(exported().out, toolfixture::readFile(tickets));
}

} // namespace
