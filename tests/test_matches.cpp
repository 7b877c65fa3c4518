// Whole matches through the real window, and the human's selection rules
// through real clicks.
#include "testsupport.h"
#include "tools/selfplay/bot.h"

#include <QScopeGuard>
#include <map>
#include <set>

using namespace zt;
using namespace zt::test;
using selfplay::Bot;
using selfplay::GameRecord;
using selfplay::MoveRecord;
using selfplay::TableView;

namespace {

std::set<int> visibleBadges(Elements &e) {
    std::set<int> out;
    for (int b = 1; b <= 4; ++b)
        if (e.Image1[b]->isVisible()) out.insert(b);
    return out;
}

// Badges shown while a match with this tally goes on.
std::set<int> badgesFor(int tally) {
    switch (tally) {
    case 5: return {1};
    case 7: return {3};
    case 12: return {1, 3};
    default: return {};
    }
}

QString str(const std::set<int> &s) {
    QStringList out;
    for (int v : s) out << QString::number(v);
    return "{" + out.join(',') + "}";
}

// Plays games with the bot and returns their records as JSON lines.
QStringList recordGames(quint64 seed, int games) {
    Harness h(seed);
    h.window->setUpdatesEnabled(false);
    Bot bot(*h.window, seed);
    QStringList lines;
    bot.onGame = [&](const GameRecord &r) { lines << QString::fromStdString(r.toJson()); };
    for (int idle = 0; bot.counts.games < games && !bot.stuck() && idle < 1000;)
        idle = bot.step() == Bot::Action::None ? idle + 1 : 0;
    if (!bot.problems.empty()) lines << QString::fromStdString(bot.problems.front());
    return lines;
}

} // namespace

class TestMatches : public QObject {
    Q_OBJECT
private slots:
    void matchesFollowTheRules();
    void sameSeedSameRecord();
    void selectionRules_data();
    void selectionRules();
};

void TestMatches::matchesFollowTheRules() {
    constexpr quint64 kSeed = 11;
    constexpr int kGames = 400;
    Harness h(kSeed);
    MainWindow &w = *h.window;
    GameState &s = h.s();
    Elements &e = h.e();
    w.setUpdatesEnabled(false);
    Bot bot(w, kSeed);

    QStringList failures;
    auto expect = [&](bool ok, const QString &what) {
        if (!ok && failures.size() < 20) failures << QStringLiteral("game %1: %2").arg(bot.counts.games + 1).arg(what);
    };
    QVERIFY(!e.menu.continue_->isEnabled());
    QVERIFY(!e.menu.new_game->isEnabled());

    int tally = 0, gameNo = 1, previousStarter = -1, matchesOver = 0;
    int draws = 0, finals = 0, humanMatches = 0, computerMatches = 0, afterFirstDraw = 0;
    bool drawOpened = false;
    bot.onGame = [&](const GameRecord &r) {
        expect(r.game == gameNo, QStringLiteral("numbered %1, expected %2").arg(r.game).arg(gameNo));
        expect(r.piles[1] + r.piles[2] == 40, QStringLiteral("piles add up to %1").arg(r.piles[1] + r.piles[2]));
        if (previousStarter >= 0)
            expect(r.starter == (previousStarter == 1 ? 2 : 1),
                   QStringLiteral("starter %1 after %2").arg(r.starter).arg(previousStarter));
        previousStarter = r.starter;

        QStringList lines{QStringLiteral(" %1^ game").arg(gameNo)};
        bool over = false;
        if (r.result == "draw") {
            ++draws;
            if (gameNo == 1) drawOpened = true;
            lines << "The game finished as a draw";
        } else {
            const bool human = r.result == "human";
            if (drawOpened && gameNo == 2) ++afterFirstDraw;
            tally += human ? 5 : 7;
            lines << (human ? "Game for you" : "Game for Computer");
            if (tally == 12) {
                lines << "Final game";
                ++finals;
            }
            if (tally == 10 || tally == 17) lines << "You are the winner", ++humanMatches, over = true;
            if (tally == 14 || tally == 19) lines << "Computer is the winner", ++computerMatches, over = true;
        }
        lines << "(menu to continue)";
        expect(r.matchTally == tally, QStringLiteral("tally %1, expected %2").arg(r.matchTally).arg(tally));
        const QStringList printed = e.printer->lines();
        expect(printed == lines, "printed " + printed.join('|') + " instead of " + lines.join('|'));
        // The record holds what the table shows: the printed lines and the
        // games won as the badges show them.
        QStringList recorded;
        for (const std::string &line : r.printed) recorded << QString::fromStdString(line);
        expect(recorded == printed, "recorded lines " + recorded.join('|'));
        const int humanWins = tally == 5 || tally == 12 || tally == 19 ? 1 : tally == 10 || tally == 17 ? 2 : 0;
        const int computerWins = tally == 7 || tally == 12 || tally == 17 ? 1 : tally == 14 || tally == 19 ? 2 : 0;
        expect(r.badges[1] == humanWins && r.badges[2] == computerWins,
               QStringLiteral("badges recorded as %1-%2 at tally %3").arg(r.badges[1]).arg(r.badges[2]).arg(tally));
        // The result follows from the recorded piles, and the piles from the moves and the sweep.
        int pile[3] = {0, 0, 0};
        for (const selfplay::MoveRecord &m : r.moves) {
            pile[1] = m.piles[1];
            pile[2] = m.piles[2];
        }
        pile[r.sweep.taker] += int(r.sweep.cards.size());
        expect(pile[1] == r.piles[1] && pile[2] == r.piles[2], "the sweep and the last move do not give the piles");
        expect(e.menu.continue_->isEnabled() == !over, QStringLiteral("Continue enabled %1").arg(!over));
        expect(e.menu.new_game->isEnabled() == (over || matchesOver > 0),
               QStringLiteral("New Game enabled %1").arg(over || matchesOver > 0));
        if (over) {
            // The final badges stay until New Game.
            const std::set<int> want = tally == 10 ? std::set<int>{2} : tally == 14 ? std::set<int>{4}
                                       : tally == 17 ? std::set<int>{1, 2} : std::set<int>{3, 4};
            std::set<int> shown = visibleBadges(e);
            expect(std::includes(shown.begin(), shown.end(), want.begin(), want.end()),
                   "badges at the end of the match " + str(shown));
            ++matchesOver;
            tally = 0;
            gameNo = 1;
            drawOpened = false;
        } else {
            expect(visibleBadges(e) == badgesFor(tally), "badges while the match goes on " + str(visibleBadges(e)));
            ++gameNo;
        }
    };

    for (int idle = 0; bot.counts.games < kGames && !bot.stuck() && idle < 1000;) {
        const Bot::Action a = bot.step();
        idle = a == Bot::Action::None ? idle + 1 : 0;
        if (a == Bot::Action::NewGame || a == Bot::Action::Continue) {
            // The next start screen: a fresh game number, no badge until play starts.
            expect(s.gameNo == gameNo, QStringLiteral("start screen of game %1, expected %2").arg(s.gameNo).arg(gameNo));
            expect(visibleBadges(e).empty(), "badges on the start screen " + str(visibleBadges(e)));
            expect(e.Command1->isVisible(), "no GO on the start screen");
            expect(s.pileCount[1] == 0 && s.pileCount[2] == 0, "piles not cleared for the next game");
        } else if (a == Bot::Action::Go) {
            expect(visibleBadges(e) == badgesFor(tally), "badges in play " + str(visibleBadges(e)));
            // Continue from the first continue wait to the end of the match;
            // New Game from the first end of a match on.
            expect(e.menu.continue_->isEnabled() == (gameNo > 1), "Continue enabled in play");
            expect(e.menu.new_game->isEnabled() == (matchesOver > 0), "New Game enabled in play");
        }
    }
    QVERIFY2(bot.problems.empty(), bot.problems.empty() ? "" : bot.problems.front().c_str());
    QCOMPARE(bot.counts.games, kGames);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    QCOMPARE(bot.counts.matches, matchesOver);
    // The run must have met every way a match goes.
    QVERIFY(draws > 0);
    QVERIFY(afterFirstDraw > 0);
    QVERIFY(finals > 0);
    QVERIFY(humanMatches > 0);
    QVERIFY(computerMatches > 0);
    QVERIFY(bot.counts.refused > 0);
}

void TestMatches::sameSeedSameRecord() {
    const QStringList first = recordGames(5, 12);
    const QStringList second = recordGames(5, 12);
    QCOMPARE(first.size(), 12);
    QCOMPARE(second, first);
    QVERIFY(recordGames(6, 12) != first);
}

// A rigged deal at the human's first move: the given hand and table cards,
// everything else out of sight, and the computer holding aces.
static void rig(MainWindow &w, int handCard, const QList<int> &table, int computerPileTop) {
    GameState &s = w.state();
    Elements &e = w.elements();
    for (int k = 1; k <= 40; ++k) {
        e.carta[k]->setVisible(true);
        e.carta[k]->tag = QString();
        e.carta[k]->setBorder(0);
        e.carta[k]->move(places::kParkedCardLeft, places::kParkedCardTop);
    }
    s.eraseTable();
    s.extraN = 0;
    s.pileTop = {};
    s.pileCount = {};
    const int hand[3] = {handCard, 39, 40}; // a knight and a king beside the played card
    for (int i = 0; i < 3; ++i) {
        // Dealt as the last deal's cards are, slot by slot.
        s.deck[s.dealPos - 2 + i] = static_cast<i16>(hand[i]);
        PictureItem *c = e.carta[hand[i]];
        c->tag = QStringLiteral("jolly");
        c->move(places::handLeft(i), places::humanHandTop(s.cardHeight));
        c->bringToFront();
    }
    for (int j = 0; j < table.size(); ++j) {
        const int row = 1 + j / 4, col = 1 + j % 4;
        s.tableCards[row][col] = static_cast<i16>(table[j]);
        e.carta[table[j]]->move(places::slotLeft(s.cardWidth, col), places::slotTop(s.cardHeight, row));
        e.carta[table[j]]->bringToFront();
    }
    const int aces[3] = {1, 11, 21};
    for (int i = 0; i <= 2; ++i)
        if (e.dorso[i]->tag != QLatin1String("0")) e.dorso[i]->tag = QString::number(aces[i]);
    if (computerPileTop) {
        e.carta[computerPileTop]->tag = QStringLiteral("2");
        e.carta[computerPileTop]->move(places::kPileLeft, s.sideTop[kComputer]);
        s.pileTop[kComputer] = static_cast<i16>(computerPileTop);
        s.pileCount[kComputer] = 1;
    }
}

void TestMatches::selectionRules_data() {
    QTest::addColumn<int>("card");
    QTest::addColumn<QList<int>>("table");
    QTest::addColumn<int>("pileTop");
    // Clicks in order; the played card is one of them. Negative: the move
    // must still wait after this click; positive: it must be done.
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("taken");
    QTest::addColumn<bool>("notify");

    const int capture = MoveRecord::Capture, place = MoveRecord::Place, steal = MoveRecord::Steal;
    // 6 of coins; 6 of cups, 2 of clubs, 4 of swords on the table.
    QTest::newRow("6 takes the 6, never 2 + 4") << 6 << QList<int>{16, 22, 34} << 0
                                                << QList<int>{-6, -22, -34, -22, -34, 16} << capture
                                                << QList<int>{16} << false;
    QTest::newRow("2 + 4 chosen first, then the 6 alone")
        << 6 << QList<int>{16, 22, 34} << 0 << QList<int>{-22, -34, -6, -34, -22, 16} << capture << QList<int>{16}
        << false;
    QTest::newRow("8 takes 3 + 5") << 8 << QList<int>{3, 15} << 0 << QList<int>{-8, -3, 15} << capture
                                   << QList<int>{3, 15} << false;
    QTest::newRow("8 takes 5 + 3") << 8 << QList<int>{3, 15} << 0 << QList<int>{-8, -15, 3} << capture
                                   << QList<int>{3, 15} << false;
    QTest::newRow("the 5 alone waits") << 8 << QList<int>{3, 15, 29} << 0 << QList<int>{-8, -15, -15, -3, 15}
                                       << capture << QList<int>{3, 15} << false;
    QTest::newRow("chosen before playing") << 8 << QList<int>{3, 15} << 0 << QList<int>{-15, -3, 8} << capture
                                           << QList<int>{3, 15} << false;
    QTest::newRow("nothing to take: the selection is dropped")
        << 4 << QList<int>{9, 10} << 0 << QList<int>{-9, 4} << place << QList<int>{} << false;
    QTest::newRow("steal tried with another rank") << 8 << QList<int>{3, 15} << 17 << QList<int>{-17, -8, -3, 15}
                                                   << capture << QList<int>{3, 15} << true;
    // What whole games hardly ever meet.
    QTest::newRow("nine candidates: no sum is searched")
        << 7 << QList<int>{31, 2, 12, 22, 32, 3, 13, 23, 33} << 0 << QList<int>{-2, -12, -3, 7} << place << QList<int>{}
        << false;
    QTest::newRow("a full table: the card waits beside it")
        << 31 << QList<int>{2, 12, 22, 32, 3, 13, 23, 33, 4, 14, 24, 34} << 0 << QList<int>{31} << place
        << QList<int>{} << false;
    QTest::newRow("steal with the pile's rank") << 8 << QList<int>{3, 15} << 18 << QList<int>{-3, -18, 8} << steal
                                                << QList<int>{} << true;
}

void TestMatches::selectionRules() {
    QFETCH(int, card);
    QFETCH(QList<int>, table);
    QFETCH(int, pileTop);
    QFETCH(QList<int>, clicks);
    QFETCH(int, kind);
    QFETCH(QList<int>, taken);
    QFETCH(bool, notify);

    Harness h(3);
    MainWindow &w = *h.window;
    GameState &s = h.s();
    Elements &e = h.e();
    QVERIFY(selfplay::clickAndSettle(w, e.Command1));
    QVERIFY(s.turnPlayer == kHuman && s.clickLock == 0 && s.playedCard == 0);
    rig(w, card, table, pileTop);

    // The table as the human's move leaves it, before the computer moves.
    struct Watch : GameObserver {
        MainWindow &w;
        TableView before;
        std::optional<MoveRecord> move;
        std::map<int, int> bordersAfter; // table card -> border
        int pileTopAfter = -1, pileTopBorder = -1;
        explicit Watch(MainWindow &w) : w(w), before(TableView::of(w)) {}
        void moveDone(const MoveNews &) override {
            const GameState &s = w.state();
            if (s.turnPlayer != kHuman || move) return;
            move = selfplay::readMove(w, before);
            for (int row = 1; row <= 3; ++row)
                for (int col = 1; col <= 4; ++col)
                    if (const int t = s.tableCards[row][col]) bordersAfter[t] = w.elements().carta[t]->border();
            pileTopAfter = s.pileTop[kComputer];
            if (pileTopAfter) pileTopBorder = w.elements().carta[pileTopAfter]->border();
        }
    } watch(w);
    w.setObserver(&watch);
    const auto detach = qScopeGuard([&w] { w.setObserver(nullptr); });
    auto &move = watch.move;
    auto &bordersAfter = watch.bordersAfter;
    const int &pileTopAfter = watch.pileTopAfter, &pileTopBorder = watch.pileTopBorder;
    PlayerLog wave(player(w, "MMCw"));
    qsizetype logBefore = 0;
    std::set<int> selected;
    for (int c : clicks) {
        const int code = std::abs(c);
        if (code == card) logBefore = wave.log.size();
        QVERIFY2(selfplay::clickAndSettle(w, e.carta[code]), qPrintable(QStringLiteral("click on %1").arg(code)));
        QVERIFY2(move.has_value() == (c > 0), qPrintable(QStringLiteral("after the click on %1").arg(code)));
        if (code == card) {
            if (!move) QCOMPARE(int(s.playedCard), card);
            continue;
        }
        if (!selected.erase(code)) selected.insert(code);
        if (!move) QCOMPARE(e.carta[code]->border(), selected.count(code) ? 1 : 0);
    }
    QVERIFY(move);
    QCOMPARE(int(move->kind), kind);
    QCOMPARE(QList<int>(move->taken.begin(), move->taken.end()), taken);
    QCOMPARE(move->card, card);
    QCOMPARE(move->slot, 0);

    // "notify" is loaded and played after the rustle of the played card,
    // and the rustle loaded again.
    const QStringList sounds = wave.log.mid(logBefore);
    const QStringList notifyLog{"play", "close", "open", "play", "close", "open"};
    if (notify)
        QCOMPARE(sounds.mid(0, notifyLog.size()), notifyLog);
    else
        QVERIFY2(!sounds.isEmpty() && !sounds.contains("open"), qPrintable(sounds.join(',')));

    // What stays on the table is no longer selected; nothing taken is left.
    QList<int> left;
    for (int t : table)
        if (!taken.contains(t)) left << t;
    if (kind == MoveRecord::Place && table.size() < 12) left << card;
    if (kind == MoveRecord::Place && table.size() == 12) {
        QCOMPARE(move->row, 0);
        QVERIFY(s.extraN >= 1); // the computer may have laid one beside it since
        QCOMPARE(int(s.extraCards[1]), card);
        const QRectF beside(e.carta[card]->pos(), QSizeF(62, 100));
        QVERIFY(!beside.intersects(QRectF(places::playSpotLeft(s.midX), places::playSpotTop(s.cardHeight), 62, 100)));
    }
    QCOMPARE(int(bordersAfter.size()), int(left.size()));
    for (int t : left) {
        QVERIFY2(bordersAfter.count(t), qPrintable(QStringLiteral("card %1 left the table").arg(t)));
        QCOMPARE(bordersAfter[t], 0);
    }
    if (kind == MoveRecord::Steal) {
        QCOMPARE(pileTopAfter, 0);
        QCOMPARE(move->piles[kHuman], 2);
        QCOMPARE(move->piles[kComputer], 0);
    } else if (pileTop) {
        QCOMPARE(pileTopAfter, pileTop);
        QCOMPARE(pileTopBorder, 0);
        QCOMPARE(move->piles[kComputer], 1);
    }
}

QTEST_MAIN(TestMatches)
#include "test_matches.moc"
