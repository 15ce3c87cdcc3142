#pragma once
// The hourglass around long work: shown, then pending events run once before the work starts;
// the default pointer comes back when the guard goes.

#include <QApplication>
#include <QCursor>

class Hourglass {
public:
    Hourglass()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents();
    }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};
