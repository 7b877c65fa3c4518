// The picture cache: sizes rendered on the side match those rendered at once,
// a picture keeps showing at its last size until the new one arrives and then
// gives the old one back, and a
// resize of the window has every picture rendered at the new size.
#include "media/Items.h"
#include "media/PictureCache.h"
#include "testsupport.h"

#include <QDirIterator>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>

using namespace zt;
using namespace zt::test;

namespace {
const QString kDeck = QStringLiteral(":/pictures/deck.svg");
}

class TestPictures : public QObject {
    Q_OBJECT
private slots:
    void sideRenderingMatchesDirect();
    void standInUntilTheNewSizeArrives();
    void resizeRendersEveryPictureOnTheSide();
    void paintedAtTheDevicesPixels();
    void captionsNeedNoFont();
};

void TestPictures::sideRenderingMatchesDirect() {
    PictureCache side, direct;
    QSignalSpy done(&side, &PictureCache::rendered);
    const QSize size(93, 150);
    for (const QString element : {QStringLiteral("card7"), QStringLiteral("card33"), QStringLiteral("back")})
        side.prefetch(kDeck, element, size);
    QVERIFY(!side.has(kDeck, QStringLiteral("card7"), size)); // arrives through the event loop, not at once
    QVERIFY(runUntil([&] { return done.count() > 0; }));
    for (const QString element : {QStringLiteral("card7"), QStringLiteral("card33"), QStringLiteral("back")}) {
        QVERIFY2(side.has(kDeck, element, size), qPrintable(element));
        const QImage a = side.pixmap(kDeck, element, size).toImage();
        const QImage b = direct.pixmap(kDeck, element, size).toImage();
        QCOMPARE(a.size(), size);
        QVERIFY2(a == b, qPrintable(element + " differs from the one rendered at once"));
    }
    // Different faces are different pictures.
    QVERIFY(side.pixmap(kDeck, QStringLiteral("card7"), size).toImage() !=
            side.pixmap(kDeck, QStringLiteral("card33"), size).toImage());
}

void TestPictures::standInUntilTheNewSizeArrives() {
    PictureCache cache;
    const QString card = QStringLiteral("card12");
    const QSize small(62, 100), large(124, 200);
    // The first showing is rendered at once: there is nothing else to show.
    QCOMPARE(cache.pixmapToPaint(kDeck, card, small).size(), small);
    // A new size shows the old one, scaled by the painter, until it arrives.
    QCOMPARE(cache.pixmapToPaint(kDeck, card, large).size(), small);
    QVERIFY(!cache.has(kDeck, card, large));
    QVERIFY(runUntil([&] { return cache.has(kDeck, card, large); }));
    QCOMPARE(cache.pixmapToPaint(kDeck, card, large).size(), large);
    // The size it passed through is given back once the new one is in; back
    // at it, the newest stands in until it is rendered again.
    QVERIFY(!cache.has(kDeck, card, small));
    QCOMPARE(cache.pixmapToPaint(kDeck, card, small).size(), large);
    QVERIFY(runUntil([&] { return cache.has(kDeck, card, small); }));
    QVERIFY(!cache.has(kDeck, card, large));
    // Another picture never stands in for this one.
    QCOMPARE(cache.pixmapToPaint(kDeck, QStringLiteral("card13"), large).size(), large);
}

void TestPictures::resizeRendersEveryPictureOnTheSide() {
    Harness h(3);
    MainWindow &w = *h.window;
    Elements &e = h.e();
    w.resize(w.size() * 2);
    QVERIFY(runUntil([&] { return w.view()->transform().m11() > 1.5; }));
    const QTransform t = w.view()->transform();
    const qreal dpr = w.view()->viewport()->devicePixelRatioF();
    auto allThere = [&] {
        for (int k = 1; k <= 40; ++k)
            if (!e.cache->has(kDeck, QStringLiteral("card%1").arg(k), e.carta[k]->pixelSize(t, dpr))) return false;
        return e.cache->has(kDeck, QStringLiteral("back"), e.Mazzo->pixelSize(t, dpr));
    };
    QVERIFY2(runUntil(allThere), "the cards at the new size were never rendered");
    QVERIFY(e.carta[1]->pixelSize(t, dpr).width() >= 2 * 62 - 2);
}

// A picture is rendered at the pixels it covers on a high-density device,
// the size prefetching asks for, not at the device pixel ratio once more.
void TestPictures::paintedAtTheDevicesPixels() {
    PictureCache cache;
    const QString face = QStringLiteral("card5");
    PictureItem card(&cache, nullptr, kDeck, face);
    card.move(0, 0, 62, 100);
    QImage device(QSize(124, 200), QImage::Format_ARGB32_Premultiplied);
    device.setDevicePixelRatio(2);
    QPainter painter(&device);
    card.paint(&painter, nullptr, nullptr);
    painter.end();
    QCOMPARE(card.pixelSize(QTransform(), 2), QSize(124, 200));
    QVERIFY(cache.has(kDeck, face, QSize(124, 200)));
    QVERIFY(!cache.has(kDeck, face, QSize(248, 400)));
}

// Lettering in a picture is drawn as outlines: it looks as drawn whatever
// fonts the player has installed, and loads no font face for the first frame.
void TestPictures::captionsNeedNoFont() {
    QDirIterator it(QStringLiteral(":/pictures"), {QStringLiteral("*.svg")});
    int pictures = 0;
    while (it.hasNext()) {
        QFile f(it.next());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(!f.readAll().contains("<text"), qPrintable(f.fileName()));
        ++pictures;
    }
    QVERIFY(pictures >= 5);
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
