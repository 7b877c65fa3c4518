#include "media/Options.h"

#include "media/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zt {

namespace {
const QString kFileName = QStringLiteral("speed.kdz");
} // namespace

QString Options::programFile() const { return QDir(programDir_).filePath(kFileName); }
QString Options::configFile() const { return QDir(configDir_).filePath(kFileName); }

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
    if (path.isEmpty()) return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(formatSettings(speed));
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
