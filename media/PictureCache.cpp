#include "media/PictureCache.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

namespace zt {

// Counted in kilopixels: room for every picture at several sizes (about 64 MB),
// so resizing the window does not keep old sizes for ever.
PictureCache::PictureCache() : pixmaps_(16 * 1024) {}
PictureCache::~PictureCache() = default;

QSvgRenderer *PictureCache::renderer(const QString &file) {
    auto &r = renderers_[file];
    if (!r) r = std::make_shared<QSvgRenderer>(file);
    return r.get();
}

QPixmap PictureCache::pixmap(const QString &file, const QString &element, QSize pixels) {
    if (pixels.isEmpty()) return {};
    const QString key = file + '#' + element + '@' + QString::number(pixels.width()) + 'x' +
                        QString::number(pixels.height());
    if (QPixmap *hit = pixmaps_.object(key)) return *hit;
    QSvgRenderer *r = renderer(file);
    if (!r->isValid()) return {};
    QImage img(pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        if (element.isEmpty())
            r->render(&p, QRectF(QPointF(0, 0), QSizeF(pixels)));
        else
            r->render(&p, element, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    auto *pm = new QPixmap(QPixmap::fromImage(std::move(img)));
    const int cost = qMax(1, pixels.width() * pixels.height() / 1024);
    QPixmap copy = *pm;
    pixmaps_.insert(key, pm, cost);
    return copy;
}

} // namespace zt
