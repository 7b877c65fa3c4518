#pragma once
// The table as a screen reader sees it: the view's accessible children are
// the things a player looks at (cards named by rank and suit, the computer's
// hidden cards, "GO", the turn light, the score, the printed result lines,
// the menu strip, the open rules), a status bar with the latest news, and
// one of them focused whenever the table has the keyboard.
#include "media/CardNames.h"
#include "media/Elements.h"
#include "rules/GameState.h"
#include "rules/GameNews.h"
#include "shell/TableControls.h"
#include "shell/TableReading.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAccessibleInterface;

namespace zt {

class GameView;
class CardThing;
class NoticeThing;
class PanelThing;
class TableThing;

class TableAccessibility : public QObject {
    Q_OBJECT
public:
    // Where the keys are: a card, or a panel being read.
    struct Focus {
        std::function<int()> card;
        std::function<const TextPanel *()> panel;
    };

    // A screen reader's "press" reaches the handlers a click reaches.
    TableAccessibility(GameView *view, const GameState &s, const Elements &e, TableControls controls, Focus focus);
    ~TableAccessibility() override;

    // The things on the table now, in reading order: the computer's side,
    // the table, the human's side, then the words.
    QList<QAccessibleInterface *> children() const;
    // What has the keyboard now: a panel being read, GO, or a card.
    QAccessibleInterface *focusedChild() const;

    // The latest news, as the status bar reads it.
    QString announcement() const { return news_; }

    void turnBegan(int player);
    void moveMade(const MoveNews &m);
    void choosing(int card);
    void gameOver(const GameResult &result);
    void focusMoved(int card);
    void cardClicked(int card);
    void refused(const QString &hint);
    // A panel's reading line moves by this many lines.
    void readLines(int delta);

    GameView *view() const { return view_; }
    const Elements &elements() const { return e_; }
    const TableReading &reading() const { return reading_; }
    const TableControls &controls() const { return controls_; }
    int readingLine(const TextPanel *panel) const { return lineOf_.value(panel); }
    QAccessibleInterface *statusBar() const;
    QAccessibleInterface *notice(int i) const;
    int noticeCount() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <class Thing> Thing *make(Thing *element) const;
    void childrenChanged();
    void tell(const QString &text);
    void update();
    void flush();
    void showNotice(const QString &text);

    QPointer<GameView> view_;
    const Elements &e_;
    TableReading reading_;
    TableControls controls_;
    Focus focus_;
    QString news_;
    QStringList pending_;
    bool flushQueued_ = false;
    // A card clicked since the last flush: its selection is read after the click.
    int clicked_ = 0;
    // The focus is to be named though it did not move (a panel or the menu closed).
    bool nameFocus_ = false;
    // The object that last had the table's focus, and the last one the
    // screen reader was sent a focus event for.
    QAccessibleInterface *locus_ = nullptr;
    QAccessibleInterface *readerFocus_ = nullptr;
    std::vector<NoticeThing *> notices_;
    size_t nextNotice_ = 0;
    QHash<const TextPanel *, int> lineOf_;
    std::vector<CardThing *> cards_;
    std::vector<TableThing *> backs_;
    std::vector<PanelThing *> panels_;
    mutable std::vector<TableThing *> lines_; // one per printed line, made as lines come
    TableThing *go_, *light_, *score_, *menu_, *live_;
    mutable std::vector<unsigned> ids_;
};

} // namespace zt
