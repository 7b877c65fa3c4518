#include "table/Random.h"

#include <chrono>

namespace zt {

RandomSource::RandomSource() { reseedFromClock(); }

double RandomSource::next() {
    // 53 random bits scaled by 2^-53: exact, and strictly below 1.
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

void RandomSource::reseedFromClock() {
    if (fixed_) return;
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::uint64_t>(now) ^ 0x9e3779b97f4a7c15ULL);
}

void RandomSource::seed(std::uint64_t s) {
    fixed_ = true;
    engine_.seed(s);
}

} // namespace zt
