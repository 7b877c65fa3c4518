#include "shell/DisplayLoss.h"

#include <QApplication>
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace zt {

namespace {

std::atomic<bool> loopEnded{false};

// Qt's own event reader says the same when it is the first to notice; left
// to Xlib, the platform plugin's handler and Xlib's default each add a line.
// Nothing can be drawn or asked of the server any more, so end at once: the
// settings file is only ever replaced whole, and the sound device goes with
// the process.
int displayGone(Display *) {
    std::fprintf(stderr, "%s\n",
                 qPrintable(QCoreApplication::translate("DisplayLoss",
                                                        "The X11 connection broke (error 1). Did the X11 server die?")));
    std::fflush(stderr);
    _exit(1);
}

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
