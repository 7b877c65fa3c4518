#pragma once
// The game's one source of chance: uniform values in [0, 1), never 1.
#include <cstdint>
#include <random>

namespace zt {

class RandomSource {
public:
    RandomSource();
    virtual ~RandomSource() = default;
    virtual double next();
    // Reseeds from the clock, unless a fixed seed was given: then the games
    // stay reproducible and the stream simply goes on.
    void reseedFromClock();
    void seed(std::uint64_t s);

private:
    std::mt19937_64 engine_;
    bool fixed_ = false;
};

} // namespace zt
