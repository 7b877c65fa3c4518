#include "shell/KeysToScreenReader.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDateTime>
#include <QKeyEvent>
#include <QTimer>

namespace zt {

namespace {

// The names the screen reader knows the keys by where they print nothing.
QString keyName(const QKeyEvent &key) {
    const bool pad = key.modifiers() & Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Tab: return QStringLiteral("Tab");
    case Qt::Key_Backtab: return QStringLiteral("Backtab");
    case Qt::Key_Control: return QStringLiteral("Control_L");
    case Qt::Key_Left: return pad ? QStringLiteral("KP_Left") : QStringLiteral("Left");
    case Qt::Key_Right: return pad ? QStringLiteral("KP_Right") : QStringLiteral("Right");
    case Qt::Key_Up: return pad ? QStringLiteral("KP_Up") : QStringLiteral("Up");
    case Qt::Key_Down: return pad ? QStringLiteral("KP_Down") : QStringLiteral("Down");
    case Qt::Key_Enter:
    case Qt::Key_Return: return QStringLiteral("Return");
    case Qt::Key_Backspace: return QStringLiteral("BackSpace");
    case Qt::Key_Delete: return QStringLiteral("Delete");
    case Qt::Key_PageUp: return pad ? QStringLiteral("KP_Page_Up") : QStringLiteral("Page_Up");
    case Qt::Key_PageDown: return pad ? QStringLiteral("KP_Page_Down") : QStringLiteral("Page_Down");
    case Qt::Key_Home: return pad ? QStringLiteral("KP_Home") : QStringLiteral("Home");
    case Qt::Key_End: return pad ? QStringLiteral("KP_End") : QStringLiteral("End");
    case Qt::Key_Escape: return QStringLiteral("Escape");
    case Qt::Key_Space: return QStringLiteral("space");
    case Qt::Key_CapsLock: return QStringLiteral("Caps_Lock");
    case Qt::Key_NumLock: return QStringLiteral("Num_Lock");
    case Qt::Key_Insert: return QStringLiteral("Insert");
    default: return key.text();
    }
}

// AT-SPI's modifier bits; a modifier key's own press does not carry its bit.
int modifierBits(const QKeyEvent &key) {
    const Qt::KeyboardModifiers held = key.modifiers();
    int bits = 0;
    if (held & Qt::ShiftModifier && key.key() != Qt::Key_Shift) bits |= 1 << 0;
    if (key.nativeModifiers() & 0x2) bits |= 1 << 1;  // the X lock mask: Caps Lock on
    if (held & Qt::ControlModifier && key.key() != Qt::Key_Control) bits |= 1 << 2;
    if (held & Qt::AltModifier && key.key() != Qt::Key_Alt) bits |= 1 << 3;
    if (held & Qt::MetaModifier && key.key() != Qt::Key_Meta) bits |= 1 << 4;
    return bits;
}

} // namespace

KeysToScreenReader::KeysToScreenReader(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), bus_(bus) {
    putFirst();
}

KeysToScreenReader::~KeysToScreenReader() {
    for (Held &held : held_) release(held);
}

void KeysToScreenReader::putFirst() {
    // After Qt's hand-over has put itself first for the same news.
    QTimer::singleShot(0, this, [this] { QCoreApplication::instance()->installEventFilter(this); });
}

bool KeysToScreenReader::eventFilter(QObject *target, QEvent *event) {
    // The keys given back to the program are not the window system's.
    if (!event->spontaneous() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const auto &key = static_cast<const QKeyEvent &>(*event);
    const QString name = keyName(key);
    QDBusArgument device;
    device.beginStructure();
    device << uint(event->type() == QEvent::KeyPress ? 0 : 1) << int(key.nativeVirtualKey())
           << int(key.nativeScanCode()) << modifierBits(key) << int(QDateTime::currentMSecsSinceEpoch()) << name
           << !name.isEmpty();
    device.endStructure();
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry/deviceeventcontroller"),
        QStringLiteral("org.a11y.atspi.DeviceEventController"), QStringLiteral("NotifyListenersSync"));
    ask << QVariant::fromValue(device);
    // The reader answers at once or not at all; a key must not wait longer.
    if (!bus_.callWithCallback(ask, this, SLOT(answered(QDBusMessage)), SLOT(failed(QDBusError,QDBusMessage)), 100))
        return false;
    held_.push_back({target, std::make_unique<QKeyEvent>(key.type(), key.key(), key.modifiers(), key.nativeScanCode(),
                                                         key.nativeVirtualKey(), key.nativeModifiers(), key.text(),
                                                         key.isAutoRepeat(), key.count())});
    return true;
}

void KeysToScreenReader::answered(const QDBusMessage &reply) {
    if (held_.empty()) return;
    Held held = std::move(held_.front());
    held_.pop_front();
    const bool kept = !reply.arguments().isEmpty() && reply.arguments().constFirst().toBool();
    if (!kept) release(held);
}

void KeysToScreenReader::failed(const QDBusError &, const QDBusMessage &) {
    // Keys keep their order: everything held goes on.
    while (!held_.empty()) {
        release(held_.front());
        held_.pop_front();
    }
}

void KeysToScreenReader::release(Held &held) {
    if (held.target) QCoreApplication::postEvent(held.target, held.key.release());
}

} // namespace zt
