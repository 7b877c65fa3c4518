#include "rules/HumanPlayer.h"

#include "media/Texts.h"
#include "table/Delay.h"
#include "table/Places.h"

#include <cmath>

namespace zt {

void HumanPlayer::Carta_Click(int index) {
    GameState &s = g_.s;
    texts::hideAll(g_.e);
    if (s.turnPlayer == kComputer || s.clickLock == 100) return;
    PictureItem *card = g_.e.carta[index];
    if (s.playedCard == 0) {
        if (card->tag == QLatin1String("1")) return;
        if (card->tag == QLatin1String("jolly")) {
            s.playedCard = static_cast<i16>(index);
            g_.sounds.suona();
            card->move(places::playSpotLeft(s.midX), places::playSpotTop(s.cardHeight));
            g_.pacing.poke();
            return;
        }
    }
    if (card->tag != QLatin1String("jolly")) {
        card->setBorder(card->border() == 1 ? 0 : 1);
        g_.pacing.poke();
    }
}

void HumanPlayer::Mazzo_Click() { texts::hideAll(g_.e); }

QCoro::Task<> HumanPlayer::gioco1() {
    GameState &s = g_.s;
    s.playedCard = 0;
    co_await g_.pacing.waitUntil([&s] { return s.playedCard != 0; });
    ++s.playsThisDeal;
    s.stealFlag = kFalse;
    const int t = s.pileTop[kComputer];
    if (t != 0 && g_.e.carta[t]->border() != 0) {
        if (sameRank(s.playedCard, t)) s.stealFlag = kTrue;
        g_.sounds.Apri_suono(QStringLiteral("notify"));
        g_.sounds.suona();
        co_await ritardo(s, g_.pacing, 1.5f);
        g_.sounds.Apri_suono(QStringLiteral("carta"));
    }
}

QCoro::Task<> HumanPlayer::verifica(const std::function<void(int)> &choose) {
    GameState &s = g_.s;
    auto &carta = g_.e.carta;
    const int r = valore_carta(static_cast<u8>(s.playedCard));
    auto countSelected = [&] {
        int n = 0;
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 4; ++col)
                if (s.tableCards[row][col] != 0 && carta[s.tableCards[row][col]]->border() == 1) ++n;
        return n;
    };
    auto deselectAll = [&] {
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 4; ++col)
                if (s.tableCards[row][col] != 0) carta[s.tableCards[row][col]]->setBorder(0);
    };

    g_.capture.combina();
    if (s.canCapture) {
        if (choose) choose(s.playedCard);
        for (bool first = true;; first = false) {
            if (!first) {
                // An invalid selection is never reported: wait for the next click.
                s.clickLock = 0;
                co_await g_.pacing.nextPoke();
            }
            int n = 0, sum = 0;
            for (int row = 1; row <= 3; ++row)
                for (int col = 1; col <= 4; ++col) {
                    const int code = s.tableCards[row][col];
                    if (code == 0 || carta[code]->border() != 1) continue;
                    listPick(s, ++n, code, carta[code]);
                    sum += valore_carta(static_cast<u8>(code));
                }
            s.pickN = static_cast<i16>(n);
            s.pickSum = static_cast<i16>(sum);
            s.clickLock = 0;
            if (s.pickN > 1 && s.mustTakeEqual) continue;
            if (s.pickSum != r) continue;
            if (countSelected() == s.pickN) {
                s.clickLock = 100;
                break;
            }
            deselectAll();
        }
    } else {
        deselectAll();
        s.pickN = 0;
        s.pickSum = 0;
    }
    co_await ritardo(s, g_.pacing, 2);
}

} // namespace zt
