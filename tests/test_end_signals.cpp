// SIGTERM, SIGINT and SIGHUP end the program like a close from outside,
// whatever the game is waiting for: the cycle unwinds, both players close.
#include "playerlog.h"
#include "shell/EndSignals.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace zt;
using namespace zt::test;

class TestEndSignals : public QObject {
    Q_OBJECT
private slots:
    void signalEndsTheGame_data();
    void signalEndsTheGame();
    void signalAfterTheWindowEndsTheProcess();
};

void TestEndSignals::signalEndsTheGame_data() {
    QTest::addColumn<int>("sig");
    QTest::addColumn<QString>("wait");
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        for (const char *wait : {"start screen", "human to play", "continue", "pause"})
            QTest::addRow("%s, %s", sigabbrev_np(sig), wait) << sig << QString::fromLatin1(wait);
}

void TestEndSignals::signalEndsTheGame() {
    QFETCH(int, sig);
    QFETCH(QString, wait);
    QTemporaryDir program, config;
    // Real time for the pause, so the signal lands inside a running one.
    const bool realTime = wait == QLatin1String("pause");
    MainWindow w(WindowConfig{program.path(), config.path(), !realTime, 5});
    closeOnEndSignals(w);
    w.show();
    QVERIFY(runUntil([&] { return w.cycleRunning(); }));
    if (wait != QLatin1String("start screen")) {
        if (realTime) {
            w.velocita_gioco_Click(1);
            w.state().starter = 1; // the computer leads, after a pause
        }
        w.Command1_Click();
        if (realTime)
            QVERIFY(runUntil([&] { return w.state().turnPlayer == kComputer && w.state().clickLock == 100; }));
        else
            QVERIFY(runUntil([&] { return humanToPlay(w); }));
    }
    if (wait == QLatin1String("continue")) QVERIFY(playToEndOfGame(w));
    QVERIFY(w.cycleRunning());

    QSignalSpy ended(&w, &MainWindow::cycleEnded);
    PlayerLog music(player(w, "MMC1")), wave(player(w, "MMCw"));
    ::raise(sig);
    QVERIFY(runUntil([&] { return !w.isVisible(); }));
    QVERIFY(!w.cycleRunning());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(music.log, QStringList{QStringLiteral("close")});
    QCOMPARE(wave.log, QStringList{QStringLiteral("close")});
}

void TestEndSignals::signalAfterTheWindowEndsTheProcess() {
    // With the window gone the usual meaning returns: a child that takes
    // SIGTERM then dies of it, rather than ignoring it.
    const pid_t child = fork();
    if (child == 0) {
        {
            QWidget window;
            closeOnEndSignals(window);
        }
        ::raise(SIGTERM);
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}

QTEST_MAIN(TestEndSignals)
#include "test_end_signals.moc"
