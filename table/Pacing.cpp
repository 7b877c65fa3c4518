#include "table/Pacing.h"

namespace zt {

Pacing::Pacing(QObject *parent) : QObject(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { resumeAll(Wake::Clock); });
}

Pacing::~Pacing() { stop(); }

void Pacing::resumeAll(Wake wake) {
    std::vector<Waiter> ready;
    for (auto it = waiters_.begin(); it != waiters_.end();) {
        if (it->wake == wake || stopped_) {
            ready.push_back(*it);
            it = waiters_.erase(it);
        } else {
            ++it;
        }
    }
    for (const Waiter &w : ready) w.handle.resume();
}

void Pacing::poke() {
    // Resuming from the event loop, not from inside the handler, keeps the
    // handler's own work out of the game's way.
    if (pokeScheduled_) return;
    pokeScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pokeScheduled_ = false;
            resumeAll(Wake::Poke);
        },
        Qt::QueuedConnection);
}

void Pacing::stop() {
    stopped_ = true;
    timer_.stop();
    while (!waiters_.empty()) resumeAll(Wake::Poke);
}

QCoro::Task<> Pacing::sleepUntil(Clock::time_point deadline) {
    for (;;) {
        throwIfStopped();
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) co_return;
        timer_.start(std::chrono::ceil<std::chrono::milliseconds>(left));
        co_await suspend(Wake::Clock);
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
    const auto due = start + stepPeriod_ * k;
    if (Clock::now() < due) {
        co_await sleepUntil(due);
    } else if (k > 0) {
        // Behind time the step is still shown: let the window paint it.
        timer_.start(0);
        co_await suspend(Wake::Clock);
    }
}

QCoro::Task<> Pacing::waitUntil(std::function<bool()> condition) {
    for (;;) {
        throwIfStopped();
        if (condition()) co_return;
        co_await suspend(Wake::Poke);
    }
}

QCoro::Task<> Pacing::nextPoke() {
    throwIfStopped();
    co_await suspend(Wake::Poke);
}

} // namespace zt
