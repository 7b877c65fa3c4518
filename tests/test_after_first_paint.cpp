// Work held back until the window has painted once: it waits for that paint,
// runs once, from the event loop rather than inside the paint, and never
// after its widget is gone.
#include "shell/AfterFirstPaint.h"

#include <QPaintEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>

using namespace zt;

class TestAfterFirstPaint : public QObject {
    Q_OBJECT
private slots:
    void waitsForThePaintAndRunsOnce();
    void nothingRunsForAWidgetGoneUnpainted();
};

void TestAfterFirstPaint::waitsForThePaintAndRunsOnce() {
    QWidget w;
    int runs = 0;
    afterFirstPaint(&w, [&runs] { ++runs; });
    QCoreApplication::processEvents();
    QCOMPARE(runs, 0);
    QPaintEvent paint(QRect(0, 0, 10, 10));
    QCoreApplication::sendEvent(&w, &paint);
    QCOMPARE(runs, 0); // not inside the paint itself
    QCoreApplication::processEvents();
    QCOMPARE(runs, 1);
    QCoreApplication::sendEvent(&w, &paint);
    QCoreApplication::processEvents();
    QCOMPARE(runs, 1);
}

void TestAfterFirstPaint::nothingRunsForAWidgetGoneUnpainted() {
    int runs = 0;
    {
        auto *w = new QWidget;
        afterFirstPaint(w, [&runs] { ++runs; });
        delete w;
    }
    QCoreApplication::processEvents();
    QCOMPARE(runs, 0);
    // Painted, then gone before the event loop comes round.
    auto *w = new QWidget;
    afterFirstPaint(w, [&runs] { ++runs; });
    QPaintEvent paint(QRect(0, 0, 10, 10));
    QCoreApplication::sendEvent(w, &paint);
    delete w;
    QCoreApplication::processEvents();
    QCOMPARE(runs, 0);
}

QTEST_MAIN(TestAfterFirstPaint)
#include "test_after_first_paint.moc"
