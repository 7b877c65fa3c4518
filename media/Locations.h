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

// The program's own folder. A name that is not valid UTF-8 does not survive
// a QString; such a folder is reached through a descriptor held open on it.
QString programDir();

// The user's configuration folder for the program, by the base-directory
// rules: $XDG_CONFIG_HOME when it is an absolute path (a relative one is
// ignored), else .config in the home folder, which is $HOME when absolute,
// else the user's entry in the password database. Empty without a home.
// A name that is not valid UTF-8 is reached, like the program's folder,
// through a descriptor on the nearest part of it that exists.
QString userConfigDir();

} // namespace zt
