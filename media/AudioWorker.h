#pragma once
// The audio thread's side of the players: reads and checks the files,
// loads SDL_mixer on first need, opens the device, decodes and plays. Every
// call here runs on the audio thread; results go back as queued signals
// carrying the player's id and the ticket of the command they answer.
#include "media/MediaCheck.h"
#include "media/SdlMixer.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <vector>

namespace zt {

class AudioWorker : public QObject {
    Q_OBJECT
public:
    AudioWorker();
    ~AudioWorker() override;

    void open(int player, const QString &path, MediaKind kind, quint64 ticket);
    void start(int player, quint64 ticket);
    void close(int player);
    void retryAfterFailure() { deviceFailed_ = false; }
    void shutdown();

    // Called from SDL's mixing thread when a channel or the music stops.
    void noteEndOfPlay();
    // Called from SDL's thread when the open device is gone (its sound server).
    void noteDeviceLost();

signals:
    void sounding(int player, quint64 ticket);
    void silent(int player, quint64 ticket, bool fileRefused);
    void ended(int player, quint64 ticket);

private:
    struct Slot {
        MediaKind kind = MediaKind::Wave;
        QByteArray bytes;
        Mix_Chunk *chunk = nullptr;
        Mix_Music *music = nullptr;
        int channel = -1;
        bool playing = false;
        bool resume = false; // cut off by a lost device, starts again when it is back
        quint64 ticket = 0;
    };

    bool openDevice();
    // The SoundFonts that are regular files, kept open while the device is;
    // returns the list to give SDL_mixer.
    QString openSoundFonts();
    void closeDevice();
    bool decode(Slot &slot);
    void halt(Slot &slot);
    void freeDecoded(Slot &slot);
    void collectEnds();
    bool anyPlaying() const;
    // Closes the device a while after the last sound, unless another begins.
    void closeWhenIdle();
    void deviceLost();
    // Opens a lost device again and starts the songs it cut off.
    void comeBack();

    SdlMixer sdl_;
    QHash<int, Slot> files_;
    std::vector<std::unique_ptr<QFile>> fonts_;
    bool deviceOpen_ = false;
    bool deviceFailed_ = false;
    bool lost_ = false;
    std::atomic<bool> endsPending_{false};
    std::atomic<bool> lossPending_{false};
    // Children, so they move to the audio thread too.
    QTimer idleClose_{this};
    QTimer reopen_{this};
};

} // namespace zt
