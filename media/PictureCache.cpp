#include "media/PictureCache.h"

#include <QImage>
#include <functional>
#include <map>
#include <QPainter>
#include <QSvgRenderer>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zt {

namespace {

QString pictureKey(const QString &file, const QString &element) { return file + '#' + element; }

QString sizeKey(const QString &picture, QSize pixels) {
    return picture + '@' + QString::number(pixels.width()) + 'x' + QString::number(pixels.height());
}

QImage render(QSvgRenderer &r, const QString &element, QSize pixels) {
    QImage img(pixels, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (element.isEmpty())
        r.render(&p, QRectF(QPointF(0, 0), QSizeF(pixels)));
    else
        r.render(&p, element, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return img;
}

} // namespace

// Lives on the cache's thread with renderers of its own: a QSvgRenderer is
// not shared between threads.
class PictureRenderer : public QObject {
public:
    explicit PictureRenderer(PictureCache *cache) : cache_(cache) {}
    std::function<void(const QString &, const QString &, QSize, const QImage &)> deliver;

    void render(const QString &key, const QString &file, const QString &element, QSize pixels) {
        auto &r = renderers_[file];
        if (!r) r = std::make_unique<QSvgRenderer>(file);
        const QImage img = r->isValid() ? zt::render(*r, element, pixels) : QImage();
        // Queued to the cache's own thread; dropped if the cache is gone.
        QMetaObject::invokeMethod(
            cache_, [d = deliver, key, picture = pictureKey(file, element), pixels, img] { d(key, picture, pixels, img); },
            Qt::QueuedConnection);
    }

private:
    PictureCache *cache_;
    std::map<QString, std::unique_ptr<QSvgRenderer>> renderers_;
};

// Counted in kilopixels: room for every picture at several sizes (about 64 MB),
// so resizing the window does not keep old sizes for ever.
PictureCache::PictureCache() : pixmaps_(16 * 1024) {
    worker_ = new PictureRenderer(this);
    worker_->deliver = [this](const QString &key, const QString &picture, QSize pixels, const QImage &img) {
        arrived(key, picture, pixels, img);
    };
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("pictures"));
    thread_.start(QThread::LowPriority);
}

PictureCache::~PictureCache() {
    thread_.quit();
    thread_.wait();
}

QSvgRenderer *PictureCache::renderer(const QString &file) {
    auto &r = renderers_[file];
    if (!r) r = std::make_shared<QSvgRenderer>(file);
    return r.get();
}

bool PictureCache::has(const QString &file, const QString &element, QSize pixels) const {
    return pixmaps_.contains(sizeKey(pictureKey(file, element), pixels));
}

QPixmap PictureCache::insert(const QString &key, const QString &picture, QSize pixels, const QImage &image) {
    auto *pm = new QPixmap(QPixmap::fromImage(image));
    const QPixmap copy = *pm;
    pixmaps_.insert(key, pm, qMax(1, pixels.width() * pixels.height() / 1024));
    lastSize_[picture] = pixels;
    keysOf_[picture].insert(key);
    newestAt_[picture] = ++inserts_;
    return copy;
}

QPixmap PictureCache::pixmap(const QString &file, const QString &element, QSize pixels) {
    if (pixels.isEmpty()) return {};
    const QString picture = pictureKey(file, element);
    const QString key = sizeKey(picture, pixels);
    if (QPixmap *hit = pixmaps_.object(key)) {
        lastHit_[key] = inserts_;
        return *hit;
    }
    QSvgRenderer *r = renderer(file);
    if (!r->isValid()) return {};
    return insert(key, picture, pixels, render(*r, element, pixels));
}

QPixmap PictureCache::pixmapToPaint(const QString &file, const QString &element, QSize pixels) {
    if (pixels.isEmpty()) return {};
    const QString picture = pictureKey(file, element);
    const QString key = sizeKey(picture, pixels);
    if (QPixmap *hit = pixmaps_.object(key)) {
        lastHit_[key] = inserts_;
        return *hit;
    }
    const auto last = lastSize_.constFind(picture);
    if (last != lastSize_.cend())
        if (QPixmap *standIn = pixmaps_.object(sizeKey(picture, *last))) {
            prefetch(file, element, pixels);
            return *standIn;
        }
    return pixmap(file, element, pixels);
}

void PictureCache::prefetch(const QString &file, const QString &element, QSize pixels) {
    if (pixels.isEmpty() || file.isEmpty()) return;
    const QString key = sizeKey(pictureKey(file, element), pixels);
    if (pending_.contains(key) || pixmaps_.contains(key)) return;
    pending_.insert(key);
    QMetaObject::invokeMethod(
        worker_, [w = worker_, key, file, element, pixels] { w->render(key, file, element, pixels); },
        Qt::QueuedConnection);
}

void PictureCache::arrived(const QString &key, const QString &picture, QSize pixels, const QImage &image) {
    pending_.remove(key);
    if (!image.isNull()) insert(key, picture, pixels, image);
    if (pending_.isEmpty()) {
        dropOldSizes();
        emit rendered();
    }
}

// Once every size asked for is in, a picture keeps its newest size and any
// other still shown since that one came; the sizes a resize passed through
// go, and so does the memory under them, or a window back at its old size
// would hold what its largest size needed.
void PictureCache::dropOldSizes() {
    bool dropped = false;
    for (auto picture = keysOf_.begin(); picture != keysOf_.end(); ++picture) {
        const QString newest = sizeKey(picture.key(), lastSize_.value(picture.key()));
        const quint64 since = newestAt_.value(picture.key());
        for (auto key = picture->begin(); key != picture->end();) {
            if (*key != newest && lastHit_.value(*key) < since) {
                pixmaps_.remove(*key);
                lastHit_.remove(*key);
                key = picture->erase(key);
                dropped = true;
            } else {
                ++key;
            }
        }
    }
#if defined(__GLIBC__)
    if (dropped) malloc_trim(0);
#endif
}

} // namespace zt
