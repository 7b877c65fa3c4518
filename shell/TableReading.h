#pragma once
// Where the game stands, for the faces that cannot look at the table (the
// keys, the screen reader, the self-play tool, the tests): read from the
// state and the cards' own record, their tags and selection borders, never
// from where the pictures lie or what is printed.
#include "media/Elements.h"
#include "rules/GameNews.h"
#include "rules/GameState.h"

#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace zt {

// Where a card is, as a player would say it. None: the stock, inside a
// pile, the computer's hand, out of play.
enum class Place { None, Hand, Table, Played, ComputerPile, OwnPile };

class TableReading {
public:
    TableReading(const GameState &s, const Elements &e) : s_(s), e_(e) {}

    Place placeOf(int card) const;
    // The human's hand slot by slot, 0 where a slot is empty.
    std::array<int, 3> hand() const;
    // The table's cards in scan order, then those waiting beside the grid.
    std::vector<int> table() const;
    // The computer's hand slots that hold a card.
    std::vector<int> computerSlots() const;
    bool selected(int card) const { return card >= 1 && card <= 40 && e_.carta[card]->border() == 1; }
    // The player to move while play is on; 0 before the first move and after the last.
    int toMove() const;
    int taken(int player) const { return s_.pileCount[player]; }
    // The game's result once it is decided and printed.
    std::optional<GameResult> result() const;
    // Whether the game waits for Continue (false: for New Game).
    bool continues() const { return e_.menu.continue_->isEnabled(); }
    // The lines printed on the table, as printed.
    QStringList printed() const;

    // The cards a click could matter on, in a player's reading order: the
    // hand left to right, the table, then the computer's pile top.
    std::vector<int> focusOrder() const;
    // The open panel a click on the card reaches instead; null: the card itself.
    TextPanel *panelOver(int card) const;
    // The focus order less the cards a panel covers.
    std::vector<int> reachable() const;
    // The open panel on top of the others; null when none is open.
    TextPanel *topPanel() const;

private:
    bool inPlay() const;

    const GameState &s_;
    const Elements &e_;
};

} // namespace zt
