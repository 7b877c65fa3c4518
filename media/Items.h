#pragma once
// The kinds of element that stand on the 800 x 600 table. Positions and sizes
// are grid units; the view scales the whole scene to the window.
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGraphicsObject>
#include <QGraphicsProxyWidget>
#include <QString>

class QPlainTextEdit;
class QTextLayout;

namespace zt {

class PictureCache;

// Shared stacking counter: "bring to front" puts an element above all others.
struct Stacking {
    qreal top = 0;
    void raise(QGraphicsItem *item) { item->setZValue(++top); }
};

// A picture element: card, card back, light, badge, logo, banner.
class PictureItem : public QGraphicsObject {
    Q_OBJECT
public:
    PictureItem(PictureCache *cache, Stacking *stack, QString file, QString element, int index = 0);

    qreal left() const { return pos().x(); }
    qreal top() const { return pos().y(); }
    qreal width() const { return size_.width(); }
    qreal height() const { return size_.height(); }
    void move(qreal left, qreal top) { setPos(left, top); }
    void move(qreal left, qreal top, qreal width, qreal height);
    void bringToFront() { stack_->raise(this); }

    // Free text the game keeps on each card: "jolly", "1", "2", a code, or "".
    QString tag;
    int border() const { return border_; }
    void setBorder(int style);
    int index() const { return index_; }
    void setClickable(bool on);

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;
    // The picture's size in device pixels when shown through toDevice.
    QSize pixelSize(const QTransform &toDevice, qreal dpr) const;
    // Has the picture rendered on the side at the size it will be shown.
    void prefetch(const QTransform &toDevice, qreal dpr) const;

    // A copy with the same picture, size and position, hidden.
    PictureItem *copy(int index) const;

signals:
    void clicked(int index);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    PictureCache *cache_;
    Stacking *stack_;
    QString file_, element_;
    int index_;
    QSizeF size_{62, 100};
    int border_ = 0;
};

// A rectangle that reports a click: pressed and released over it.
class ClickItem : public QGraphicsObject {
    Q_OBJECT
public:
    explicit ClickItem(QSizeF size);
    void move(qreal left, qreal top) { setPos(left, top); }
    qreal width() const { return size_.width(); }
    qreal height() const { return size_.height(); }
    QRectF boundingRect() const override;

signals:
    void clicked();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    QSizeF size_;
};

// A label: caption on a solid background.
class LabelItem : public ClickItem {
    Q_OBJECT
public:
    LabelItem(QSizeF size, QColor background, QColor foreground, QFont font, bool wordWrap);
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }
    void setBackground(QColor c);
    QColor background() const { return background_; }
    // Each phrase of the caption on a line of its own, whatever the font.
    void setPhraseLines(bool on);
    // The caption laid out in the label's own units, as it is drawn.
    void layOut(QTextLayout &layout) const;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QColor background_, foreground_;
    QFont font_;
    bool wordWrap_;
    bool phraseLines_ = false;
    QString caption_;
};

// The push button "GO", drawn sunk while pressed.
class ButtonItem : public ClickItem {
    Q_OBJECT
public:
    ButtonItem(QSizeF size, QString caption, QColor background, QFont font);
    QString caption() const { return caption_; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    QString caption_;
    QColor background_;
    QFont font_;
    bool down_ = false;
};

// A read-only multi-line text panel; a click inside it is reported.
class TextPanel : public QGraphicsProxyWidget {
    Q_OBJECT
public:
    TextPanel(QSizeF size, QColor background, bool scrollBar, QFont font);
    void setText(const QString &text);
    QString text() const { return text_; }
    void move(qreal left, qreal top) { setPos(left, top); }
    // The text widget costs the first frame several milliseconds, and the
    // panels start hidden: it is made when a panel first shows, or earlier
    // by this call once the window is on the screen.
    void makeEditor();

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override;

private:
    QPlainTextEdit *edit_ = nullptr;
    QString text_;
    QColor background_;
    bool scrollBar_;
    QFont font_;
};

// The window background under everything: takes the clicks nothing else takes.
class BackgroundItem : public QGraphicsObject {
    Q_OBJECT
public:
    BackgroundItem();
    QRectF boundingRect() const override { return {0, 0, 800, 600}; }
    void paint(QPainter *, const QStyleOptionGraphicsItem *, QWidget *) override {}

signals:
    void pressed();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
};

// The table colour sweeping over the background: the upper half from the
// left, the lower half from the right, one column per step.
class WipeItem : public QGraphicsItem {
public:
    WipeItem();
    void setProgress(qreal columns, QColor colour);
    QRectF boundingRect() const override { return {0, 0, 801, 600}; }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    qreal columns_ = 0;
    QColor colour_;
};

} // namespace zt
