#pragma once
// What the player is told as the game goes, for those who cannot see the
// table: whose move it is, each move made, and the result once printed.
#include <QStringList>
#include <functional>
#include <vector>

namespace zt {

struct MoveNews {
    int player = 0; // 1 human, 2 computer
    int card = 0;
    enum Kind { Place, Capture, Steal } kind = Place;
    std::vector<int> taken; // table cards taken, in scan order
    int piles[3] = {0, 0, 0}; // cards in each pile after the move
};

struct GameNews {
    std::function<void(int player)> turn;
    std::function<void(const MoveNews &)> move;
    // The human's card can take: the table cards to take are to be chosen.
    std::function<void(int card)> choose;
    std::function<void(const QStringList &lines)> result;
};

} // namespace zt
