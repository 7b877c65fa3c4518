#include "shell/AfterFirstPaint.h"

#include <QEvent>
#include <QWidget>

namespace zt {

namespace {

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget *widget, std::function<void()> work) : QObject(widget), work_(std::move(work)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the frame reaches the screen before the work starts.
            QMetaObject::invokeMethod(
                watched,
                [work = std::move(work_)] {
                    if (work) work();
                },
                Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

void afterFirstPaint(QWidget *widget, std::function<void()> work) { new FirstPaintWatch(widget, std::move(work)); }

} // namespace zt
