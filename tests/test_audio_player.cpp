// The player layer under the sounds and the music: what reaches the audio
// device, which files it refuses, and how it behaves without a device.
#include "mediafiles.h"
#include "testsupport.h"
#include "media/MediaCheck.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QThread>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace zt;
using namespace zt::test;

namespace {

QString asset(const QString &relative) { return QStringLiteral(ZT_ASSETS_DIR "/") + relative; }

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder holding copies of the shipped sounds and music.
void copyAssets(const QString &programDir) {
    for (const QString sub : {QStringLiteral("sounds"), QStringLiteral("music")}) {
        const QDir from(asset(sub));
        for (const QString &name : from.entryList(QDir::Files))
            writeFile(QDir(programDir).filePath(sub + QLatin1Char('/') + name), contents(from.filePath(name)));
    }
}

// A window at zero delay over a given program folder, its cycle running.
struct Table {
    QTemporaryDir programDir, configDir;
    std::unique_ptr<MainWindow> window;
    void open(quint64 seed = 1) {
        window = std::make_unique<MainWindow>(WindowConfig{programDir.path(), configDir.path(), true, seed});
        window->show();
        QVERIFY(runUntil([&] { return window->cycleRunning(); }));
    }
    QString path(const QString &relative) const { return QDir(programDir.path()).filePath(relative); }
    Sounds sounds() { return soundsOf(*window, programDir.path()); }
};

// The audio thread has answered the last play: it sounded, or it could not.
bool answered(const PlayerLog &log, int plays) {
    return runUntil([&] { return log.count("sounding") + log.count("silent") >= plays; });
}

// Sets an environment variable for as long as it lives.
struct EnvVar {
    QByteArray name, old;
    bool had;
    EnvVar(const char *n, const QByteArray &value) : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n)) {
        qputenv(n, value);
    }
    ~EnvVar() { had ? qputenv(name.constData(), old) : qunsetenv(name.constData()); }
};

// Everything written to the process's stderr while it lives.
class StderrCapture {
public:
    StderrCapture() {
        file_.open();
        fflush(stderr);
        saved_ = dup(2);
        dup2(file_.handle(), 2);
    }
    QByteArray end() {
        if (saved_ >= 0) {
            fflush(stderr);
            dup2(saved_, 2);
            close(saved_);
            saved_ = -1;
        }
        return contents(file_.fileName());
    }
    ~StderrCapture() { end(); }

private:
    QTemporaryFile file_;
    int saved_ = -1;
};

QByteArray withByte(QByteArray b, int at, const QByteArray &bytes) { return b.replace(at, bytes.size(), bytes); }

QByteArray be32(quint32 v) {
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}

// A file of size bytes that reads as zeros past its header, without taking the space.
void writeSparse(const QString &path, const QByteArray &header, qint64 size) {
    writeFile(path, header);
    QFile f(path);
    QVERIFY(f.resize(size));
}

QByteArray hugeWaveHeader(qint64 size) { return waveHeader(quint32(size - 44)); }

QByteArray hugeMidiHeader(qint64 size) {
    return QByteArray::fromHex("4d546864000000060000000101e0") + "MTrk" + be32(quint32(size - 22));
}

enum class Damage { Empty, Truncated, RandomBytes, AbsurdHeader, GarbledBody, Directory, Unreadable, Huge };

// The shipped file spoilt one way; rng picks where and how.
QByteArray spoil(const QByteArray &good, Damage d, MediaKind kind, QRandomGenerator &rng) {
    switch (d) {
    case Damage::Truncated:
        return good.left(rng.bounded(1, int(good.size())));
    case Damage::RandomBytes: {
        QByteArray b(rng.bounded(1, 4096), '\0');
        for (char &c : b) c = char(rng.bounded(256));
        return b;
    }
    case Damage::AbsurdHeader: {
        const QList<QPair<int, QByteArray>> wave{{22, le16(0)},           {24, le32(0)},
                                                 {24, le32(0xffffffffu)}, {34, le16(0)},
                                                 {40, le32(0x7fffffffu)}, {4, le32(0xfffffff0u)}};
        const QList<QPair<int, QByteArray>> midi{{10, QByteArray(2, '\0')}, {10, QByteArray(2, '\xff')},
                                                 {12, QByteArray(2, '\0')}, {8, QByteArray("\0\x07", 2)},
                                                 {18, be32(0xfffffff0u)},  {4, be32(0x7fffffffu)}};
        const auto &choices = kind == MediaKind::Wave ? wave : midi;
        const auto &[at, bytes] = choices[rng.bounded(int(choices.size()))];
        return withByte(good, at, bytes);
    }
    case Damage::GarbledBody: {
        // Headers intact, the events or samples behind them noise.
        QByteArray b = good;
        for (int i = kind == MediaKind::Wave ? 44 : 22; i < b.size(); ++i)
            if (rng.bounded(4) == 0) b[i] = char(rng.bounded(256));
        return b;
    }
    default:
        return {};
    }
}

} // namespace

class TestAudioPlayer : public QObject {
    Q_OBJECT
private slots:
    void fileChecks_data();
    void fileChecks();
    void filesOnDisk();
    void rustleRestartsFromItsBeginning();
    void playGoesOnUntilRewound();
    void noneSilencesThePlayingSong();
    void everySongNamesAPlayableFile();
    void failedDeviceStaysSilentUntilNextGame();
    void noDeviceSaysNothing();
    // A thread it leaves behind ends while the tests after it run.
    void quitWithASoundServerThatNeverAnswers();
    void workerGivenUpOnStillFreesTheDevice();
    void songComesBackWithTheDevice();
    void soundFontFromTheUser();
    void corruptMedia_data();
    void corruptMedia();
    void openNeverWaits();
    void soundFontThatIsAFifo_data();
    void soundFontThatIsAFifo();
    void quitWhileASongIsSwappedForAFifo();
};

void TestAudioPlayer::fileChecks_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("sane");
    const int W = int(MediaKind::Wave), M = int(MediaKind::Midi);
    const QByteArray wave = shortWave(), midi = shortMidi();
    QTest::newRow("wave") << W << wave << true;
    for (const char *name : {"carta", "notify", "liscio"})
        QTest::newRow(name) << W << contents(asset(QStringLiteral("sounds/%1.wav").arg(QLatin1String(name)))) << true;
    QTest::newRow("wave, empty") << W << QByteArray() << false;
    QTest::newRow("wave, header only") << W << wave.left(44) << false;
    QTest::newRow("wave, samples cut short") << W << wave.chopped(2) << false;
    QTest::newRow("wave, no channels") << W << withByte(wave, 22, le16(0)) << false;
    QTest::newRow("wave, nine channels") << W << withByte(wave, 22, le16(9)) << false;
    QTest::newRow("wave, rate 0") << W << withByte(wave, 24, le32(0)) << false;
    QTest::newRow("wave, data past the end") << W << withByte(wave, 40, le32(0x7fffffff)) << false;
    QTest::newRow("wave, RIFF past the end") << W << withByte(wave, 4, le32(quint32(wave.size()))) << false;
    QTest::newRow("wave, no format") << W << QByteArray("RIFF" + le32(12) + "WAVEdata" + le32(0)) << false;
    QTest::newRow("wave, data before its format")
        << W << QByteArray("RIFF" + le32(40) + "WAVEdata" + le32(4) + QByteArray(4, '\x80') + "fmt " + le32(16) + le16(1) +
                           le16(1) + le32(8000) + le32(8000) + le16(1) + le16(8))
        << false;
    QTest::newRow("wave, a song") << W << midi << false;
    // 8-bit mono: at 1 kHz a mebibyte decodes to 185 MB for the device, at 8 kHz to 23 MB.
    const QByteArray samples(1 << 20, '\x80');
    for (quint32 rate : {1000u, 8000u})
        QTest::newRow(qPrintable(QStringLiteral("wave, 8-bit mono at %1 Hz").arg(rate)))
            << W
            << QByteArray("RIFF" + le32(36 + samples.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
                          le32(rate) + le16(1) + le16(8) + "data" + le32(samples.size()) + samples)
            << (rate == 8000);
    QTest::newRow("song") << M << midi << true;
    QTest::newRow("theme") << M << contents(asset("music/tresquo.mid")) << true;
    QTest::newRow("song, empty") << M << QByteArray() << false;
    QTest::newRow("song, last byte missing") << M << midi.chopped(1) << false;
    QTest::newRow("song, no tracks") << M << withByte(midi, 10, QByteArray(2, '\0')) << false;
    QTest::newRow("song, a track missing")
        << M << withByte(withByte(midi, 8, QByteArray("\0\x01", 2)), 10, QByteArray("\0\x02", 2)) << false;
    QTest::newRow("song, division 0") << M << withByte(midi, 12, QByteArray(2, '\0')) << false;
    QTest::newRow("song, format 3") << M << withByte(midi, 8, QByteArray("\0\x03", 2)) << false;
    QTest::newRow("song, track past the end") << M << withByte(midi, 18, be32(0xfffffff0u)) << false;
    QTest::newRow("song, a sound") << M << wave << false;
}

void TestAudioPlayer::fileChecks() {
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, sane);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(mediaLooksSane(buffer, MediaKind(kind)), sane);
    QTemporaryDir dir;
    writeFile(dir.filePath("f"), bytes);
    QCOMPARE(readSaneMedia(dir.filePath("f"), MediaKind(kind)), sane ? bytes : QByteArray());
}

void TestAudioPlayer::filesOnDisk() {
    QTemporaryDir dir;
    QVERIFY(readSaneMedia(dir.filePath("missing.wav"), MediaKind::Wave).isEmpty());
    QVERIFY(readSaneMedia(dir.path(), MediaKind::Wave).isEmpty());
    // Over the limit, yet well formed: the size alone refuses them, unread.
    writeSparse(dir.filePath("huge.wav"), hugeWaveHeader(200 << 20), 200 << 20);
    QVERIFY(readSaneMedia(dir.filePath("huge.wav"), MediaKind::Wave).isEmpty());
    writeSparse(dir.filePath("huge.mid"), hugeMidiHeader(kMaxMidiBytes + 1), kMaxMidiBytes + 1);
    QVERIFY(readSaneMedia(dir.filePath("huge.mid"), MediaKind::Midi).isEmpty());
    // At the limit they are read.
    writeSparse(dir.filePath("big.wav"), hugeWaveHeader(kMaxWaveBytes), kMaxWaveBytes);
    QCOMPARE(readSaneMedia(dir.filePath("big.wav"), MediaKind::Wave).size(), kMaxWaveBytes);
    writeSparse(dir.filePath("big.mid"), hugeMidiHeader(kMaxMidiBytes), kMaxMidiBytes);
    QCOMPARE(readSaneMedia(dir.filePath("big.mid"), MediaKind::Midi).size(), kMaxMidiBytes);
    // A fifo would block whoever opens it until a writer comes.
    QVERIFY(mkfifo(QFile::encodeName(dir.filePath("fifo.wav")).constData(), 0600) == 0);
    QVERIFY(readSaneMedia(dir.filePath("fifo.wav"), MediaKind::Wave).isEmpty());
    writeFile(dir.filePath("locked.wav"), shortWave());
    QVERIFY(QFile::setPermissions(dir.filePath("locked.wav"), {}));
    if (geteuid() != 0) QVERIFY(readSaneMedia(dir.filePath("locked.wav"), MediaKind::Wave).isEmpty());
}

void TestAudioPlayer::rustleRestartsFromItsBeginning() {
    Table t;
    copyAssets(t.programDir.path());
    t.open();
    MainWindow &w = *t.window;
    PlayerLog wave(player(w, "MMCw"));
    t.sounds().Apri_suono(QStringLiteral("carta"));
    t.sounds().suona();
    QVERIFY(answered(wave, 1));
    if (wave.count("silent")) QSKIP("no audio device, not even a dummy one");
    // The next card comes while the rustle still sounds: it starts over.
    t.sounds().suona();
    QVERIFY(answered(wave, 2));
    QCOMPARE(wave.count("sounding"), 2);
    QCOMPARE(wave.soundedFiles, QStringList(2, t.path("sounds/carta.wav")));
}

void TestAudioPlayer::playGoesOnUntilRewound() {
    Table t;
    writeFile(t.path("sounds/carta.wav"), shortWave()); // 50 ms
    t.open();
    MediaPlayer &wave = player(*t.window, "MMCw");
    PlayerLog log(wave);
    QSignalSpy done(&wave, &MediaPlayer::done);
    t.sounds().Apri_suono(QStringLiteral("carta"));
    wave.command(QStringLiteral("Play"));
    QVERIFY(answered(log, 1));
    if (log.count("silent")) QSKIP("no audio device, not even a dummy one");
    wave.command(QStringLiteral("play")); // goes on, not again
    QVERIFY(done.wait(5000));
    QCOMPARE(log.count("sounding"), 1);
    QCOMPARE(wave.position(), wave.length());
    wave.command(QStringLiteral("Play")); // at the end: nothing left to play
    QVERIFY(!wave.isPlaying());
    wave.rewind();
    wave.command(QStringLiteral("Play"));
    QVERIFY(wave.isPlaying());
    QVERIFY(answered(log, 2));
    QCOMPARE(log.count("sounding"), 2);
}

// None and a Close silence the song as it plays, and a rustle does not,
// heard at the device's output.
void TestAudioPlayer::noneSilencesThePlayingSong() {
    Table t;
    copyAssets(t.programDir.path());
    // The device writes what it sounds to a file, at the pace it would play.
    const QString heard = t.path("heard.raw");
    EnvVar driver("SDL_AUDIODRIVER", "disk"), output("SDL_DISKAUDIOFILE", QFile::encodeName(heard));
    t.open();
    Menu &m = t.window->elements().menu;
    MediaPlayer &midi = player(*t.window, "MMC1");
    PlayerLog music(midi);
    auto soundFrom = [&](qint64 from) {
        const QByteArray b = contents(heard).mid(from);
        return b.count('\0') < b.size();
    };
    for (const bool none : {true, false}) {
        m.canzoni[6]->trigger(); // Astro
        QVERIFY(midi.isPlaying());
        QVERIFY(answered(music, music.count("sounding") + music.count("silent") + 1));
        if (music.count("silent")) QSKIP("no disk audio device or no SoundFont");
        const qint64 start = contents(heard).size();
        QVERIFY2(runUntil([&] { return soundFrom(start); }), "the song never sounded");
        music.events.clear();
        if (none) {
            // A card's rustle ends beside the song and leaves it playing, neither stopped nor started again.
            QSignalSpy rustleDone(&player(*t.window, "MMCw"), &MediaPlayer::done);
            t.sounds().Apri_suono(QStringLiteral("carta"));
            t.sounds().suona();
            QVERIFY(rustleDone.wait(5000));
            QTest::qWait(150);
            const qint64 rustleEnd = contents(heard).size();
            QVERIFY(runUntil([&] { return contents(heard).size() > rustleEnd + 16384; }, 1000));
            QVERIFY2(soundFrom(rustleEnd), "the song fell silent with the rustle");
            QVERIFY(midi.isPlaying());
            QCOMPARE(music.events, QStringList{});
        }
        if (none) {
            m.canzoni[0]->trigger(); // the stop's notice rewinds
            QCOMPARE(music.events, (QStringList{"close", "rewind"}));
        } else {
            midi.command(QStringLiteral("Close"));
        }
        // A moment for the mixer's last buffer, then a while of the device running on.
        QTest::qWait(150);
        const qint64 after = contents(heard).size();
        QVERIFY(runUntil([&] { return contents(heard).size() > after + 16384; }, 1000));
        QVERIFY2(!soundFrom(after), none ? "None" : "Close");
    }
    music.events.clear();
    m.canzoni[0]->trigger(); // nothing playing: no stop, no notice
    QCOMPARE(music.events, QStringList{"close"});
}

void TestAudioPlayer::everySongNamesAPlayableFile() {
    Table t;
    copyAssets(t.programDir.path());
    t.open();
    MediaPlayer &midi = player(*t.window, "MMC1");
    const QString theme = QFileInfo(midi.fileName).canonicalFilePath();
    QVERIFY2(midi.isOpen(), qPrintable(midi.fileName));
    QCOMPARE(QFileInfo(theme).fileName(), QStringLiteral("tresquo.mid"));
    PlayerLog log(midi);
    Menu &m = t.window->elements().menu;
    for (int i = 1; i <= 12; ++i) {
        const QString caption = m.canzoni[i]->text();
        m.canzoni[i]->trigger();
        QVERIFY2(midi.isOpen(), qPrintable(caption));
        QCOMPARE(QFileInfo(midi.fileName).fileName().toLower(), caption.toLower() + QStringLiteral(".mid"));
        QVERIFY(answered(log, i));
        // Silence is allowed without a device, never because the file was refused.
        QVERIFY2(midi.isOpen(), qPrintable(caption + QStringLiteral(" was refused")));
    }
    // The last entry is the theme itself, whatever the case of its name.
    QCOMPARE(QFileInfo(midi.fileName).canonicalFilePath(), theme);
}

void TestAudioPlayer::failedDeviceStaysSilentUntilNextGame() {
    Table t;
    copyAssets(t.programDir.path());
    std::optional<EnvVar> driver(std::in_place, "SDL_AUDIODRIVER", "no-such-driver");
    t.open();
    MainWindow &w = *t.window;
    PlayerLog wave(player(w, "MMCw"));
    t.sounds().suona();
    QVERIFY(answered(wave, 1));
    QCOMPARE(wave.count("silent"), 1);
    // A device that would open now is not tried again within the game.
    driver.reset();
    if (qEnvironmentVariable("SDL_AUDIODRIVER") != QLatin1String("dummy")) qputenv("SDL_AUDIODRIVER", "dummy");
    w.Command1_Click();
    QVERIFY(playToEndOfGame(w));
    QVERIFY(wave.log.count("play") > 10);
    QCOMPARE(wave.count("sounding"), 0);
    // The next game's setup tries again.
    w.continue_Click();
    QVERIFY(runUntil([&] { return w.state().gameNo == 2; }));
    t.sounds().suona();
    QVERIFY(runUntil([&] { return wave.count("sounding") == 1; }));
}

void TestAudioPlayer::noDeviceSaysNothing() {
    Table t;
    copyAssets(t.programDir.path());
    EnvVar driver("SDL_AUDIODRIVER", "alsa");
    EnvVar card("ALSA_CARD", "no-such-card");
    t.open();
    MainWindow &w = *t.window;
    PlayerLog wave(player(w, "MMCw")), music(player(w, "MMC1"));
    StderrCapture err;
    t.sounds().suona();
    w.canzoni_Click(3);
    QVERIFY(answered(wave, 1) && answered(music, 1));
    const QByteArray said = err.end();
    if (wave.count("sounding")) QSKIP("an ALSA device answered");
    QVERIFY2(said.isEmpty(), said.constData());
}

void TestAudioPlayer::soundFontFromTheUser() {
    {
        EnvVar own("SDL_SOUNDFONTS", "/home/someone/fonts/Mine.sf2");
        QCOMPARE(AudioDevice::soundFont(), QStringLiteral("/home/someone/fonts/Mine.sf2"));
    }
    EnvVar none("SDL_SOUNDFONTS", "");
    const QString font = AudioDevice::soundFont();
    if (font.isEmpty()) QSKIP("no General MIDI SoundFont installed");
    QVERIFY(font.endsWith(QStringLiteral(".sf2")) && QFileInfo(font).isReadable());
    // The small font, which loads in a blink, before any larger one.
    const QString small = QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (QFileInfo(small).isReadable()) QCOMPARE(font, small);
}

void TestAudioPlayer::corruptMedia_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("damage");
    const QStringList files{"sounds/carta.wav", "sounds/notify.wav", "sounds/liscio.wav", "music/tresquo.mid"};
    const QList<QPair<const char *, Damage>> damages{
        {"empty", Damage::Empty},       {"truncated", Damage::Truncated},       {"random bytes", Damage::RandomBytes},
        {"absurd header", Damage::AbsurdHeader}, {"garbled body", Damage::GarbledBody}, {"directory", Damage::Directory},
        {"unreadable", Damage::Unreadable}, {"huge", Damage::Huge}};
    for (const QString &f : files)
        for (const auto &[name, d] : damages)
            QTest::newRow(qPrintable(f + QStringLiteral(", ") + QLatin1String(name))) << f << int(d);
}

// A spoilt sound or theme is silence, and the game is played to its end.
void TestAudioPlayer::corruptMedia() {
    QFETCH(QString, file);
    QFETCH(int, damage);
    const Damage d = Damage(damage);
    if (d == Damage::Unreadable && geteuid() == 0) QSKIP("every file is readable to root");
    const MediaKind kind = file.endsWith(QStringLiteral(".mid")) ? MediaKind::Midi : MediaKind::Wave;
    const bool random = d == Damage::Truncated || d == Damage::RandomBytes || d == Damage::AbsurdHeader ||
                        d == Damage::GarbledBody;
    const int rounds = random ? (qEnvironmentVariableIsSet("ZT_LONG_TESTS") ? 12 : 2) : 1;
    const quint64 base = qEnvironmentVariableIsSet("ZT_SEED") ? qEnvironmentVariable("ZT_SEED").toULongLong()
                                                              : qHash(QString::fromLatin1(QTest::currentDataTag()));
    for (int round = 0; round < rounds; ++round) {
        const quint64 seed = base + quint64(round);
        const QString where = QStringLiteral("seed %1 (ZT_SEED=%2, round %3)").arg(seed).arg(base).arg(round);
        QRandomGenerator rng(quint32(seed ^ (seed >> 32)));
        Table t;
        copyAssets(t.programDir.path());
        const QString path = t.path(file);
        QVERIFY(QFile::remove(path));
        if (d == Damage::Directory) {
            QVERIFY(QDir().mkpath(path));
        } else if (d == Damage::Huge) {
            writeSparse(path, kind == MediaKind::Wave ? hugeWaveHeader(200 << 20) : hugeMidiHeader(200 << 20), 200 << 20);
        } else if (d == Damage::Unreadable) {
            writeFile(path, contents(asset(file)));
            QVERIFY(QFile::setPermissions(path, {}));
        } else {
            writeFile(path, spoil(contents(asset(file)), d, kind, rng));
        }
        t.open(seed);
        MainWindow &w = *t.window;
        PlayerLog wave(player(w, "MMCw")), music(player(w, "MMC1"));
        // Straight at the spoilt file first, then a whole game around it.
        StderrCapture err;
        if (kind == MediaKind::Wave) {
            t.sounds().Apri_suono(QFileInfo(file).completeBaseName());
            t.sounds().suona();
            QVERIFY2(player(w, "MMCw").isOpen() ? answered(wave, 1) : wave.count("sounding") == 0, qPrintable(where));
            t.sounds().Apri_suono(QStringLiteral("carta"));
        } else {
            w.canzoni_Click(12);
            QVERIFY2(player(w, "MMC1").isOpen() ? answered(music, 1) : music.count("sounding") == 0, qPrintable(where));
        }
        const QByteArray said = err.end();
        QVERIFY2(said.isEmpty(), qPrintable(where + QStringLiteral(": ") + QString::fromLocal8Bit(said)));
        w.Command1_Click();
        QVERIFY2(playToEndOfGame(w), qPrintable(where));
        QCOMPARE(w.state().pileCount[1] + w.state().pileCount[2], 40);
        // Noise behind a sane header may well sound; nothing else may.
        if (d != Damage::GarbledBody) {
            QVERIFY2(!wave.soundedFiles.contains(path), qPrintable(where));
            QVERIFY2(!music.soundedFiles.contains(path), qPrintable(where));
        }
    }
}

// A sound another program still writes, under a write lease: an open that
// waits would wait until the lease is given up, 45 s by default. A fifo put in
// its place after a look at the name waits for ever; neither is waited on.
void TestAudioPlayer::openNeverWaits() {
    QTemporaryDir dir;
    writeFile(dir.filePath("carta.wav"), shortWave());
    const auto sigio = std::signal(SIGIO, SIG_IGN); // the lease holder is told of the open
    const int fd = open(QFile::encodeName(dir.filePath("carta.wav")).constData(), O_RDWR);
    if (fcntl(fd, F_SETLEASE, F_WRLCK) != 0) {
        close(fd);
        std::signal(SIGIO, sigio);
        QSKIP("no file leases here");
    }
    // Past the deadline the lease goes, so that the test can end.
    std::atomic<bool> read{false};
    std::thread release([&] {
        for (QDeadlineTimer deadline(3000); !read && !deadline.hasExpired();)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        fcntl(fd, F_SETLEASE, F_UNLCK);
    });
    QElapsedTimer took;
    took.start();
    readSaneMedia(dir.filePath("carta.wav"), MediaKind::Wave);
    const qint64 ms = took.elapsed();
    read = true;
    release.join();
    close(fd);
    std::signal(SIGIO, sigio);
    QVERIFY2(ms < 1000, qPrintable(QStringLiteral("the open waited %1 ms").arg(ms)));
}

void TestAudioPlayer::soundFontThatIsAFifo_data() {
    QTest::addColumn<bool>("inAList");
    QTest::newRow("alone") << false;
    QTest::newRow("in a list") << true;
}

// A song with a fifo for its SoundFont answers, sounding or silent.
void TestAudioPlayer::soundFontThatIsAFifo() {
    QFETCH(bool, inAList);
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("font.sf2"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
    const QString installed = [] {
        EnvVar none("SDL_SOUNDFONTS", "");
        return AudioDevice::soundFont();
    }();
    EnvVar fonts("SDL_SOUNDFONTS", inAList ? fifo + ':' + QFile::encodeName(installed) : fifo);
    writeFile(dir.filePath("song.mid"), shortMidi());
    AudioDevice device;
    MediaPlayer song(MediaPlayer::Kind::Sequencer, device);
    PlayerLog log(song);
    song.fileName = dir.filePath("song.mid");
    song.command(QStringLiteral("open"));
    song.command(QStringLiteral("play"));
    const bool gotAnswer = answered(log, 1);
    // Lets a thread stuck in the fifo go, so that the test can end.
    for (int i = 0; i < 100 && log.count("sounding") + log.count("silent") == 0; ++i) {
        const int w = open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        if (w >= 0) close(w);
        QTest::qWait(50);
    }
    QVERIFY2(gotAnswer, "the audio thread waits on the fifo");
    if (inAList && !installed.isEmpty()) QCOMPARE(log.count("sounding"), 1);
}

// A thread of this process blocked opening a fifo nobody reads.
bool threadWaitsOnFifo() {
    for (const QString &tid : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (contents(QStringLiteral("/proc/self/task/%1/wchan").arg(tid)).startsWith("wait_for_partner")) return true;
    return false;
}

// Songs chosen from the menu while one of them is swapped for a fifo and
// back: no thread of the game waits on the fifo, and Ctrl+Q ends it at once.
void TestAudioPlayer::quitWhileASongIsSwappedForAFifo() {
    Table t;
    copyAssets(t.programDir.path());
    const QByteArray song = QFile::encodeName(t.path("music/Humanoid.MID"));
    const QByteArray real = QFile::encodeName(t.path("real")), fifo = QFile::encodeName(t.path("fifo")),
                     swap = QFile::encodeName(t.path("swap"));
    QVERIFY(link(song.constData(), real.constData()) == 0 && mkfifo(fifo.constData(), 0600) == 0);
    // Whatever waits on the fifo is let go, through a name that stays, so the test ends.
    auto letGo = [&] {
        const int w = open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        if (w >= 0) close(w);
    };
    t.open();
    std::atomic<bool> stop{false}, waited{false};
    std::thread swapper([&] {
        for (int n = 0; !stop; ++n) {
            const QByteArray &now = n % 2 ? real : fifo;
            link(now.constData(), swap.constData());
            rename(swap.constData(), song.constData());
            std::this_thread::sleep_for(std::chrono::milliseconds(1 + n % 3));
            if (threadWaitsOnFifo()) {
                waited = true;
                letGo();
            }
        }
    });
    MainWindow &w = *t.window;
    PlayerLog music(player(w, "MMC1"));
    for (int i = 0; i < 16 && !waited; ++i) {
        w.elements().menu.canzoni[1 + i % 2]->trigger(); // Humanoid, Impact
        // Only a song that was a file at the look is sent to the audio thread.
        if (player(w, "MMC1").isOpen()) answered(music, music.count("sounding") + music.count("silent") + 1);
    }
    QElapsedTimer quit;
    quit.start();
    QTest::keyClick(w.view(), Qt::Key_Q, Qt::ControlModifier);
    const qint64 took = quit.elapsed();
    stop = true;
    swapper.join();
    letGo();
    link(real.constData(), swap.constData());
    rename(swap.constData(), song.constData());
    QVERIFY2(!waited, "a thread of the game waited on the fifo");
    QVERIFY(!w.isVisible() && !w.cycleRunning());
    QVERIFY2(took < 1000, qPrintable(QStringLiteral("QUIT took %1 ms").arg(took)));
}

// QUIT while the audio thread waits for a sound server that accepted the
// connection and never answers.
void TestAudioPlayer::quitWithASoundServerThatNeverAnswers() {
    QTemporaryDir dir;
    const QString socketPath = dir.filePath("native");
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path);
    QVERIFY(bind(server, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && listen(server, 4) == 0);
    EnvVar driver("SDL_AUDIODRIVER", "pulseaudio");
    EnvVar where("PULSE_SERVER", "unix:" + QFile::encodeName(socketPath));
    writeFile(dir.filePath("carta.wav"), shortWave());
    auto device = std::make_unique<AudioDevice>();
    MediaPlayer wave(MediaPlayer::Kind::WaveAudio, *device);
    wave.fileName = dir.filePath("carta.wav");
    wave.command(QStringLiteral("open"));
    wave.command(QStringLiteral("play"));
    pollfd connecting{server, POLLIN, 0};
    if (poll(&connecting, 1, 5000) != 1) {
        close(server);
        QSKIP("SDL has no PulseAudio driver here");
    }
    // Past the deadline the connection is dropped, so that the test can end.
    std::atomic<bool> quitDone{false};
    std::thread release([server, &quitDone] {
        for (QDeadlineTimer deadline(3000); !quitDone && !deadline.hasExpired();)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        shutdown(server, SHUT_RDWR);
        close(server);
    });
    QElapsedTimer quit;
    quit.start();
    wave.command(QStringLiteral("close"));
    device->shutdown();
    const qint64 took = quit.elapsed();
    quitDone = true;
    release.join();
    QVERIFY2(took < 1000, qPrintable(QStringLiteral("QUIT took %1 ms").arg(took)));
}

// A worker given up on while it opened the device still closes it when it
// comes back, so SDL never plays on for, nor calls into, a worker that is gone.
void TestAudioPlayer::workerGivenUpOnStillFreesTheDevice() {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("out"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
    writeFile(dir.filePath("carta.wav"), shortWave());
    EnvVar driver("SDL_AUDIODRIVER", "disk");
    EnvVar out("SDL_DISKAUDIOFILE", fifo);
    {
        AudioDevice device;
        MediaPlayer wave(MediaPlayer::Kind::WaveAudio, device);
        wave.fileName = dir.filePath("carta.wav");
        wave.command(QStringLiteral("open"));
        wave.command(QStringLiteral("play"));
        if (!runUntil([] { return threadWaitsOnFifo(); }, 5000)) QSKIP("SDL's disk driver did not open the fifo");
        device.shutdown();
    }
    // Let its open go through, then read what it plays until the device closes.
    const int reader = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    bool closed = false;
    char buf[4096];
    for (QDeadlineTimer deadline(5000); !closed && !deadline.hasExpired();) {
        const ssize_t n = read(reader, buf, sizeof buf);
        closed = n == 0 && !threadWaitsOnFifo();
        if (n <= 0) QThread::msleep(5);
    }
    close(reader);
    QVERIFY2(closed, "the device plays on for a worker that is gone");
}

// Bytes the fifo's writer has put in it within ms, read and thrown away.
qint64 drain(int reader, int ms) {
    qint64 total = 0;
    char buf[4096];
    for (QDeadlineTimer deadline(ms); !deadline.hasExpired();) {
        const ssize_t n = read(reader, buf, sizeof buf);
        if (n > 0) total += n;
        else QTest::qWait(5);
    }
    return total;
}

// A device lost while a song plays (its sound server gone: here SDL's disk
// driver loses its reader) comes back by itself once it can, the song with it.
void TestAudioPlayer::songComesBackWithTheDevice() {
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath("out"));
    QVERIFY(mkfifo(fifo.constData(), 0600) == 0);
    EnvVar driver("SDL_AUDIODRIVER", "disk");
    EnvVar out("SDL_DISKAUDIOFILE", fifo);
    const auto sigpipe = std::signal(SIGPIPE, SIG_IGN); // as the game has it
    int reader = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    AudioDevice device;
    MediaPlayer song(MediaPlayer::Kind::Sequencer, device);
    PlayerLog log(song);
    song.fileName = asset(QStringLiteral("music/tresquo.mid"));
    song.command(QStringLiteral("open"));
    song.command(QStringLiteral("play"));
    QVERIFY(answered(log, 1));
    if (log.count("sounding") == 0) {
        close(reader);
        std::signal(SIGPIPE, sigpipe);
        QSKIP("no SoundFont to play the song");
    }
    QVERIFY(drain(reader, 300) > 0);
    close(reader);
    QTest::qWait(300);
    reader = open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    const qint64 after = drain(reader, 3000);
    song.command(QStringLiteral("close"));
    device.shutdown();
    drain(reader, 300);
    close(reader);
    std::signal(SIGPIPE, sigpipe);
    QVERIFY2(after > 0, "the song stays silent after its device came back");
}

QTEST_MAIN(TestAudioPlayer)
#include "test_audio_player.moc"
