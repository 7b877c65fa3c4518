#pragma once
// A screen reader sees the keys pressed in a program only when the program
// hands each one over first: it echoes them and keeps its own commands. Qt's
// bridge does that over a copy of the connection to the bus it first joined,
// which it keeps to itself; once the program rejoins a restarted bus, this
// hands the keys over on the new bus in its place, the same way: each key
// waits for the reader's word and goes on to the program unless the reader
// kept it.
#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

class QDBusError;
class QDBusMessage;
class QKeyEvent;

namespace zt {

class KeysToScreenReader : public QObject {
    Q_OBJECT
public:
    KeysToScreenReader(const QDBusConnection &bus, QObject *parent);
    ~KeysToScreenReader() override;

public Q_SLOTS:
    // Ahead of Qt's own hand-over, which puts itself first again whenever
    // a screen reader starts or stops listening for events.
    void putFirst();

protected:
    bool eventFilter(QObject *target, QEvent *event) override;

private Q_SLOTS:
    void answered(const QDBusMessage &reply);
    void failed(const QDBusError &error, const QDBusMessage &call);

private:
    struct Held {
        QPointer<QObject> target;
        std::unique_ptr<QKeyEvent> key;
    };
    void release(Held &held);

    QDBusConnection bus_;
    std::deque<Held> held_;
};

} // namespace zt
