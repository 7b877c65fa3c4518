#pragma once
// The turn lights and the badges of games won in the match, shown as the
// game's news tells the window.
#include "media/Elements.h"
#include "rules/GameState.h"

namespace zt::lights {

// Shows the badges of the match tally; any other tally hides all four.
void disegno_bottoni(const GameState &s, Elements &e);
void park(Elements &e);
void placeForPlay(const GameState &s, Elements &e);
// Green for the player to move, red for the other.
void toMove(Elements &e, int player);
void hide(Elements &e);

} // namespace zt::lights
