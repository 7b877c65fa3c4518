#include "table/Shuffle.h"

#include "media/AudioPlayer.h"
#include "table/Places.h"

#include <QGraphicsScene>
#include <cmath>

namespace zt {

void drawDeck(GameState &s, RandomSource &rnd) {
    do {
        for (int i = 1; i <= 40; ++i) s.drawPool[i] = static_cast<i16>(i);
        s.drawPool[0] = 0;
        rnd.reseedFromClock();
        for (int p = 1; p <= 40;) {
            const int r = static_cast<int>(std::floor(rnd.next() * 41));
            if (r >= 0 && r <= 40 && s.drawPool[r] != 0) {
                s.deck[p] = s.drawPool[r];
                s.drawPool[r] = 0;
                ++p;
            }
        }
    } while (s.deck[1] + s.deck[2] + s.deck[3] + s.deck[4] == 40);
}

QCoro::Task<> coloratavolo(Elements &e, Pacing &pacing, QColor colour) {
    // The wipe takes about a quarter of a second, a few columns per step.
    constexpr int kColumnsPerStep = 12;
    constexpr int kSteps = (800 + kColumnsPerStep) / kColumnsPerStep + 1;
    e.wipe->setVisible(true);
    const Pacing::Glide glide = pacing.glideStart(kSteps, e.scene);
    for (int k = 0; k < kSteps; k = co_await pacing.glideNext(glide, k))
        e.wipe->setProgress(std::min(k * kColumnsPerStep + 1, 801), colour);
    e.scene->setBackgroundBrush(colour);
    e.wipe->setVisible(false);
}

QCoro::Task<> Mescola(GameState &s, Elements &e, RandomSource &rnd, Pacing &pacing, MediaPlayer &music) {
    s.eraseTable();
    drawDeck(s, rnd);
    s.cardWidth = static_cast<float>(e.carta[1]->width());
    s.cardHeight = static_cast<float>(e.carta[1]->height());
    e.LBLmenu->setVisible(true);
    e.Mazzo->setVisible(true);
    for (int i = 0; i <= 1; ++i) {
        e.Verde[i]->setVisible(true);
        e.Rosso[i]->setVisible(true);
    }
    s.dealPos = 0;
    for (int i = 1; i <= 4; ++i) {
        ++s.dealPos;
        s.tableCards[2][i] = s.deck[i];
        e.carta[s.deck[i]]->move(places::slotLeft(s.cardWidth, i), places::slotTop(s.cardHeight, 2));
    }
    // The table cards already lie there while the wipe lets events through:
    // a click must not select one into the first move.
    s.clickLock = 100;
    co_await coloratavolo(e, pacing, QColor(0, 112, 0));
    s.sideTop[1] = static_cast<i32>(std::nearbyint(595.0 - s.cardHeight));
    s.sideTop[2] = 5;
    e.Mazzo->move(places::kStockLeft, s.starter == 1 ? s.sideTop[1] : s.sideTop[2], s.cardWidth, s.cardHeight);
    music.command(QStringLiteral("Play"));
}

void daicarte(GameState &s, Elements &e) {
    for (int i = 0; i <= 2; ++i) {
        ++s.dealPos;
        const int p = s.dealPos;
        PictureItem *card = e.carta[s.deck[p]];
        card->move(places::handLeft(i), places::humanHandTop(s.cardHeight));
        card->tag = QStringLiteral("jolly");
        card->bringToFront();
        PictureItem *back = e.dorso[i];
        back->move(places::handLeft(i), places::kComputerHandTop, s.cardWidth, s.cardHeight);
        back->tag = QString::number(s.deck[p + 18]);
        back->bringToFront();
    }
}

} // namespace zt
