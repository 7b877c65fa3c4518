#include "shell/FocusFrame.h"

#include <QPainter>

namespace zt {

FocusFrame::FocusFrame() {
    // It only shows where the keys are; clicks go to the card beneath.
    setAcceptedMouseButtons(Qt::NoButton);
    setVisible(false);
}

void FocusFrame::surround(const QRectF &card, qreal z) {
    const QSizeF size = card.size() + QSizeF(2 * kGap, 2 * kGap);
    if (size != size_) {
        prepareGeometryChange();
        size_ = size;
    }
    setPos(card.topLeft() - QPointF(kGap, kGap));
    setZValue(z + 0.5);
    setVisible(true);
}

QRectF FocusFrame::boundingRect() const {
    const qreal m = kWidth / 2 + 1;
    return QRectF(QPointF(0, 0), size_).adjusted(-m, -m, m, m);
}

void FocusFrame::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    const QRectF ring = QRectF(QPointF(0, 0), size_);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    // White under blue dashes: seen on the green table, the yellow start
    // screen and any card face alike.
    painter->setPen(QPen(Qt::white, kWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter->drawRoundedRect(ring, 5, 5);
    QPen dash(QColor(0, 70, 230), kWidth, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
    dash.setDashPattern({2.0, 1.0});
    painter->setPen(dash);
    painter->drawRoundedRect(ring, 5, 5);
}

} // namespace zt
