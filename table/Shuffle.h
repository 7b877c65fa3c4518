#pragma once
#include "media/Elements.h"
#include "rules/GameState.h"
#include "table/Pacing.h"
#include "table/Random.h"

namespace zt {

class MediaPlayer;

// Shuffles the 40 codes into deck(1..40) by rejection draws over 41 indices,
// drawing the whole deck again while the first four codes add up to 40.
void drawDeck(GameState &s, RandomSource &rnd);

// Paints the table colour over the window, upper half from the left and
// lower half from the right, and leaves the background in that colour.
QCoro::Task<> coloratavolo(Elements &e, Pacing &pacing, QColor colour);

// Prepares the cards of one game: deck, table deal, table, stock, music.
QCoro::Task<> Mescola(GameState &s, Elements &e, RandomSource &rnd, Pacing &pacing, MediaPlayer &music);

// Three cards each, human and computer alternately, slot by slot.
void daicarte(GameState &s, Elements &e);

} // namespace zt
