#pragma once
// Where the program finds its sounds and music and keeps its settings file.
//
// A program whose own folder holds sounds/ or music/ is self-contained (the
// build tree, or an unpacked folder) and keeps everything beside itself, as
// it always did. Any other program is installed: its data sit in the data
// folder relative to its own (so the tree can be moved), and its settings in
// the user's configuration folder, never inside the installed tree.
#include <QString>

namespace zt {

struct Locations {
    bool installed = false;
    QString dataDir;     // holds sounds/ and music/
    QString settingsDir; // where speed.kdz is written first
    QString fallbackDir; // taken when settingsDir refuses a write; empty when there is none

    QString soundsDir() const;
    QString musicDir() const;
};

// The installed data folder relative to the program's folder, as the build
// was configured to install it ("../share/games/zentolletto" for the usual layout).
QString installedDataDir();

Locations findLocations(const QString &programDir, const QString &userConfigDir,
                        const QString &relativeDataDir = installedDataDir());

} // namespace zt
