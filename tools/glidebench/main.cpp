// Glide benchmark: one capture glide at card speeds 1, 4 and 10 on an
// 800 x 600 view with real pacing, reporting how evenly the steps were shown.
//
//   QT_QPA_PLATFORM=offscreen zentolletto-glidebench [repeats]
#include "media/Elements.h"
#include "rules/GameState.h"
#include "shell/GameView.h"
#include "table/Movement.h"
#include "table/Pacing.h"
#include "table/Places.h"
#include "table/Random.h"

#include <QApplication>
#include <QGraphicsScene>
#include <QWidget>
#include <qcoro/qcorotask.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace zt;

namespace {

// The human plays an 8 from the play spot and takes a 3 and a 5.
void stageCapture(GameState &s, Elements &e, int speed) {
    for (int code = 1; code <= 40; ++code) {
        e.carta[code]->setVisible(false);
        e.carta[code]->setBorder(0);
        e.carta[code]->tag.clear();
    }
    s.eraseTable();
    s.pileTop = {};
    s.pileCount = {0, 10, 10};
    s.cardSpeed = static_cast<u8>(speed);
    s.turnPlayer = kHuman;
    s.otherPlayer = kComputer;
    s.stealFlag = kFalse;
    s.finalSweep = kFalse;
    s.playedCard = 8;
    e.carta[8]->move(places::playSpotLeft(s.midX), places::playSpotTop(s.cardHeight));
    e.carta[8]->setVisible(true);
    const int taken[2][3] = {{3, 1, 2}, {15, 3, 4}};
    s.pickN = 2;
    for (int j = 1; j <= 2; ++j) {
        const auto [code, row, column] = taken[j - 1];
        s.tableCards[row][column] = static_cast<i16>(code);
        PictureItem *card = e.carta[code];
        card->move(places::slotLeft(s.cardWidth, column), places::slotTop(s.cardHeight, row));
        card->setVisible(true);
        card->setBorder(1);
        s.pickCards[j] = static_cast<i16>(code);
        s.pickLeft[j] = static_cast<i16>(card->left());
        s.pickTop[j] = static_cast<i16>(card->top());
    }
}

struct Stats {
    double totalMs = 0;
    int steps = 0;
    double mean = 0, min = 0, max = 0, stddev = 0;
};

Stats measure(const std::vector<Pacing::Clock::time_point> &times) {
    Stats st;
    st.steps = int(times.size());
    if (times.size() < 2) return st;
    st.totalMs = std::chrono::duration<double, std::milli>(times.back() - times.front()).count();
    std::vector<double> gaps;
    for (std::size_t i = 1; i < times.size(); ++i)
        gaps.push_back(std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count());
    double sum = 0;
    for (double g : gaps) sum += g;
    st.mean = sum / gaps.size();
    st.min = *std::min_element(gaps.begin(), gaps.end());
    st.max = *std::max_element(gaps.begin(), gaps.end());
    double sq = 0;
    for (double g : gaps) sq += (g - st.mean) * (g - st.mean);
    st.stddev = std::sqrt(sq / gaps.size());
    return st;
}

// When each step of the glides was shown.
struct StepClock : GameObserver {
    std::vector<Pacing::Clock::time_point> times;
    void glideStepShown() override { times.push_back(Pacing::Clock::now()); }
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, atoi(argv[1])) : 1;

    Elements e; // outlives the scene, whose items point into it
    QGraphicsScene scene;
    QWidget menuParent;
    buildElements(e, &scene, &menuParent);
    e.createDorsoCopies();
    GameView view(&scene);
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();

    GameState s;
    s.midX = 400;
    s.midY = 300;
    s.cardWidth = float(e.carta[1]->width());
    s.cardHeight = float(e.carta[1]->height());
    s.sideTop = {0, static_cast<i32>(std::nearbyint(595.0 - s.cardHeight)), 5};

    Pacing pacing;
    RandomSource rnd;
    CardMovement movement(s, e, pacing, rnd);
    StepClock clock;
    movement.setObserver(&clock);

    std::printf("step period %.3f ms, view %dx%d, platform %s\n", pacing.stepPeriod().count() / 1000.0,
                view.viewport()->width(), view.viewport()->height(), qPrintable(QGuiApplication::platformName()));
    std::printf("%5s %6s %11s %9s %9s %9s %9s\n", "speed", "steps", "first-last", "mean", "min", "max", "stddev");
    for (int speed : {1, 4, 10}) {
        for (int r = 0; r < repeats; ++r) {
            stageCapture(s, e, speed);
            clock.times.clear();
            QCoro::waitFor(movement.muovicarte());
            const Stats st = measure(clock.times);
            std::printf("%5d %6d %8.1f ms %6.3f ms %6.3f ms %6.3f ms %6.3f ms\n", speed, st.steps, st.totalMs, st.mean,
                        st.min, st.max, st.stddev);
        }
    }
    return 0;
}
