#include "analysis/weekdays.h"

#include "analysis/draw_rows.h"
#include "data/draw.h"
#include "grid/colors.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <map>

namespace {

// Monday 0 … Sunday 6, then the draws whose 抽せん日 reads as no date.
constexpr int kDays = 7;
constexpr int kUndated = kDays;
constexpr int kDayRows = kDays + 1;
const std::array<QString, kDayRows> kDayNames
    = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
       QStringLiteral("金"), QStringLiteral("土"), QStringLiteral("日"), QStringLiteral("日付なし")};
constexpr GridColor kSaturdayFore = colors::kBlue;
constexpr GridColor kSundayFore = colors::kRed;
// The digits drawn most often on a weekday.
constexpr GridColor kMostBack = colors::kPaleGreen;

// 曜日, 抽せん回数, the digits 0–9, 最多数字.
constexpr int kCountCols = 2 + 10 + 1;
constexpr int kFirstDigitCol = 3;
constexpr int kMostCol = kCountCols;

// 週, then Monday to Sunday.
constexpr int kWeekCols = 1 + kDays;

struct DayCounts {
    int draws = 0;
    std::array<int, 10> digits{};
};

// The winning numbers of each day of a week, those of one date in draw order.
using Week = std::array<QString, kDays>;

QString numberText(const DrawRecord& draw)
{
    QString text;
    for (int p = 1; p <= 3; ++p)
        text += draw_rows::digitText(draw.digit(p));
    return text;
}

void weekdayCounts(Grid& grid, const std::array<DayCounts, kDayRows>& days)
{
    const int rows = 1 + kDayRows;
    setUpSheet(grid,
               {.cols = kCountCols,
                .rows = rows,
                .visibleCols = kCountCols,
                .visibleRows = rows,
                .scrollBars = ScrollBars::None,
                .rowHeight = 10,
                .colWidth = 5});
    grid.setColWidth(1, 6);
    grid.setColWidth(2, 8);
    grid.setColWidth(kMostCol, 13);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kCountCols, 1, colors::kHeadingBack, {});
    // The days in black, Saturday in blue and Sunday in red, as calendars print them.
    colours(grid, 1, 2, 1, rows, colors::kPaleYellow, colors::kBlack);
    grid.setText(1, 1, QStringLiteral("曜日"));
    grid.setText(2, 1, QStringLiteral("抽せん回数"));
    for (int d = 0; d <= 9; ++d)
        grid.setText(kFirstDigitCol + d, 1, draw_rows::digitText(d));
    grid.setText(kMostCol, 1, QStringLiteral("最多数字"));

    for (int day = 0; day < kDayRows; ++day) {
        const int row = 2 + day;
        const DayCounts& counts = days[std::size_t(day)];
        grid.setText(1, row, kDayNames[std::size_t(day)]);
        grid.setText(2, row, QString::number(counts.draws));
        int most = 0;
        for (int d = 0; d <= 9; ++d) {
            grid.setText(kFirstDigitCol + d, row, QString::number(counts.digits[std::size_t(d)]));
            most = std::max(most, counts.digits[std::size_t(d)]);
        }
        if (counts.draws == 0) {
            grid.setText(kMostCol, row, QStringLiteral("–"));
            continue;
        }
        QStringList mostDigits;
        for (int d = 0; d <= 9; ++d) {
            if (counts.digits[std::size_t(d)] != most)
                continue;
            mostDigits << draw_rows::digitText(d);
            grid.setBackColor(kFirstDigitCol + d, row, kMostBack);
        }
        grid.setText(kMostCol, row, mostDigits.join(u','));
    }
    grid.setForeColor(1, 2 + 5, kSaturdayFore);
    grid.setForeColor(1, 2 + 6, kSundayFore);
}

// The weeks by their Monday; latest: the cell of the last dated draw, or none.
void weeklyNumbers(Grid& grid, const std::map<QDate, Week>& weeks, QDate latest)
{
    const int rows = 1 + int(weeks.size());
    setUpSheet(grid,
               {.cols = kWeekCols,
                .rows = rows,
                .visibleCols = kWeekCols,
                .visibleRows = 16,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 7});
    grid.setColWidth(1, 11);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kWeekCols, 1, colors::kHeadingBack, {});
    // The week's Monday reads apart from the days, as a draw's 回数 does in the other windows.
    colours(grid, 1, 1, 1, 1, colors::kDrawNoBack, colors::kDrawNoFore);
    colours(grid, 1, 2, 1, rows, colors::kDrawNoBack, colors::kDrawNoFore);
    grid.setText(1, 1, QStringLiteral("週"));
    for (int day = 0; day < kDays; ++day)
        grid.setText(2 + day, 1, kDayNames[std::size_t(day)]);
    grid.setForeColor(2 + 5, 1, kSaturdayFore);
    grid.setForeColor(2 + 6, 1, kSundayFore);

    int row = 2;
    for (const auto& [monday, week] : weeks) {
        grid.setText(1, row, draw::dateText(monday));
        for (int day = 0; day < kDays; ++day)
            grid.setText(2 + day, row, week[std::size_t(day)]);
        if (latest.isValid() && latest.addDays(1 - latest.dayOfWeek()) == monday)
            grid.setLatestCell(1 + latest.dayOfWeek(), row);
        ++row;
    }
}

} // namespace

const QStringList 曜日別分析::kTitles = {QStringLiteral("●曜日別の出現数"), QStringLiteral("●週ごとの当選番号")};

void 曜日別分析::mainStep(const QList<Grid*>& grids, const History& history)
{
    std::array<DayCounts, kDayRows> days{};
    std::map<QDate, Week> weeks;
    QDate latest;
    const QVector<DrawRecord>& draws = history.draws();
    for (qsizetype i = 0; i < draws.size(); ++i) {
        const DrawRecord& draw = draws.at(i);
        if (!draw.complete)
            continue;
        const std::optional<QDate> date = draw::readPlainDate(history.date(i));
        const int day = date ? date->dayOfWeek() - 1 : kUndated;
        DayCounts& counts = days[std::size_t(day)];
        ++counts.draws;
        for (int p = 1; p <= 3; ++p)
            ++counts.digits[std::size_t(draw.digit(p))];
        if (!date)
            continue;
        QString& cell = weeks[date->addDays(-day)][std::size_t(day)];
        if (!cell.isEmpty())
            cell += u',';
        cell += numberText(draw);
        latest = *date;
    }
    weekdayCounts(*grids.at(0), days);
    weeklyNumbers(*grids.at(1), weeks, latest);
}
