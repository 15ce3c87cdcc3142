// The windows that give every draw a row of its own, over a history that repeats a draw number
// (as a database made outside the program can hold): every complete draw keeps its row, the last
// one included, and the foot headings stand below it.

#include "support/catalogue_support.h"
#include "support/history_builder.h"

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

} // namespace
