// Reading draw histories from CSV: what is accepted, and that every bad line is refused
// with its line and field named.

#include "data/history_csv.h"

#include <gtest/gtest.h>

namespace {

TEST(HistoryCsv, ReadsTheShippedHistory)
{
    const HistoryCsv csv = HistoryCsv::readFile(QStringLiteral(N3_HISTORY_CSV));
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.rows.size(), 7089);
    EXPECT_EQ(csv.extraColumns, QStringList{QStringLiteral("抽せん日")});
    const HistoryRow& last = csv.rows.last();
    EXPECT_EQ(last.drawNo, 7089);
    EXPECT_EQ(last.digits[0], 4);
    EXPECT_EQ(last.digits[1], 3);
    EXPECT_EQ(last.digits[2], 1);
    EXPECT_EQ(csv.extraValue(last, QStringLiteral("抽せん日")), QStringLiteral("2026/10/09"));
    EXPECT_EQ(last.line, 7090);
}

TEST(HistoryCsv, AcceptsBomCrLfQuotesEmptyDigitsAndBlankLines)
{
    const HistoryCsv csv = HistoryCsv::parse(
        "\xEF\xBB\xBF回数,第1数字,第2数字,第3数字\r\n"
        "1,0,9,\"5\"\r\n"
        "\r\n"
        "2,,,\r\n"
        "3, 4 ,\"\",7\r\n");
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.rows.size(), 3);
    EXPECT_EQ(csv.rows[0].digits[0], 0);
    EXPECT_EQ(csv.rows[0].digits[2], 5);
    EXPECT_FALSE(csv.rows[1].digits[0].has_value());
    EXPECT_EQ(csv.rows[2].digits[0], 4);
    EXPECT_FALSE(csv.rows[2].digits[1].has_value());
    EXPECT_EQ(csv.rows[2].line, 5);
    EXPECT_TRUE(csv.extraColumns.isEmpty());
    EXPECT_TRUE(csv.extraValue(csv.rows[0], QStringLiteral("抽せん日")).isNull());
}

TEST(HistoryCsv, RefusesEachKindOfBadLineNamingLineAndField)
{
    struct Case {
        const char* body;
        int line;
        const char* field;
    };
    const Case cases[] = {
        {"1,1,2,x\n", 2, "第3数字"},
        {"1,1,2,3\n2,10,2,3\n", 3, "第1数字"},
        {"1,1,-1,3\n", 2, "第2数字"},
        {"1,1.0,2,3\n", 2, "第1数字"},
        {"0,1,2,3\n", 2, "回数"},
        {"32768,1,2,3\n", 2, "回数"},
        {"abc,1,2,3\n", 2, "回数"},
        {",1,2,3\n", 2, "回数"},
        {"1,1,2,3\n1,4,5,6\n", 3, "回数"},
        {"1,1,2\n", 2, ""},
        {"1,1,2,3,4\n", 2, ""},
        {"1,\"1,2,3\n", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const HistoryCsv csv = HistoryCsv::parse(QByteArray("回数,第1数字,第2数字,第3数字\n") + c.body);
        EXPECT_FALSE(csv.ok());
        EXPECT_EQ(csv.errorLine, c.line);
        EXPECT_EQ(csv.errorField, QString::fromUtf8(c.field));
        EXPECT_TRUE(csv.error.startsWith(QStringLiteral("%1行目").arg(c.line))) << csv.error.toStdString();
        EXPECT_TRUE(csv.rows.isEmpty()) << "a refused file yields no draws at all";
    }
}

TEST(HistoryCsv, RefusesAWrongHeaderOrNoHeader)
{
    EXPECT_EQ(HistoryCsv::parse("回数,第1数字,第2数字\n1,2,3\n").errorLine, 1);
    EXPECT_EQ(HistoryCsv::parse("No,1,2,3\n").errorLine, 1);
    EXPECT_FALSE(HistoryCsv::parse("").ok());
    EXPECT_FALSE(HistoryCsv::readFile(QStringLiteral("/nonexistent/history.csv")).ok());
}

} // namespace
