#include "shell/MainWindow.h"

#include "media/Locations.h"
#include "media/Texts.h"
#include "shell/AfterFirstPaint.h"
#include "shell/KeyboardPlay.h"
#include "shell/Lights.h"
#include "shell/OuterSize.h"
#include "shell/Placement.h"
#include "shell/TableAccessibility.h"
#include "table/Places.h"
#include "table/Shuffle.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace zt {

MainWindow::MainWindow(WindowConfig config)
    : config_(std::move(config)), capture_(s_, e_.carta), movement_(s_, e_, pacing_, rnd_) {
    const Locations where = findLocations(
        config_.programDir.isEmpty() ? programDir() : config_.programDir,
        config_.configDir.isEmpty() ? userConfigDir() : config_.configDir);
    if (config_.seed) rnd_.seed(*config_.seed);
    pacing_.setZeroDelay(config_.zeroDelay);

    setWindowTitle(QStringLiteral("Veltrano - Zentolletto"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    buildElements(e_, &scene_, this);
    view_ = new GameView(&scene_, this);
    layout->addWidget(view_);
    // The table has the keys from the moment the window is active, so a
    // screen reader follows the focus without a click first.
    view_->setFocus();
    // What the first frame does not show waits until it is on the screen,
    // one step an event, so the window keeps answering in between.
    afterFirstPaint(view_->viewport(), [this] {
        painted_ = true;
        prefetchPictures();
        QMetaObject::invokeMethod(this, &MainWindow::setIconFromPicture, Qt::QueuedConnection);
        for (TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
            QMetaObject::invokeMethod(t, &TextPanel::makeEditor, Qt::QueuedConnection);
    });

    // Children under the elements' names, so whoever watches from outside
    // finds them as Qt finds any object.
    mmcw_ = std::make_unique<MediaPlayer>(MediaPlayer::Kind::WaveAudio, audio_, this);
    mmcw_->setObjectName(QStringLiteral("MMCw"));
    mmc1_ = std::make_unique<MediaPlayer>(MediaPlayer::Kind::Sequencer, audio_, this);
    mmc1_->setObjectName(QStringLiteral("MMC1"));
    mmc1_->fileName = QStringLiteral("tresquo.mid");
    sounds_ = std::make_unique<Sounds>(*mmcw_, e_.menu, where.dataDir);
    music_ = std::make_unique<Music>(*mmc1_, e_.menu, where.dataDir);
    options_ = std::make_unique<Options>(Options::Speeds{s_.cardSpeed, s_.playRate}, e_.menu, where.settingsDir,
                                         where.fallbackDir);

    GameParts parts{s_, e_, pacing_, rnd_, *sounds_, capture_, movement_};
    human_ = std::make_unique<HumanPlayer>(parts);
    computer_ = std::make_unique<ComputerPlayer>(parts);
    turnFlow_ = std::make_unique<TurnFlow>(parts, *human_, *computer_);

    wireEvents();
    wireLights();
    wireKeysAndSpeech();
    Form_Load();
}

MainWindow::~MainWindow() {
    endProgram();
    // They read the elements, which go before the window's children do.
    delete access_;
    delete keys_;
}

void MainWindow::wireEvents() {
    for (int k = 0; k <= 40; ++k) connect(e_.carta[k], &PictureItem::clicked, this, &MainWindow::Carta_Click);
    connect(e_.Mazzo, &PictureItem::clicked, this, &MainWindow::Mazzo_Click);
    for (int i = 0; i <= 1; ++i) {
        connect(e_.Verde[i], &PictureItem::clicked, this, &MainWindow::Verde_Click);
        connect(e_.Rosso[i], &PictureItem::clicked, this, &MainWindow::Rosso_Click);
    }
    connect(view_, &GameView::gridChanged, this, [this] {
        if (prefetchAfterPaint_) return;
        prefetchAfterPaint_ = true;
        // After the frame at the new size is out: until then the picture
        // thread would compete with it for the processor.
        afterFirstPaint(view_->viewport(), [this] {
            prefetchAfterPaint_ = false;
            prefetchPictures();
        });
    });
    connect(e_.background, &BackgroundItem::pressed, this, &MainWindow::Form_MouseDown);
    connect(e_.Text1, &TextPanel::clicked, this, &MainWindow::Text1_Click);
    connect(e_.Text3, &TextPanel::clicked, this, &MainWindow::Text3_Click);
    connect(e_.Command1, &ButtonItem::clicked, this, &MainWindow::Command1_Click);
    connect(e_.LBLmenu, &LabelItem::clicked, this, &MainWindow::LBLmenu_Click);

    const Menu &m = e_.menu;
    connect(m.new_game, &QAction::triggered, this, &MainWindow::new_game_Click);
    connect(m.continue_, &QAction::triggered, this, &MainWindow::continue_Click);
    for (int i = 1; i <= 10; ++i)
        connect(m.card_speed[i], &QAction::triggered, this, [this, i] { card_speed_Click(i); });
    for (int i = 1; i <= 3; ++i)
        connect(m.velocita_gioco[i], &QAction::triggered, this, [this, i] { velocita_gioco_Click(i); });
    connect(m.Italiano, &QAction::triggered, this, &MainWindow::Italiano_Click);
    connect(m.english, &QAction::triggered, this, &MainWindow::english_Click);
    connect(m.menu_card_rustle_yes, &QAction::triggered, this, &MainWindow::menu_card_rustle_yes_Click);
    connect(m.menu_card_rustle_no, &QAction::triggered, this, &MainWindow::menu_card_rustle_no_Click);
    for (int i = 0; i <= 12; ++i) connect(m.canzoni[i], &QAction::triggered, this, [this, i] { canzoni_Click(i); });
    connect(m.menu_about, &QAction::triggered, this, &MainWindow::menu_about_Click);
    connect(m.esci, &QAction::triggered, this, &MainWindow::esci_Click);

    connect(mmc1_.get(), &MediaPlayer::done, this, [this](int code) { music_->MMC1_Done(code); });
    connect(mmc1_.get(), &MediaPlayer::stopCompleted, this, [this](int code) { music_->MMC1_StopCompleted(code); });
}

// The lights and badges follow what the game tells; the turn's light is lit
// with the keys and the speech, below.
void MainWindow::wireLights() {
    GameNews &news = turnFlow_->news;
    news.playBegins = [this] {
        lights::placeForPlay(s_, e_);
        lights::disegno_bottoni(s_, e_);
    };
    news.playEnds = [this] { lights::hide(e_); };
    news.tallied = [this] { lights::disegno_bottoni(s_, e_); };
}

// Keys and the screen reader reach the handlers a click reaches, and read
// the game for themselves once a click is done, so the order of wiring is free.
void MainWindow::wireKeysAndSpeech() {
    const TableControls controls{[this] { Command1_Click(); }, [this] { LBLmenu_Click(); },
                                 [this] { Form_MouseDown(); }, [this](int k) { emit e_.carta[k]->clicked(k); }};
    keys_ = new KeyboardPlay(*this, *view_, s_, e_, controls);
    access_ = new TableAccessibility(view_, s_, e_, controls,
                                     {[this] { return keys_->focusedCard(); }, [this] { return keys_->focusedPanel(); }});
    for (int k = 1; k <= 40; ++k)
        connect(e_.carta[k], &PictureItem::clicked, access_, &TableAccessibility::cardClicked);
    connect(keys_, &KeyboardPlay::focusMoved, access_, &TableAccessibility::focusMoved);
    connect(keys_, &KeyboardPlay::readLines, access_, &TableAccessibility::readLines);
    connect(keys_, &KeyboardPlay::refused, access_, &TableAccessibility::refused);
    GameNews &news = turnFlow_->news;
    news.turn = [this](int player) {
        lights::toMove(e_, player);
        keys_->turnBegan(player);
        access_->turnBegan(player);
    };
    news.move = [this](const MoveNews &m) { access_->moveMade(m); };
    news.choose = [this](int card) {
        keys_->choosing();
        access_->choosing(card);
    };
    news.result = [this](const GameResult &result) { access_->gameOver(result); };
}

// ---- Start-up --------------------------------------------------------------

void MainWindow::Form_Load() {
    capture_.Trova_Combinazioni();
    new OuterSize(*this); // 800 x 600 outside, whenever the frame is known
    e_.createDorsoCopies();
    for (int i = 0; i <= 2; ++i) connect(e_.dorso[i], &PictureItem::clicked, this, &MainWindow::dorso_Click);
    Form_Resize();
    e_.Picture4->move((800 - e_.Picture4->width() + e_.LBLmenu->width()) / 2, (600 - e_.Picture4->height()) / 2);
    e_.LBLmenu->move(0, 0);
    e_.Label2->move(0, 564);
    music_->openTheme();
    s_.gameNo = 0;
    e_.menu.continue_->setEnabled(false);
    e_.menu.new_game->setEnabled(false);
    e_.Text1->move(0, 0);
    e_.Text3->move(0, 0);
    e_.Text4->move(0, 0);
    e_.Image1[1]->move(158, 455);
    e_.Image1[2]->move(190, 455);
    e_.Image1[3]->move(158, 120);
    e_.Image1[4]->move(190, 120);
    e_.Command1->move(390, 430);
    e_.Command1->setVisible(false);
    rnd_.reseedFromClock();
    s_.starter = static_cast<u8>(std::floor(rnd_.next() * 2));
    options_->setDefaults();
    options_->readSettings();
}

void MainWindow::Form_Resize() {
    if (isMinimized()) return;
    view_->applyGrid();
    // Also before the first show: without a window manager no resize
    // follows it, and a frame drawn later centres the window again.
    if (isMaximized() || isFullScreen()) return;
    if (QScreen *screen = this->screen()) placeFrame(*this, centredOn(screen->availableGeometry(), outerSize(*this)));
}

void MainWindow::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // Back from minimised: the grid and the place are set again.
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized) && !isMinimized())
        Form_Resize();
}

void MainWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    QMetaObject::invokeMethod(this, &MainWindow::startCycle, Qt::QueuedConnection);
}

void MainWindow::Form_Activate() {
    s_.midX = 800.0f / 2;
    s_.midY = 600.0f / 2;
    e_.LBLmenu->setBackground(Qt::black);
    e_.LBLmenu->setVisible(true);
    e_.scene->setBackgroundBrush(QColor(255, 255, 0));
    e_.Label2->setVisible(true);
    e_.Label1->setVisible(true);
    e_.Picture2->move(2 * s_.midX - e_.Picture2->width(), 0);
    e_.Picture2->setVisible(true);
    e_.Mazzo->setVisible(false);
    lights::park(e_);
    e_.Picture4->setVisible(true);
    e_.Label2->setCaption(QStringLiteral("   You         Computer") + QString(29, ' '));
    if (observer_) observer_->activated();
}

void MainWindow::setObserver(GameObserver *observer) {
    observer_ = observer;
    turnFlow_->setObserver(observer);
    movement_.setObserver(observer);
}

// ---- The game cycle --------------------------------------------------------

void MainWindow::setIconFromPicture() {
    // Rendered here rather than left to an icon plugin that may be missing.
    QIcon icon;
    for (int px : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(e_.cache->pixmap(QStringLiteral(":/pictures/icon.svg"), {}, QSize(px, px)));
    setWindowIcon(icon);
}

void MainWindow::prefetchPictures() {
    // Rendered on the side: the first deal and a resize find them ready.
    if (painted_ && isVisible()) e_.prefetchPictures(view_->transform(), view_->viewport()->devicePixelRatioF());
}

void MainWindow::startCycle() {
    if (cycle_ || pacing_.stopped()) return;
    prefetchPictures();
    cycle_.emplace(runCycle());
}

QCoro::Task<> MainWindow::runCycle() {
    cycleRunning_ = true;
    try {
        // One loop for the life of the window: each game starts again from
        // the top, so any number of games leaves the stack as it was.
        for (;;) {
            Form_Activate();
            co_await gioco_imposta();
        }
    } catch (const GameStopped &) {
    }
    cycleRunning_ = false;
    emit cycleEnded();
}

QCoro::Task<> MainWindow::gioco_imposta() {
    s_.finalSweep = kFalse;
    s_.pileTop = {};
    s_.eraseTable();
    s_.pileCount = {};
    s_.extraN = 0;
    s_.lastTaker = 0;
    s_.gameNo = static_cast<u8>(s_.gameNo + 1);
    audio_.retryAfterFailure();
    sounds_->Apri_suono(QStringLiteral("carta"));
    e_.printer->cls();
    for (int k = 1; k <= 40; ++k) {
        PictureItem *c = e_.carta[k];
        c->move(places::kParkedCardLeft, places::kParkedCardTop);
        c->setVisible(true);
        c->setEnabled(true);
        c->tag = QString();
        c->setBorder(0);
    }
    s_.cardWidth = static_cast<float>(e_.carta[1]->width());
    s_.cardHeight = static_cast<float>(e_.carta[1]->height());
    for (int i = 0; i <= 2; ++i) {
        e_.dorso[i]->move(places::kParkedBackLeft, places::kParkedBackTop, s_.cardWidth, s_.cardHeight);
        e_.dorso[i]->setVisible(true);
        e_.dorso[i]->bringToFront();
    }
    e_.Command1->setVisible(true);
    e_.Label1->setVisible(true);
    s_.newGameRequested = 0;
    co_await pacing_.waitUntil([this] { return s_.newGameRequested != 0; });
    e_.Command1->setVisible(false);
    e_.Picture4->setVisible(false);
    co_await Mescola(s_, e_, rnd_, pacing_, *mmc1_);
    daicarte(s_, e_);
    co_await turnFlow_->gioco();
}

// ---- Commands --------------------------------------------------------------

void MainWindow::Command1_Click() {
    texts::hideAll(e_);
    s_.newGameRequested = -1;
    pacing_.poke();
}

void MainWindow::new_game_Click() {
    s_.newGameRequested = -1;
    pacing_.poke();
}

void MainWindow::continue_Click() {
    s_.continueRequested = -1;
    pacing_.poke();
}

void MainWindow::LBLmenu_Click() {
    e_.Text3->setVisible(false);
    e_.Text4->setVisible(false);
    // Just below the strip's caption: 0.005 of the outer height in twips.
    const double twipsPerPixel = 1440.0 / qMax(1, logicalDpiY());
    const double y = 0.005 * frameGeometry().height() * twipsPerPixel;
    const QPoint at = view_->viewport()->mapToGlobal(view_->mapFromScene(QPointF(0, y)));
    e_.menu.partita->popup(at);
}

// ---- Clicks on the table ---------------------------------------------------

void MainWindow::Carta_Click(int index) { human_->Carta_Click(index); }
void MainWindow::Mazzo_Click() { human_->Mazzo_Click(); }
void MainWindow::dorso_Click(int) { texts::hideAll(e_); }
void MainWindow::Verde_Click(int) { texts::hideAll(e_); }
void MainWindow::Rosso_Click(int) { texts::hideAll(e_); }
void MainWindow::Form_MouseDown() { texts::hideAll(e_); }
void MainWindow::Text1_Click() { e_.Text1->setVisible(false); }
void MainWindow::Text3_Click() { e_.Text3->setVisible(false); }

// ---- Menu ------------------------------------------------------------------

void MainWindow::Italiano_Click() { texts::Italiano_Click(e_); }
void MainWindow::english_Click() { texts::english_Click(e_); }
void MainWindow::menu_about_Click() { texts::menu_about_Click(e_); }
void MainWindow::card_speed_Click(int index) { options_->card_speed_Click(index); }
void MainWindow::velocita_gioco_Click(int index) { options_->velocita_gioco_Click(index); }
void MainWindow::canzoni_Click(int index) { music_->canzoni_Click(index); }
void MainWindow::menu_card_rustle_yes_Click() { sounds_->menu_card_rustle_yes_Click(); }
void MainWindow::menu_card_rustle_no_Click() { sounds_->menu_card_rustle_no_Click(); }

// ---- Ending ----------------------------------------------------------------

void MainWindow::endProgram() {
    // The cycle unwinds out of whatever wait it is in; then both players close.
    pacing_.stop();
    mmc1_->command(QStringLiteral("close"));
    mmcw_->command(QStringLiteral("close"));
    audio_.shutdown();
}

void MainWindow::esci_Click() { close(); }

void MainWindow::closeEvent(QCloseEvent *event) {
    // QUIT, the close box and a close from outside all end the program here,
    // rather than leaving the cycle waiting without a window. The window goes
    // first: the audio thread may take a moment to let go of the device.
    hide();
    endProgram();
    event->accept();
}

} // namespace zt
