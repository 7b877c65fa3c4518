// The end of a game: the sweep of the leftovers and the result, on a bare
// table, including what whole games never reach.
#include "rules_fixture.h"
#include "rules/TurnFlow.h"

#include <QtTest>

using namespace zt;
using zt::test::BareTable;

namespace {

// The borders of the given cards at the first step of every glide.
struct FramesAtGlide : GameObserver {
    const Elements &e;
    QList<int> cards;
    QList<int> framed; // cards seen with a border while gliding
    int steps = 0;
    bool decided = false;
    FramesAtGlide(const Elements &e, QList<int> cards) : e(e), cards(std::move(cards)) {}
    void glideStepShown() override {
        ++steps;
        for (int c : cards)
            if (e.carta[c]->border() != 0 && !framed.contains(c)) framed << c;
    }
    void gameDecided() override { decided = true; }
};

struct EndOfGame {
    BareTable t;
    HumanPlayer human{t.parts};
    ComputerPlayer computer{t.parts};
    TurnFlow flow{t.parts, human, computer};

    // Runs the end of the game up to its wait, then lets it go on.
    void run() {
        QCoro::Task<> end = flow.endOfGame();
        QVERIFY(!end.isReady()); // waiting for Continue or New Game
        t.s.continueRequested = -1;
        t.s.newGameRequested = -1;
        t.pacing.poke();
        BareTable::run(std::move(end));
    }
};

} // namespace

class TestEndGame : public QObject {
    Q_OBJECT
private slots:
    void gameWithoutAnyCapture_data();
    void gameWithoutAnyCapture();
    void leftoversGoToTheLastTakerUnframed();
};

void TestEndGame::gameWithoutAnyCapture_data() {
    QTest::addColumn<int>("starter");
    QTest::addColumn<int>("taker");
    QTest::addColumn<QString>("result");
    // Nobody captured: the dealer, who did not lead, takes the whole table.
    QTest::newRow("the computer led") << 1 << int(kHuman) << "Game for you";
    QTest::newRow("the human led") << 2 << int(kComputer) << "Game for Computer";
}

void TestEndGame::gameWithoutAnyCapture() {
    QFETCH(int, starter);
    QFETCH(int, taker);
    QFETCH(QString, result);
    EndOfGame g;
    GameState &s = g.t.s;
    // Every card went to the table: twelve on the grid, the rest beside it.
    int code = 1;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) g.t.put(code++, r, c);
    QList<int> all;
    for (int k = 1; k <= 40; ++k) all << k;
    for (; code <= 40; ++code) {
        g.t.e.carta[code]->setVisible(true);
        g.t.move(code % 2 ? kHuman : kComputer, i16(code));
        BareTable::run(g.t.movement.muovicarte());
    }
    QCOMPARE(s.extraN, i16(28));
    s.starter = static_cast<u8>(starter);
    s.lastTaker = 0;
    s.gameNo = 1;
    FramesAtGlide watch(g.t.e, all);
    g.flow.setObserver(&watch);
    g.t.movement.setObserver(&watch);

    g.run();
    QVERIFY(watch.decided);
    QVERIFY(watch.steps > 0);
    QCOMPARE(s.lastTaker, u8(taker));
    QCOMPARE(s.pileCount[taker], i16(40));
    QCOMPARE(s.pileCount[3 - taker], i16(0));
    QCOMPARE(s.extraN, i16(0));
    QVERIFY2(watch.framed.isEmpty(), "leftovers glided with a selection frame");
    for (int k = 1; k <= 40; ++k) {
        QCOMPARE(g.t.e.carta[k]->pos(), QPointF(1500, 1500));
        QCOMPARE(g.t.e.carta[k]->border(), 0);
    }
    QCOMPARE(g.t.e.printer->lines(), (QStringList{result, "(menu to continue)"}));
    QCOMPARE(s.matchTally, u8(taker == kHuman ? 5 : 7));
}

void TestEndGame::leftoversGoToTheLastTakerUnframed() {
    EndOfGame g;
    GameState &s = g.t.s;
    // The computer captured last; three cards are left and the last card
    // played, a 9, lies among them.
    g.t.put(4, 1, 2);
    g.t.put(17, 2, 3);
    g.t.put(9, 3, 1);
    s.playedCard = 9;
    s.lastTaker = kComputer;
    s.starter = 1;
    s.pileCount = {0, 18, 19};
    s.pileTop = {0, 0, 0};
    s.gameNo = 2;
    s.matchTally = 5;
    FramesAtGlide watch(g.t.e, {4, 17, 9});
    g.flow.setObserver(&watch);
    g.t.movement.setObserver(&watch);

    g.run();
    QVERIFY2(watch.framed.isEmpty(), "leftovers glided with a selection frame");
    QCOMPARE(watch.steps, 125);
    QCOMPARE(s.pileCount[kComputer], i16(22));
    QCOMPARE(s.pileCount[kHuman], i16(18));
    for (int c : {4, 17}) QVERIFY(!g.t.e.carta[c]->isVisible());
    QCOMPARE(g.t.e.printer->lines(), (QStringList{"Game for Computer", "Final game", "(menu to continue)"}));
    QCOMPARE(s.matchTally, u8(12));
}

QTEST_MAIN(TestEndGame)
#include "test_endgame.moc"
