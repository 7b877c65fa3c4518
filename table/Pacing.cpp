#include "table/Pacing.h"

#include <QGraphicsScene>
#include <QGraphicsView>
#include <QScreen>

#include <algorithm>

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

Pacing::Glide Pacing::glideStart(int steps, const QGraphicsScene *scene) const {
    double hz = 0;
    if (scene && !scene->views().isEmpty())
        if (const QScreen *screen = scene->views().constFirst()->screen()) hz = screen->refreshRate();
    if (!(hz > 0)) hz = 60;
    hz = std::min(hz, 1000.0);
    return {Clock::now(), steps, std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1 / hz))};
}

// Frames are timed on the screen's refresh rate with our own timer: on X11
// without a compositor's frame sync QWindow::requestUpdate() is a 5 ms timer,
// not the screen's pace, and the animation timer's fixed 16 ms ticks could
// leave the last step up to a tick late. The frames are counted back from the
// moment the last step is due, so the glide ends on time and its frames keep
// one refresh apart.
QCoro::Task<int> Pacing::glideNext(Glide glide, int shown) {
    throwIfStopped();
    const int last = glide.steps - 1;
    if (shown >= last) co_return glide.steps;
    if (zeroDelay_) co_return shown + 1;
    const auto due = [&](int k) { return glide.start + kStepPeriod * k; };
    const auto end = due(last);
    // The next frame: a new step due, and half a refresh at least after this
    // one, so a late frame is not followed at once by another.
    const auto earliest = std::max(due(shown + 1), Clock::now() + glide.frame / 2);
    auto wake = end;
    if (earliest < end) wake = end - ((end - earliest) / glide.frame) * glide.frame;
    if (Clock::now() < wake) {
        co_await sleepUntil(wake);
    } else if (shown == 0) {
        // Behind time the last step follows at once, but every glide lets
        // events through at least once.
        timer_.start(0);
        co_await suspend(Wake::Clock);
    }
    const auto reached = int((Clock::now() - glide.start) / kStepPeriod);
    co_return std::clamp(reached, shown + 1, last);
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
