#pragma once
// Shared helpers for the tests: a window playing at zero delay in a folder of
// its own, and ways to let the event loop run until something happens.
#include "eventloop.h"
#include "playerlog.h"
#include "shell/MainWindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace zt::test {

// The window's players, found under their elements' names as Qt finds any child.
inline MediaPlayer &player(MainWindow &w, const char *name) {
    return *w.findChild<MediaPlayer *>(QLatin1String(name));
}
// The sound effects over the window's own player and menu.
inline Sounds soundsOf(MainWindow &w, const QString &dataDir) {
    return Sounds(player(w, "MMCw"), w.elements().menu, dataDir);
}

// Counts the cycle's passes and marks where the stack stood at each.
struct CycleWatch : GameObserver {
    int activations = 0;
    std::vector<quintptr> stackMarks;
    void activated() override {
        ++activations;
        stackMarks.push_back(reinterpret_cast<quintptr>(__builtin_frame_address(0)));
    }
};

struct Harness {
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    CycleWatch cycles;
    std::unique_ptr<MainWindow> window;

    // Zero delay unless realTime: then pauses and glides take their time.
    explicit Harness(std::optional<quint64> seed = 1, bool show = true, bool realTime = false) {
        WindowConfig cfg;
        cfg.programDir = programDir.path();
        cfg.configDir = configDir.path();
        cfg.zeroDelay = !realTime;
        cfg.seed = seed;
        window = std::make_unique<MainWindow>(cfg);
        window->setObserver(&cycles);
        if (show) {
            window->show();
            runUntil([&] { return window->cycleRunning(); });
        }
    }
    GameState &s() { return window->state(); }
    Elements &e() { return window->elements(); }
};

} // namespace zt::test

namespace zt::test {

// Clicks an element the way a person does: a real mouse click on the view.
inline void clickItem(MainWindow &w, QGraphicsItem *item) {
    const QPointF centre = item->mapToScene(item->boundingRect().center());
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, w.view()->mapFromScene(centre));
}

// True while the human is asked for a card.
inline bool humanToPlay(MainWindow &w) {
    const GameState &s = w.state();
    return w.cycleRunning() && s.turnPlayer == kHuman && s.clickLock == 0 && s.playedCard == 0;
}

// Plays the human's first hand card and, when a capture is due, selects
// a valid one: a card of the played rank, else the first subset that sums.
inline void playFirstCard(MainWindow &w) {
    GameState &s = w.state();
    Elements &e = w.elements();
    int card = 0;
    for (int k = 1; k <= 40 && !card; ++k)
        if (e.carta[k]->tag == QLatin1String("jolly")) card = k;
    QVERIFY(card != 0);
    w.Carta_Click(card);
    if (s.playedCard == 0 || s.clickLock == 100) return; // already settled
    std::vector<int> table;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            if (s.tableCards[r][c]) table.push_back(s.tableCards[r][c]);
    for (int t : table)
        if (sameRank(t, card)) return w.Carta_Click(t);
    const int n = int(table.size());
    for (int mask = 1; mask < (1 << n); ++mask) {
        int sum = 0, count = 0;
        for (int i = 0; i < n; ++i)
            if (mask & (1 << i)) sum += valore_carta(u8(table[i])), ++count;
        if (count < 2 || sum != valore_carta(u8(card))) continue;
        for (int i = 0; i < n; ++i)
            if (mask & (1 << i)) w.Carta_Click(table[i]);
        return;
    }
}

// Plays until the game's result is printed and the cycle waits to go on.
inline bool playToEndOfGame(MainWindow &w, int maxMoves = 100) {
    for (int i = 0; i < maxMoves; ++i) {
        QCoreApplication::processEvents();
        if (w.elements().printer->lines().contains(QStringLiteral("(menu to continue)"))) return true;
        if (!humanToPlay(w)) return false;
        playFirstCard(w);
    }
    return false;
}

} // namespace zt::test
