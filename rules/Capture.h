#pragma once
// Which table cards a played card captures: a card of its rank, which must be
// taken while there is one, or else cards whose ranks add up to its rank.
#include "rules/GameState.h"

#include <array>

namespace zt {

class PictureItem;
using CardPictures = std::array<PictureItem *, 41>;

// Entry n of a move's pick list: the card's code and where it stands,
// rounded to whole units (halves to even).
void listPick(GameState &s, int n, int code, const PictureItem *card);

class CaptureRules {
public:
    CaptureRules(GameState &s, CardPictures &carta) : s_(s), carta_(carta) {}

    // Builds the 255 subset patterns; once, at start-up.
    void Trova_Combinazioni();
    // For the human: may the played card capture, and must it take its rank?
    // For the computer: also marks the cards it takes, or sets playedCard = 0
    // when the card takes nothing.
    void combina();

private:
    GameState &s_;
    CardPictures &carta_;
};

} // namespace zt
