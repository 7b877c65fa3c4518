#include "media/AudioWorker.h"

#include "media/AudioPlayer.h"
#include "media/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <mutex>

namespace zt {

namespace {

// SDL's end-of-play hooks carry no user data; they reach the worker through
// this pointer, set while the device is open. There is one device per process.
std::atomic<AudioWorker *> s_openWorker{nullptr};
// A worker the window gave up waiting for may still be opening or closing
// that device when the next worker wants it: they take turns.
std::mutex s_deviceTurn;

void SDLCALL channelStopped(int) {
    if (AudioWorker *w = s_openWorker.load()) w->noteEndOfPlay();
}

void SDLCALL musicStopped() {
    if (AudioWorker *w = s_openWorker.load()) w->noteEndOfPlay();
}

// SDL tells of an open device it lost (a sound server gone) by an event; it
// comes from SDL's own thread, with nobody reading SDL's event queue.
int SDLCALL deviceEvent(void *, SDL_Event *event) {
    if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture)
        if (AudioWorker *w = s_openWorker.load()) w->noteDeviceLost();
    return 0;
}

// How long the device stays open after the last sound: long enough for a
// player's thinking, so the next card's rustle does not wait for the sound
// server to open it again; short enough that a silent game mixes no silence.
constexpr int kIdleCloseMs = 30000;
// How often a lost device is tried again while something wants to sound.
constexpr int kReopenMs = 1000;
// Frames per period, 23 ms at the device's rate. Half of it took 12 ms off a
// card's rustle, but a busy machine then left gaps in the songs thirteen
// times as often (tools/audiobench); the rustle comes promptly enough from
// the device being open already.
constexpr int kDeviceFrames = 1024;

// The names desktops show for the stream (volume applets, pavucontrol).
void nameTheStream(SdlMixer &sdl, const QString &streamName) {
    sdl.SetHint(SDL_HINT_APP_NAME, "Zentolletto");
    sdl.SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Zentolletto");
    sdl.SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, streamName.toUtf8().constData());
    sdl.SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
}

} // namespace

AudioWorker::AudioWorker() {
    idleClose_.setSingleShot(true);
    idleClose_.setInterval(kIdleCloseMs);
    connect(&idleClose_, &QTimer::timeout, this, [this] {
        if (!anyPlaying()) closeDevice();
    });
    reopen_.setInterval(kReopenMs);
    connect(&reopen_, &QTimer::timeout, this, &AudioWorker::comeBack);
}

AudioWorker::~AudioWorker() {
    // Given up on or not: a worker that still holds the device must close it,
    // or SDL would call into a worker that is gone and no later one could open it.
    shutdown();
    // The worker ends with its thread, and SDL's per-thread data with it.
    if (sdl_.TLSCleanup) sdl_.TLSCleanup();
}

void AudioWorker::noteEndOfPlay() {
    // Only a flag and a queued call: this runs on SDL's mixing thread, which
    // must not wait on anything. Halts we ask for land here too; collectEnds
    // tells them apart.
    if (!endsPending_.exchange(true)) QMetaObject::invokeMethod(this, &AudioWorker::collectEnds, Qt::QueuedConnection);
}

void AudioWorker::noteDeviceLost() {
    if (!lossPending_.exchange(true)) QMetaObject::invokeMethod(this, &AudioWorker::deviceLost, Qt::QueuedConnection);
}

void AudioWorker::open(int player, const QString &path, MediaKind kind, quint64 ticket) {
    close(player);
    Slot &slot = files_[player];
    slot.kind = kind;
    slot.ticket = ticket;
    slot.bytes = readSaneMedia(path, kind);
    if (slot.bytes.isEmpty()) return emit silent(player, ticket, true);
    // The device opens and the file decodes now, so that the play that
    // follows (a card's rustle on a key) only has to start it.
    if (openDevice()) decode(slot);
    closeWhenIdle();
}

void AudioWorker::start(int player, quint64 ticket) {
    Slot &slot = files_[player];
    slot.ticket = ticket;
    halt(slot);
    if (slot.bytes.isEmpty()) return emit silent(player, ticket, true);
    if (!openDevice()) {
        // A song chosen while the sound server is away plays once it is back.
        slot.resume = lost_ && slot.kind == MediaKind::Midi;
        if (!slot.resume) emit silent(player, ticket, false);
        return;
    }
    if (slot.kind == MediaKind::Midi && fonts_.empty()) {
        emit silent(player, ticket, false);
        return closeWhenIdle();
    }
    if (!decode(slot)) {
        slot.bytes.clear();
        emit silent(player, ticket, true);
        return closeWhenIdle();
    }
    bool ok;
    if (slot.kind == MediaKind::Wave) {
        slot.channel = sdl_.PlayChannel(-1, slot.chunk, 0);
        ok = slot.channel >= 0;
    } else {
        ok = sdl_.PlayMusic(slot.music, 1) == 0;
    }
    if (!ok) {
        emit silent(player, ticket, false);
        return closeWhenIdle();
    }
    idleClose_.stop();
    slot.playing = true;
    slot.resume = false;
    emit sounding(player, ticket);
}

void AudioWorker::close(int player) {
    auto it = files_.find(player);
    if (it == files_.end()) return;
    halt(*it);
    freeDecoded(*it);
    files_.erase(it);
    closeWhenIdle();
}

void AudioWorker::deviceLost() {
    lossPending_.store(false);
    if (!deviceOpen_) return;
    // The song starts again once the device is back; a sound cut short is over.
    for (Slot &slot : files_) slot.resume = slot.playing && slot.kind == MediaKind::Midi;
    closeDevice();
    lost_ = true;
    reopen_.start();
}

void AudioWorker::comeBack() {
    if (files_.isEmpty()) {
        reopen_.stop();
        return;
    }
    if (!openDevice()) return;
    for (auto it = files_.begin(); it != files_.end(); ++it)
        if (it->resume) start(it.key(), it->ticket);
        else if (!it->bytes.isEmpty()) decode(*it);
    closeWhenIdle();
}

void AudioWorker::shutdown() {
    for (Slot &slot : files_) {
        halt(slot);
        freeDecoded(slot);
    }
    files_.clear();
    closeDevice();
}

bool AudioWorker::openDevice() {
    if (deviceOpen_) return true;
    // A device that was lost is tried at every chance until it is back; one
    // that never opened waits for the next game.
    if (deviceFailed_ && !lost_) return false;
    deviceFailed_ = true; // until everything below has worked
    const std::lock_guard turn(s_deviceTurn);
    // Still held by a worker given up on: silent until the next game's retry.
    if (s_openWorker.load()) return false;
    if (!sdl_.load()) return false;
    quietAlsa();
    // SDL would otherwise swallow SIGTERM and SIGINT into an event queue
    // nobody reads, and the program could not be ended from outside.
    sdl_.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    nameTheStream(sdl_, tr("Card sounds and music"));
    // The mixing thread is the one that must never be late (a late one is a
    // gap in the music): real-time, through RealtimeKit where the desktop has it.
    sdl_.SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
    if (sdl_.InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) return false;
    if (sdl_.OpenAudio(kDeviceRate, AUDIO_S16SYS, 2, kDeviceFrames) != 0) {
        sdl_.QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    sdl_.Init(MIX_INIT_MID);
    const QString fonts = openSoundFonts();
    if (!fonts.isEmpty()) sdl_.SetSoundFonts(QFile::encodeName(fonts).constData());
    s_openWorker.store(this);
    sdl_.ChannelFinished(channelStopped);
    sdl_.HookMusicFinished(musicStopped);
    sdl_.AddEventWatch(deviceEvent, nullptr);
    deviceOpen_ = true;
    deviceFailed_ = false;
    lost_ = false;
    reopen_.stop();
    return true;
}

void AudioWorker::closeDevice() {
    idleClose_.stop();
    if (!deviceOpen_) return;
    const std::lock_guard turn(s_deviceTurn);
    // Decoded sounds are in the device's format; they go with it.
    for (Slot &slot : files_) {
        halt(slot);
        freeDecoded(slot);
    }
    sdl_.ChannelFinished(nullptr);
    sdl_.HookMusicFinished(nullptr);
    sdl_.DelEventWatch(deviceEvent, nullptr);
    s_openWorker.store(nullptr);
    sdl_.CloseAudio();
    sdl_.Quit();
    sdl_.QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    fonts_.clear();
    deviceOpen_ = false;
}

QString AudioWorker::openSoundFonts() {
    fonts_.clear();
    // FluidSynth opens the fonts by name at every song. Named through the
    // descriptors opened here, a font swapped for a fifo since the check
    // cannot keep it waiting.
    const bool throughDescriptors = QFileInfo(QStringLiteral("/proc/self/fd")).isDir();
    QStringList names;
    static const QRegularExpression separators(QStringLiteral("[:;]"));
    for (const QString &name : AudioDevice::soundFont().split(separators, Qt::SkipEmptyParts)) {
        auto font = std::make_unique<QFile>();
        if (!openRegularFile(*font, name)) continue;
        names << (throughDescriptors ? QStringLiteral("/proc/self/fd/%1").arg(font->handle()) : name);
        fonts_.push_back(std::move(font));
    }
    return names.join(QLatin1Char(':'));
}

bool AudioWorker::decode(Slot &slot) {
    if (slot.chunk || slot.music) return true;
    // The bytes outlive the decoded sound, which may read them while playing.
    SDL_RWops *rw = sdl_.RWFromConstMem(slot.bytes.constData(), int(slot.bytes.size()));
    if (!rw) return false;
    if (slot.kind == MediaKind::Wave)
        slot.chunk = sdl_.LoadWAV_RW(rw, 1);
    else
        slot.music = sdl_.LoadMUS_RW(rw, 1);
    return slot.chunk || slot.music;
}

void AudioWorker::halt(Slot &slot) {
    if (!slot.playing) return;
    slot.playing = false;
    if (slot.kind == MediaKind::Wave) {
        if (slot.channel >= 0) sdl_.HaltChannel(slot.channel);
    } else {
        sdl_.HaltMusic();
    }
    slot.channel = -1;
}

void AudioWorker::freeDecoded(Slot &slot) {
    if (slot.chunk) sdl_.FreeChunk(slot.chunk);
    if (slot.music) sdl_.FreeMusic(slot.music);
    slot.chunk = nullptr;
    slot.music = nullptr;
}

void AudioWorker::collectEnds() {
    endsPending_.store(false);
    if (!deviceOpen_) return;
    for (auto it = files_.begin(); it != files_.end(); ++it) {
        Slot &slot = *it;
        if (!slot.playing) continue;
        const bool still = slot.kind == MediaKind::Wave ? sdl_.Playing(slot.channel) != 0 : sdl_.PlayingMusic() != 0;
        if (still) continue;
        slot.playing = false;
        slot.channel = -1;
        emit ended(it.key(), slot.ticket);
    }
    closeWhenIdle();
}

bool AudioWorker::anyPlaying() const {
    for (const Slot &slot : files_)
        if (slot.playing) return true;
    return false;
}

void AudioWorker::closeWhenIdle() {
    if (deviceOpen_ && !anyPlaying()) idleClose_.start();
}

} // namespace zt
