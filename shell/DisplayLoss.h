#pragma once
// The display going away (the X server ended, the session closed) ends the
// program with one line on stderr, whichever part of Qt notices first.

namespace zt {

// Call once the application object exists; does nothing off X11.
void oneLineWhenDisplayGoes();

} // namespace zt
