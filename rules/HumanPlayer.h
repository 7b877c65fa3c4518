#pragma once
// The human plays with the mouse: a hand card to play, table cards to take,
// the computer's pile top (before playing) to steal.
#include "rules/Game.h"

#include <functional>

namespace zt {

class HumanPlayer {
public:
    explicit HumanPlayer(GameParts g) : g_(g) {}

    void Carta_Click(int index);
    void Mazzo_Click();
    // Waits for the played card and tells whether it steals.
    QCoro::Task<> gioco1();
    // Waits until the selection is a valid capture, or finds none is possible;
    // tells `choose` when there is one to make.
    QCoro::Task<> verifica(const std::function<void(int)> &choose = {});

private:
    GameParts g_;
};

} // namespace zt
