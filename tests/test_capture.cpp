// What a played card may take from the table, for the human and the computer.
#include "rules_fixture.h"

#include <QtTest>

using namespace zt;
using zt::test::BareTable;

namespace {

struct Slot {
    int code, row, column;
};

void lay(BareTable &t, std::initializer_list<Slot> cards) {
    for (const Slot &c : cards) t.put(c.code, c.row, c.column);
}

} // namespace

class TestCapture : public QObject {
    Q_OBJECT

private slots:
    void patterns();
    void equalRankComesFirst();
    void tens();
    void sums_data();
    void sums();
    void firstPatternInOrderIsTaken();
    void moreThanEightCandidates();
    void emptyTable();
    void candidatesRecordRoundedPlaces();
};

void TestCapture::patterns() {
    BareTable t;
    QCOMPARE(QString::fromStdString(t.s.subsetPattern[1]), QStringLiteral("10000000"));
    QCOMPARE(QString::fromStdString(t.s.subsetPattern[5]), QStringLiteral("10300000"));
    QCOMPARE(QString::fromStdString(t.s.subsetPattern[255]), QStringLiteral("12345678"));
    QCOMPARE(QString::fromStdString(t.s.subsetPattern[6]), QStringLiteral("02300000"));
    QCOMPARE(QString::fromStdString(t.s.subsetPattern[128]), QStringLiteral("00000008"));
    for (int i = 1; i <= 255; ++i) {
        const std::string &p = t.s.subsetPattern[i];
        QCOMPARE(int(p.size()), 8);
        for (int k = 1; k <= 8; ++k) {
            const char want = (i >> (k - 1)) & 1 ? char('0' + k) : '0';
            QVERIFY2(p[k - 1] == want, qPrintable(QStringLiteral("pattern %1: %2").arg(i).arg(QString::fromStdString(p))));
        }
    }
}

void TestCapture::equalRankComesFirst() {
    // 3 + 4 lie before both sevens in scan order; 27 is the first seven.
    for (const i16 player : {i16(kHuman), i16(kComputer)}) {
        BareTable t;
        lay(t, {{3, 1, 1}, {4, 1, 2}, {27, 2, 3}, {17, 3, 1}});
        t.move(player, 7);
        t.capture.combina();
        QCOMPARE(t.s.canCapture, kTrue);
        if (player == kHuman) {
            QCOMPARE(t.s.mustTakeEqual, kTrue);
            QCOMPARE(t.selected(), QList<int>{});
            QCOMPARE(t.s.pickN, i16(0));
            QCOMPARE(t.s.playedCard, i16(7));
        } else {
            QCOMPARE(t.s.mustTakeEqual, kFalse);
            QCOMPARE(t.selected(), QList<int>{27});
            QCOMPARE(t.picks(), QList<int>{27});
            QCOMPARE(t.s.pickLeft[1], i16(414));
            QCOMPARE(t.s.pickTop[1], i16(233));
            QCOMPARE(t.s.playedCard, i16(7));
        }
    }
}

void TestCapture::tens() {
    // A ten takes a ten before 6 + 4, and 6 + 4 when there is no ten.
    for (const i16 player : {i16(kHuman), i16(kComputer)}) {
        BareTable t;
        lay(t, {{6, 1, 1}, {24, 1, 2}, {20, 3, 4}});
        t.move(player, 30);
        t.capture.combina();
        QCOMPARE(t.s.canCapture, kTrue);
        QCOMPARE(t.s.mustTakeEqual, player == kHuman ? kTrue : kFalse);
        QCOMPARE(t.selected(), player == kHuman ? QList<int>{} : QList<int>{20});

        BareTable u;
        lay(u, {{6, 1, 1}, {24, 1, 2}});
        u.move(player, 40);
        u.capture.combina();
        QCOMPARE(u.s.mustTakeEqual, kFalse);
        QCOMPARE(u.s.playedCard, i16(40));
        QCOMPARE(u.selected(), player == kHuman ? QList<int>{} : QList<int>({6, 24}));
        if (player == kHuman) QCOMPARE(u.s.canCapture, kTrue);
        else QCOMPARE(u.picks(), QList<int>({6, 24}));
    }
}

void TestCapture::sums_data() {
    QTest::addColumn<int>("played");
    QTest::addColumn<QList<int>>("table"); // codes, laid in scan order from slot (1,1)
    QTest::addColumn<bool>("captures");
    QTest::addColumn<QList<int>>("taken");    // the computer's borders
    QTest::addColumn<QList<int>>("pickList"); // the computer's pickCards 1..pickN

    QTest::newRow("5 on 1 2 2") << 5 << QList<int>{1, 2, 12} << true << QList<int>{1, 2, 12} << QList<int>{1, 2, 12};
    QTest::newRow("5 on 3 2") << 15 << QList<int>{3, 22} << true << QList<int>{3, 22} << QList<int>{3, 22};
    QTest::newRow("5 on 3 3") << 15 << QList<int>{3, 13} << false << QList<int>{} << QList<int>{};
    QTest::newRow("3 on 4 9 10") << 3 << QList<int>{4, 9, 10} << false << QList<int>{} << QList<int>{};
    // One candidate only (the 2): no sum of two or more.
    QTest::newRow("3 on 2 8") << 3 << QList<int>{2, 8} << false << QList<int>{} << QList<int>{};
    // Candidates sum past the rank but no subset hits it.
    QTest::newRow("9 on 4 4 4") << 9 << QList<int>{4, 14, 24} << false << QList<int>{} << QList<int>{};
    QTest::newRow("9 on 5 4 1 ten") << 39 << QList<int>{5, 40, 14, 1} << true << QList<int>{5, 14}
                                    << QList<int>{5, 14, 0};
}

void TestCapture::sums() {
    QFETCH(int, played);
    QFETCH(QList<int>, table);
    QFETCH(bool, captures);
    QFETCH(QList<int>, taken);
    QFETCH(QList<int>, pickList);

    for (const i16 player : {i16(kHuman), i16(kComputer)}) {
        BareTable t;
        for (int i = 0; i < table.size(); ++i) t.put(table[i], 1 + i / 4, 1 + i % 4);
        t.move(player, i16(played));
        t.capture.combina();
        QCOMPARE(t.s.mustTakeEqual, kFalse);
        QCOMPARE(int(t.s.emptySlots), 12 - int(table.size()));
        if (player == kHuman) {
            QCOMPARE(t.s.canCapture, captures ? kTrue : kFalse);
            QCOMPARE(t.selected(), QList<int>{});
            QCOMPARE(t.s.playedCard, i16(played));
        } else {
            QCOMPARE(t.s.playedCard, captures ? i16(played) : i16(0));
            QCOMPARE(t.selected(), taken);
            QCOMPARE(t.picks(), pickList);
        }
    }
}

void TestCapture::firstPatternInOrderIsTaken() {
    // Candidates a=4, b=3, c=2, d=1 in scan order, played 6: {a,c} (pattern 5)
    // comes before {b,c,d} (pattern 14). The 9 and the ten are no candidates.
    BareTable t;
    lay(t, {{4, 1, 1}, {9, 1, 2}, {13, 1, 3}, {22, 2, 2}, {20, 3, 1}, {31, 3, 4}});
    t.move(kComputer, 16);
    t.capture.combina();
    QCOMPARE(t.s.playedCard, i16(16));
    QCOMPARE(t.selected(), QList<int>({4, 22}));
    QCOMPARE(t.s.pickN, i16(4));
    QCOMPARE(t.picks(), QList<int>({4, 0, 22, 0}));
    QCOMPARE(t.s.pickSum, i16(6));
    // Left and Top of the taken cards stay listed beside them.
    QCOMPARE(t.s.pickLeft[1], i16(278));
    QCOMPARE(t.s.pickTop[1], i16(127));
    QCOMPARE(t.s.pickLeft[3], i16(346));
    QCOMPARE(t.s.pickTop[3], i16(233));

    BareTable h;
    lay(h, {{4, 1, 1}, {9, 1, 2}, {13, 1, 3}, {22, 2, 2}, {20, 3, 1}, {31, 3, 4}});
    h.move(kHuman, 16);
    h.capture.combina();
    QCOMPARE(h.s.canCapture, kTrue);
    QCOMPARE(h.s.mustTakeEqual, kFalse);
    QCOMPARE(h.selected(), QList<int>{});

}

void TestCapture::moreThanEightCandidates() {
    // Nine candidates: no sum is searched, though 1 + 2 + 3 + 4 would do.
    const QList<int> nine{1, 2, 3, 11, 12, 13, 21, 22, 4};
    for (const i16 player : {i16(kHuman), i16(kComputer)}) {
        BareTable t;
        for (int i = 0; i < nine.size(); ++i) t.put(nine[i], 1 + i / 4, 1 + i % 4);
        t.move(player, 10);
        t.capture.combina();
        QCOMPARE(t.s.canCapture, kFalse);
        QCOMPARE(t.s.pickN, i16(0));
        QCOMPARE(t.s.playedCard, i16(10)); // the computer lays it on the table
        QCOMPARE(t.selected(), QList<int>{});
    }
    // Eight still search: the first hit is 1 + 2 + 3 + 4 (the 4 at the end).
    BareTable t;
    const QList<int> eight{1, 2, 3, 11, 12, 13, 21, 4};
    for (int i = 0; i < eight.size(); ++i) t.put(eight[i], 1 + i / 4, 1 + i % 4);
    t.move(kComputer, 10);
    t.capture.combina();
    QCOMPARE(t.s.playedCard, i16(10));
    QCOMPARE(t.s.pickN, i16(8));
    int sum = 0;
    for (int code : t.selected()) sum += valore_carta(u8(code));
    QCOMPARE(sum, 10);
}

void TestCapture::emptyTable() {
    BareTable h;
    h.move(kHuman, 5);
    h.capture.combina();
    QCOMPARE(h.s.canCapture, kFalse);
    QCOMPARE(int(h.s.emptySlots), 12);
    QCOMPARE(h.s.playedCard, i16(5));

    BareTable c;
    c.move(kComputer, 5);
    c.capture.combina();
    QCOMPARE(c.s.canCapture, kFalse);
    QCOMPARE(c.s.playedCard, i16(0));
    QCOMPARE(c.s.pickN, i16(0));
}

void TestCapture::candidatesRecordRoundedPlaces() {
    // Places are rounded half to even, as the game's integers round.
    BareTable t;
    t.put(3, 1, 1);
    t.put(2, 1, 2);
    t.e.carta[3]->move(300.5, 233.5);
    t.e.carta[2]->move(301.5, 127.4);
    t.move(kComputer, 5);
    t.capture.combina();
    QCOMPARE(t.picks(), QList<int>({3, 2}));
    QCOMPARE(t.s.pickLeft[1], i16(300));
    QCOMPARE(t.s.pickTop[1], i16(234));
    QCOMPARE(t.s.pickLeft[2], i16(302));
    QCOMPARE(t.s.pickTop[2], i16(127));
}

QTEST_MAIN(TestCapture)
#include "test_capture.moc"
