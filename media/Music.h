#pragma once
// Background music: the theme from the first shuffle, songs from the menu,
// each starting again when it ends.
#include "media/AudioPlayer.h"
#include "media/Elements.h"

namespace zt {

class Music {
public:
    // dataDir: the folder that holds music/.
    Music(MediaPlayer &midi, Menu &menu, QString dataDir) : midi_(midi), menu_(menu), dir_(std::move(dataDir)) {}

    void openTheme();
    void canzoni_Click(int index);
    void MMC1_Done(int notifyCode);
    void MMC1_StopCompleted(int errorCode);

private:
    QString musicDir() const;
    MediaPlayer &midi_;
    Menu &menu_;
    QString dir_;
};

} // namespace zt
