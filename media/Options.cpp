#include "media/Options.h"

#include "media/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zt {

namespace {

const QString kFileName = QStringLiteral("speed.kdz");

// The file is replaced by renaming a new one over it. A link is written
// through only to a regular file of the user's own; a fifo, a device or a
// socket in its place, or at the end of a link, is never replaced.
bool mayReplace(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (lstat(name.constData(), &st) != 0) return errno == ENOENT;
    if (S_ISREG(st.st_mode)) return true;
    if (!S_ISLNK(st.st_mode)) return false;
    return stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid();
}

} // namespace

// No folder is no file, not one in the working folder.
QString Options::programFile() const {
    return programDir_.isEmpty() ? QString() : QDir(programDir_).filePath(kFileName);
}
QString Options::configFile() const {
    return configDir_.isEmpty() ? QString() : QDir(configDir_).filePath(kFileName);
}

QString Options::readFile() const {
    // The per-user file exists only when the program's folder refused a write.
    if (!configDir_.isEmpty() && QFileInfo(configFile()).isFile()) return configFile();
    return programFile();
}

void Options::setDefaults() {
    s_.playRate = 20;
    s_.cardSpeed = 4;
}

void Options::readSettings() {
    QFile f;
    SettingsRead r;
    if (openRegularFile(f, readFile())) r = readSettingsFrom(f);
    if (r.kind == SettingsRead::Number) {
        // Only a speed the menu offers is taken: 0 would stop the cards dead.
        if (r.value >= 1 && r.value <= 10) {
            s_.cardSpeed = static_cast<u8>(r.value);
            menu_.card_speed[r.value]->setChecked(true);
        }
        return;
    }
    menu_.card_speed[s_.cardSpeed]->setChecked(true);
}

bool Options::writeTo(const QString &path, int speed) {
    if (path.isEmpty() || !mayReplace(path)) return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    // Checked here: QSaveFile can commit after a failed write (a full disk),
    // replacing the good file with an empty one. Uncommitted, it is dropped.
    const QByteArray line = formatSettings(speed);
    if (f.write(line) != line.size() || !f.flush()) return false;
    return f.commit();
}

void Options::card_speed_Click(int index) {
    for (int i = 1; i <= 10; ++i) menu_.card_speed[i]->setChecked(false);
    s_.cardSpeed = static_cast<u8>(index);
    menu_.card_speed[index]->setChecked(true);
    // A folder the program may not write (an installed program) falls back
    // to the user's own; a write that fails everywhere changes nothing else.
    if (writeTo(programFile(), index)) {
        if (!configDir_.isEmpty() && QFileInfo(configFile()).isFile()) QFile::remove(configFile());
        return;
    }
    writeTo(configFile(), index);
}

void Options::velocita_gioco_Click(int index) {
    for (int i = 1; i <= 3; ++i) menu_.velocita_gioco[i]->setChecked(false);
    s_.playRate = static_cast<u8>(index * 10);
    menu_.velocita_gioco[index]->setChecked(true);
}

} // namespace zt
