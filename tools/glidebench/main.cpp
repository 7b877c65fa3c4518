// Glide benchmark: capture glides at card speeds 1, 4 and 10 on an 800 x 600
// view with real pacing. Per glide: the steps shown, the frames the view
// painted and their rate, the processor time per second of glide, how late
// the glide's last frame came after its last step was due, and the share of
// the view a frame painted; then the medians per speed.
//
//   zentolletto-glidebench [repeats] [--update smart|minimal|bounding|full]
//                          [--shots DIR]   (the screen halfway and at the end
//                                           of the glides at speeds 1 and 10)
// Run it at each scale with QT_SCALE_FACTOR on a display; with a second busy
// program beside it to see whether glides keep time.
#include "media/Elements.h"
#include "rules/GameState.h"
#include "shell/GameView.h"
#include "table/Movement.h"
#include "table/Pacing.h"
#include "table/Places.h"
#include "table/Random.h"

#include <QApplication>
#include <QEventLoop>
#include <QGraphicsScene>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <qcoro/qcorotask.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace zt;

namespace {

// The human plays an 8 from the play spot and takes a 3 and a 5.
void stageCapture(GameState &s, Elements &e, int speed) {
    for (int code = 1; code <= 40; ++code) {
        e.carta[code]->setVisible(false);
        e.carta[code]->setBorder(0);
        e.carta[code]->tag.clear();
    }
    s.eraseTable();
    s.pileTop = {};
    s.pileCount = {0, 10, 10};
    s.cardSpeed = static_cast<u8>(speed);
    s.turnPlayer = kHuman;
    s.otherPlayer = kComputer;
    s.stealFlag = kFalse;
    s.finalSweep = kFalse;
    s.playedCard = 8;
    e.carta[8]->move(places::playSpotLeft(s.midX), places::playSpotTop(s.cardHeight));
    e.carta[8]->setVisible(true);
    const int taken[2][3] = {{3, 1, 2}, {15, 3, 4}};
    s.pickN = 2;
    for (int j = 1; j <= 2; ++j) {
        const auto [code, row, column] = taken[j - 1];
        s.tableCards[row][column] = static_cast<i16>(code);
        PictureItem *card = e.carta[code];
        card->move(places::slotLeft(s.cardWidth, column), places::slotTop(s.cardHeight, row));
        card->setVisible(true);
        card->setBorder(1);
        s.pickCards[j] = static_cast<i16>(code);
        s.pickLeft[j] = static_cast<i16>(card->left());
        s.pickTop[j] = static_cast<i16>(card->top());
    }
}

// When each step of the glides was shown.
struct StepClock : GameObserver {
    std::vector<Pacing::Clock::time_point> times;
    void glideStepShown() override { times.push_back(Pacing::Clock::now()); }
};

// When the view painted, and how much of it.
struct PaintClock : QObject {
    std::vector<Pacing::Clock::time_point> times;
    double pixels = 0;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            times.push_back(Pacing::Clock::now());
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region()) pixels += double(r.width()) * r.height();
        }
        return false;
    }
};

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

double ms(Pacing::Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Runs the event loop until the view has painted after the given moment, or a
// second has passed (nothing to paint offscreen, or zero delay).
Pacing::Clock::time_point paintedAfter(const PaintClock &paints, Pacing::Clock::time_point t) {
    const auto giveUp = Pacing::Clock::now() + std::chrono::seconds(1);
    for (;;) {
        const auto it = std::lower_bound(paints.times.begin(), paints.times.end(), t);
        if (it != paints.times.end()) return *it;
        if (Pacing::Clock::now() > giveUp) return t;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

void shoot(const QWidget &view, const QString &file) {
    view.screen()->grabWindow(view.winId()).save(file);
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    int repeats = 1;
    QString shots;
    QGraphicsView::ViewportUpdateMode mode = QGraphicsView::ViewportUpdateMode(-1);
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--shots") && i + 1 < args.size()) {
            shots = args[++i];
        } else if (args[i] == QLatin1String("--update") && i + 1 < args.size()) {
            const QString m = args[++i];
            mode = m == QLatin1String("full")       ? QGraphicsView::FullViewportUpdate
                   : m == QLatin1String("minimal")  ? QGraphicsView::MinimalViewportUpdate
                   : m == QLatin1String("bounding") ? QGraphicsView::BoundingRectViewportUpdate
                                                    : QGraphicsView::SmartViewportUpdate;
        } else {
            repeats = std::max(1, args[i].toInt());
        }
    }

    Elements e; // outlives the scene, whose items point into it
    QGraphicsScene scene;
    QWidget menuParent;
    buildElements(e, &scene, &menuParent);
    e.createDorsoCopies();
    GameView view(&scene);
    if (mode != QGraphicsView::ViewportUpdateMode(-1)) view.setViewportUpdateMode(mode);
    view.resize(800, 600);
    view.show();
    PaintClock paints;
    view.viewport()->installEventFilter(&paints);
    // Lets the first frame and the pictures' first sizes settle.
    const auto settle = Pacing::Clock::now() + std::chrono::milliseconds(500);
    while (Pacing::Clock::now() < settle) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);

    GameState s;
    s.midX = 400;
    s.midY = 300;
    s.cardWidth = float(e.carta[1]->width());
    s.cardHeight = float(e.carta[1]->height());
    s.sideTop = {0, static_cast<i32>(std::nearbyint(595.0 - s.cardHeight)), 5};

    Pacing pacing;
    RandomSource rnd;
    CardMovement movement(s, e, pacing, rnd);
    StepClock clock;
    movement.setObserver(&clock);

    const double period = Pacing::kStepPeriod.count() / 1000.0;
    const double scale = view.devicePixelRatioF();
    std::printf("step period %.3f ms, view %dx%d at scale %.2f, refresh %.1f Hz, update mode %d, platform %s\n",
                period, view.viewport()->width(), view.viewport()->height(), scale, view.screen()->refreshRate(),
                int(view.viewportUpdateMode()), qPrintable(QGuiApplication::platformName()));
    std::printf("%5s %6s %6s %7s %7s %6s %9s %9s %8s %6s\n", "speed", "steps", "shown", "painted", "fps", "cpu/s",
                "nominal", "ended", "late", "area");
    struct Row {
        double fps, cpu, latePct, area;
    };
    for (int speed : {1, 4, 10}) {
        std::vector<Row> rows;
        for (int r = 0; r < repeats; ++r) {
            stageCapture(s, e, speed);
            QCoreApplication::processEvents(); // the staging's own frame is not the glide's
            clock.times.clear();
            const std::size_t paint0 = paints.times.size();
            const double pixels0 = paints.pixels;
            const double cpu0 = processCpuSeconds();
            QCoro::Task<> glide = movement.muovicarte();
            const bool middleShot = !shots.isEmpty() && (speed == 1 || speed == 10);
            if (middleShot) {
                // The screen as the player sees it halfway through the glide.
                const auto half = Pacing::Clock::now() + std::chrono::microseconds(
                                                             Pacing::kStepPeriod * CardMovement::glideSteps(speed) / 2);
                while (!glide.isReady() && Pacing::Clock::now() < half)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
                shoot(view, QStringLiteral("%1/speed%2-middle.png").arg(shots).arg(speed));
            }
            QCoro::waitFor(std::move(glide));
            if (clock.times.empty()) continue;
            const auto first = clock.times.front(), last = clock.times.back();
            const auto ended = paintedAfter(paints, last);
            const double cpu = processCpuSeconds() - cpu0;
            const int steps = CardMovement::glideSteps(speed);
            const double nominal = period * (steps - 1);
            const double length = ms(ended - first);
            const std::size_t painted = std::count_if(paints.times.begin() + paint0, paints.times.end(),
                                                      [&](auto t) { return t >= first && t <= ended; });
            const double seconds = std::max(length, 1.0) / 1000.0;
            const double area = painted ? (paints.pixels - pixels0) / painted /
                                              (view.viewport()->width() * view.viewport()->height()) * 100
                                        : 0;
            // Frames per second: the intervals between them over the glide's length.
            const Row row{painted > 1 ? (painted - 1) / seconds : 0, cpu / seconds, (length - nominal) / nominal * 100, area};
            rows.push_back(row);
            std::printf("%5d %6d %6zu %7zu %7.1f %6.3f %6.0f ms %6.0f ms %+7.2f%% %5.1f%%\n", speed, steps,
                        clock.times.size(), painted, row.fps, row.cpu, nominal, length, row.latePct, area);
            if (middleShot) shoot(view, QStringLiteral("%1/speed%2-end.png").arg(shots).arg(speed));
        }
        auto col = [&](double Row::*f) {
            std::vector<double> v;
            for (const Row &r : rows) v.push_back(r.*f);
            return median(v);
        };
        std::printf("speed %d median: %.1f fps, %.3f of a core, %+.2f%% late, %.1f%% of the view a frame\n", speed,
                    col(&Row::fps), col(&Row::cpu), col(&Row::latePct), col(&Row::area));
    }
    return 0;
}
