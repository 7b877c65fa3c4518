#pragma once
// The program's options, read before any window exists so that --help,
// --version and a wrong option work without a display.
#include "media/Locations.h"

#include <QStringList>
#include <optional>

namespace zt {

struct CommandLine {
    enum Action { Play, ShowHelp, ShowVersion, Fail } action = Play;
    QString text; // what to print for anything but Play
    std::optional<quint64> seed;
};

CommandLine parseCommandLine(const QStringList &arguments, const Locations &where);

} // namespace zt
