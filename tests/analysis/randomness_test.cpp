// ランダム性の検定: the tail probabilities, Holm's correction, and the table on histories small
// enough to work by hand.

#include "analysis/randomness.h"
#include "grid/colors.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Sheet = RandomnessSheet;

QStringList row(const Grid& g, int r)
{
    QStringList texts;
    for (int c = 1; c <= Sheet::kColCount; ++c)
        texts << g.text(c, r);
    return texts;
}

QList<QStringList> table(const Grid& g)
{
    QList<QStringList> rows;
    for (int r = 1; r <= g.maxRows(); ++r)
        rows << row(g, r);
    return rows;
}

// Q(k/2, y) in closed form: e^-y (1 + y + ... + y^(k/2-1)/(k/2-1)!) for even k; from
// Q(1/2, y) = erfc(sqrt y) by Q(a+1, y) = Q(a, y) + y^a e^-y / Γ(a+1) for odd k.
double closedFormQ(int k, double y)
{
    double q = k % 2 == 0 ? std::exp(-y) : std::erfc(std::sqrt(y));
    for (double a = k % 2 == 0 ? 1 : 0.5; 2 * a < k; a += 1)
        q += std::exp(a * std::log(y) - y - std::lgamma(a + 1));
    return q;
}

TEST(RandomnessNumerics, TailProbabilitiesMatchClosedFormsAndTables)
{
    // Both ways of computing the tail (series below df/2 + 1, continued fraction above) against
    // the closed forms, for every df the sheet can use.
    for (int df = 1; df <= 27; ++df) {
        for (double x : {0.01, 0.5, 1.0, 2.9, 3.0, 3.1, double(df), df + 1.9, df + 2.1, 2.0 * df, 40.0, 90.0, 300.0}) {
            const double expected = closedFormQ(df, x / 2);
            EXPECT_NEAR(randomness::chiSquareUpperTail(x, df), expected, 1e-12 + 1e-10 * expected)
                << "df " << df << " x " << x;
        }
    }
    EXPECT_EQ(randomness::chiSquareUpperTail(0, 9), 1.0);
    // The 5 % points of the tables.
    EXPECT_NEAR(randomness::chiSquareUpperTail(16.919, 9), 0.05, 1e-5);
    EXPECT_NEAR(randomness::chiSquareUpperTail(5.991, 2), 0.05, 2e-5);
    EXPECT_NEAR(randomness::chiSquareUpperTail(3.841, 1), 0.05, 2e-5);
    EXPECT_NEAR(randomness::normalTwoSided(1.96), 0.0500, 1e-5);
    EXPECT_NEAR(randomness::normalTwoSided(-2.576), 0.0100, 1e-5);
    EXPECT_EQ(randomness::normalTwoSided(0), 1.0);
}

TEST(RandomnessNumerics, HolmStepsDownAndNeverDecreases)
{
    // Sorted 0.005, 0.01, 0.03, 0.04 times 4, 3, 2, 1: 0.02, 0.03, 0.06, 0.04 -> the last is
    // raised to 0.06 so the order is kept.
    const std::vector<double> adjusted = randomness::holm({0.01, 0.04, 0.03, 0.005});
    ASSERT_EQ(adjusted.size(), 4u);
    const double expected[4] = {0.03, 0.06, 0.06, 0.02};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(adjusted[i], expected[i], 1e-15) << i;
    EXPECT_EQ(randomness::holm({0.7, 0.6}), std::vector<double>({1.0, 1.0})) << "2 x 0.6 is capped at 1";
    EXPECT_TRUE(randomness::holm({}).empty());
}

// Ten draws, worked by hand:
//  第1数字 4 1 7 0 1 9 3 5 8 6: 1 twice, 2 never -> (1 + 1) / 1 = 2.00; 第2数字 likewise 2.00.
//  第3数字 6 3 9 1 1 2 5 7 2 9: 0, 4, 8 never; 1, 2, 9 twice -> 6.00.
//  All thirty: counts 3 5 3 3 2 3 3 2 2 4 against 3 -> 8 / 3 = 2.67.
//  7 singles, 2 pairs (001, 992), 1 triple (111) against 7.2, 2.7, 0.1: 8.29, p = e^-4.14 = 0.0159.
//  Sums 15 6 24 1 3 20 12 18 10 18: five low, five high, 5 and 5 expected in 0-13 / 14-27: 0.00.
//  引っ張り: 001->111 and 345->567 of nine pairs; after six singles, two pairs and a triple
//  Σp = 6(.657) + 2(.488) + .271 = 5.189, Σp(1-p) = 2.049377: z = -3.189 / 1.43156 = -2.23.
//  Runs H L H L L H L H L H: 9 (the first draw starts a run), mean 2·5·5/10 + 1 = 6, variance
//  2000/900: z = 2.01, p = 0.0442.
//  Holm over eight: 8 x 0.0159 = 0.1269, 7 x 0.0259 = 0.1813, 6 x 0.0442 = 0.2650; the rest
//  reach 1. Three tests below 0.05 on their own, none after the correction.
const History& tenDraws()
{
    static const History history = fixture::history({{1, 4, 5, 6},
                                                     {2, 1, 2, 3},
                                                     {3, 7, 8, 9},
                                                     {4, 0, 0, 1},
                                                     {5, 1, 1, 1},
                                                     {6, 9, 9, 2},
                                                     {7, 3, 4, 5},
                                                     {8, 5, 6, 7},
                                                     {9, 8, 0, 2},
                                                     {10, 6, 3, 9}});
    return history;
}

TEST(RandomnessSheet, TenDrawsWorkedByHand)
{
    Sheet sheet;
    sheet.compute(tenDraws(), Sheet::defaultRange(tenDraws()));
    const Grid& g = sheet.grid();
    const QList<QStringList> expected = {
        {"検定", "対象回数", "統計量", "自由度", "p値", "補正後p値", "判定"},
        {"第1数字の出現頻度", "10", "2.00", "9", "0.9915", "1.0000", "偏りなし"},
        {"第2数字の出現頻度", "10", "2.00", "9", "0.9915", "1.0000", "偏りなし"},
        {"第3数字の出現頻度", "10", "6.00", "9", "0.7399", "1.0000", "偏りなし"},
        {"全数字の出現頻度", "10", "2.67", "9", "0.9761", "1.0000", "偏りなし"},
        {"シングル・ダブル・トリプル", "10", "8.29", "2", "0.0159", "0.1269", "偏りなし"},
        {"数字合計の分布", "10", "0.00", "1", "1.0000", "1.0000", "偏りなし"},
        {"引っ張り", "9", "-2.23", "–", "0.0259", "0.1813", "偏りなし"},
        {"数字合計の連", "10", "2.01", "–", "0.0442", "0.2650", "偏りなし"},
    };
    EXPECT_EQ(table(g), expected);

    // The whole table in view, headings pink, every cell boxed, names to the left.
    EXPECT_EQ(g.maxCols(), 7);
    EXPECT_EQ(g.visibleCols(), 7);
    EXPECT_EQ(g.visibleRows(), 9);
    EXPECT_EQ(g.scrollBars(), ScrollBars::None);
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(g.backColor(c, 1), colors::kHeadingBack) << c;
        for (int r = 1; r <= 9; ++r) {
            for (BorderSide side : {BorderSide::Left, BorderSide::Right, BorderSide::Top, BorderSide::Bottom})
                EXPECT_EQ(g.border(c, r, side).style, BorderStyle::Solid) << c << "," << r;
            EXPECT_EQ(g.hAlign(c, r), c == 1 && r > 1 ? HAlign::Left : HAlign::Center) << c << "," << r;
        }
    }
    EXPECT_EQ(g.backColor(7, 2), colors::kWhite);
    EXPECT_EQ(g.foreColor(7, 2), colors::kBlack);

    const Sheet::Chart pattern = sheet.chart(4);
    EXPECT_EQ(pattern.title, "シングル・ダブル・トリプル");
    EXPECT_EQ(pattern.labels, QStringList({"シングル", "ダブル", "トリプル"}));
    EXPECT_EQ(pattern.observed, QVector<double>({7, 2, 1}));
    ASSERT_EQ(pattern.expected.size(), 3);
    EXPECT_NEAR(pattern.expected[0] + pattern.expected[1] + pattern.expected[2], 10, 1e-12);
    EXPECT_NEAR(pattern.expected[2], 0.1, 1e-12);
    const Sheet::Chart pull = sheet.chart(6);
    EXPECT_EQ(pull.labels, QStringList({"引っ張りあり", "引っ張りなし"}));
    EXPECT_EQ(pull.observed, QVector<double>({2, 7}));
    ASSERT_EQ(pull.expected.size(), 2);
    EXPECT_NEAR(pull.expected[0], 5.189, 1e-12);
    EXPECT_NEAR(pull.expected[1], 3.811, 1e-12);
    const Sheet::Chart runs = sheet.chart(7);
    EXPECT_EQ(runs.labels, QStringList({"連の数"}));
    EXPECT_EQ(runs.observed, QVector<double>({9}));
    EXPECT_EQ(runs.expected, QVector<double>({6}));
    EXPECT_TRUE(sheet.chart(8).labels.isEmpty());
}

TEST(RandomnessSheet, FiftyTriplesOfOneAreSuspect)
{
    QVector<DrawRecord> rows;
    for (int n = 1; n <= 50; ++n)
        rows << fixture::record({n, 1, 1, 1});
    const History history = History::fromRows(rows);
    Sheet sheet;
    sheet.compute(history, Sheet::defaultRange(history));
    const Grid& g = sheet.grid();
    // 50 ones at one position against 5 each: 9 x 25 / 5 + 45^2 / 5 = 450.
    EXPECT_EQ(row(g, 2), QStringList({"第1数字の出現頻度", "50", "450.00", "9", "<0.0001", "<0.0001", "偏りの疑い"}));
    // Every draw takes a digit of the one before: 49 against 49 x 0.271 = 13.279, z = 11.48.
    EXPECT_EQ(row(g, 8), QStringList({"引っ張り", "49", "11.48", "–", "<0.0001", "<0.0001", "偏りの疑い"}));
    // Every sum is 3, low: there is no run to count.
    EXPECT_EQ(row(g, 9), QStringList({"数字合計の連", "50", "–", "–", "–", "–", "判定できません"}));
    for (int r = 2; r <= 8; ++r) {
        EXPECT_EQ(g.text(7, r), "偏りの疑い") << r;
        EXPECT_EQ(g.backColor(7, r), Sheet::kSuspectBack) << r;
        EXPECT_EQ(g.foreColor(7, r), Sheet::kSuspectFore) << r;
    }
    EXPECT_EQ(g.foreColor(7, 9), Sheet::kUndecidedFore);
    EXPECT_EQ(g.backColor(7, 9), colors::kWhite);
    // The sums walked up to an expected 5 (50 x triples >= 5000): 0-7 holds 120 of 1000 triples.
    EXPECT_EQ(sheet.chart(5).labels, QStringList({"0-7", "8-9", "10-11", "12-13", "14-15", "16-17", "18-19", "20-27"}));
    EXPECT_EQ(sheet.chart(5).observed, QVector<double>({50, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(RandomnessSheet, TestsWithTooFewDrawsAreLeftOutOfTheCorrection)
{
    Sheet sheet;
    const History one = fixture::history({{1, 1, 2, 3}});
    sheet.compute(one, Sheet::defaultRange(one));
    for (int t = 0; t < Sheet::kTestCount; ++t) {
        EXPECT_EQ(row(sheet.grid(), 2 + t),
                  QStringList({Sheet::testNames()[t], t == 6 ? "0" : "1", "–", "–", "–", "–", "判定できません"}));
        EXPECT_TRUE(sheet.chart(t).labels.isEmpty() && sheet.chart(t).observed.isEmpty()
                    && sheet.chart(t).expected.isEmpty())
            << t;
    }

    // Two triples of 1: tests 1 to 5 are computed; one sum bin, one pair, and two lows leave the
    // other three out. 第1数字: 9 x 0.2 + 1.8^2 / 0.2 = 18, p = Q(4.5, 9) = 0.035174; Holm over
    // five ranks it third (after 198 and 54), 3 x p = 0.1055 - over eight it would be 6 x p.
    const History two = fixture::history({{1, 1, 1, 1}, {2, 1, 1, 1}});
    sheet.compute(two, Sheet::defaultRange(two));
    const QList<QStringList> expected = {
        {"第1数字の出現頻度", "2", "18.00", "9", "0.0352", "0.1055", "偏りなし"},
        {"第2数字の出現頻度", "2", "18.00", "9", "0.0352", "0.1055", "偏りなし"},
        {"第3数字の出現頻度", "2", "18.00", "9", "0.0352", "0.1055", "偏りなし"},
        {"全数字の出現頻度", "2", "54.00", "9", "<0.0001", "<0.0001", "偏りの疑い"},
        {"シングル・ダブル・トリプル", "2", "198.00", "2", "<0.0001", "<0.0001", "偏りの疑い"},
        {"数字合計の分布", "2", "–", "–", "–", "–", "判定できません"},
        {"引っ張り", "1", "–", "–", "–", "–", "判定できません"},
        {"数字合計の連", "2", "–", "–", "–", "–", "判定できません"},
    };
    EXPECT_EQ(table(sheet.grid()).mid(1), expected);
    EXPECT_NEAR(sheet.results()[0].adjustedP, 3 * closedFormQ(9, 9), 1e-12);

    // Nothing in the range at all.
    sheet.compute(two, DrawRange{5, 9});
    EXPECT_EQ(row(sheet.grid(), 9), QStringList({"数字合計の連", "0", "–", "–", "–", "–", "判定できません"}));
}

TEST(RandomnessSheet, SumBinsCloseWhenTheExpectedCountReachesFiveExactly)
{
    const auto binsOf = [](int draws) {
        QVector<DrawRecord> rows;
        for (int n = 1; n <= draws; ++n)
            rows << fixture::record({n, n % 10, n / 10 % 10, n / 100 % 10});
        const History history = History::fromRows(rows);
        Sheet sheet;
        sheet.compute(history, Sheet::defaultRange(history));
        return sheet.chart(5);
    };
    // Sums 0-3 hold 20 triples: 250 x 20 = 5000 closes the first bin, 249 x 20 does not. At the
    // top 23-24 (25 triples) closes, and 25-27 (10 triples, under 5 expected) joins it.
    QStringList middle;
    for (int s = 6; s <= 22; ++s)
        middle << QString::number(s);
    const Sheet::Chart at250 = binsOf(250);
    EXPECT_EQ(at250.labels, QStringList({"0-3", "4-5"}) + middle + QStringList({"23-27"}));
    EXPECT_EQ(at250.expected.first(), 5.0);
    EXPECT_EQ(binsOf(249).labels, QStringList({"0-4", "5"}) + middle + QStringList({"23-27"}));
    // Ten draws make two bins of exactly 5; nine, one bin, and no test.
    EXPECT_EQ(binsOf(10).labels, QStringList({"0-13", "14-27"}));
    EXPECT_TRUE(binsOf(9).labels.isEmpty());
}

TEST(RandomnessSheet, OnlyCompleteDrawsInsideTheRangeAreUsed)
{
    // The ten draws again, numbered 11 to 25 with gaps and unfinished draws among them, a
    // complete draw just before the range (it would add a pair to 引っ張り) and after it.
    const History mixed = fixture::history({{9, 1, 2, 4},
                                            {10, 1, -1, -1},
                                            {11, 4, 5, 6},
                                            {12, 1, 2, 3},
                                            {13, 7, 8, 9},
                                            {14, 0, 0, -1},
                                            {15, 0, 0, 1},
                                            {16, 1, 1, 1},
                                            {17, 9, 9, 2},
                                            {18},
                                            {19, 3, 4, 5},
                                            {20, 5, 6, 7},
                                            {22, 8, 0, 2},
                                            {25, 6, 3, 9},
                                            {26, -1, 5, 5},
                                            {27, 0, 0, 0}});
    Sheet reference;
    reference.compute(tenDraws(), Sheet::defaultRange(tenDraws()));
    Sheet sheet;
    sheet.compute(mixed, DrawRange{10, 26});
    EXPECT_EQ(table(sheet.grid()), table(reference.grid()));
    // 全期間 tests what the first to the last complete draw tests.
    sheet.compute(mixed, RangeChoice::all().resolve(mixed));
    Sheet whole;
    whole.compute(mixed, Sheet::defaultRange(mixed));
    EXPECT_EQ(table(sheet.grid()), table(whole.grid()));
    EXPECT_EQ(Sheet::defaultRange(mixed), (DrawRange{9, 27}));
    EXPECT_TRUE(Sheet::defaultRange(fixture::history({{1, 1, 2, -1}})).isEmpty());
    EXPECT_TRUE(Sheet::defaultRange(History()).isEmpty());
}

} // namespace
