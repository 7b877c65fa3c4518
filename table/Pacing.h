#pragma once
// The one owner of time. Every wait of the game suspends a coroutine here:
// pauses and glide steps on the monotonic clock, and waits for a request
// until an event handler pokes. Nothing polls and no event loop nests.
#include <QObject>
#include <QTimer>
#include <chrono>
#include <coroutine>
#include <functional>
#include <qcoro/qcorotask.h>
#include <vector>

class QGraphicsScene;

namespace zt {

// Thrown out of a wait when the program is ending, to unwind the game.
struct GameStopped {};

class Pacing : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit Pacing(QObject *parent = nullptr);
    ~Pacing() override;

    // Zero delay: pauses and glide steps take no time (tests, self-play).
    void setZeroDelay(bool on) { zeroDelay_ = on; }
    bool zeroDelay() const { return zeroDelay_; }
    // A glide's step k is due k periods after its start.
    static constexpr std::chrono::microseconds kStepPeriod{4000};

    // Holds the game for the given seconds of real time.
    QCoro::Task<> sleep(double seconds);
    // Waits until the condition holds; re-checked whenever poke() is called.
    QCoro::Task<> waitUntil(std::function<bool()> condition);
    // Waits for the next poke: the next event that may change what is awaited.
    QCoro::Task<> nextPoke();
    // A glide shows step k at start + k periods, at most one step a frame of
    // the screen that shows the scene (60 Hz where that is unknown).
    struct Glide {
        Clock::time_point start;
        int steps;
        Clock::duration frame;
    };
    Glide glideStart(int steps, const QGraphicsScene *scene) const;
    // Waits for the glide's next frame after step `shown` and returns the
    // step its clock has reached there, the last step on time; `steps` once
    // the last step is shown. Without delay every step is shown.
    QCoro::Task<int> glideNext(Glide glide, int shown);

    // Event handlers call this after changing something a wait may look at.
    // The waiting game resumes from the event loop, after the handler returns.
    void poke();
    // Ends every wait, now and later, with GameStopped; the waiting game
    // unwinds before this returns.
    void stop();
    bool stopped() const { return stopped_; }
    void throwIfStopped() const {
        if (stopped_) throw GameStopped{};
    }

private:
    enum class Wake { Poke, Clock };
    struct Suspend {
        Pacing *pacing;
        Wake wake;
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> h) { pacing->waiters_.push_back({h, wake}); }
        void await_resume() const { pacing->throwIfStopped(); }
    };
    Suspend suspend(Wake wake) { return {this, wake}; }
    void resumeAll(Wake wake);
    QCoro::Task<> sleepUntil(Clock::time_point deadline);

    struct Waiter {
        std::coroutine_handle<> handle;
        Wake wake;
    };
    std::vector<Waiter> waiters_;
    QTimer timer_;
    bool pokeScheduled_ = false;
    bool zeroDelay_ = false;
    bool stopped_ = false;
};

} // namespace zt
