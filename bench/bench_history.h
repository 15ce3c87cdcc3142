#pragma once
// The full history the window benchmarks run on: 32,767 draws of random digits, each with its
// prizes (so that the windows that show them have work).

#include "data/draw_database.h"
#include "data/history.h"
#include "data/history_csv.h"

#include <QTemporaryDir>

#include <QDate>
#include <QHash>
#include <array>
#include <random>

// Prizes for a draw of those digits, from a random straight prize of ¥30,000 to ¥179,900 paid
// by the rule of one pool, with a random count of straight winners.
inline prize::DrawPrizes randomPrizes(std::mt19937& random, int first, int second, int third)
{
    prize::DrawPrizes prizes;
    const int straight = 30000 + int(random() % 1500) * 100;
    const std::array<int, prize::kKinds> amounts
        = prize::amountsFromStraight(straight, prize::shapeOf(first, second, third));
    for (int k = 0; k < prize::kKinds; ++k)
        prizes.amounts[std::size_t(k)] = amounts[std::size_t(k)];
    prizes.counts[prize::Straight] = int(random() % 500);
    return prizes;
}

// Made once; copies share the draws.
inline History fullHistory()
{
    static const History history = [] {
        QVector<DrawRecord> rows;
        QHash<int, prize::DrawPrizes> prizes;
        rows.reserve(32767);
        prizes.reserve(32767);
        std::mt19937 random(11);
        std::mt19937 paying(13); // apart, so that the digits are those they always were
        for (int n = 1; n <= 32767; ++n) {
            DrawRecord row;
            row.drawNo = n;
            for (auto& d : row.digits)
                d = std::int8_t(random() % 10);
            prizes.insert(n, randomPrizes(paying, row.digits[0], row.digits[1], row.digits[2]));
            rows << row;
        }
        return History::fromRows(std::move(rows)).withPrizes(prizes);
    }();
    return history;
}

// The full history with a 抽せん日 for every draw, each on a weekday from 1994/10/07 on.
inline History datedFullHistory()
{
    static const History history = [] {
        const History full = fullHistory();
        QStringList dates;
        QHash<int, prize::DrawPrizes> prizes;
        QDate day(1994, 10, 7);
        for (qsizetype i = 0; i < full.draws().size(); ++i) {
            dates << day.toString(QStringLiteral("yyyy/MM/dd"));
            day = day.addDays(day.dayOfWeek() == Qt::Friday ? 3 : 1);
            if (const prize::DrawPrizes* p = full.prizes(i))
                prizes.insert(full.draws()[i].drawNo, *p);
        }
        return History::fromRows(full.draws(), dates).withPrizes(prizes);
    }();
    return history;
}

// A player's ledger at its largest: 10,000 ticket lines of every type, 1 to 10 口, each covering
// 10 draws spread over the full history.
inline QVector<ticket::Line> tenThousandLines()
{
    QVector<ticket::Line> lines;
    for (int i = 0; i < 10000; ++i) {
        ticket::Line line;
        line.type = ticket::Type(i % ticket::kTypes);
        // A triple is sold only as a straight: a box or set of one takes the next number.
        int n = i % 1000;
        if ((line.type == ticket::Type::Box || line.type == ticket::Type::Set) && n % 111 == 0)
            n = n == 999 ? 998 : n + 1;
        line.number = line.type == ticket::Type::Mini ? QStringLiteral("%1").arg(n % 100, 2, 10, QChar(u'0'))
                                                      : QStringLiteral("%1").arg(n, 3, 10, QChar(u'0'));
        line.units = 1 + i % ticket::kMaxUnits;
        line.firstDraw = 1 + (i * 37) % 32758;
        line.draws = ticket::kMaxDraws;
        lines << line;
    }
    return lines;
}

// The same kind of history as a database file in dir, the last seven draws numbered but not
// drawn yet, as in real use, each on a weekday from 1994/10/07 on, and the prizes of every draw
// drawn. Returns its path.
inline QString makeFullDatabase(const QTemporaryDir& dir)
{
    QByteArray csv = "回数,第1数字,第2数字,第3数字,抽せん日\n";
    std::mt19937 random(7);
    std::mt19937 paying(13);
    QHash<int, prize::DrawPrizes> prizes;
    QDate day(1994, 10, 7);
    for (int n = 1; n <= 32767; ++n) {
        const QByteArray date = day.toString(QStringLiteral("yyyy/MM/dd")).toLatin1();
        day = day.addDays(day.dayOfWeek() == Qt::Friday ? 3 : 1);
        if (n > 32760) {
            csv += QByteArray::number(n) + ",,,," + date + '\n';
            continue;
        }
        const int first = int(random() % 10), second = int(random() % 10), third = int(random() % 10);
        csv += QByteArray::number(n) + ',' + QByteArray::number(first) + ',' + QByteArray::number(second) + ','
            + QByteArray::number(third) + ',' + date + '\n';
        prizes.insert(n, randomPrizes(paying, first, second, third));
    }
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    QString reason;
    if (DrawDatabase::create(path, HistoryCsv::parse(csv), &reason, DrawDatabase::kCreationWaitMs, prizes)
        != DrawDatabase::Creation::Created)
        qFatal("cannot create the benchmark database: %s", qPrintable(reason));
    return path;
}

// makeFullDatabase with the ledger of tenThousandLines in its table 購入記録.
inline QString makeLedgerDatabase(const QTemporaryDir& dir)
{
    const QString path = makeFullDatabase(dir);
    DrawDatabase db(DrawDatabase::connectString(path), DrawDatabase::Mode::ReadWrite);
    QString reason;
    if (!db.open(&reason) || !db.insertTickets(tenThousandLines(), &reason))
        qFatal("cannot fill the ledger: %s", qPrintable(reason));
    return path;
}
