#pragma once
// The program's own words, and Qt's, in the first of the user's languages
// that has a catalogue; the code's English when none has. Installed for as
// long as the object lives.
#include <QLocale>
#include <QTranslator>

namespace zt {

class Translations {
public:
    explicit Translations(const QLocale &locale = QLocale());
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

private:
    QTranslator own_, qt_;
};

// Loads the program's own catalogue for the locale's languages into t, for
// words said before any application object can install it.
bool loadCatalogue(QTranslator &t, const QLocale &locale = QLocale());

} // namespace zt
