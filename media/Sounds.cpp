#include "media/Sounds.h"

#include <QDir>

namespace zt {

void Sounds::Apri_suono(const QString &name) {
    wave_.command(QStringLiteral("Close"));
    wave_.fileName = findFileNoCase(QDir(dir_).filePath(QStringLiteral("sounds")), name + QStringLiteral(".wav"));
    wave_.command(QStringLiteral("Open"));
}

void Sounds::suona() {
    if (!menu_.menu_card_rustle_yes->isChecked()) return;
    wave_.command(QStringLiteral("Play"));
    wave_.rewind();
}

void Sounds::menu_card_rustle_yes_Click() {
    menu_.menu_card_rustle_no->setChecked(false);
    menu_.menu_card_rustle_yes->setChecked(true);
}

void Sounds::menu_card_rustle_no_Click() {
    menu_.menu_card_rustle_no->setChecked(true);
    menu_.menu_card_rustle_yes->setChecked(false);
}

} // namespace zt
