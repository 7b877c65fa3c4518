#pragma once
// Keeps the window's outer size (frame and title bar included) at 800 x 600.
#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QSize>
#include <vector>

class QWidget;

namespace zt {

// Window managers tell the frame's size only after the window shows, and may
// tell it again later (a new theme, a window manager started afterwards).
// Each time the frame turns out different, the client area is fitted so the
// whole window is 800 x 600 again, until the user resizes it: from then on
// the size is theirs.
// On Wayland the size is only asked for, the compositor may still choose
// another, and a screen too small for the window gets it maximised.
class OuterSize : public QObject, public QAbstractNativeEventFilter {
public:
    explicit OuterSize(QWidget &window);
    ~OuterSize() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A window manager that starts late frames the window without moving or
    // resizing it: only a property of the window tells.
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;

private:
    void queueFit();
    void fit();
    QWidget &w_;
    std::vector<QSize> asked_; // every client size set here
    bool usersSize_ = false;
    bool fitQueued_ = false;
};

} // namespace zt
