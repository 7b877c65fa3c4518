#include "shell/GameView.h"

namespace zt {

GameView::GameView(QGraphicsScene *scene, QWidget *parent) : QGraphicsView(scene, parent) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    setSceneRect(0, 0, 800, 600);
    setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    setOptimizationFlag(QGraphicsView::DontAdjustForAntialiasing, true);
    setFocusPolicy(Qt::NoFocus);
}

void GameView::applyGrid() {
    const QSize vp = viewport()->size();
    if (vp.isEmpty()) return;
    const QTransform grid = QTransform::fromScale(vp.width() / 800.0, vp.height() / 600.0);
    const bool changed = grid != transform();
    setTransform(grid);
    centerOn(400, 300);
    if (changed) emit gridChanged();
}

void GameView::resizeEvent(QResizeEvent *event) {
    QGraphicsView::resizeEvent(event);
    applyGrid();
}

} // namespace zt
