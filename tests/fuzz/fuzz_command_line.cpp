// The command line, read before any window: the input is the arguments,
// separated by zero bytes. Every line ends in one of the four actions, and
// only Play carries no text and only a seed given makes one.
#include "shell/CommandLine.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QStringList arguments{QStringLiteral("zentolletto")};
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &argument : bytes.split('\0')) arguments << QString::fromLocal8Bit(argument);
    static const zt::Locations where{true, QStringLiteral("/usr/share/games/zentolletto"),
                                     QStringLiteral("/home/u/.config/Zentolletto"), {}};
    const zt::CommandLine line = zt::parseCommandLine(arguments, where);
    switch (line.action) {
    case zt::CommandLine::Play:
        if (!line.text.isEmpty()) std::abort();
        break;
    case zt::CommandLine::ShowHelp:
    case zt::CommandLine::ShowVersion:
    case zt::CommandLine::Fail:
        if (line.seed || line.text.isEmpty()) std::abort();
        break;
    default:
        std::abort();
    }
    if (line.seed && !bytes.contains("seed")) std::abort();
    return 0;
}
