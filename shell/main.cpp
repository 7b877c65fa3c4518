#include "media/Locations.h"
#include "media/SoundServer.h"
#include "shell/AccessibilityRejoin.h"
#include "shell/CommandLine.h"
#include "shell/DisplayLoss.h"
#include "shell/EndSignals.h"
#include "shell/MainWindow.h"
#include "shell/ProcessGuard.h"
#include "shell/TeardownLimit.h"
#include "shell/Translations.h"

#include <QApplication>
#include <cstdio>

namespace {

// Read before the display is opened: --help and --version need none.
zt::CommandLine readCommandLine(int argc, char **argv) {
    QCoreApplication core(argc, argv);
    const zt::Translations language;
    const zt::Locations where = zt::findLocations(zt::programDir(), zt::userConfigDir());
    zt::CommandLine line = zt::parseCommandLine(QCoreApplication::arguments(), where);
    // Said here, while the catalogue is installed.
    if (line.action == zt::CommandLine::Fail)
        line.text = QStringLiteral("zentolletto: %1\n%2\n")
                        .arg(line.text, QCoreApplication::translate("main", "Try 'zentolletto --help'."));
    return line;
}

} // namespace

int main(int argc, char **argv) {
    zt::guardProcess();
    zt::describeToSoundServer(ZT_APP_ID);
    QCoreApplication::setApplicationName(QStringLiteral("Zentolletto"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZT_VERSION));
    const zt::CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
    case zt::CommandLine::ShowHelp:
    case zt::CommandLine::ShowVersion:
        std::fputs(qPrintable(line.text), stdout);
        return 0;
    case zt::CommandLine::Fail:
        std::fputs(qPrintable(line.text), stderr);
        return 1;
    case zt::CommandLine::Play:
        break;
    }

    zt::TeardownLimit limit;
    QApplication app(argc, argv);
    zt::startUpDone();
    const zt::AccessibilityRejoin rejoin;
    const zt::Translations language;
    QGuiApplication::setDesktopFileName(QStringLiteral(ZT_APP_ID));
    zt::WindowConfig config;
    config.seed = line.seed;
    zt::MainWindow window(config);
    zt::closeOnEndSignals(window);
    window.show();
    const int status = zt::runUntilClosedOrDisplayGone(app);
    limit.start(status);
    return status;
}
