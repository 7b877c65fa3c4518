#pragma once
// What the window is told as the game goes: play beginning and ending, whose
// move it is, each move made, the match tally and the result once printed.
// The window shows the lights and badges from it, and tells it to those who
// cannot see the table.
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

// A decided game, and where it leaves the match.
struct GameResult {
    int winner = 0;        // 1 human, 2 computer, 0 a draw
    bool finalGame = false; // one game each: the next decides the match
    int matchWinner = 0;   // the match is over, won by this player; 0 it goes on
};

struct GameNews {
    // The table is dealt and the first move is next.
    std::function<void()> playBegins;
    std::function<void(int player)> turn;
    std::function<void(const MoveNews &)> move;
    // The human's card can take: the table cards to take are to be chosen.
    std::function<void(int card)> choose;
    // The last cards have left the table; nobody is to move.
    std::function<void()> playEnds;
    // The match tally counts the game just decided (a draw leaves it be).
    std::function<void()> tallied;
    // The result is printed; the game waits for Continue or New Game.
    std::function<void(const GameResult &)> result;
};

} // namespace zt
