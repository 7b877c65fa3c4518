#include "shell/AccessibilityRejoin.h"

#include "shell/KeysToScreenReader.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVirtualObject>
#include <QEvent>
#include <QLoggingCategory>
#include <QTimer>

namespace zt {

namespace {

Q_LOGGING_CATEGORY(lcRejoin, "zt.accessibility.rejoin")

// The names the desktop's accessibility service and Qt's bridge use.
const QString busService = QStringLiteral("org.a11y.Bus");
const QString connectionName = QStringLiteral("a11y");
const QString controllerPath = QStringLiteral("/org/a11y/atspi/dec");
const QString cachePath = QStringLiteral("/org/a11y/atspi/cache");
const QString accessiblePath = QStringLiteral("/org/a11y/atspi/accessible");
const QString rootPath = QStringLiteral("/org/a11y/atspi/accessible/root");
const QString registry = QStringLiteral("org.a11y.atspi.Registry");

QObject *childOfClass(QObject *parent, const char *className) {
    for (QObject *child : parent->children())
        if (qstrcmp(child->metaObject()->className(), className) == 0) return child;
    return nullptr;
}

} // namespace

AccessibilityRejoin::AccessibilityRejoin(QObject *parent)
    : QObject(parent),
      watcher_(busService, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &oldOwner, const QString &newOwner) {
                ownerChanged(oldOwner, newOwner);
            });
    // Without a session bus there is no accessibility bus to lose.
    if (!QDBusConnection::sessionBus().isConnected()) return;
    // Neither part of the bridge can be asked for: each is told apart, by its
    // class, when a child is made for it (the bridge's when it first joins a
    // bus, its connection keeper's each time the bus appears), among the
    // events of the whole program until both are known.
    QCoreApplication::instance()->installEventFilter(this);
}

void AccessibilityRejoin::ownerChanged(const QString &oldOwner, const QString &newOwner) {
    // A bridge that never joined has nothing to lose: Qt itself joins the
    // first bus that comes.
    if (!oldOwner.isEmpty() && bridge_) {
        gone_ = true;
        back_ = false;
    }
    if (!newOwner.isEmpty() && gone_) {
        back_ = true;
        rejoinWhenReady();
    }
}

bool AccessibilityRejoin::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::ChildAdded) return false;
    const char *className = watched->metaObject()->className();
    if (!bridge_ && qstrcmp(className, "QSpiAccessibleBridge") == 0) {
        bridge_ = watched;
    } else if (!link_ && qstrcmp(className, "DBusConnection") == 0 &&
               watched->metaObject()->indexOfSlot("connectA11yBus(QString)") >= 0) {
        link_ = watched;
        // Not while it is making the child.
        QTimer::singleShot(0, this, &AccessibilityRejoin::rejoinWhenReady);
    }
    if (bridge_ && link_) QCoreApplication::instance()->removeEventFilter(this);
    return false;
}

void AccessibilityRejoin::rejoinWhenReady() {
    if (!gone_ || !back_ || !link_ || !bridge_ || asking_) return;
    asking_ = true;
    const QDBusMessage ask = QDBusMessage::createMethodCall(busService, QStringLiteral("/org/a11y/bus"),
                                                            busService, QStringLiteral("GetAddress"));
    auto *call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ask), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this, call] {
        call->deleteLater();
        asking_ = false;
        const QDBusPendingReply<QString> address = *call;
        if (address.isError()) {
            qCWarning(lcRejoin) << "the accessibility bus has no address:" << address.error().message();
            return;
        }
        rejoin(address.value());
    });
}

void AccessibilityRejoin::rejoin(const QString &address) {
    gone_ = back_ = false;
    QObject *cache = childOfClass(bridge_, "QSpiDBusCache");
    auto *adaptor = qobject_cast<QDBusVirtualObject *>(childOfClass(bridge_, "AtSpiAdaptor"));
    if (!cache || !adaptor) {
        qCWarning(lcRejoin) << "Qt's accessibility bridge is not built as expected; it stays off the new bus";
        return;
    }
    // The old connection keeps its name until it is let go, and the keeper
    // would be handed the dead one again.
    QDBusConnection::disconnectFromBus(connectionName);
    if (!QMetaObject::invokeMethod(link_, "connectA11yBus", Qt::DirectConnection, Q_ARG(QString, address)))
        return;
    QDBusConnection bus(connectionName);
    if (!bus.isConnected()) {
        qCWarning(lcRejoin) << "the new accessibility bus refused the connection";
        return;
    }
    // What Qt registers when it first joins a bus.
    bus.registerObject(controllerPath, bridge_, QDBusConnection::ExportAdaptors);
    bus.registerObject(cachePath, cache, QDBusConnection::ExportAdaptors);
    bus.registerVirtualObject(accessiblePath, adaptor, QDBusConnection::SubPath);
    // A screen reader that starts listening for events later says so here.
    const QString registryPath = QStringLiteral("/org/a11y/atspi/registry");
    bus.connect(registry, registryPath, registry, QStringLiteral("EventListenerRegistered"), adaptor,
                SLOT(eventListenerRegistered(QString,QString)));
    bus.connect(registry, registryPath, registry, QStringLiteral("EventListenerDeregistered"), adaptor,
                SLOT(eventListenerDeregistered(QString,QString)));
    delete keys_;
    keys_ = new KeysToScreenReader(bus, this);
    for (const char *name : {"EventListenerRegistered", "EventListenerDeregistered"})
        bus.connect(registry, registryPath, registry, QLatin1String(name), keys_, SLOT(putFirst()));
    // The registry lists the program among the desktop's applications.
    QDBusMessage embed = QDBusMessage::createMethodCall(registry, rootPath, QStringLiteral("org.a11y.atspi.Socket"),
                                                        QStringLiteral("Embed"));
    QDBusArgument root;
    root.beginStructure();
    root << bus.baseService() << QDBusObjectPath(rootPath);
    root.endStructure();
    embed << QVariant::fromValue(root);
    auto *call = new QDBusPendingCallWatcher(bus.asyncCall(embed), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [call] {
        call->deleteLater();
        if (call->isError()) qCWarning(lcRejoin) << "the registry refused the program:" << call->error().message();
    });
}

} // namespace zt
