#pragma once
// The keyboard's focus drawn around a card: a blue and white dashed ring
// outside the card's edge, where the gold selection frame (inside) never is.
// It is vector-drawn in grid units, so it scales with the window.
#include <QGraphicsItem>

namespace zt {

class FocusFrame : public QGraphicsItem {
public:
    FocusFrame();
    // Rings the given scene rectangle and shows itself above the given z.
    void surround(const QRectF &card, qreal z);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

    static constexpr qreal kGap = 3;   // between the card's edge and the ring
    static constexpr qreal kWidth = 3; // the ring's width

private:
    QSizeF size_;
};

} // namespace zt
