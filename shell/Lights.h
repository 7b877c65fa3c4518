#pragma once
// The turn lights and the badges of games won in the match.
#include "media/Elements.h"
#include "rules/GameState.h"

namespace zt::lights {

// Shows the badges of the match tally; any other tally hides all four.
void disegno_bottoni(const GameState &s, Elements &e);
void park(Elements &e);
void placeForPlay(const GameState &s, Elements &e);
void humanToMove(Elements &e);
void computerToMove(Elements &e);
void hide(Elements &e);

} // namespace zt::lights
