#include "shell/ProcessGuard.h"

#include <QCoreApplication>
#include <QString>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace zt {

namespace {

void openStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number: this one, as every lower one is open by now.
        const int got = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (got > fd) {
            dup2(got, fd);
            close(got);
        }
    }
}

// While the application object is being built, the only fatal message is the
// platform plugin's (no display, or one that does not answer); the plugin's
// own warnings before it say the same in several lines.
void startUpMessages(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (QCoreApplication::startingUp()) {
        if (type == QtFatalMsg) {
            const char *display = std::getenv("DISPLAY");
            if (display && *display)
                std::fprintf(stderr, "zentolletto: cannot open the display %s\n", display);
            else
                std::fputs("zentolletto: no display to show the window on (DISPLAY is not set)\n", stderr);
            std::fflush(stderr);
            _exit(1);
        }
        if (context.category && qstrncmp(context.category, "qt.qpa.", 7) == 0) return;
    }
    const QString line = qFormatLogMessage(type, context, message);
    if (!line.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace

void guardProcess() {
    openStandardDescriptors();
    std::signal(SIGPIPE, SIG_IGN);
    // A file size limit fails the settings write, which keeps the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(startUpMessages);
}

} // namespace zt
