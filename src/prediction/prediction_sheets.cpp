#include "prediction/prediction_sheets.h"

#include "grid/colors.h"
#include "grid/sheet.h"
#include "data/history.h"

namespace {

// Place s of a grid whose places run `width` to a row, from column 2 and row 2.
void putPlace(Grid& grid, int s, int width, int digit)
{
    grid.setText(2 + s % width, 2 + s / width, QString::number(digit));
}

} // namespace

const QString PredictionSheets::kHeading = QStringLiteral("        予 想 数 字                   ");
const QStringList PredictionSheets::kTitles = {
    QStringLiteral("●周期法による予想(この予想数字を組合わせて購入します)"),
    QStringLiteral("●消去法による予想(この予想数字を組合わせて購入します)"),
    QStringLiteral("●連発ズバリン予想(この予想数字を組む合わせて購入します)"),
    QStringLiteral("●一発ズバリン予想"),
};

PredictionSheets::PredictionSheets()
{
    // Every line the grids show is a border of their own.
    for (Grid& g : m_grids)
        g.setGridLinesShown(false);
}

QString PredictionSheets::targetText(const History& history)
{
    const int last = history.lastDrawNo();
    const int first = history.realDrawNo(1); // a history over a range begins at its range's start
    if (last <= 0 && first == 1)
        return QStringLiteral("第1回の予想（当選番号はまだありません）");
    if (last <= 0)
        return QStringLiteral("第%1回の予想（この期間には当選番号がありません）").arg(first);
    if (first == 1)
        return QStringLiteral("第%1回の予想（第%2回までの当選番号から）")
            .arg(history.realDrawNo(last) + 1)
            .arg(history.realDrawNo(last));
    return QStringLiteral("第%1回の予想（第%2回〜第%3回の当選番号から）")
        .arg(history.realDrawNo(last) + 1)
        .arg(first)
        .arg(history.realDrawNo(last));
}

void PredictionSheets::open(const History& history)
{
    for (int g = 0; g < kGridCount; ++g) {
        layOut(g);
        headings(g);
    }
    setHistory(history);
}

void PredictionSheets::setHistory(const History& history)
{
    m_tables = prediction::PredictionTables::build(history);
    m_lastDrawNo = history.lastDrawNo();
}

void PredictionSheets::layOut(int index)
{
    Grid& grid = m_grids[index];
    const int cols = 1 + kValueCols[index];
    const int rows = kRows[index];
    grid.setMaxCols(cols);
    grid.setMaxRows(rows);
    grid.setColHeadersShown(false);
    grid.setRowHeadersShown(false);
    grid.setVisibleCols(cols);
    grid.setVisibleRows(rows);
    grid.setAutoSize(true);
    grid.setScrollBars(ScrollBars::None);
    grid.setRowHeight(-1, 10);
    grid.setColWidth(-1, 5);
    grid.setColWidth(1, 8);

    grid.setBlock(1, 1, cols, rows);
    grid.setHAlign(HAlign::Center);
    grid.setVAlign(VAlign::Center);

    if (index == 0) {
        grid.setCellBorder(BorderSide::Top | BorderSide::Bottom, BorderStyle::Solid, colors::kBlack);
        grid.setBlock(1, 1, 1, rows);
        grid.setCellBorder(BorderSide::Right, BorderStyle::Solid, colors::kBlack);
        grid.setText(1, 2, QStringLiteral(" 7回周期法"));
        grid.setText(1, 3, QStringLiteral(" 9回周期法"));
        grid.setText(1, 4, QStringLiteral("11回周期法"));
        grid.setText(1, 5, QStringLiteral("12回周期法"));
    } else {
        grid.setCellBorder(kAllSides, BorderStyle::Solid, colors::kBlack);
        if (index == 1)
            grid.setText(1, 3, QStringLiteral("消去法"));
        else if (index == 2)
            grid.setText(1, 2, QStringLiteral("連発予想"));
        else
            grid.setText(1, 2, QStringLiteral("１発予想"));
    }
}

void PredictionSheets::headings(int index)
{
    Grid& grid = m_grids[index];
    const int cols = grid.maxCols();
    joinCells(grid, 2, 1, cols, 1);
    if (index == 1 || index == 2)
        joinCells(grid, 1, 2, 1, grid.maxRows());

    grid.setAllowCellOverflow(true);
    grid.setBlock(2, 1, 2, 1);
    grid.setHAlign(HAlign::Left);
    grid.setText(2, 1, kHeading);

    grid.setBlock(1, 1, cols, 1);
    grid.setForeColor(colors::kBlue);
    grid.setBackColor(colors::kHeadingBack);
}

void PredictionSheets::refresh(int reflected)
{
    m_prediction = prediction::predict(m_tables, m_lastDrawNo, reflected);
    show();
}

void PredictionSheets::show()
{
    for (int g = 1; g < kGridCount; ++g) {
        Grid& grid = m_grids[g];
        for (int r = 2; r <= grid.maxRows(); ++r) {
            for (int c = 2; c <= grid.maxCols(); ++c)
                grid.setText(c, r, QString());
        }
    }

    Grid& cycle = m_grids[0];
    for (int k = 0; k < prediction::kMethodCount; ++k) {
        for (int p = 1; p <= 3; ++p) {
            const int d = m_prediction.cycle[k][p - 1];
            cycle.setText(p + 1, k + 2, d == prediction::kNoDigit ? QString() : QString::number(d));
        }
    }
    for (int s = 0; s < m_prediction.eliminationShown.size(); ++s)
        putPlace(m_grids[1], s, kValueCols[1], m_prediction.eliminationShown[s]);
    for (int s = 0; s < m_prediction.repeat.size(); ++s)
        putPlace(m_grids[2], s, kValueCols[2], m_prediction.repeat[s]);
    for (int s = 0; s < m_prediction.oneShot.size(); ++s)
        putPlace(m_grids[3], s, kValueCols[3], m_prediction.oneShot[s]);
}

PredictionSheets::RowTickets PredictionSheets::ticketsAt(int grid, int row) const
{
    RowTickets tickets;
    if (grid == 0) {
        const int k = row - 2;
        if (k < 0 || k >= prediction::kMethodCount)
            return tickets;
        QString number;
        for (const int d : m_prediction.cycle[k]) {
            if (d < 0 || d > 9)
                return tickets;
            number += QChar(u'0' + d);
        }
        tickets.numbers << number;
        return tickets;
    }
    if (grid < 1 || grid >= kGridCount || row < 2 || row > m_grids[grid].maxRows())
        return tickets;
    const QList<int>& shown
        = grid == 1 ? m_prediction.eliminationShown : (grid == 2 ? m_prediction.repeat : m_prediction.oneShot);
    std::array<bool, 10> in{};
    for (const int d : shown) {
        if (d >= 0 && d <= 9)
            in[d] = true;
    }
    tickets.type = ticket::Type::Box;
    for (int a = 0; a <= 9; ++a) {
        for (int b = a; b <= 9; ++b) {
            for (int c = b; c <= 9; ++c) {
                if (in[a] && in[b] && in[c] && !(a == b && b == c)) {
                    const QChar digits[3] = {QChar(u'0' + a), QChar(u'0' + b), QChar(u'0' + c)};
                    tickets.numbers << QString(digits, 3);
                }
            }
        }
    }
    return tickets;
}
