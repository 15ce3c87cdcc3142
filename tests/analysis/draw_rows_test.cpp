// The windows that give every draw a row of its own, over a history that repeats a draw number
// (as a database made outside the program can hold): every complete draw keeps its row, the last
// one included, and the foot headings stand below it. Each sheet says which rows list which
// draw, for the view that opens at the latest one and goes to a draw by its number.

#include "support/catalogue_support.h"
#include "support/history_builder.h"

#include <QPoint>
#include <gtest/gtest.h>

namespace {

struct DrawRowsWindow {
    const char* form;
    int firstDataRow; // the row of the first draw
    int footRows; // heading rows below the last draw
};

TEST(DrawRows, ARepeatedDrawNumberKeepsEveryDrawAboveTheFoot)
{
    const History history = fixture::history({{1, 1, 2, 3}, {2, 4, 5, 6}, {2, 7, 8, 9}, {3, 0, 1, 2}});
    const DrawRowsWindow windows[] = {
        {"数字合計分析", 2, 0},
        {"引っ張り分析", 2, 0},
        {"分割5傾向分析", 2, 1},
        {"出現回数分析", 3, 0},
        {"出現間隔分析", 3, 2},
        {"数字間隔分析", 3, 2},
        {"バラツキ分析", 3, 1},
        {"連番飛び石分析", 2, 0},
        {"偶数奇数の組合せパターン分析", 2, 0},
        {"低数字高数字の組合せパターン分析", 2, 0},
        {"分割3データ分析", 4, 0},
        {"分割5データ分析", 4, 0},
        {"分割10データ分析", 4, 0},
    };
    for (const DrawRowsWindow& w : windows) {
        SCOPED_TRACE(w.form);
        const auto g = cataloguetest::analysisGrid(QString::fromUtf8(w.form), history);
        ASSERT_TRUE(g);
        const int lastDrawRow = w.firstDataRow + history.recordCount() - 1;
        QStringList shown;
        for (int r = w.firstDataRow; r <= lastDrawRow; ++r)
            shown << g->text(1, r);
        EXPECT_EQ(shown.join(u' ').toStdString(), "1 2 2 3");
        EXPECT_EQ(g->maxRows(), lastDrawRow + w.footRows) << "nothing but the foot below the last draw";
        // The foot repeats the heading row right above the first draw.
        if (w.footRows > 0) {
            const std::string heading = g->text(1, w.firstDataRow - 1).toStdString();
            EXPECT_FALSE(heading.empty());
            EXPECT_EQ(g->text(1, lastDrawRow + 1).toStdString(), heading);
        }
    }
}

TEST(DrawRows, EachSheetListsTheRowOfEveryCompleteDrawAndNoOther)
{
    // Draw 3 is not drawn yet; draw 6 does not exist.
    const History history
        = fixture::history({{1, 1, 2, 3}, {2, 4, 5, 6}, {3}, {4, 7, 8, 9}, {5, 0, 1, 2}, {7, 3, 3, 3}});
    int listing = 0;
    for (const catalogue::WindowRecord* record : cataloguetest::analyses()) {
        SCOPED_TRACE(record->form.toStdString());
        // Every grid of a window of several.
        const auto sheets = catalogue::computeSheets(*record, history);
        for (const Grid* g : sheets->grids()) {
            const DrawRowIndex& rows = g->drawRows();
            if (rows.isEmpty())
                continue;
            ++listing;
            QStringList listed;
            for (int r = 1; r <= g->maxRows(); ++r) {
                if (const int n = rows.drawAt(r)) {
                    EXPECT_EQ(g->text(1, r), QString::number(n)) << "row " << r;
                    listed << QString::number(n);
                }
            }
            EXPECT_EQ(listed.join(u' ').toStdString(), "1 2 4 5 7");
            EXPECT_EQ(rows.rowOf(3), 0);
            EXPECT_EQ(rows.rowOf(6), 0);
            EXPECT_EQ(g->latestRow(), rows.rowOf(7));
        }
    }
    EXPECT_EQ(listing, 14) << "every grid with a row per draw";

    // The windows that list no draws: the chart opens at the lowest mark of the latest draw, the
    // count classes at the top.
    const auto chart = cataloguetest::analysisGrid(QStringLiteral("出現頻度分析"), history);
    EXPECT_TRUE(chart->drawRows().isEmpty());
    EXPECT_EQ(QPoint(chart->latestCol(), chart->latestRow()), QPoint(2 + 3, 2 + 4)) << "digit 3's fourth mark";
    const auto parted = cataloguetest::analysisGrid(QStringLiteral("出現頻度分析"),
                                                    fixture::history({{1, 1, 1, 1}, {2, 7, 5, 9}, {3}}));
    EXPECT_EQ(parted->maxRows(), 2 + 3);
    EXPECT_EQ(QPoint(parted->latestCol(), parted->latestRow()), QPoint(2 + 7, 2 + 1)) << "the first of the lowest";
    EXPECT_EQ(cataloguetest::analysisGrid(QStringLiteral("回数別出現分析"), history)->latestRow(), 0);
    EXPECT_EQ(cataloguetest::analysisGrid(QStringLiteral("出現頻度分析"), History())->latestRow(), 0);
}

} // namespace
