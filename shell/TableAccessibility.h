#pragma once
// The table as a screen reader sees it: the view's accessible children are
// the things a player looks at (cards named by rank and suit, the computer's
// hidden cards, "GO", the turn light, the score, the printed result lines,
// the menu strip, the open rules), and a live line that tells what just happened.
#include "media/CardNames.h"
#include "media/Elements.h"
#include "rules/GameState.h"
#include "rules/TurnFlow.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAccessibleInterface;

namespace zt {

class GameView;
class TableElement;

class TableAccessibility : public QObject {
    Q_OBJECT
public:
    // What a screen reader's "press" reaches: the handlers a click reaches.
    struct Controls {
        std::function<void()> go;
        std::function<void()> menu;
        std::function<void(int)> card;
        std::function<int()> focusedCard;
    };

    TableAccessibility(GameView *view, const GameState &s, const Elements &e, Controls controls);
    ~TableAccessibility() override;

    // The things on the table now, in reading order: the computer's side,
    // the table, the human's side, then the words.
    QList<QAccessibleInterface *> children() const;
    QAccessibleInterface *focusedChild() const;

    // Tells whoever listens, as the live line's new name.
    void announce(const QString &text);
    QString announcement() const { return news_; }

    void turnBegan(int player);
    void moveMade(const MoveNews &m);
    void gameOver(const QStringList &lines);
    void focusMoved(int card);
    void cardClicked(int card);

    GameView *view() const { return view_; }
    const GameState &state() const { return s_; }
    const Elements &elements() const { return e_; }
    const Controls &controls() const { return controls_; }
    Speech speech() const { return speech_; }

private:
    TableElement *make(TableElement *element) const;
    void childrenChanged();

    QPointer<GameView> view_;
    const GameState &s_;
    const Elements &e_;
    Controls controls_;
    Speech speech_;
    QString news_;
    std::vector<TableElement *> cards_, backs_, panels_;
    mutable std::vector<TableElement *> lines_; // one per printed line, made as lines come
    TableElement *go_, *light_, *score_, *menu_, *live_;
    mutable std::vector<unsigned> ids_;
};

} // namespace zt
