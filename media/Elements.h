#pragma once
// Every element of the main window, built once by the layout code and
// addressed by name and index as the game names them.
#include "media/Items.h"
#include "media/PictureCache.h"
#include "media/Printer.h"

#include <QAction>
#include <QMenu>
#include <array>
#include <memory>

class QGraphicsScene;
class QWidget;

namespace zt {

struct Menu {
    QMenu *partita = nullptr; // "&Gioco", the pop-up root
    QAction *new_game = nullptr;
    QAction *continue_ = nullptr;
    QMenu *speed = nullptr;
    std::array<QAction *, 11> card_speed{}; // 1..10
    QMenu *play_rate = nullptr;
    std::array<QAction *, 4> velocita_gioco{}; // 1..3
    QMenu *istruzioni = nullptr;
    QAction *Italiano = nullptr;
    QAction *english = nullptr;
    QMenu *suoni = nullptr;
    QMenu *menu_card_rustle = nullptr;
    QAction *menu_card_rustle_yes = nullptr;
    QAction *menu_card_rustle_no = nullptr;
    QMenu *Musica = nullptr;
    std::array<QAction *, 13> canzoni{}; // 0..12
    QAction *menu_about = nullptr;
    QAction *esci = nullptr;
};

inline const char *const kSongCaptions[13] = {"None",     "Humanoid", "Impact", "Go4yrgun", "Sevilana",
                                              "Bugs",     "Astro",    "Champion", "Champs", "Easycity",
                                              "Fastlane", "Lastday",  "Tresquo"};

struct Elements {
    QGraphicsScene *scene = nullptr;
    std::unique_ptr<PictureCache> cache;
    std::unique_ptr<Stacking> stacking;
    std::unique_ptr<Printer> printer;
    BackgroundItem *background = nullptr;
    WipeItem *wipe = nullptr;

    std::array<PictureItem *, 41> carta{};
    PictureItem *Picture2 = nullptr;
    std::array<PictureItem *, 3> dorso{};
    PictureItem *Mazzo = nullptr;
    std::array<PictureItem *, 2> Verde{};
    std::array<PictureItem *, 2> Rosso{};
    TextPanel *Text1 = nullptr;
    TextPanel *Text4 = nullptr;
    ButtonItem *Command1 = nullptr;
    PictureItem *Picture4 = nullptr;
    TextPanel *Text3 = nullptr;
    std::array<PictureItem *, 5> Image1{}; // 1..4
    LabelItem *Label2 = nullptr;
    LabelItem *Label1 = nullptr;
    LabelItem *LBLmenu = nullptr;

    Menu menu;

    // Made at start-up as copies of dorso(0).
    void createDorsoCopies();
    // Renders every picture on the side at the size the view will show it.
    void prefetchPictures(const QTransform &toDevice, qreal dpr) const;
};

// Builds every element with its creation geometry, visibility and stacking
// order on a bare 800 x 600 scene, and the menu tree under menuParent.
void buildElements(Elements &e, QGraphicsScene *scene, QWidget *menuParent);

extern const char *const kHelpBanner;

} // namespace zt
