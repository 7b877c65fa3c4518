#include "media/Printer.h"

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>

namespace zt {

void Printer::print(const QString &text) {
    QFont font;
    font.setPixelSize(qRound(pointsToUnits(fontSize)));
    auto *item = scene_->addSimpleText(text, font);
    item->setBrush(foreColor);
    item->setPos(currentX, currentY);
    item->setZValue(-1e7); // on the background, under every element
    item->setAcceptedMouseButtons(Qt::NoButton);
    items_.append(item);
    currentX = 0;
    currentY += QFontMetricsF(font).height();
}

void Printer::cls() {
    for (auto *item : items_) {
        scene_->removeItem(item);
        delete item;
    }
    items_.clear();
    currentX = currentY = 0;
}

QStringList Printer::lines() const {
    QStringList out;
    for (auto *item : items_) out << item->text();
    return out;
}

QList<QRectF> Printer::lineRects() const {
    QList<QRectF> out;
    for (auto *item : items_) out << item->sceneBoundingRect();
    return out;
}

} // namespace zt
