#include "media/Elements.h"
#include "media/MenuChoiceAccessibility.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFontInfo>
#include <QGraphicsScene>
#include <QPalette>

namespace zt {

const char *const kHelpBanner =
    "    PLAY RATE           Please fit play-rate on your computer                 --------          "
    "      Adatta la velcità di gioco al tuo computer              ------------------------------ "
    "SPEED OF CARDS   Set the standing  speed of the cards               --------                "
    "Fissa stabilmente la velocità di movimento delle carte                               "
    "------------------------------    Before click on the pack for steal it                        "
    "---------           Clicca prima sul mazzetto per rubarlo";

namespace {

const QString kDeck = QStringLiteral(":/pictures/deck.svg");

QFont interfaceFont() {
    // An Arial-metric face, so the captions break where they were meant to.
    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), f.family()});
    f.setPixelSize(qRound(pointsToUnits(8)));
    return f;
}

QString resourceText(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// The information panel's four lines, in the player's language. The panel
// neither wraps nor scrolls: each line must fit its width.
QString informationText() {
    const QStringList lines{
        //: Information panel, line 1 of 4 (at most 38 characters): what the game is.
        QCoreApplication::translate("Information", "Zentolletto, Italian fishing card game"),
        //: Information panel, line 2 of 4 (at most 38 characters).
        QCoreApplication::translate("Information", "Remembers card speed, not play rate"),
        //: Information panel, line 3 of 4 (at most 38 characters).
        QCoreApplication::translate("Information", "By the Zentolletto developers"),
        //: Information panel, line 4 of 4 (at most 38 characters): the licence.
        QCoreApplication::translate("Information", "Free software: GPL 3 or later")};
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

template <class T> T *place(Elements &e, T *item, qreal left, qreal top, bool visible) {
    e.scene->addItem(item);
    item->setPos(left, top);
    item->setVisible(visible);
    e.stacking->raise(item);
    return item;
}

PictureItem *picture(Elements &e, const QString &file, const QString &element, int index, QRectF geom,
                     bool visible) {
    auto *p = new PictureItem(e.cache.get(), e.stacking.get(), file, element, index);
    p->move(geom.left(), geom.top(), geom.width(), geom.height());
    return place(e, p, geom.left(), geom.top(), visible);
}

QAction *action(QMenu *menu, const QString &caption, bool checkable = false) {
    QAction *a = menu->addAction(caption);
    a->setCheckable(checkable);
    return a;
}

void buildMenu(Menu &m, QWidget *parent) {
    exposeMenuChoices();
    m.partita = new QMenu(QStringLiteral("&Gioco"), parent);
    m.new_game = action(m.partita, QStringLiteral("New Game"));
    m.continue_ = action(m.partita, QStringLiteral("Continue"));
    m.speed = m.partita->addMenu(QStringLiteral("&Speed of cards"));
    for (int i = 1; i <= 10; ++i) m.card_speed[i] = action(m.speed, QString::number(i), true);
    m.play_rate = m.partita->addMenu(QStringLiteral("&Play rate"));
    const char *rates[] = {"", "Low", "Middle", "High"};
    for (int i = 1; i <= 3; ++i) m.velocita_gioco[i] = action(m.play_rate, QString::fromLatin1(rates[i]), true);
    m.velocita_gioco[2]->setChecked(true);
    m.istruzioni = m.partita->addMenu(QStringLiteral("&Game rules"));
    m.Italiano = action(m.istruzioni, QStringLiteral("Italiano"));
    m.english = action(m.istruzioni, QStringLiteral("English"));
    m.suoni = m.partita->addMenu(QStringLiteral("&Sounds"));
    m.menu_card_rustle = m.suoni->addMenu(QStringLiteral("Card rustle"));
    m.menu_card_rustle_yes = action(m.menu_card_rustle, QStringLiteral("Yes"), true);
    m.menu_card_rustle_no = action(m.menu_card_rustle, QStringLiteral("No"), true);
    m.menu_card_rustle_yes->setChecked(true);
    m.Musica = m.partita->addMenu(QStringLiteral("&Music"));
    for (int i = 0; i <= 12; ++i)
        m.canzoni[i] = action(m.Musica, QString::fromLatin1(kSongCaptions[i]), true);
    m.menu_about = action(m.partita, QStringLiteral("&Info"));
    m.esci = action(m.partita, QStringLiteral("&QUIT"));
}

} // namespace

void buildElements(Elements &e, QGraphicsScene *scene, QWidget *menuParent) {
    e.scene = scene;
    e.cache = std::make_unique<PictureCache>();
    QObject::connect(e.cache.get(), &PictureCache::rendered, scene, [scene] { scene->update(); });
    e.stacking = std::make_unique<Stacking>();
    e.printer = std::make_unique<Printer>(scene);

    scene->setSceneRect(0, 0, 800, 600);
    scene->setBackgroundBrush(QColor(255, 255, 0));
    e.background = new BackgroundItem;
    scene->addItem(e.background);
    e.wipe = new WipeItem;
    scene->addItem(e.wipe);

    const QFont font = interfaceFont();

    // Labels and images lie on the window surface, beneath the windowed elements.
    QFont menuFont;
    menuFont.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    menuFont.setPixelSize(qRound(pointsToUnits(13.8)));
    menuFont.setItalic(true);
    menuFont.setWeight(QFont::Normal);
    // Arial Black is heavy at its normal weight; a stand-in face needs bold.
    if (QFontInfo(menuFont).family() != QLatin1String("Arial Black")) menuFont.setWeight(QFont::Black);
    e.LBLmenu = place(e, new LabelItem({126, 691}, Qt::black, QColor(255, 255, 192), menuFont, false), 70, 10, true);
    e.LBLmenu->setCaption(QStringLiteral(" Menu "));
    e.LBLmenu->setCursor(Qt::PointingHandCursor);
    e.Label2 = place(e, new LabelItem({125, 47}, QColor(255, 224, 192), Qt::black, font, true), 0, 620, true);
    const QColor highlighted = QApplication::palette().color(QPalette::HighlightedText);
    e.Label1 = place(e, new LabelItem({121, 381}, Qt::black, highlighted, font, true), 4, 170, false);
    e.Label1->setCaption(QString::fromUtf8(kHelpBanner));
    e.Label1->setPhraseLines(true);
    // The banner and the score lie on the menu strip and take no clicks of
    // their own: a click anywhere on the strip opens the menu.
    e.Label1->setAcceptedMouseButtons(Qt::NoButton);
    e.Label2->setAcceptedMouseButtons(Qt::NoButton);
    for (int i = 1; i <= 4; ++i) {
        e.Image1[i] = picture(e, QStringLiteral(":/pictures/lamp.svg"), {}, i, {200, 10.0 + 30 * (i - 1), 24, 24}, false);
        e.Image1[i]->setClickable(false);
    }

    for (int k = 0; k <= 40; ++k) {
        const QRectF geom = k == 0 ? QRectF(650, 420, 62, 100) : QRectF(440, 540, 62, 100);
        // carta(0) stands for the empty slot: it exists, but shows nothing.
        e.carta[k] = picture(e, k == 0 ? QString() : kDeck, k == 0 ? QString() : QStringLiteral("card%1").arg(k), k,
                             geom, false);
    }
    e.Picture2 = picture(e, QStringLiteral(":/pictures/logo.svg"), {}, 0, {660, 0, 219, 73}, true);
    e.dorso[0] = picture(e, kDeck, QStringLiteral("back"), 0, {440, 420, 62, 100}, true);
    e.Mazzo = picture(e, kDeck, QStringLiteral("back"), 0, {510, 420, 62, 100}, true);
    e.Verde[0] = picture(e, QStringLiteral(":/pictures/green.svg"), {}, 0, {860, 350, 32, 32}, true);
    e.Verde[1] = picture(e, QStringLiteral(":/pictures/green.svg"), {}, 1, {820, 350, 32, 32}, true);
    e.Rosso[0] = picture(e, QStringLiteral(":/pictures/red.svg"), {}, 0, {860, 410, 32, 32}, true);
    e.Rosso[1] = picture(e, QStringLiteral(":/pictures/red.svg"), {}, 1, {820, 410, 32, 32}, true);

    const QColor panel(255, 255, 192);
    e.Text1 = place(e, new TextPanel({242, 242}, panel, true, font), 200, 450, false);
    e.Text1->setText(resourceText(QStringLiteral(":/texts/rules_en.txt")));
    e.Text4 = place(e, new TextPanel({221, 101}, panel, false, font), 220, 110, false);
    e.Text4->setText(informationText());
    QFont buttonFont = font;
    buttonFont.setBold(true);
    e.Command1 = place(e, new ButtonItem({151, 21}, QStringLiteral("GO"), QColor(128, 128, 0), buttonFont), 660, 360, false);
    e.Picture4 = picture(e, QStringLiteral(":/pictures/banner.svg"), {}, 0, {260, 0, 294, 131}, true);
    e.Picture4->setClickable(false);
    e.Text3 = place(e, new TextPanel({242, 242}, panel, true, font), 200, 210, false);
    e.Text3->setText(resourceText(QStringLiteral(":/texts/rules_it.txt")));

    buildMenu(e.menu, menuParent);
}

void Elements::prefetchPictures(const QTransform &toDevice, qreal dpr) const {
    // Cards first: they are what a game shows most.
    for (const PictureItem *p : carta)
        if (p) p->prefetch(toDevice, dpr);
    for (const PictureItem *p : {dorso[0], Mazzo, Picture2, Picture4, Verde[0], Rosso[0], Image1[1]})
        if (p) p->prefetch(toDevice, dpr);
}

void Elements::createDorsoCopies() {
    for (int i = 1; i <= 2; ++i) {
        if (dorso[i]) continue;
        dorso[i] = dorso[0]->copy(i);
        scene->addItem(dorso[i]);
    }
}

} // namespace zt
