#include "media/AudioPlayer.h"

#include "media/AudioWorker.h"

#include <QDir>
#include <QFileInfo>

namespace zt {

QString findFileNoCase(const QString &dir, const QString &name) {
    const QString exact = QDir(dir).filePath(name);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = QDir(dir).entryList(QDir::Files);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return QDir(dir).filePath(e);
    return exact;
}

// ---- AudioDevice -----------------------------------------------------------

namespace {
constexpr int kShutdownWaitMs = 500;
}

AudioDevice::AudioDevice(QObject *parent) : QObject(parent) {}

AudioDevice::~AudioDevice() { shutdown(); }

QString AudioDevice::soundFont() {
    const QString own = qEnvironmentVariable("SDL_SOUNDFONTS");
    if (!own.isEmpty()) return own;
    // The small General MIDI font loads in a blink; a larger one is a fallback.
    const char *candidates[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                "/usr/share/sounds/sf2/default-GM.sf2"};
    for (const char *c : candidates)
        if (QFileInfo(QString::fromLatin1(c)).isReadable()) return QString::fromLatin1(c);
    return {};
}

template <typename F> void AudioDevice::post(F &&work) {
    if (stopped_) return;
    if (!worker_) {
        thread_ = new QThread;
        worker_ = new AudioWorker;
        gaveUp_ = std::make_shared<std::atomic<bool>>(false);
        worker_->moveToThread(thread_);
        connect(worker_, &AudioWorker::sounding, this, [this](int id, quint64 ticket) {
            if (MediaPlayer *p = player(id)) p->onSounding(ticket);
        });
        connect(worker_, &AudioWorker::silent, this, [this](int id, quint64 ticket, bool refused) {
            if (MediaPlayer *p = player(id)) p->onSilent(ticket, refused);
        });
        connect(worker_, &AudioWorker::ended, this, [this](int id, quint64 ticket) {
            if (MediaPlayer *p = player(id)) p->onEnded(ticket);
        });
        thread_->setObjectName(QStringLiteral("audio"));
        thread_->start();
    }
    QMetaObject::invokeMethod(worker_, [w = worker_, gaveUp = gaveUp_, work = std::forward<F>(work)] {
        if (!*gaveUp) work(*w);
    }, Qt::QueuedConnection);
}

void AudioDevice::retryAfterFailure() {
    if (worker_) post([](AudioWorker &w) { w.retryAfterFailure(); });
}

void AudioDevice::shutdown() {
    if (stopped_) return;
    if (worker_) {
        // Runs after every command already sent; the worker goes on its own
        // thread, abandoned or not.
        QMetaObject::invokeMethod(worker_, [w = worker_] {
            delete w;
            QThread::currentThread()->quit();
        }, Qt::QueuedConnection);
        if (thread_->wait(QDeadlineTimer(kShutdownWaitMs))) {
            delete thread_;
        } else {
            *gaveUp_ = true;
            // Should it ever come back, it deletes the worker and ends.
            connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
            if (thread_->isFinished()) delete thread_;
        }
        thread_ = nullptr;
        worker_ = nullptr;
    }
    stopped_ = true;
}

int AudioDevice::registerPlayer(MediaPlayer *p) {
    players_.append(p);
    return int(players_.size()) - 1;
}

void AudioDevice::unregisterPlayer(MediaPlayer *p) {
    // Ids stay put: the slot is emptied, not removed.
    const qsizetype i = players_.indexOf(p);
    if (i >= 0) players_[i] = nullptr;
}

MediaPlayer *AudioDevice::player(int id) const { return id >= 0 && id < players_.size() ? players_[id] : nullptr; }

// ---- MediaPlayer -----------------------------------------------------------

MediaPlayer::MediaPlayer(Kind kind, AudioDevice &device, QObject *parent)
    : QObject(parent), kind_(kind), device_(device), id_(device.registerPlayer(this)) {}

MediaPlayer::~MediaPlayer() {
    close();
    device_.unregisterPlayer(this);
}

void MediaPlayer::command(const QString &cmd) {
    const QString c = cmd.toLower();
    if (c != QLatin1String("open") && c != QLatin1String("play") && c != QLatin1String("close")) return;
    if (observer_) observer_->commanded(*this, c);
    if (c == QLatin1String("open"))
        open();
    else if (c == QLatin1String("play"))
        play();
    else
        close();
}

void MediaPlayer::rewind() {
    rewound_ = true;
    if (observer_) observer_->rewound(*this);
}

qint64 MediaPlayer::position() const { return playing_ ? clock_.elapsed() : endPosition_; }

void MediaPlayer::open() {
    close();
    // Only a look at the name here; reading and checking the file happen on
    // the audio thread, which reports a file it refuses.
    const QFileInfo info(fileName);
    const MediaKind media = kind_ == Kind::WaveAudio ? MediaKind::Wave : MediaKind::Midi;
    if (!info.isFile() || info.size() <= 0 || info.size() > maxMediaBytes(media)) return;
    open_ = true;
    const quint64 ticket = ++ticket_;
    device_.post([id = id_, path = info.absoluteFilePath(), media, ticket](AudioWorker &w) {
        w.open(id, path, media, ticket);
    });
}

void MediaPlayer::play() {
    if (!open_) return;
    // Without a new start position, play goes on while playing and there is
    // nothing left to play after the end.
    if ((playing_ || atEnd_) && !rewound_) return;
    rewound_ = atEnd_ = false;
    playing_ = true;
    clock_.start();
    const quint64 ticket = ++ticket_;
    device_.post([id = id_, ticket](AudioWorker &w) { w.start(id, ticket); });
}

void MediaPlayer::close() {
    const bool wasPlaying = playing_;
    if (open_) device_.post([id = id_](AudioWorker &w) { w.close(id); });
    ++ticket_; // whatever the audio thread still says of the old file is moot
    open_ = playing_ = atEnd_ = rewound_ = false;
    length_ = endPosition_ = 0;
    if (wasPlaying) emit stopCompleted(0);
}

void MediaPlayer::onSounding(quint64 ticket) {
    if (ticket == ticket_ && observer_) observer_->sounded(*this, true);
}

void MediaPlayer::onSilent(quint64 ticket, bool fileRefused) {
    if (ticket != ticket_) return;
    playing_ = false;
    if (fileRefused) open_ = false;
    if (observer_) observer_->sounded(*this, false);
}

void MediaPlayer::onEnded(quint64 ticket) {
    if (ticket != ticket_ || !playing_) return;
    endPosition_ = length_ = qMax<qint64>(1, clock_.elapsed());
    playing_ = false;
    atEnd_ = true;
    emit done(1);
}

} // namespace zt
