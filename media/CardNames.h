#pragma once
// Cards named in words, as a player says them: "Knight of Cups", or
// "Cavallo di Coppe" with the Italian catalogue installed. Codes 1..10
// coins, cups, clubs, swords; ace to king.
#include <QLocale>
#include <QString>

namespace zt {

// The language of the rules text F1 opens.
enum class Speech { English, Italian };

// The first of the user's languages the rules are written in decides, as the
// first of them with a catalogue decides the program's words.
Speech speechFor(const QLocale &locale);

// In the installed catalogue's language; empty for a code that names no card.
QString cardName(int code);

} // namespace zt
