#pragma once
// Puts the program back on the accessibility bus when that bus restarts.
//
// Qt's AT-SPI bridge joins the bus once: when the bus goes away (the desktop's
// accessibility service restarted, crashed or was updated) it keeps its dead
// connection and never shows itself on the new bus, so the screen reader stays
// silent until the program is started again. Qt has no call for this; what we
// do instead finds the bridge's parts by their class names and reaches them
// only through their meta-objects and public D-Bus calls, so with a Qt built
// otherwise it finds nothing and does nothing.
#include <QDBusServiceWatcher>
#include <QObject>
#include <QPointer>

namespace zt {

class KeysToScreenReader;

class AccessibilityRejoin : public QObject {
public:
    explicit AccessibilityRejoin(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ownerChanged(const QString &oldOwner, const QString &newOwner);
    void rejoinWhenReady();
    void rejoin(const QString &address);

    QDBusServiceWatcher watcher_;
    QPointer<QObject> bridge_;  // Qt's bridge
    QPointer<QObject> link_;    // the bridge's own connection keeper
    bool gone_ = false;         // the bus the bridge joined has gone away
    bool back_ = false;         // and a new one is there
    bool asking_ = false;       // the new bus's address is asked for
    QPointer<KeysToScreenReader> keys_;
};

} // namespace zt
