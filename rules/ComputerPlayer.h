#pragma once
// The computer plays by fixed priorities: steal the human's pile if it can,
// else capture with the first card that can, else play a random card.
#include "rules/Game.h"

namespace zt {

class ComputerPlayer {
public:
    explicit ComputerPlayer(GameParts g) : g_(g) {}
    QCoro::Task<> gioco2();

private:
    int handCard(int slot) const;
    GameParts g_;
};

} // namespace zt
