#include "media/Locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

// A folder name the text string keeps as it is, or one reached through a
// descriptor: the nearest folder of the path that exists is held open, and
// what is missing below it is made now when its name would not survive.
QString reachable(const QByteArray &path) {
    if (QFile::encodeName(QFile::decodeName(path)) == path) return QFile::decodeName(path);
    QByteArray head = path, tail;
    int fd = -1;
    while (fd < 0 && !head.isEmpty()) {
        fd = open(head.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0 || errno != ENOENT) break;
        const qsizetype cut = head.lastIndexOf('/');
        if (cut <= 0) break;
        tail.prepend(head.mid(cut));
        head.truncate(cut);
    }
    if (fd < 0) return {};
    if (QFile::encodeName(QFile::decodeName(tail)) != tail) {
        QByteArray made;
        for (const QByteArray &part : tail.split('/')) {
            if (part.isEmpty()) continue;
            made += '/' + part;
            if (mkdirat(fd, made.mid(1).constData(), 0700) != 0 && errno != EEXIST) {
                close(fd);
                return {};
            }
        }
        tail.clear();
    }
    // Held for the life of the process: the folder is reached through it.
    return QStringLiteral("/proc/self/fd/%1").arg(fd) + QFile::decodeName(tail);
}

QByteArray cleanBytes(const QByteArray &path) {
    QByteArray clean;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".") continue;
        if (part == "..") {
            clean.truncate(std::max<qsizetype>(0, clean.lastIndexOf('/')));
            continue;
        }
        clean += '/' + part;
    }
    return clean.isEmpty() ? QByteArray("/") : clean;
}

} // namespace

QString userConfigDir() {
    // Bytes from the environment to the open: a name that is no UTF-8 would
    // lose its bad bytes in a text string and name another folder.
    const auto absolute = [](const char *name) {
        const QByteArray v = qgetenv(name);
        return v.startsWith('/') ? cleanBytes(v) : QByteArray();
    };
    QByteArray config = absolute("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        QByteArray home = absolute("HOME");
        if (home.isEmpty()) {
            const passwd *user = getpwuid(geteuid());
            if (user && user->pw_dir && user->pw_dir[0] == '/') home = cleanBytes(user->pw_dir);
        }
        if (home.isEmpty()) return {};
        config = home + (home.endsWith('/') ? "" : "/") + ".config";
    }
    return reachable(config + '/' + QFile::encodeName(QCoreApplication::applicationName()));
}

} // namespace zt
