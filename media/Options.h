#pragma once
// The card speed (remembered in a one-line settings file) and the play rate
// (for this run only), with their menu check marks.
#include "media/Elements.h"
#include "media/SettingsFormat.h"

#include <cstdint>
#include <optional>

namespace zt {

class Options {
public:
    using u8 = std::uint8_t;
    // The game's fields the options set, bound by whoever owns the game.
    struct Speeds {
        u8 &cardSpeed;
        u8 &playRate;
    };

    // programDir: where the settings file is kept; configDir: the per-user
    // folder used when that one cannot be written (empty: none).
    Options(Speeds speeds, Menu &menu, QString programDir, QString configDir)
        : s_(speeds), menu_(menu), programDir_(std::move(programDir)), configDir_(std::move(configDir)) {}

    void setDefaults();       // play rate 20, card speed 4
    void readSettings();      // at start-up; never reports anything
    void card_speed_Click(int index);
    void velocita_gioco_Click(int index);

    QString programFile() const;
    QString configFile() const;
    // Where the speed was last written, hence where it is read from.
    QString readFile() const;

private:
    bool writeTo(const QString &path, int speed);
    Speeds s_;
    Menu &menu_;
    QString programDir_, configDir_;
};

} // namespace zt
