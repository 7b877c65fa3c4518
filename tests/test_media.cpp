// Texts shown and hidden, sound effects, music and the players under them.
#include "mediafiles.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QThread>

using namespace zt;
using namespace zt::test;

class TestMedia : public QObject {
    Q_OBJECT
private slots:
    void whoHidesWhat_data();
    void whoHidesWhat();
    void infoToggles();
    void rustleOption();
    void stealSignals();
    void songMenu();
    void finishedSongStartsAgain();
    void closedPlayerDoesNotLoop();
    void fileNamesIgnoreLetterCase();
    void missingFoldersAreSilent();
};

// Every panel open, one event, and what is left open: Text1, Text3, Text4.
void TestMedia::whoHidesWhat_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("left");
    QTest::newRow("Italiano") << "Italiano" << ".34";
    QTest::newRow("English") << "English" << "1.4";
    QTest::newRow("Info") << "Info" << "1..";
    QTest::newRow("card back") << "dorso" << "...";
    QTest::newRow("card") << "carta" << "...";
    QTest::newRow("stock") << "Mazzo" << "...";
    QTest::newRow("background") << "background" << "...";
    QTest::newRow("green light") << "Verde" << "...";
    QTest::newRow("red light") << "Rosso" << "...";
    QTest::newRow("GO") << "GO" << "...";
    QTest::newRow("Menu strip") << "LBLmenu" << "1..";
    QTest::newRow("inside Text1") << "Text1" << ".34";
    QTest::newRow("inside Text3") << "Text3" << "1.4";
}

void TestMedia::whoHidesWhat() {
    QFETCH(QString, event);
    QFETCH(QString, left);
    Harness h;
    MainWindow &w = *h.window;
    Elements &e = h.e();
    // Real clicks on the table's elements: they stand there only in play.
    QGraphicsItem *target = nullptr;
    if (event == "dorso" || event == "carta" || event == "Mazzo" || event == "Verde" || event == "Rosso") {
        clickItem(w, e.Command1);
        QVERIFY(runUntil([&] { return humanToPlay(w); }));
        GameState &s = h.s();
        // The human is to move: the human's light shows green, the computer's red.
        target = event == "dorso" ? static_cast<QGraphicsItem *>(e.dorso[2])
                 : event == "carta" ? e.carta[s.tableCards[2][1] ? s.tableCards[2][1] : s.tableCards[2][2]]
                 : event == "Mazzo" ? e.Mazzo
                 : event == "Verde" ? e.Verde[0]
                                    : e.Rosso[1];
        const QPointF centre = target->mapToScene(target->boundingRect().center());
        QCOMPARE(w.view()->itemAt(w.view()->mapFromScene(centre)), target);
    }
    for (TextPanel *t : {e.Text1, e.Text3, e.Text4}) t->setVisible(true);
    if (event == "Italiano") e.menu.Italiano->trigger();
    if (event == "English") e.menu.english->trigger();
    if (event == "Info") e.menu.menu_about->trigger();
    if (target) clickItem(w, target);
    if (event == "background") {
        // Real clicks: the banner lets them through to the background.
        for (TextPanel *t : {e.Text1, e.Text3, e.Text4}) t->move(0, 300);
        clickItem(w, e.Picture4);
    }
    if (event == "GO") clickItem(w, e.Command1);
    if (event == "LBLmenu") {
        clickItem(w, e.Label1); // the help banner lies on the strip and lets the click through
        QVERIFY(e.menu.partita->isVisible());
        e.menu.partita->hide();
    }
    if (event == "Text1" || event == "Text3") {
        TextPanel *t = event == "Text1" ? e.Text1 : e.Text3;
        e.stacking->raise(t);
        clickItem(w, t);
    }
    const QString got = QString(e.Text1->isVisible() ? "1" : ".") + (e.Text3->isVisible() ? "3" : ".") +
                        (e.Text4->isVisible() ? "4" : ".");
    QCOMPARE(got, left);
    // Showing raises the panel above everything else.
    if (event == "Italiano") QVERIFY(e.Text3->zValue() > e.Text4->zValue());
}

void TestMedia::infoToggles() {
    Harness h;
    Elements &e = h.e();
    e.Text1->setVisible(true);
    h.window->menu_about_Click();
    QVERIFY(e.Text4->isVisible());
    h.window->english_Click();
    QVERIFY(e.Text4->isVisible() && e.Text1->isVisible());
    QVERIFY(e.Text1->zValue() > e.Text4->zValue());
    h.window->menu_about_Click();
    QVERIFY(!e.Text4->isVisible());
    QVERIFY(e.Text1->isVisible());
}

void TestMedia::rustleOption() {
    Harness h;
    MainWindow &w = *h.window;
    MediaPlayer &wave = player(w, "MMCw");
    PlayerLog waveLog(wave);
    w.Command1_Click();
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    QVERIFY(wave.fileName.endsWith(QStringLiteral("sounds/carta.wav")));

    h.e().menu.menu_card_rustle_no->trigger();
    QVERIFY(h.e().menu.menu_card_rustle_no->isChecked());
    QVERIFY(!h.e().menu.menu_card_rustle_yes->isChecked());
    waveLog.log.clear();
    Sounds sounds = soundsOf(w, h.programDir.path());
    sounds.Apri_suono(QStringLiteral("notify"));
    sounds.suona();
    QCOMPARE(waveLog.log, (QStringList{"close", "open"})); // loading goes on, playing does not

    h.e().menu.menu_card_rustle_yes->trigger();
    QVERIFY(!h.e().menu.menu_card_rustle_no->isChecked());
    sounds.Apri_suono(QStringLiteral("carta"));
    waveLog.log.clear();
    playFirstCard(w); // the very next card rustles
    QVERIFY(!waveLog.log.isEmpty());
    QCOMPARE(waveLog.log.first(), QStringLiteral("play"));
}

void TestMedia::stealSignals() {
    // A move made with the computer's pile selected gives the signal and
    // then the rustle is loaded again, whatever the ranks.
    Harness h(11);
    MainWindow &w = *h.window;
    GameState &s = h.s();
    w.Command1_Click();
    for (int i = 0; i < 40 && s.pileTop[kComputer] == 0; ++i) {
        QVERIFY(runUntil([&] { return humanToPlay(w); }));
        playFirstCard(w);
    }
    QVERIFY(runUntil([&] { return humanToPlay(w); }));
    QVERIFY(s.pileTop[kComputer] != 0);
    PlayerLog wave(player(w, "MMCw"));
    w.Carta_Click(s.pileTop[kComputer]);
    QCOMPARE(h.e().carta[s.pileTop[kComputer]]->border(), 1);
    playFirstCard(w);
    QVERIFY(runUntil([&] { return wave.log.size() >= 6; }));
    const QStringList expected{"play", "close", "open", "play", "close", "open"};
    QCOMPARE(wave.log.mid(0, 6), expected);
    QVERIFY(player(w, "MMCw").fileName.endsWith(QStringLiteral("carta.wav")));
}

void TestMedia::songMenu() {
    Harness h;
    Menu &m = h.e().menu;
    MediaPlayer &midi = player(*h.window, "MMC1");
    PlayerLog midiLog(midi);
    QVERIFY(midi.fileName.endsWith(QStringLiteral("music/tresquo.mid")));
    m.canzoni[6]->trigger(); // Astro
    QVERIFY(midi.fileName.endsWith(QStringLiteral("music/Astro.MID")));
    for (int i = 0; i <= 12; ++i) QCOMPARE(m.canzoni[i]->isChecked(), i == 6);
    midiLog.log.clear();
    m.canzoni[6]->trigger(); // the same song starts again from the beginning
    QCOMPARE(midiLog.log, (QStringList{"close", "open", "play"}));
    midiLog.log.clear();
    m.canzoni[0]->trigger(); // None: silence, and the old mark stays
    QCOMPARE(midiLog.log, QStringList{"close"});
    for (int i = 0; i <= 12; ++i) QCOMPARE(m.canzoni[i]->isChecked(), i == 6);
    QVERIFY(!midi.isOpen());
    // Shuffles of later games send Play to the closed player: still silent.
    h.window->Command1_Click();
    QVERIFY(runUntil([&] { return h.s().dealPos >= 4; }));
    QVERIFY(!midi.isPlaying());
}

void TestMedia::finishedSongStartsAgain() {
    QTemporaryDir dir, config;
    writeFile(dir.filePath("music/Bugs.MID"), shortMidi());
    MainWindow w(WindowConfig{dir.path(), config.path(), true, 1});
    if (AudioDevice::soundFont().isEmpty()) QSKIP("no General MIDI SoundFont installed");
    MediaPlayer &midi = player(w, "MMC1");
    PlayerLog midiLog(midi);
    QSignalSpy done(&midi, &MediaPlayer::done);
    bool doneOnWindowThread = false;
    connect(&midi, &MediaPlayer::done, &midi,
            [&] { doneOnWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread(); });
    w.canzoni_Click(5);
    QVERIFY(runUntil([&] { return midiLog.count("sounding") + midiLog.count("silent") > 0; }));
    if (midiLog.count("silent")) QSKIP("no audio device, not even a dummy one");
    QVERIFY(done.wait(5000));
    QVERIFY(doneOnWindowThread);
    QVERIFY(midi.length() > 0);
    // The end restarted the song by itself, and it sounds again.
    QVERIFY(midi.isPlaying());
    QCOMPARE(midiLog.log.mid(midiLog.log.size() - 1), QStringList{"play"});
    QVERIFY(runUntil([&] { return midiLog.count("sounding") == 2; }));
    QVERIFY(done.wait(5000));
}

void TestMedia::closedPlayerDoesNotLoop() {
    Harness h;
    MediaPlayer &midi = player(*h.window, "MMC1");
    PlayerLog midiLog(midi);
    h.window->canzoni_Click(0);
    midiLog.log.clear();
    emit midi.done(1); // a late notice from a player with nothing open
    QCoreApplication::processEvents();
    QVERIFY(midiLog.log.isEmpty());
}

void TestMedia::fileNamesIgnoreLetterCase() {
    QTemporaryDir dir;
    writeFile(dir.filePath("music/TRESQUO.MID"), shortMidi());
    writeFile(dir.filePath("sounds/Carta.WAV"), shortWave());
    QCOMPARE(findFileNoCase(dir.filePath("music"), "tresquo.mid"), dir.filePath("music/TRESQUO.MID"));
    QCOMPARE(findFileNoCase(dir.filePath("sounds"), "carta.wav"), dir.filePath("sounds/Carta.WAV"));
    QTemporaryDir config;
    MainWindow w(WindowConfig{dir.path(), config.path(), true, 1});
    QVERIFY(player(w, "MMC1").isOpen()); // the theme opened without playing
    QVERIFY(!player(w, "MMC1").isPlaying());
    soundsOf(w, dir.path()).Apri_suono("carta");
    QVERIFY(player(w, "MMCw").isOpen());
}

void TestMedia::missingFoldersAreSilent() {
    Harness h(5); // its program folder has neither sounds/ nor music/
    MainWindow &w = *h.window;
    QVERIFY(!player(w, "MMC1").isOpen());
    w.Command1_Click();
    QVERIFY(playToEndOfGame(w));
    QVERIFY(!player(w, "MMCw").isPlaying() && !player(w, "MMC1").isPlaying());
    QCOMPARE(h.s().pileCount[1] + h.s().pileCount[2], 40);
}

QTEST_MAIN(TestMedia)
#include "test_media.moc"
