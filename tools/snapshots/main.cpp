// Plays through the real window offscreen and saves what a person would see
// at the start screen, in play, with a card selected, with the rules open, at the end of a game and
// at the end of a match: zentolletto-snapshots OUTDIR [WIDTH HEIGHT] [SEED]
#include "tools/selfplay/bot.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

using namespace zt;

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: zentolletto-snapshots OUTDIR [WIDTH HEIGHT] [SEED]\n");
        return 2;
    }
    const QString out = args[1];
    QDir().mkpath(out);
    const QSize size = args.size() >= 4 ? QSize(args[2].toInt(), args[3].toInt()) : QSize(800, 600);
    const quint64 seed = args.size() >= 5 ? args[4].toULongLong() : 3;

    QTemporaryDir dir, config;
    MainWindow w(WindowConfig{dir.path(), config.path(), true, seed});
    w.show();
    w.resize(size);
    selfplay::Bot bot(w, seed);
    bot.wrongSelectionChance = 0;
    auto snap = [&](const char *name) {
        QCoreApplication::processEvents();
        w.view()->grab().save(QDir(out).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
        std::printf("%s\n", name);
    };
    auto until = [&](const std::function<bool()> &cond) {
        for (int i = 0; i < 200000 && !cond(); ++i) bot.step();
        return cond();
    };
    until([&] { return w.elements().Command1->isVisible(); });
    snap("start");
    bot.step(); // GO
    until([&] { return w.state().turnPlayer == kHuman && w.state().clickLock == 0 && w.state().playedCard == 0 &&
                       w.state().dealPos >= 10; });
    snap("play");
    int tableCard = 0;
    for (int r = 1; r <= 3 && !tableCard; ++r)
        for (int c = 1; c <= 4 && !tableCard; ++c) tableCard = w.state().tableCards[r][c];
    if (tableCard) {
        w.Carta_Click(tableCard); // a selection made before playing
        snap("selected");
        w.Carta_Click(tableCard);
    }
    w.english_Click();
    snap("rules-en");
    w.Italiano_Click();
    w.menu_about_Click();
    snap("rules-it-info");
    w.Form_MouseDown();
    bool matchOver = false, gameOver = false;
    bot.onGame = [&](const selfplay::GameRecord &) {
        if (!gameOver && w.elements().menu.continue_->isEnabled()) {
            gameOver = true;
            snap("end-of-game");
        } else if (!matchOver && !w.elements().menu.continue_->isEnabled()) {
            matchOver = true;
            snap("end-of-match");
        }
    };
    until([&] { return gameOver && matchOver; });
    return bot.problems.empty() ? 0 : 1;
}
