// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/event_loop_clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace vtl {

void EventLoopClock::sleep(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(m_userInputAllowed ? QEventLoop::AllEvents
                                                           : QEventLoop::ExcludeUserInputEvents);
        const qint64 remaining = deadline.remainingTime();
        if (remaining > 0) {
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(remaining, 5)));
        }
    }
}

int64_t EventLoopClock::nowMilliseconds() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

} // namespace vtl
