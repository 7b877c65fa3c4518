#include "media/AudioPlayer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <SDL.h>
#include <SDL_mixer.h>

namespace zt {

namespace {
// SDL's end-of-play hooks carry no user data, so they reach the device
// through this pointer; there is one device per process.
AudioDevice *s_device = nullptr;

bool onMainThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

void channelFinished(int channel);
void musicFinished();

// How long the device stays open after the last sound, so a quick series of
// plays does not open and close it each time.
constexpr int kIdleCloseMs = 1500;
} // namespace

QString findFileNoCase(const QString &dir, const QString &name) {
    const QString exact = QDir(dir).filePath(name);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = QDir(dir).entryList(QDir::Files);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return QDir(dir).filePath(e);
    return exact;
}

// ---- AudioDevice -----------------------------------------------------------

static QList<MediaPlayer *> &players() {
    static QList<MediaPlayer *> list; // guarded by running on the main thread only
    return list;
}

AudioDevice::AudioDevice(QObject *parent) : QObject(parent) {
    s_device = this;
    idleClose_.setSingleShot(true);
    idleClose_.setInterval(kIdleCloseMs);
    connect(&idleClose_, &QTimer::timeout, this, [this] {
        if (users_ == 0) closeNow();
    });
}

AudioDevice::~AudioDevice() {
    shutdown();
    if (s_device == this) s_device = nullptr;
}

void AudioDevice::shutdown() {
    for (MediaPlayer *p : players()) p->command(QStringLiteral("Close"));
    closeNow();
}

QString AudioDevice::soundFont() {
    // The small General MIDI font loads in a blink; a larger one is a fallback.
    const char *candidates[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                "/usr/share/sounds/sf2/default-GM.sf2"};
    for (const char *c : candidates)
        if (QFileInfo(QString::fromLatin1(c)).isReadable()) return QString::fromLatin1(c);
    return {};
}

bool AudioDevice::acquire() {
    idleClose_.stop();
    if (!open_) {
        // SDL would otherwise swallow SIGTERM and SIGINT into an event queue
        // nobody reads, and the program could not be ended from outside.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return false;
        }
        Mix_Init(MIX_INIT_MID);
        const QString sf = soundFont();
        if (!sf.isEmpty()) Mix_SetSoundFonts(QFile::encodeName(sf).constData());
        Mix_ChannelFinished(channelFinished);
        Mix_HookMusicFinished(musicFinished);
        open_ = true;
    }
    ++users_;
    return true;
}

void AudioDevice::release() {
    if (users_ > 0) --users_;
    if (users_ == 0 && open_) idleClose_.start();
}

void AudioDevice::closeNow() {
    idleClose_.stop();
    if (!open_) return;
    Mix_ChannelFinished(nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
    users_ = 0;
}

void AudioDevice::registerPlayer(MediaPlayer *p) { players().append(p); }
void AudioDevice::unregisterPlayer(MediaPlayer *p) { players().removeAll(p); }

namespace {
void channelFinished(int channel) {
    // A halt we asked for calls back on our own thread: not an end of play.
    if (onMainThread() || !s_device) return;
    QMetaObject::invokeMethod(
        s_device,
        [channel] {
            for (MediaPlayer *p : players())
                if (p->kind() == MediaPlayer::Kind::WaveAudio && p->isPlaying())
                    QMetaObject::invokeMethod(p, "onChannelDone", Q_ARG(int, channel));
        },
        Qt::QueuedConnection);
}

void musicFinished() {
    if (onMainThread() || !s_device) return;
    QMetaObject::invokeMethod(
        s_device,
        [] {
            for (MediaPlayer *p : players())
                if (p->kind() == MediaPlayer::Kind::Sequencer && p->isPlaying())
                    QMetaObject::invokeMethod(p, "onMusicDone");
        },
        Qt::QueuedConnection);
}
} // namespace

// ---- MediaPlayer -----------------------------------------------------------

MediaPlayer::MediaPlayer(Kind kind, AudioDevice &device, QObject *parent)
    : QObject(parent), kind_(kind), device_(device) {
    device_.registerPlayer(this);
}

MediaPlayer::~MediaPlayer() {
    close();
    device_.unregisterPlayer(this);
}

void MediaPlayer::command(const QString &cmd) {
    const QString c = cmd.toLower();
    log << c;
    if (c == QLatin1String("open"))
        open();
    else if (c == QLatin1String("play"))
        play();
    else if (c == QLatin1String("close"))
        close();
}

void MediaPlayer::setStartPosition(qint64 ms) { startPos_ = ms; restartPending_ = true; }

qint64 MediaPlayer::position() const {
    if (playing_) return startPos_ + clock_.elapsed();
    return endPosition_;
}

void MediaPlayer::open() {
    close();
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return;
    data_ = f.readAll();
    length_ = 0;
    endPosition_ = 0;
    startPos_ = 0;
}

void MediaPlayer::play() {
    if (data_.isEmpty()) return;
    if (playing_) {
        // Play while playing goes on unless a start position was set.
        if (!restartPending_) return;
        releaseSound();
    }
    restartPending_ = false;
    if (!device_.acquire()) return;
    SDL_RWops *rw = SDL_RWFromConstMem(data_.constData(), int(data_.size()));
    if (kind_ == Kind::WaveAudio) {
        Mix_Chunk *chunk = Mix_LoadWAV_RW(rw, 1);
        if (!chunk) return device_.release();
        channel_ = Mix_PlayChannel(-1, chunk, 0);
        if (channel_ < 0) {
            Mix_FreeChunk(chunk);
            return device_.release();
        }
        sound_ = chunk;
    } else {
        Mix_Music *music = Mix_LoadMUS_RW(rw, 1);
        if (!music) return device_.release();
        if (Mix_PlayMusic(music, 1) != 0) {
            Mix_FreeMusic(music);
            return device_.release();
        }
        sound_ = music;
    }
    playing_ = true;
    clock_.start();
}

void MediaPlayer::releaseSound() {
    if (!sound_) return;
    playing_ = false;
    if (kind_ == Kind::WaveAudio) {
        if (channel_ >= 0) Mix_HaltChannel(channel_);
        Mix_FreeChunk(static_cast<Mix_Chunk *>(sound_));
    } else {
        Mix_HaltMusic();
        Mix_FreeMusic(static_cast<Mix_Music *>(sound_));
    }
    sound_ = nullptr;
    channel_ = -1;
    device_.release();
}

void MediaPlayer::close() {
    const bool wasPlaying = playing_;
    releaseSound();
    data_.clear();
    length_ = endPosition_ = startPos_ = 0;
    restartPending_ = false;
    if (wasPlaying) emit stopCompleted(0);
}

void MediaPlayer::onChannelDone(int channel) {
    if (!playing_ || channel != channel_ || Mix_Playing(channel_)) return;
    finishedNaturally();
}

void MediaPlayer::onMusicDone() {
    if (!playing_ || kind_ != Kind::Sequencer) return;
    if (Mix_PlayingMusic()) return; // a newer play already runs
    finishedNaturally();
}

void MediaPlayer::finishedNaturally() {
    endPosition_ = length_ = qMax<qint64>(1, startPos_ + clock_.elapsed());
    releaseSound();
    emit done(1);
}

} // namespace zt
