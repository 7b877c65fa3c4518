#pragma once
// Text printed on the window background at a print position, as the game
// writes its banner and results; wiped together at the next setup.
#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>

class QGraphicsScene;
class QGraphicsSimpleTextItem;

namespace zt {

class Printer {
public:
    explicit Printer(QGraphicsScene *scene) : scene_(scene) {}
    qreal currentX = 0, currentY = 0;
    QColor foreColor = Qt::black;
    qreal fontSize = 8; // points at the window's design resolution

    // Prints one line at the current position and moves to the next line.
    void print(const QString &text);
    void cls();
    QStringList lines() const;
    // Where each line stands on the grid.
    QList<QRectF> lineRects() const;

private:
    QGraphicsScene *scene_;
    QList<QGraphicsSimpleTextItem *> items_;
};

// Points to grid units: the grid's unit is one pixel at 120 dots per inch.
constexpr qreal pointsToUnits(qreal points) { return points * 120.0 / 72.0; }

} // namespace zt
