// Exporting the prediction window: its four grids as JSON and CSV, computed with the flags of
// the settings file in the current directory, in-process and from the built program.

#include "support/prediction_test_support.h"
#include "tool_commands.h"
#include "tools/tool_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QFileInfo>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPrediction = QStringLiteral("一発ズバリン");
const QString kSettings = QStringLiteral("ナンバーズ3ズバリン.ini");

// The hand-worked history of the prediction tests: digit 8 everywhere but for planted digits.
const QByteArray kHistory = toolfixture::kHeader
    + "1,5,6,7\n2,8,8,8\n3,8,8,8\n4,3,8,8\n5,8,8,8\n6,8,8,8\n7,8,8,8\n8,8,5,8\n9,8,8,8\n10,6,8,8\n"
      "11,8,8,8\n12,7,8,8\n13,8,8,8\n14,8,8,8\n15,8,8,8\n16,3,8,8\n17,8,8,5\n18,8,8,8\n19,8,8,8\n20,,,\n";

// With one analysis reflected. The title and the labels of the 7- and 9-draw methods, padded in
// the window, come without their blanks.
const QByteArray kCsvOneReflected = ",予 想 数 字,,\r\n"
                                    "7回周期法,,5,\r\n"
                                    "9回周期法,6,,5\r\n"
                                    "11回周期法,7,,\r\n"
                                    "12回周期法,3,,\r\n"
                                    "\r\n"
                                    ",予 想 数 字,,,,\r\n"
                                    ",9,7,8,3,2\r\n"
                                    "消去法,6,5,,,\r\n"
                                    ",,,,,\r\n"
                                    "\r\n"
                                    ",予 想 数 字,,,,,\r\n"
                                    "連発予想,6,7,3,,,\r\n"
                                    ",,,,,,\r\n"
                                    "\r\n"
                                    ",予 想 数 字,,,,,,\r\n"
                                    "１発予想,7,6,3,,,,\r\n";

class PredictionExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolfixture::writeFile(cwd.filePath(QStringLiteral("h.csv")), kHistory);
        ASSERT_TRUE(tool::importHistory(db, cwd.filePath(QStringLiteral("h.csv"))).ok);
        toolfixture::writeFile(cwd.filePath(kSettings), QStringLiteral("引っ張り分析Opt=True\r\n").toUtf8());
    }

    fixture::InTemporaryDirectory cwd;
    QString db = cwd.filePath(QStringLiteral("n.db"));
};

TEST_F(PredictionExport, TheProgramWritesTheFourGridsWithTheFlagsOfItsWorkingDirectory)
{
    QProcess process;
    process.setWorkingDirectory(cwd.filePath(QString()));
    process.start(QStringLiteral(N3_TOOL_PATH),
                  {QStringLiteral("export"), QStringLiteral("--db"), db, QStringLiteral("--window"), kPrediction});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), kCsvOneReflected);
    EXPECT_EQ(QString::fromUtf8(toolfixture::runProgram({QStringLiteral("windows")}).out).split(u'\n').first(),
              kPrediction);

    // Without the file nothing is reflected: the elimination rules read the latest draws.
    ASSERT_TRUE(QFile::remove(cwd.filePath(kSettings)));
    const QByteArray none = tool::exportWindow(db, kPrediction, tool::ExportFormat::Csv).data;
    EXPECT_TRUE(none.contains(",9,7,8,1,4\r\n消去法,3,6,5,,\r\n")) << none.toStdString();
}

// Run from a folder with settings of its own, the companion takes those of the data folder, as
// the program run with --data-dir does, and with --db alone those beside the database.
TEST_F(PredictionExport, TheDataFolderAndTheDatabasesFolderBringTheirOwnSettings)
{
    QTemporaryDir data;
    const QString dataDb = data.filePath(QStringLiteral("Numbers3Zubarin.db"));
    ASSERT_TRUE(tool::importHistory(dataDb, cwd.filePath(QStringLiteral("h.csv"))).ok);
    toolfixture::writeFile(data.filePath(kSettings), "引っ張り分析Opt=False\r\n");
    const QByteArray noneReflected = ",9,7,8,1,4\r\n消去法,3,6,5,,\r\n";
    for (const QStringList& where :
         {QStringList{QStringLiteral("--data-dir"), data.path()}, QStringList{QStringLiteral("--db"), dataDb}}) {
        SCOPED_TRACE(where.join(u' ').toStdString());
        const toolfixture::Run run = toolfixture::runProgram(
            QStringList{QStringLiteral("export"), QStringLiteral("--window"), kPrediction} + where);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(noneReflected)) << run.out.toStdString();
    }
    // A folder that is not there is named, not made; both ways at once is one too many.
    const QString missing = data.filePath(QStringLiteral("nested/missing"));
    for (const QStringList& args :
         {QStringList{QStringLiteral("export"), QStringLiteral("--window"), kPrediction, QStringLiteral("--data-dir"),
                      missing},
          QStringList{QStringLiteral("import"), QStringLiteral("--csv"), cwd.filePath(QStringLiteral("h.csv")),
                      QStringLiteral("--data-dir"), missing},
          QStringList{QStringLiteral("export"), QStringLiteral("--window"), kPrediction, QStringLiteral("--data-dir"),
                      data.path(), QStringLiteral("--db"), dataDb}}) {
        const toolfixture::Run run = toolfixture::runProgram(args);
        EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(missing));
    }
    const toolfixture::Run created = toolfixture::runProgram(
        {QStringLiteral("import"), QStringLiteral("--csv"), cwd.filePath(QStringLiteral("h.csv")),
         QStringLiteral("--data-dir"), missing, QStringLiteral("--create")});
    EXPECT_EQ(created.exitCode, 0) << created.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(missing + QStringLiteral("/Numbers3Zubarin.db")));
}

TEST_F(PredictionExport, JsonNamesTheWindowAndHoldsFourGrids)
{
    const tool::ExportResult result = tool::exportWindow(db, kPrediction, tool::ExportFormat::Json);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.data.startsWith(R"({"window": "一発ズバリン", "grids": [)"
                                       "\n"
                                       R"({"rows": 5, "cols": 4, "cells": [)"));
    const QJsonObject root = QJsonDocument::fromJson(result.data).object();
    EXPECT_EQ(root.keys(), (QStringList{"grids", "window"}));
    const QJsonArray grids = root[QStringLiteral("grids")].toArray();
    ASSERT_EQ(grids.size(), 4);
    const QJsonObject last = grids[3].toObject();
    EXPECT_EQ(last.keys(), (QStringList{"cells", "cols", "rows"}));
    EXPECT_EQ(QSize(last[QStringLiteral("cols")].toInt(), last[QStringLiteral("rows")].toInt()), QSize(8, 2));
    const QJsonObject heading = last[QStringLiteral("cells")][0][1].toObject();
    EXPECT_EQ(heading[QStringLiteral("back")].toString() + heading[QStringLiteral("fore")].toString(),
              QStringLiteral("#FFC8C8#0000FF"));
    EXPECT_EQ(last[QStringLiteral("cells")][1][1][QStringLiteral("text")].toString(), QStringLiteral("7"));
}

} // namespace
