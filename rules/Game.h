#pragma once
// What the game's procedures work on, handed to each by reference.
#include "media/Elements.h"
#include "media/Sounds.h"
#include "rules/Capture.h"
#include "rules/GameState.h"
#include "table/Movement.h"
#include "table/Pacing.h"
#include "table/Random.h"

namespace zt {

struct GameParts {
    GameState &s;
    Elements &e;
    Pacing &pacing;
    RandomSource &rnd;
    Sounds &sounds;
    CaptureRules &capture;
    CardMovement &movement;
};

} // namespace zt
