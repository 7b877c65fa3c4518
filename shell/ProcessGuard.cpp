#include "shell/ProcessGuard.h"

#include "shell/DisplayLoss.h"
#include "shell/Translations.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTranslator>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zt {

namespace {

QString waylandName() {
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    return name.isEmpty() ? QStringLiteral("wayland-0") : name;
}

} // namespace

// These lines are said before the window's catalogue is installed, or while
// Qt builds the application object, so the catalogue is read for each one.
void sayLine(const char *text, const QString &a, const QString &b) {
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

// Nothing can be drawn or asked of the display any more, so the program ends
// at once: the settings file is only ever replaced whole, and the sound
// device goes with the process. The picture and sound threads may still be
// at work, and tearing down the libraries' static state under them can crash.
void displayLost(bool wayland) {
    // Two of Qt's threads can find the loss at once; the first says it and
    // ends the process, the other waits for that.
    static std::atomic_flag said = ATOMIC_FLAG_INIT;
    if (said.test_and_set())
        for (;;) pause();
    if (wayland) {
        sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "lost the connection to the Wayland compositor %1"), waylandName());
    } else {
        const char *display = std::getenv("DISPLAY");
        sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "lost the connection to the display %1"),
                QString::fromLocal8Bit(display ? display : ""));
    }
    _exit(1);
}

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

// Which display Qt tried first while it starts: the one a failure names.
enum class Tried { Nothing, X11, Wayland };
std::atomic<Tried> firstTried{Tried::Nothing};

void noteTried(Tried which) {
    Tried nothing = Tried::Nothing;
    firstTried.compare_exchange_strong(nothing, which);
}

// When Qt said nothing of the display it tried (it failed before asking, or
// found no plugin), the window system asked for decides.
Tried asked(QString &name) {
    name = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    if (name.isEmpty())
        name = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ? QStringLiteral("wayland")
                                                                                    : QStringLiteral("xcb");
    if (name == QLatin1String("xcb")) return Tried::X11;
    if (name.startsWith(QLatin1String("wayland"))) return Tried::Wayland;
    return Tried::Nothing;
}

[[noreturn]] void cannotStart() {
    const char *display = std::getenv("DISPLAY");
    QString name;
    Tried which = firstTried.load();
    if (which == Tried::Nothing) which = asked(name);
    switch (which) {
    case Tried::Wayland:
        sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "cannot connect to the Wayland compositor %1"), waylandName());
        break;
    case Tried::X11:
        if (display && *display)
            sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "cannot open the display %1"), QString::fromLocal8Bit(display));
        else
            sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "no display to show the window on (DISPLAY is not set)"));
        break;
    case Tried::Nothing:
        sayLine(QT_TRANSLATE_NOOP("ProcessGuard", "cannot start the window system %1"), name);
        break;
    }
    _exit(1);
}

// Qt's words when a display it had goes away; it would add its own line, and
// Xlib two more, and then end through the exit handlers.
bool endsTheDisplay(const QString &message) {
    if (message.startsWith(QLatin1String("The X11 connection broke"))) displayLost(false);
    if (message.startsWith(QLatin1String("The Wayland connection"))) displayLost(true);
    return false;
}

// While the application object is being built, the only fatal message is the
// platform plugin's (no display, or one that does not answer); the plugin's
// own warnings before it say the same in several lines. A display lost at any
// time ends the program with one line of its own.
// What Qt says while it starts is held back until it has: a display that
// fails then makes the plugin warn of what it could not read from it before
// the failure itself, and the program's one line says it all.
std::mutex heldBackLock;
QStringList heldBack;

void programMessages(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    const char *category = context.category ? context.category : "";
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg) endsTheDisplay(message);
    const QString line = qFormatLogMessage(type, context, message);
    if (QCoreApplication::startingUp()) {
        if (qstrncmp(category, "qt.qpa.xcb", 10) == 0) noteTried(Tried::X11);
        if (qstrncmp(category, "qt.qpa.wayland", 14) == 0 || message.contains(QLatin1String("wl_display")))
            noteTried(Tried::Wayland);
        if (type == QtFatalMsg) cannotStart();
        if (qstrncmp(category, "qt.qpa.", 7) == 0 || message.contains(QLatin1String("wl_display"))) return;
        const std::lock_guard<std::mutex> hold(heldBackLock);
        if (!line.isEmpty()) heldBack << line;
        return;
    }
    startUpDone();
    if (!line.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace

void startUpDone() {
    const std::lock_guard<std::mutex> hold(heldBackLock);
    for (const QString &line : std::as_const(heldBack)) std::fprintf(stderr, "%s\n", qPrintable(line));
    heldBack.clear();
}

namespace {

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
    sayLine(shortOf, QString::number(limit.rlim_cur / unit), QString::number(needed / unit));
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
    qInstallMessageHandler(programMessages);
    watchDisplayFromStart();
}

} // namespace zt
