#include "shell/TableReading.h"

#include "rules/TurnFlow.h"

#include <QGraphicsScene>
#include <algorithm>

namespace zt {

bool TableReading::inPlay() const {
    // The lights are out between games; the first deal ends the shuffle.
    return e_.Verde[0]->isVisible() && s_.dealPos >= 7 && !s_.finalSweep;
}

std::array<int, 3> TableReading::hand() const {
    std::array<int, 3> out{};
    if (s_.dealPos < 7) return out;
    // The last deal's three cards, slot by slot, while they are still held.
    for (int slot = 0; slot <= 2; ++slot) {
        const int k = s_.deck[s_.dealPos - 2 + slot];
        if (placeOf(k) == Place::Hand) out[slot] = k;
    }
    return out;
}

std::vector<int> TableReading::table() const {
    std::vector<int> out;
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (const int k = s_.tableCards[row][col]; k != 0 && placeOf(k) == Place::Table) out.push_back(k);
    for (int j = 1; j <= s_.extraN; ++j)
        if (placeOf(s_.extraCards[j]) == Place::Table) out.push_back(s_.extraCards[j]);
    return out;
}

std::vector<int> TableReading::computerSlots() const {
    std::vector<int> out;
    for (int i = 0; i <= 2; ++i)
        if (e_.dorso[i]->isVisible() && e_.dorso[i]->tag.toInt() != 0 && (inPlay() || s_.finalSweep)) out.push_back(i);
    return out;
}

Place TableReading::placeOf(int k) const {
    if (k < 1 || k > 40 || s_.finalSweep) return Place::None;
    const PictureItem *c = e_.carta[k];
    if (!c->isVisible()) return Place::None;
    if (c->tag == QLatin1String("jolly")) {
        if (k == s_.playedCard && s_.turnPlayer == kHuman) return Place::Played;
        for (int slot = 0; slot <= 2 && s_.dealPos >= 7; ++slot)
            if (s_.deck[s_.dealPos - 2 + slot] == k) return Place::Hand;
        return Place::None;
    }
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (s_.tableCards[row][col] == k) return Place::Table;
    for (int j = 1; j <= s_.extraN; ++j)
        if (s_.extraCards[j] == k) return Place::Table;
    // A card that stops being a pile top keeps its tag: only pileTop counts.
    if (k == s_.pileTop[kComputer] && c->tag == QLatin1String("2")) return Place::ComputerPile;
    if (k == s_.pileTop[kHuman] && c->tag == QLatin1String("1")) return Place::OwnPile;
    return Place::None;
}

int TableReading::toMove() const { return inPlay() ? s_.turnPlayer : 0; }

std::optional<GameResult> TableReading::result() const {
    // Decided once the lights go out after the sweep, until the next setup.
    if (!s_.finalSweep || e_.Verde[0]->isVisible()) return std::nullopt;
    return TurnFlow::resultOf(s_);
}

QStringList TableReading::printed() const {
    QStringList out;
    if (!inPlay() && !s_.finalSweep) return out;
    out << TurnFlow::gameLine(s_.gameNo);
    if (const std::optional<GameResult> r = result()) out << TurnFlow::resultLines(*r) << TurnFlow::continueHint();
    return out;
}

std::vector<int> TableReading::focusOrder() const {
    std::vector<int> order;
    for (int k : hand())
        if (k != 0) order.push_back(k);
    // Beside the grid a card only waits for the sweep.
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (const int k = s_.tableCards[row][col]; k != 0 && placeOf(k) == Place::Table) order.push_back(k);
    if (placeOf(s_.pileTop[kComputer]) == Place::ComputerPile) order.push_back(s_.pileTop[kComputer]);
    return order;
}

TextPanel *TableReading::panelOver(int card) const {
    if (card < 1 || card > 40) return nullptr;
    // What a click at the card's middle reaches first.
    const QPointF middle = e_.carta[card]->sceneBoundingRect().center();
    for (QGraphicsItem *item : e_.scene->items(middle, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        if (item == e_.carta[card]) return nullptr;
        for (TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
            if (item == t && t->isVisible()) return t;
    }
    return nullptr;
}

std::vector<int> TableReading::reachable() const {
    std::vector<int> order = focusOrder();
    std::erase_if(order, [this](int k) { return panelOver(k) != nullptr; });
    return order;
}

TextPanel *TableReading::topPanel() const {
    for (QGraphicsItem *item : e_.scene->items(Qt::DescendingOrder))
        for (TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
            if (item == t && t->isVisible()) return t;
    return nullptr;
}

} // namespace zt
