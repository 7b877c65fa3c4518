#pragma once
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace zt::test {

// Runs events until the condition holds or the time runs out.
inline bool runUntil(const std::function<bool()> &cond, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace zt::test
