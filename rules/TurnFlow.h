#pragma once
// One whole game: six deals of three cards each, the players alternating and
// the starter leading every deal, then the reckoning and the wait to go on.
#include "rules/ComputerPlayer.h"
#include "rules/HumanPlayer.h"

#include <functional>
#include <vector>

namespace zt {

// What one move did, for tools that record games.
struct MoveInfo {
    int deal = 0;   // 1..6
    int player = 0; // 1 human, 2 computer
    int slot = 0;   // hand slot the card came from
    int card = 0;
    enum Kind { Place, Capture, Steal } kind = Place;
    std::vector<int> taken; // table cards, in scan order
    int row = 0, column = 0; // where a placed card lies; 0 beside the grid
    bool stealTry = false;   // the computer's pile top was selected
    int piles[3] = {0, 0, 0};
};

struct SweepInfo {
    int taker = 0;
    std::vector<int> cards;
};

class TurnFlow {
public:
    TurnFlow(GameParts g, HumanPlayer &human, ComputerPlayer &computer) : g_(g), human_(human), computer_(computer) {}

    // Returns when the user chose Continue, or New Game after a match.
    QCoro::Task<> gioco();

    // The sweep, the result lines and the wait for Continue or New Game.
    QCoro::Task<> endOfGame();

    // Where a decided game leaves the match.
    enum class MatchState { GoesOn, FinalGame, Over };
    static MatchState afterDecidedGame(int tally);

    // Observers for recording tools; the game never depends on them.
    std::function<void(const MoveInfo &)> onMove;
    std::function<void(const SweepInfo &)> onSweep;
    std::function<void()> onGameDecided; // after the result lines, before the wait

private:
    void beginMove(int player);
    QCoro::Task<> computerMove();
    QCoro::Task<> humanMove();
    QCoro::Task<> completeMove(int slot, bool stealTry);
    void print(double x, const QString &line);

    GameParts g_;
    HumanPlayer &human_;
    ComputerPlayer &computer_;
};

} // namespace zt
