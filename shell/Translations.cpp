#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace zt {

bool loadCatalogue(QTranslator &t, const QLocale &locale) {
    return t.load(locale, QStringLiteral("zentolletto"), QStringLiteral("_"), QStringLiteral(":/i18n"));
}

Translations::Translations(const QLocale &locale) {
    if (!loadCatalogue(own_, locale)) return;
    QCoreApplication::installTranslator(&own_);
    // Qt's words (the command line's usage and errors) follow the catalogue
    // chosen, not the user's next language that Qt happens to have.
    if (qt_.load(QLocale(own_.language()), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt_);
}

} // namespace zt
