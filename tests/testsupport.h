#pragma once
// Shared helpers for the tests: a window playing at zero delay in a folder of
// its own, and ways to let the event loop run until something happens.
#include "shell/MainWindow.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace zt::test {

// Runs events until the condition holds or the time runs out.
inline bool runUntil(const std::function<bool()> &cond, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!cond()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct Harness {
    QTemporaryDir programDir;
    QTemporaryDir configDir;
    std::unique_ptr<MainWindow> window;

    explicit Harness(std::optional<quint64> seed = 1, bool show = true) {
        WindowConfig cfg;
        cfg.programDir = programDir.path();
        cfg.configDir = configDir.path();
        cfg.zeroDelay = true;
        cfg.seed = seed;
        window = std::make_unique<MainWindow>(cfg);
        if (show) {
            window->show();
            runUntil([&] { return window->cycleRunning(); });
        }
    }
    GameState &s() { return window->state(); }
    Elements &e() { return window->elements(); }
};

} // namespace zt::test
