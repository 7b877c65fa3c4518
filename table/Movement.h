#pragma once
#include "media/Elements.h"
#include "rules/GameObserver.h"
#include "rules/GameState.h"
#include "table/Pacing.h"
#include "table/Random.h"

namespace zt {

// Completes a move once the rules have decided it: lays the played card on a
// free slot, or glides it with the taken cards to the taker's pile and keeps
// the piles, the pile tops and the score line up to date.
class CardMovement {
public:
    CardMovement(GameState &s, Elements &e, Pacing &pacing, RandomSource &rnd)
        : s_(s), e_(e), pacing_(pacing), rnd_(rnd) {}

    QCoro::Task<> muovicarte();

    static int glideSteps(int cardSpeed) { return 500 / (cardSpeed ? cardSpeed : 4); }
    // Where the n-th card played onto a full table lies (n from 0).
    static QPointF extraPlace(int n, double W, double H, double midX);

    void setObserver(GameObserver *observer) { observer_ = observer; }

private:
    void placeOnTable();
    QCoro::Task<> glideToPile();
    void clearTakenSlots();

    GameState &s_;
    Elements &e_;
    Pacing &pacing_;
    RandomSource &rnd_;
    GameObserver *observer_ = nullptr;
};

} // namespace zt
