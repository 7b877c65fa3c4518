// Renders every picture of the deck onto one sheet so the artwork can be
// reviewed at a glance: 4 rows of 10 faces, then the back on a fifth row.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The tool only draws into images, so it must not need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 3 || args.size() > 4) {
        err << "usage: zentolletto-decksheet deck.svg out.png [scale]\n";
        return 2;
    }
    bool ok = true;
    const double scale = args.size() == 4 ? args.at(3).toDouble(&ok) : 1.0;
    if (!ok || scale <= 0.0 || scale > 20.0) {
        err << "scale must be a number between 0 and 20\n";
        return 2;
    }

    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        err << "cannot load " << args.at(1) << "\n";
        return 1;
    }

    const double cardW = 62.0 * scale, cardH = 100.0 * scale, gap = 8.0 * scale;
    const int columns = 10, rows = 5;
    QImage sheet(qRound(columns * (cardW + gap) + gap), qRound(rows * (cardH + gap) + gap),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x2f, 0x6b, 0x3a)); // table felt, so card edges show

    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    int missing = 0;
    auto draw = [&](const QString &id, int row, int column) {
        if (!renderer.elementExists(id)) {
            err << "missing element " << id << "\n";
            ++missing;
            return;
        }
        const QRectF target(gap + column * (cardW + gap), gap + row * (cardH + gap), cardW, cardH);
        renderer.render(&painter, id, target);
    };
    for (int code = 1; code <= 40; ++code)
        draw(QStringLiteral("card%1").arg(code), (code - 1) / 10, (code - 1) % 10);
    draw(QStringLiteral("back"), 4, 0);
    painter.end();

    if (!sheet.save(args.at(2))) {
        err << "cannot write " << args.at(2) << "\n";
        return 1;
    }
    return missing == 0 ? 0 : 1;
}
