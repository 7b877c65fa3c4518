// What a screen reader finds on the table, read through the accessibility
// interfaces of the view, never from the items themselves.
#include "keysupport.h"
#include "media/CardNames.h"
#include "shell/TableAccessibility.h"
#include "shell/Translations.h"

#include <QAccessible>

using namespace zt;
using namespace zt::test;

namespace {

QList<QAccessibleInterface *> tableChildren(MainWindow &w) {
    QList<QAccessibleInterface *> out;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(w.view());
    if (!view) return out;
    for (int i = 0; i < view->childCount(); ++i) out << view->child(i);
    return out;
}

QList<QAccessibleInterface *> withRole(MainWindow &w, QAccessible::Role role, const QString &description = {}) {
    QList<QAccessibleInterface *> out;
    for (QAccessibleInterface *c : tableChildren(w))
        if (c->role() == role && (description.isEmpty() || c->text(QAccessible::Description) == description)) out << c;
    return out;
}

QStringList names(const QList<QAccessibleInterface *> &list) {
    QStringList out;
    for (QAccessibleInterface *c : list) out << c->text(QAccessible::Name);
    return out;
}

QString live(MainWindow &w) {
    const auto bars = withRole(w, QAccessible::StatusBar);
    return bars.size() == 1 ? bars.front()->text(QAccessible::Name) : QStringLiteral("<no live line>");
}

// The notices the status bar holds now, as a screen reader finds them.
QStringList notices(MainWindow &w) {
    QStringList out;
    for (QAccessibleInterface *bar : withRole(w, QAccessible::StatusBar))
        for (int i = 0; i < bar->childCount(); ++i) out << bar->child(i)->text(QAccessible::Name);
    return out;
}

QStringList expectedNames(const std::vector<int> &codes) {
    QStringList out;
    for (int k : codes) out << cardName(k);
    return out;
}

std::vector<int> handByPosition(MainWindow &w) {
    std::vector<int> hand;
    for (int k = 1; k <= 40; ++k)
        if (w.elements().carta[k]->tag == QLatin1String("jolly")) hand.push_back(k);
    std::sort(hand.begin(), hand.end(),
              [&](int a, int b) { return w.elements().carta[a]->left() < w.elements().carta[b]->left(); });
    return hand;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void cardNames();
    void startScreenShowsGo();
    void tableAfterGo();
    void italianNames();
    void statesFollowFocusAndSelection();
    void newsOfMovesAndResults();
    void menuChoicesSayTheirState();
};

void TestAccessibility::cardNames() {
    // Codes 1..10 coins, 11..20 cups, 21..30 clubs, 31..40 swords; ace to king.
    const struct {
        int code;
        const char *en, *it;
    } cases[] = {{1, "Ace of Coins", "Asso di Denari"},      {7, "Seven of Coins", "Sette di Denari"},
                 {19, "Knight of Cups", "Cavallo di Coppe"}, {28, "Knave of Clubs", "Fante di Bastoni"},
                 {30, "King of Clubs", "Re di Bastoni"},     {32, "Two of Swords", "Due di Spade"},
                 {40, "King of Swords", "Re di Spade"}};
    for (const auto &c : cases) QCOMPARE(cardName(c.code), QString::fromLatin1(c.en));
    {
        // The catalogue an Italian desktop gets at start-up.
        const Translations italian(QLocale(QLocale::Italian, QLocale::Switzerland));
        for (const auto &c : cases) QCOMPARE(cardName(c.code), QString::fromLatin1(c.it));
        QVERIFY(cardName(41).isEmpty());
    }
    QCOMPARE(cardName(19), QStringLiteral("Knight of Cups"));
    QVERIFY(cardName(0).isEmpty());
    QSet<QString> all;
    for (int k = 1; k <= 40; ++k) all.insert(cardName(k));
    QCOMPARE(all.size(), 40);
    QCOMPARE(speechFor(QLocale(QLocale::Italian, QLocale::Switzerland)), Speech::Italian);
    QCOMPARE(speechFor(QLocale(QLocale::German)), Speech::English);
}

void TestAccessibility::startScreenShowsGo() {
    Harness h;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(h.window->view());
    QVERIFY(view);
    const auto buttons = withRole(*h.window, QAccessible::Button);
    QCOMPARE(names(buttons), (QStringList{"Menu", "GO"}));
    QCOMPARE(buttons[1]->parent(), view);
    QCOMPARE(view->indexOfChild(buttons[1]), int(tableChildren(*h.window).indexOf(buttons[1])));
    // No card is on the table yet.
    QVERIFY(withRole(*h.window, QAccessible::ListItem).isEmpty());
    QVERIFY(withRole(*h.window, QAccessible::Graphic).isEmpty());
    // The rules, once open, can be read in full.
    QVERIFY(withRole(*h.window, QAccessible::Document).isEmpty());
    h.window->english_Click();
    const auto docs = withRole(*h.window, QAccessible::Document);
    QCOMPARE(names(docs), QStringList{"Game rules"});
    QCOMPARE(docs.front()->text(QAccessible::Value), h.e().Text1->text());
    QVERIFY(docs.front()->text(QAccessible::Value).size() > 200);
    // Pressing it is GO's click.
    QAccessibleActionInterface *press = buttons[1]->actionInterface();
    QVERIFY(press);
    press->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(runUntil([&] { return h.s().dealPos >= 4; }));
    QVERIFY(!h.e().Text1->isVisible());
    QCOMPARE(names(withRole(*h.window, QAccessible::Button)), QStringList{"Menu"});
}

void TestAccessibility::tableAfterGo() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Harness h;
    MainWindow &w = *h.window;
    h.s().starter = 2;
    w.Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    QCOMPARE(names(withRole(w, QAccessible::ListItem, "In your hand")), expectedNames(handByPosition(w)));
    QCOMPARE(names(withRole(w, QAccessible::ListItem, "On the table")),
             expectedNames(selfplay::gridCards(h.s())));
    // The computer's cards are there, and say nothing of what they are.
    const auto backs = withRole(w, QAccessible::Graphic);
    QCOMPARE(names(backs), (QStringList{"Computer's card", "Computer's card", "Computer's card"}));
    for (QAccessibleInterface *b : backs)
        for (int k = 1; k <= 40; ++k) QVERIFY(!b->text(QAccessible::Description).contains(cardName(k)));
    QCOMPARE(names(withRole(w, QAccessible::Indicator)), QStringList{"Your turn"});
    // No card is taken yet.
    QCOMPARE(names(withRole(w, QAccessible::StaticText)), (QStringList{"You 0, Computer 0", "1^ game"}));

    // Once played, the card is the played card; the computer's turn shows.
    const std::vector<int> hand = handByPosition(w);
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    key(w, Qt::Key_Space);
    if (h.s().playedCard == hand.front()) { // it waits for its capture
        QCOMPARE(names(withRole(w, QAccessible::ListItem, "Your played card")),
                 QStringList{cardName(hand.front())});
        QCOMPARE(withRole(w, QAccessible::ListItem, "In your hand").size(), 2);
        const auto options = selfplay::captureOptions(selfplay::gridCards(h.s()), hand.front());
        QVERIFY2(!options.empty(), qPrintable(QStringLiteral("card %1 lock %2 turn %3 table %4").arg(h.s().playedCard).arg(h.s().clickLock).arg(h.s().turnPlayer).arg(selfplay::gridCards(h.s()).size())));
        for (int t : options.front()) QVERIFY(pressCard(w, t));
    }
    QVERIFY(runUntil([&] { return humanToPlay(w) || atEndOfGame(w); }));
    QCOMPARE(withRole(w, QAccessible::ListItem, "In your hand").size(), 2);
    QCOMPARE(withRole(w, QAccessible::Graphic).size(), 2);
    // A pile shows its top card, named, and the score counts it.
    QStringList piles;
    for (int p : {kComputer, kHuman})
        if (h.s().pileTop[p]) piles << cardName(h.s().pileTop[p]);
    QStringList shown = names(withRole(w, QAccessible::ListItem, "Top of the computer's pile")) +
                        names(withRole(w, QAccessible::ListItem, "Top of your pile"));
    QCOMPARE(shown, piles);
    QCOMPARE(withRole(w, QAccessible::StaticText).front()->text(QAccessible::Name),
             QStringLiteral("You %1, Computer %2").arg(h.s().pileCount[1]).arg(h.s().pileCount[2]));
}

void TestAccessibility::italianNames() {
    const Translations italian(QLocale(QLocale::Italian, QLocale::Italy));
    Harness h;
    h.window->Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(*h.window); }));
    // Names, places and news all in the desktop's language.
    const QStringList shown = names(withRole(*h.window, QAccessible::ListItem, "Sul tavolo"));
    QCOMPARE(shown, expectedNames(selfplay::gridCards(h.s())));
    QVERIFY(shown.join(' ').contains(QLatin1String(" di ")));
    QVERIFY2(h.window->elements().Text4->text().contains(QStringLiteral("velocità")), "the information is not in Italian");
    QVERIFY(runUntil([&] { return live(*h.window).endsWith(QStringLiteral("Tocca a te.")); }));
}

void TestAccessibility::statesFollowFocusAndSelection() {
    Harness h;
    MainWindow &w = *h.window;
    // Activated as a window manager does it: the table has the keys at once,
    // and GO is what a reader hears first.
    w.activateWindow();
    QVERIFY(runUntil([&] { return w.view()->hasFocus(); }));
    QAccessibleInterface *go = withRole(w, QAccessible::Button).back();
    QVERIFY(go->state().focused && go->state().focusable);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.view())->focusChild(), go);
    h.s().starter = 2;
    key(w, Qt::Key_Return);
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(w.view());
    const auto hand = withRole(w, QAccessible::ListItem, "In your hand");
    QVERIFY(hand.front()->state().focused);
    QCOMPARE(view->focusChild(), hand.front());
    key(w, Qt::Key_Tab);
    QVERIFY(!hand.front()->state().focused);
    QVERIFY(hand[1]->state().focused);
    QCOMPARE(view->focusChild(), hand[1]);
    for (QAccessibleInterface *c : hand) QVERIFY(!c->state().selectable);

    const auto table = withRole(w, QAccessible::ListItem, "On the table");
    QVERIFY(table.front()->state().selectable && !table.front()->state().selected);
    table.front()->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(table.front()->state().selected);
    // Coming back to it, a reader hears that it is selected.
    QCOMPARE(table.front()->text(QAccessible::Description), QStringLiteral("On the table, selected"));
    QVERIFY(pressCard(w, selfplay::gridCards(h.s()).front()));
    QVERIFY(!table.front()->state().selected);
    QVERIFY(runUntil([&] { return live(w).startsWith(QStringLiteral("Not selected")); }));
    // Escape on the rules left for the cards still says where the keys are.
    // Each key in a turn of the event loop of its own, as typed.
    const auto idle = [] { QCoreApplication::processEvents(); };
    w.english_Click();
    idle();
    key(w, Qt::Key_Tab);
    idle();
    QAccessibleInterface *focused = view->focusChild();
    const QString where = focused->text(QAccessible::Name) + ". " + focused->text(QAccessible::Description) + ".";
    QVERIFY(!notices(w).contains(where));
    key(w, Qt::Key_Escape);
    QVERIFY(runUntil([&] { return notices(w).contains(where); }));
    // Away from the table, nothing is focused.
    w.view()->clearFocus();
    QVERIFY(!view->focusChild());
}

void TestAccessibility::newsOfMovesAndResults() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Harness h(4);
    MainWindow &w = *h.window;
    // Watches each computer move from the table (what it played, what left
    // the grid) and the notices a reader is given, as the game goes.
    struct Watch : GameObserver {
        MainWindow &w;
        selfplay::Cards before;
        int otherPile = 0;
        QList<QStringList> moves; // each computer move's words, in order
        QStringList heard;
        explicit Watch(MainWindow &w) : w(w) {}
        void listen() {
            for (const QString &n : notices(w))
                if (!heard.contains(n)) heard << n;
        }
        void moveBegins() override {
            listen();
            before = selfplay::gridCards(w.state());
            otherPile = w.state().pileCount[kHuman];
        }
        void moveDone(const MoveNews &) override {
            listen();
            const GameState &s = w.state();
            if (s.turnPlayer != kComputer) return;
            QStringList words{"Computer plays " + cardName(s.playedCard)};
            const selfplay::Cards after = selfplay::gridCards(s);
            int taken = 0;
            for (int k : before)
                if (std::find(after.begin(), after.end(), k) == after.end()) {
                    ++taken;
                    words << cardName(k);
                }
            if (s.pileCount[kHuman] == 0 && otherPile > 0) words << "steals your pile";
            if (taken == 0 && s.pileTop[kComputer] != s.playedCard) words << "on the table";
            words << QStringLiteral("you %1, computer %2").arg(s.pileCount[kHuman]).arg(s.pileCount[kComputer]);
            moves << words;
        }
        // Whether one notice said the words in their order.
        bool said(const QStringList &words) const {
            for (const QString &n : heard) {
                qsizetype at = 0;
                for (const QString &word : words) at = at < 0 ? at : n.indexOf(word, at);
                if (at >= 0) return true;
            }
            return false;
        }
    } watch(w);
    w.setObserver(&watch);
    w.activateWindow();
    h.s().starter = 1; // the computer leads
    w.Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    // Said at once with the move before it and the card the focus went to,
    // as one notice: a reader cuts each thing short with the next.
    QVERIFY(runUntil([&] { return live(w).endsWith("Your turn."); }));
    const int first = keys(w).focusedCard();
    QVERIFY2(notices(w).contains(live(w) + " " + cardName(first) + ". In your hand."), qPrintable(notices(w).join('\n')));
    QVERIFY(playToEndOfGame(w));
    w.setObserver(nullptr);
    QCOMPARE(watch.moves.size(), 18);
    // The result from the game's own account, then the cards taken and the
    // key that goes on.
    const GameResult result = *TableReading(h.s(), h.e()).result();
    QStringList lines = TurnFlow::resultLines(result);
    QCOMPARE(h.e().printer->lines().mid(1, lines.size()), lines);
    const QString key = h.e().menu.continue_->isEnabled() ? QStringLiteral("Press Control+Return to continue")
                                                          : QStringLiteral("Press Control+N for a new match");
    lines << QStringLiteral("Cards taken: you %1, computer %2").arg(h.s().pileCount[1]).arg(h.s().pileCount[2]) << key;
    QVERIFY(runUntil([&] { return live(w).endsWith(key + "."); }));
    watch.listen();
    watch.moves << lines;
    for (const QStringList &words : watch.moves)
        QVERIFY2(watch.said(words), qPrintable(words.join(" / ") + " not heard in:\n" + watch.heard.join('\n')));
}

void TestAccessibility::menuChoicesSayTheirState() {
    Harness h;
    const Menu &m = h.window->elements().menu;
    // Reached as a screen reader reaches them: through the menu's own face.
    for (QMenu *menu : {m.speed, m.play_rate, m.menu_card_rustle, m.Musica}) {
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(menu);
        QCOMPARE(list->childCount(), menu->actions().size());
        for (int i = 0; i < list->childCount(); ++i) {
            QAccessibleInterface *item = list->child(i);
            auto *action = qobject_cast<QAction *>(item->object());
            // A check box: AT-SPI carries no "checkable" for a menu item.
            QCOMPARE(item->role(), QAccessible::CheckBox);
            QCOMPARE(item->state().checked, action->isChecked());
            QCOMPARE(item->text(QAccessible::Name), action->text());
            // Screen readers skip what its parent does not know.
            QCOMPARE(item->parent()->indexOfChild(item), i);
        }
    }
    m.velocita_gioco[3]->trigger();
    QVERIFY(QAccessible::queryAccessibleInterface(m.velocita_gioco[3])->state().checked);
    QVERIFY(!QAccessible::queryAccessibleInterface(m.velocita_gioco[2])->state().checked);
    // Commands are no choices.
    QAccessibleInterface *commands = QAccessible::queryAccessibleInterface(m.partita);
    QCOMPARE(commands->child(m.partita->actions().indexOf(m.esci))->role(), QAccessible::MenuItem);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
