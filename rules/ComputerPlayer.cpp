#include "rules/ComputerPlayer.h"

#include "table/Delay.h"
#include "table/Places.h"

#include <cmath>

namespace zt {

int ComputerPlayer::handCard(int slot) const {
    // An empty or unreadable tag is an empty slot.
    bool ok = false;
    const int code = g_.e.dorso[slot]->tag.toInt(&ok);
    return ok && code >= 1 && code <= 40 ? code : 0;
}

QCoro::Task<> ComputerPlayer::gioco2() {
    GameState &s = g_.s;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col) g_.e.carta[s.tableCards[row][col]]->setBorder(0);

    bool chosen = false;
    if (s.pileCount[kHuman] != 0) {
        for (s.cpuSlot = 0; s.cpuSlot <= 2 && !chosen; ++s.cpuSlot) {
            const int card = handCard(s.cpuSlot);
            if (card == 0) continue;
            s.playedCard = static_cast<i16>(card);
            if (sameRank(s.playedCard, s.pileTop[kHuman])) {
                g_.sounds.Apri_suono(QStringLiteral("liscio"));
                s.stealFlag = kTrue;
                g_.sounds.suona();
                co_await ritardo(s, g_.pacing, 1.5f);
                g_.sounds.Apri_suono(QStringLiteral("carta"));
                chosen = true;
                break;
            }
        }
    }
    if (!chosen) {
        for (s.cpuSlot = 0; s.cpuSlot <= 2; ++s.cpuSlot) {
            const int card = handCard(s.cpuSlot);
            if (card == 0) continue;
            s.playedCard = static_cast<i16>(card);
            g_.capture.combina();
            if (s.playedCard != 0) {
                chosen = true;
                break;
            }
        }
    }
    if (!chosen) {
        do {
            s.cpuSlot = static_cast<i16>(std::floor(g_.rnd.next() * 3));
        } while (handCard(s.cpuSlot) == 0);
        s.playedCard = static_cast<i16>(handCard(s.cpuSlot));
        s.pickN = 0;
        s.pickSum = 0;
    }
    g_.sounds.suona();
    g_.e.dorso[s.cpuSlot]->setVisible(false);
    g_.e.carta[s.playedCard]->move(places::playSpotLeft(s.midX), places::playSpotTop(s.cardHeight));
    g_.e.dorso[s.cpuSlot]->tag = QStringLiteral("0");
    co_await ritardo(s, g_.pacing, 2);
}

} // namespace zt
