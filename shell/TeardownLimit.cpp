#include "shell/TeardownLimit.h"

#include <chrono>
#include <cstdio>
#include <unistd.h>

namespace zt {

namespace {
// Far above a slow machine's teardown, short enough that a player who quit
// never finds the game still running.
constexpr auto kLimit = std::chrono::seconds(5);
} // namespace

void TeardownLimit::start(int status) {
    watch_ = std::thread([this, status] {
        std::unique_lock lock(mutex_);
        if (done_.wait_for(lock, kLimit, [this] { return finished_; })) return;
        std::fflush(stderr);
        _exit(status);
    });
}

TeardownLimit::~TeardownLimit() {
    if (!watch_.joinable()) return;
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
    }
    done_.notify_one();
    watch_.join();
}

} // namespace zt
