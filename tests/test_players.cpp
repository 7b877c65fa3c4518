// The computer's choice of card and the human's card clicks.
#include "rules/ComputerPlayer.h"
#include "rules/HumanPlayer.h"
#include "rules_fixture.h"

#include <QtTest>

using namespace zt;
using zt::test::BareTable;
using zt::test::ScriptedRandom;

namespace {

const QPointF kPlaySpot(578, 233);

QPointF at(const PictureItem *p) { return {p->left(), p->top()}; }

QString soundName(const BareTable &t) { return QFileInfo(t.wave.fileName).fileName(); }

} // namespace

class TestPlayers : public QObject {
    Q_OBJECT

private slots:
    void computerStealsBeforeCapturing();
    void noStealWithoutHumanPile();
    void computerPlaysFirstCardThatCaptures();
    void computerPlaysRandomSlotWhenNothingTakes();
    void computerWithOneCardLeft();
    void humanClicks();
    void clicksRefusedWhileLocked();
};

void TestPlayers::computerStealsBeforeCapturing() {
    // The 4 that steals from any slot, the last one too; the 7 could take the 17.
    for (const int slot : {1, 2}) {
        BareTable t;
        t.put(17, 1, 1);
        t.put(5, 2, 2);
        t.e.carta[5]->setBorder(1); // a stale mark is cleared first
        slot == 1 ? t.computerHand(7, 14, 33) : t.computerHand(7, 33, 14);
        t.s.pileCount[kHuman] = 6;
        t.s.pileTop[kHuman] = 24;
        t.move(kComputer, 0);
        t.s.clickLock = 0;
        t.waveLog.log.clear();

        ComputerPlayer cpu(t.parts);
        BareTable::run(cpu.gioco2());

        QCOMPARE(t.s.playedCard, i16(14));
        QCOMPARE(t.s.cpuSlot, i16(slot));
        QCOMPARE(t.s.stealFlag, kTrue);
        QCOMPARE(t.selected(), QList<int>{});
        QCOMPARE(t.s.pickN, i16(0));
        QCOMPARE(at(t.e.carta[14]), kPlaySpot);
        QVERIFY(!t.e.dorso[slot]->isVisible());
        QCOMPARE(t.e.dorso[slot]->tag, QStringLiteral("0"));
        QVERIFY(t.e.dorso[0]->isVisible());
        QCOMPARE(t.e.dorso[0]->tag, QStringLiteral("7"));
        QCOMPARE(t.s.clickLock, i16(100));
        // liscio loaded and played, then carta loaded again and played with the card.
        QCOMPARE(t.waveLog.log, QStringList({"close", "open", "play", "close", "open", "play"}));
        QCOMPARE(soundName(t), QStringLiteral("carta.wav"));
    }
}

void TestPlayers::noStealWithoutHumanPile() {
    // The human's pile was just stolen: its old top still matches the 14.
    BareTable t;
    t.put(9, 1, 1);
    t.computerHand(0, 14, 0);
    t.s.pileCount[kHuman] = 0;
    t.s.pileTop[kHuman] = 24;
    t.move(kComputer, 0);
    t.waveLog.log.clear();

    ComputerPlayer cpu(t.parts);
    BareTable::run(cpu.gioco2());

    QCOMPARE(t.s.stealFlag, kFalse);
    QCOMPARE(t.s.playedCard, i16(14));
    QCOMPARE(t.s.pickN, i16(0));
    QCOMPARE(t.waveLog.log, QStringList({"play"}));
}

void TestPlayers::computerPlaysFirstCardThatCaptures() {
    BareTable t;
    t.put(19, 2, 3);
    t.computerHand(2, 9, 0);
    t.s.pileCount[kHuman] = 3;
    t.s.pileTop[kHuman] = 36; // no card of rank 6 in hand
    t.move(kComputer, 0);

    ComputerPlayer cpu(t.parts);
    BareTable::run(cpu.gioco2());

    QCOMPARE(t.s.stealFlag, kFalse);
    QCOMPARE(t.s.playedCard, i16(9));
    QCOMPARE(t.s.cpuSlot, i16(1));
    QCOMPARE(t.picks(), QList<int>{19});
    QCOMPARE(t.selected(), QList<int>{19});
    QCOMPARE(t.s.pickLeft[1], i16(414));
    QCOMPARE(t.s.pickTop[1], i16(233));
    QCOMPARE(at(t.e.carta[9]), kPlaySpot);
    QVERIFY(!t.e.dorso[1]->isVisible());
    QCOMPARE(t.e.dorso[0]->tag, QStringLiteral("2"));
    QCOMPARE(t.rnd.calls, 0);
}

void TestPlayers::computerPlaysRandomSlotWhenNothingTakes() {
    struct Case {
        int a, b, c;
        std::initializer_list<double> draws;
        int slot, draws_used;
    };
    const Case cases[] = {
        {5, 6, 8, {ScriptedRandom::index(1, 3)}, 1, 1},
        {5, 0, 8, {ScriptedRandom::index(1, 3), 0.0, 0.9999}, 0, 2},
        {5, 0, 8, {0.9999}, 2, 1},
    };
    for (const Case &c : cases) {
        BareTable t; // empty table: combina rejects every card
        t.computerHand(c.a, c.b, c.c);
        t.move(kComputer, 0);
        t.s.pickSum = 9;
        t.rnd.feed(c.draws);

        ComputerPlayer cpu(t.parts);
        BareTable::run(cpu.gioco2());

        const int codes[3] = {c.a, c.b, c.c};
        QCOMPARE(int(t.s.cpuSlot), c.slot);
        QCOMPARE(int(t.s.playedCard), codes[c.slot]);
        QCOMPARE(t.s.pickN, i16(0));
        QCOMPARE(t.s.pickSum, i16(0));
        QCOMPARE(t.rnd.calls, c.draws_used);
        QCOMPARE(at(t.e.carta[codes[c.slot]]), kPlaySpot);
        QCOMPARE(t.e.dorso[c.slot]->tag, QStringLiteral("0"));
    }
}

void TestPlayers::computerWithOneCardLeft() {
    BareTable t;
    t.put(9, 1, 4); // a 3 takes nothing from a 9
    t.computerHand(0, 3, 0);
    t.move(kComputer, 0);
    t.rnd.feed({0.1, 0.9, 0.0, 0.5});

    ComputerPlayer cpu(t.parts);
    BareTable::run(cpu.gioco2());

    QCOMPARE(t.rnd.calls, 4);
    QCOMPARE(t.s.cpuSlot, i16(1));
    QCOMPARE(t.s.playedCard, i16(3));
    QCOMPARE(t.s.pickN, i16(0));
    QCOMPARE(t.s.tableCards[1][4], i16(9));
}

void TestPlayers::humanClicks() {
    BareTable t;
    HumanPlayer human(t.parts);
    t.move(kHuman, 0);
    t.s.clickLock = 0;
    t.put(12, 1, 1);
    t.put(25, 2, 4);
    PictureItem *own = t.e.carta[30];
    own->tag = QStringLiteral("1");
    own->move(150, 495);
    PictureItem *theirs = t.e.carta[8];
    theirs->tag = QStringLiteral("2");
    theirs->move(150, 5);
    for (int i = 0; i < 3; ++i) {
        t.e.carta[33 + i]->tag = QStringLiteral("jolly");
        t.e.carta[33 + i]->move(places::handLeft(i), 495);
    }
    t.s.pileTop[kComputer] = 8;
    t.waveLog.log.clear();
    // The game waits for the played card while the clicks come in.
    QCoro::Task<> waiting = human.gioco1();
    QVERIFY(!waiting.isReady());

    // The own pile top is not a card to play or select.
    human.Carta_Click(30);
    QCOMPARE(t.s.playedCard, i16(0));
    QCOMPARE(own->border(), 0);
    QCOMPARE(at(own), QPointF(150, 495));

    // Before playing, table cards and the computer's pile top toggle.
    human.Carta_Click(12);
    QCOMPARE(t.e.carta[12]->border(), 1);
    human.Carta_Click(8);
    QCOMPARE(theirs->border(), 1);
    human.Carta_Click(12);
    QCOMPARE(t.e.carta[12]->border(), 0);
    t.e.carta[25]->setBorder(2); // any style but 1 becomes 1
    human.Carta_Click(25);
    QCOMPARE(t.e.carta[25]->border(), 1);
    QCOMPARE(t.s.playedCard, i16(0));
    QVERIFY(t.waveLog.log.isEmpty());
    QCoreApplication::processEvents();
    QVERIFY(!waiting.isReady());

    // A hand card is played and goes to the play spot with its rustle.
    human.Carta_Click(34);
    QCOMPARE(t.s.playedCard, i16(34));
    QCOMPARE(at(t.e.carta[34]), kPlaySpot);
    QCOMPARE(t.e.carta[34]->border(), 0);
    QCOMPARE(t.waveLog.log, QStringList{"play"});
    // The wait ends; the marked pile top of another rank steals nothing but
    // still sounds the notice.
    QVERIFY(test::runUntil([&] { return waiting.isReady(); }, 2000));
    QCOMPARE(t.s.stealFlag, kFalse);
    QCOMPARE(t.s.playsThisDeal, i16(1));
    QCOMPARE(t.waveLog.log, QStringList({"play", "close", "open", "play", "close", "open"}));
    QCOMPARE(soundName(t), QStringLiteral("carta.wav"));
    t.waveLog.log.clear();
    t.s.clickLock = 0;

    // After that, hand cards ignore clicks; everything else toggles,
    // even the own pile top.
    human.Carta_Click(35);
    QCOMPARE(t.s.playedCard, i16(34));
    QCOMPARE(at(t.e.carta[35]), QPointF(places::handLeft(2), 495));
    QCOMPARE(t.e.carta[35]->border(), 0);
    human.Carta_Click(12);
    QCOMPARE(t.e.carta[12]->border(), 1);
    human.Carta_Click(30);
    QCOMPARE(own->border(), 1);
    QVERIFY(t.waveLog.log.isEmpty());
}

void TestPlayers::clicksRefusedWhileLocked() {
    struct Case {
        i16 turnPlayer, clickLock;
    };
    for (const Case c : {Case{kComputer, 0}, Case{kHuman, 100}, Case{kComputer, 100}}) {
        BareTable t;
        HumanPlayer human(t.parts);
        t.move(c.turnPlayer, 0);
        t.s.clickLock = c.clickLock;
        t.put(12, 1, 1);
        t.e.carta[20]->tag = QStringLiteral("jolly");
        t.e.carta[20]->move(323, 495);
        t.e.Text1->setVisible(true);
        t.e.Text3->setVisible(true);
        t.e.Text4->setVisible(true);

        human.Carta_Click(20);
        human.Carta_Click(12);

        QVERIFY(!t.e.Text1->isVisible());
        QVERIFY(!t.e.Text3->isVisible());
        QVERIFY(!t.e.Text4->isVisible());
        QCOMPARE(t.s.playedCard, i16(0));
        QCOMPARE(at(t.e.carta[20]), QPointF(323, 495));
        QCOMPARE(t.selected(), QList<int>{});
        QVERIFY(t.waveLog.log.isEmpty());
    }
    // Unlocked, a click also hides the panels.
    BareTable t;
    HumanPlayer human(t.parts);
    t.move(kHuman, 0);
    t.put(12, 1, 1);
    t.e.Text4->setVisible(true);
    human.Carta_Click(12);
    QVERIFY(!t.e.Text4->isVisible());
    QCOMPARE(t.e.carta[12]->border(), 1);
}

QTEST_MAIN(TestPlayers)
#include "test_players.moc"
