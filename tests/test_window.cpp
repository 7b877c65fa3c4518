// The window, its elements and menu, start-up, and the game cycle.
#include "testsupport.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QScrollBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextLayout>

using namespace zt;
using namespace zt::test;

namespace {

// Whether the item draws anything at all where it lies.
bool drawsSomething(QGraphicsItem *item) {
    QImage image(item->boundingRect().size().toSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return false;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    item->paint(&painter, &option, nullptr);
    painter.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) return true;
    return false;
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void elementsAtCreation();
    void menuAtStartUp();
    void startUpPlacements();
    void gridCornersAtAnySize();
    void startScreenWaitsForGo();
    void newGameStartsLikeGo();
    void menuOpensBelowTheStripCaption();
    void stripBlackAgainAtActivation();
    void helpBannerPhraseOnEachLine();
    void clicksDuringTheWipe();
    void clicksInsideARealPause();
    void requestsOutsideTheirWaitsAreIgnored();
    void hundredGamesKeepTheStackFlat();
    void endingFromAnyWait_data();
    void endingFromAnyWait();
    void endingDuringAPause();
    void sceneGoesBeforeTheElements();
};

void TestWindow::elementsAtCreation() {
    Elements e;
    QGraphicsScene scene;
    QWidget menuParent;
    buildElements(e, &scene, &menuParent);

    struct Case {
        const char *name;
        QGraphicsItem *item;
        QRectF geom;
        bool visible;
    };
    const Case cases[] = {
        {"carta(1)", e.carta[1], {440, 540, 62, 100}, false},
        {"carta(40)", e.carta[40], {440, 540, 62, 100}, false},
        {"carta(0)", e.carta[0], {650, 420, 62, 100}, false},
        {"Picture2", e.Picture2, {660, 0, 219, 73}, true},
        {"dorso(0)", e.dorso[0], {440, 420, 62, 100}, true},
        {"Mazzo", e.Mazzo, {510, 420, 62, 100}, true},
        {"Verde(0)", e.Verde[0], {860, 350, 32, 32}, true},
        {"Verde(1)", e.Verde[1], {820, 350, 32, 32}, true},
        {"Rosso(0)", e.Rosso[0], {860, 410, 32, 32}, true},
        {"Rosso(1)", e.Rosso[1], {820, 410, 32, 32}, true},
        {"Text1", e.Text1, {200, 450, 242, 242}, false},
        {"Text4", e.Text4, {220, 110, 221, 101}, false},
        {"Command1", e.Command1, {660, 360, 151, 21}, false},
        {"Picture4", e.Picture4, {260, 0, 294, 131}, true},
        {"Text3", e.Text3, {200, 210, 242, 242}, false},
        {"Image1(1)", e.Image1[1], {200, 10, 24, 24}, false},
        {"Image1(4)", e.Image1[4], {200, 100, 24, 24}, false},
        {"Label2", e.Label2, {0, 620, 125, 47}, true},
        {"Label1", e.Label1, {4, 170, 121, 381}, false},
        {"LBLmenu", e.LBLmenu, {70, 10, 126, 691}, true},
    };
    for (const Case &c : cases) {
        const QRectF got(c.item->pos(), c.item->boundingRect().size());
        QVERIFY2(got == c.geom, c.name);
        QVERIFY2(c.item->isVisible() == c.visible, c.name);
    }
    // The empty card draws nothing where a card draws its face.
    for (int k : {0, 1}) e.carta[k]->move(10, 10);
    QVERIFY(!drawsSomething(e.carta[0]));
    QVERIFY(drawsSomething(e.carta[1]));
    QVERIFY(!e.dorso[1] && !e.dorso[2]);
    e.createDorsoCopies();
    QCOMPARE(e.dorso[2]->pos(), e.dorso[0]->pos());
    QVERIFY(!e.dorso[1]->isVisible() && !e.dorso[2]->isVisible());
    QCOMPARE(e.dorso[2]->index(), 2);

    // Windowed elements stand above the labels; the banner takes no clicks.
    QVERIFY(e.carta[1]->zValue() > e.Label1->zValue());
    QVERIFY(e.Label1->zValue() > e.LBLmenu->zValue());
    QVERIFY(e.Text3->zValue() > e.Picture4->zValue());
    QCOMPARE(e.Picture4->acceptedMouseButtons(), Qt::NoButton);
    QCOMPARE(e.LBLmenu->caption(), QStringLiteral(" Menu "));
    QCOMPARE(e.Command1->caption(), QStringLiteral("GO"));
    QVERIFY(e.Label1->caption().startsWith(QStringLiteral("    PLAY RATE           Please fit play-rate")));
    QVERIFY(e.Label1->caption().endsWith(QStringLiteral("Clicca prima sul mazzetto per rubarlo")));
    QVERIFY(e.Text3->text().startsWith(QStringLiteral("Regole del gioco")));
    QVERIFY(e.Text1->text().startsWith(QStringLiteral("Game rules")));

    // The empty card takes borders, tags and moves without harm.
    e.carta[0]->setBorder(1);
    e.carta[0]->tag = QStringLiteral("x");
    e.carta[0]->move(1, 2);
    e.carta[0]->setVisible(true);
    QCOMPARE(e.carta[0]->border(), 1);
}

void TestWindow::menuAtStartUp() {
    Harness h;
    const Menu &m = h.e().menu;
    QCOMPARE(m.partita->title(), QStringLiteral("&Gioco"));
    QCOMPARE(m.speed->title(), QStringLiteral("&Speed of cards"));
    QCOMPARE(m.play_rate->title(), QStringLiteral("&Play rate"));
    QCOMPARE(m.istruzioni->title(), QStringLiteral("&Game rules"));
    QCOMPARE(m.suoni->title(), QStringLiteral("&Sounds"));
    QCOMPARE(m.Musica->title(), QStringLiteral("&Music"));
    QCOMPARE(m.menu_about->text(), QStringLiteral("&Info"));
    QCOMPARE(m.esci->text(), QStringLiteral("&QUIT"));
    QVERIFY(!m.new_game->isEnabled());
    QVERIFY(!m.continue_->isEnabled());
    for (int i = 1; i <= 10; ++i) QCOMPARE(m.card_speed[i]->isChecked(), i == 4);
    QVERIFY(!m.velocita_gioco[1]->isChecked() && m.velocita_gioco[2]->isChecked() && !m.velocita_gioco[3]->isChecked());
    QCOMPARE(m.velocita_gioco[2]->text(), QStringLiteral("Middle"));
    QVERIFY(m.menu_card_rustle_yes->isChecked() && !m.menu_card_rustle_no->isChecked());
    for (int i = 0; i <= 12; ++i) QCOMPARE(m.canzoni[i]->isChecked(), i == 12);
    QCOMPARE(m.canzoni[3]->text(), QStringLiteral("Go4yrgun"));
    // Display order under the pop-up root.
    const QList<QAction *> top = m.partita->actions();
    QCOMPARE(top.size(), 9);
    QCOMPARE(top[0], m.new_game);
    QCOMPARE(top[1], m.continue_);
    QCOMPARE(top[2]->menu(), m.speed);
    QCOMPARE(top[7], m.menu_about);
    QCOMPARE(top[8], m.esci);
    QCOMPARE(h.s().cardSpeed, u8(4));
    QCOMPARE(h.s().playRate, u8(20));
    QCOMPARE(h.window->windowTitle(), QStringLiteral("Veltrano - Zentolletto"));
    // The icon is drawn once the first frame is on the screen.
    QVERIFY(runUntil([&] { return !h.window->windowIcon().pixmap(32, 32).isNull(); }));
}

void TestWindow::startUpPlacements() {
    Harness h;
    Elements &e = h.e();
    GameState &s = h.s();
    QCOMPARE(e.Picture4->pos(), QPointF(316, 234.5));
    QCOMPARE(e.LBLmenu->pos(), QPointF(0, 0));
    QCOMPARE(e.Label2->pos(), QPointF(0, 564));
    QCOMPARE(e.Image1[1]->pos(), QPointF(158, 455));
    QCOMPARE(e.Image1[2]->pos(), QPointF(190, 455));
    QCOMPARE(e.Image1[3]->pos(), QPointF(158, 120));
    QCOMPARE(e.Image1[4]->pos(), QPointF(190, 120));
    QCOMPARE(e.Command1->pos(), QPointF(390, 430));
    QCOMPARE(e.Text1->pos(), QPointF(0, 0));
    QCOMPARE(e.Text4->pos(), QPointF(0, 0));
    QCOMPARE(s.subsetPattern[5], std::string("10300000"));
    QVERIFY(s.starter == 0 || s.starter == 1);
    // Activation and the start screen.
    QCOMPARE(s.midX, 400.0f);
    QCOMPARE(s.midY, 300.0f);
    QCOMPARE(s.gameNo, u8(1));
    QCOMPARE(e.Picture2->pos(), QPointF(800 - 219, 0));
    QVERIFY(e.Picture2->isVisible() && e.Picture4->isVisible() && e.Command1->isVisible());
    QVERIFY(e.Label1->isVisible() && e.Label2->isVisible() && !e.Mazzo->isVisible());
    QCOMPARE(e.Label2->caption(), QStringLiteral("   You         Computer") + QString(29, ' '));
    for (int i = 0; i <= 1; ++i) QCOMPARE(e.Verde[i]->pos(), QPointF(800, 600));
    for (int k = 1; k <= 40; ++k) QCOMPARE(e.carta[k]->pos(), QPointF(900, 780));
    QCOMPARE(e.dorso[2]->pos(), QPointF(800, 600));
    QCOMPARE(e.scene->backgroundBrush().color(), QColor(255, 255, 0));
    // The theme is named at start-up but does not play before the first shuffle.
    QVERIFY(player(*h.window, "MMC1").fileName.endsWith(QStringLiteral("music/tresquo.mid")));
    QVERIFY(!player(*h.window, "MMC1").isPlaying());
}

void TestWindow::gridCornersAtAnySize() {
    Harness h;
    GameView *v = h.window->view();
    for (QSize size : {QSize(800, 600), QSize(1000, 700), QSize(640, 480), QSize(1600, 1200), QSize(333, 999)}) {
        h.window->resize(size);
        QCoreApplication::processEvents();
        const QSize vp = v->viewport()->size();
        QCOMPARE(v->mapFromScene(QPointF(0, 0)), QPoint(0, 0));
        const QPointF corner = v->transform().map(QPointF(800, 600)) - QPointF(v->horizontalScrollBar()->value(), v->verticalScrollBar()->value());
        QVERIFY2(qAbs(corner.x() - vp.width()) < 0.01 && qAbs(corner.y() - vp.height()) < 0.01,
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        // A card parked at (800, 600) is entirely outside the visible area.
        QVERIFY(v->mapFromScene(QPointF(800, 600)).x() >= vp.width() - 1);
    }
}

void TestWindow::startScreenWaitsForGo() {
    Harness h;
    GameState &s = h.s();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    QCOMPARE(s.dealPos, i16(0));
    QCOMPARE(s.newGameRequested, i16(0));
    h.e().Text1->setVisible(true);
    PlayerLog music(player(*h.window, "MMC1"));
    clickItem(*h.window, h.e().Command1);
    QVERIFY(runUntil([&] { return s.dealPos >= 4; }));
    QVERIFY(!h.e().Text1->isVisible());
    QVERIFY(!h.e().Command1->isVisible() && !h.e().Picture4->isVisible());
    QCOMPARE(h.e().scene->backgroundBrush().color(), QColor(0, 112, 0));
    QVERIFY(music.log.contains(QStringLiteral("play")));
    QVERIFY(runUntil([&] { return humanToPlay(*h.window); }));
    // Four table cards, three human cards face up, the computer's backs.
    int table = 0, hand = 0;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 4; ++c) table += s.tableCards[r][c] != 0;
    for (int k = 1; k <= 40; ++k) hand += h.e().carta[k]->tag == QLatin1String("jolly");
    QCOMPARE(table + hand + s.pileCount[1] + s.pileCount[2] + s.extraN, s.starter == 1 ? 6 : 7);
    QCOMPARE(h.e().printer->lines().first(), QStringLiteral(" 1^ game"));
}

void TestWindow::newGameStartsLikeGo() {
    Harness h;
    MainWindow &w = *h.window;
    Elements &e = h.e();
    // At the first start New Game is disabled: choosing it starts nothing.
    QVERIFY(!e.menu.new_game->isEnabled());
    e.menu.new_game->trigger();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    QCOMPARE(h.s().dealPos, i16(0));
    QVERIFY(e.Command1->isVisible());

    // Play to the end of a match, then New Game opens the next start screen.
    for (int game = 0; game < 10 && !e.menu.new_game->isEnabled(); ++game) {
        clickItem(w, e.Command1);
        QVERIFY(playToEndOfGame(w));
        if (e.menu.continue_->isEnabled()) {
            e.menu.continue_->trigger();
            QVERIFY(runUntil([&] { return e.Command1->isVisible(); }));
        }
    }
    QVERIFY(e.menu.new_game->isEnabled());
    const int activations = h.cycles.activations;
    e.menu.new_game->trigger();
    QVERIFY(runUntil([&] { return h.cycles.activations == activations + 1 && e.Command1->isVisible(); }));
    QCOMPARE(h.s().gameNo, u8(1));

    // There, New Game starts the game like GO, but leaves the texts open.
    e.Text1->setVisible(true);
    e.menu.new_game->trigger();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    QCOMPARE(h.s().gameNo, u8(1));
    QVERIFY(!e.Command1->isVisible());
    QVERIFY(e.Text1->isVisible());
}

void TestWindow::menuOpensBelowTheStripCaption() {
    Harness h;
    MainWindow &w = *h.window;
    Elements &e = h.e();
    // 0.005 of the outer height in twips, 15 to a pixel here: 45 units for
    // an outer height of 600 pixels.
    QCOMPARE(w.logicalDpiY(), 96);
    for (QSize size : {QSize(800, 600), QSize(700, 525)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        const double y = 0.005 * w.frameGeometry().height() * 15;
        e.Text1->setVisible(true);
        e.Text3->setVisible(true);
        e.Text4->setVisible(true);
        clickItem(w, e.LBLmenu);
        QVERIFY(e.menu.partita->isVisible());
        const QPoint want = w.view()->viewport()->mapToGlobal(w.view()->mapFromScene(QPointF(0, y)));
        QCOMPARE(e.menu.partita->pos(), want);
        e.menu.partita->hide();
        QVERIFY(e.Text1->isVisible() && !e.Text3->isVisible() && !e.Text4->isVisible());
    }
    // The banner and the score lie on the strip and take no click of their own.
    for (QGraphicsItem *onStrip : {static_cast<QGraphicsItem *>(e.Label1), static_cast<QGraphicsItem *>(e.Label2)}) {
        clickItem(w, onStrip);
        QVERIFY(e.menu.partita->isVisible());
        e.menu.partita->hide();
    }
}

void TestWindow::stripBlackAgainAtActivation() {
    Harness h;
    MainWindow &w = *h.window;
    Elements &e = h.e();
    clickItem(w, e.Command1);
    QVERIFY(playToEndOfGame(w));
    // Whatever became of the strip's colour, the next activation blackens it.
    e.LBLmenu->setBackground(Qt::red);
    const int activations = h.cycles.activations;
    if (e.menu.continue_->isEnabled())
        e.menu.continue_->trigger();
    else
        e.menu.new_game->trigger();
    QVERIFY(runUntil([&] { return h.cycles.activations == activations + 1; }));
    QVERIFY(e.Command1->isVisible()); // the start screen, before play blackens it too
    QCOMPARE(e.LBLmenu->background(), QColor(Qt::black));
}

void TestWindow::helpBannerPhraseOnEachLine() {
    Harness h;
    LabelItem *banner = h.e().Label1;
    QCOMPARE(banner->caption(), QString::fromUtf8(kHelpBanner));
    const QStringList phrases{"PLAY RATE",
                              "Please fit play-rate on your computer",
                              "--------",
                              "Adatta la velcità di gioco al tuo computer",
                              "------------------------------",
                              "SPEED OF CARDS",
                              "Set the standing speed of the cards",
                              "--------",
                              "Fissa stabilmente la velocità di movimento delle carte",
                              "------------------------------",
                              "Before click on the pack for steal it",
                              "---------",
                              "Clicca prima sul mazzetto per rubarlo"};
    for (QSize size : {QSize(800, 600), QSize(640, 480), QSize(1280, 960), QSize(1000, 600)}) {
        h.window->resize(size);
        QCoreApplication::processEvents();
        QTextLayout layout;
        banner->layOut(layout);
        const QString text = layout.text();
        QStringList lines;
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const QString words = text.mid(line.textStart(), line.textLength()).simplified();
            lines << words;
            // Only a rule of dashes may run past the edge, where it is cut.
            if (!words.contains(QRegularExpression(QStringLiteral("^-+$"))))
                QVERIFY2(line.naturalTextWidth() <= banner->width(), qPrintable(words));
            QVERIFY(line.y() + line.height() <= banner->height());
        }
        // Each phrase takes whole lines of its own, in order (a line may
        // also break after a hyphen, so blanks are not compared).
        auto bare = [](QString s) { return s.remove(QLatin1Char(' ')); };
        int next = 0;
        for (const QString &phrase : phrases) {
            QString got;
            while (next < lines.size() && got.size() < bare(phrase).size()) got += bare(lines[next++]);
            QVERIFY2(got == bare(phrase), qPrintable(QStringLiteral("\"%1\" on lines reading \"%2\"").arg(phrase, got)));
        }
        QCOMPARE(next, int(lines.size()));
    }
}

void TestWindow::clicksDuringTheWipe() {
    Harness h(5, true, true);
    MainWindow &w = *h.window;
    Elements &e = w.elements();
    GameState &s = w.state();
    clickItem(w, e.Command1);
    QVERIFY(runUntil([&] { return e.wipe->isVisible(); }));
    const int card = s.tableCards[2][1];
    QVERIFY(card != 0);
    e.Text4->setVisible(true);
    clickItem(w, e.carta[card]);
    QVERIFY(e.wipe->isVisible()); // still painting
    QVERIFY(!e.Text4->isVisible());
    QCOMPARE(e.carta[card]->border(), 0);
    QVERIFY(runUntil([&] { return !e.wipe->isVisible(); }));
    QCOMPARE(e.carta[card]->border(), 0);
}

void TestWindow::clicksInsideARealPause() {
    Harness h(9, true, true);
    MainWindow &w = *h.window;
    Elements &e = w.elements();
    GameState &s = w.state();
    clickItem(w, e.Command1);
    QVERIFY(runUntil([&] { return humanToPlay(w); }, 15000));
    playFirstCard(w);
    // The move is settled and its pause of 1 s at the middle rate runs.
    QVERIFY(runUntil([&] { return s.clickLock == 100; }));
    QCOMPARE(s.turnPlayer, i16(kHuman));
    int tableCard = 0, handCard = 0;
    for (int r = 1; r <= 3 && !tableCard; ++r)
        for (int c = 1; c <= 4 && !tableCard; ++c)
            if (s.tableCards[r][c] && e.carta[s.tableCards[r][c]]->border() == 0) tableCard = s.tableCards[r][c];
    for (int k = 1; k <= 40 && !handCard; ++k)
        if (e.carta[k]->tag == QLatin1String("jolly")) handCard = k;
    QVERIFY(tableCard && handCard);
    const int played = s.playedCard;
    const QPointF handAt = e.carta[handCard]->pos();
    e.Text1->setVisible(true);
    clickItem(w, e.carta[tableCard]);
    QVERIFY(!e.Text1->isVisible());
    e.Text3->setVisible(true);
    clickItem(w, e.carta[handCard]);
    QVERIFY(!e.Text3->isVisible());
    QCOMPARE(s.clickLock, i16(100)); // still inside the pause
    QCOMPARE(e.carta[tableCard]->border(), 0);
    QCOMPARE(e.carta[handCard]->pos(), handAt);
    QCOMPARE(int(s.playedCard), played);
    QVERIFY(runUntil([&] { return s.turnPlayer == kComputer || humanToPlay(w); }, 10000));
    QCOMPARE(e.carta[tableCard]->border(), 0);
}

void TestWindow::requestsOutsideTheirWaitsAreIgnored() {
    Harness h;
    MainWindow &w = *h.window;
    w.continue_Click(); // at the start screen: nothing
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    QCOMPARE(h.s().dealPos, i16(0));
    w.Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    w.continue_Click(); // during play: forgotten when the wait begins
    w.new_game_Click();
    QVERIFY(playToEndOfGame(w));
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    QVERIFY(h.e().printer->lines().contains(QStringLiteral("(menu to continue)")));
    QCOMPARE(h.cycles.activations, 1);
    // Going on takes a fresh request, and the next start screen a fresh GO.
    if (h.e().menu.continue_->isEnabled()) w.continue_Click(); else w.new_game_Click();
    QVERIFY(runUntil([&] { return h.cycles.activations == 2; }));
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
    QVERIFY(h.e().Command1->isVisible());
    QVERIFY(h.e().printer->lines().isEmpty());
    for (int k = 1; k <= 40; ++k) QCOMPARE(h.e().carta[k]->pos(), QPointF(900, 780));
}

void TestWindow::hundredGamesKeepTheStackFlat() {
    Harness h(7);
    MainWindow &w = *h.window;
    for (int game = 0; game < 100; ++game) {
        w.Command1_Click();
        QVERIFY(playToEndOfGame(w, 40));
        QCOMPARE(h.s().pileCount[1] + h.s().pileCount[2], 40);
        if (h.e().menu.continue_->isEnabled() && h.s().newGameRequested == 0 && !h.e().menu.new_game->isEnabled())
            w.continue_Click();
        else if (h.e().printer->lines().filter(QStringLiteral("winner")).isEmpty())
            w.continue_Click();
        else
            w.new_game_Click();
        QVERIFY(runUntil([&] { return h.cycles.activations == game + 2; }));
    }
    const auto &marks = h.cycles.stackMarks;
    QCOMPARE(int(marks.size()), 101);
    // The first game starts from the window's showing, the others from the
    // test's event loop: compare those alike.
    const auto [lo, hi] = std::minmax_element(marks.begin() + 1, marks.end());
    QVERIFY2(*hi - *lo < 4096, qPrintable(QStringLiteral("the stack moved by %1 bytes: %2 .. %3").arg(*hi - *lo).arg(marks.front()).arg(marks.back())));
}

void TestWindow::endingFromAnyWait_data() {
    QTest::addColumn<int>("where");
    QTest::newRow("start screen") << 0;
    QTest::newRow("human to play") << 1;
    QTest::newRow("end of game") << 2;
}

void TestWindow::endingFromAnyWait() {
    QFETCH(int, where);
    Harness h;
    MainWindow &w = *h.window;
    if (where >= 1) {
        w.Command1_Click();
        QVERIFY(runUntil([&] { return humanToPlay(w); }));
    }
    if (where == 2) QVERIFY(playToEndOfGame(w));
    QSignalSpy ended(&w, &MainWindow::cycleEnded);
    PlayerLog music(player(w, "MMC1")), wave(player(w, "MMCw"));
    // The window goes before the ending, which may wait a moment for the
    // audio thread to let go of the device.
    struct AtHide : QObject {
        PlayerLog &music;
        qsizetype told = -1;
        explicit AtHide(PlayerLog &m) : music(m) {}
        bool eventFilter(QObject *, QEvent *e) override {
            if (e->type() == QEvent::Hide) told = music.log.size();
            return false;
        }
    } atHide(music);
    w.installEventFilter(&atHide);
    w.esci_Click();
    QCOMPARE(atHide.told, 0);
    QVERIFY(!w.cycleRunning());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(music.log.last(), QStringLiteral("close"));
    QCOMPARE(wave.log.last(), QStringLiteral("close"));
    QVERIFY(!w.isVisible());
}

void TestWindow::endingDuringAPause() {
    // Real time: the close box must not wait for a pause to run out.
    QTemporaryDir dir, config;
    WindowConfig cfg{dir.path(), config.path(), false, 3};
    MainWindow w(cfg);
    w.show();
    QVERIFY(runUntil([&] { return w.cycleRunning(); }));
    w.velocita_gioco_Click(1); // a pause of 1 s lasts 1 s
    w.state().starter = 1;     // the computer leads: its move begins with a pause
    w.Command1_Click();
    QVERIFY(runUntil([&] { return w.state().turnPlayer == kComputer; }, 3000));
    QCOMPARE(w.state().clickLock, i16(100));
    w.close();
    QVERIFY(!w.cycleRunning());
}

void TestWindow::sceneGoesBeforeTheElements() {
    // The scene's items draw through the elements' picture cache until the
    // scene deletes them, so the cache must still be there then (a fault
    // here shows under the address sanitizer).
    struct UsesCacheToTheEnd : QGraphicsRectItem {
        PictureCache *cache;
        bool *reached;
        UsesCacheToTheEnd(PictureCache *c, bool *r) : QGraphicsRectItem(0, 0, 8, 8), cache(c), reached(r) {}
        ~UsesCacheToTheEnd() override {
            *reached = !cache->pixmap(QStringLiteral(":/pictures/lamp.svg"), {}, QSize(8, 8)).isNull();
        }
    };
    bool reached = false;
    {
        Harness h;
        h.e().scene->addItem(new UsesCacheToTheEnd(h.e().cache.get(), &reached));
    }
    QVERIFY(reached);
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
