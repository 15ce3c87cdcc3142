// Reading draw histories from CSV: what is accepted, and that every bad line is refused
// with its line and field named.

#include "data/history_csv.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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
    const HistoryCsv csv = HistoryCsv::parse("\xEF\xBB\xBF回数,第1数字,第2数字,第3数字\r\n"
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
        {"+5,1,2,3\n", 2, "回数"},
        {"1 2,1,2,3\n", 2, "回数"},
        {"１,1,2,3\n", 2, "回数"}, // a full-width digit
        {"4294967297,1,2,3\n", 2, "回数"},
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

TEST(HistoryCsv, AcceptsCrOnlyAndMixedLineEnds)
{
    const HistoryCsv csv = HistoryCsv::parse("回数,第1数字,第2数字,第3数字\r1,1,2,3\r\r2,4,5,6\r\n3,7,8,9\n4,0,0,0\r");
    ASSERT_TRUE(csv.ok()) << csv.error.toStdString();
    ASSERT_EQ(csv.rows.size(), 4);
    EXPECT_TRUE(csv.extraColumns.isEmpty());
    EXPECT_EQ(csv.rows[1].line, 4);
    EXPECT_EQ(csv.rows[3].line, 6);
    EXPECT_EQ(csv.rows[3].digits[0], 0);
}

TEST(HistoryCsv, ANulInTheDrawNumberOrAHugeValueIsRefusedAndQuotedShortly)
{
    static const char withNul[] = "回数,第1数字,第2数字,第3数字\n1,1,1,1\n90\0 01,1,2,3\n";
    const HistoryCsv nul = HistoryCsv::parse(QByteArray(withNul, sizeof withNul - 1));
    EXPECT_EQ(nul.errorLine, 3);
    EXPECT_EQ(nul.errorField, QStringLiteral("回数"));
    EXPECT_FALSE(nul.error.contains(QChar(0))) << "a control character never reaches a message";

    const HistoryCsv huge = HistoryCsv::parse("回数,第1数字,第2数字,第3数字\n1," + QByteArray(10000, '7') + ",2,3\n");
    EXPECT_EQ(huge.errorField, QStringLiteral("第1数字"));
    EXPECT_LT(huge.error.size(), 100) << huge.error.toStdString();
    EXPECT_TRUE(huge.error.contains(QString(40, u'7') + u'…')) << huge.error.toStdString();

    const HistoryCsv longLine = HistoryCsv::parse("回数,第1数字,第2数字,第3数字\n1,1,2,3,"
                                                  + QByteArray(HistoryCsv::kMaxLineBytes, 'x') + "\n");
    EXPECT_EQ(longLine.errorLine, 2);
}

// Files far from a history must not take memory in proportion: the reader holds one line.
TEST(HistoryCsv, PeakMemoryStaysSmallForHugeFiles)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's own memory hides the reader's";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the address sanitizer's own memory hides the reader's";
#endif
#endif
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
        const char* expected;
    } files[] = {
        {"blank-lines.csv", QByteArray(HistoryCsv::kMaxFileBytes, '\n'), "rows=0 line=1 "},
        {"one-line.csv", "回数,第1数字,第2数字,第3数字\n" + QByteArray(60 * 1024 * 1024, '1'), "rows=0 line=2 "},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const QString path = dir.filePath(QString::fromUtf8(file.name));
        {
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.bytes) == file.bytes.size());
        }
        QProcess child;
        child.start(QStringLiteral(N3_CHILD_PATH), {QStringLiteral("read-peak"), path});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray said = child.readAllStandardOutput();
        ASSERT_TRUE(said.startsWith(file.expected)) << said.toStdString();
        const long peakKb = said.mid(said.indexOf("peak_kb=") + 8).trimmed().toLong();
        EXPECT_GT(peakKb, 0);
        EXPECT_LT(peakKb, 200 * 1024) << "peak resident memory in KB";
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
