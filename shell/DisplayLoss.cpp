#include "shell/DisplayLoss.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <unistd.h>

namespace zt {

namespace {

// Qt's own event reader says the same when it is the first to notice; left
// to Xlib, the platform plugin's handler and Xlib's default each add a line.
// Nothing can be drawn or asked of the server any more, so end at once: the
// settings file is only ever replaced whole, and the sound device goes with
// the process.
int displayGone(Display *) {
    std::fputs("The X11 connection broke (error 1). Did the X11 server die?\n", stderr);
    std::fflush(stderr);
    _exit(1);
}

} // namespace

void oneLineWhenDisplayGoes() {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && x11->display()) XSetIOErrorHandler(displayGone);
}

} // namespace zt
