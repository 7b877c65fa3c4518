#include "table/Pacing.h"

#include <qcoro/qcorosignal.h>

namespace zt {

Pacing::Pacing(QObject *parent) : QObject(parent) {}

void Pacing::poke() { emit poked(); }

void Pacing::stop() {
    stopped_ = true;
    emit poked();
    emit woken();
}

QCoro::Task<> Pacing::sleepUntil(Clock::time_point deadline) {
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &Pacing::woken);
    for (;;) {
        throwIfStopped();
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) co_return;
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left);
        timer.start(ms);
        ++suspensions_;
        co_await qCoro(this, &Pacing::woken);
    }
}

QCoro::Task<> Pacing::sleep(double seconds) {
    throwIfStopped();
    if (zeroDelay_ || !(seconds > 0)) co_return;
    const auto span = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    co_await sleepUntil(Clock::now() + span);
}

QCoro::Task<> Pacing::glideStep(Clock::time_point start, int k) {
    throwIfStopped();
    if (zeroDelay_) co_return;
    co_await sleepUntil(start + stepPeriod_ * k);
    // Behind time the step is still shown: let the window paint it.
    if (Clock::now() > start + stepPeriod_ * (k + 1)) {
        QTimer::singleShot(0, this, &Pacing::woken);
        ++suspensions_;
        co_await qCoro(this, &Pacing::woken);
        throwIfStopped();
    }
}

QCoro::Task<> Pacing::waitUntil(std::function<bool()> condition) {
    for (;;) {
        throwIfStopped();
        if (condition()) co_return;
        ++suspensions_;
        co_await qCoro(this, &Pacing::poked);
    }
}

} // namespace zt

namespace zt {

QCoro::Task<> Pacing::nextPoke() {
    throwIfStopped();
    ++suspensions_;
    co_await qCoro(this, &Pacing::poked);
    throwIfStopped();
}

} // namespace zt
