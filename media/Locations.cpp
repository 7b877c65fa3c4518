#include "media/Locations.h"

#include <QDir>
#include <QFileInfo>

namespace zt {

QString Locations::soundsDir() const { return QDir(dataDir).filePath(QStringLiteral("sounds")); }
QString Locations::musicDir() const { return QDir(dataDir).filePath(QStringLiteral("music")); }

QString installedDataDir() { return QStringLiteral(ZT_INSTALLED_DATA_DIR); }

Locations findLocations(const QString &programDir, const QString &userConfigDir, const QString &relativeDataDir) {
    const QDir program(programDir);
    Locations where;
    where.installed = !QFileInfo(program.filePath(QStringLiteral("sounds"))).isDir() &&
                      !QFileInfo(program.filePath(QStringLiteral("music"))).isDir();
    if (where.installed) {
        where.dataDir = QDir::cleanPath(program.filePath(relativeDataDir));
        where.settingsDir = userConfigDir;
    } else {
        where.dataDir = programDir;
        where.settingsDir = programDir;
        where.fallbackDir = userConfigDir;
    }
    return where;
}

} // namespace zt
