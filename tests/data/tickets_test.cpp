// The player's ticket lines: the rules of the game that refuse a line, the tickets file, the
// table that keeps them (refusing the same lines) and a database of the prizes' version
// brought forward to hold them.

#include "data/draw_database.h"
#include "data/history_csv.h"
#include "data/tickets.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

ticket::Line line(const char* number, ticket::Type type, int units = 1, int first = 7090, int draws = 1)
{
    ticket::Line l;
    l.number = QString::fromLatin1(number);
    l.type = type;
    l.units = units;
    l.firstDraw = first;
    l.draws = draws;
    return l;
}

TEST(TicketRules, RefuseWhatCannotBeBoughtWithEveryReason)
{
    using ticket::Type;
    EXPECT_TRUE(ticket::refusals(line("777", Type::Straight)).isEmpty());
    EXPECT_TRUE(ticket::refusals(line("07", Type::Mini, 10, 32758, 10)).isEmpty());
    EXPECT_EQ(ticket::refusals(line("777", Type::Box)),
              QStringList{QStringLiteral("ボックスでは「777」のような3つとも同じ数字は申し込めません。")});
    EXPECT_EQ(ticket::refusals(line("777", Type::Set)).size(), 1);
    EXPECT_EQ(ticket::refusals(line("1234", Type::Straight)).size(), 1);
    EXPECT_EQ(ticket::refusals(line("123", Type::Mini)).size(), 1);
    EXPECT_EQ(ticket::refusals(line("１２３", Type::Box)).size(), 1); // full-width digits
    EXPECT_EQ(ticket::refusals(line("123", Type::Box, 0)).size(), 1);
    EXPECT_EQ(ticket::refusals(line("123", Type::Box, 11)).size(), 1);
    // Every reason of a line, in the order of its fields.
    const QStringList all = ticket::refusals(line("7777", Type::Set, 11, 32767, 2));
    ASSERT_EQ(all.size(), 3);
    EXPECT_TRUE(all[0].contains(QStringLiteral("3けた")));
    EXPECT_TRUE(all[1].startsWith(QStringLiteral("口数")));
    EXPECT_TRUE(all[2].contains(QStringLiteral("32767")));
}

TEST(TicketsFile, ReadsByPhysicalLineAndRefusesEveryBadLineWithAllItsReasons)
{
    const QByteArray good = "\xEF\xBB\xBF開始回,継続回数,番号,申込,口数,メモ\r\n"
                            " 7090 , 3 , 123 , ボックス , 2 , 初めて \r\n"
                            "\r\n"
                            "7090,3,123,ボックス,2, 初めて \r\n" // the same line again is allowed
                            "7095,1,07,ミニ,1,\"a, b\"\r\n";
    const ticket::TicketsCsv csv = ticket::parseTickets(good);
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.lines.size(), 3);
    EXPECT_EQ(csv.lines[0], csv.lines[1]);
    EXPECT_EQ(csv.lines[0].memo, QStringLiteral(" 初めて ")); // メモ keeps its blanks
    EXPECT_EQ(csv.lines[0].cost(), 1200);
    EXPECT_EQ(csv.lines[2].memo, QStringLiteral("a, b"));
    // Out and in again, the same lines.
    EXPECT_EQ(ticket::parseTickets(ticket::ticketsCsvBytes(csv.lines)).lines, csv.lines);

    const ticket::TicketsCsv bad = ticket::parseTickets("開始回,継続回数,番号,申込,口数,メモ\n"
                                                        "7090,1,123,ストレート,1,\n"
                                                        "7090,1,777,ボックス,0,\n"
                                                        "\n"
                                                        "x,1,12,ミニ,1,\n"
                                                        "7090,1,123,ストレート\n"
                                                        "32767,2,123,くじ,1,\n");
    EXPECT_TRUE(bad.lines.isEmpty()); // nothing of a refused file is taken
    ASSERT_EQ(bad.refused.size(), 4);
    EXPECT_EQ(bad.refused[0].line, 3);
    EXPECT_EQ(bad.refused[0].reasons.size(), 2);
    EXPECT_EQ(bad.refused[1].line, 5);
    EXPECT_EQ(bad.refused[1].reasons.size(), 1);
    EXPECT_EQ(bad.refused[2].line, 6);
    EXPECT_EQ(bad.refused[3].line, 7);
    EXPECT_EQ(bad.refused[3].reasons.size(), 2); // the kind, and the last draw past 32767

    EXPECT_FALSE(ticket::parseTickets("開始回,番号\n").error.isEmpty());
}

class TicketTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = dir.filePath(QStringLiteral("n.db"));
        QString reason;
        ASSERT_EQ(DrawDatabase::create(db, HistoryCsv::parse("回数,第1数字,第2数字,第3数字\n1,1,2,3\n"), &reason, 0,
                                       {{1, {{}, {98700, 16400, 57500, 8200, 9800}}}}),
                  DrawDatabase::Creation::Created)
            << reason.toStdString();
    }
    QTemporaryDir dir;
    QString db;
};

TEST_F(TicketTable, KeepsTheLinesInOrderAndRefusesWhatTheRulesRefuse)
{
    DrawDatabase database(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadWrite);
    QString reason;
    ASSERT_TRUE(database.open(&reason));
    ASSERT_TRUE(database.insertTickets({line("123", ticket::Type::Box, 2), line("07", ticket::Type::Mini)}, &reason))
        << reason.toStdString();
    const auto stored = database.storedTickets(&reason);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), 2);
    EXPECT_EQ((*stored)[0].number, QStringLiteral("123"));
    EXPECT_EQ((*stored)[1].type, ticket::Type::Mini);
    EXPECT_TRUE((*stored)[0].recorded.isValid());

    // A line outside the rules is refused by the table itself, and the whole batch with it.
    for (const ticket::Line& refused :
         {line("777", ticket::Type::Set), line("12", ticket::Type::Box), line("123", ticket::Type::Box, 11),
          line("12", ticket::Type::Mini, 1, 32767, 2)}) {
        EXPECT_FALSE(database.insertTickets({line("456", ticket::Type::Straight), refused}, &reason))
            << refused.number.toStdString();
    }
    EXPECT_EQ(database.storedTickets(&reason)->size(), 2);
}

TEST_F(TicketTable, ALineDeletedAndPutBackKeepsItsIdAndTimeAndTheHistoryCarriesTheLedger)
{
    DrawDatabase database(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadWrite);
    QString reason;
    ASSERT_TRUE(database.open(&reason));
    QVector<qint64> ids;
    ASSERT_TRUE(
        database.insertTickets({line("123", ticket::Type::Box), line("456", ticket::Type::Set)}, &reason, &ids));
    ASSERT_EQ(ids.size(), 2);
    const ticket::Line first = database.storedTickets(&reason)->at(0);
    EXPECT_EQ(first.id, ids[0]);

    // Changed: its fields, not when it was recorded; a line no longer there changes nothing.
    ticket::Line changed = first;
    changed.number = QStringLiteral("124");
    changed.units = 3;
    changed.recorded = {};
    ASSERT_TRUE(database.updateTicket(changed, &reason)) << reason.toStdString();
    ticket::Line gone = changed;
    gone.id = ids[1] + 100;
    EXPECT_FALSE(database.updateTicket(gone, &reason));
    // Deleted with a line no longer there: nothing deleted.
    EXPECT_FALSE(database.deleteTickets({ids[0], gone.id}, &reason));
    ASSERT_EQ(database.storedTickets(&reason)->size(), 2);

    const ticket::Line stored = database.storedTickets(&reason)->at(0);
    EXPECT_EQ(stored.number, QStringLiteral("124"));
    EXPECT_EQ(stored.units, 3);
    EXPECT_EQ(stored.recorded, first.recorded);
    ASSERT_TRUE(database.deleteTickets({ids[0]}, &reason));
    ASSERT_TRUE(database.insertTickets({stored}, &reason, &ids));
    EXPECT_EQ(ids, QVector<qint64>{stored.id});

    const std::optional<History> history = database.readHistory(&reason);
    ASSERT_TRUE(history);
    ASSERT_EQ(history->tickets().size(), 2);
    EXPECT_EQ(history->tickets().at(0), stored); // in the order recorded, as it was
    EXPECT_EQ(history->tickets().at(1).number, QStringLiteral("456"));
    EXPECT_FALSE(*history == history->withTickets({}));
}

TEST_F(TicketTable, IsAddedToADatabaseOfThePrizesVersionKeepingItsPrizes)
{
    {
        DrawDatabase made(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadWrite);
        QString reason;
        ASSERT_TRUE(made.open(&reason));
        QSqlQuery(made.database()).exec(QStringLiteral("drop table 購入記録"));
        QSqlQuery(made.database()).exec(QStringLiteral("pragma user_version = 1"));
    }
    QString reason;
    // No shipped files are needed: the prizes are there already.
    EXPECT_EQ(DrawDatabase::bringForward(db, QStringLiteral("/nonexistent/numbers3-history.csv"), &reason),
              DrawDatabase::Upgrade::Upgraded)
        << reason.toStdString();
    DrawDatabase look(DrawDatabase::connectString(db), DrawDatabase::Mode::ReadOnly);
    ASSERT_TRUE(look.open(&reason));
    EXPECT_TRUE(look.hasTicketTable());
    EXPECT_FALSE(look.needsUpgrade());
    const auto history = look.readHistory(&reason);
    ASSERT_TRUE(history && history->prizes(0));
    EXPECT_EQ(history->prizes(0)->amounts[prize::Straight], 98700);
}

} // namespace
