#pragma once
// The client area: the 800 x 600 scene stretched to fill it exactly.
#include <QGraphicsView>

namespace zt {

class GameView : public QGraphicsView {
    Q_OBJECT
public:
    explicit GameView(QGraphicsScene *scene, QWidget *parent = nullptr);
    // Re-applies the grid: (800, 600) is the bottom-right corner at any size.
    void applyGrid();

signals:
    // The scale changed: every picture will be shown at a new pixel size.
    void gridChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace zt
