// Exporting an analysis grid: the frequency chart of a small history against cells worked out
// by hand, the exact JSON shape, and CSV quoting of awkward texts.

#include "grid/grid_export.h"
#include "tool_commands.h"
#include "tools/tool_test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kChart = QStringLiteral("出現頻度分析");

QJsonObject parse(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

class Export : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 1: 1-1-5, 2: 0-5-9, 3: not drawn yet. Counts: 0 once, 1 twice, 5 twice, 9 once.
        toolfixture::writeFile(dir.filePath(QStringLiteral("h.csv")),
                               toolfixture::kHeader + "1,1,1,5\n2,0,5,9\n3,,,\n");
        ASSERT_TRUE(tool::importHistory(db, dir.filePath(QStringLiteral("h.csv"))).ok);
    }

    QTemporaryDir dir;
    QString db = dir.filePath(QStringLiteral("n.db"));
};

TEST_F(Export, FrequencyChartAsJsonMatchesHandWorkedCells)
{
    const tool::ExportResult result = tool::exportWindow(db, kChart, tool::ExportFormat::Json);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    // Key order is part of the format, and QJsonObject sorts keys away: check the text for it.
    EXPECT_TRUE(result.data.startsWith(R"({"window": "出現頻度分析", "rows": 4, "cols": 11, "cells": [)"));
    const QRegularExpression cell(R"(\{"text": "[^"]*", "back": "#[0-9A-F]{6}", "fore": "#[0-9A-F]{6}"\})");
    EXPECT_EQ(QString::fromUtf8(result.data).count(cell), 44);

    const QJsonObject root = parse(result.data);
    EXPECT_EQ(root.size(), 4);
    EXPECT_EQ(root[QStringLiteral("window")].toString(), kChart);
    EXPECT_EQ(root[QStringLiteral("rows")].toInt(), 4);
    EXPECT_EQ(root[QStringLiteral("cols")].toInt(), 11);
    const QJsonArray rows = root[QStringLiteral("cells")].toArray();
    ASSERT_EQ(rows.size(), 4);
    auto at = [&rows](int col, int row) -> QString {
        const QJsonObject c = rows.at(row - 1).toArray().at(col - 1).toObject();
        return c[QStringLiteral("text")].toString() + u'|' + c[QStringLiteral("back")].toString() + u'|'
            + c[QStringLiteral("fore")].toString();
    };
    EXPECT_EQ(at(1, 1), QStringLiteral("|#DEFEFD|#0000FF"));
    EXPECT_EQ(at(4, 1), QStringLiteral("|#FFFFC8|#000000"));
    EXPECT_EQ(at(5, 1), QStringLiteral("　　当 選 数 字|#FFFFC8|#FF0000"));
    EXPECT_EQ(at(1, 2), QStringLiteral("出現数|#DEFEFD|#0000FF"));
    EXPECT_EQ(at(1, 4), QStringLiteral("2|#DEFEFD|#0000FF"));
    for (int col = 2; col <= 11; ++col) {
        ASSERT_EQ(rows.at(col % 4).toArray().size(), 11);
        EXPECT_EQ(at(col, 2), QString::number(col - 2) + QStringLiteral("|#FFFFC8|#FF0000"));
        const bool first = col == 2 || col == 3 || col == 7 || col == 11, second = col == 3 || col == 7;
        EXPECT_EQ(at(col, 3), (first ? QStringLiteral("●") : QString()) + QStringLiteral("|#FFFFFF|#3E9EFF")) << col;
        EXPECT_EQ(at(col, 4), (second ? QStringLiteral("●") : QString()) + QStringLiteral("|#FFFFFF|#3E9EFF")) << col;
    }
}

TEST_F(Export, FrequencyChartAsCsvHasOneLinePerRow)
{
    const tool::ExportResult result = tool::exportWindow(db, kChart, tool::ExportFormat::Csv);
    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.data,
              QByteArray(",,,,当 選 数 字,,,,,,\r\n"
                         "出現数,0,1,2,3,4,5,6,7,8,9\r\n"
                         "1,●,●,,,,●,,,,●\r\n"
                         "2,,●,,,,●,,,,\r\n"));
}

TEST(GridExport, QuotesAndEscapesAwkwardTexts)
{
    Grid grid(3, 2);
    const QStringList texts
        = {QStringLiteral("a,b"),   QStringLiteral("say \"hi\""),           QStringLiteral("two\nlines"),
           QStringLiteral(" lead"), QStringLiteral("back\\slash\ttab\x01"), QStringLiteral("plain")};
    for (int i = 0; i < 6; ++i)
        grid.setText(i % 3 + 1, i / 3 + 1, texts.at(i));
    grid.setCellColors(3, 2, rgb(1, 171, 255), rgb(254, 0, 16));

    EXPECT_EQ(gridToCsv(grid),
              QByteArray("\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n"
                         "lead,back\\slash\ttab\x01,plain\r\n"));

    const QByteArray json = gridToJson(grid, QStringLiteral("名前\"x"));
    EXPECT_TRUE(json.contains(R"("back\\slash\ttab\u0001")")) << json.toStdString(); // raw control bytes are not JSON
    const QJsonObject root = parse(json);
    EXPECT_EQ(root[QStringLiteral("window")].toString(), QStringLiteral("名前\"x"));
    const QJsonArray rows = root[QStringLiteral("cells")].toArray();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(rows[i / 3][i % 3][QStringLiteral("text")].toString(), texts.at(i));
    EXPECT_EQ(rows[1][2][QStringLiteral("back")].toString(), QStringLiteral("#01ABFF"));
    EXPECT_EQ(rows[1][2][QStringLiteral("fore")].toString(), QStringLiteral("#FE0010"));
    EXPECT_EQ(parse(gridToJson(Grid(), QStringLiteral("x")))[QStringLiteral("cells")].toArray().size(), 0);
}

// The blanks that place a text in its cell stay in the window and the JSON, not in the CSV a
// spreadsheet reads; blanks inside a text and other white space at its ends stay everywhere.
TEST(GridExport, CsvCellsLoseTheirAlignmentBlanksAndJsonKeepsThem)
{
    struct Case {
        QString text, cell, csv;
    };
    const Case cases[] = {
        {QStringLiteral("        予 想 数 字   "), QStringLiteral("予 想 数 字"), QStringLiteral("予 想 数 字")},
        {QStringLiteral("　　当 選 数 字"), QStringLiteral("当 選 数 字"), QStringLiteral("当 選 数 字")},
        {QStringLiteral(" 　 "), QString(), QString()},
        {QStringLiteral("　12 3　"), QStringLiteral("12 3"), QStringLiteral("12 3")},
        {QStringLiteral("a　b"), QStringLiteral("a　b"), QStringLiteral("a　b")},
        // A tab is no padding, and still quoted: readers trim it from unquoted fields.
        {QStringLiteral(" \tx\t "), QStringLiteral("\tx\t"), QStringLiteral("\"\tx\t\"")},
        {QStringLiteral(" a, b "), QStringLiteral("a, b"), QStringLiteral("\"a, b\"")},
    };
    Grid grid(1, int(std::size(cases)));
    QString csv;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        grid.setText(1, i + 1, cases[i].text);
        EXPECT_EQ(spreadsheetText(cases[i].text), cases[i].cell) << cases[i].text.toStdString();
        csv += cases[i].csv + QStringLiteral("\r\n");
    }
    EXPECT_EQ(QString::fromUtf8(gridToCsv(grid)), csv);
    EXPECT_FALSE(gridToCsv(grid).startsWith(kUtf8Bom)) << "the CSV form itself has no mark";

    const QJsonArray rows = parse(gridToJson(grid, QStringLiteral("x")))[QStringLiteral("cells")].toArray();
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(rows[i][0][QStringLiteral("text")].toString(), cases[i].text);
}

} // namespace
