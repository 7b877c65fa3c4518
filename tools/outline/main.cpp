// Prints an SVG <path> drawing TEXT in a font as outlines, placed the way an
// SVG <text x y text-anchor> element would place it. Pictures carry their
// captions this way: they look the same whatever fonts the player has, and
// the first frame does not wait for a font face to load.
//   zentolletto-outline FAMILY STYLE SIZE X Y ANCHOR FILL TEXT
//   e.g. zentolletto-outline "DejaVu Serif" "Bold Italic" 40 147 80 middle "#000000" Zentolletto
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainterPath>
#include <QTextStream>
#include <cstdio>

namespace {

QString number(qreal v) { return QString::number(qRound(v * 100) / 100.0, 'g', 8); }

QString pathData(const QPainterPath &path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::LineToElement:
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x), number(end.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    return d;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() != 9) {
        std::fputs("usage: zentolletto-outline FAMILY STYLE SIZE X Y start|middle|end FILL TEXT\n", stderr);
        return 2;
    }
    QFont font = QFontDatabase::font(a[1], a[2], 12);
    if (QFontInfo(font).family() != a[1] || QFontInfo(font).styleName() != a[2]) {
        std::fprintf(stderr, "zentolletto-outline: %s %s is not installed\n", qPrintable(a[1]), qPrintable(a[2]));
        return 1;
    }
    font.setPixelSize(a[3].toInt());
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, a[8]);
    // SVG anchors on the advance width, as the text element would.
    const qreal advance = QFontMetricsF(font).horizontalAdvance(a[8]);
    const qreal shift = a[6] == QLatin1String("middle") ? advance / 2 : a[6] == QLatin1String("end") ? advance : 0;
    path.translate(a[4].toDouble() - shift, a[5].toDouble());
    QTextStream(stdout) << QStringLiteral("<path fill=\"%1\" d=\"%2\"/>\n").arg(a[7], pathData(path));
    return 0;
}
