#include "shell/DisplayLoss.h"

#include "shell/ProcessGuard.h"

#include <QApplication>
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <atomic>
#include <cstdarg>
#include <dlfcn.h>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace zt {

namespace {

std::atomic<bool> loopEnded{false};

// Left to Xlib, its default handler adds two lines of its own and ends
// through the exit handlers; set before the display is opened, as the server
// may go while Qt is still starting.
int displayGone(Display *) { displayLost(false); }

// Qt's reader (X11's or Wayland's) ends with exit(1) from inside the loop. The picture and sound
// threads are still at work then, and tearing down the libraries' static
// state under them can crash; so an exit that does not come after the loop
// ends ends the process at once.
void exitFromInsideTheLoop() {
    if (loopEnded) return;
    std::fflush(stderr);
    _exit(1);
}

} // namespace

void watchDisplayFromStart() {
    XSetIOErrorHandler(displayGone);
    // libwayland-client says why it cannot connect on a line of its own
    // before Qt's plugin gives up; the program's line says it once. Its
    // later words (a protocol error) pass, to stderr as before.
    using Handler = void (*)(const char *, va_list);
    void *wayland = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!wayland) return;
    if (auto set = reinterpret_cast<void (*)(Handler)>(dlsym(wayland, "wl_log_set_handler_client")))
        set([](const char *format, va_list args) {
            if (!QCoreApplication::startingUp()) std::vfprintf(stderr, format, args);
        });
}

int runUntilClosedOrDisplayGone(QApplication &app) {
    auto *x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->display()) XSetIOErrorHandler(displayGone);
    // Qt's Wayland plugin ends the same way when the compositor goes. Registered
    // once start-up is done, so it runs before the exit handlers start-up set up.
    std::atexit(exitFromInsideTheLoop);
    const int status = QApplication::exec();
    loopEnded = true;
    return status;
}

} // namespace zt
