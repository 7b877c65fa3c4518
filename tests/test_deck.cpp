// Checks the deck artwork the table draws every card from.
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

namespace {

const QSize kCard(62, 100);

QStringList allIds()
{
    QStringList ids;
    for (int code = 1; code <= 40; ++code)
        ids << QStringLiteral("card%1").arg(code);
    ids << QStringLiteral("back");
    return ids;
}

QImage render(QSvgRenderer &renderer, const QString &id, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, id, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

// Pixels whose colour differs noticeably; tiny antialiasing noise is ignored.
int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d = qAbs(qRed(la[x]) - qRed(lb[x])) + qAbs(qGreen(la[x]) - qGreen(lb[x]))
                + qAbs(qBlue(la[x]) - qBlue(lb[x])) + qAbs(qAlpha(la[x]) - qAlpha(lb[x]));
            if (d > 48)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestDeck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void elementsHaveCardBounds_data();
    void elementsHaveCardBounds();
    void picturesFillTheirCard_data();
    void picturesFillTheirCard();
    void allPicturesAreDistinct();
    void backIsBlueWithLightMargin();

private:
    QSvgRenderer m_renderer;
};

void TestDeck::initTestCase()
{
    QVERIFY2(m_renderer.load(QStringLiteral(ZT_ASSETS_DIR "/pictures/deck.svg")),
             "deck.svg does not load");
    QVERIFY(m_renderer.isValid());
}

void TestDeck::elementsHaveCardBounds_data()
{
    QTest::addColumn<QString>("id");
    for (const QString &id : allIds())
        QTest::newRow(qPrintable(id)) << id;
}

void TestDeck::elementsHaveCardBounds()
{
    QFETCH(QString, id);
    QVERIFY2(m_renderer.elementExists(id), qPrintable(id + " is missing"));
    const QRectF bounds = m_renderer.boundsOnElement(id);
    // Anything poking out of the card would shrink it when drawn into a slot.
    QCOMPARE(bounds.width(), 62.0);
    QCOMPARE(bounds.height(), 100.0);
}

void TestDeck::picturesFillTheirCard_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QSize>("size");
    for (const QString &id : allIds()) {
        QTest::newRow(qPrintable(id + "@1x")) << id << kCard;
        QTest::newRow(qPrintable(id + "@4x")) << id << kCard * 4;
    }
}

void TestDeck::picturesFillTheirCard()
{
    QFETCH(QString, id);
    QFETCH(QSize, size);
    const QImage image = render(m_renderer, id, size);
    const int w = image.width(), h = image.height();

    // The card reaches every edge of the target, so it is neither shrunk nor shifted.
    for (const QPoint p : { QPoint(w / 2, 0), QPoint(w / 2, h - 1), QPoint(0, h / 2), QPoint(w - 1, h / 2) })
        QVERIFY2(qAlpha(image.pixel(p)) > 200, qPrintable(QStringLiteral("edge not covered at %1,%2")
                                                             .arg(p.x()).arg(p.y())));

    // Real artwork, not a blank card: many colours and a good share of ink.
    QSet<QRgb> colours;
    int inked = 0;
    const QRgb paper = image.pixel(w / 2, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            colours.insert(c);
            if (qAbs(qRed(c) - qRed(paper)) + qAbs(qGreen(c) - qGreen(paper)) + qAbs(qBlue(c) - qBlue(paper)) > 90)
                ++inked;
        }
    QVERIFY2(colours.size() > 20, qPrintable(QStringLiteral("only %1 colours").arg(colours.size())));
    QVERIFY2(inked > w * h / 12, qPrintable(QStringLiteral("only %1 inked pixels").arg(inked)));
}

void TestDeck::allPicturesAreDistinct()
{
    const QStringList ids = allIds();
    QList<QImage> images;
    for (const QString &id : ids)
        images << render(m_renderer, id, kCard);
    // Two cards must differ in more than a few stray pixels to tell apart on the table.
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j) {
            const int diff = differingPixels(images.at(i), images.at(j));
            QVERIFY2(diff > 60, qPrintable(QStringLiteral("%1 and %2 differ in only %3 pixels")
                                                 .arg(ids.at(i), ids.at(j)).arg(diff)));
        }
}

void TestDeck::backIsBlueWithLightMargin()
{
    const QImage image = render(m_renderer, QStringLiteral("back"), kCard * 2);
    qint64 red = 0, blue = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y)
        for (int x = image.width() / 8; x < image.width() * 7 / 8; ++x) {
            red += qRed(image.pixel(x, y));
            blue += qBlue(image.pixel(x, y));
        }
    QVERIFY2(blue > red * 3 / 2, "the back is not predominantly blue");
    const QRgb margin = image.pixel(image.width() / 2, 2);
    QVERIFY2(qRed(margin) > 230 && qGreen(margin) > 230 && qBlue(margin) > 230, "no white margin");
}

QTEST_MAIN(TestDeck)
#include "test_deck.moc"
