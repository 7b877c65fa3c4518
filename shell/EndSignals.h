#pragma once
// SIGTERM, SIGINT and SIGHUP (shutdown, Ctrl+C, a closed terminal or session)
// end the program the way a close from outside does.
class QWidget;

namespace zt {

// Closes the window when one of the signals arrives. The handler only writes
// a byte to a socket; the window's thread reads it and closes the window, so
// the game unwinds from its wait and both players close as on any close.
void closeOnEndSignals(QWidget &window);

} // namespace zt
