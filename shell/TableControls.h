#pragma once
// What the keys and the screen reader may do to the game: the handlers a
// click reaches, so neither needs the window.
#include <functional>

namespace zt {

struct TableControls {
    std::function<void()> go;        // "GO"
    std::function<void()> menu;      // the menu strip
    std::function<void()> bareTable; // a click on the table itself: the panels close
    std::function<void(int)> card;   // a card's click
};

} // namespace zt
