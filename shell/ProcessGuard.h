#pragma once
// What the process must be sure of before anything else runs, whatever state
// it was started in.

#include <QString>

namespace zt {

// Standard input, output and error open (on /dev/null where they were
// closed), so no file or connection opened later takes their numbers and
// receives what is written to them; output that nobody reads or a file size
// limit no longer ends the program; and a platform that cannot start (no
// display, a dead one), too few descriptors or too little address space end
// it with one line and status 1 instead of an abort or a hang.
void guardProcess();

// Says what Qt said while it started, held back until then: called once the
// application object is built.
void startUpDone();

// One line on stderr, "zentolletto: " and the text in the user's language
// (marked in the ProcessGuard context), with %1 and %2 filled in.
void sayLine(const char *text, const QString &a = {}, const QString &b = {});

// The display (an X server, or the Wayland compositor) went away: says so in
// one line and ends the program at once with status 1.
[[noreturn]] void displayLost(bool wayland);

} // namespace zt
