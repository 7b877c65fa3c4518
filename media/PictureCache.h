#pragma once
// SVG pictures rendered once per on-screen pixel size, so every picture is
// drawn from vectors at the size it is shown and never scaled as a bitmap for
// long. A new size (a resize) is rendered on a thread of its own; until it
// arrives the picture is drawn from the size it had, so the window's thread
// never waits for the vectors.
#include <QCache>
#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QThread>
#include <memory>

class QSvgRenderer;

namespace zt {

class PictureRenderer;

class PictureCache : public QObject {
    Q_OBJECT
public:
    PictureCache();
    ~PictureCache() override;
    // file is a resource path such as ":/pictures/deck.svg"; element may be
    // empty for the whole document. Rendered now when not cached.
    QPixmap pixmap(const QString &file, const QString &element, QSize pixels);
    // What to paint now: the exact size when cached; else the size the
    // picture was last rendered at, while the exact one is rendered away
    // from this thread; else, the first time a picture shows, rendered now.
    QPixmap pixmapToPaint(const QString &file, const QString &element, QSize pixels);
    // Renders on the side a size that will soon be painted.
    void prefetch(const QString &file, const QString &element, QSize pixels);
    bool has(const QString &file, const QString &element, QSize pixels) const;

signals:
    // Every size asked for on the side has arrived: time to repaint.
    void rendered();

private:
    void arrived(const QString &key, const QString &picture, QSize pixels, const QImage &image);
    QPixmap insert(const QString &key, const QString &picture, QSize pixels, const QImage &image);
    QSvgRenderer *renderer(const QString &file);
    void dropOldSizes();

    QHash<QString, std::shared_ptr<QSvgRenderer>> renderers_;
    QCache<QString, QPixmap> pixmaps_;
    QHash<QString, QSize> lastSize_; // per picture, the size last rendered
    QHash<QString, QSet<QString>> keysOf_; // per picture, the sizes it was rendered at
    QHash<QString, quint64> newestAt_;     // per picture, when its newest size came
    QHash<QString, quint64> lastHit_;      // per size, when it was last painted
    quint64 inserts_ = 0;
    QSet<QString> pending_;
    QThread thread_;
    PictureRenderer *worker_ = nullptr;
};

} // namespace zt
