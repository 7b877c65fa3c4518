#pragma once
// The keyboard as a second hand on the same controls: keys press "GO", open
// the menu, choose its commands and click cards, always through the very
// handlers the mouse reaches. A focus walks the cards a click could matter
// on, drawn as its own frame once a key has been used.
#include "media/Elements.h"
#include "rules/GameState.h"

#include <QObject>
#include <vector>

namespace zt {

class FocusFrame;
class MainWindow;

// The cards the focus visits, in a player's reading order: the hand left to
// right, the table in scan order, then the computer's pile top. Only cards
// lying at their place count: a card on its way somewhere is none of these.
std::vector<int> focusOrder(const GameState &s, const Elements &e);

class KeyboardPlay : public QObject {
    Q_OBJECT
public:
    explicit KeyboardPlay(MainWindow &window);

    int focusedCard() const { return focused_; }
    // The rules or information panel being read, when one has the keys.
    const TextPanel *focusedPanel() const;
    bool frameShown() const;
    // The human is to move: the focus goes to the first card in hand.
    void turnBegan(int player);
    // The card played can take: the focus goes to the first table card.
    void choosing();

signals:
    // The focus moved to a card (0: to none).
    void focusMoved(int card);
    // Up or Down on an open panel.
    void readLines(int delta);
    // A key whose command is not available now, and what to press instead.
    void refused(const QString &hint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyPressed(int key, Qt::KeyboardModifiers mods);
    void step(int delta);
    // The focus order less the cards a panel covers: a click there reaches the panel.
    std::vector<int> reachable() const;
    void focus(int card);
    void cardClicked(int index);
    void cardMoved();
    void updateFrame();

    MainWindow &w_;
    GameState &s_;
    Elements &e_;
    FocusFrame *frame_;
    int focused_ = 0;
    bool keysUsed_ = false;
    bool panelFocus_ = false;
};

} // namespace zt
