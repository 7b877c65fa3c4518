#include "media/CardNames.h"

#include <QCoreApplication>

namespace zt {

Speech speechFor(const QLocale &locale) {
    for (const QString &name : locale.uiLanguages()) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::Italian) return Speech::Italian;
        if (language == QLocale::English) return Speech::English;
    }
    return Speech::English;
}

QString cardName(int code) {
    if (code < 1 || code > 40) return {};
    static const char *const ranks[] = {
        QT_TRANSLATE_NOOP("CardNames", "Ace"),   QT_TRANSLATE_NOOP("CardNames", "Two"),
        QT_TRANSLATE_NOOP("CardNames", "Three"), QT_TRANSLATE_NOOP("CardNames", "Four"),
        QT_TRANSLATE_NOOP("CardNames", "Five"),  QT_TRANSLATE_NOOP("CardNames", "Six"),
        QT_TRANSLATE_NOOP("CardNames", "Seven"), QT_TRANSLATE_NOOP("CardNames", "Knave"),
        QT_TRANSLATE_NOOP("CardNames", "Knight"), QT_TRANSLATE_NOOP("CardNames", "King")};
    static const char *const suits[] = {QT_TRANSLATE_NOOP("CardNames", "Coins"), QT_TRANSLATE_NOOP("CardNames", "Cups"),
                                        QT_TRANSLATE_NOOP("CardNames", "Clubs"), QT_TRANSLATE_NOOP("CardNames", "Swords")};
    const int rank = (code - 1) % 10, suit = (code - 1) / 10;
    //: A card: rank, then suit, as in "Knight of Cups".
    return QCoreApplication::translate("CardNames", "%1 of %2")
        .arg(QCoreApplication::translate("CardNames", ranks[rank]),
             QCoreApplication::translate("CardNames", suits[suit]));
}

} // namespace zt
