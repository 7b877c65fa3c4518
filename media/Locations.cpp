#include "media/Locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

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

QString programDir() {
    const QString named = QCoreApplication::applicationDirPath();
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return named;
    QByteArray dir(exe, int(n));
    dir.truncate(dir.lastIndexOf('/') + 1);
    if (QFile::encodeName(named + QLatin1Char('/')) == dir) return named;
    // Held for the life of the process: the folder is reached through it.
    const int fd = open(dir.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? named : QStringLiteral("/proc/self/fd/%1").arg(fd);
}

QString userConfigDir() {
    const auto absolute = [](const char *name) {
        const QString v = qEnvironmentVariable(name);
        return QDir::isAbsolutePath(v) ? QDir::cleanPath(v) : QString();
    };
    QString config = absolute("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        QString home = absolute("HOME");
        if (home.isEmpty()) {
            const passwd *user = getpwuid(geteuid());
            if (user && user->pw_dir && user->pw_dir[0] == '/') home = QDir::cleanPath(QFile::decodeName(user->pw_dir));
        }
        if (home.isEmpty()) return {};
        config = QDir(home).filePath(QStringLiteral(".config"));
    }
    return QDir(config).filePath(QCoreApplication::applicationName());
}

} // namespace zt
