#pragma once
// A hidden multimedia player on SDL2_mixer: "WaveAudio" for the sound
// effects or "Sequencer" for MIDI music. Commands act at once and return at
// once; every failure (no file, no audio device) is silence, never an error.
//
// The audio device is opened only while something sounds and closed soon
// after, so a waiting game keeps no mixer thread busy.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace zt {

class AudioDevice;

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
    void setStartPosition(qint64 ms);
    qint64 position() const;
    qint64 length() const { return length_; }
    bool isOpen() const { return !data_.isEmpty(); }
    bool isPlaying() const { return playing_; }

    // Commands seen, in order, for tests that check what the game asked for.
    QStringList log;

signals:
    // A play ran to its end ("MMC1_Done").
    void done(int notifyCode);
    void stopCompleted(int errorCode);

private slots:
    void onChannelDone(int channel);
    void onMusicDone();

private:
    friend class AudioDevice;
    void open();
    void play();
    void close();
    void finishedNaturally(); // from the audio thread, queued to ours
    void releaseSound();

    Kind kind_;
    AudioDevice &device_;
    QByteArray data_;
    void *sound_ = nullptr; // Mix_Chunk* or Mix_Music*
    int channel_ = -1;
    bool playing_ = false;
    qint64 startPos_ = 0;
    bool restartPending_ = false;
    qint64 length_ = 0;
    qint64 endPosition_ = 0;
    QElapsedTimer clock_;
};

// The one SDL audio device, shared by the two players.
class AudioDevice : public QObject {
    Q_OBJECT
public:
    explicit AudioDevice(QObject *parent = nullptr);
    ~AudioDevice() override;

    bool acquire();
    void release();
    bool isOpen() const { return open_; }
    // The SoundFont used for MIDI, empty when none is installed.
    static QString soundFont();
    void shutdown();

private:
    friend class MediaPlayer;
    void registerPlayer(MediaPlayer *p);
    void unregisterPlayer(MediaPlayer *p);
    void closeNow();

    bool open_ = false;
    bool failed_ = false;
    int users_ = 0;
    QTimer idleClose_;
};

// Finds name inside dir whatever the letter case of the file on disk.
QString findFileNoCase(const QString &dir, const QString &name);

} // namespace zt
