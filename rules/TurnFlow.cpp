#include "rules/TurnFlow.h"

#include "table/Delay.h"
#include "table/Places.h"
#include "table/Shuffle.h"

#include <cmath>

namespace zt {

void TurnFlow::print(double x, const QString &line) {
    g_.e.printer->currentX = x;
    g_.e.printer->print(line);
}

void TurnFlow::beginMove(int player) {
    GameState &s = g_.s;
    s.turnPlayer = static_cast<i16>(player);
    s.otherPlayer = static_cast<u8>(3 - player);
    s.playedCard = 0;
    s.pickN = 0;
    s.pickSum = 0;
    s.stealFlag = kFalse;
    if (news.turn) news.turn(player);
    if (observer_) observer_->moveBegins();
}

QCoro::Task<> TurnFlow::computerMove() {
    GameState &s = g_.s;
    beginMove(kComputer);
    co_await ritardo(s, g_.pacing, 1);
    co_await computer_.gioco2();
    ++s.playsThisDeal;
    co_await completeMove();
}

QCoro::Task<> TurnFlow::humanMove() {
    GameState &s = g_.s;
    beginMove(kHuman);
    s.clickLock = 0;
    co_await human_.gioco1();
    if (!s.stealFlag) {
        g_.e.carta[s.pileTop[kComputer]]->setBorder(0);
        co_await human_.verifica(news.choose);
        s.clickLock = 100;
    } else {
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 4; ++col) g_.e.carta[s.tableCards[row][col]]->setBorder(0);
    }
    co_await completeMove();
}

QCoro::Task<> TurnFlow::completeMove() {
    GameState &s = g_.s;
    MoveNews m;
    m.player = s.turnPlayer;
    m.card = s.playedCard;
    m.kind = s.stealFlag ? MoveNews::Steal : s.pickN > 0 ? MoveNews::Capture : MoveNews::Place;
    if (m.kind == MoveNews::Capture)
        for (int j = 1; j <= s.pickN; ++j)
            if (s.pickCards[j] != 0) m.taken.push_back(s.pickCards[j]);
    co_await g_.movement.muovicarte();
    m.piles[kHuman] = s.pileCount[kHuman];
    m.piles[kComputer] = s.pileCount[kComputer];
    if (news.move) news.move(m);
    if (observer_) observer_->moveDone(m);
}

QCoro::Task<> TurnFlow::gioco() {
    GameState &s = g_.s;
    Elements &e = g_.e;
    e.Picture2->setVisible(false);
    s.playsThisDeal = 0;
    s.pileCount = {};
    e.LBLmenu->setBackground(Qt::black);
    if (news.playBegins) news.playBegins();
    e.printer->currentX = s.midX + 280;
    e.printer->currentY = s.midY - 20;
    e.printer->foreColor = Qt::white;
    e.printer->fontSize = 12;
    e.printer->print(gameLine(s.gameNo));

    // Each deal: the starter plays first and the players alternate, six plays.
    for (;;) {
        bool computerTurn = s.starter == 1;
        while (true) {
            if (computerTurn) {
                co_await computerMove();
                s.finalSweep = kFalse;
                if (s.playsThisDeal != 6) {
                    computerTurn = false;
                    continue;
                }
            } else {
                co_await humanMove();
                if (s.playsThisDeal != 6) {
                    computerTurn = true;
                    continue;
                }
                s.finalSweep = kFalse;
            }
            break;
        }
        if (s.dealPos == 22) break;
        co_await ritardo(s, g_.pacing, 1);
        s.playsThisDeal = 0;
        daicarte(s, e);
        if (s.dealPos == 22) e.Mazzo->setVisible(false);
        for (int i = 0; i <= 2; ++i) e.dorso[i]->setVisible(true);
    }
    co_await endOfGame();
}

TurnFlow::MatchState TurnFlow::afterDecidedGame(int tally) {
    // A drawn first game must not let a single win end the match: only two
    // wins of one player (10, 14) or a won final game (17, 19) end it.
    switch (tally) {
    case 12: return MatchState::FinalGame;
    case 10: case 14: case 17: case 19: return MatchState::Over;
    default: return MatchState::GoesOn;
    }
}

GameResult TurnFlow::resultOf(const GameState &s) {
    GameResult r;
    if (s.pileCount[kHuman] == s.pileCount[kComputer]) return r;
    r.winner = s.pileCount[kHuman] > s.pileCount[kComputer] ? kHuman : kComputer;
    const MatchState m = afterDecidedGame(s.matchTally);
    r.finalGame = m == MatchState::FinalGame;
    if (m == MatchState::Over) r.matchWinner = s.matchTally == 10 || s.matchTally == 17 ? kHuman : kComputer;
    return r;
}

QStringList TurnFlow::resultLines(const GameResult &r) {
    if (r.winner == 0) return {QStringLiteral("The game finished as a draw")};
    QStringList lines{r.winner == kHuman ? QStringLiteral("Game for you") : QStringLiteral("Game for Computer")};
    if (r.finalGame) lines << QStringLiteral("Final game");
    if (r.matchWinner == kHuman) lines << QStringLiteral("You are the winner");
    if (r.matchWinner == kComputer) lines << QStringLiteral("Computer is the winner");
    return lines;
}

QCoro::Task<> TurnFlow::endOfGame() {
    GameState &s = g_.s;
    Elements &e = g_.e;

    // The leftovers go to the last taker. Nobody captured at all only when
    // every play went to the table; then the dealer, who did not lead, takes
    // them, so no card is left out of both piles.
    s.finalSweep = kTrue;
    if (s.lastTaker == 0) s.lastTaker = static_cast<u8>(s.starter == 1 ? kHuman : kComputer);
    s.turnPlayer = s.lastTaker;
    s.otherPlayer = static_cast<u8>(3 - s.lastTaker);
    co_await ritardo(s, g_.pacing, 1);
    int n = 0;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col) {
            const int code = s.tableCards[row][col];
            if (code != 0) listPick(s, ++n, code, e.carta[code]);
        }
    for (int j = 1; j <= s.extraN; ++j) {
        listPick(s, ++n, s.extraCards[j], e.carta[s.extraCards[j]]);
        s.extraCards[j] = 0;
    }
    s.extraN = 0;
    s.canCapture = kFalse;
    s.pickN = static_cast<i16>(n);
    if (n > 0) {
        // Listed, not selected: they glide unframed and their slots are
        // erased by the next setup.
        s.stealFlag = kFalse;
        co_await g_.movement.muovicarte();
    }
    for (int k = 1; k <= 40; ++k) e.carta[k]->move(places::kClearedLeft, places::kClearedTop);
    co_await ritardo(s, g_.pacing, 2);
    if (news.playEnds) news.playEnds();

    e.Command1->setVisible(false);
    e.printer->foreColor = Qt::white;
    e.printer->fontSize = 14;
    e.printer->currentY = s.midY;
    if (s.pileCount[kHuman] != s.pileCount[kComputer])
        s.matchTally = static_cast<u8>(s.matchTally + (s.pileCount[kHuman] > s.pileCount[kComputer] ? 5 : 7));
    const GameResult result = resultOf(s);
    // A draw's line starts further left.
    for (const QString &line : resultLines(result)) print(s.midX - (result.winner == 0 ? 80 : 25), line);

    if (result.matchWinner == 0) {
        if (news.tallied) news.tallied();
        print(s.midX - 25, continueHint());
        e.menu.continue_->setEnabled(true);
        s.continueRequested = 0;
        if (news.result) news.result(result);
        if (observer_) observer_->gameDecided();
        co_await g_.pacing.waitUntil([&s] { return s.continueRequested != 0; });
    } else {
        print(s.midX - 25, continueHint());
        if (news.tallied) news.tallied();
        e.menu.continue_->setEnabled(false);
        e.menu.new_game->setEnabled(true);
        s.newGameRequested = 0;
        if (news.result) news.result(result);
        if (observer_) observer_->gameDecided();
        co_await g_.pacing.waitUntil([&s] { return s.newGameRequested != 0; });
        s.gameNo = 0;
        s.matchTally = 0;
        s.pileCount[kHuman] = s.pileCount[kComputer] = 0;
        e.Label2->setCaption(QString::fromStdString(scoreLine(0, 0)));
    }
    for (int b = 1; b <= 4; ++b) e.Image1[b]->setVisible(false);
    s.starter = s.starter == 1 ? 2 : 1;
}

} // namespace zt
