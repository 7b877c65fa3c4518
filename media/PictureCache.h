#pragma once
// SVG pictures rendered once per on-screen pixel size, so every picture is
// drawn from vectors at the size it is shown and never scaled as a bitmap.
#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <memory>

class QSvgRenderer;

namespace zt {

class PictureCache {
public:
    PictureCache();
    ~PictureCache();
    // file is a resource path such as ":/pictures/deck.svg"; element may be
    // empty for the whole document.
    QPixmap pixmap(const QString &file, const QString &element, QSize pixels);
    QSvgRenderer *renderer(const QString &file);

private:
    QHash<QString, std::shared_ptr<QSvgRenderer>> renderers_;
    QCache<QString, QPixmap> pixmaps_;
};

} // namespace zt
