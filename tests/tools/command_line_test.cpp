// The companion as users run it: exit codes, one-line errors, output files written whole or not
// at all, and the list of windows.

#include "catalogue/window_catalogue.h"
#include "tool_commands.h"
#include "support/history_fixture.h"
#include "support/prediction_test_support.h"
#include "support/special_files.h"
#include "tools/tool_test_support.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using toolfixture::runProgram;

const QString kChart = QStringLiteral("出現頻度分析");

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolfixture::writeFile(csv, toolfixture::kHeader + "1,1,1,5\n2,0,5,9\n");
        toolfixture::writeFile(notOurs, "回数\n");
        // The bad value holds a carriage return, which the one-line message must not pass on.
        toolfixture::writeFile(badCsv, toolfixture::kHeader + "1,\"1\r2\",2,3\n");
        ASSERT_EQ(
            runProgram({QStringLiteral("import"), QStringLiteral("--db"), db, QStringLiteral("--csv"), csv}).exitCode,
            0);
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList exportArgs(const QString& database) const
    {
        return {QStringLiteral("export"), QStringLiteral("--db"), database, QStringLiteral("--window"), kChart};
    }

    QTemporaryDir dir;
    QString db = path(QStringLiteral("n.db")), csv = path(QStringLiteral("h.csv")),
            notOurs = path(QStringLiteral("other.db")), badCsv = path(QStringLiteral("bad.csv")),
            outFile = path(QStringLiteral("out.csv"));
};

TEST_F(CommandLine, FailuresExitNonZeroWithOneLineAndNoOutputFile)
{
    const QString out = QStringLiteral("--out=") + outFile, newDb = path(QStringLiteral("new.db"));
    const QStringList cases[] = {
        {QStringLiteral("frobnicate")},
        exportArgs(db) << out << QStringLiteral("--bogus"),
        {QStringLiteral("export"), QStringLiteral("--db"), db, out, QStringLiteral("--window")},
        {QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"), QStringLiteral("ない窓"),
         out},
        exportArgs(db) << out << QStringLiteral("--format") << QStringLiteral("xml"),
        exportArgs(newDb) << out,
        exportArgs(notOurs) << out,
        {QStringLiteral("import"), QStringLiteral("--db"), db, QStringLiteral("--csv"),
         path(QStringLiteral("none.csv"))},
        {QStringLiteral("import"), QStringLiteral("--db"), newDb, QStringLiteral("--csv"), notOurs},
        {QStringLiteral("import"), QStringLiteral("--db"), newDb, QStringLiteral("--csv"), badCsv},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const toolfixture::Run run = runProgram(args);
        EXPECT_GT(run.exitCode, 0);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.count('\n') == 1 && run.err.endsWith('\n') && !run.err.contains('\r'))
            << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(outFile));
        EXPECT_FALSE(QFileInfo::exists(newDb));
    }
}

TEST_F(CommandLine, ExportsTheSameBytesToAFileOrStdout)
{
    for (const auto format : {tool::ExportFormat::Csv, tool::ExportFormat::Json}) {
        const QByteArray expected = tool::exportWindow(db, kChart, format).data;
        ASSERT_FALSE(expected.isEmpty());
        QStringList args = exportArgs(db)
            << QStringLiteral("--format")
            << (format == tool::ExportFormat::Json ? QStringLiteral("json") : QStringLiteral("csv"));
        EXPECT_EQ(runProgram(args).out, expected);
        const toolfixture::Run toFile = runProgram(args << QStringLiteral("--out") << outFile);
        EXPECT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
        EXPECT_EQ(toolfixture::readFile(outFile), expected);
    }
}

// Scripts read the CSV as it always was; a spreadsheet's file takes the mark with --bom, to a file
// and to the standard output alike. A JSON or PDF takes none.
TEST_F(CommandLine, TheCsvStartsWithAByteOrderMarkOnlyUnderBom)
{
    const QByteArray csvBytes = tool::exportWindow(db, kChart, tool::ExportFormat::Csv).data;
    ASSERT_TRUE(csvBytes.startsWith(",,,,")) << csvBytes.left(16).toStdString();
    EXPECT_EQ(runProgram(exportArgs(db)).out, csvBytes);
    const QByteArray marked = QByteArray("\xEF\xBB\xBF") + csvBytes;
    const toolfixture::Run toStdout = runProgram(exportArgs(db) << QStringLiteral("--bom"));
    EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err.toStdString();
    EXPECT_EQ(toStdout.out, marked);
    const toolfixture::Run toFile
        = runProgram(exportArgs(db) << QStringLiteral("--format=csv") << QStringLiteral("--bom")
                                    << QStringLiteral("--out") << outFile);
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
    EXPECT_EQ(toolfixture::readFile(outFile), marked);
    QFile::remove(outFile);

    for (const QString& format : {QStringLiteral("json"), QStringLiteral("pdf")}) {
        const toolfixture::Run refused
            = runProgram(exportArgs(db) << QStringLiteral("--format") << format << QStringLiteral("--bom")
                                        << QStringLiteral("--out") << outFile);
        EXPECT_EQ(refused.exitCode, 2) << format.toStdString();
        EXPECT_TRUE(refused.err.contains("--bom")) << refused.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(outFile));
    }
    EXPECT_EQ(runProgram(exportArgs(db) << QStringLiteral("--bom=yes")).exitCode, 2);
}

TEST_F(CommandLine, AFailedExportLeavesFilesAsTheyWere)
{
    toolfixture::writeFile(outFile, "earlier export\n");
    const QByteArray dbBefore = fixture::fileDigest(db);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_NE(tool::runTool(exportArgs(notOurs) << QStringLiteral("--out") << outFile, out, err), 0);
    EXPECT_EQ(toolfixture::readFile(outFile), QByteArray("earlier export\n"));
    // Naming the database as the output would overwrite the history with its own export.
    EXPECT_NE(
        tool::runTool(exportArgs(db) << QStringLiteral("--out") << dir.path() + QStringLiteral("/./n.db"), out, err),
        0);
    EXPECT_EQ(fixture::fileDigest(db), dbBefore);
    EXPECT_EQ(errText.count(u'\n'), 2);
    EXPECT_TRUE(outText.isEmpty());
}

// Output that is no regular file is written as it is: a pipe gets the bytes and stays a pipe,
// and a device that takes nothing is a failure, not a file put in its place.
TEST_F(CommandLine, ExportsIntoAFifo)
{
    const QString fifo = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    fixture::FifoReader reader(fifo);
    const toolfixture::Run run = runProgram(exportArgs(db) << QStringLiteral("--out") << fifo);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(reader.bytes(), tool::exportWindow(db, kChart, tool::ExportFormat::Csv).data);
    EXPECT_TRUE(fixture::isFifo(fifo));
}

// "--out -" is the standard output; a PDF, which is no text, is refused there and no file "-" made.
TEST_F(CommandLine, OutDashIsTheStandardOutputAndNoPlaceForAPdf)
{
    fixture::InTemporaryDirectory here;
    const toolfixture::Run csvRun = runProgram(exportArgs(db) << QStringLiteral("--out") << QStringLiteral("-"));
    EXPECT_EQ(csvRun.exitCode, 0);
    EXPECT_EQ(csvRun.out, tool::exportWindow(db, kChart, tool::ExportFormat::Csv).data);
    const toolfixture::Run pdfRun = runProgram(exportArgs(db) << QStringLiteral("--format") << QStringLiteral("pdf")
                                                              << QStringLiteral("--out") << QStringLiteral("-"));
    EXPECT_EQ(pdfRun.exitCode, 2);
    EXPECT_TRUE(pdfRun.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(here.filePath(QStringLiteral("-"))));
}

// A file the user may not write is not replaced, whatever the folder allows: the user's own
// read-only file, and another user's file in a folder everyone may write.
TEST_F(CommandLine, AnExportNeverReplacesAFileTheUserMayNotWrite)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (::geteuid() != 0 || setpriv.isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run the companion as another user";
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const QString own = path(QStringLiteral("own.csv")), foreign = path(QStringLiteral("root.csv"));
    toolfixture::writeFile(own, "mine, read-only\n");
    toolfixture::writeFile(foreign, "root's\n");
    ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    ASSERT_TRUE(QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther));
    for (const QString& target : {own, foreign}) {
        SCOPED_TRACE(target.toStdString());
        const QByteArray before = toolfixture::readFile(target);
        QProcess tool;
        tool.start(setpriv,
                   QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                               QStringLiteral("--clear-groups"), QStringLiteral(N3_TOOL_PATH)}
                       + exportArgs(db) + QStringList{QStringLiteral("--out"), target});
        ASSERT_TRUE(tool.waitForFinished(30000));
        EXPECT_EQ(tool.exitCode(), 1);
        EXPECT_TRUE(
            QString::fromUtf8(tool.readAllStandardError()).contains(QStringLiteral("書き込む権限がありません")));
        EXPECT_EQ(toolfixture::readFile(target), before);
    }
}

TEST_F(CommandLine, AnExportToAFullDeviceFailsAndLeavesTheDevice)
{
    const QString device = path(QStringLiteral("full"));
    if (!fixture::makeFullDeviceNode(device))
        GTEST_SKIP() << "this process may not make a device node here";
    const toolfixture::Run run = runProgram(exportArgs(db) << QStringLiteral("--out") << device);
    EXPECT_GT(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("ディスクの空きがありません")) << run.err.toStdString();
    EXPECT_TRUE(fixture::isFullDeviceNode(device));
}

TEST_F(CommandLine, ListsExactlyTheExportableWindowsAndEachExports)
{
    const toolfixture::Run run = runProgram({QStringLiteral("windows")});
    ASSERT_EQ(run.exitCode, 0);
    const QStringList listed = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(listed.contains(kChart));
    for (const catalogue::WindowRecord& record : catalogue::windows())
        EXPECT_EQ(listed.contains(record.form), record.computes()) << record.form.toStdString();
    for (const QString& form : listed)
        EXPECT_TRUE(tool::exportWindow(db, form, tool::ExportFormat::Json).ok) << form.toStdString();

    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("--help")}}) {
        const toolfixture::Run help = runProgram(args);
        EXPECT_TRUE(help.exitCode == 0 && help.err.isEmpty()
                    && help.out.contains("export [--db FILE | --data-dir DIR]"));
    }
}

TEST_F(CommandLine, EveryWindowTakesARangeAndTheTestingWindowsKeepTheirMeaningOfIt)
{
    auto exportRange = [this](const QString& window, const QStringList& range) {
        return runProgram(QStringList{QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"),
                                      window, QStringLiteral("--format"), QStringLiteral("json")}
                          + range);
    };
    const QString backtest = QStringLiteral("予想の検証"), randomness = QStringLiteral("ランダム性の検定");
    // One end alone leaves the other open; draw 2 alone is tested either way.
    const toolfixture::Run fromTwo = exportRange(backtest, {QStringLiteral("--from"), QStringLiteral("2")});
    ASSERT_EQ(fromTwo.exitCode, 0) << fromTwo.err.toStdString();
    EXPECT_EQ(fromTwo.out,
              exportRange(backtest,
                          {QStringLiteral("--from"), QStringLiteral("2"), QStringLiteral("--to"), QStringLiteral("2")})
                  .out);
    EXPECT_NE(fromTwo.out, exportRange(backtest, {}).out);
    EXPECT_TRUE(fromTwo.out.startsWith(R"({"window": "予想の検証", "grids": [)"));
    const toolfixture::Run upToOne = exportRange(randomness, {QStringLiteral("--to"), QStringLiteral("1")});
    ASSERT_EQ(upToOne.exitCode, 0) << upToOne.err.toStdString();
    EXPECT_TRUE(upToOne.out.contains("判定できません"));

    for (const QStringList& bad : {QStringList{QStringLiteral("--from"), QStringLiteral("x")},
                                   QStringList{QStringLiteral("--to"), QStringLiteral("40000")}}) {
        const toolfixture::Run run = exportRange(randomness, bad);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
    }

    // Any other window: --last N, or one end or both of --from and --to.
    const auto chart = [&](const QStringList& range) {
        const toolfixture::Run run = exportRange(kChart, range);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    };
    const QString whole = chart({});
    const QString lastOne = chart({QStringLiteral("--last"), QStringLiteral("1")});
    EXPECT_NE(lastOne, whole);
    EXPECT_EQ(lastOne, chart({QStringLiteral("--from"), QStringLiteral("2")}));
    EXPECT_EQ(lastOne,
              chart({QStringLiteral("--from"), QStringLiteral("2"), QStringLiteral("--to"), QStringLiteral("9")}));
    EXPECT_NE(chart({QStringLiteral("--to"), QStringLiteral("1")}), whole);
    EXPECT_EQ(chart({QStringLiteral("--last"), QStringLiteral("5")}), whole) << "fewer draws than N: 全期間";

    // A usage error names the option.
    for (const auto& [bad, named] : {std::pair{QStringList{QStringLiteral("--last"), QStringLiteral("1"),
                                                           QStringLiteral("--to"), QStringLiteral("2")},
                                               "--last"},
                                     std::pair{QStringList{QStringLiteral("--last"), QStringLiteral("0")}, "--last"},
                                     std::pair{QStringList{QStringLiteral("--from"), QStringLiteral("0")}, "--from"},
                                     std::pair{QStringList{QStringLiteral("--to"), QStringLiteral("32768")}, "--to"}}) {
        const toolfixture::Run run = exportRange(kChart, bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String(named))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }

    // The search takes --number, and no other window does; what is no number is a usage error.
    const QString search = QStringLiteral("当せん番号検索");
    const toolfixture::Run found = exportRange(search, {QStringLiteral("--number"), QStringLiteral(" 12 ")});
    ASSERT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_TRUE(found.out.contains("合計")) << "a number: the total row";
    for (const auto& [window, number] :
         {std::pair{search, QStringLiteral("1234")}, std::pair{search, QStringLiteral("")},
          std::pair{kChart, QStringLiteral("123")}}) {
        const toolfixture::Run run = exportRange(window, {QStringLiteral("--number"), number});
        EXPECT_EQ(run.exitCode, 2) << number.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String("--number"))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

} // namespace
