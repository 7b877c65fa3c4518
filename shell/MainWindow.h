#pragma once
// The one window: it owns the game and wires the elements' events to it.
// It holds no rules of its own.
#include "media/AudioPlayer.h"
#include "media/Elements.h"
#include "media/Music.h"
#include "media/Options.h"
#include "media/Sounds.h"
#include "rules/Capture.h"
#include "rules/ComputerPlayer.h"
#include "rules/GameState.h"
#include "rules/HumanPlayer.h"
#include "rules/TurnFlow.h"
#include "shell/GameView.h"
#include "table/Movement.h"
#include "table/Pacing.h"
#include "table/Random.h"

#include <QGraphicsScene>
#include <QWidget>
#include <optional>

namespace zt {

class KeyboardPlay;
class TableAccessibility;

struct WindowConfig {
    QString programDir; // the folder the program runs from; empty: its real one
    QString configDir;  // the user's configuration folder; empty: the standard one
    bool zeroDelay = false;
    std::optional<quint64> seed;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(WindowConfig config = {});
    ~MainWindow() override;

    GameState &state() { return s_; }
    Elements &elements() { return e_; }
    Pacing &pacing() { return pacing_; }
    GameView *view() const { return view_; }
    bool cycleRunning() const { return cycleRunning_; }
    // Tests and tools watch the game through this; null: nobody watches.
    void setObserver(GameObserver *observer);

    // Event handlers, named after the element and the event.
    void Form_Resize();
    void Command1_Click();
    void new_game_Click();
    void continue_Click();
    void LBLmenu_Click();
    void Carta_Click(int index);
    void Mazzo_Click();
    void dorso_Click(int index);
    void Verde_Click(int index);
    void Rosso_Click(int index);
    void Form_MouseDown();
    void Text1_Click();
    void Text3_Click();
    void Italiano_Click();
    void english_Click();
    void menu_about_Click();
    void card_speed_Click(int index);
    void velocita_gioco_Click(int index);
    void canzoni_Click(int index);
    void menu_card_rustle_yes_Click();
    void menu_card_rustle_no_Click();
    void esci_Click();

    // Starts the game cycle, as the first showing of the window does.
    void startCycle();
    // Ends the game cycle wherever it waits and closes both players.
    void endProgram();

signals:
    void cycleEnded();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();
    void prefetchPictures();
    void setIconFromPicture();
    QCoro::Task<> gioco_imposta();
    QCoro::Task<> runCycle();
    void wireEvents();
    void wireLights();
    void wireKeysAndSpeech();

    WindowConfig config_;
    GameState s_;
    // The scene's items point into the elements' cache and stacking, so the
    // scene goes first.
    Elements e_;
    QGraphicsScene scene_;
    GameView *view_ = nullptr;
    Pacing pacing_;
    RandomSource rnd_;
    AudioDevice audio_;
    std::unique_ptr<MediaPlayer> mmcw_;
    std::unique_ptr<MediaPlayer> mmc1_;
    std::unique_ptr<Sounds> sounds_;
    std::unique_ptr<Music> music_;
    std::unique_ptr<Options> options_;
    CaptureRules capture_;
    CardMovement movement_;
    std::unique_ptr<HumanPlayer> human_;
    std::unique_ptr<ComputerPlayer> computer_;
    std::unique_ptr<TurnFlow> turnFlow_;
    KeyboardPlay *keys_ = nullptr;
    TableAccessibility *access_ = nullptr;
    std::optional<QCoro::Task<>> cycle_;
    bool cycleRunning_ = false;
    bool shownOnce_ = false;
    bool painted_ = false;
    bool prefetchAfterPaint_ = false;
    GameObserver *observer_ = nullptr;
};

} // namespace zt
