// The companion's PDF: the pages of 出現間隔分析 over the first draws of the real history, read
// back as text, and the command lines it refuses.

#include "tool_commands.h"
#include "tools/tool_test_support.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

using toolfixture::runProgram;

const QString kWindow = QStringLiteral("出現間隔分析");

class PdfExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The first 150 draws of the shipped history, dates included.
        QFile shipped(QStringLiteral(N3_HISTORY_CSV));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = shipped.readAll().split('\n');
        ASSERT_GT(lines.size(), 151);
        toolfixture::writeFile(csv, lines.mid(0, 151).join('\n') + '\n');
        ASSERT_TRUE(lines[0].endsWith("抽せん日") && lines[150].startsWith("150,")) << lines[150].toStdString();
        lastDate = QString::fromUtf8(lines[150].split(',').last()).trimmed().replace(u'/', u'-');
        ASSERT_TRUE(tool::importHistory(db, csv).ok);
    }

    QTemporaryDir dir;
    QString db = dir.filePath(QStringLiteral("n.db")), csv = dir.filePath(QStringLiteral("h.csv")),
            pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString lastDate;
};

TEST_F(PdfExport, WritesPagesWhoseTextHoldsTheCaptionAndTheLastDraw)
{
    // Run outside a desktop session, without a runtime folder: it says nothing it need not.
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(N3_TOOL_PATH),
               {QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"), kWindow,
                QStringLiteral("--format"), QStringLiteral("pdf"), QStringLiteral("--out"), pdf});
    ASSERT_TRUE(tool.waitForFinished(30000));
    const QByteArray said = tool.readAllStandardError();
    ASSERT_EQ(tool.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.isEmpty()) << said.toStdString();
    EXPECT_TRUE(tool.readAllStandardOutput().isEmpty());
    const QByteArray bytes = toolfixture::readFile(pdf);
    ASSERT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    ASSERT_EQ(text.exitCode(), 0) << text.readAllStandardError().toStdString();
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(kWindow));
        // The font draws ～ with the glyph of 〜, which text extraction may give back instead.
        EXPECT_TRUE(
            page.contains(QRegularExpression(QStringLiteral("第1回（1994-10-07）[～〜]第150回（%1）").arg(lastDate))))
            << page.toStdString();
    }
    // The last draw's row, with its draw number, closes the last page.
    EXPECT_TRUE(pages.last().contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*150\\s"))));
}

// The prediction's four small grids on one page, each under its title, as the window prints them.
TEST_F(PdfExport, ThePredictionsGridsShareAPageUnderTheirTitles)
{
    const toolfixture::Run run
        = runProgram({QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"),
                      QStringLiteral("一発ズバリン"), QStringLiteral("--format"), QStringLiteral("pdf"),
                      QStringLiteral("--out"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 1);
    qsizetype at = 0;
    for (const QString& title : {QStringLiteral("●周期法による予想"), QStringLiteral("●消去法による予想"),
                                 QStringLiteral("●連発ズバリン予想"), QStringLiteral("●一発ズバリン予想")}) {
        const qsizetype found = pages.first().indexOf(title, at);
        EXPECT_GE(found, at) << title.toStdString();
        at = std::max(at, found);
    }
}

TEST_F(PdfExport, GoesOnlyIntoAFile)
{
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(tool::runTool({QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"), kWindow,
                             QStringLiteral("--format=pdf")},
                            out, err),
              tool::kExitUsage);
    EXPECT_TRUE(outText.isEmpty());
    EXPECT_TRUE(errText.contains(QStringLiteral("--out"))) << errText.toStdString();
    // Without a GUI application (as here) there are no fonts to lay pages out in: a failure, not a crash.
    const tool::ExportResult result = tool::exportWindow(db, kWindow, tool::ExportFormat::Pdf);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.data.isEmpty());
}

} // namespace
