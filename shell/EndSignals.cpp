#include "shell/EndSignals.h"

#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zt {

namespace {

// The one thing a signal handler may touch: the socket's writing end.
int wakeFd = -1;

void onSignal(int sig) {
    const int saved = errno;
    const char byte = static_cast<char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(wakeFd, &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int)) {
    struct sigaction sa = {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(sig, &sa, nullptr);
}

} // namespace

void closeOnEndSignals(QWidget &window) {
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) return;
    wakeFd = fds[0];
    auto *notifier = new QSocketNotifier(fds[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, fd = fds[1]] {
        char bytes[16];
        while (::read(fd, bytes, sizeof bytes) > 0) {
        }
        window.close();
    });
    setHandler(onSignal);
    // Once the window is gone, the signals end the process as they normally do.
    QObject::connect(notifier, &QObject::destroyed, [fds0 = fds[0], fds1 = fds[1]] {
        setHandler(SIG_DFL);
        wakeFd = -1;
        ::close(fds0);
        ::close(fds1);
    });
}

} // namespace zt
