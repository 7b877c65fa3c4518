#pragma once
// A bare table for the rules and table tests: every element on a scene of
// its own, no window, pauses and glides at zero delay unless a test says so.
#include "eventloop.h"
#include "media/AudioPlayer.h"
#include "playerlog.h"
#include "media/Elements.h"
#include "media/Sounds.h"
#include "rules/Capture.h"
#include "rules/Game.h"
#include "rules/GameState.h"
#include "table/Movement.h"
#include "table/Pacing.h"
#include "table/Places.h"
#include "table/Random.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGraphicsScene>
#include <QTemporaryDir>
#include <QWidget>
#include <qcoro/qcorotask.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

namespace zt::test {

// Plays back the values it is given; once they run out it either starts the
// loop again (when one was given) or goes on with a seeded stream.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom() { seed(7); }

    double next() override {
        ++calls;
        if (!script.empty()) {
            const double u = script.front();
            script.pop_front();
            return u;
        }
        if (!loop.empty()) return loop[loopPos++ % loop.size()];
        return RandomSource::next();
    }

    void feed(std::initializer_list<double> values) { script.insert(script.end(), values); }
    // A value that floor(u * n) turns into i.
    static double index(int i, int n) { return (i + 0.5) / n; }

    std::deque<double> script;
    std::vector<double> loop;
    std::size_t loopPos = 0;
    int calls = 0;
};

struct BareTable {
    QTemporaryDir programDir; // no sounds in it: every sound is silence
    Elements e; // outlives the scene, whose items point into it
    QGraphicsScene scene;
    QWidget menuParent;
    GameState s;
    Pacing pacing;
    ScriptedRandom rnd;
    AudioDevice device;
    MediaPlayer wave{MediaPlayer::Kind::WaveAudio, device};
    MediaPlayer music{MediaPlayer::Kind::Sequencer, device};
    test::PlayerLog waveLog{wave};
    test::PlayerLog musicLog{music};
    Sounds sounds{wave, e.menu, programDir.path()};
    CaptureRules capture{s, e.carta};
    CardMovement movement{s, e, pacing, rnd};
    GameParts parts{s, e, pacing, rnd, sounds, capture, movement};

    static constexpr double W = 62, H = 100;

    BareTable() {
        buildElements(e, &scene, &menuParent);
        e.createDorsoCopies();
        capture.Trova_Combinazioni();
        pacing.setZeroDelay(true);
        s.midX = 400;
        s.midY = 300;
        s.cardWidth = float(W);
        s.cardHeight = float(H);
        s.playRate = 20;
        s.cardSpeed = 4;
        s.sideTop = {0, 495, 5};
    }

    // Lays a card face up on a table slot.
    void put(int code, int row, int column) {
        s.tableCards[row][column] = static_cast<i16>(code);
        e.carta[code]->move(places::slotLeft(W, column), places::slotTop(H, row));
        e.carta[code]->setVisible(true);
    }

    // The computer's hand, one code per slot, 0 = empty slot.
    void computerHand(int a, int b, int c) {
        const int codes[3] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            e.dorso[i]->tag = QString::number(codes[i]);
            e.dorso[i]->setVisible(codes[i] != 0);
        }
    }

    void move(i16 player, i16 card) {
        s.turnPlayer = player;
        s.otherPlayer = static_cast<u8>(player == kHuman ? kComputer : kHuman);
        s.playedCard = card;
        s.pickN = 0;
        s.pickSum = 0;
        s.stealFlag = kFalse;
    }

    QList<int> selected() const {
        QList<int> codes;
        for (int code = 0; code <= 40; ++code)
            if (e.carta[code]->border() != 0) codes << code;
        return codes;
    }

    QList<int> picks() const {
        QList<int> codes;
        for (int j = 1; j <= s.pickN; ++j) codes << s.pickCards[j];
        return codes;
    }

    static void run(QCoro::Task<> &&task) { QCoro::waitFor(std::move(task)); }
};

} // namespace zt::test
