// The watch on the database on its own: a burst of outside writes settles into one signal, and
// a reading says whether the history changed, is the same, or cannot be read.

#include "app/history_watcher.h"
#include "data/history_source.h"
#include "support/history_fixture.h"
#include "support/wait.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(HistoryWatcherTest, ABurstOfWritesSettlesOnceAndEachReadingSaysWhatChanged)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("n.db"));
    fixture::writeDatabase(db, {{1, 1, 1, 5}, {2, 0, 5, 9}});
    QString reason;
    const std::optional<history_source::Loaded> loaded = history_source::startupLoad(db, QString(), &reason);
    ASSERT_TRUE(loaded) << reason.toStdString();

    HistoryWatcher watcher;
    watcher.watch(db);
    QSignalSpy settled(&watcher, &HistoryWatcher::settled);
    EXPECT_EQ(watcher.reread(loaded->history).outcome, HistoryWatcher::Reading::Unchanged);

    for (int n = 3; n <= 5; ++n)
        fixture::exec(
            db,
            {QStringLiteral("insert into 当選データ (回数, 第1数字, 第2数字, 第3数字) values (%1, 1, 2, 3)").arg(n)});
    ASSERT_TRUE(fixture::waitFor([&] { return settled.count() > 0; }));
    QTest::qWait(2 * HistoryWatcher::kSettleMs);
    EXPECT_EQ(settled.count(), 1) << "one signal for the burst";
    HistoryWatcher::Reading reading = watcher.reread(loaded->history);
    ASSERT_EQ(reading.outcome, HistoryWatcher::Reading::Changed);
    EXPECT_EQ(reading.history.lastDrawNo(), 5);
    EXPECT_EQ(watcher.reread(reading.history).outcome, HistoryWatcher::Reading::Unchanged);

    // A change cancelled before it settles says nothing.
    fixture::exec(db, {QStringLiteral("delete from 当選データ where 回数 = 5")});
    QTest::qWait(50);
    watcher.cancelPending();
    QTest::qWait(2 * HistoryWatcher::kSettleMs);
    EXPECT_EQ(settled.count(), 1);

    // Gone: the reading fails with the reason, and the file put back is watched again.
    const QString aside = dir.filePath(QStringLiteral("aside.db"));
    ASSERT_TRUE(QFile::rename(db, aside));
    reading = watcher.reread(loaded->history);
    EXPECT_EQ(reading.outcome, HistoryWatcher::Reading::Failed);
    EXPECT_FALSE(reading.reason.isEmpty());
    ASSERT_TRUE(QFile::rename(aside, db));
    ASSERT_TRUE(fixture::waitFor([&] { return settled.count() == 2; }));
    EXPECT_EQ(watcher.reread(loaded->history).history.lastDrawNo(), 4);
}

} // namespace
