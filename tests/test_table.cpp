// Shuffling, the table deal, dealing hands, card movement and the pauses.
#include "rules_fixture.h"
#include "table/Delay.h"
#include "table/Shuffle.h"

#include <QSet>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using namespace zt;
using zt::test::BareTable;
using zt::test::ScriptedRandom;

namespace {

bool isPermutation(const GameState &s) {
    QSet<int> seen;
    for (int p = 1; p <= 40; ++p) {
        if (s.deck[p] < 1 || s.deck[p] > 40) return false;
        seen.insert(s.deck[p]);
    }
    return seen.size() == 40;
}

// Draws that deal the given codes first, then every other code in order.
std::vector<double> deckDraws(std::initializer_list<int> first) {
    std::vector<double> draws;
    for (int code : first) draws.push_back(ScriptedRandom::index(code, 41));
    for (int code = 1; code <= 40; ++code)
        if (std::find(first.begin(), first.end(), code) == first.end())
            draws.push_back(ScriptedRandom::index(code, 41));
    return draws;
}

QString score(const char *human, const char *computer) {
    return QStringLiteral("   You         Computer") + QString(8, ' ') + QLatin1String(human) + QString(18, ' ') +
           QLatin1String(computer);
}

QPointF at(const PictureItem *p) { return {p->left(), p->top()}; }

bool near(QPointF a, QPointF b) { return std::abs(a.x() - b.x()) < 0.01 && std::abs(a.y() - b.y()) < 0.01; }

// Where a card starting at (L, T) rests after a glide of n steps to (150, pileTop).
QPointF restPoint(double L, double T, int pileTop, int n) {
    return {L - ((L - 150) / n) * (n - 1), T - ((T - pileTop) * (n - 1)) / n};
}

void stage(BareTable &t, int code, QPointF where, const char *tag = "") {
    t.e.carta[code]->move(where.x(), where.y());
    t.e.carta[code]->setVisible(true);
    t.e.carta[code]->tag = QLatin1String(tag);
}

void listTaken(BareTable &t, std::initializer_list<int> codes) {
    int j = 0;
    for (int code : codes) {
        ++j;
        t.s.pickCards[j] = static_cast<i16>(code);
        if (code == 0) continue;
        t.s.pickLeft[j] = static_cast<i16>(t.e.carta[code]->left());
        t.s.pickTop[j] = static_cast<i16>(t.e.carta[code]->top());
        t.e.carta[code]->setBorder(1);
    }
    t.s.pickN = static_cast<i16>(j);
}

const QPointF kPlaySpot(578, 233);

} // namespace

class TestTable : public QObject {
    Q_OBJECT

private slots:
    void deckIsAPermutationWhateverTheDraws();
    void failedDrawsRepeatThePosition();
    void tableOfFortyIsDrawnAgain();
    void mescolaLaysTheTable_data();
    void mescolaLaysTheTable();
    void dealing();
    void humanCapturesThree();
    void computerStealsPile();
    void finalSweepAddsOnlyLeftovers();
    void zeroEntriesAreSkipped();
    void placingOnTable();
    void placingOnFullTable();
    void glideSteps();
    void pauses();
    void realPauseWaits();
};

void TestTable::deckIsAPermutationWhateverTheDraws() {
    // Each loop holds zeros, repeats and values next to 1; a sweep over every
    // index at its end keeps the draw from running for ever.
    std::vector<double> sweep;
    for (int i = 0; i <= 40; ++i) sweep.push_back(ScriptedRandom::index((i * 17) % 41, 41));
    std::vector<std::vector<double>> loops;
    loops.push_back({0.0, 0.999999999, 0.5, 0.5, 0.25, 0.0});
    std::vector<double> lcg;
    std::uint32_t x = 12345;
    for (int i = 0; i < 300; ++i) {
        x = x * 1103515245u + 12345u;
        lcg.push_back((x >> 8) / double(1u << 24));
    }
    loops.push_back(lcg);
    std::vector<double> down;
    for (int i = 40; i >= 0; --i) down.push_back(ScriptedRandom::index(i, 41));
    down.push_back(0.0);
    loops.push_back(down);
    for (auto &loop : loops) loop.insert(loop.end(), sweep.begin(), sweep.end());
    for (const auto &loop : loops) {
        GameState s;
        ScriptedRandom rnd;
        rnd.loop = loop;
        drawDeck(s, rnd);
        QVERIFY(isPermutation(s));
        QVERIFY(s.deck[1] + s.deck[2] + s.deck[3] + s.deck[4] != 40);
    }
    // Ascending indices from 0: index 0 fails once, then the codes in order.
    GameState s;
    ScriptedRandom rnd;
    for (int i = 0; i <= 40; ++i) rnd.loop.push_back(ScriptedRandom::index(i, 41));
    drawDeck(s, rnd);
    for (int p = 1; p <= 40; ++p) QCOMPARE(int(s.deck[p]), p);
    QCOMPARE(rnd.calls, 41);
}

void TestTable::failedDrawsRepeatThePosition() {
    GameState s;
    ScriptedRandom rnd;
    rnd.feed({ScriptedRandom::index(0, 41), ScriptedRandom::index(7, 41), ScriptedRandom::index(7, 41), 0.0,
              ScriptedRandom::index(40, 41), ScriptedRandom::index(7, 41), 0.9999999});
    for (double u : deckDraws({7, 40})) rnd.script.push_back(u);
    drawDeck(s, rnd);
    QCOMPARE(s.deck[1], i16(7));
    QCOMPARE(s.deck[2], i16(40));
    QCOMPARE(s.deck[3], i16(1));
    QCOMPARE(s.deck[40], i16(39));
    QVERIFY(isPermutation(s));
    QCOMPARE(rnd.calls, 7 + 40);
    for (int i = 0; i <= 40; ++i) QCOMPARE(s.drawPool[i], i16(0));
}

void TestTable::tableOfFortyIsDrawnAgain() {
    // 1 + 2 + 3 + 34 and 34 + 3 + 2 + 1 are drawn again; 1 + 2 + 3 + 33 stays.
    {
        GameState s;
        ScriptedRandom rnd;
        for (auto first : {deckDraws({1, 2, 3, 34}), deckDraws({34, 3, 2, 1}), deckDraws({1, 2, 3, 33})})
            rnd.script.insert(rnd.script.end(), first.begin(), first.end());
        drawDeck(s, rnd);
        QCOMPARE(rnd.calls, 120);
        QCOMPARE(QList<int>({s.deck[1], s.deck[2], s.deck[3], s.deck[4]}), QList<int>({1, 2, 3, 33}));
        QVERIFY(isPermutation(s));
    }
    {
        GameState s;
        ScriptedRandom rnd;
        const auto first = deckDraws({1, 2, 3, 35});
        rnd.script.assign(first.begin(), first.end());
        drawDeck(s, rnd);
        QCOMPARE(rnd.calls, 40);
        QCOMPARE(QList<int>({s.deck[1], s.deck[2], s.deck[3], s.deck[4]}), QList<int>({1, 2, 3, 35}));
    }
}

void TestTable::mescolaLaysTheTable_data() {
    QTest::addColumn<int>("starter");
    QTest::addColumn<int>("stockTop");
    QTest::newRow("no game yet") << 0 << 5;
    QTest::newRow("computer leads") << 1 << 495;
    QTest::newRow("human leads") << 2 << 5;
}

void TestTable::mescolaLaysTheTable() {
    QFETCH(int, starter);
    QFETCH(int, stockTop);
    BareTable t;
    t.s.starter = static_cast<u8>(starter);
    t.s.cardWidth = t.s.cardHeight = 0;
    t.s.sideTop = {};
    t.s.tableCards[1][1] = 9;
    t.s.tableCards[3][4] = 17;
    t.s.dealPos = 13;
    t.e.LBLmenu->setVisible(false);
    t.e.Mazzo->setVisible(false);
    t.e.Mazzo->move(0, 0, 30, 40);
    for (int i = 0; i <= 1; ++i) {
        t.e.Verde[i]->setVisible(false);
        t.e.Rosso[i]->setVisible(false);
    }
    for (int code = 1; code <= 40; ++code) stage(t, code, {900, 780});

    BareTable::run(Mescola(t.s, t.e, t.rnd, t.pacing, t.music));

    QVERIFY(isPermutation(t.s));
    QCOMPARE(t.s.cardWidth, 62.0f);
    QCOMPARE(t.s.cardHeight, 100.0f);
    QCOMPARE(t.s.dealPos, i16(4));
    const double lefts[] = {278, 346, 414, 482};
    for (int c = 1; c <= 4; ++c) {
        QCOMPARE(t.s.tableCards[2][c], t.s.deck[c]);
        QCOMPARE(at(t.e.carta[t.s.deck[c]]), QPointF(lefts[c - 1], 233));
        QCOMPARE(t.s.tableCards[1][c], i16(0));
        QCOMPARE(t.s.tableCards[3][c], i16(0));
    }
    QCOMPARE(at(t.e.carta[t.s.deck[5]]), QPointF(900, 780));
    QCOMPARE(t.s.sideTop[1], 495);
    QCOMPARE(t.s.sideTop[2], 5);
    QCOMPARE(at(t.e.Mazzo), QPointF(680, stockTop));
    QCOMPARE(t.e.Mazzo->width(), 62.0);
    QCOMPARE(t.e.Mazzo->height(), 100.0);
    QVERIFY(t.e.Mazzo->isVisible());
    QVERIFY(t.e.LBLmenu->isVisible());
    for (int i = 0; i <= 1; ++i) {
        QVERIFY(t.e.Verde[i]->isVisible());
        QVERIFY(t.e.Rosso[i]->isVisible());
    }
    QCOMPARE(t.scene.backgroundBrush().color(), QColor(0, 112, 0));
    QVERIFY(!t.e.wipe->isVisible());
    QVERIFY(t.musicLog.log.contains(QStringLiteral("play")));
}

void TestTable::dealing() {
    BareTable t;
    for (int p = 1; p <= 40; ++p) t.s.deck[p] = static_cast<i16>(p);
    std::swap(t.s.deck[23], t.s.deck[7]);  // the computer's first card is code 7
    std::swap(t.s.deck[24], t.s.deck[40]); // and its second code 40
    for (int code = 1; code <= 40; ++code) stage(t, code, {900, 780});
    for (int i = 0; i < 3; ++i) t.e.dorso[i]->move(800, 600, 20, 30);

    struct Deal {
        int dealPos;
        int human[3];
        const char *computer[3];
    };
    const Deal deals[] = {{4, {5, 6, 23}, {"7", "40", "25"}}, {19, {20, 21, 22}, {"38", "39", "24"}}};
    for (const Deal &d : deals) {
        t.s.dealPos = static_cast<i16>(d.dealPos);
        qreal highest = 0;
        for (QGraphicsItem *item : t.scene.items()) highest = std::max(highest, item->zValue());

        daicarte(t.s, t.e);

        QCOMPARE(int(t.s.dealPos), d.dealPos + 3);
        qreal previous = highest;
        for (int i = 0; i < 3; ++i) {
            PictureItem *card = t.e.carta[d.human[i]];
            PictureItem *back = t.e.dorso[i];
            QCOMPARE(at(card), QPointF(323 + 68 * i, 495));
            QCOMPARE(card->tag, QStringLiteral("jolly"));
            QCOMPARE(at(back), QPointF(323 + 68 * i, 5));
            QCOMPARE(back->width(), 62.0);
            QCOMPARE(back->height(), 100.0);
            QCOMPARE(back->tag, QString::fromLatin1(d.computer[i]));
            // Dealt alternately, each above everything before it.
            QVERIFY(card->zValue() > previous);
            QVERIFY(back->zValue() > card->zValue());
            previous = back->zValue();
        }
    }
    QCOMPARE(t.s.dealPos, i16(22));
}

void TestTable::humanCapturesThree() {
    BareTable t;
    t.put(1, 1, 1);
    t.put(3, 2, 2);
    t.put(14, 3, 4);
    t.put(9, 1, 3); // stays
    stage(t, 8, kPlaySpot, "jolly");
    stage(t, 20, {150, 495}, "1");
    t.s.pileTop[kHuman] = 20;
    t.s.pileCount = {0, 4, 6};
    t.move(kHuman, 8);
    listTaken(t, {1, 3, 14});

    BareTable::run(t.movement.muovicarte());

    QCOMPARE(t.s.pileCount[kHuman], i16(8));
    QCOMPARE(t.s.pileCount[kComputer], i16(6));
    QCOMPARE(t.e.Label2->caption(), score(" 8", " 6"));
    QCOMPARE(t.s.tableCards[1][1], i16(0));
    QCOMPARE(t.s.tableCards[2][2], i16(0));
    QCOMPARE(t.s.tableCards[3][4], i16(0));
    QCOMPARE(t.s.tableCards[1][3], i16(9));
    QCOMPARE(t.selected(), QList<int>{});
    for (int code : {1, 3, 14, 20}) QVERIFY(!t.e.carta[code]->isVisible());
    QVERIFY(t.e.carta[9]->isVisible());
    QCOMPARE(at(t.e.carta[9]), QPointF(414, 127));
    QVERIFY(t.e.carta[8]->isVisible());
    QCOMPARE(t.e.carta[8]->tag, QStringLiteral("1"));
    QCOMPARE(t.s.pileTop[kHuman], i16(8));
    QCOMPARE(int(t.s.lastTaker), kHuman);
    QCOMPARE(t.s.pickN, i16(3));
    QCOMPARE(t.picks(), QList<int>({0, 0, 0}));
    // Every card rests one step short of the pile point; the taken ones above.
    QVERIFY(near(at(t.e.carta[8]), {153.424, 492.904}));
    QVERIFY(near(at(t.e.carta[1]), restPoint(278, 127, 495, 125)));
    QVERIFY(near(at(t.e.carta[14]), restPoint(482, 339, 495, 125)));
    QVERIFY(t.e.carta[1]->zValue() > t.e.carta[8]->zValue());
}

void TestTable::computerStealsPile() {
    BareTable t;
    stage(t, 24, {150, 495}, "1");
    stage(t, 11, {150, 5}, "2");
    stage(t, 34, kPlaySpot);
    t.put(5, 2, 1);
    t.s.pileTop = {0, 24, 11};
    t.s.pileCount = {0, 7, 3};
    t.move(kComputer, 34);
    t.s.stealFlag = kTrue;
    t.s.pickCards[2] = 5; // left over in the list: a steal takes no table card

    BareTable::run(t.movement.muovicarte());

    QCOMPARE(t.s.pileCount[kComputer], i16(11));
    QCOMPARE(t.s.pileCount[kHuman], i16(0));
    QCOMPARE(t.s.pileTop[kHuman], i16(0));
    QCOMPARE(t.s.pileTop[kComputer], i16(34));
    QCOMPARE(t.s.stealFlag, kFalse);
    QVERIFY(!t.e.carta[24]->isVisible());
    QVERIFY(!t.e.carta[11]->isVisible());
    QVERIFY(t.e.carta[34]->isVisible());
    QCOMPARE(t.e.carta[34]->tag, QStringLiteral("2"));
    QCOMPARE(int(t.s.lastTaker), kComputer);
    QCOMPARE(t.e.Label2->caption(), score(" 0", " 11"));
    QVERIFY(t.e.carta[5]->isVisible());
    QCOMPARE(at(t.e.carta[5]), QPointF(278, 233));
    QCOMPARE(t.s.tableCards[2][1], i16(5));
    QVERIFY(near(at(t.e.carta[34]), restPoint(578, 233, 5, 125)));
}

void TestTable::finalSweepAddsOnlyLeftovers() {
    BareTable t;
    t.put(2, 1, 2);
    t.put(37, 3, 3);
    stage(t, 16, {153, 7}, "2"); // the last card played, the taker's top
    t.s.pileTop = {0, 30, 16};
    t.s.pileCount = {0, 28, 10};
    t.s.finalSweep = kTrue;
    t.s.lastTaker = kComputer;
    t.move(kComputer, 16);
    listTaken(t, {2, 37});

    BareTable::run(t.movement.muovicarte());

    QCOMPARE(t.s.pileCount[kComputer], i16(12));
    QCOMPARE(t.s.pileCount[kHuman], i16(28));
    QCOMPARE(t.e.Label2->caption(), score(" 28", " 12"));
    QCOMPARE(t.s.tableCards[1][2], i16(0));
    QCOMPARE(t.s.tableCards[3][3], i16(0));
    QCOMPARE(t.s.pileTop[kComputer], i16(16));
}

void TestTable::zeroEntriesAreSkipped() {
    BareTable t;
    t.put(5, 1, 1);
    t.put(6, 2, 3);
    t.put(3, 3, 2); // a candidate not taken
    stage(t, 21, kPlaySpot);
    t.e.carta[0]->move(650, 420);
    t.e.carta[0]->setVisible(true);
    const qreal zeroZ = t.e.carta[0]->zValue();
    t.s.pileCount = {0, 2, 5};
    t.move(kComputer, 21);
    listTaken(t, {5, 0, 6});

    BareTable::run(t.movement.muovicarte());

    QCOMPARE(t.s.pileCount[kComputer], i16(8)); // two taken and the played card
    QVERIFY(t.e.carta[0]->isVisible());
    QCOMPARE(at(t.e.carta[0]), QPointF(650, 420));
    QCOMPARE(t.e.carta[0]->zValue(), zeroZ);
    QVERIFY(t.e.carta[3]->isVisible());
    QCOMPARE(t.s.tableCards[3][2], i16(3));
    QCOMPARE(t.s.tableCards[1][1], i16(0));
    QCOMPARE(t.s.tableCards[2][3], i16(0));
    // The computer had no pile: nothing was hidden for an old top.
    QCOMPARE(t.s.pileTop[kComputer], i16(21));
}

void TestTable::placingOnTable() {
    // Eleven slots taken: whatever the draws, the card goes to (3, 2).
    for (int seed = 0; seed < 4; ++seed) {
        BareTable t;
        int code = 1;
        for (int r = 1; r <= 3; ++r)
            for (int c = 1; c <= 4; ++c)
                if (!(r == 3 && c == 2)) t.put(code++, r, c);
        t.rnd.seed(quint64(seed));
        stage(t, 40, kPlaySpot, "jolly");
        t.s.pileCount = {0, 3, 4};
        t.s.pileTop = {0, 30, 31};
        t.e.Label2->setCaption(QStringLiteral("unchanged"));
        t.move(kHuman, 40);

        BareTable::run(t.movement.muovicarte());

        QCOMPARE(t.s.tableCards[3][2], i16(40));
        QCOMPARE(at(t.e.carta[40]), QPointF(346, 339));
        QCOMPARE(t.e.carta[40]->tag, QString());
        QVERIFY(t.e.carta[40]->isVisible());
        QCOMPARE(t.s.pileCount[kHuman], i16(3));
        QCOMPARE(t.s.pileTop[kHuman], i16(30));
        QCOMPARE(t.e.Label2->caption(), QStringLiteral("unchanged"));
        QCOMPARE(t.s.extraN, i16(0));
    }
    // The draws pick row floor(3u + 1) and column floor(4v + 1).
    BareTable t;
    t.put(1, 2, 3);
    stage(t, 40, kPlaySpot, "jolly");
    t.move(kHuman, 40);
    t.rnd.feed({ScriptedRandom::index(1, 3), ScriptedRandom::index(2, 4), 0.0, 0.9999});
    BareTable::run(t.movement.muovicarte());
    QCOMPARE(t.rnd.calls, 4);
    QCOMPARE(t.s.tableCards[1][4], i16(40));
    QCOMPARE(at(t.e.carta[40]), QPointF(482, 127));
}

void TestTable::placingOnFullTable() {
    BareTable t;
    int code = 1;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) t.put(code++, r, c);
    i16 before[4][5];
    std::copy(&t.s.tableCards[0][0], &t.s.tableCards[0][0] + 20, &before[0][0]);
    const QRectF grid(278, 127, 482 + 62 - 278, 339 + 100 - 127);

    // Every place a card waits at must stay clear of what the game shows
    // or where a card must be seen: the play spot, the hands, the piles,
    // the stock on either side, the lights, the game number and the grid.
    QList<QPair<const char *, QRectF>> keepClear{{"the play spot", {578, 233, 62, 100}},
                                                 {"the human's pile", {150, 495, 62, 100}},
                                                 {"the computer's pile", {150, 5, 62, 100}},
                                                 {"the stock below", {680, 495, 62, 100}},
                                                 {"the stock above", {680, 5, 62, 100}},
                                                 {"the human's light", {620, 518, 32, 32}},
                                                 {"the computer's light", {620, 50, 32, 32}},
                                                 {"the game number", {680, 280, 90, 20}},
                                                 {"the grid", grid}};
    for (int i = 0; i <= 2; ++i) {
        keepClear.append({"a human hand slot", {323.0 + 68 * i, 495, 62, 100}});
        keepClear.append({"a computer hand slot", {323.0 + 68 * i, 5, 62, 100}});
    }

    // Every card not on the grid, laid one after the other.
    QList<QPointF> spots;
    for (int played = 13; played <= 40; ++played) {
        stage(t, played, kPlaySpot, "jolly");
        t.move(kHuman, i16(played));
        BareTable::run(t.movement.muovicarte());
        PictureItem *card = t.e.carta[played];
        const QRectF rect(card->left(), card->top(), 62, 100);
        QVERIFY(card->isVisible());
        QVERIFY2(QRectF(0, 0, 800, 600).contains(rect), qPrintable(QString::number(played)));
        for (const auto &[what, area] : keepClear)
            QVERIFY2(!area.intersects(rect), qPrintable(QStringLiteral("card %1 covers %2").arg(played).arg(what)));
        QCOMPARE(card->tag, QString());
        QVERIFY(!spots.contains(at(card)));
        spots << at(card);
    }
    QVERIFY(std::equal(&before[0][0], &before[0][0] + 20, &t.s.tableCards[0][0]));
    QCOMPARE(t.s.extraN, i16(28));
    QCOMPARE(t.s.extraCards[1], i16(13));
    QCOMPARE(t.s.extraCards[28], i16(40));
    QCOMPARE(t.e.carta[40]->zValue() > t.e.carta[39]->zValue(), true);
}

void TestTable::glideSteps() {
    struct Case {
        int speed, steps;
    };
    for (const Case c : {Case{1, 500}, Case{4, 125}, Case{10, 50}, Case{3, 166}}) {
        BareTable t;
        t.put(2, 1, 1);
        stage(t, 12, kPlaySpot, "jolly");
        t.s.cardSpeed = static_cast<u8>(c.speed);
        t.move(kHuman, 12);
        listTaken(t, {2});
        struct StepCount : GameObserver {
            int steps = 0;
            void glideStepShown() override { ++steps; }
        } count;
        t.movement.setObserver(&count);
        BareTable::run(t.movement.muovicarte());
        QCOMPARE(count.steps, c.steps);
        QVERIFY(near(at(t.e.carta[12]), restPoint(578, 233, 495, c.steps)));
    }
    // From the play spot at speed 4 the card rests short of (150, 495).
    QVERIFY(near(restPoint(578, 233, 495, 125), {153.424, 492.904}));

    // On the clock only the steps a frame shows are placed, half a refresh
    // apart at least (60 Hz on a bare scene), and the card still rests on
    // the last step.
    BareTable t;
    t.pacing.setZeroDelay(false);
    t.put(2, 1, 1);
    stage(t, 12, kPlaySpot, "jolly");
    t.s.cardSpeed = 10;
    t.move(kHuman, 12);
    listTaken(t, {2});
    struct Frames : GameObserver {
        std::vector<Pacing::Clock::time_point> at;
        void glideStepShown() override { at.push_back(Pacing::Clock::now()); }
    } frames;
    t.movement.setObserver(&frames);
    BareTable::run(t.movement.muovicarte());
    QVERIFY2(frames.at.size() > 2 && frames.at.size() < 50, qPrintable(QString::number(frames.at.size())));
    for (std::size_t i = 1; i + 1 < frames.at.size(); ++i)
        QVERIFY(frames.at[i] - frames.at[i - 1] >= std::chrono::microseconds(1000000 / 120));
    QVERIFY(near(at(t.e.carta[12]), restPoint(578, 233, 495, 50)));

    // A glide held up past its end still shows its last step, at once.
    BareTable late;
    late.pacing.setZeroDelay(false);
    late.put(2, 1, 1);
    stage(late, 12, kPlaySpot, "jolly");
    late.s.cardSpeed = 10;
    late.move(kHuman, 12);
    listTaken(late, {2});
    // It lets events through on the way, all the same.
    struct Stall : GameObserver {
        int steps = 0;
        bool posted = false, through = false;
        void glideStepShown() override {
            if (steps++ > 0) return void(through = posted);
            QMetaObject::invokeMethod(qApp, [this] { posted = true; }, Qt::QueuedConnection);
            QThread::msleep(300);
        }
    } stall;
    late.movement.setObserver(&stall);
    BareTable::run(late.movement.muovicarte());
    QVERIFY(near(at(late.e.carta[12]), restPoint(578, 233, 495, 50)));
    QCOMPARE(stall.steps, 2);
    QVERIFY(stall.through);
}

void TestTable::pauses() {
    QCOMPARE(pauseSpan(2, 10), 2.0);
    QCOMPARE(pauseSpan(2, 20), 1.0);
    QVERIFY(std::abs(pauseSpan(2, 30) - 2.0 / 3) < 1e-9);
    QVERIFY(std::abs(pauseSpan(1.5f, 30) - 0.5) < 1e-9);
    QCOMPARE(pauseSpan(2, 0), 1.0); // no rate: the default one, not a division by zero

    // A zero or negative span returns at once, even on the real clock.
    BareTable t;
    t.pacing.setZeroDelay(false);
    for (const float seconds : {0.0f, -1.0f}) {
        t.s.clickLock = 0;
        QCoro::Task<> pause = ritardo(t.s, t.pacing, seconds);
        QVERIFY(pause.isReady());
        QCOMPARE(t.s.clickLock, i16(100));
    }
}

void TestTable::realPauseWaits() {
    BareTable t;
    t.pacing.setZeroDelay(false);
    struct Case {
        float seconds;
        u8 rate;
    };
    for (const Case c : {Case{0.6f, 30}, Case{0.3f, 10}}) {
        const double span = pauseSpan(c.seconds, c.rate);
        t.s.playRate = c.rate;
        t.s.clickLock = 0;
        // A rate chosen during the pause does not shorten it.
        QTimer::singleShot(20, [&t] { t.s.playRate = 30; });
        const auto start = Pacing::Clock::now();
        QCoro::Task<> pause = ritardo(t.s, t.pacing, c.seconds);
        QVERIFY(!pause.isReady());
        QCOMPARE(t.s.clickLock, i16(100));
        BareTable::run(std::move(pause));
        const double elapsed = std::chrono::duration<double>(Pacing::Clock::now() - start).count();
        QVERIFY2(elapsed >= 0.9 * span, qPrintable(QStringLiteral("%1 s of %2 s").arg(elapsed).arg(span)));
    }
}

QTEST_MAIN(TestTable)
#include "test_table.moc"
