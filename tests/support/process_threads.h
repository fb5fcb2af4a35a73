// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

namespace testsupport {

// The threads this process runs now, as the kernel lists them.
inline int ProcessThreadCount()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Qt's threads are detached: one that a wait() has seen finish may still be in the kernel's list for
// a moment. These wait for the list to settle instead of reading it once.

// The thread count once it has stayed the same for a tenth of a second (or after five seconds).
inline int SettledThreadCount()
{
    QElapsedTimer clock;
    clock.start();
    int count = ProcessThreadCount();
    for (int sameReads = 0; sameReads < 5 && clock.elapsed() < 5000;) {
        QThread::msleep(20);
        const int now = ProcessThreadCount();
        sameReads = now == count ? sameReads + 1 : 0;
        count = now;
    }
    return count;
}

// Whether the thread count comes down to at most `limit` within five seconds.
inline bool ThreadCountFallsTo(int limit)
{
    QElapsedTimer clock;
    clock.start();
    while (ProcessThreadCount() > limit) {
        if (clock.elapsed() > 5000)
            return false;
        QThread::msleep(5);
    }
    return true;
}

}  // namespace testsupport
