#pragma once
// The full history the window benchmarks run on: 32,767 draws of random digits.

#include "data/draw_database.h"
#include "data/history.h"
#include "data/history_csv.h"

#include <QTemporaryDir>

#include <QDate>
#include <random>

// Made once; copies share the draws.
inline History fullHistory()
{
    static const History history = [] {
        QVector<DrawRecord> rows;
        rows.reserve(32767);
        std::mt19937 random(11);
        for (int n = 1; n <= 32767; ++n) {
            DrawRecord row;
            row.drawNo = n;
            for (auto& d : row.digits)
                d = std::int8_t(random() % 10);
            rows << row;
        }
        return History::fromRows(std::move(rows));
    }();
    return history;
}

// The same kind of history as a database file in dir, the last seven draws numbered but not
// drawn yet, as in real use, each drawn on a weekday from 1994/10/07 on. Returns its path.
inline QString makeFullDatabase(const QTemporaryDir& dir)
{
    QByteArray csv = "回数,第1数字,第2数字,第3数字,抽せん日\n";
    std::mt19937 random(7);
    QDate day(1994, 10, 7);
    for (int n = 1; n <= 32767; ++n) {
        const QByteArray date = day.toString(QStringLiteral("yyyy/MM/dd")).toLatin1();
        day = day.addDays(day.dayOfWeek() == Qt::Friday ? 3 : 1);
        if (n > 32760)
            csv += QByteArray::number(n) + ",,,," + date + '\n';
        else
            csv += QByteArray::number(n) + ',' + QByteArray::number(random() % 10) + ','
                + QByteArray::number(random() % 10) + ',' + QByteArray::number(random() % 10) + ',' + date + '\n';
    }
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    QString reason;
    if (DrawDatabase::create(path, HistoryCsv::parse(csv), &reason) != DrawDatabase::Creation::Created)
        qFatal("cannot create the benchmark database: %s", qPrintable(reason));
    return path;
}
