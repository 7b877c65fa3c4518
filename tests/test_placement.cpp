// Where the window stands: centred, its title bar always on the screen, and
// set again when it comes back from minimised.
#include "shell/Placement.h"
#include "testsupport.h"

#include <QScreen>
#include <random>

using namespace zt;
using namespace zt::test;

class TestPlacement : public QObject {
    Q_OBJECT
private slots:
    void centredOn_data();
    void centredOn();
    void titleBarNeverLeavesTheArea();
    void windowCentredAndKeptOnScreen();
    void minimisedLeftAloneThenRestored();
};

void TestPlacement::centredOn_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("full HD, panel at the bottom") << QRect(0, 0, 1920, 1040) << QSize(800, 600) << QPoint(560, 220);
    QTest::newRow("panel on the left") << QRect(64, 0, 1856, 1080) << QSize(800, 600) << QPoint(592, 240);
    QTest::newRow("second screen") << QRect(1920, 0, 1280, 1024) << QSize(800, 600) << QPoint(2160, 212);
    QTest::newRow("exactly the area") << QRect(0, 30, 800, 600) << QSize(800, 600) << QPoint(0, 30);
    // 2x scaling on a 1080-line screen: 540 logical lines for a 600-line window.
    QTest::newRow("taller than the area") << QRect(0, 27, 960, 513) << QSize(800, 600) << QPoint(80, 27);
    QTest::newRow("larger every way") << QRect(10, 20, 640, 480) << QSize(800, 600) << QPoint(10, 20);
}

void TestPlacement::centredOn() {
    QFETCH(QRect, available);
    QFETCH(QSize, outer);
    QFETCH(QPoint, at);
    QCOMPARE(zt::centredOn(available, outer), at);
}

void TestPlacement::titleBarNeverLeavesTheArea() {
    std::mt19937 rnd(7);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd); };
    for (int n = 0; n < 2000; ++n) {
        const QRect area(in(-3000, 3000), in(-3000, 3000), in(200, 4000), in(200, 3000));
        const QSize outer(in(100, 5000), in(100, 4000));
        const QPoint p = zt::centredOn(area, outer);
        const QByteArray where = QByteArray::number(n);
        QVERIFY2(p.x() >= area.x() && p.y() >= area.y(), where);
        // What fits is centred to the unit; what does not starts at the corner.
        if (outer.width() <= area.width())
            QVERIFY2(qAbs((p.x() - area.x()) - (area.right() - (p.x() + outer.width() - 1))) <= 1, where);
        else
            QVERIFY2(p.x() == area.x(), where);
        if (outer.height() <= area.height())
            QVERIFY2(qAbs((p.y() - area.y()) - (area.bottom() - (p.y() + outer.height() - 1))) <= 1, where);
        else
            QVERIFY2(p.y() == area.y(), where);
    }
}

void TestPlacement::windowCentredAndKeptOnScreen() {
    Harness h;
    MainWindow &w = *h.window;
    const QRect area = w.screen()->availableGeometry();
    for (QSize size : {QSize(400, 300), area.size() / 2, area.size() + QSize(200, 150), QSize(333, 999)}) {
        w.resize(size);
        QCoreApplication::processEvents();
        const QSize outer = w.frameGeometry().size();
        const QPoint at = w.frameGeometry().topLeft();
        QVERIFY(at.x() >= area.x() && at.y() >= area.y());
        if (outer.width() <= area.width()) QVERIFY(qAbs(at.x() - (area.x() + (area.width() - outer.width()) / 2)) <= 1);
        if (outer.height() <= area.height()) QVERIFY(qAbs(at.y() - (area.y() + (area.height() - outer.height()) / 2)) <= 1);
    }
}

void TestPlacement::minimisedLeftAloneThenRestored() {
    Harness h;
    MainWindow &w = *h.window;
    GameView *v = w.view();
    w.resize(400, 300);
    QCoreApplication::processEvents();
    const QTransform grid = v->transform();
    const QPoint centred = w.pos();

    w.showMinimized();
    QVERIFY(runUntil([&] { return w.isMinimized(); }));
    // Moved and unscaled while minimised: the resize operation leaves both.
    w.move(centred + QPoint(37, 23));
    v->setTransform(QTransform());
    w.Form_Resize();
    QCOMPARE(w.pos(), centred + QPoint(37, 23));
    QCOMPARE(v->transform(), QTransform());

    // Restored, the grid is applied again and the window centred again.
    w.showNormal();
    QVERIFY(runUntil([&] { return !w.isMinimized(); }));
    QCoreApplication::processEvents();
    QCOMPARE(v->transform(), grid);
    QCOMPARE(v->mapFromScene(QPointF(800, 600)), QPoint(v->viewport()->width(), v->viewport()->height()));
    QTRY_COMPARE(w.pos(), centred);
}

QTEST_MAIN(TestPlacement)
#include "test_placement.moc"
