#include "table/Movement.h"

#include "rules/Capture.h"
#include "table/Places.h"

#include <algorithm>
#include <cmath>

namespace zt {

QPointF CardMovement::extraPlace(int n, double W, double H, double midX) {
    // Above and below the play spot, then above and below the game number
    // right of it; later rounds fan out a little from those four places,
    // away from the play spot, so none of them ever covers it, a hand, a
    // pile, the stock or a light.
    const double spot = places::playSpotLeft(midX);
    const double column = spot + W + 20;
    const QPointF base[4] = {{spot, places::slotTop(H, 1)},
                             {spot, places::slotTop(H, 3)},
                             {column, places::slotTop(H, 1)},
                             {column, places::slotTop(H, 3)}};
    const int round = std::min(n / 4, 6);
    const double down = n % 4 == 0 ? -1 : 1; // the place above the play spot fans upwards
    return base[n % 4] + QPointF(6.0 * round, down * 6.0 * round);
}

QCoro::Task<> CardMovement::muovicarte() {
    if (s_.stealFlag) {
        const int top = s_.pileTop[s_.otherPlayer];
        s_.pickN = 1;
        listPick(s_, 1, top, e_.carta[top]);
    }
    if (s_.pickN == 0)
        placeOnTable();
    else
        co_await glideToPile();
    clearTakenSlots();
}

void CardMovement::placeOnTable() {
    bool free = false;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) free = free || s_.tableCards[r][c] == 0;
    PictureItem *card = e_.carta[s_.playedCard];
    card->tag = QString();
    if (!free) {
        // No thirteenth slot: the card waits beside the grid for the sweep.
        const QPointF at = extraPlace(s_.extraN, s_.cardWidth, s_.cardHeight, s_.midX);
        card->move(at.x(), at.y());
        card->bringToFront();
        s_.extraCards[++s_.extraN] = s_.playedCard;
        return;
    }
    int row, column;
    do {
        const double u = rnd_.next(), v = rnd_.next();
        row = static_cast<int>(std::floor(u * 3 + 1));
        column = static_cast<int>(std::floor(v * 4 + 1));
    } while (s_.tableCards[row][column] != 0);
    const double W = e_.carta[1]->width(), H = e_.carta[1]->height();
    card->move(places::slotLeft(W, column), places::slotTop(H, row));
    s_.tableCards[row][column] = s_.playedCard;
}

QCoro::Task<> CardMovement::glideToPile() {
    int movedCount = 0;
    PictureItem *played = e_.carta[s_.playedCard];
    played->bringToFront();
    s_.moveStartX = static_cast<float>(played->left());
    s_.moveStartY = static_cast<i32>(std::nearbyint(played->top()));
    const int steps = glideSteps(s_.cardSpeed);
    const int T = s_.sideTop[s_.turnPlayer];
    const int n = s_.pickN;
    // Only the steps that reach the screen are placed; the last always is.
    const Pacing::Glide glide = pacing_.glideStart(steps, e_.scene);
    for (int k = 0; k < steps; k = co_await pacing_.glideNext(glide, k)) {
        played->move(s_.moveStartX - ((s_.moveStartX - 150.0f) / steps) * k,
                     s_.moveStartY - double((s_.moveStartY - T) * i32(k)) / steps);
        for (int j = 1; j <= n; ++j) {
            const int code = s_.pickCards[j];
            if (code == 0) continue;
            PictureItem *c = e_.carta[code];
            c->bringToFront();
            const double L = s_.pickLeft[j], Tp = s_.pickTop[j];
            c->move(L - ((L - 150.0) / steps) * k, Tp - double((i32(s_.pickTop[j]) - T) * i32(k)) / steps);
        }
        if (observer_) observer_->glideStepShown();
    }
    s_.lastTaker = static_cast<u8>(s_.turnPlayer);
    if (s_.pileTop[s_.turnPlayer] != 0) e_.carta[s_.pileTop[s_.turnPlayer]]->setVisible(false);
    for (int j = 1; j <= n; ++j) {
        if (s_.pickCards[j] == 0) continue;
        ++movedCount;
        e_.carta[s_.pickCards[j]]->setVisible(false);
    }
    if (s_.stealFlag) {
        s_.pileCount[s_.turnPlayer] += s_.pileCount[s_.otherPlayer] + 1;
        s_.pileCount[s_.otherPlayer] = 0;
        s_.pileTop[s_.otherPlayer] = 0;
        s_.stealFlag = kFalse;
    } else {
        s_.pileCount[s_.turnPlayer] += movedCount + 1;
        if (s_.finalSweep) s_.pileCount[s_.turnPlayer] -= 1;
    }
    e_.Label2->setCaption(QString::fromStdString(scoreLine(s_.pileCount[1], s_.pileCount[2])));
    played->tag = QString::number(s_.turnPlayer);
    s_.pileTop[s_.turnPlayer] = s_.playedCard;
}

void CardMovement::clearTakenSlots() {
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) {
            PictureItem *card = e_.carta[s_.tableCards[r][c]];
            if (card->border() == 1) {
                card->setBorder(0);
                s_.tableCards[r][c] = 0;
            }
        }
    for (int j = 1; j <= s_.pickN; ++j) s_.pickCards[j] = 0;
}

} // namespace zt
