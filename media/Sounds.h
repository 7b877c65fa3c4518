#pragma once
// The three wave sounds of play: one is loaded at a time and played on demand.
#include "media/AudioPlayer.h"
#include "media/Elements.h"

namespace zt {

class Sounds {
public:
    // dataDir: the folder that holds sounds/.
    Sounds(MediaPlayer &wave, Menu &menu, QString dataDir) : wave_(wave), menu_(menu), dir_(std::move(dataDir)) {}

    void Apri_suono(const QString &name);
    void suona();
    void menu_card_rustle_yes_Click();
    void menu_card_rustle_no_Click();

private:
    MediaPlayer &wave_;
    Menu &menu_;
    QString dir_;
};

} // namespace zt
