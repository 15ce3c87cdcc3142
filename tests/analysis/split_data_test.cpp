// 分割3データ分析, 分割5データ分析 and 分割10データ分析: marks in three strips of class-coloured columns.

#include "grid/colors.h"
#include "analysis/split_data.h"
#include "support/history_builder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace colors;

class SplitData : public ::testing::Test {
protected:
    template <typename Window> Grid compute() const
    {
        Grid g;
        Window().mainStep(g, history);
        return g;
    }
    History history;
    static QList<int> markedCols(const Grid& g, int row)
    {
        QList<int> cols;
        for (int c = 1; c <= g.maxCols(); ++c) {
            if (g.text(c, row) == kMarkText)
                cols << c;
        }
        return cols;
    }
    static QStringList texts(const Grid& g, int row, QList<int> cols)
    {
        QStringList t;
        for (int c : cols)
            t << g.text(c, row);
        return t;
    }
};

TEST_F(SplitData, MarksStandOnTheirClassBackgrounds)
{
    // Draw 2 twice and an incomplete draw between: three consecutive rows, none lost. The sheet
    // keeps a row for each of the four records up to the last complete draw: the last stays empty.
    history = fixture::history({{1, 0, 0, 0}, {2, 9, 9, -1}, {2, 9, 9, 9}, {2, 3, 3, 3}});
    const Grid windows[3] = {compute<分割3データ分析>(), compute<分割5データ分析>(), compute<分割10データ分析>()};
    // Per window, the backgrounds of 0, 9 and 3.
    const GridColor backs[3][3]
        = {{kPaleCyan, kPaleGreen, kWhite}, {kPaleCyan, kPaleMagenta, kWhite}, {kPaleCyan, kWhite, kPaleBlue}};
    for (int w = 0; w < 3; ++w) {
        const Grid& g = windows[w];
        ASSERT_EQ(g.maxRows(), 7);
        EXPECT_EQ(markedCols(g, 4), (QList<int>{2, 12, 22}));
        EXPECT_EQ(markedCols(g, 5), (QList<int>{11, 21, 31}));
        EXPECT_EQ(markedCols(g, 6), (QList<int>{5, 15, 25}));
        EXPECT_EQ(texts(g, 6, {1, 32}), (QStringList{"2", "2"}));
        EXPECT_TRUE(markedCols(g, 7).isEmpty());
        for (int base : {2, 12, 22}) {
            EXPECT_EQ(g.backColor(base, 4), backs[w][0]) << "window " << w << " strip " << base;
            EXPECT_EQ(g.backColor(base + 9, 5), backs[w][1]) << "window " << w << " strip " << base;
            EXPECT_EQ(g.backColor(base + 3, 6), backs[w][2]) << "window " << w << " strip " << base;
        }
    }
}

TEST_F(SplitData, HeadingsOfEachPartition)
{
    history = fixture::history({});
    const Grid g3 = compute<分割3データ分析>();
    ASSERT_EQ(g3.maxRows(), 3);
    EXPECT_EQ(texts(g3, 1, {2, 22}),
              (QStringList{"　　　　当選数字(第1数字)　　　　", "　　　　当選数字(第3数字)　　　　"}));
    EXPECT_EQ(texts(g3, 2, {12, 15, 18}), (QStringList{"　　 Ａ ", "　　 Ｂ ", "　　　 Ｃ 　　"}));
    EXPECT_EQ(texts(g3, 3, {1, 2, 31, 32}), (QStringList{"回数", "0", "9", "回数"}));
    EXPECT_EQ(g3.backColor(1, 1), kPaleYellow) << "the corners of row 1 are not pink";
    EXPECT_EQ(g3.backColor(32, 1), kPaleYellow);
    EXPECT_EQ(g3.foreColor(12, 3), kBlack) << "only the first strip's labels are blue";
    EXPECT_EQ(g3.border(4, 2, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g3.border(10, 2, BorderSide::Right).style, BorderStyle::None);

    const Grid g5 = compute<分割5データ分析>();
    EXPECT_EQ(texts(g5, 2, {22, 24, 26, 28, 30}), (QStringList{"　Ａ ", "　Ｂ ", "　Ｃ ", "　Ｄ ", "　Ｅ "}));
    EXPECT_EQ(g5.border(3, 2, BorderSide::Right).style, BorderStyle::Solid);
    EXPECT_EQ(g5.foreColor(12, 3), kBlack);

    const Grid g10 = compute<分割10データ分析>();
    EXPECT_EQ(texts(g10, 2, {12, 16, 21}), (QStringList{"Ａ", "Ｅ", "Ｊ"}));
    EXPECT_EQ(g10.foreColor(31, 3), kBlue);
}

TEST_F(SplitData, RealHistoryRows)
{
    history = fixture::realHistory();
    const Grid g = compute<分割10データ分析>();
    ASSERT_EQ(g.maxRows(), 7092);
    EXPECT_EQ(markedCols(g, 4), (QList<int>{3, 21, 23}));
    EXPECT_EQ(markedCols(g, 3005), (QList<int>{11, 16, 29}));
    EXPECT_EQ(markedCols(g, 7092), (QList<int>{6, 15, 23}));
    EXPECT_EQ(texts(g, 7092, {1, 32}), (QStringList{"7089", "7089"}));
}

} // namespace
