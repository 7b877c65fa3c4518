#include "shell/OuterSize.h"

#include "shell/Placement.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zt {

namespace {
const QSize kOuter(800, 600);
constexpr Qt::WindowStates kSizedByManager = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
// Room for a title bar a Wayland compositor draws: no protocol tells its height.
constexpr int kServerTitleBar = 48;
}

OuterSize::OuterSize(QWidget &window) : QObject(&window), w_(window) {
    asked_.push_back(kOuter);
    w_.resize(kOuter); // until the frame is known
    // A Wayland compositor places the window itself, and may centre one larger
    // than the screen with its title bar above the top; maximised, it fits.
    const QScreen *screen = w_.screen();
    if (screen && QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        const QSize room = screen->availableSize();
        if (room.width() < kOuter.width() || room.height() < kOuter.height() + kServerTitleBar)
            w_.setWindowState(w_.windowState() | Qt::WindowMaximized);
    }
    w_.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

OuterSize::~OuterSize() { QCoreApplication::instance()->removeNativeEventFilter(this); }

bool OuterSize::nativeEventFilter(const QByteArray &type, void *message, qintptr *) {
    if (type != "xcb_generic_event_t" || !w_.internalWinId()) return false;
    // The X11 protocol's PropertyNotify is event 28; its window is the
    // 32-bit word at byte 4.
    const auto *bytes = static_cast<const unsigned char *>(message);
    std::uint32_t window = 0;
    std::memcpy(&window, bytes + 4, sizeof window);
    if ((bytes[0] & 0x7f) == 28 && window == w_.internalWinId()) queueFit();
    return false;
}

void OuterSize::queueFit() {
    if (fitQueued_ || usersSize_) return;
    fitQueued_ = true;
    QMetaObject::invokeMethod(this, &OuterSize::fit, Qt::QueuedConnection);
}

bool OuterSize::eventFilter(QObject *watched, QEvent *event) {
    if (watched != &w_) return false;
    switch (event->type()) {
    case QEvent::Resize: {
        const QSize now = static_cast<QResizeEvent *>(event)->size();
        // Not a size asked for here, and not a state the window manager
        // sizes itself: the user's own resize.
        const bool ours = std::find(asked_.begin(), asked_.end(), now) != asked_.end();
        if (!ours && !(w_.windowState() & kSizedByManager)) usersSize_ = true;
        [[fallthrough]];
    }
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::WindowStateChange:
    case QEvent::WindowActivate:
        // The frame may arrive with these; resize after the event, not inside it.
        queueFit();
        break;
    default:
        break;
    }
    return false;
}

void OuterSize::fit() {
    fitQueued_ = false;
    if (usersSize_ || !w_.isVisible() || (w_.windowState() & kSizedByManager)) return;
    const QSize client = kOuter - (outerSize(w_) - w_.size());
    if (w_.size() == client) return;
    if (std::find(asked_.begin(), asked_.end(), client) == asked_.end()) asked_.push_back(client);
    w_.resize(client);
}

} // namespace zt
