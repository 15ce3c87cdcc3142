#pragma once
// Waiting for a condition while events run. (Qt Test's QTRY macros report to Qt Test, not to
// GoogleTest, so a timeout there would go unnoticed.)

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>

namespace fixture {

template <typename Predicate> bool waitFor(Predicate predicate, int milliseconds = 3000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!predicate()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

} // namespace fixture
