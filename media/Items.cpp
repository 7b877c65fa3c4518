#include "media/Items.h"

#include "media/PictureCache.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintDevice>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QScrollBar>
#include <QRegularExpression>
#include <QTextLayout>
#include <QTextOption>

namespace zt {

// ---- PictureItem -----------------------------------------------------------

PictureItem::PictureItem(PictureCache *cache, Stacking *stack, QString file, QString element, int index)
    : cache_(cache), stack_(stack), file_(std::move(file)), element_(std::move(element)), index_(index) {
    setAcceptedMouseButtons(Qt::LeftButton);
}

void PictureItem::move(qreal left, qreal top, qreal width, qreal height) {
    setPos(left, top);
    if (QSizeF(width, height) != size_) {
        prepareGeometryChange();
        size_ = QSizeF(width, height);
    }
}

void PictureItem::setBorder(int style) {
    if (style == border_) return;
    border_ = style;
    update();
}

void PictureItem::setClickable(bool on) {
    setAcceptedMouseButtons(on ? Qt::LeftButton : Qt::NoButton);
}

QSize PictureItem::pixelSize(const QTransform &toDevice, qreal dpr) const {
    const QSizeF device = toDevice.mapRect(boundingRect()).size() * dpr;
    return {qMax(1, qRound(device.width())), qMax(1, qRound(device.height()))};
}

void PictureItem::prefetch(const QTransform &toDevice, qreal dpr) const {
    if (!file_.isEmpty()) cache_->prefetch(file_, element_, pixelSize(toDevice, dpr));
}

QRectF PictureItem::boundingRect() const { return QRectF(QPointF(0, 0), size_); }

void PictureItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    // A picture parked in the corner off the grid is only touched by the
    // view's antialiasing margin: rendering it would cost the first frame a
    // whole deck's parsing for nothing seen.
    if (scene() && !sceneBoundingRect().intersects(scene()->sceneRect())) return;
    const QRectF r = boundingRect();
    if (!file_.isEmpty()) {
        // The device transform already holds the device pixel ratio.
        QPixmap pm = cache_->pixmapToPaint(file_, element_, pixelSize(painter->deviceTransform(), 1.0));
        if (!pm.isNull()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawPixmap(r, pm, QRectF(pm.rect()));
        }
    }
    if (border_ == 1) {
        // Selection: a gold frame inside a dark hairline, visible on any face,
        // rounded like the cards' corners.
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(QColor(20, 20, 20), 1.0));
        painter->drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        painter->setPen(QPen(QColor(255, 200, 0), 3.0));
        painter->drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 1.5, 1.5);
    }
}

PictureItem *PictureItem::copy(int index) const {
    auto *c = new PictureItem(cache_, stack_, file_, element_, index);
    c->move(left(), top(), width(), height());
    c->setZValue(zValue());
    c->setAcceptedMouseButtons(acceptedMouseButtons());
    c->setVisible(false);
    return c;
}

void PictureItem::mousePressEvent(QGraphicsSceneMouseEvent *event) { event->accept(); }

void PictureItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event) {
    if (boundingRect().contains(event->pos())) emit clicked(index_);
}

// ---- ClickItem -------------------------------------------------------------

ClickItem::ClickItem(QSizeF size) : size_(size) { setAcceptedMouseButtons(Qt::LeftButton); }

QRectF ClickItem::boundingRect() const { return QRectF(QPointF(0, 0), size_); }

void ClickItem::mousePressEvent(QGraphicsSceneMouseEvent *event) { event->accept(); }

void ClickItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event) {
    if (boundingRect().contains(event->pos())) emit clicked();
}

// ---- LabelItem -------------------------------------------------------------

LabelItem::LabelItem(QSizeF size, QColor background, QColor foreground, QFont font, bool wordWrap)
    : ClickItem(size), background_(background), foreground_(foreground), font_(std::move(font)),
      wordWrap_(wordWrap) {}

void LabelItem::setCaption(const QString &caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void LabelItem::setBackground(QColor c) {
    background_ = c;
    update();
}

void LabelItem::setPhraseLines(bool on) {
    phraseLines_ = on;
    update();
}

void LabelItem::layOut(QTextLayout &layout) const {
    QString text = caption_;
    if (phraseLines_) {
        // The caption's runs of blanks were measured to push each phrase
        // onto a line of its own in one font; no other font keeps that. So a
        // run of three or more blanks, or a blank after a rule of dashes,
        // ends the line outright.
        static const QRegularExpression lineEnd(QStringLiteral("(?<=\\S) {3,}|(?<=---) "));
        text.replace(lineEnd, QString(QChar::LineSeparator));
    }
    layout.setText(text);
    layout.setFont(font_);
    QTextOption opt(Qt::AlignLeft | Qt::AlignTop);
    opt.setWrapMode(wordWrap_ ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(opt);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width());
        line.setPosition({0, y});
        y += line.height();
    }
    layout.endLayout();
}

void LabelItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    painter->fillRect(boundingRect(), background_);
    painter->setPen(foreground_);
    // A rule wider than the label ends at its edge.
    painter->setClipRect(boundingRect());
    QTextLayout layout;
    layOut(layout);
    layout.draw(painter, {0, 0});
}

// ---- ButtonItem ------------------------------------------------------------

ButtonItem::ButtonItem(QSizeF size, QString caption, QColor background, QFont font)
    : ClickItem(size), caption_(std::move(caption)), background_(background), font_(std::move(font)) {
    setCursor(Qt::PointingHandCursor);
}

void ButtonItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    const QRectF r = boundingRect();
    painter->fillRect(r, background_);
    const QColor light = down_ ? background_.darker(160) : background_.lighter(160);
    const QColor dark = down_ ? background_.lighter(160) : background_.darker(200);
    painter->setPen(QPen(light, 1.5));
    painter->drawLine(r.topLeft() + QPointF(0.75, 0.75), r.topRight() + QPointF(-0.75, 0.75));
    painter->drawLine(r.topLeft() + QPointF(0.75, 0.75), r.bottomLeft() + QPointF(0.75, -0.75));
    painter->setPen(QPen(dark, 1.5));
    painter->drawLine(r.bottomLeft() + QPointF(0.75, -0.75), r.bottomRight() + QPointF(-0.75, -0.75));
    painter->drawLine(r.topRight() + QPointF(-0.75, 0.75), r.bottomRight() + QPointF(-0.75, -0.75));
    painter->setPen(Qt::black);
    painter->setFont(font_);
    painter->drawText(r.translated(down_ ? 1 : 0, down_ ? 1 : 0), Qt::AlignCenter, caption_);
}

void ButtonItem::mousePressEvent(QGraphicsSceneMouseEvent *event) {
    down_ = true;
    update();
    ClickItem::mousePressEvent(event);
}

void ButtonItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event) {
    down_ = false;
    update();
    ClickItem::mouseReleaseEvent(event);
}

// ---- TextPanel -------------------------------------------------------------

TextPanel::TextPanel(QSizeF size, QColor background, bool scrollBar, QFont font)
    : background_(background), scrollBar_(scrollBar), font_(std::move(font)) {
    resize(size);
}

void TextPanel::makeEditor() {
    if (edit_) return;
    const QSizeF size = this->size();
    edit_ = new QPlainTextEdit;
    edit_->setReadOnly(true);
    // The panels are for reading; they never take the keyboard from the game.
    edit_->setFocusPolicy(Qt::NoFocus);
    edit_->setTextInteractionFlags(Qt::NoTextInteraction);
    edit_->setVerticalScrollBarPolicy(scrollBar_ ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit_->setFont(font_);
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, background_);
    pal.setColor(QPalette::Text, Qt::black);
    edit_->setPalette(pal);
    edit_->setFixedSize(size.toSize());
    edit_->setPlainText(text_);
    // Taking a widget makes the proxy as visible as the widget; the panel
    // keeps the state it had (when this runs on its way to showing, the
    // change under way then completes). Nobody hears that blink: a screen
    // reader would take it for a panel closed and name the focus again.
    const bool shown = isVisible();
    {
        const QSignalBlocker quiet(this);
        setWidget(edit_);
        setVisible(shown);
    }
    edit_->viewport()->installEventFilter(this);
}

void TextPanel::setText(const QString &text) {
    text_ = text;
    if (edit_) edit_->setPlainText(text);
}

QVariant TextPanel::itemChange(GraphicsItemChange change, const QVariant &value) {
    if (change == ItemVisibleChange && value.toBool()) makeEditor();
    return QGraphicsProxyWidget::itemChange(change, value);
}

bool TextPanel::eventFilter(QObject *watched, QEvent *event) {
    if (edit_ && watched == edit_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        emit clicked();
    return QGraphicsProxyWidget::eventFilter(watched, event);
}

// ---- BackgroundItem --------------------------------------------------------

BackgroundItem::BackgroundItem() {
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    setZValue(-1e9);
}

void BackgroundItem::mousePressEvent(QGraphicsSceneMouseEvent *event) {
    event->accept();
    emit pressed();
}

// ---- WipeItem --------------------------------------------------------------

WipeItem::WipeItem() {
    setAcceptedMouseButtons(Qt::NoButton);
    setZValue(-1e8);
    setVisible(false);
}

void WipeItem::setProgress(qreal columns, QColor colour) {
    columns_ = columns;
    colour_ = colour;
    update();
}

void WipeItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) {
    const qreal w = qMin<qreal>(columns_, 801);
    painter->fillRect(QRectF(0, 0, w, 301), colour_);
    painter->fillRect(QRectF(800 - w + 1, 300, w, 300), colour_);
}

} // namespace zt
