#pragma once
// The keyboard as a second hand on the same controls: keys press "GO", open
// the menu, choose its commands and click cards, always through the very
// handlers the mouse reaches. A focus walks the cards a click could matter
// on, drawn as its own frame once a key has been used.
#include "media/Elements.h"
#include "rules/GameState.h"
#include "shell/TableControls.h"
#include "shell/TableReading.h"

#include <QObject>

class QGraphicsView;

namespace zt {

class FocusFrame;

class KeyboardPlay : public QObject {
    Q_OBJECT
public:
    // Keys pressed anywhere in the window reach the game.
    KeyboardPlay(QWidget &window, QGraphicsView &view, const GameState &s, Elements &e, TableControls controls);

    int focusedCard() const { return focused_; }
    // The rules or information panel being read, when one has the keys.
    TextPanel *focusedPanel() const;
    // The human is to move: the focus goes to the first card in hand.
    void turnBegan(int player);
    // The card played can take: the focus goes to the first table card.
    void choosing();

signals:
    // The focus moved to a card (0: to none), or back from a panel to the cards.
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
    void focus(int card);
    void cardClicked(int index);
    void cardMoved();
    void updateFrame();

    QGraphicsView &view_;
    Elements &e_;
    TableReading reading_;
    TableControls controls_;
    FocusFrame *frame_;
    int focused_ = 0;
    bool keysUsed_ = false;
    bool panelFocus_ = false;
};

} // namespace zt
