// zentolletto-stallbench: drives the real window and the real audio layer
// through start-up, GO, a game at card speed 10, every song of the Music
// menu, a song's loop restart, a sound with and without an audio device and
// a resize to twice the size, and prints the longest time the window's event
// loop was blocked in each phase and overall. Half a frame at 60 Hz is 8 ms.
//
//   zentolletto-stallbench [--deals N]     (N deals of the game, default 6)
// Runs on the platform it is given (an X display, or QT_QPA_PLATFORM=offscreen);
// sound goes through SDL's "disk" driver into a file that is thrown away.
#include "shell/MainWindow.h"
#include "tools/selfplay/bot.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <vector>

using namespace zt;

namespace {

struct Phase {
    QByteArray name;
    qint64 longestNs = 0;
    QByteArray worst; // the event that blocked longest
    qint64 longestCpuNs = 0;
    QByteArray worstCpu;
    int events = 0;
    int over8ms = 0;
    // While the longest event ran, how often the thread waited (blocked on
    // something) and how often it was taken off the processor for another.
    long worstWaits = 0, worstPreempted = 0;
    bool reference = false; // a bare Qt window doing the same, not the game
};

// The window thread's own processor time: on a busy machine the wall clock
// also counts the time other programs had the processor.
rusage threadUsage() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return u;
}

qint64 threadCpuNs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Times every event the loop delivers from its top level: each one is a
// stretch the window cannot answer anything else.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    std::vector<Phase> phases;

    void begin(const char *name, bool reference = false) {
        phases.push_back({name});
        phases.back().reference = reference;
    }
    bool notify(QObject *receiver, QEvent *event) override {
        // Other threads (audio, pictures) deliver their own events through here too.
        if (depth_ > 0 || QThread::currentThread() != thread()) return QApplication::notify(receiver, event);
        ++depth_;
        QElapsedTimer t;
        t.start();
        const qint64 cpu0 = threadCpuNs();
        const rusage u0 = threadUsage();
        const QEvent::Type type = event->type(); // the event may be gone afterwards
        const char *cls = receiver->metaObject()->className();
        const bool r = QApplication::notify(receiver, event);
        const qint64 ns = t.nsecsElapsed(), cpu = threadCpuNs() - cpu0;
        const rusage u1 = threadUsage();
        --depth_;
        if (!phases.empty()) {
            Phase &p = phases.back();
            ++p.events;
            if (ns > 8000000) ++p.over8ms;
            const QByteArray what = QByteArray(cls) + " event " + QByteArray::number(int(type));
            if (ns > p.longestNs) {
                p.longestNs = ns, p.worst = what;
                p.worstWaits = u1.ru_nvcsw - u0.ru_nvcsw;
                p.worstPreempted = u1.ru_nivcsw - u0.ru_nivcsw;
            }
            if (cpu > p.longestCpuNs) p.longestCpuNs = cpu, p.worstCpu = what;
        }
        return r;
    }

private:
    int depth_ = 0;
};

// Lets the window's event loop run for a while, as it does between a person's acts.
void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool pumpUntil(const std::function<bool()> &done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        pump(5);
    }
    return true;
}

// A song of a quarter of a second: one note and the end of the track, so
// its end and the restart come quickly.
QByteArray shortSong() {
    const QByteArray track = QByteArray::fromHex("00903c64" // note on at once
                                                 "60803c00" // off 96 ticks later
                                                 "00ff2f00");
    QByteArray midi = QByteArray::fromHex("4d546864000000060000000100c0"); // 192 ticks a quarter
    midi += QByteArray::fromHex("4d54726b");
    const quint32 n = quint32(track.size());
    midi += char(n >> 24), midi += char(n >> 16), midi += char(n >> 8), midi += char(n);
    return midi + track;
}

// Does something from inside the event loop, as a click or a menu choice
// does, so its cost is counted, then lets the loop run.
void act(std::function<void()> fn, int thenMs) {
    QTimer::singleShot(0, qApp, std::move(fn));
    pump(thenMs);
}

bool copyDir(const QString &from, const QString &to) {
    if (!QDir().mkpath(to)) return false;
    const QDir d(from);
    for (const QString &f : d.entryList(QDir::Files))
        if (!QFile::copy(d.filePath(f), QDir(to).filePath(f))) return false;
    return true;
}

bool humanWaitsForCard(MainWindow &w) {
    const GameState &s = w.state();
    return s.turnPlayer == kHuman && s.clickLock == 0 && s.playedCard == 0;
}

bool humanWaitsForSelection(MainWindow &w) {
    const GameState &s = w.state();
    return s.turnPlayer == kHuman && s.clickLock == 0 && s.playedCard != 0;
}

bool gameOver(MainWindow &w) {
    return w.elements().printer->lines().contains(QStringLiteral("(menu to continue)"));
}

// Plays the human's side with real clicks until the given number of deals
// is done or the game ends; false if the game stopped answering.
bool playDeals(MainWindow &w, int deals) {
    Elements &e = w.elements();
    const int lastDealPos = 4 + 3 * deals;
    for (;;) {
        if (!pumpUntil([&] { return humanWaitsForCard(w) || humanWaitsForSelection(w) || gameOver(w); }, 30000))
            return false;
        if (gameOver(w) || w.state().dealPos > lastDealPos) return true;
        if (humanWaitsForCard(w)) {
            for (int k = 1; k <= 40; ++k)
                if (e.carta[k]->tag == QLatin1String("jolly")) {
                    selfplay::click(w, e.carta[k]);
                    break;
                }
            pump(5);
            continue;
        }
        const std::vector<selfplay::Cards> options =
            selfplay::captureOptions(selfplay::gridCards(w.state()), w.state().playedCard);
        if (options.empty()) return false;
        for (int c : options.front()) selfplay::click(w, e.carta[c]);
        pumpUntil([&] { return !humanWaitsForSelection(w); }, 5000);
    }
}

} // namespace

int main(int argc, char **argv) {
    // Sound really plays, into a file nobody listens to, at the pace of a device.
    QTemporaryDir work;
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QDir(work.path()).filePath(QStringLiteral("audio.raw")).toLocal8Bit());
    TimedApplication app(argc, argv);
    int deals = 6;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--deals") && i + 1 < args.size()) {
            deals = qBound(1, args[++i].toInt(), 6);
        } else {
            std::fprintf(stderr, "usage: zentolletto-stallbench [--deals N]\n");
            return 2;
        }
    }

    // The program's folder: the real sounds and songs, and a short song in
    // the place of the first one for the loop restart.
    const QString programDir = QDir(work.path()).filePath(QStringLiteral("program"));
    if (!copyDir(QStringLiteral(ZT_ASSETS_DIR "/sounds"), programDir + "/sounds") ||
        !copyDir(QStringLiteral(ZT_ASSETS_DIR "/music"), programDir + "/music")) {
        std::fprintf(stderr, "cannot copy the sounds and songs\n");
        return 2;
    }
    QTemporaryDir configDir;

    WindowConfig config;
    config.programDir = programDir;
    config.configDir = configDir.path();
    QElapsedTimer built;
    built.start();
    auto window = std::make_unique<MainWindow>(config);
    window->show();
    // Before the loop runs nothing waits on it; shown apart from the phases.
    const qint64 buildNs = built.nsecsElapsed();
    app.begin("start-up");
    MainWindow &w = *window;
    pumpUntil([&] { return w.elements().Command1->isVisible(); }, 5000);
    pump(300);

    app.begin("GO");
    act([&w] { w.elements().menu.card_speed[10]->trigger(); }, 50);
    selfplay::click(w, w.elements().Command1);
    pumpUntil([&] { return humanWaitsForCard(w) || w.state().turnPlayer == kComputer; }, 10000);

    app.begin("game at card speed 10");
    const bool played = playDeals(w, deals);

    app.begin("every song");
    for (int i = 1; i <= 12; ++i) act([&w, i] { w.elements().menu.canzoni[i]->trigger(); }, 400);
    act([&w] { w.elements().menu.canzoni[0]->trigger(); }, 200);

    app.begin("a song's loop restart");
    QFile song(QDir(programDir).filePath(QStringLiteral("music/Humanoid.MID")));
    int restarts = 0;
    MediaPlayer &music = *w.findChild<MediaPlayer *>(QStringLiteral("MMC1"));
    MediaPlayer &wave = *w.findChild<MediaPlayer *>(QStringLiteral("MMCw"));
    QObject::connect(&music, &MediaPlayer::done, &app, [&restarts] { ++restarts; });
    if (song.open(QIODevice::WriteOnly | QIODevice::Truncate)) song.write(shortSong()), song.close();
    act([&w] { w.elements().menu.canzoni[1]->trigger(); }, 0);
    pumpUntil([&] { return restarts >= 2; }, 20000);
    act([&w] { w.elements().menu.canzoni[0]->trigger(); }, 0);

    Sounds sounds(wave, w.elements().menu, programDir);
    auto playCardSound = [&sounds] {
        sounds.Apri_suono(QStringLiteral("carta"));
        sounds.suona();
    };
    app.begin("a sound with a device");
    for (int i = 0; i < 5; ++i) act(playCardSound, 200);

    app.begin("a sound with no device");
    // Closed players let the device close; the next open finds no driver.
    act([&] { wave.command(QStringLiteral("close")), music.command(QStringLiteral("close")); }, 2000);
    qputenv("SDL_AUDIODRIVER", "no-such-device");
    for (int i = 0; i < 5; ++i) act(playCardSound, 200);

    app.begin("resize to twice the size");
    act([&w] { w.resize(w.size() * 2); }, 1000);

    window.reset();

    // What any Qt window pays for the same resize on this machine and display:
    // a new backing store twice as large, filled and sent to the server.
    QWidget bare;
    bare.setAutoFillBackground(true);
    QPalette yellow = bare.palette();
    yellow.setColor(QPalette::Window, QColor(255, 255, 0));
    bare.setPalette(yellow);
    auto *text = new QLabel(QStringLiteral("Menu  You  Computer  GO"), &bare);
    text->move(10, 10);
    bare.resize(800, 600);
    bare.show();
    pump(300);
    app.begin("resize, a bare Qt window", true);
    act([&bare] { bare.resize(bare.size() * 2); }, 1000);

    qint64 longest = 0, longestCpu = 0;
    std::printf("%-26s %9s  %-34s %-11s %9s  %-34s %s\n", "phase", "longest", "the event", "waits/off",
                "on-CPU", "the event", "over 8 ms");
    for (const Phase &p : app.phases) {
        std::printf("%-26s %6.1f ms  %-34s %4ld/%-6ld %6.1f ms  %-34s %d of %d\n", p.name.constData(),
                    p.longestNs / 1e6, p.worst.constData(), p.worstWaits, p.worstPreempted, p.longestCpuNs / 1e6,
                    p.worstCpu.constData(), p.over8ms, p.events);
        if (p.reference) continue;
        longest = std::max(longest, p.longestNs);
        longestCpu = std::max(longestCpu, p.longestCpuNs);
    }
    std::printf("%-26s %6.1f ms  %-34s %6.1f ms\n", "overall (the game)", longest / 1e6, "", longestCpu / 1e6);
    std::printf("(building and showing the window before the loop ran: %.1f ms)\n", buildNs / 1e6);
    if (!played) std::printf("the game stopped answering before the deals were played\n");
    if (restarts < 2) std::printf("the short song ended %d times instead of twice\n", restarts);
    return played && restarts >= 2 ? 0 : 1;
}
