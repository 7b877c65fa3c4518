#include "media/Locations.h"
#include "shell/CommandLine.h"
#include "shell/DisplayLoss.h"
#include "shell/EndSignals.h"
#include "shell/MainWindow.h"
#include "shell/ProcessGuard.h"

#include <QApplication>
#include <cstdio>

namespace {

// Read before the display is opened: --help and --version need none.
zt::CommandLine readCommandLine(int argc, char **argv) {
    QCoreApplication core(argc, argv);
    const zt::Locations where = zt::findLocations(zt::programDir(), zt::userConfigDir());
    return zt::parseCommandLine(QCoreApplication::arguments(), where);
}

} // namespace

int main(int argc, char **argv) {
    zt::guardProcess();
    QCoreApplication::setApplicationName(QStringLiteral("Zentolletto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZT_VERSION));
    const zt::CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
    case zt::CommandLine::ShowHelp:
    case zt::CommandLine::ShowVersion:
        std::fputs(qPrintable(line.text), stdout);
        return 0;
    case zt::CommandLine::Fail:
        std::fprintf(stderr, "zentolletto: %s\nTry 'zentolletto --help'.\n", qPrintable(line.text));
        return 1;
    case zt::CommandLine::Play:
        break;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ZT_APP_ID));
    zt::WindowConfig config;
    config.seed = line.seed;
    zt::MainWindow window(config);
    zt::closeOnEndSignals(window);
    window.show();
    return zt::runUntilClosedOrDisplayGone(app);
}
