#pragma once
// The three wave sounds of play: one is loaded at a time and played on demand.
#include "media/AudioPlayer.h"
#include "media/Elements.h"

namespace zt {

class Sounds {
public:
    Sounds(MediaPlayer &wave, Menu &menu, QString programDir) : wave_(wave), menu_(menu), dir_(std::move(programDir)) {}

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
