// The keyboard as a second way to make the same clicks and menu choices.
#include "keysupport.h"
#include "media/CardNames.h"

#include <QAccessible>

#include <QMenu>
#include <QProcess>
#include <QSignalSpy>

using namespace zt;
using namespace zt::test;

namespace {

// The focus order a player expects, worked out from the state alone.
std::vector<int> expectedOrder(MainWindow &w) {
    const GameState &s = w.state();
    const Elements &e = w.elements();
    std::vector<int> hand;
    for (int k = 1; k <= 40; ++k)
        if (e.carta[k]->tag == QLatin1String("jolly")) hand.push_back(k);
    std::sort(hand.begin(), hand.end(), [&](int a, int b) { return e.carta[a]->left() < e.carta[b]->left(); });
    std::vector<int> out = hand;
    for (int c : selfplay::gridCards(s)) out.push_back(c);
    if (s.pileTop[kComputer] != 0) out.push_back(s.pileTop[kComputer]);
    return out;
}

// Starts a game by keys and waits for the human's first move.
void goToHumanMove(Harness &h) {
    h.s().starter = 2; // the human leads
    key(*h.window, Qt::Key_Return);
    QVERIFY(runUntil([&] { return humanToPlay(*h.window); }));
}

// Gives the computer a pile whose top is the given card, as a capture would.
void givePile(Harness &h, int top) {
    PictureItem *c = h.e().carta[top];
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col)
            if (h.s().tableCards[row][col] == top) h.s().tableCards[row][col] = 0;
    c->tag = QStringLiteral("2");
    c->move(places::kPileLeft, 20);
    c->setVisible(true);
    h.s().pileTop[kComputer] = static_cast<i16>(top);
    h.s().pileCount[kComputer] = 1;
}

int firstUndealt(Harness &h) {
    const GameState &s = h.s();
    return s.deck[s.dealPos + 1];
}

} // namespace

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    void goAndMenuKeys();
    void f1FollowsTheOrderOfTheLanguages();
    void commandKeysOnlyWhenTheirItemIsEnabled();
    void focusWalksHandTableThenPile();
    void pressUnderAPanelIsAClickThere();
    void frameFollowsKeysNotTheMouse();
    void spaceIsAClickAndRefusedLikeOne();
    void focusFollowsTheMove();
    void wholeMatchByKeys();
    void botPlaysByKeysOnly();
    void ctrlQEndsFromAnyWait_data();
    void ctrlQEndsFromAnyWait();
};

void TestKeys::goAndMenuKeys() {
    Harness h;
    MainWindow &w = *h.window;
    Elements &e = h.e();
    // F1: the rules in the user's language.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    key(w, Qt::Key_F1);
    QVERIFY(e.Text3->isVisible() && !e.Text1->isVisible());
    // Space on the open Italian rules is a click on them, which closes them.
    key(w, Qt::Key_Space);
    QVERIFY(!e.Text3->isVisible());
    QCOMPARE(h.s().dealPos, i16(0));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    key(w, Qt::Key_F1);
    QVERIFY(e.Text1->isVisible() && !e.Text3->isVisible());

    // F10 and the Menu key open the menu where a click on the strip does.
    w.LBLmenu_Click();
    QVERIFY(runUntil([&] { return e.menu.partita->isVisible(); }));
    const QPoint clickedAt = e.menu.partita->pos();
    e.menu.partita->hide();
    for (int k : {int(Qt::Key_F10), int(Qt::Key_Menu)}) {
        e.Text4->setVisible(true);
        key(w, k);
        QVERIFY(runUntil([&] { return e.menu.partita->isVisible(); }));
        QCOMPARE(e.menu.partita->pos(), clickedAt);
        QVERIFY(!e.Text4->isVisible()); // as the strip's click does
        QVERIFY(e.Text1->isVisible());
        QTest::keyClick(e.menu.partita, Qt::Key_Escape);
        QVERIFY(runUntil([&] { return !e.menu.partita->isVisible(); }));
    }
    // Open rules have the keys: Return is a click on them, which closes them.
    QCOMPARE(h.s().dealPos, i16(0));
    key(w, Qt::Key_Return);
    QVERIFY(!e.Text1->isVisible());
    QCOMPARE(h.s().dealPos, i16(0));
    // The information stays under a click; Escape closes it.
    e.menu.menu_about->trigger();
    key(w, Qt::Key_Space);
    QVERIFY(e.Text4->isVisible());
    key(w, Qt::Key_Escape);
    QVERIFY(!e.Text4->isVisible());
    // Then Return presses GO.
    key(w, Qt::Key_Return);
    QVERIFY(runUntil([&] { return h.s().dealPos >= 4; }));
    QVERIFY(!e.Command1->isVisible());
}

// The user's languages are read once a process: each order is tried in a run
// of this test of its own, told which rules F1 must open.
void TestKeys::f1FollowsTheOrderOfTheLanguages() {
    const QByteArray expected = qgetenv("ZT_EXPECTED_RULES");
    if (!expected.isEmpty()) {
        Harness h;
        key(*h.window, Qt::Key_F1);
        QCOMPARE(h.e().Text1->isVisible(), expected == "en");
        QCOMPARE(h.e().Text3->isVisible(), expected == "it");
        return;
    }
    const struct {
        const char *lang, *language, *rules;
    } orders[] = {{"it_IT.UTF-8", "en:it", "en"}, {"en_US.UTF-8", "it:en", "it"}};
    for (const auto &o : orders) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.insert(QStringLiteral("LANG"), QLatin1String(o.lang));
        env.insert(QStringLiteral("LANGUAGE"), QLatin1String(o.language));
        env.insert(QStringLiteral("ZT_EXPECTED_RULES"), QLatin1String(o.rules));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("f1FollowsTheOrderOfTheLanguages")});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(QStringLiteral("LANGUAGE=%1:\n").arg(QLatin1String(o.language)) + child.readAll()));
    }
}

void TestKeys::commandKeysOnlyWhenTheirItemIsEnabled() {
    Harness h;
    MainWindow &w = *h.window;
    // New Game is disabled at start-up: Ctrl+N must not start the game, and
    // says what does.
    QSignalSpy refused(&keys(w), &KeyboardPlay::refused);
    key(w, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(refused.size() == 1 && refused.front().front().toString().contains(QLatin1String("Return for GO")));
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    QCOMPARE(h.s().dealPos, i16(0));
    // Space presses GO just as Return does.
    key(w, Qt::Key_Space);
    QVERIFY(runUntil([&] { return humanToPlay(w) || atEndOfGame(w); }));
    QVERIFY(playToEndOfGame(w));
    // Still waiting at the end of the game: no start screen.
    auto stillAtEnd = [&] {
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
        return atEndOfGame(w) && !h.e().Command1->isVisible();
    };
    if (h.e().menu.continue_->isEnabled()) {
        // Within a match: New Game is still disabled, Continue goes on.
        QVERIFY(!h.e().menu.new_game->isEnabled());
        key(w, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(stillAtEnd());
        key(w, Qt::Key_Return, Qt::ControlModifier);
    } else {
        key(w, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(stillAtEnd());
        key(w, Qt::Key_N, Qt::ControlModifier);
    }
    QVERIFY(runUntil([&] { return !atEndOfGame(w) && h.e().Command1->isVisible(); }));
}

void TestKeys::focusWalksHandTableThenPile() {
    Harness h;
    MainWindow &w = *h.window;
    goToHumanMove(h);
    givePile(h, firstUndealt(h));
    const std::vector<int> order = expectedOrder(w);
    QCOMPARE(order.size(), size_t(3 + 4 + 1));
    QCOMPARE(keys(w).focusedCard(), order.front());
    // Forwards with Tab, Right and Down alike, round to the start.
    const int forward[] = {Qt::Key_Tab, Qt::Key_Right, Qt::Key_Down};
    for (size_t i = 1; i <= order.size(); ++i) {
        key(w, forward[i % 3]);
        QCOMPARE(keys(w).focusedCard(), order[i % order.size()]);
    }
    // Backwards with Shift+Tab, Left and Up.
    const int backward[] = {Qt::Key_Left, Qt::Key_Up};
    key(w, Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(keys(w).focusedCard(), order.back());
    for (size_t i = 2; i <= order.size(); ++i) {
        key(w, backward[i % 2]);
        QCOMPARE(keys(w).focusedCard(), order[order.size() - i]);
    }
    // The human's own pile top is no place for the focus: a click on it does nothing.
    const int own = selfplay::gridCards(h.s()).front();
    h.e().carta[own]->tag = QStringLiteral("1");
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c)
            if (h.s().tableCards[r][c] == own) h.s().tableCards[r][c] = 0;
    h.s().pileTop[kHuman] = static_cast<i16>(own);
    for (size_t i = 0; i < order.size(); ++i) {
        key(w, Qt::Key_Tab);
        QVERIFY(keys(w).focusedCard() != own);
    }
    // A card under an open panel is out of the keys' reach, as of the mouse's.
    TextPanel *info = h.e().Text4;
    info->move(h.e().carta[h.s().pileTop[kComputer]]->left(), 10);
    h.e().menu.menu_about->trigger();
    QVERIFY(info->isVisible() && keys(w).focusedPanel() == info);
    for (size_t i = 0; i <= order.size(); ++i) {
        key(w, Qt::Key_Tab);
        QVERIFY(keys(w).focusedCard() != h.s().pileTop[kComputer]);
    }
    key(w, Qt::Key_Space);
    QCOMPARE(h.e().carta[h.s().pileTop[kComputer]]->border(), 0);
    // Tab took the keys back to the cards: Space clicked one, which closes the panel.
    QVERIFY(!info->isVisible());
}

void TestKeys::pressUnderAPanelIsAClickThere() {
    Harness h;
    MainWindow &w = *h.window;
    goToHumanMove(h);
    const int top = selfplay::gridCards(h.s()).front();
    givePile(h, top);
    // The screen reader's press on the card is a click there: the information
    // stays, the rules close, and only an uncovered card is selected.
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(w.view()), *pile = nullptr;
    for (int i = 0; i < view->childCount(); ++i)
        if (view->child(i)->text(QAccessible::Name) == cardName(top)) pile = view->child(i);
    QVERIFY(pile);
    auto press = [pile] { pile->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); };
    h.e().menu.menu_about->trigger();
    press();
    QVERIFY(h.e().Text4->isVisible());
    QCOMPARE(h.e().carta[top]->border(), 0);
    h.e().menu.english->trigger();
    press();
    QVERIFY(!h.e().Text1->isVisible() && h.e().Text4->isVisible());
    QCOMPARE(h.e().carta[top]->border(), 0);
    key(w, Qt::Key_Escape);
    press();
    QCOMPARE(h.e().carta[top]->border(), 1);
}

void TestKeys::frameFollowsKeysNotTheMouse() {
    Harness h;
    MainWindow &w = *h.window;
    h.s().starter = 2;
    h.window->Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    // Before any key the frame stays hidden, though the focus is on the hand.
    QVERIFY(keys(w).focusedCard() != 0);
    QVERIFY(!frameShown(w));
    key(w, Qt::Key_Tab);
    QVERIFY(frameShown(w));
    const int card = keys(w).focusedCard();
    QCOMPARE(h.e().carta[card]->border(), 0); // the focus is not the selection

    // The frame is an item of its own that rings the card from outside.
    FocusFrame *frame = nullptr;
    for (QGraphicsItem *item : h.e().scene->items())
        if (auto *f = dynamic_cast<FocusFrame *>(item); f && f->isVisible()) frame = f;
    QVERIFY(frame);
    const QRectF ring = frame->sceneBoundingRect(), face = h.e().carta[card]->sceneBoundingRect();
    QVERIFY(ring.contains(face) && ring != face);
    QVERIFY(frame->zValue() > h.e().carta[card]->zValue());

    // A mouse click hides it; the next key brings it back.
    clickItem(w, h.e().background);
    QVERIFY(!frameShown(w));
    key(w, Qt::Key_Left);
    QVERIFY(frameShown(w));

    // A card on its way is nowhere the frame may show.
    const int focused = keys(w).focusedCard();
    h.e().carta[focused]->move(h.e().carta[focused]->left() + 5, h.e().carta[focused]->top());
    QVERIFY(!frameShown(w));
    h.e().carta[focused]->move(h.e().carta[focused]->left() - 5, h.e().carta[focused]->top());
    key(w, Qt::Key_Right);
    key(w, Qt::Key_Left);
    QVERIFY(frameShown(w));
}

void TestKeys::spaceIsAClickAndRefusedLikeOne() {
    Harness h;
    MainWindow &w = *h.window;
    goToHumanMove(h);
    GameState &s = h.s();
    const int card = keys(w).focusedCard();
    // During a pause a click is refused, and so is the key.
    s.clickLock = 100;
    key(w, Qt::Key_Space);
    QCOMPARE(s.playedCard, i16(0));
    s.clickLock = 0;
    // Space on a table card selects it and again deselects it, as clicks do.
    const int table = selfplay::gridCards(s).front();
    QVERIFY(pressCard(w, table));
    QCOMPARE(h.e().carta[table]->border(), 1);
    key(w, Qt::Key_Return);
    QCOMPARE(h.e().carta[table]->border(), 0);
    // Space on the hand card plays it.
    QVERIFY(pressCard(w, card));
    QCOMPARE(s.playedCard, i16(card));
}

void TestKeys::focusFollowsTheMove() {
    Harness h(3);
    MainWindow &w = *h.window;
    int checkedPlays = 0, checkedTurns = 0;
    goToHumanMove(h);
    for (int move = 0; move < 18 && !atEndOfGame(w); ++move) {
        QVERIFY(runUntil([&] { return humanToPlay(w) || atEndOfGame(w); }));
        if (atEndOfGame(w)) break;
        // The human is to move: the focus is on the first card in hand.
        QCOMPARE(keys(w).focusedCard(), expectedOrder(w).front());
        ++checkedTurns;
        key(w, Qt::Key_Space);
        if (h.s().clickLock == 0 && h.s().turnPlayer == kHuman && h.s().playedCard != 0) {
            // Waiting for the capture: the focus went to the first table card.
            QCOMPARE(keys(w).focusedCard(), selfplay::gridCards(h.s()).front());
            ++checkedPlays;
            const auto options = selfplay::captureOptions(selfplay::gridCards(h.s()), h.s().playedCard);
            QVERIFY(!options.empty());
            for (int t : options.front()) QVERIFY(pressCard(w, t));
        }
    }
    QVERIFY(checkedTurns > 5);
    QVERIFY(checkedPlays > 0);
}

void TestKeys::wholeMatchByKeys() {
    Harness h(21);
    MainWindow &w = *h.window;
    Elements &e = h.e();
    QString winner;
    int games = 0;
    key(w, Qt::Key_Return);
    for (int step = 0; step < 2000 && winner.isEmpty(); ++step) {
        QVERIFY(runUntil([&] { return humanToPlay(w) || atEndOfGame(w); }));
        if (!atEndOfGame(w)) {
            QVERIFY2(keyMove(w), "a move by keys failed");
            continue;
        }
        ++games;
        if (const int won = TableReading(h.s(), e).result()->matchWinner) {
            winner = TurnFlow::resultLines(*TableReading(h.s(), e).result()).back();
            QCOMPARE(e.printer->lines().mid(1, 2).join('|'), TurnFlow::resultLines({won, false, won}).join('|'));
            break;
        }
        key(w, Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(runUntil([&] { return e.Command1->isVisible(); }));
        key(w, Qt::Key_Return);
    }
    QVERIFY(winner == QLatin1String("You are the winner") || winner == QLatin1String("Computer is the winner"));
    QVERIFY(games >= 2);
    // The next match starts with New Game and GO, keys again.
    key(w, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(runUntil([&] { return e.Command1->isVisible(); }));
    QCOMPARE(h.s().matchTally, u8(0));
    key(w, Qt::Key_Return);
    QVERIFY(runUntil([&] { return h.s().dealPos >= 7; }));
    QCOMPARE(h.s().gameNo, u8(1));
}

void TestKeys::botPlaysByKeysOnly() {
    // Steals, selections before playing, wrong selections taken back: all by keys.
    Harness h(9);
    h.window->setUpdatesEnabled(false);
    selfplay::Bot bot(*h.window, 9);
    bot.keys = true;
    bot.stealTryChance = 60;
    int mouseEvents = 0;
    struct MouseCounter : QObject {
        int &n;
        explicit MouseCounter(int &n) : n(n) {}
        bool eventFilter(QObject *, QEvent *e) override {
            n += e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease;
            return false;
        }
    } counter(mouseEvents);
    qApp->installEventFilter(&counter);
    for (int idle = 0; bot.counts.games < 8 && !bot.stuck() && idle < 1000;)
        idle = bot.step() == selfplay::Bot::Action::None ? idle + 1 : 0;
    qApp->removeEventFilter(&counter);
    QVERIFY2(bot.problems.empty(), bot.problems.empty() ? "" : bot.problems.front().c_str());
    QCOMPARE(bot.counts.games, 8);
    QVERIFY(bot.counts.refused > 0);
    QCOMPARE(mouseEvents, 0);
}

void TestKeys::ctrlQEndsFromAnyWait_data() {
    QTest::addColumn<int>("where");
    QTest::newRow("start screen") << 0;
    QTest::newRow("human to play") << 1;
    QTest::newRow("capture to choose") << 2;
    QTest::newRow("end of game") << 3;
    QTest::newRow("menu open") << 4;
}

void TestKeys::ctrlQEndsFromAnyWait() {
    QFETCH(int, where);
    Harness h(3);
    MainWindow &w = *h.window;
    if (where == 1 || where == 2 || where == 3) goToHumanMove(h);
    if (where == 2) {
        // Play until a card waits for its capture.
        for (int i = 0; i < 200; ++i) {
            QVERIFY(runUntil([&] { return humanToPlay(w); }));
            QVERIFY(!atEndOfGame(w));
            const int card = keys(w).focusedCard();
            if (!selfplay::captureOptions(selfplay::gridCards(h.s()), card).empty()) break;
            key(w, Qt::Key_Space);
        }
        key(w, Qt::Key_Space);
        QVERIFY(h.s().playedCard != 0 && h.s().clickLock == 0);
    }
    if (where == 3) QVERIFY(playToEndOfGame(w));
    if (where == 4) {
        key(w, Qt::Key_F10);
        QVERIFY(runUntil([&] { return h.e().menu.partita->isVisible(); }));
    }
    QSignalSpy ended(&w, &MainWindow::cycleEnded);
    PlayerLog music(player(w, "MMC1"));
    if (where == 4)
        QTest::keyClick(h.e().menu.partita, Qt::Key_Q, Qt::ControlModifier); // the open menu has the keys
    else
        key(w, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!w.cycleRunning());
    QCOMPARE(ended.count(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(music.log.last(), QStringLiteral("close"));
}

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
