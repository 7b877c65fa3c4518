#include "media/CardNames.h"

namespace zt {

Speech speechFor(const QLocale &locale) {
    return locale.language() == QLocale::Italian ? Speech::Italian : Speech::English;
}

QString cardName(int code, Speech speech) {
    if (code < 1 || code > 40) return {};
    static const char *const ranksEn[] = {"Ace", "Two", "Three", "Four", "Five",
                                          "Six", "Seven", "Knave", "Knight", "King"};
    static const char *const suitsEn[] = {"Coins", "Cups", "Clubs", "Swords"};
    static const char *const ranksIt[] = {"Asso", "Due", "Tre", "Quattro", "Cinque",
                                          "Sei", "Sette", "Fante", "Cavallo", "Re"};
    static const char *const suitsIt[] = {"Denari", "Coppe", "Bastoni", "Spade"};
    const int rank = (code - 1) % 10, suit = (code - 1) / 10;
    if (speech == Speech::Italian)
        return QStringLiteral("%1 di %2").arg(QLatin1String(ranksIt[rank]), QLatin1String(suitsIt[suit]));
    return QStringLiteral("%1 of %2").arg(QLatin1String(ranksEn[rank]), QLatin1String(suitsEn[suit]));
}

} // namespace zt
