#pragma once
// One whole game: six deals of three cards each, the players alternating and
// the starter leading every deal, then the reckoning and the wait to go on.
#include "rules/ComputerPlayer.h"
#include "rules/GameNews.h"
#include "rules/GameObserver.h"
#include "rules/HumanPlayer.h"

namespace zt {

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

    void setObserver(GameObserver *observer) { observer_ = observer; }
    GameNews news;

private:
    void beginMove(int player);
    QCoro::Task<> computerMove();
    QCoro::Task<> humanMove();
    QCoro::Task<> completeMove();
    void print(double x, const QString &line);

    GameParts g_;
    HumanPlayer &human_;
    ComputerPlayer &computer_;
    GameObserver *observer_ = nullptr;
};

} // namespace zt
