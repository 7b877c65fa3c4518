#pragma once
// Playing by keys alone: key presses on the table, the focus walked with Tab.
#include "shell/FocusFrame.h"
#include "shell/KeyboardPlay.h"
#include "shell/TableReading.h"
#include "testsupport.h"
#include "tools/selfplay/bot.h"

namespace zt::test {

inline KeyboardPlay &keys(MainWindow &w) { return *w.findChild<KeyboardPlay *>(); }

inline bool frameShown(MainWindow &w) {
    for (QGraphicsItem *item : w.elements().scene->items())
        if (dynamic_cast<FocusFrame *>(item) && item->isVisible()) return true;
    return false;
}

// A key on the table; a key that may wake the game lets it run to its next wait.
inline void key(MainWindow &w, int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const int before = selfplay::wakes(w);
    QTest::keyClick(w.view(), Qt::Key(k), mods);
    if (k == Qt::Key_Space || k == Qt::Key_Return || mods != Qt::NoModifier) selfplay::settle(w, before);
}

// Tabs the focus onto the card and presses Space on it; false when Tab never
// reaches it.
inline bool pressCard(MainWindow &w, int card) {
    for (int i = 0; i < 20 && keys(w).focusedCard() != card; ++i) key(w, Qt::Key_Tab);
    if (keys(w).focusedCard() != card) return false;
    key(w, Qt::Key_Space);
    return true;
}

inline bool atEndOfGame(MainWindow &w) {
    return TableReading(w.state(), w.elements()).result().has_value();
}

// One human move by keys: Space on the card the focus starts on, then the
// first capture the rules allow, card by card.
inline bool keyMove(MainWindow &w) {
    GameState &s = w.state();
    const int card = keys(w).focusedCard();
    if (card == 0 || w.elements().carta[card]->tag != QLatin1String("jolly"))
        return qWarning("the focus is on card %d, not in hand", card), false;
    key(w, Qt::Key_Space);
    // Played: either it waits for its capture, or the move is over.
    if (s.playedCard != card || s.clickLock != 0 || s.turnPlayer != kHuman)
        return w.elements().carta[card]->tag != QLatin1String("jolly") ||
               (qWarning("Space did not play card %d", card), false);
    const auto options = selfplay::captureOptions(selfplay::gridCards(s), card);
    if (options.empty()) return true;
    for (int t : options.front())
        if (!pressCard(w, t)) return qWarning("Tab does not reach card %d", t), false;
    return true;
}

} // namespace zt::test
