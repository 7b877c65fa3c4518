// zentolletto-resizebench: shows the real window at 800 x 600, resizes it
// through random sizes up to a full screen, each held until its pictures are
// rendered, and back to 800 x 600, and prints the resident memory at the
// start, the highest and at the end.
//
//   zentolletto-resizebench [--sizes N] [--seed S]      (default 60 sizes, seed 1)
// Runs on the platform it is given (an X display, or QT_QPA_PLATFORM=offscreen).
#include "shell/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

using namespace zt;

namespace {

long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Long enough for the picture thread to render a whole deck at a large size.
void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

} // namespace

int main(int argc, char **argv) {
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    int sizes = 60;
    quint32 seed = 1;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sizes") && i + 1 < args.size()) {
            sizes = qMax(1, args[++i].toInt());
        } else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            seed = args[++i].toUInt();
        } else {
            std::fprintf(stderr, "usage: zentolletto-resizebench [--sizes N] [--seed S]\n");
            return 2;
        }
    }
    QTemporaryDir program, config;
    MainWindow w(WindowConfig{program.path(), config.path(), true, 1});
    w.resize(800, 600);
    w.show();
    settle(1500);
    const long start = residentKiB();
    long highest = start;
    const QSize screen = w.screen() ? w.screen()->size().expandedTo(QSize(1920, 1080)) : QSize(1920, 1080);
    QRandomGenerator random(seed);
    for (int i = 0; i < sizes; ++i) {
        w.resize(random.bounded(400, screen.width() + 1), random.bounded(300, screen.height() + 1));
        settle(400);
        highest = qMax(highest, residentKiB());
    }
    w.resize(800, 600);
    settle(1500);
    const long end = residentKiB();
    std::printf("resident memory at 800 x 600: %.1f MB; highest through %d sizes: %.1f MB; back at 800 x 600: %.1f MB\n",
                start / 1024.0, sizes, highest / 1024.0, end / 1024.0);
    return 0;
}
