// バラツキ分析: the dot chart of the digits drawn.

#include "grid/colors.h"
#include "analysis/dispersion.h"
#include "data/history_csv.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

class Dispersion : public ::testing::Test {
protected:
    void compute()
    {
        g.setGridLinesShown(false);
        バラツキ分析().mainStep(g, history);
    }
    // The digits marked in a row, as "059".
    QString marked(int row) const
    {
        QString digits;
        for (int d = 0; d <= 9; ++d) {
            if (g.text(d + 2, row) == kMarkText && g.foreColor(d + 2, row) == colors::kMark)
                digits += QString::number(d);
        }
        return digits;
    }
    QString texts(int row) const
    {
        QString s;
        for (int c = 1; c <= 12; ++c)
            s += g.text(c, row);
        return s;
    }
    Grid g;
    History history;
};

TEST_F(Dispersion, OneMarkPerDigitDrawnAndCaptionsAtHeadAndFoot)
{
    history = fixture::history({{1, 4, 4, 4}, {2, 0, 5, -1}, {3, 0, 5, 9}, {4}});
    compute();
    ASSERT_EQ(g.maxRows(), 6);
    EXPECT_EQ(marked(3), "4") << "a digit drawn three times is one mark";
    EXPECT_EQ(texts(3), "1●1");
    EXPECT_EQ(marked(4), "059") << "the incomplete draw 2 leaves no empty row";
    EXPECT_EQ(texts(5), "");
    EXPECT_EQ(texts(2), "回0123456789回");
    EXPECT_EQ(texts(6), "回0123456789回");
    EXPECT_TRUE(g.backColor(4, 6) == colors::kLabelCyan && g.foreColor(4, 6) == colors::kBlue);
    for (int r : {1, 4, 6})
        EXPECT_TRUE(g.backColor(12, r) == colors::kPaleYellow && g.foreColor(12, r) == colors::kRed) << r;
}

TEST_F(Dispersion, TitleBandAndLines)
{
    history = fixture::history({});
    compute();
    ASSERT_EQ(g.maxRows(), 3);
    EXPECT_EQ(g.text(6, 1), "    当  選  数　字");
    EXPECT_EQ(g.foreColor(6, 1), colors::kBlue);
    EXPECT_EQ(g.backColor(2, 1), colors::kLabelCyan);
    EXPECT_EQ(texts(3), "回0123456789回");
    const CellBorder blue{BorderStyle::Solid, colors::kLineBlue}, none{};
    EXPECT_EQ(g.border(2, 1, BorderSide::Left), blue);
    EXPECT_EQ(g.border(11, 1, BorderSide::Right), blue);
    EXPECT_EQ(g.border(6, 1, BorderSide::Top), blue);
    EXPECT_EQ(g.border(6, 1, BorderSide::Right), none) << "the band has no inner lines";
    EXPECT_EQ(g.border(1, 1, BorderSide::Right), blue);
    EXPECT_EQ(g.border(1, 1, BorderSide::Left), none);
    EXPECT_EQ(g.border(7, 3, BorderSide::Left), blue);
}

TEST_F(Dispersion, RealHistoryRows)
{
    history = fixture::realHistory();
    compute();
    ASSERT_EQ(g.maxRows(), 7092);
    EXPECT_EQ(marked(3), "19"); // draw 1: 1 9 1
    EXPECT_EQ(marked(4), "89"); // draw 2: 9 8 8
    EXPECT_EQ(marked(7091), "134"); // draw 7089: 4 3 1
    EXPECT_EQ(g.text(12, 7091), "7089");
    EXPECT_EQ(texts(7092), "回0123456789回");
}

} // namespace
