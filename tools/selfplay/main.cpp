// zentolletto-selfplay: plays whole games of the real program offscreen at
// zero delay, the human's side clicked by a bot, and checks every move.
//   --games N     games to play (default 100)
//   --seed S      the game's and the bot's seed; the same seed, the same games
//   --record FILE one JSON line per finished game
//   --keys        the bot plays with key presses only, no mouse event
// Every 1 000 games it prints the rate of those games and the resident
// memory, so a cost that grows with the session shows.
#include "tools/selfplay/bot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <chrono>
#include <cstdio>
#include <memory>

using namespace zt;

namespace {

// Current and peak resident set in MiB, from the kernel's own account.
struct Resident {
    double now = 0, peak = 0;
};
Resident resident() {
    Resident r;
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return r;
    QTextStream in(&f);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        const QStringList parts = line.simplified().split(' ');
        if (parts.size() < 2) continue;
        if (parts[0] == QLatin1String("VmRSS:")) r.now = parts[1].toDouble() / 1024;
        if (parts[0] == QLatin1String("VmHWM:")) r.peak = parts[1].toDouble() / 1024;
    }
    return r;
}

int usage() {
    std::fprintf(stderr, "usage: zentolletto-selfplay [--games N] [--seed S] [--record FILE] [--keys]\n");
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);

    long long games = 100;
    quint64 seed = static_cast<quint64>(std::chrono::system_clock::now().time_since_epoch().count());
    QString recordPath;
    bool keys = false;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--games") && i + 1 < args.size())
            games = args[++i].toLongLong(&ok);
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            seed = args[++i].toULongLong(&ok);
        else if (args[i] == QLatin1String("--record") && i + 1 < args.size())
            recordPath = args[++i];
        else if (args[i] == QLatin1String("--keys"))
            keys = true;
        else
            return usage();
        if (!ok || games < 0) return usage();
    }

    QFile record;
    if (!recordPath.isEmpty()) {
        record.setFileName(recordPath);
        if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(recordPath));
            return 2;
        }
    }

    // A folder of its own: no sounds, no music, no settings of the user's.
    QTemporaryDir programDir, configDir;
    WindowConfig config;
    config.programDir = programDir.path();
    config.configDir = configDir.path();
    config.zeroDelay = true;
    config.seed = seed;
    auto window = std::make_unique<MainWindow>(config);
    auto bot = std::make_unique<selfplay::Bot>(*window, seed);
    bot->keys = keys;
    if (record.isOpen())
        bot->onGame = [&record](const selfplay::GameRecord &r) { record.write((r.toJson() + "\n").c_str()); };
    window->show();
    // Nobody looks: painting every step would cost more than the games.
    window->setUpdatesEnabled(false);

    constexpr int kReportEvery = 1000;
    QElapsedTimer clock;
    clock.start();
    qint64 sinceReport = 0;
    int reported = 0;
    double firstRate = 0, lastRate = 0;
    Resident firstMemory;
    int idle = 0;
    while (bot->counts.games < games && !bot->stuck()) {
        if (bot->step() != selfplay::Bot::Action::None) {
            idle = 0;
        } else if (++idle > 10000) {
            bot->problems.push_back("the game stopped waiting for anything the human can do");
            break;
        }
        if (bot->counts.games - reported == kReportEvery) {
            reported = bot->counts.games;
            const qint64 now = clock.nsecsElapsed();
            lastRate = kReportEvery / ((now - sinceReport) / 1e9);
            sinceReport = now;
            const Resident mem = resident();
            if (reported == kReportEvery) firstRate = lastRate, firstMemory = mem;
            std::printf("%d games: %.1f games per second, resident %.1f MiB, peak %.1f MiB\n", reported, lastRate,
                        mem.now, mem.peak);
            std::fflush(stdout);
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const selfplay::Bot::Counts c = bot->counts;
    const std::vector<std::string> problems = bot->problems;
    bot.reset();
    window.reset();
    record.close();

    std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
    std::printf("%d games in %.2f s: %.1f games per second\n", c.games, seconds, seconds > 0 ? c.games / seconds : 0.0);
    std::printf("human wins %d, computer wins %d, draws %d, matches %d\n", c.humanWins, c.computerWins, c.draws,
                c.matches);
    std::printf("wrong selections refused %d\n", c.refused);
    if (firstRate > 0 && reported > kReportEvery) {
        const Resident mem = resident();
        std::printf("last %d games at %.0f%% of the first's rate; peak memory %.1f MiB, %.0f%% of the peak after "
                    "the first\n",
                    kReportEvery, 100 * lastRate / firstRate, mem.peak, 100 * mem.peak / firstMemory.peak);
    }
    for (const std::string &p : problems) std::printf("problem: %s\n", p.c_str());
    std::printf("%s\n", problems.empty() ? "all invariants held" : "invariants broken");
    return problems.empty() && c.games == games ? 0 : 1;
}
