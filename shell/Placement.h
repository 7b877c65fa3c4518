#pragma once
// Where the window goes on its screen.
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zt {

// The window with the frame its window manager drew, as last reported. The
// widget's own frame geometry is refreshed only after a move, so a frame
// drawn late shows here first.
QSize outerSize(const QWidget &window);
// Puts the frame's top-left corner there; nothing on Wayland, where only the
// compositor places windows.
void placeFrame(QWidget &window, const QPoint &at);

// Centred in the available area (the screen without panels and docks), but
// never with the title bar outside it: a window larger than the area goes to
// its top-left corner, where the title bar can still be grabbed.
QPoint centredOn(const QRect &available, const QSize &outer);

} // namespace zt
