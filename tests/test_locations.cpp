// Where the program finds its sounds and music and keeps its settings, in the
// build tree and installed; the command line that is read before any window.
#include "media/Locations.h"
#include "shell/CommandLine.h"
#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <set>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

using namespace zt;

namespace {

void copyAsset(const QString &from, const QString &to) {
    QVERIFY(QDir().mkpath(QFileInfo(to).absolutePath()));
    QVERIFY2(QFile::copy(QStringLiteral(ZT_ASSETS_DIR "/") + from, to), qPrintable(to));
}

QByteArray contents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Every settings file anywhere under a folder.
QStringList settingsFilesUnder(const QString &root) {
    QStringList found;
    QDirIterator it(root, {QStringLiteral("speed.kdz")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    return found;
}

CommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("zentolletto"));
    return parseCommandLine(args, Locations{true, "/opt/zt/share/zentolletto", "/home/u/.config/Zentolletto", {}});
}

} // namespace

class TestLocations : public QObject {
    Q_OBJECT
private slots:
    void buildTreeKeepsEverythingBeside();
    void installedTreeUsesDataFolderAndUserSettings();
    void installedProgramNeverWritesIntoItsTree();
    void buildTreeProgramKeepsSpeedBesideItself();
    void configFolderNamedInBytes_data();
    void configFolderNamedInBytes();
    void commandLine_data();
    void commandLine();
    void helpNamesTheFolders();
    void seedChoosesTheFirstLeader();
};

void TestLocations::buildTreeKeepsEverythingBeside() {
    // sounds/ or music/ alone beside the program marks its own folder.
    for (const QString &folder : {QStringLiteral("sounds"), QStringLiteral("music")}) {
        QTemporaryDir build;
        QVERIFY(QDir(build.path()).mkdir(folder));
        const Locations where = findLocations(build.path(), "/home/u/.config/Zentolletto");
        QVERIFY(!where.installed);
        QCOMPARE(where.dataDir, build.path());
        QCOMPARE(where.settingsDir, build.path());
        QCOMPARE(where.fallbackDir, QStringLiteral("/home/u/.config/Zentolletto"));
        QCOMPARE(where.soundsDir(), build.path() + "/sounds");
        QCOMPARE(where.musicDir(), build.path() + "/music");
    }
}

void TestLocations::installedTreeUsesDataFolderAndUserSettings() {
    QCOMPARE(installedDataDir(), QStringLiteral("../share/games/zentolletto"));
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath("bin"));
    QVERIFY(QDir(prefix.path()).mkpath("share/games/zentolletto/sounds"));
    const QString bin = prefix.path() + "/bin";
    const Locations where = findLocations(bin, "/home/u/.config/Zentolletto");
    QVERIFY(where.installed);
    QCOMPARE(where.dataDir, prefix.path() + "/share/games/zentolletto");
    QCOMPARE(where.soundsDir(), prefix.path() + "/share/games/zentolletto/sounds");
    QCOMPARE(where.settingsDir, QStringLiteral("/home/u/.config/Zentolletto"));
    QVERIFY(where.fallbackDir.isEmpty());
    // Found from the program's own folder, so a moved tree still works.
    QCOMPARE(findLocations("/elsewhere/bin", "/c").dataDir, QStringLiteral("/elsewhere/share/games/zentolletto"));
    QCOMPARE(findLocations("/usr/games", "/c", "../share/games/zt").dataDir, QStringLiteral("/usr/share/games/zt"));
}

void TestLocations::installedProgramNeverWritesIntoItsTree() {
    QTemporaryDir prefix, home;
    const QString data = prefix.path() + "/share/games/zentolletto";
    QVERIFY(QDir(prefix.path()).mkpath("bin"));
    copyAsset("music/tresquo.mid", data + "/music/tresquo.mid");
    copyAsset("sounds/carta.wav", data + "/sounds/carta.wav");
    const QString config = home.path() + "/.config/Zentolletto"; // not there yet

    MainWindow w(WindowConfig{prefix.path() + "/bin", config, true, 1});
    QCOMPARE(test::player(w, "MMC1").fileName, data + "/music/tresquo.mid");
    QVERIFY(test::player(w, "MMC1").isOpen());
    w.startCycle(); // its setup opens the rustle
    QCOMPARE(test::player(w, "MMCw").fileName, data + "/sounds/carta.wav");

    // The program's folder can be written here (as it can for root), and
    // still the speed goes to the user's folder.
    w.card_speed_Click(7);
    QCOMPARE(contents(config + "/speed.kdz"), QByteArray(" 7 \r\n"));
    QCOMPARE(settingsFilesUnder(prefix.path()), QStringList{});

    // The next start reads it back from there.
    MainWindow again(WindowConfig{prefix.path() + "/bin", config, true, 1});
    QCOMPARE(int(again.state().cardSpeed), 7);
}

void TestLocations::buildTreeProgramKeepsSpeedBesideItself() {
    QTemporaryDir build, config;
    copyAsset("music/tresquo.mid", build.path() + "/music/tresquo.mid");
    MainWindow w(WindowConfig{build.path(), config.path(), true, 1});
    QCOMPARE(test::player(w, "MMC1").fileName, build.path() + "/music/tresquo.mid");
    w.card_speed_Click(9);
    QCOMPARE(contents(build.path() + "/speed.kdz"), QByteArray(" 9 \r\n"));
    QCOMPARE(settingsFilesUnder(config.path()), QStringList{});
}

void TestLocations::configFolderNamedInBytes_data() {
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("folder"); // below it, the settings
    QTest::newRow("home") << QByteArray("HOME") << QByteArray("/.config/") + QCoreApplication::applicationName().toUtf8();
    QTest::newRow("config home") << QByteArray("XDG_CONFIG_HOME") << "/" + QCoreApplication::applicationName().toUtf8();
}

void TestLocations::configFolderNamedInBytes() {
    // A name that is no UTF-8 comes from the environment as bytes and must
    // reach the open as the same bytes, not as a folder beside it.
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, folder);
    QTemporaryDir outer, program;
    const QByteArray named = QFile::encodeName(outer.path()) + "/home-\xff\xfe";
    QVERIFY(mkdir(named.constData(), 0700) == 0);
    const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qputenv(variable.constData(), named);
    const QString config = userConfigDir();
    qputenv("HOME", savedHome);
    if (savedConfig.isNull()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", savedConfig);

    MainWindow w(WindowConfig{program.path(), config, true, 1});
    w.card_speed_Click(7);
    struct stat st;
    QVERIFY2(stat(named + folder + "/speed.kdz", &st) == 0, qPrintable(config));
    // Nothing made beside it (QDir would not list a name that is no UTF-8).
    dirent **names = nullptr;
    const int entries = scandir(QFile::encodeName(outer.path()).constData(), &names,
                                [](const dirent *d) { return int(d->d_name[0] != '.'); }, nullptr);
    for (int i = 0; i < entries; ++i) free(names[i]);
    free(names);
    QCOMPARE(entries, 1);
    {
        MainWindow again(WindowConfig{program.path(), config, true, 1});
        QCOMPARE(int(again.state().cardSpeed), 7);
    }
    std::filesystem::remove_all(named.toStdString()); // QTemporaryDir would leave it
}

void TestLocations::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("action");
    QTest::addColumn<qlonglong>("seed"); // -1: none
    QTest::addColumn<QString>("says");
    QTest::newRow("nothing") << QStringList{} << int(CommandLine::Play) << -1LL << QString();
    QTest::newRow("seed") << QStringList{"--seed", "42"} << int(CommandLine::Play) << 42LL << QString();
    QTest::newRow("seed=") << QStringList{"--seed=0"} << int(CommandLine::Play) << 0LL << QString();
    QTest::newRow("help") << QStringList{"--help"} << int(CommandLine::ShowHelp) << -1LL << "--seed <N>";
    QTest::newRow("-h") << QStringList{"-h"} << int(CommandLine::ShowHelp) << -1LL << "--version";
    QTest::newRow("no Qt options") << QStringList{"--help-all"} << int(CommandLine::Fail) << -1LL << "help-all";
    QTest::newRow("version") << QStringList{"--version"} << int(CommandLine::ShowVersion) << -1LL << QString(); // the text: see test_program
    QTest::newRow("unknown") << QStringList{"--bogus"} << int(CommandLine::Fail) << -1LL << "bogus";
    QTest::newRow("no seed value") << QStringList{"--seed"} << int(CommandLine::Fail) << -1LL << "seed";
    QTest::newRow("seed not a number") << QStringList{"--seed", "x7"} << int(CommandLine::Fail) << -1LL << "x7";
    QTest::newRow("negative seed") << QStringList{"--seed", "-3"} << int(CommandLine::Fail) << -1LL << "-3";
    QTest::newRow("stray word") << QStringList{"deal"} << int(CommandLine::Fail) << -1LL << "deal";
    // Qt's own options are left to QApplication, with or without their values.
    QTest::newRow("Qt's style") << QStringList{"-style", "fusion", "--seed", "5"} << int(CommandLine::Play) << 5LL << QString();
    QTest::newRow("Qt's options") << QStringList{"-reverse", "-qwindowtitle", "Cards", "--platform=offscreen", "-display", ":0"}
                                  << int(CommandLine::Play) << -1LL << QString();
    QTest::newRow("Qt's style without one") << QStringList{"-style"} << int(CommandLine::Fail) << -1LL << "style";
    QTest::newRow("unknown, one dash") << QStringList{"-bogus"} << int(CommandLine::Fail) << -1LL << "bogus";
}

void TestLocations::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(int, action);
    QFETCH(qlonglong, seed);
    QFETCH(QString, says);
    const CommandLine line = parse(args);
    QCOMPARE(int(line.action), action);
    QCOMPARE(line.seed.has_value(), seed >= 0);
    if (seed >= 0) QCOMPARE(*line.seed, quint64(seed));
    QVERIFY2(line.text.contains(says), qPrintable(line.text));
}

void TestLocations::helpNamesTheFolders() {
    const QString help = parse({"--help"}).text;
    QVERIFY2(help.contains("/opt/zt/share/zentolletto/sounds"), qPrintable(help));
    QVERIFY(help.contains("/opt/zt/share/zentolletto/music"));
    QVERIFY(help.contains("/home/u/.config/Zentolletto/speed.kdz"));
    QVERIFY(!help.contains("cannot be written")); // installed: no second place
    const QString build =
        parseCommandLine({"zentolletto", "--help"}, Locations{false, "/b", "/b", "/home/u/.config/Zentolletto"}).text;
    QVERIFY2(build.contains("/b/speed.kdz") && build.contains("/home/u/.config/Zentolletto/speed.kdz"),
             qPrintable(build));
    // A folder held by a descriptor is shown by its name.
    QTemporaryDir held;
    const int fd = open(QFile::encodeName(held.path()).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QString byName = parseCommandLine({"zentolletto", "--help"},
                                            Locations{true, "/d", QStringLiteral("/proc/self/fd/%1/Z").arg(fd), {}})
                               .text;
    close(fd);
    QVERIFY2(byName.contains(held.path() + "/Z/speed.kdz"), qPrintable(byName));
}

void TestLocations::seedChoosesTheFirstLeader() {
    // Start-up reseeds from the clock; a seed given must still decide who leads.
    std::set<int> leaders;
    for (quint64 seed = 0; seed < 16; ++seed) {
        QTemporaryDir program, config;
        const WindowConfig cfg{program.path(), config.path(), true, seed};
        MainWindow first(cfg), second(cfg);
        QCOMPARE(second.state().starter, first.state().starter);
        leaders.insert(first.state().starter);
    }
    QCOMPARE(leaders, (std::set<int>{0, 1}));
}

QTEST_MAIN(TestLocations)
#include "test_locations.moc"
