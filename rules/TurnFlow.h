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
    // The game just decided, from the piles and the tally counting it.
    static GameResult resultOf(const GameState &s);
    // The result's printed lines, and the hint printed under them.
    static QStringList resultLines(const GameResult &r);
    static QString continueHint() { return QStringLiteral("(menu to continue)"); }
    // The game's number, printed as play begins.
    static QString gameLine(int gameNo) { return QStringLiteral(" %1^ game").arg(gameNo); }

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
