#include "analysis/ticket_balance.h"

#include "analysis/item_statistics.h"
#include "data/draw.h"
#include "grid/colors.h"
#include "grid/sheet.h"

#include <algorithm>
#include <array>
#include <map>

namespace ticket_balance {

const QStringList kTitles = {QStringLiteral("●年別"), QStringLiteral("●月別"), QStringLiteral("●明細")};

namespace {

constexpr int kFirstDataRow = 2;
constexpr int kTotalCols = 7;
constexpr int kListCols = 8;
// A win's result and prize stand out.
constexpr GridColor kWinBack = rgb(255, 230, 170);

const QString kNoDate = QStringLiteral("日付なし");
const QString kUndrawn = QStringLiteral("未抽せん");
const QString kTotal = QStringLiteral("合計");

// What some rows add up to.
struct Tally {
    qint64 units = 0; // 購入口数
    qint64 wins = 0; // 当せん回数: winning rows, whatever their 口数
    qint64 paid = 0; // 当せん金額

    void add(const Row& row)
    {
        units += row.units;
        if (ticket_results::isWin(row.result.outcome))
            ++wins;
        paid += row.result.paid;
    }
    qint64 cost() const { return units * ticket::kPrice; }
    // 購入口数 … 回収率. A total that holds a prize paid at its nominal amount is written plainly:
    // the list marks those draws.
    QStringList cells() const
    {
        return {QString::number(units), prize::yenText(cost()),        QString::number(wins),
                prize::yenText(paid),   prize::yenText(paid - cost()), item_stats::percentText(paid, cost())};
    }
};

// The rows added up by year or by month, then those of the draws without a date and those not
// drawn yet, then all of them.
struct Totals {
    std::map<int, Tally> byPeriod; // by year, or by year × 100 + month
    Tally noDate, undrawn, all;
    bool anyNoDate = false, anyUndrawn = false;
};

// The year × 100 + month of a draw's 抽せん日; 0 when it has none that reads as a date.
int monthOf(const History& history, qsizetype index)
{
    if (index < 0)
        return 0;
    const std::optional<QDate> date = draw::readPlainDate(history.date(index));
    return date ? date->year() * 100 + date->month() : 0;
}

void fillTotals(Grid& grid, const Totals& totals, const QString& periodHeading, int visibleRows, bool monthly)
{
    const int periods = int(totals.byPeriod.size()) + (totals.anyNoDate ? 1 : 0) + (totals.anyUndrawn ? 1 : 0);
    const int lastRow = kFirstDataRow + periods;
    headedTable(grid, kTotalCols, lastRow, std::min(visibleRows + 1, lastRow),
                {periodHeading, QStringLiteral("購入口数"), QStringLiteral("購入金額"), QStringLiteral("当せん回数"),
                 QStringLiteral("当せん金額"), QStringLiteral("収支"), QStringLiteral("回収率")});
    grid.setColWidth(1, 7);
    grid.setColWidth(2, 8);
    grid.setColWidth(3, 12);
    grid.setColWidth(4, 8);
    grid.setColWidth(5, 12);
    grid.setColWidth(6, 13);
    grid.setColWidth(7, 8);
    colours(grid, 1, kFirstDataRow, 1, lastRow, colors::kPaleYellow, colors::kRed);
    colours(grid, 1, lastRow, kTotalCols, lastRow, colors::kPaleGreen, {});
    int row = kFirstDataRow;
    const auto write = [&](const QString& label, const Tally& tally) {
        grid.setText(1, row, label);
        const QStringList cells = tally.cells();
        for (int c = 0; c < cells.size(); ++c)
            grid.setText(2 + c, row, cells.at(c));
        ++row;
    };
    for (const auto& [period, tally] : totals.byPeriod) {
        const QString label = monthly
            ? QStringLiteral("%1/%2").arg(period / 100).arg(period % 100, 2, 10, QLatin1Char('0'))
            : QString::number(period);
        write(label, tally);
    }
    if (totals.anyNoDate)
        write(kNoDate, totals.noDate);
    if (totals.anyUndrawn)
        write(kUndrawn, totals.undrawn);
    write(kTotal, totals.all);
}

// The texts the list writes row after row, each made once.
class ListTexts {
public:
    ListTexts()
    {
        for (int n = 0; n <= ticket::kMaxUnits; ++n)
            m_units[std::size_t(n)] = QString::number(n);
        for (int t = 0; t < ticket::kTypes; ++t)
            m_types[std::size_t(t)] = ticket::typeName(ticket::Type(t));
        for (int o = 0; o < kOutcomes; ++o)
            m_outcomes[std::size_t(o)] = ticket_results::outcomeText(ticket_results::Outcome(o));
    }
    QString units(int n) const
    {
        return n >= 0 && n <= ticket::kMaxUnits ? m_units[std::size_t(n)] : QString::number(n);
    }
    const QString& type(ticket::Type t) const { return m_types[std::size_t(t)]; }
    const QString& outcome(ticket_results::Outcome o) const { return m_outcomes[std::size_t(o)]; }
    const QString& loss() const { return m_loss; }

private:
    static constexpr int kOutcomes = int(ticket_results::Outcome::Mini) + 1;
    std::array<QString, ticket::kMaxUnits + 1> m_units;
    std::array<QString, ticket::kTypes> m_types;
    std::array<QString, kOutcomes> m_outcomes;
    QString m_loss = prize::yenText(0);
};

void fillList(Grid& grid, const std::vector<Row>& rows, const History& history, const ticket_results::DrawIndex& index)
{
    const int lastRow = kFirstDataRow - 1 + int(rows.size());
    headedTable(grid, kListCols, lastRow, std::min(11, lastRow),
                {QStringLiteral("回数"), QStringLiteral("抽せん日"), QStringLiteral("番号"), QStringLiteral("申込"),
                 QStringLiteral("口数"), QStringLiteral("結果"), QStringLiteral("当せん金"),
                 QStringLiteral("累計収支")});
    grid.setColWidth(1, 5);
    grid.setColWidth(2, 9);
    grid.setColWidth(3, 5);
    grid.setColWidth(4, 8);
    grid.setColWidth(5, 4);
    grid.setColWidth(6, 11);
    grid.setColWidth(7, 16);
    grid.setColWidth(8, 14);
    if (rows.empty())
        return;
    colours(grid, 1, kFirstDataRow, 1, lastRow, colors::kDrawNoBack, colors::kDrawNoFore);
    const QVector<ticket::Line>& lines = history.tickets();
    const ListTexts texts;
    qint64 balance = 0;
    int shownDrawNo = -1;
    QString drawNoText, date;
    int row = kFirstDataRow;
    for (const Row& r : rows) {
        const ticket_results::DrawResult& result = r.result;
        if (result.drawNo != shownDrawNo) {
            shownDrawNo = result.drawNo;
            drawNoText = QString::number(shownDrawNo);
            const qsizetype at = index.indexOf(shownDrawNo);
            date = at < 0 ? QString() : history.date(at);
        }
        const ticket::Line& line = lines.at(r.line);
        grid.setText(1, row, drawNoText);
        grid.setText(2, row, date);
        grid.setText(3, row, line.number);
        grid.setText(4, row, texts.type(line.type));
        grid.setText(5, row, texts.units(r.units));
        grid.setText(6, row, texts.outcome(result.outcome));
        if (ticket_results::isWin(result.outcome)) {
            grid.setText(7, row, result.paidText());
            grid.setBackColor(6, row, kWinBack);
            grid.setBackColor(7, row, kWinBack);
        } else if (r.drawn()) {
            grid.setText(7, row, texts.loss());
        }
        balance += result.paid - r.cost();
        grid.setText(8, row, prize::yenText(balance));
        grid.setDrawRow(row, shownDrawNo);
        ++row;
    }
}

SheetLineChart chartOf(const std::vector<Row>& rows)
{
    SheetLineChart chart;
    chart.title = QStringLiteral("累計収支");
    chart.xTitle = QStringLiteral("回数");
    chart.yTitle = QStringLiteral("金額（円）");
    SheetLineChart::Series balance{QStringLiteral("累計収支"), {}};
    SheetLineChart::Series nominal{QStringLiteral("還元率45%の場合"), {}};
    qint64 sum = 0, cost = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        if (!r.drawn())
            continue;
        sum += r.result.paid - r.cost();
        cost += r.cost();
        // One point a draw, after its last row.
        const bool lastOfDraw = i + 1 == rows.size() || rows[i + 1].result.drawNo != r.result.drawNo;
        if (!lastOfDraw)
            continue;
        chart.x << double(r.result.drawNo);
        balance.y << double(sum);
        nominal.y << -double(cost * (100 - kReturnPercent)) / 100.0;
    }
    chart.series = {balance, nominal};
    return chart;
}

} // namespace

std::vector<Row> rowsIn(const History& history, const DrawRange& range, const ticket_results::DrawIndex& index)
{
    const QVector<ticket::Line>& lines = history.tickets();
    std::vector<Row> rows;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const ticket::Line& line = lines.at(i);
        // A damaged line's 口数 below 0 (one the ledger refuses) buys nothing, as it wins nothing.
        const int units = std::max(line.units, 0);
        if (line.firstDraw > range.to || qint64(line.firstDraw) + ticket_results::coveredDraws(line) <= range.from)
            continue;
        for (const ticket_results::DrawResult& result : ticket_results::resultsOf(line, history, index)) {
            if (range.contains(result.drawNo))
                rows.push_back({int(i), units, result});
        }
    }
    // The ledger's order within each draw.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.result.drawNo < b.result.drawNo; });
    return rows;
}

void BalanceSheets::compute(const History& history, const DrawRange& range)
{
    const ticket_results::DrawIndex index(history);
    const std::vector<Row> rows = rowsIn(history, range, index);
    Totals years, months;
    int monthDrawNo = -1, month = 0;
    for (const Row& r : rows) {
        years.all.add(r);
        months.all.add(r);
        if (!r.drawn()) {
            years.undrawn.add(r);
            months.undrawn.add(r);
            years.anyUndrawn = months.anyUndrawn = true;
            continue;
        }
        if (r.result.drawNo != monthDrawNo) {
            monthDrawNo = r.result.drawNo;
            month = monthOf(history, index.indexOf(monthDrawNo));
        }
        if (month == 0) {
            years.noDate.add(r);
            months.noDate.add(r);
            years.anyNoDate = months.anyNoDate = true;
            continue;
        }
        years.byPeriod[month / 100].add(r);
        months.byPeriod[month].add(r);
    }
    const QList<Grid*> grids = sheetGrids();
    fillTotals(*grids.at(0), years, QStringLiteral("年"), 5, false);
    fillTotals(*grids.at(1), months, QStringLiteral("年月"), 7, true);
    fillList(*grids.at(2), rows, history, index);
    m_chart = chartOf(rows);
}

std::unique_ptr<WindowSheets> sheets(const History& history, const SheetOptions& options)
{
    auto made = std::make_unique<BalanceSheets>();
    made->compute(history, options.range.value_or(RangeChoice::all()).resolve(history));
    return made;
}

} // namespace ticket_balance
