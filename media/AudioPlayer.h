#pragma once
#include <atomic>
#include <memory>
// A hidden multimedia player: "WaveAudio" for the sound effects or
// "Sequencer" for MIDI music. Commands act at once and return at once: the
// file is read, decoded and played on the audio thread (AudioWorker), and
// what comes of it returns here as queued notices. Every failure (no file,
// a malformed one, no audio device) is silence, never an error.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QThread>

namespace zt {

class AudioDevice;
class AudioWorker;
class MediaPlayer;

// What a player was asked and what came of it, for whoever watches from
// outside (the tests); the player keeps no record of its own.
class PlayerObserver {
public:
    virtual ~PlayerObserver() = default;
    // "open", "play" or "close", lower case, as the command was given.
    virtual void commanded(const MediaPlayer &, const QString &) {}
    // The start position was set to 0.
    virtual void rewound(const MediaPlayer &) {}
    // The device began the open file from its start (true), or the play
    // could not sound (false: no device, or a file the decoder refused).
    virtual void sounded(const MediaPlayer &, bool) {}
};

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    enum class Kind { WaveAudio, Sequencer };
    MediaPlayer(Kind kind, AudioDevice &device, QObject *parent = nullptr);
    ~MediaPlayer() override;

    Kind kind() const { return kind_; }
    QString fileName;
    // "Open", "Play", "Close", in any letter case; anything else is ignored.
    void command(const QString &cmd);
    // Start position 0: the next "Play" starts from the beginning, even
    // while playing or after the end.
    void rewind();
    qint64 position() const;
    qint64 length() const { return length_; }
    bool isOpen() const { return open_; }
    bool isPlaying() const { return playing_; }
    void setObserver(PlayerObserver *observer) { observer_ = observer; }

signals:
    // A play ran to its end ("MMC1_Done").
    void done(int notifyCode);
    void stopCompleted(int errorCode);

private:
    friend class AudioDevice;
    void open();
    void play();
    void close();
    // Notices from the audio thread, matched to the command that caused them.
    void onSounding(quint64 ticket);
    void onSilent(quint64 ticket, bool fileRefused);
    void onEnded(quint64 ticket);

    Kind kind_;
    AudioDevice &device_;
    int id_;
    PlayerObserver *observer_ = nullptr;
    quint64 ticket_ = 0;
    bool open_ = false;
    bool playing_ = false;
    bool atEnd_ = false;
    bool rewound_ = false;
    qint64 length_ = 0;
    qint64 endPosition_ = 0;
    QElapsedTimer clock_;
};

// The one audio device of the process, shared by the two players. Its
// thread starts with the first command and ends with shutdown().
class AudioDevice : public QObject {
    Q_OBJECT
public:
    explicit AudioDevice(QObject *parent = nullptr);
    ~AudioDevice() override;

    // The SoundFont for MIDI: the user's SDL_SOUNDFONTS when set, else an
    // installed General MIDI font; empty when there is none.
    static QString soundFont();
    // A device that failed to open stays silent until this is called
    // (at the next game setup), so no sound waits on it again.
    void retryAfterFailure();
    // Stops every sound, closes the device and ends the audio thread. A
    // thread stuck in the kernel (a sound server that never answers) is not
    // waited for beyond half a second: it is left behind, silent.
    void shutdown();

private:
    friend class MediaPlayer;
    int registerPlayer(MediaPlayer *p);
    void unregisterPlayer(MediaPlayer *p);
    MediaPlayer *player(int id) const;
    template <typename F> void post(F &&work);

    QThread *thread_ = nullptr; // left to end with the process when stuck
    AudioWorker *worker_ = nullptr;
    // Set when the window's thread gives up waiting for the worker; shared,
    // as the worker may outlive this device.
    std::shared_ptr<std::atomic<bool>> gaveUp_;
    bool stopped_ = false;
    QList<MediaPlayer *> players_;
};

// Finds name inside dir whatever the letter case of the file on disk.
QString findFileNoCase(const QString &dir, const QString &name);

} // namespace zt
