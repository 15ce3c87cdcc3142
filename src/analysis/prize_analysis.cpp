#include "analysis/prize_analysis.h"

#include "analysis/draw_rows.h"
#include "analysis/item_statistics.h"
#include "grid/colors.h"

#include <array>
#include <cstdio>
#include <vector>

const QStringList 配当分析::kTitles
    = {QStringLiteral("●タイプ別"), QStringLiteral("●数字別"), QStringLiteral("●当せん金一覧")};

namespace {

const QString kNone = QStringLiteral("–");
constexpr int kFirstDataRow = 2;

// The types, and 全体 after them.
constexpr int kTypes = 3;
constexpr int kTypeRows = kTypes + 1;
const std::array<QString, kTypeRows> kTypeNames{QStringLiteral("シングル"), QStringLiteral("ダブル"),
                                                QStringLiteral("トリプル"), QStringLiteral("全体")};
constexpr int kTypeCols = 6;
constexpr int kTypeIndexCol = 6;
constexpr int kDigitCols = 4;

// The list: 回数, 抽せん日, 当選番号, タイプ, the five amounts, ストレート口数, 配当指数.
constexpr int kListCols = 11;
constexpr int kTypeCol = 4;
constexpr int kFirstAmountCol = 5;
constexpr int kCountCol = 10;
constexpr int kListIndexCol = 11;

// A 配当指数 (as printed) of 1.50 and more stands out one way, one of 0.50 and less the other.
constexpr int kHighHundredths = 150;
constexpr int kLowHundredths = 50;
constexpr GridColor kHighBack = rgb(255, 230, 170);
constexpr GridColor kLowBack = rgb(210, 225, 255);
// The タイプ cells of the draws whose digits repeat, as ボックス番号分析 shades them.
constexpr GridColor kDoubleBack = colors::kPaleGreen;
constexpr GridColor kTripleBack = colors::kPaleMagenta;
constexpr GridColor kAllBack = colors::kPaleGreen;

int typeIndex(prize::Shape shape)
{
    switch (shape) {
    case prize::Shape::Single:
        return 0;
    case prize::Shape::Double:
        return 1;
    case prize::Shape::Triple:
        break;
    }
    return 2;
}

// The mean of the straight prizes of count draws summing to sum, to the yen: printf's "%.0f" of
// the double nearest the exact quotient (an exact half goes to the even yen).
QString meanYen(qint64 sum, qint64 count)
{
    // Both are exact in a double (a sum of 32,767 prizes is far below 2^53), so their quotient
    // is the double nearest the fraction.
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", double(sum) / double(count));
    return prize::yenText(QByteArray(text).toLongLong());
}

// The mean 配当指数 of count draws whose straight prizes sum to sum.
QString indexText(qint64 sum, qint64 count)
{
    return item_stats::twoDecimals(sum, qint64(prize::kNominalStraight) * count);
}

// A 配当指数 as a cell shows it, and how it stands out: by the value printed.
struct IndexCell {
    QString text;
    bool high = false;
    bool low = false;

    IndexCell(qint64 sum, qint64 count) : text(indexText(sum, count))
    {
        const int hundredths = QString(text).remove(u'.').toInt();
        high = hundredths >= kHighHundredths;
        low = hundredths <= kLowHundredths;
    }
    void write(Grid& grid, int col, int row) const
    {
        grid.setText(col, row, text);
        if (high)
            grid.setBackColor(col, row, kHighBack);
        else if (low)
            grid.setBackColor(col, row, kLowBack);
    }
};

void writeIndex(Grid& grid, int col, int row, qint64 sum, qint64 count)
{
    IndexCell(sum, count).write(grid, col, row);
}

// The texts the list writes row after row, each made once for its value.
class ListTexts {
public:
    const QString& yen(int amount)
    {
        auto it = m_yen.find(amount);
        if (it == m_yen.end())
            it = m_yen.insert(amount, prize::yenText(amount));
        return *it;
    }
    const IndexCell& index(int straight)
    {
        auto it = m_index.find(straight);
        if (it == m_index.end())
            it = m_index.insert(straight, IndexCell(straight, 1));
        return *it;
    }

private:
    QHash<int, QString> m_yen;
    QHash<int, IndexCell> m_index;
};

// The straight prizes of some draws: how many, their sum, and the lowest and the highest with
// the first draw that paid each.
struct Tally {
    int count = 0;
    qint64 sum = 0;
    int lowest = 0, highest = 0;
    int lowestDrawNo = 0, highestDrawNo = 0;

    void add(int straight, int drawNo)
    {
        if (count == 0 || straight < lowest) {
            lowest = straight;
            lowestDrawNo = drawNo;
        }
        if (count == 0 || straight > highest) {
            highest = straight;
            highestDrawNo = drawNo;
        }
        ++count;
        sum += straight;
    }
};

// A draw with prizes, as the walk found it.
struct Paid {
    qsizetype index = 0;
    const DrawRecord* draw = nullptr;
    const prize::DrawPrizes* prizes = nullptr;
    prize::Shape shape = prize::Shape::Single;
};

QString withDrawNo(int yen, int drawNo, const History& history)
{
    return prize::yenText(yen) + QStringLiteral("（第") + history.drawNoText(drawNo) + QStringLiteral("回）");
}

void fillTypes(Grid& grid, const std::vector<Paid>& paid, const History& history)
{
    std::array<Tally, kTypeRows> tallies;
    for (const Paid& p : paid) {
        const int straight = p.prizes->amounts[prize::Straight];
        tallies[std::size_t(typeIndex(p.shape))].add(straight, p.draw->drawNo);
        tallies[kTypes].add(straight, p.draw->drawNo);
    }
    headedTable(grid, kTypeCols, kFirstDataRow - 1 + kTypeRows, kTypeRows + 1,
                {QStringLiteral("タイプ"), QStringLiteral("回数"), QStringLiteral("ストレート平均"),
                 QStringLiteral("最低"), QStringLiteral("最高"), QStringLiteral("配当指数")});
    grid.setColWidth(2, 5);
    grid.setColWidth(3, 10);
    grid.setColWidth(4, 16);
    grid.setColWidth(5, 16);
    const int lastRow = kFirstDataRow + kTypeRows - 1;
    colours(grid, 1, kFirstDataRow, 1, lastRow, colors::kPaleYellow, colors::kRed);
    colours(grid, 1, lastRow, kTypeCols, lastRow, kAllBack, {});
    for (int t = 0; t < kTypeRows; ++t) {
        const int row = kFirstDataRow + t;
        const Tally& tally = tallies[std::size_t(t)];
        grid.setText(1, row, kTypeNames[std::size_t(t)]);
        grid.setText(2, row, QString::number(tally.count));
        if (tally.count == 0) {
            for (int c = 3; c <= kTypeCols; ++c)
                grid.setText(c, row, kNone);
            continue;
        }
        grid.setText(3, row, meanYen(tally.sum, tally.count));
        grid.setText(4, row, withDrawNo(tally.lowest, tally.lowestDrawNo, history));
        grid.setText(5, row, withDrawNo(tally.highest, tally.highestDrawNo, history));
        writeIndex(grid, kTypeIndexCol, row, tally.sum, tally.count);
    }
}

void fillDigits(Grid& grid, const std::vector<Paid>& paid)
{
    std::array<int, 10> holding{};
    std::array<qint64, 10> holdingSum{};
    qint64 total = 0;
    for (const Paid& p : paid) {
        const int straight = p.prizes->amounts[prize::Straight];
        total += straight;
        std::array<bool, 10> held{};
        for (int position = 1; position <= 3; ++position)
            held[std::size_t(p.draw->digit(position))] = true;
        for (int d = 0; d <= 9; ++d) {
            if (held[std::size_t(d)]) {
                ++holding[std::size_t(d)];
                holdingSum[std::size_t(d)] += straight;
            }
        }
    }
    headedTable(grid, kDigitCols, kFirstDataRow + 9, 11,
                {QStringLiteral("数字"), QStringLiteral("含む回数"), QStringLiteral("含む配当指数"),
                 QStringLiteral("含まない配当指数")});
    grid.setColWidth(1, 5);
    grid.setColWidth(2, 7);
    grid.setColWidth(3, 10);
    grid.setColWidth(4, 12);
    colours(grid, 1, kFirstDataRow, 1, kFirstDataRow + 9, colors::kPaleYellow, colors::kRed);
    const qint64 draws = qint64(paid.size());
    for (int d = 0; d <= 9; ++d) {
        const int row = kFirstDataRow + d;
        const qint64 with = holding[std::size_t(d)];
        const qint64 withSum = holdingSum[std::size_t(d)];
        grid.setText(1, row, draw_rows::digitText(d));
        grid.setText(2, row, QString::number(with));
        if (with > 0)
            writeIndex(grid, 3, row, withSum, with);
        else
            grid.setText(3, row, kNone);
        if (draws - with > 0)
            writeIndex(grid, 4, row, total - withSum, draws - with);
        else
            grid.setText(4, row, kNone);
    }
    grid.setSortableRows(kFirstDataRow, kFirstDataRow + 9);
}

void fillList(Grid& grid, const std::vector<Paid>& paid, const History& history)
{
    const int rows = kFirstDataRow - 1 + int(paid.size());
    headedTable(grid, kListCols, rows, 12,
                {QStringLiteral("回数"), QStringLiteral("抽せん日"), QStringLiteral("当選番号"),
                 QStringLiteral("タイプ"), prize::kKindNames[prize::Straight], prize::kKindNames[prize::Box],
                 prize::kKindNames[prize::SetStraight], prize::kKindNames[prize::SetBox],
                 prize::kKindNames[prize::Mini], prize::countField(prize::Straight), QStringLiteral("配当指数")});
    grid.setColWidth(1, 5);
    grid.setColWidth(2, 9);
    grid.setColWidth(5, 9);
    grid.setColWidth(6, 8);
    grid.setColWidth(7, 10);
    grid.setColWidth(8, 9);
    grid.setColWidth(9, 7);
    grid.setColWidth(kCountCol, 10);
    if (paid.empty())
        return;
    colours(grid, 1, kFirstDataRow, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
    ListTexts texts;
    int row = kFirstDataRow;
    for (const Paid& p : paid) {
        const DrawRecord& draw = *p.draw;
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        grid.setText(2, row, history.date(p.index));
        grid.setText(3, row,
                     draw_rows::digitText(draw.digit(1)) + draw_rows::digitText(draw.digit(2))
                         + draw_rows::digitText(draw.digit(3)));
        const int type = typeIndex(p.shape);
        grid.setText(kTypeCol, row, kTypeNames[std::size_t(type)]);
        if (p.shape != prize::Shape::Single)
            grid.setBackColor(kTypeCol, row, p.shape == prize::Shape::Triple ? kTripleBack : kDoubleBack);
        for (int k = 0; k < prize::kKinds; ++k) {
            // A triple is sold as ストレート and ミニ only.
            const bool sold = p.shape != prize::Shape::Triple || k == prize::Straight || k == prize::Mini;
            grid.setText(kFirstAmountCol + k, row, sold ? texts.yen(p.prizes->amounts[std::size_t(k)]) : kNone);
        }
        if (const std::optional<int> count = p.prizes->counts[prize::Straight])
            grid.setText(kCountCol, row, QString::number(*count));
        texts.index(p.prizes->amounts[prize::Straight]).write(grid, kListIndexCol, row);
        grid.setDrawRow(row, history.realDrawNo(draw.drawNo));
        ++row;
    }
}

} // namespace

void 配当分析::mainStep(const QList<Grid*>& grids, const History& history)
{
    std::vector<Paid> paid;
    const QVector<DrawRecord>& draws = history.draws();
    for (qsizetype i = 0; i < draws.size(); ++i) {
        const DrawRecord& draw = draws[i];
        const prize::DrawPrizes* prizes = history.prizes(i);
        if (!draw.complete || !prizes)
            continue;
        paid.push_back({i, &draw, prizes, prize::shapeOf(draw.digit(1), draw.digit(2), draw.digit(3))});
    }
    fillTypes(*grids.at(0), paid, history);
    fillDigits(*grids.at(1), paid);
    fillList(*grids.at(2), paid, history);
}
