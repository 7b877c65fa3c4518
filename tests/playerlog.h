#pragma once
// Watches a player from outside: the commands the game gave it and what the
// audio thread made of them.
#include "media/AudioPlayer.h"

#include <QStringList>

namespace zt::test {

struct PlayerLog : PlayerObserver {
    MediaPlayer &player;
    QStringList log;           // "open", "play", "close" as commanded
    QStringList events;        // the same, with "rewind", "sounding" and "silent"
    QStringList soundedFiles;  // the file of every play that reached the device

    explicit PlayerLog(MediaPlayer &p) : player(p) { player.setObserver(this); }
    ~PlayerLog() override { player.setObserver(nullptr); }
    PlayerLog(const PlayerLog &) = delete;
    PlayerLog &operator=(const PlayerLog &) = delete;

    void commanded(const MediaPlayer &, const QString &c) override {
        log << c;
        events << c;
    }
    void rewound(const MediaPlayer &) override { events << QStringLiteral("rewind"); }
    void sounded(const MediaPlayer &p, bool sounding) override {
        events << (sounding ? QStringLiteral("sounding") : QStringLiteral("silent"));
        if (sounding) soundedFiles << p.fileName;
    }
    int count(const QString &event) const { return int(events.count(event)); }
};

} // namespace zt::test
