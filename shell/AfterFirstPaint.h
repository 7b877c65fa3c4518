#pragma once
// Work the first frame does not need waits until the widget has painted once,
// so the window appears before it starts.
#include <QObject>
#include <functional>

class QWidget;

namespace zt {

// Runs `work` once, from the event loop, after `widget` first paints.
// Nothing runs if the widget goes before it ever paints.
void afterFirstPaint(QWidget *widget, std::function<void()> work);

} // namespace zt
