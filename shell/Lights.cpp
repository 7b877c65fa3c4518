#include "shell/Lights.h"

namespace zt::lights {

void disegno_bottoni(const GameState &s, Elements &e) {
    auto show = [&e](std::initializer_list<int> badges) {
        for (int b : badges) e.Image1[b]->setVisible(true);
    };
    switch (s.matchTally) {
    case 5: show({1}); break;
    case 7: show({3}); break;
    case 10: show({2}); break;
    case 12: show({1, 3}); break;
    case 14: show({4}); break;
    case 17: show({1, 2}); break;
    case 19: show({3, 4}); break;
    default:
        for (int b = 1; b <= 4; ++b) e.Image1[b]->setVisible(false);
    }
}

void park(Elements &e) {
    for (int i = 0; i <= 1; ++i) {
        e.Verde[i]->move(800, 600);
        e.Rosso[i]->move(800, 600);
    }
}

void placeForPlay(const GameState &s, Elements &e) {
    const double humanTop = 600 - s.cardHeight / 2 - 32;
    e.Verde[0]->move(620, humanTop);
    e.Rosso[0]->move(620, humanTop);
    e.Verde[1]->move(620, s.cardHeight / 2);
    e.Rosso[1]->move(620, s.cardHeight / 2);
}

void toMove(Elements &e, int player) {
    // Element 0 is the human's light, element 1 the computer's.
    const int mover = player == kHuman ? 0 : 1;
    e.Verde[mover]->bringToFront();
    e.Rosso[1 - mover]->bringToFront();
}

void hide(Elements &e) {
    for (int i = 0; i <= 1; ++i) {
        e.Verde[i]->setVisible(false);
        e.Rosso[i]->setVisible(false);
    }
}

} // namespace zt::lights
