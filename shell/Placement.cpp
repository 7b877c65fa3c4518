#include "shell/Placement.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace zt {

QSize outerSize(const QWidget &window) {
    const QWindow *handle = window.windowHandle();
    const QMargins m = handle ? handle->frameMargins() : QMargins();
    return window.size() + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void placeFrame(QWidget &window, const QPoint &at) {
    // A Wayland client cannot place itself: the compositor does, and a move
    // would only leave the widget believing in a place it is not at.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return;
    // move() adds the frame the widget last knew of; make up for a newer one.
    const QWindow *handle = window.windowHandle();
    const QMargins m = handle ? handle->frameMargins() : QMargins();
    const QPoint known = window.geometry().topLeft() - window.frameGeometry().topLeft();
    window.move(at + QPoint(m.left(), m.top()) - known);
}

QPoint centredOn(const QRect &available, const QSize &outer) {
    const int x = available.x() + (available.width() - outer.width()) / 2;
    const int y = available.y() + (available.height() - outer.height()) / 2;
    return {std::max(x, available.x()), std::max(y, available.y())};
}

} // namespace zt
