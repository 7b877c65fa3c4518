#pragma once
// The table as a screen reader sees it: the view's accessible children are
// the things a player looks at (cards named by rank and suit, the computer's
// hidden cards, "GO", the turn light, the score, the printed result lines,
// the menu strip, the open rules), a status bar with the latest news, and
// one of them focused whenever the table has the keyboard.
#include "media/CardNames.h"
#include "media/Elements.h"
#include "rules/GameState.h"
#include "rules/TurnFlow.h"

#include <QHash>
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
        std::function<const TextPanel *()> focusedPanel;
    };

    TableAccessibility(GameView *view, const GameState &s, const Elements &e, Controls controls);
    ~TableAccessibility() override;

    // The things on the table now, in reading order: the computer's side,
    // the table, the human's side, then the words.
    QList<QAccessibleInterface *> children() const;
    // What has the keyboard now: a panel being read, GO, or a card.
    QAccessibleInterface *focusedChild() const;

    // The latest news, as the status bar reads it.
    QString announcement() const { return news_; }
    // The latest pieces of news, in the order the screen reader was told them.
    const QStringList &told() const { return told_; }

    void turnBegan(int player);
    void moveMade(const MoveNews &m);
    void choosing(int card);
    void gameOver(const QStringList &lines);
    void focusMoved(int card);
    void cardClicked(int card);
    void refused(const QString &hint);
    // A panel's reading line moves by this many lines.
    void readLines(int delta);

    GameView *view() const { return view_; }
    const GameState &state() const { return s_; }
    const Elements &elements() const { return e_; }
    const Controls &controls() const { return controls_; }
    int readingLine(const TextPanel *panel) const { return lineOf_.value(panel); }
    QAccessibleInterface *statusBar() const;
    QAccessibleInterface *notice(int i) const;
    int noticeCount() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TableElement *make(TableElement *element) const;
    void childrenChanged();
    void tell(const QString &text);
    void update();
    void flush();
    void showNotice(const QString &text);

    QPointer<GameView> view_;
    const GameState &s_;
    const Elements &e_;
    Controls controls_;
    QString news_;
    QStringList told_;
    QStringList pending_;
    bool flushQueued_ = false;
    // The object the screen reader was last told has the focus.
    QAccessibleInterface *locus_ = nullptr;
    std::vector<TableElement *> notices_;
    size_t nextNotice_ = 0;
    QHash<const TextPanel *, int> lineOf_;
    std::vector<TableElement *> cards_, backs_, panels_;
    mutable std::vector<TableElement *> lines_; // one per printed line, made as lines come
    TableElement *go_, *light_, *score_, *menu_, *live_;
    mutable std::vector<unsigned> ids_;
};

} // namespace zt
