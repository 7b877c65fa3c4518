#pragma once
// Cards named in words, as a player says them: "Cavallo di Coppe",
// "Knight of Cups". Codes 1..10 coins, cups, clubs, swords; ace to king.
#include <QLocale>
#include <QString>

namespace zt {

enum class Speech { English, Italian };

// Italian for a user whose language is Italian, English for everybody else.
Speech speechFor(const QLocale &locale);

// Empty for a code that names no card.
QString cardName(int code, Speech speech);

} // namespace zt
