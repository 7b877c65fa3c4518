#pragma once
// How tests and tools watch a game from outside. Each call comes once the
// state and the card items already show what happened, so a watcher reads
// the table itself and can check what the faces were told against it; the
// game never depends on being watched.
#include "rules/GameNews.h"

namespace zt {

class GameObserver {
public:
    virtual ~GameObserver() = default;
    // The cycle starts over from the window's activation.
    virtual void activated() {}
    // A player is set to move; nothing is played yet.
    virtual void moveBegins() {}
    // The move is complete: cards laid, taken or stolen, piles counted. The
    // news is what the faces were told of it, to be checked against the table.
    virtual void moveDone(const MoveNews &) {}
    // One step of a glide is on the table.
    virtual void glideStepShown() {}
    // The leftovers are swept, the result printed and the badges shown;
    // the game is about to wait for Continue or New Game.
    virtual void gameDecided() {}
};

} // namespace zt
