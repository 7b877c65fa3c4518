#pragma once
// The display going away (the X server ended, the session closed) ends the
// program with one line on stderr, whichever part of Qt notices first.
class QApplication;

namespace zt {

// Runs the application's event loop until the window closes. Call once the
// window exists; off X11 it only runs the loop.
int runUntilClosedOrDisplayGone(QApplication &app);

// Xlib's handler for a lost server and libwayland's for its messages, set
// before Qt opens the display.
void watchDisplayFromStart();

} // namespace zt
