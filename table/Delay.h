#pragma once
#include "rules/GameState.h"
#include "table/Pacing.h"

namespace zt {

// The game's pause: nominal seconds scaled by the play rate (10, 20 or 30),
// with card clicks locked. A rate of 0 would never come from the menu; it is
// read as the default rather than dividing by it.
inline double pauseSpan(float seconds, u8 playRate) {
    return double(seconds) * 10.0 / double(playRate ? playRate : 20);
}

inline QCoro::Task<> ritardo(GameState &s, Pacing &pacing, float seconds) {
    const double span = pauseSpan(seconds, s.playRate);
    s.clickLock = 100;
    co_await pacing.sleep(span);
}

} // namespace zt
