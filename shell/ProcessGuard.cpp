#include "shell/ProcessGuard.h"

#include "shell/Translations.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fcntl.h>
#include <sys/resource.h>
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

// These lines are said before the window's catalogue is installed, or while
// Qt builds the application object, so the catalogue is read for each one.
void say(const char *text, const QString &a = {}, const QString &b = {}) {
    QTranslator words;
    QString line = QString::fromUtf8(text);
    if (loadCatalogue(words)) {
        const QString t = words.translate("ProcessGuard", text);
        if (!t.isEmpty()) line = t;
    }
    if (!a.isNull()) line = b.isNull() ? line.arg(a) : line.arg(a, b);
    std::fprintf(stderr, "zentolletto: %s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

// While the application object is being built, the only fatal message is the
// platform plugin's (no display, or one that does not answer); the plugin's
// own warnings before it say the same in several lines.
void startUpMessages(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (QCoreApplication::startingUp()) {
        if (type == QtFatalMsg) {
            const char *display = std::getenv("DISPLAY");
            if (display && *display)
                say(QT_TRANSLATE_NOOP("ProcessGuard", "cannot open the display %1"),
                    QString::fromLocal8Bit(display));
            else
                say(QT_TRANSLATE_NOOP("ProcessGuard", "no display to show the window on (DISPLAY is not set)"));
            _exit(1);
        }
        if (context.category && qstrncmp(context.category, "qt.qpa.", 7) == 0) return;
    }
    const QString line = qFormatLogMessage(type, context, message);
    if (!line.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(line));
}

// Below these the program does not fail cleanly: Qt waits for ever on a
// thread it could not start or on a reply about shared memory it could not
// map, and GLib stops the process at its first event loop. Ending at once
// with the reason is better than a window that hangs.
constexpr rlim_t kNeededDescriptors = 64;
constexpr rlim_t kNeededAddressSpace = rlim_t(1) << 30;

// False, after saying so, when the limit stays below what is needed even
// raised as far as the hard limit lets it. The line names the ulimit option.
bool enough(int resource, rlim_t needed, const char *shortOf, rlim_t unit) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= needed) return true;
    const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
    if (wanted > limit.rlim_cur) {
        limit.rlim_cur = wanted;
        setrlimit(resource, &limit);
    }
    if (limit.rlim_cur >= needed) return true;
    say(shortOf, QString::number(limit.rlim_cur / unit), QString::number(needed / unit));
    return false;
}

} // namespace

void guardProcess() {
    openStandardDescriptors();
    if (!enough(RLIMIT_NOFILE, kNeededDescriptors,
                QT_TRANSLATE_NOOP("ProcessGuard", "too few open files allowed (ulimit -n %1); it needs %2"), 1) ||
        !enough(RLIMIT_AS, kNeededAddressSpace,
                QT_TRANSLATE_NOOP("ProcessGuard", "too little address space allowed (ulimit -v %1); it needs %2"), 1024))
        std::exit(1);
    std::signal(SIGPIPE, SIG_IGN);
    // A file size limit fails the settings write, which keeps the old file.
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(startUpMessages);
}

} // namespace zt
