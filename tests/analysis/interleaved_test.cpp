// Every window computes from the history it is handed and from nothing else: two histories
// computed one after the other, by fresh windows and by the same window object, each give their
// own result.

#include "support/catalogue_support.h"
#include "prediction/prediction_sheets.h"
#include "support/history_builder.h"

#include <gtest/gtest.h>

namespace {

// Every cell's text and colours, row by row: enough to tell two grids apart.
QStringList cells(const Grid& g)
{
    QStringList out{QStringLiteral("%1x%2").arg(g.maxCols()).arg(g.maxRows())};
    for (int r = 1; r <= g.maxRows(); ++r) {
        QString line;
        for (int c = 1; c <= g.maxCols(); ++c) {
            const GridColor back = g.backColor(c, r), fore = g.foreColor(c, r);
            line += g.text(c, r) + u'|' + QString::number((back.r << 16) | (back.g << 8) | back.b) + u'|'
                + QString::number((fore.r << 16) | (fore.g << 8) | fore.b) + u';';
        }
        out << line;
    }
    return out;
}

QStringList computed(const catalogue::WindowRecord& record, const History& history)
{
    return cells(*catalogue::computeSheets(record, history, cataloguetest::searching())->grids().first());
}

// The first 600 real draws with their prizes, and a history of its own: other digits and prizes,
// a gap, an incomplete draw.
struct TwoHistories {
    History a;
    History b;
};

TwoHistories twoHistories()
{
    const History real = fixture::realHistory();
    TwoHistories h;
    h.a = History::fromRows(real.draws().mid(0, 600)).withPrizes(fixture::shippedPrizes());
    QVector<DrawRecord> rows;
    QHash<int, prize::DrawPrizes> prizes;
    for (int n = 1; n <= 300; ++n) {
        if (n == 120)
            continue;
        rows << fixture::record({n, (n * 7) % 10, (n * 3 + 1) % 10, n == 200 ? -1 : (n * n) % 10});
        prize::DrawPrizes paid;
        paid.amounts[prize::Straight] = 50000 + n * 300;
        paid.amounts[prize::Box] = 10000 + n * 100;
        paid.amounts[prize::Mini] = 5000 + n * 100;
        prizes.insert(n, paid);
    }
    h.b = History::fromRows(rows).withPrizes(prizes);
    // The same ticket lines over both: what they won differs with the draws.
    ticket::Line straight, mini;
    straight.number = QStringLiteral("191");
    straight.draws = 10;
    mini.number = QStringLiteral("74");
    mini.type = ticket::Type::Mini;
    mini.firstDraw = 295;
    mini.draws = 10;
    h.a = h.a.withTickets({straight, mini});
    h.b = h.b.withTickets({straight, mini});
    return h;
}

TEST(InterleavedHistories, EveryAnalysisWindowGivesEachHistoryItsOwnResult)
{
    const TwoHistories h = twoHistories();
    for (const catalogue::WindowRecord* record : cataloguetest::analyses()) {
        SCOPED_TRACE(record->form.toStdString());
        const QStringList a = computed(*record, h.a);
        const QStringList b = computed(*record, h.b);
        EXPECT_NE(a, b);
        // One history after the other, in turn: nothing of the one before is kept.
        EXPECT_EQ(computed(*record, h.b), b);
        EXPECT_EQ(computed(*record, h.a), a);
        EXPECT_EQ(computed(*record, h.b), b);
    }
}

TEST(InterleavedHistories, PredictionSheetsFollowTheHistoryTheyAreGiven)
{
    const TwoHistories h = twoHistories();
    auto picks = [](PredictionSheets& sheets) {
        sheets.refresh(3);
        QStringList all;
        for (int g = 0; g < PredictionSheets::kGridCount; ++g)
            all << cells(sheets.grid(g));
        return all;
    };
    PredictionSheets a, b;
    a.open(h.a);
    b.open(h.b);
    const QStringList fromA = picks(a);
    const QStringList fromB = picks(b);
    EXPECT_NE(fromA, fromB);
    // One window, handed the other history and back.
    PredictionSheets reused;
    reused.open(h.a);
    reused.setHistory(h.b);
    EXPECT_EQ(picks(reused), fromB);
    reused.setHistory(h.a);
    EXPECT_EQ(picks(reused), fromA);
}

} // namespace
