#include "analysis/randomness.h"

#include "grid/colors.h"
#include "grid/sheet.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>

const QString RandomnessSheet::kSuspect = QStringLiteral("偏りの疑い");
const QString RandomnessSheet::kNoBias = QStringLiteral("偏りなし");
const QString RandomnessSheet::kUndecided = QStringLiteral("判定できません");
const QString RandomnessSheet::kDash = QStringLiteral("\u2013");

namespace {

enum Test { kFirst, kSecond, kThird, kAllDigits, kPattern, kSum, kPull, kSumRuns };

constexpr int kMaxSum = 27;
constexpr int kLowMax = 13; // sums 0–13 are low, 14–27 high

// How many of the 1,000 digit triples have each sum.
constexpr std::array<int, kMaxSum + 1> kTriplesWithSum = [] {
    std::array<int, kMaxSum + 1> count{};
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b)
            for (int c = 0; c < 10; ++c)
                ++count[a + b + c];
    return count;
}();

// The chance that a draw holds none of the k different digits of the draw before it is
// ((10 - k) / 10)^3; in thousandths, by k = 1, 2, 3.
constexpr int kMissPerMille[4] = {0, 729, 512, 343};

double chiSquare(const int* observed, const double* expected, int n)
{
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const double d = observed[i] - expected[i];
        sum += d * d / expected[i];
    }
    return sum;
}

QString fixed(double value, int decimals)
{
    return QString::asprintf(decimals == 2 ? "%.2f" : "%.4f", value);
}

QString pText(double p)
{
    return p < 0.0001 ? QStringLiteral("<0.0001") : fixed(p, 4);
}

QStringList digitLabels()
{
    QStringList labels;
    for (int d = 0; d < 10; ++d)
        labels << QString::number(d);
    return labels;
}

} // namespace

namespace randomness {

double chiSquareUpperTail(double x, int df)
{
    if (!(x > 0))
        return 1;
    const double a = df / 2.0;
    const double y = x / 2.0;
    const double logPrefactor = -y + a * std::log(y) - std::lgamma(a);
    constexpr double kEps = 1e-16;
    constexpr int kMaxTerms = 100000;
    if (y < a + 1) {
        // P(a, y) by its series; Q = 1 - P.
        double ap = a;
        double term = 1 / a;
        double sum = term;
        for (int i = 0; i < kMaxTerms; ++i) {
            ap += 1;
            term *= y / ap;
            sum += term;
            if (std::fabs(term) < std::fabs(sum) * kEps)
                break;
        }
        return std::clamp(1 - sum * std::exp(logPrefactor), 0.0, 1.0);
    }
    // Q(a, y) by its continued fraction (modified Lentz).
    constexpr double kTiny = std::numeric_limits<double>::min() / kEps;
    double b = y + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i <= kMaxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny)
            c = kTiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < kEps)
            break;
    }
    return std::clamp(std::exp(logPrefactor) * h, 0.0, 1.0);
}

double normalTwoSided(double z)
{
    return std::erfc(std::fabs(z) / std::sqrt(2.0));
}

std::vector<double> holm(const std::vector<double>& p)
{
    const std::size_t m = p.size();
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&p](std::size_t x, std::size_t y) { return p[x] < p[y]; });
    std::vector<double> adjusted(m);
    double running = 0;
    for (std::size_t i = 0; i < m; ++i) {
        running = std::max(running, std::min(1.0, double(m - i) * p[order[i]]));
        adjusted[order[i]] = running;
    }
    return adjusted;
}

} // namespace randomness

const std::array<QString, RandomnessSheet::kTestCount>& RandomnessSheet::testNames()
{
    static const std::array<QString, kTestCount> names = {
        QStringLiteral("第1数字の出現頻度"),
        QStringLiteral("第2数字の出現頻度"),
        QStringLiteral("第3数字の出現頻度"),
        QStringLiteral("全数字の出現頻度"),
        QStringLiteral("シングル・ダブル・トリプル"),
        QStringLiteral("数字合計の分布"),
        QStringLiteral("引っ張り"),
        QStringLiteral("数字合計の連"),
    };
    return names;
}

DrawRange RandomnessSheet::defaultRange(const History& history)
{
    DrawRange range{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete)
            continue;
        range.from = std::min(range.from, draw.drawNo);
        range.to = std::max(range.to, draw.drawNo);
    }
    return range.isEmpty() ? DrawRange{} : range;
}

void RandomnessSheet::evaluate(const History& history, DrawRange range)
{
    m_results = {};
    m_charts = {};
    for (int t = 0; t < kTestCount; ++t)
        m_charts[t].title = testNames()[t];

    // One walk over the draws of the range gathers every count the tests need.
    int n = 0;
    int position[3][10] = {};
    int all[10] = {};
    int pattern[3] = {}; // three different digits, a pair, a triple
    int sums[kMaxSum + 1] = {};
    int pairs = 0, pulled = 0;
    int pairsAfter[4] = {}; // pairs whose earlier draw has k different digits
    int lows = 0, runs = 0;
    std::uint16_t previousDigits = 0;
    bool previousLow = false;
    for (const DrawRecord& draw : history.draws()) {
        if (!draw.complete || !range.contains(draw.drawNo))
            continue;
        std::uint16_t digits = 0;
        int sum = 0;
        for (int p = 0; p < 3; ++p) {
            const int d = draw.digits[p];
            ++position[p][d];
            ++all[d];
            digits |= std::uint16_t(1u << d);
            sum += d;
        }
        const int different = std::popcount(digits);
        ++pattern[3 - different];
        ++sums[sum];
        const bool low = sum <= kLowMax;
        lows += low;
        if (n > 0) {
            ++pairs;
            ++pairsAfter[std::popcount(previousDigits)];
            pulled += (digits & previousDigits) != 0;
        }
        if (n == 0 || low != previousLow)
            ++runs;
        previousDigits = digits;
        previousLow = low;
        ++n;
    }

    const auto chiSquareTest
        = [this](Test t, const int* observed, const double* expected, int bins, QStringList labels) {
              Result& r = m_results[t];
              r.computed = true;
              r.statistic = chiSquare(observed, expected, bins);
              r.df = bins - 1;
              r.p = randomness::chiSquareUpperTail(r.statistic, r.df);
              Chart& c = m_charts[t];
              c.labels = std::move(labels);
              c.observed = QVector<double>(observed, observed + bins);
              c.expected = QVector<double>(expected, expected + bins);
          };
    const auto zTest = [this](Test t, double z) {
        Result& r = m_results[t];
        r.computed = true;
        r.statistic = z;
        r.p = randomness::normalTwoSided(z);
    };

    for (int t = kFirst; t <= kSumRuns; ++t)
        m_results[t].count = t == kPull ? pairs : n;

    if (n >= 2) {
        double expected[10];
        std::fill(std::begin(expected), std::end(expected), n / 10.0);
        for (int p = 0; p < 3; ++p)
            chiSquareTest(Test(kFirst + p), position[p], expected, 10, digitLabels());
        std::fill(std::begin(expected), std::end(expected), 3 * n / 10.0);
        chiSquareTest(kAllDigits, all, expected, 10, digitLabels());

        const double patternExpected[3] = {n * 0.72, n * 0.27, n * 0.01};
        chiSquareTest(kPattern, pattern, patternExpected, 3,
                      {QStringLiteral("シングル"), QStringLiteral("ダブル"), QStringLiteral("トリプル")});
    }

    // The sums in bins of an expected count of at least 5: n x triples >= 5 x 1000, in integers.
    {
        struct Bin {
            int first, last;
            int observed;
            std::int64_t triples;
        };
        std::vector<Bin> bins;
        Bin open{0, 0, 0, 0};
        for (int s = 0; s <= kMaxSum; ++s) {
            open.last = s;
            open.observed += sums[s];
            open.triples += kTriplesWithSum[s];
            if (std::int64_t(n) * open.triples >= 5000) {
                bins.push_back(open);
                open = {s + 1, s + 1, 0, 0};
            }
        }
        if (open.triples > 0) {
            if (bins.empty()) {
                bins.push_back(open);
            } else {
                bins.back().last = open.last;
                bins.back().observed += open.observed;
                bins.back().triples += open.triples;
            }
        }
        if (bins.size() >= 2) {
            std::vector<int> observed;
            std::vector<double> expected;
            QStringList labels;
            for (const Bin& b : bins) {
                observed.push_back(b.observed);
                expected.push_back(double(std::int64_t(n) * b.triples) / 1000.0);
                labels << (b.first == b.last ? QString::number(b.first)
                                             : QStringLiteral("%1-%2").arg(b.first).arg(b.last));
            }
            chiSquareTest(kSum, observed.data(), expected.data(), int(bins.size()), std::move(labels));
        }
    }

    if (pairs >= 2) {
        double mean = 0, variance = 0;
        for (int k = 1; k <= 3; ++k) {
            const double p = 1 - kMissPerMille[k] / 1000.0;
            mean += pairsAfter[k] * p;
            variance += pairsAfter[k] * p * (1 - p);
        }
        zTest(kPull, (pulled - mean) / std::sqrt(variance));
        Chart& c = m_charts[kPull];
        c.labels = {QStringLiteral("引っ張りあり"), QStringLiteral("引っ張りなし")};
        c.observed = {double(pulled), double(pairs - pulled)};
        c.expected = {mean, pairs - mean};
    }

    const double n1 = lows, n2 = n - lows;
    if (n1 > 0 && n2 > 0 && !(n1 == 1 && n2 == 1)) {
        const double total = n;
        const double mean = 2 * n1 * n2 / total + 1;
        const double variance = 2 * n1 * n2 * (2 * n1 * n2 - total) / (total * total * (total - 1));
        zTest(kSumRuns, (runs - mean) / std::sqrt(variance));
        Chart& c = m_charts[kSumRuns];
        c.labels = {QStringLiteral("連の数")};
        c.observed = {double(runs)};
        c.expected = {mean};
    }

    std::vector<double> p;
    std::vector<int> tests;
    for (int t = 0; t < kTestCount; ++t) {
        if (m_results[t].computed) {
            p.push_back(m_results[t].p);
            tests.push_back(t);
        }
    }
    const std::vector<double> adjusted = randomness::holm(p);
    for (std::size_t i = 0; i < tests.size(); ++i)
        m_results[tests[i]].adjustedP = adjusted[i];
}

void RandomnessSheet::write(Grid& grid) const
{
    constexpr int kRows = kFirstTestRow + kTestCount - 1;
    grid.clear();
    setUpSheet(grid,
               {.cols = kColCount,
                .rows = kRows,
                .visibleCols = kColCount,
                .visibleRows = kRows,
                .scrollBars = ScrollBars::None,
                .rowHeight = 14,
                .colWidth = 9});
    grid.setRowHeight(1, 18);
    // Room for the longest text of each column and a unit to spare: a unit holds a digit and a
    // quarter, a full-width character about 1.6 units. A statistic reaches eight figures and two
    // decimals on a full history of a single sum.
    grid.setColWidth(kNameCol, 22);
    grid.setColWidth(kCountCol, 8);
    grid.setColWidth(kStatisticCol, 11);
    grid.setColWidth(kDfCol, 6);
    grid.setColWidth(kPCol, 8);
    grid.setColWidth(kAdjustedPCol, 9);
    grid.setColWidth(kVerdictCol, 13);
    borders(grid, 1, 1, kColCount, kRows, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kColCount, 1, colors::kHeadingBack, colors::kBlack);
    block(grid, kNameCol, kFirstTestRow, kNameCol, kRows);
    grid.setHAlign(HAlign::Left);

    const QString headings[kColCount]
        = {QStringLiteral("検定"), QStringLiteral("対象回数"),  QStringLiteral("統計量"), QStringLiteral("自由度"),
           QStringLiteral("p値"),  QStringLiteral("補正後p値"), QStringLiteral("判定")};
    for (int c = 0; c < kColCount; ++c)
        grid.setText(c + 1, 1, headings[c]);

    for (int t = 0; t < kTestCount; ++t) {
        const Result& r = m_results[t];
        const int row = kFirstTestRow + t;
        grid.setText(kNameCol, row, testNames()[t]);
        grid.setText(kCountCol, row, QString::number(r.count));
        if (!r.computed) {
            for (int c : {kStatisticCol, kDfCol, kPCol, kAdjustedPCol})
                grid.setText(c, row, kDash);
            grid.setText(kVerdictCol, row, kUndecided);
            grid.setForeColor(kVerdictCol, row, kUndecidedFore);
            continue;
        }
        grid.setText(kStatisticCol, row, fixed(r.statistic, 2));
        grid.setText(kDfCol, row, r.df > 0 ? QString::number(r.df) : kDash);
        grid.setText(kPCol, row, pText(r.p));
        grid.setText(kAdjustedPCol, row, pText(r.adjustedP));
        if (r.suspect()) {
            grid.setText(kVerdictCol, row, kSuspect);
            grid.setCellColors(kVerdictCol, row, kSuspectBack, kSuspectFore);
        } else {
            grid.setText(kVerdictCol, row, kNoBias);
        }
    }
}

void RandomnessSheet::compute(const History& history, DrawRange range)
{
    evaluate(history, range);
    // Every line of the table is a border, as in the other windows.
    m_grid.setGridLinesShown(false);
    write(m_grid);
}

RandomnessSheet::Chart RandomnessSheet::chart(int test) const
{
    if (test < 0 || test >= kTestCount)
        return {};
    return m_charts[test];
}
