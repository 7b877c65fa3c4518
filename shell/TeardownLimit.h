#pragma once
// What follows the event loop gets a few seconds, then the process ends with
// the loop's status.
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zt {

// Qt 6.4's Wayland plugin can deadlock while the application is destroyed:
// one of its reading threads waits for a read another has abandoned, and the
// destructor waits for that thread, long after the window is gone. Made
// before the application, so it outlives it; start() once the loop returns.
class TeardownLimit {
public:
    TeardownLimit() = default;
    TeardownLimit(const TeardownLimit &) = delete;
    TeardownLimit &operator=(const TeardownLimit &) = delete;
    ~TeardownLimit();

    void start(int status);

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread watch_;
};

} // namespace zt
