#include "analysis/number_search.h"

#include "grid/colors.h"
#include "grid/sheet.h"

#include <algorithm>
#include <array>
#include <vector>

namespace number_search {

namespace {

constexpr int kCols = 5;
constexpr int kMatchCol = 4;
constexpr int kPrizeCol = 5;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

const QString& kindText(Match match)
{
    static const std::array<QString, 4> texts{QString(), QStringLiteral("ストレート"), QStringLiteral("ボックス"),
                                              QStringLiteral("ミニ")};
    return texts[std::size_t(match)];
}

GridColor kindBack(Match match)
{
    switch (match) {
    case Match::Straight:
        return rgb(255, 170, 120);
    case Match::Box:
        return rgb(255, 230, 170);
    case Match::Mini:
        return colors::kPaleCyan;
    case Match::None:
        break;
    }
    return colors::kWhite;
}

// What a ticket of the match's kind won on a draw with those prizes; none when they are unknown.
std::optional<int> prizeOf(const prize::DrawPrizes* prizes, Match match)
{
    if (!prizes)
        return std::nullopt;
    switch (match) {
    case Match::Straight:
        return prizes->amounts[prize::Straight];
    case Match::Box:
        return prizes->amounts[prize::Box];
    case Match::Mini:
        return prizes->amounts[prize::Mini];
    case Match::None:
        break;
    }
    return std::nullopt;
}

} // namespace

const QString kInvalidNumber = QStringLiteral("2けた（ミニ）か3けた（ストレート・ボックス）の数字を入れてください。");

std::optional<QString> readNumber(QStringView typed)
{
    qsizetype from = 0, to = typed.size();
    while (from < to && isBlank(typed[from]))
        ++from;
    while (to > from && isBlank(typed[to - 1]))
        --to;
    const QStringView number = typed.sliced(from, to - from);
    if (number.size() < 2 || number.size() > 3)
        return std::nullopt;
    for (QChar c : number) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return number.toString();
}

QStringList printedNotes(const QString& typed)
{
    const std::optional<QString> number = readNumber(typed);
    if (!number)
        return {};
    return {
        QStringLiteral("検索した番号: %1（%2）")
            .arg(*number, number->size() == 3 ? QStringLiteral("ストレート・ボックス・ミニ") : QStringLiteral("ミニ"))};
}

Match matchOf(const DrawRecord& draw, const QString& number)
{
    if (!draw.complete)
        return Match::None;
    const auto at = [&](int i) { return number[i].unicode() - u'0'; };
    if (number.size() == 3) {
        const int d[3] = {at(0), at(1), at(2)};
        if (draw.digit(1) == d[0] && draw.digit(2) == d[1] && draw.digit(3) == d[2])
            return Match::Straight;
        std::array<int, 3> drawn{draw.digit(1), draw.digit(2), draw.digit(3)};
        std::array<int, 3> wanted{d[0], d[1], d[2]};
        std::sort(drawn.begin(), drawn.end());
        std::sort(wanted.begin(), wanted.end());
        const bool triple = wanted[0] == wanted[2];
        if (!triple && drawn == wanted)
            return Match::Box;
    }
    const int n = int(number.size());
    if (draw.digit(2) == at(n - 2) && draw.digit(3) == at(n - 1))
        return Match::Mini;
    return Match::None;
}

void mainStep(Grid& grid, const History& history, const QString& typed)
{
    const std::optional<QString> number = readNumber(typed);
    struct Row {
        qsizetype index;
        Match match;
    };
    std::vector<Row> rows;
    if (number) {
        const QVector<DrawRecord>& draws = history.draws();
        for (qsizetype i = 0; i < draws.size(); ++i) {
            const Match match = matchOf(draws[i], *number);
            if (match != Match::None)
                rows.push_back({i, match});
        }
    }
    const int total = number ? 1 : 0;
    const int lastRow = 1 + int(rows.size()) + total;
    setUpSheet(grid,
               {.cols = kCols,
                .rows = lastRow,
                .visibleCols = kCols,
                .visibleRows = 20,
                .scrollBars = ScrollBars::Vertical,
                .frozenRows = 1,
                .rowHeight = 10,
                .colWidth = 8});
    grid.setColWidth(1, 6);
    grid.setColWidth(2, 9);
    grid.setColWidth(kMatchCol, 28);
    grid.setColWidth(kPrizeCol, 10);
    borders(grid, -1, -1, -1, -1, kAllSides, BorderStyle::Solid);
    colours(grid, 1, 1, kCols, 1, colors::kHeadingBack, {});
    const QString headings[kCols] = {QStringLiteral("回数"), QStringLiteral("抽せん日"), QStringLiteral("当選番号"),
                                     QStringLiteral("一致"), QStringLiteral("当せん金")};
    for (int c = 0; c < kCols; ++c)
        grid.setText(c + 1, 1, headings[c]);
    if (!number)
        return;

    std::array<int, 4> counts{};
    int row = 2;
    for (const Row& r : rows) {
        const DrawRecord& draw = history.draws()[r.index];
        grid.setText(1, row, history.drawNoText(draw.drawNo));
        grid.setText(2, row, history.date(r.index));
        grid.setText(3, row, QStringLiteral("%1%2%3").arg(draw.digit(1)).arg(draw.digit(2)).arg(draw.digit(3)));
        grid.setText(kMatchCol, row, kindText(r.match));
        if (const std::optional<int> won = prizeOf(history.prizes(r.index), r.match))
            grid.setText(kPrizeCol, row, prize::yenText(*won));
        colours(grid, 1, row, 1, row, colors::kDrawNoBack, colors::kDrawNoFore);
        colours(grid, kMatchCol, row, kMatchCol, row, kindBack(r.match), {});
        grid.setDrawRow(row, history.realDrawNo(draw.drawNo));
        ++counts[std::size_t(r.match)];
        ++row;
    }
    grid.setText(1, row, QStringLiteral("合計"));
    grid.setText(kMatchCol, row,
                 QStringLiteral("ストレート %1回・ボックス %2回・ミニ %3回")
                     .arg(counts[std::size_t(Match::Straight)])
                     .arg(counts[std::size_t(Match::Box)])
                     .arg(counts[std::size_t(Match::Mini)]));
    colours(grid, 1, row, kCols, row, colors::kPaleGreen, {});
    // The view opens with the total in view, the latest match above it.
    grid.setLatestCell(1, row);
}

std::unique_ptr<WindowSheets> sheets(const History& history, const SheetOptions& options)
{
    auto grid = std::make_unique<Grid>();
    grid->setGridLinesShown(false);
    mainStep(*grid, history, options.number);
    return std::make_unique<SingleGridSheets>(std::move(grid));
}

} // namespace number_search
