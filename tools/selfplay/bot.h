#pragma once
// A player for the human's side that uses the real window the way a person
// does: mouse clicks on the cards and on "GO", the menu's Continue and New
// Game. It chooses at random among what the rules allow, records every
// finished game as the table shows it, and checks after each move that no
// card was lost or doubled, that the table shows whose move it is, and that
// the window was told the move the table shows.
#include "shell/KeyboardPlay.h"
#include "table/Places.h"
#include "tools/selfplay/moves.h"

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zt::selfplay {

// The table cards a played card may take: one card of its rank while there
// is one; else two or more candidates (no ten, none above its rank) adding up
// to its rank, searched only when there are at most eight candidates.
inline std::vector<Cards> captureOptions(const Cards &table, int played) {
    std::vector<Cards> out;
    const int r = valore_carta(static_cast<u8>(played));
    for (int t : table)
        if (sameRank(t, played)) out.push_back({t});
    if (!out.empty()) return out;
    Cards cand;
    for (int t : table)
        if (t % 10 != 0 && t % 10 <= r) cand.push_back(t);
    if (cand.size() < 2 || cand.size() > 8) return out;
    for (unsigned mask = 1; mask < (1u << cand.size()); ++mask) {
        Cards pick;
        int sum = 0;
        for (size_t i = 0; i < cand.size(); ++i)
            if (mask >> i & 1u) pick.push_back(cand[i]), sum += cand[i] % 10;
        if (sum == r) out.push_back(pick);
    }
    return out;
}

inline bool sameSet(Cards a, Cards b) {
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// The item the player sees at the middle of another: the topmost shown there.
inline const QGraphicsItem *shownAt(const Elements &e, const QGraphicsItem *item) {
    const QPointF centre = item->mapToScene(item->boundingRect().center());
    const QList<QGraphicsItem *> under = e.scene->items(centre, Qt::IntersectsItemShape, Qt::DescendingOrder);
    return under.isEmpty() ? nullptr : under.front();
}

inline bool isOption(const std::vector<Cards> &options, const Cards &pick) {
    return std::any_of(options.begin(), options.end(), [&](const Cards &o) { return sameSet(o, pick); });
}

// A real left click in the middle of an element, on the view's viewport.
inline void click(MainWindow &w, QGraphicsItem *item) {
    const QPointF centre = item->mapToScene(item->boundingRect().center());
    QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, {}, w.view()->mapFromScene(centre));
}

// Every handler wakes the game by a poke, which resumes it through a call
// queued to the pacing object; at zero delay the game then runs on, within
// that call, until it waits again. Counted from outside as those calls arrive.
struct WakeCount : QObject {
    int wakes = 0;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::MetaCall) ++wakes;
        return false;
    }
};
inline int wakes(MainWindow &w) {
    // Found by name: the class has no meta-object of its own to cast by.
    auto *count = static_cast<WakeCount *>(
        w.pacing().findChild<QObject *>(QStringLiteral("wakeCount"), Qt::FindDirectChildrenOnly));
    if (!count) {
        count = new WakeCount;
        count->setObjectName(QStringLiteral("wakeCount"));
        count->setParent(&w.pacing());
        w.pacing().installEventFilter(count);
    }
    return count->wakes;
}

// Posted events are delivered without going through the whole event loop,
// but all of them: Qt drops delivered ones from its queue only on an
// unfiltered pass, so a pass for one type alone leaves the queue to grow.
inline bool settle(MainWindow &w, int wakesBefore) {
    for (int i = 0; i < 100; ++i) {
        if (wakes(w) != wakesBefore || !w.cycleRunning()) return true;
        QCoreApplication::sendPostedEvents();
    }
    return wakes(w) != wakesBefore;
}

// Clicks and lets the game act on the click; false when the game never woke.
inline bool clickAndSettle(MainWindow &w, QGraphicsItem *item) {
    const int before = wakes(w);
    click(w, item);
    return settle(w, before);
}

// A key on the table, and the game let to act on it.
inline bool keyAndSettle(MainWindow &w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const int before = wakes(w);
    QTest::keyClick(w.view(), Qt::Key(key), mods);
    return settle(w, before);
}

// Chooses a menu command as a person can: only when it is enabled.
inline bool triggerAndSettle(MainWindow &w, QAction *action) {
    if (!action->isEnabled()) return false;
    const int before = wakes(w);
    action->trigger();
    return settle(w, before);
}

struct SweepRecord {
    int taker = 0;
    Cards cards;
};

// One finished game as the table showed it, for a checker that compares the
// printed result with the cards: the deck, every move read off the table,
// the sweep, the piles, every line printed on the table at the end and the
// games each player has won in the match as the badges show them.
struct GameRecord {
    int game = 0;
    int starter = 0;
    std::array<int, 41> deck{};
    std::vector<MoveRecord> moves;
    SweepRecord sweep;
    int piles[3] = {0, 0, 0};
    std::string result;
    int matchTally = 0;
    std::vector<std::string> printed; // every line on the table at the end, in order
    int badges[3] = {0, 0, 0};        // games won as the badges show them

    std::string toJson() const {
        auto list = [](const std::vector<int> &v) {
            std::string out = "[";
            for (size_t i = 0; i < v.size(); ++i) out += (i ? ", " : "") + std::to_string(v[i]);
            return out + "]";
        };
        auto text = [](const std::string &s) {
            std::string out = "\"";
            for (char c : s) {
                if (c == '"' || c == '\\') out += '\\';
                out += c;
            }
            return out + "\"";
        };
        auto num = [](int v) { return std::to_string(v); };
        std::string j = "{\"format\": 1, \"game\": " + num(game) + ", \"starter\": " + num(starter) + ", \"deck\": ";
        j += list(std::vector<int>(deck.begin() + 1, deck.end()));
        j += ", \"moves\": [";
        for (size_t i = 0; i < moves.size(); ++i) {
            const MoveRecord &m = moves[i];
            static const char *const kinds[] = {"place", "capture", "steal"};
            j += i ? ", " : "";
            j += "{\"deal\": " + num(m.deal) + ", \"player\": " + num(m.player) + ", \"slot\": " + num(m.slot) +
                 ", \"card\": " + num(m.card) + ", \"kind\": \"" + kinds[m.kind] + "\", \"taken\": " + list(m.taken) +
                 ", \"to\": " +
                 (m.kind == MoveRecord::Place ? "[" + num(m.row) + ", " + num(m.column) + "]" : std::string("null")) +
                 ", \"stealTry\": " + (m.stealTry ? "true" : "false") + ", \"piles\": [" + num(m.piles[1]) + ", " +
                 num(m.piles[2]) + "]}";
        }
        j += "], \"sweep\": {\"taker\": " + num(sweep.taker) + ", \"cards\": " + list(sweep.cards) + "}";
        j += ", \"piles\": [" + num(piles[1]) + ", " + num(piles[2]) + "], \"result\": \"" + result +
             "\", \"matchTally\": " + num(matchTally) + ", \"printed\": [";
        for (size_t i = 0; i < printed.size(); ++i) j += (i ? ", " : "") + text(printed[i]);
        j += "], \"badges\": [" + num(badges[1]) + ", " + num(badges[2]) + "]}";
        return j;
    }
};

class Bot : public GameObserver {
public:
    enum class Action { None, Go, Move, Continue, NewGame };

    struct Counts {
        int games = 0, humanWins = 0, computerWins = 0, draws = 0, matches = 0;
        int refused = 0; // wrong selections the game refused, as it must
    };

    // Chances in percent of the bot's detours.
    int stealTryChance = 20;
    int wrongSelectionChance = 25;
    int preselectChance = 10;
    // Keys instead of the mouse: Tab to a card and Space, Return for GO,
    // Ctrl+Return and Ctrl+N for the menu's commands.
    bool keys = false;

    Counts counts;
    // What went against the rules or lost track of a card; empty when all is well.
    std::vector<std::string> problems;
    // Called at the wait after each game, before the bot goes on.
    std::function<void(const GameRecord &)> onGame;

    Bot(MainWindow &w, quint64 seed) : w_(w), rng_(static_cast<std::mt19937::result_type>(seed)) {
        w_.setObserver(this);
    }
    ~Bot() override {
        w_.setObserver(nullptr);
    }
    Bot(const Bot &) = delete;
    Bot &operator=(const Bot &) = delete;

    // True once the bot met a state it cannot play on from.
    bool stuck() const { return stuck_; }

    // Does whatever the game waits for; None when it waits for nothing the
    // bot can give (the cycle not yet started, or stuck).
    Action step() {
        GameState &s = w_.state();
        Elements &e = w_.elements();
        if (stuck_ || !w_.cycleRunning()) {
            QCoreApplication::processEvents();
            return Action::None;
        }
        if (decided_) {
            decided_ = false;
            if (onGame) onGame(record_);
            Action a = Action::None;
            if (e.menu.continue_->isEnabled()) {
                if (!command(e.menu.continue_, Qt::Key_Return)) fail("Continue did not wake the game");
                a = Action::Continue;
            } else if (e.menu.new_game->isEnabled()) {
                if (!command(e.menu.new_game, Qt::Key_N)) fail("New Game did not wake the game");
                ++counts.matches;
                a = Action::NewGame;
            } else {
                fail("the game waits at its end with neither Continue nor New Game enabled");
            }
            ++counts.games;
            inGame_ = false;
            atEnd_ = false;
            return a;
        }
        if (e.Command1->isVisible()) {
            const bool woke = keys ? keyAndSettle(w_, Qt::Key_Return) : clickAndSettle(w_, e.Command1);
            if (!woke || e.Command1->isVisible()) fail("GO did not start the game");
            return Action::Go;
        }
        if (s.turnPlayer == kHuman && s.clickLock == 0 && s.playedCard == 0) {
            humanMove();
            return Action::Move;
        }
        QCoreApplication::processEvents();
        return Action::None;
    }

private:
    int below(size_t n) { return static_cast<int>(rng_() % n); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T> void shuffle(std::vector<T> &v) {
        for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[below(i)]);
    }

    void problem(const std::string &what) {
        std::string where = "game " + std::to_string(counts.games + 1);
        // During a move's check the move is already recorded; before it, not yet.
        const size_t move = !inGame_ ? 1 : record_.moves.size() + (checkingMove_ ? 0 : 1);
        if (!atEnd_) where += ", move " + std::to_string(move);
        problems.push_back(where + ": " + what);
    }
    void fail(const std::string &what) {
        problem(what);
        stuck_ = true;
    }

    bool command(QAction *action, int ctrlKey) {
        return keys ? action->isEnabled() && keyAndSettle(w_, ctrlKey, Qt::ControlModifier)
                    : triggerAndSettle(w_, action);
    }

    // A click the game never heard of means another element took it.
    bool press(int code) {
        if (keys) {
            for (int i = 0; i < 20 && w_.findChild<KeyboardPlay *>()->focusedCard() != code; ++i) QTest::keyClick(w_.view(), Qt::Key_Tab);
            if (w_.findChild<KeyboardPlay *>()->focusedCard() == code && keyAndSettle(w_, Qt::Key_Space)) return true;
            fail("the keys did not reach card " + std::to_string(code));
            return false;
        }
        if (clickAndSettle(w_, w_.elements().carta[code])) return true;
        fail("a click on card " + std::to_string(code) + " did not reach it");
        return false;
    }

    bool stillWaiting(int card, int movesBefore) const {
        const GameState &s = w_.state();
        return humanMoves_ == movesBefore && s.turnPlayer == kHuman && s.playedCard == card && s.clickLock == 0;
    }

    void humanMove() {
        GameState &s = w_.state();
        Elements &e = w_.elements();
        Cards hand;
        for (int k : TableReading(s, e).hand())
            if (k != 0) hand.push_back(k);
        std::sort(hand.begin(), hand.end());
        if (hand.empty()) return fail("the human is to play with no card in hand");
        const int movesBefore = humanMoves_;
        int card = hand[below(hand.size())];

        const int top = s.pileTop[kComputer];
        bool stealTry = false;
        if (top != 0 && chance(stealTryChance)) {
            Cards same;
            for (int h : hand)
                if (sameRank(h, top)) same.push_back(h);
            if (!same.empty() && chance(50)) card = same[below(same.size())];
            stealTry_ = true;
            if (!press(top)) return;
            if (e.carta[top]->border() != 1) problem("a click did not select the computer's pile top");
            stealTry = true;
        }
        const bool steals = stealTry && sameRank(card, top);
        const Cards table = gridCards(s);
        const std::vector<Cards> options = captureOptions(table, card);

        bool preselected = false;
        if (!options.empty() && chance(preselectChance)) {
            Cards pick = options[below(options.size())];
            shuffle(pick);
            for (int c : pick) {
                if (!press(c)) return;
                if (e.carta[c]->border() != 1) problem("a click before playing did not select a table card");
            }
            preselected = true;
        }

        if (!press(card)) return;
        if (humanMoves_ != movesBefore) {
            if (!steals && !options.empty() && !preselected) problem("the move ended before a capture was chosen");
            return;
        }
        if (s.playedCard != card) return fail("a click on a hand card did not play it");
        if (options.empty() || steals) return fail("the game waits for a selection though none is due");
        if (preselected) return fail("a valid selection made before playing was not accepted");

        if (chance(wrongSelectionChance)) wrongSelection(card, table, options, movesBefore);
        if (stuck_) return;
        Cards pick = options[below(options.size())];
        shuffle(pick);
        for (size_t i = 0; i < pick.size(); ++i) {
            if (!press(pick[i])) return;
            if (i + 1 < pick.size() && !stillWaiting(card, movesBefore))
                return fail("part of a selection was taken as the capture");
        }
        if (humanMoves_ == movesBefore) fail("a valid selection was refused");
    }

    // Selects table cards that are not a capture, checks the game holds
    // the move, then deselects them.
    void wrongSelection(int card, const Cards &table, const std::vector<Cards> &options, int movesBefore) {
        Elements &e = w_.elements();
        for (int attempt = 0; attempt < 8; ++attempt) {
            Cards pool = table;
            shuffle(pool);
            pool.resize(1 + below(std::min<size_t>(3, pool.size())));
            bool anyValid = false;
            for (size_t n = 1; n <= pool.size(); ++n)
                anyValid = anyValid || isOption(options, Cards(pool.begin(), pool.begin() + n));
            if (anyValid) continue;
            for (int c : pool) {
                if (!press(c)) return;
                if (!stillWaiting(card, movesBefore)) return fail("a wrong selection was accepted");
                if (e.carta[c]->border() != 1) problem("a click did not select a table card");
            }
            ++counts.refused;
            for (auto it = pool.rbegin(); it != pool.rend(); ++it) {
                if (!press(*it)) return;
                if (!stillWaiting(card, movesBefore)) return fail("a wrong selection was accepted");
                if (e.carta[*it]->border() != 0) problem("a click did not deselect a table card");
            }
            return;
        }
    }

    void startRecord() {
        const GameState &s = w_.state();
        record_ = GameRecord{};
        record_.game = s.gameNo;
        for (int p = 1; p <= 40; ++p) record_.deck[p] = s.deck[p];
        for (auto &p : pile_) p.clear();
        pileTop_ = {0, 0, 0};
        lastTaker_ = 0;
        playsInDeal_ = 0;
        inGame_ = true;
        atEnd_ = false;
    }

    void moveBegins() override {
        if (!inGame_) startRecord();
        before_ = TableView::of(w_);
        stealTry_ = false;
        told_.reset();
        checkShown();
    }

    // As a move begins the table shows whose it is and what each holds: the
    // mover's light green and the other's red, a back in each of the
    // computer's slots that holds a card and none in an empty one, and the
    // stock until its last cards are dealt.
    void checkShown() {
        const GameState &s = w_.state();
        const Elements &e = w_.elements();
        const int mover = s.turnPlayer == kHuman ? 0 : 1;
        for (int i = 0; i <= 1; ++i) {
            const QPointF place(620, i == 0 ? 600 - s.cardHeight / 2 - 32 : s.cardHeight / 2);
            const PictureItem *lit = i == mover ? e.Verde[i] : e.Rosso[i];
            if (e.Verde[i]->pos() != place || e.Rosso[i]->pos() != place || shownAt(e, lit) != lit)
                problem(std::string(i == 0 ? "the human's" : "the computer's") + " light is not " +
                        (i == mover ? "green" : "red") + " in its place on " +
                        (mover == 0 ? "the human's" : "the computer's") + " move");
        }
        for (int i = 0; i <= 2; ++i) {
            const bool holds = e.dorso[i]->tag.toInt() != 0;
            const bool shown = shownAt(e, e.dorso[i]) == e.dorso[i] &&
                               e.dorso[i]->pos() == QPointF(places::handLeft(i), places::kComputerHandTop);
            if (shown != holds)
                problem("the computer's slot " + std::to_string(i) + (holds ? " holds a card but shows no back"
                                                                              : " is empty but shows a back"));
        }
        if (e.Mazzo->isVisible() != (s.dealPos < 22))
            problem(s.dealPos < 22 ? "the stock is hidden with cards in it" : "the stock is shown after the last deal");
    }

    void moveDone(const MoveNews &told) override {
        told_ = told;
        const GameState &s = w_.state();
        MoveRecord m = readMove(w_, before_);
        m.stealTry = m.player == kHuman && stealTry_;
        if (m.player == kHuman) ++humanMoves_;
        record_.moves.push_back(m);
        checkingMove_ = true;

        // Who moves: the starter's opponent leads every deal, then they alternate.
        const int leader = s.starter == 1 ? kComputer : kHuman;
        const int expected = playsInDeal_ % 2 == 0 ? leader : 3 - leader;
        if (m.player != expected) problem("played out of turn");
        playsInDeal_ = (playsInDeal_ + 1) % 6;
        // Deal d gave slot i the cards at deck positions 3d + 2 + i, and 18 on.
        const int dealt = 3 * m.deal + 2 + m.slot + (m.player == kComputer ? 18 : 0);
        if (m.deal < 1 || m.deal > 6 || m.slot < 0 || m.slot > 2 || s.deck[dealt] != m.card)
            problem("card " + std::to_string(m.card) + " was not dealt to that hand slot");

        const Cards &table = before_.grid;
        const int other = 3 - m.player;
        switch (m.kind) {
        case MoveRecord::Place:
            if (m.row == 0) {
                if (table.size() != 12) problem("a card went beside the grid while a slot was free");
                if (s.extraN < 1 || s.extraCards[s.extraN] != m.card) problem("a card beside the grid is not listed there");
            } else if (std::find(table.begin(), table.end(), m.card) != table.end() ||
                       s.tableCards[m.row][m.column] != m.card) {
                problem("a placed card is not where the record says");
            } else {
                for (int c : table)
                    if (!onGrid(s, c)) problem("card " + std::to_string(c) + " left the table without a capture");
            }
            if (!captureOptions(table, m.card).empty()) problem("a card that must capture was laid on the table");
            break;
        case MoveRecord::Capture:
            if (!isOption(captureOptions(table, m.card), m.taken)) problem("a capture the rules do not allow");
            pile_[m.player].push_back(m.card);
            pile_[m.player].insert(pile_[m.player].end(), m.taken.begin(), m.taken.end());
            pileTop_[m.player] = m.card;
            lastTaker_ = m.player;
            break;
        case MoveRecord::Steal:
            if (pileTop_[other] == 0 || !sameRank(m.card, pileTop_[other])) problem("a steal without a matching pile top");
            if (m.player == kHuman && !m.stealTry) problem("the human stole without selecting the pile");
            if (gridCards(s) != table) problem("a steal changed the table");
            pile_[m.player].push_back(m.card);
            pile_[m.player].insert(pile_[m.player].end(), pile_[other].begin(), pile_[other].end());
            pile_[other].clear();
            pileTop_[other] = 0;
            pileTop_[m.player] = m.card;
            lastTaker_ = m.player;
            break;
        }
        if (!told_ || told_->player != m.player || told_->card != m.card || int(told_->kind) != int(m.kind) ||
            told_->taken != m.taken || told_->piles[1] != m.piles[1] || told_->piles[2] != m.piles[2])
            problem("the window was told another move than the table shows" +
                    (told_ ? ", taking " + list(told_->taken) + " for " + list(m.taken) : std::string()));
        if (m.player == kHuman && m.stealTry && m.kind != MoveRecord::Steal && pileTop_[kComputer] != 0 &&
            sameRank(m.card, pileTop_[kComputer]))
            problem("a steal with the pile selected did not happen");
        checkPlaces(m);
        checkingMove_ = false;
        after_ = TableView::of(w_);
    }

    static std::string list(const Cards &cards) {
        std::string out;
        for (int c : cards) out += (out.empty() ? "" : " ") + std::to_string(c);
        return "{" + out + "}";
    }

    // Every card in exactly one place: stock, a hand, the table or a pile.
    void checkPlaces(const MoveRecord &m) {
        const GameState &s = w_.state();
        const Elements &e = w_.elements();
        std::array<const char *, 41> where{};
        int placed = 0;
        auto put = [&](int code, const char *place) {
            if (code < 1 || code > 40) return problem(std::string("a card code out of range in ") + place);
            if (where[code])
                return problem("card " + std::to_string(code) + " is both in " + where[code] + " and in " + place);
            where[code] = place;
            ++placed;
        };
        for (int p = s.dealPos + 1; p <= 22; ++p) {
            put(s.deck[p], "the stock");
            put(s.deck[p + 18], "the stock");
        }
        const double handTop = places::humanHandTop(s.cardHeight);
        for (int k = 1; k <= 40; ++k) {
            if (e.carta[k]->tag != QLatin1String("jolly")) continue;
            const double slot = (e.carta[k]->left() - 255) / 68 - 1;
            const bool atHand = std::abs(slot - std::round(slot)) < 1e-6 && slot > -0.5 && slot < 2.5 &&
                                std::abs(e.carta[k]->top() - handTop) < 1e-6 && e.carta[k]->isVisible();
            if (!atHand) problem("card " + std::to_string(k) + " is tagged as the human's but is not in the hand");
            put(k, "the human's hand");
        }
        for (int i = 0; i <= 2; ++i) {
            bool ok = false;
            const int code = e.dorso[i]->tag.toInt(&ok);
            if (ok && code != 0) put(code, "the computer's hand");
        }
        for (int c : gridCards(s)) {
            put(c, "the table");
            if (e.carta[c]->border() != 0) problem("a table card stayed selected after the move");
        }
        for (int j = 1; j <= s.extraN; ++j) put(s.extraCards[j], "beside the table");
        for (int p = 1; p <= 2; ++p) {
            if (int(pile_[p].size()) != s.pileCount[p] || m.piles[p] != s.pileCount[p])
                problem("pile " + std::to_string(p) + " counts " + std::to_string(s.pileCount[p]) + " but holds " +
                        std::to_string(pile_[p].size()));
            for (int c : pile_[p]) put(c, p == kHuman ? "the human's pile" : "the computer's pile");
            if (s.pileTop[p] != pileTop_[p]) problem("pile " + std::to_string(p) + " shows the wrong top card");
            if (const int top = s.pileTop[p];
                top != 0 && (e.carta[top]->tag != QString::number(p) || !e.carta[top]->isVisible()))
                problem("the top card of pile " + std::to_string(p) + " is not shown as such");
        }
        if (s.pileTop[kComputer] != 0 && e.carta[s.pileTop[kComputer]]->border() != 0)
            problem("the computer's pile top stayed selected");
        if (placed != 40) problem(std::to_string(placed) + " cards accounted for instead of 40");
    }

    void gameDecided() override {
        const GameState &s = w_.state();
        const Elements &e = w_.elements();
        if (!inGame_) startRecord();
        atEnd_ = true;
        for (int i = 0; i <= 1; ++i)
            if (e.Verde[i]->isVisible() || e.Rosso[i]->isVisible()) problem("a turn light stays on after the game");
        // The leftovers went to the last taker, unframed, and left the view.
        SweepRecord &sweep = record_.sweep;
        sweep.taker = s.lastTaker;
        const int expected = lastTaker_ != 0 ? lastTaker_ : (s.starter == 1 ? kHuman : kComputer);
        if (sweep.taker != expected) problem("the leftovers went to the wrong player");
        for (int c : after_.leftovers()) {
            if (e.carta[c]->isVisible()) problem("card " + std::to_string(c) + " was left out of the sweep");
            if (e.carta[c]->border() != 0) problem("card " + std::to_string(c) + " was swept with a frame");
            sweep.cards.push_back(c);
        }
        pile_[sweep.taker].insert(pile_[sweep.taker].end(), sweep.cards.begin(), sweep.cards.end());
        for (const QString &line : e.printer->lines()) record_.printed.push_back(line.toStdString());
        record_.badges[kHuman] = e.Image1[1]->isVisible() + e.Image1[2]->isVisible();
        record_.badges[kComputer] = e.Image1[3]->isVisible() + e.Image1[4]->isVisible();
        record_.starter = s.starter;
        record_.piles[1] = s.pileCount[kHuman];
        record_.piles[2] = s.pileCount[kComputer];
        record_.matchTally = s.matchTally;
        if (record_.moves.size() != 36) problem(std::to_string(record_.moves.size()) + " moves in a game instead of 36");
        if (record_.piles[1] + record_.piles[2] != 40) problem("the piles do not add up to 40");
        std::array<int, 41> seen{};
        for (int p = 1; p <= 2; ++p)
            for (int c : pile_[p])
                if (c >= 1 && c <= 40) ++seen[c];
        for (int c = 1; c <= 40; ++c)
            if (seen[c] != 1) problem("card " + std::to_string(c) + " is in the piles " + std::to_string(seen[c]) + " times");
        if (record_.piles[1] > record_.piles[2]) {
            record_.result = "human";
            ++counts.humanWins;
        } else if (record_.piles[1] < record_.piles[2]) {
            record_.result = "computer";
            ++counts.computerWins;
        } else {
            record_.result = "draw";
            ++counts.draws;
        }
        decided_ = true;
    }

    MainWindow &w_;
    std::mt19937 rng_;
    GameRecord record_;
    TableView before_, after_; // the table as the move found it and as it left it
    std::optional<MoveNews> told_; // the move the window was told of
    bool stealTry_ = false;
    std::array<Cards, 3> pile_;
    std::array<int, 3> pileTop_{};
    int lastTaker_ = 0;
    int playsInDeal_ = 0;
    int humanMoves_ = 0;
    bool inGame_ = false;
    bool atEnd_ = false; // past the last move: the sweep and the result
    bool checkingMove_ = false;
    bool decided_ = false;
    bool stuck_ = false;
};

} // namespace zt::selfplay
