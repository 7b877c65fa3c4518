#include "media/Music.h"

#include <QDir>

namespace zt {

QString Music::musicDir() const { return QDir(dir_).filePath(QStringLiteral("music")); }

void Music::openTheme() {
    midi_.fileName = findFileNoCase(musicDir(), QStringLiteral("tresquo.mid"));
    midi_.command(QStringLiteral("Open"));
    menu_.canzoni[12]->setChecked(true);
}

void Music::canzoni_Click(int index) {
    midi_.command(QStringLiteral("close"));
    if (index == 0) {
        // "None" silences and leaves the last song's check mark; it never
        // shows one of its own, and the menu's own toggle must not add one.
        menu_.canzoni[0]->setChecked(false);
        return;
    }
    for (int i = 1; i <= 12; ++i) menu_.canzoni[i]->setChecked(false);
    menu_.canzoni[index]->setChecked(true);
    midi_.fileName = findFileNoCase(musicDir(), menu_.canzoni[index]->text() + QStringLiteral(".MID"));
    midi_.command(QStringLiteral("open"));
    midi_.rewind();
    midi_.command(QStringLiteral("play"));
}

void Music::MMC1_Done(int) {
    // A player with nothing open reads 0 and 0: replaying it would spin forever.
    if (!midi_.isOpen() || midi_.length() <= 0) return;
    if (midi_.position() == midi_.length()) {
        midi_.rewind();
        midi_.command(QStringLiteral("Play"));
    }
}

void Music::MMC1_StopCompleted(int) { midi_.rewind(); }

} // namespace zt
