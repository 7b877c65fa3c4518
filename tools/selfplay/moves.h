#pragma once
// Reads what a move did from the state and the card items: the table, the
// hands and the piles as the move found them, compared with what it left.
// Nothing is taken from the game's own account of its decisions.
#include "shell/MainWindow.h"
#include "shell/TableReading.h"

#include <cmath>
#include <vector>

namespace zt::selfplay {

using Cards = std::vector<int>;

struct MoveRecord {
    int deal = 0;   // 1..6
    int player = 0; // 1 human, 2 computer
    int slot = 0;   // hand slot the card came from
    int card = 0;
    enum Kind { Place, Capture, Steal } kind = Place;
    Cards taken;             // table cards, in scan order
    int row = 0, column = 0; // where a placed card lies; 0 beside the grid
    bool stealTry = false;   // the computer's pile top was selected
    int piles[3] = {0, 0, 0};
};

// The cards on the grid, in scan order.
inline Cards gridCards(const GameState &s) {
    Cards out;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (s.tableCards[row][col] != 0) out.push_back(s.tableCards[row][col]);
    return out;
}

inline bool onGrid(const GameState &s, int card) {
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (s.tableCards[row][col] == card) return true;
    return false;
}

// The table and the hands at one moment.
struct TableView {
    Cards grid;   // scan order
    Cards beside; // cards laid beside a full grid
    int human[3] = {0, 0, 0};
    int computer[3] = {0, 0, 0};
    int pileTop[3] = {0, 0, 0};
    int pileCount[3] = {0, 0, 0};
    int deal = 0;

    static TableView of(MainWindow &w) {
        const GameState &s = w.state();
        const Elements &e = w.elements();
        TableView v;
        v.grid = gridCards(s);
        for (int j = 1; j <= s.extraN; ++j) v.beside.push_back(s.extraCards[j]);
        const std::array<int, 3> hand = TableReading(s, e).hand();
        for (int slot = 0; slot <= 2; ++slot) v.human[slot] = hand[slot];
        for (int i = 0; i <= 2; ++i) v.computer[i] = e.dorso[i]->tag.toInt();
        for (int p = 1; p <= 2; ++p) {
            v.pileTop[p] = s.pileTop[p];
            v.pileCount[p] = s.pileCount[p];
        }
        v.deal = (s.dealPos - 4) / 3;
        return v;
    }

    // The leftovers a final sweep finds.
    Cards leftovers() const {
        Cards out = grid;
        out.insert(out.end(), beside.begin(), beside.end());
        return out;
    }
};

// What the move that found the table as `before` did, read once it is done.
inline MoveRecord readMove(MainWindow &w, const TableView &before) {
    const GameState &s = w.state();
    const Elements &e = w.elements();
    MoveRecord m;
    m.deal = before.deal;
    m.player = s.turnPlayer;
    m.card = s.playedCard;
    const int *hand = m.player == kHuman ? before.human : before.computer;
    m.slot = -1;
    for (int i = 0; i <= 2; ++i)
        if (hand[i] == m.card) m.slot = i;
    const int other = 3 - m.player;
    if (m.card >= 1 && m.card <= 40 && e.carta[m.card]->tag.isEmpty()) {
        m.kind = MoveRecord::Place;
        for (int row = 1; row <= 3; ++row)
            for (int col = 1; col <= 4; ++col)
                if (s.tableCards[row][col] == m.card) m.row = row, m.column = col;
    } else if (before.pileTop[other] != 0 && s.pileTop[other] == 0) {
        m.kind = MoveRecord::Steal;
    } else {
        m.kind = MoveRecord::Capture;
        for (int c : before.grid)
            if (!onGrid(s, c) && !e.carta[c]->isVisible()) m.taken.push_back(c);
    }
    m.piles[1] = s.pileCount[kHuman];
    m.piles[2] = s.pileCount[kComputer];
    return m;
}

} // namespace zt::selfplay
