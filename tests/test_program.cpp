// The program as a person runs it from a shell, and as it installs: options
// that need no display, the installed tree and its desktop files.
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode = -1;
    QString out, err;
};

// Runs a command with no display at all, as from a text console or ssh, in
// the C locale unless told otherwise; inChild runs in the child before the
// program starts.
Run run(const QString &program, const QStringList &args, const QStringList &extraEnv = {},
        const std::function<void()> &inChild = {}, const QString &workingDir = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    for (const QString &kv : extraEnv) // NAME=value, or NAME alone to unset it
        kv.contains('=') ? env.insert(kv.section('=', 0, 0), kv.section('=', 1)) : env.remove(kv);
    QProcess p;
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(workingDir);
    if (inChild) p.setChildProcessModifier(inChild);
    p.start(program, args);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    Run r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString readText(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList filesUnder(const QString &root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

const QString kId = QStringLiteral(ZT_APP_ID);

} // namespace

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void helpAndVersionNeedNoDisplay();
    void wrongOptionsFailWithoutWindow_data();
    void wrongOptionsFailWithoutWindow();
    void helpAndErrorsInTheUsersLanguage();
    void noDisplayEndsWithOneLine_data();
    void noDisplayEndsWithOneLine();
    void tooFewResourcesEndWithOneLine_data();
    void tooFewResourcesEndWithOneLine();
    void closedStandardDescriptorsOpenOnDevNull();
    void versionIsTheSameEverywhere();
    void installedTreeWorksWhereverItIsMoved();
    void settingsFolderByTheBaseDirectoryRules();
    void folderNameNotUtf8();
    void desktopFilesPassTheirValidators();
    void debianPackageNamesWhatItNeeds();

private:
    QTemporaryDir work_;
    QString prefix_; // an installed tree, moved after installing
    const QString version_ = QStringLiteral(ZT_VERSION); // as the build configured it
};

void TestProgram::initTestCase() {
    QVERIFY(work_.isValid());
    // Installed once for the tests below, then moved: nothing may point back.
    const QString first = work_.filePath("first");
    const Run install = run(QStringLiteral(ZT_CMAKE), {"--install", ZT_BUILD_DIR, "--prefix", first});
    QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
    prefix_ = work_.filePath("moved");
    QVERIFY(QDir().rename(first, prefix_));
}

void TestProgram::helpAndVersionNeedNoDisplay() {
    const Run help = run(QStringLiteral(ZT_PROGRAM), {"--help"});
    QCOMPARE(help.exitCode, 0);
    for (const QString &part : {QStringLiteral("Usage:"), QStringLiteral("--seed <N>"), QStringLiteral("--version"),
                                QStringLiteral(ZT_BUILD_DIR "/sounds"), QStringLiteral(ZT_BUILD_DIR "/music"),
                                QStringLiteral(ZT_BUILD_DIR "/speed.kdz")})
        QVERIFY2(help.out.contains(part), qPrintable(part + " missing from:\n" + help.out + help.err));
    QCOMPARE(help.err, QString());
    const Run version = run(QStringLiteral(ZT_PROGRAM), {"-v"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY2(version.out.startsWith("Zentolletto " + version_ + "\n"), qPrintable(version.out));
    for (const Run &r : {help, version}) QVERIFY2(r.out.contains("GPL-3.0-or-later"), qPrintable(r.out));
    QVERIFY(QRegularExpression(R"(^\d+\.\d+$)").match(version_).hasMatch()); // X.Y
}

void TestProgram::wrongOptionsFailWithoutWindow_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown") << QStringList{"--bogus"} << "bogus";
    QTest::newRow("bad seed") << QStringList{"--seed", "many"} << "many";
}

void TestProgram::wrongOptionsFailWithoutWindow() {
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    // Without a display, a program that reached for a window would abort instead.
    const Run r = run(QStringLiteral(ZT_PROGRAM), args);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.contains(named) && r.err.contains("--help"), qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

void TestProgram::helpAndErrorsInTheUsersLanguage() {
    const QStringList italian{"LANG=it_IT.UTF-8", "LANGUAGE=it"};
    QStringList parts{"Il gioco di presa italiano", "--seed <N>     Distribuisce le stesse partite", "\nFile:\n  suoni", "Software libero"};
    // Qt's own words, where its catalogues are installed.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_it.qm")) parts << "Utilizzo:";
    // German first, which Qt speaks and we do not: Qt's words follow ours into Italian.
    for (const QStringList &env : {italian, QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=de:it"}}) {
        const Run help = run(QStringLiteral(ZT_PROGRAM), {"--help"}, env);
        QCOMPARE(help.exitCode, 0);
        QCOMPARE(help.err, QString());
        for (const QString &part : parts) QVERIFY2(help.out.contains(part), qPrintable(part + " missing from:\n" + help.out));
    }
    const Run wrong = run(QStringLiteral(ZT_PROGRAM), {"--seed", "molti"}, italian);
    QCOMPARE(wrong.exitCode, 1);
    QVERIFY2(wrong.err.contains("Valore di --seed non valido 'molti'") && wrong.err.contains("Prova 'zentolletto --help'"),
             qPrintable(wrong.err));
    const Run noDisplay = run(QStringLiteral(ZT_PROGRAM), {}, italian);
    QVERIFY2(noDisplay.err.contains("nessuno schermo"), qPrintable(noDisplay.err));
    const Run noCompositor = run(QStringLiteral(ZT_PROGRAM), {}, italian + QStringList{"WAYLAND_DISPLAY=nowhere", "QT_QPA_PLATFORM=wayland"});
    QVERIFY2(noCompositor.err.contains("compositore Wayland nowhere"), qPrintable(noCompositor.err));
    // English for English, first or alone, and where no catalogue fits.
    for (const QStringList &other : {QStringList{"LANG=en_US.UTF-8"}, QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=de"},
                                     QStringList{"LANG=it_IT.UTF-8", "LANGUAGE=en:it"}}) {
        const Run english = run(QStringLiteral(ZT_PROGRAM), {"--help"}, other);
        QVERIFY2(english.out.contains("Usage:") && english.out.contains("\nFiles:\n  sounds"), qPrintable(english.out));
    }
}

void TestProgram::noDisplayEndsWithOneLine_data() {
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<bool>("stderrUnread");
    QTest::addColumn<QString>("names"); // what failed, as the line says it
    QTest::newRow("no DISPLAY") << QStringList{} << false << "(DISPLAY is not set)";
    QTest::newRow("a dead one") << QStringList{"DISPLAY=:4711"} << false << "display :4711";
    // Output that nobody reads must not end the program by a signal.
    QTest::newRow("stderr unread") << QStringList{} << true << QString();
    // Not the X display on a Wayland session, and not libwayland's own line too.
    QTest::newRow("no Wayland compositor")
        << QStringList{"WAYLAND_DISPLAY=nowhere", "QT_QPA_PLATFORM=wayland", "XDG_RUNTIME_DIR"} << false
        << "Wayland compositor nowhere";
    QTest::newRow("Wayland session, none there") << QStringList{"WAYLAND_DISPLAY=nowhere", "XDG_SESSION_TYPE=wayland"}
                                                 << false << "Wayland compositor nowhere";
    QTest::newRow("no such window system") << QStringList{"QT_QPA_PLATFORM=nosuch"} << false << "nosuch";
}

void TestProgram::noDisplayEndsWithOneLine() {
    QFETCH(QStringList, env);
    QFETCH(bool, stderrUnread);
    QFETCH(QString, names);
    int unread[2] = {-1, -1};
    if (stderrUnread) {
        QVERIFY(pipe(unread) == 0);
        close(unread[0]);
    }
    const Run r = run(QStringLiteral(ZT_PROGRAM), {}, env, [fd = unread[1]] {
        if (fd >= 0) dup2(fd, 2);
    });
    if (stderrUnread) close(unread[1]);
    QCOMPARE(r.exitCode, 1); // -1: a crash
    if (!stderrUnread) QVERIFY2(r.err.count('\n') == 1 && r.err.startsWith("zentolletto: ") && r.err.contains(names),
                                qPrintable(r.err));
}

void TestProgram::tooFewResourcesEndWithOneLine_data() {
    QTest::addColumn<int>("resource");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("hard"); // -1: the hard limit the test has
    QTest::addColumn<QString>("named");
    QTest::newRow("ulimit -n 12") << int(RLIMIT_NOFILE) << 12 << 12 << "ulimit -n 12";
    // A soft limit is raised as far as the hard one lets it, first.
    QTest::newRow("ulimit -Sn 12 -Hn 40") << int(RLIMIT_NOFILE) << 12 << 40 << "ulimit -n 40";
    QTest::newRow("ulimit -Sn 12") << int(RLIMIT_NOFILE) << 12 << -1 << "display";
    QTest::newRow("ulimit -v 300000") << int(RLIMIT_AS) << 300000 * 1024 << 300000 * 1024 << "ulimit -v 300000";
    QTest::newRow("ulimit -Sv 300000") << int(RLIMIT_AS) << 300000 * 1024 << -1 << "display";
}

// Qt hangs or GLib stops the process with too few descriptors or too little
// address space; the program ends first, saying why, unless it could raise
// its soft limit far enough. (Here without a display, where it would abort
// otherwise; with one it hangs.)
void TestProgram::tooFewResourcesEndWithOneLine() {
    QFETCH(int, resource);
    QFETCH(int, limit);
    QFETCH(int, hard);
    QFETCH(QString, named);
#if defined(__SANITIZE_ADDRESS__)
    if (resource == RLIMIT_AS) QSKIP("the address sanitizer's shadow memory does not fit any address space limit");
#endif
    rlimit own{};
    QVERIFY(getrlimit(resource, &own) == 0);
    const rlim_t ceiling = hard < 0 ? own.rlim_max : rlim_t(hard);
    if (own.rlim_max != RLIM_INFINITY && ceiling > own.rlim_max) QSKIP("the test's own hard limit is lower");
    const Run r = run(QStringLiteral(ZT_PROGRAM), {}, {}, [resource, limit, ceiling] {
        const rlimit l{rlim_t(limit), ceiling};
        setrlimit(resource, &l);
    });
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.count('\n') == 1 && r.err.contains(named), qPrintable(r.err));
}

// Started with all three closed, the program holds /dev/null there, so nothing
// it opens later takes their numbers and receives what it writes to them.
void TestProgram::closedStandardDescriptorsOpenOnDevNull() {
    if (!QFileInfo(QStringLiteral("/proc/self/fd")).isDir()) QSKIP("no /proc to look at the descriptors");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] {
        for (int fd = 0; fd <= 2; ++fd) close(fd);
    });
    p.start(QStringLiteral(ZT_PROGRAM), {});
    QVERIFY(p.waitForStarted());
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(p.processId()));
    // The socket that turns end signals into a close is opened once the window is.
    const auto windowUp = [&fds] {
        for (const QFileInfo &fd : fds.entryInfoList(QDir::System))
            if (fd.symLinkTarget().contains(QLatin1String("socket:"))) return true;
        return false;
    };
    QDeadlineTimer deadline(30000);
    while (!windowUp() && !deadline.hasExpired() && p.state() == QProcess::Running) QTest::qWait(50);
    QVERIFY(windowUp());
    for (const char *fd : {"0", "1", "2"})
        QVERIFY2(QFile::symLinkTarget(fds.filePath(QLatin1String(fd))) == QLatin1String("/dev/null"), fd);
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);
}

void TestProgram::versionIsTheSameEverywhere() {
    const QString metainfo = readText(QStringLiteral(ZT_SOURCE_DIR "/packaging/") + kId + ".metainfo.xml");
    const QRegularExpressionMatch release =
        QRegularExpression(R"re(<release version="([^"]+)" date="\d{4}-\d{2}-\d{2}")re").match(metainfo);
    QVERIFY2(release.hasMatch(), "the store description names no dated release");
    QCOMPARE(release.captured(1), version_);
    for (const char *page : {"zentolletto.6", "zentolletto.it.6"}) {
        const QString man = readText(QStringLiteral(ZT_SOURCE_DIR "/packaging/") + page);
        QVERIFY2(man.contains(QRegularExpression("^\\.TH ZENTOLLETTO 6 .*\"Zentolletto " + QRegularExpression::escape(version_) + "\"",
                                                 QRegularExpression::MultilineOption)),
                 qPrintable(QStringLiteral("the manual page %1 names another version").arg(page)));
    }
    const QString changelog = readText(QStringLiteral(ZT_SOURCE_DIR "/debian/changelog"));
    QVERIFY2(changelog.startsWith("zentolletto (" + version_ + ") "), "the Debian changelog names another version");
}

void TestProgram::installedTreeWorksWhereverItIsMoved() {
    QStringList expected{"bin/zentolletto",
                         "share/applications/" + kId + ".desktop",
                         "share/icons/hicolor/scalable/apps/" + kId + ".svg",
                         "share/man/it/man6/zentolletto.6.gz",
                         "share/man/man6/zentolletto.6.gz",
                         "share/metainfo/" + kId + ".metainfo.xml"};
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
    for (const QString &dir : {QStringLiteral("sounds"), QStringLiteral("music")})
        for (const QString &file : QDir(QStringLiteral(ZT_ASSETS_DIR "/") + dir).entryList(QDir::Files))
            expected << "share/games/zentolletto/" + dir + "/" + file;
    expected.sort();
    QCOMPARE(filesUnder(prefix_), expected);

    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(prefix_ + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.pixelColor(size / 2, size * 5 / 8).alpha() > 0); // drawn, not blank
    }

    const QString config = work_.filePath("home/.config");
    const Run help = run(prefix_ + "/bin/zentolletto", {"--help"}, {"XDG_CONFIG_HOME=" + config});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains(prefix_ + "/share/games/zentolletto/sounds") &&
                 help.out.contains(prefix_ + "/share/games/zentolletto/music") &&
                 help.out.contains(config + "/Zentolletto/speed.kdz"),
             qPrintable(help.out));
    QVERIFY(!help.out.section("Files:", 1).contains(prefix_ + "/bin"));
}

void TestProgram::settingsFolderByTheBaseDirectoryRules() {
    const QString program = prefix_ + "/bin/zentolletto";
    const QString home = work_.filePath("home");
    // A relative XDG_CONFIG_HOME is ignored, not taken from the working folder.
    const Run relative = run(program, {"--help"}, {"XDG_CONFIG_HOME=config", "HOME=" + home});
    QVERIFY2(relative.out.contains(" " + home + "/.config/Zentolletto/speed.kdz\n"), qPrintable(relative.out));
    // No HOME: the home folder the system knows for the user.
    const QString own = QDir::cleanPath(QFile::decodeName(getpwuid(geteuid())->pw_dir));
    const Run noHome = run(program, {"--help"}, {"XDG_CONFIG_HOME", "HOME"});
    const QString ownFile = QDir(own).filePath(".config/Zentolletto/speed.kdz");
    QVERIFY2(noHome.out.contains(" " + ownFile + "\n"), qPrintable(noHome.out));
}

void TestProgram::folderNameNotUtf8() {
    // A copy of the build tree's program, with its sounds, in a folder whose
    // name is no UTF-8: still the program that keeps everything beside itself.
    const Run r = run("sh", {"-c", "d=$(printf 'zt-\\377') && mkdir \"$d\" \"$d/sounds\" && cp \"$1\" \"$d/\" && "
                                  "\"$PWD/$d/zentolletto\" --help",
                             "sh", QStringLiteral(ZT_PROGRAM)},
                      {}, {}, work_.path());
    QCOMPARE(r.exitCode, 0);
    const QString files = r.out.section("Files:", 1);
    const QString settings = QRegularExpression("settings +(\\S+)").match(files).captured(1);
    QVERIFY2(!files.contains("share/zentolletto") && !settings.contains(".config"), qPrintable(files));
}

void TestProgram::desktopFilesPassTheirValidators() {
    const QString desktop = prefix_ + "/share/applications/" + kId + ".desktop";
    const QString metainfo = prefix_ + "/share/metainfo/" + kId + ".metainfo.xml";
    const QString entry = readText(desktop);
    QVERIFY(entry.contains("\nIcon=" + kId + "\n"));
    QVERIFY(entry.contains("\nCategories=Game;CardGame;\n"));
    for (const char *key : {"Name", "GenericName", "Comment", "Keywords"})
        QVERIFY2(entry.contains(QStringLiteral("\n%1=").arg(key)) && entry.contains(QStringLiteral("\n%1[it]=").arg(key)), key);
    const QString store = readText(metainfo);
    QVERIFY(store.contains("<summary xml:lang=\"it\">"));
    for (const QString &tag : {QStringLiteral("p"), QStringLiteral("li")})
        QCOMPARE(store.count("<" + tag + " xml:lang=\"it\">"), store.count("<" + tag + ">"));

    struct Check {
        QString tool;
        QStringList args;
    };
    const QList<Check> checks{{"desktop-file-validate", {desktop}},
                              {"appstreamcli", {"validate", "--pedantic", "--no-net", "--explain", metainfo}},
                              {"appstream-util", {"validate-strict", "--nonet", metainfo}},
                              {"groff", {"-man", "-ww", "-z", QStringLiteral(ZT_SOURCE_DIR "/packaging/zentolletto.6")}},
                              {"groff", {"-k", "-man", "-ww", "-z", QStringLiteral(ZT_SOURCE_DIR "/packaging/zentolletto.it.6")}}};
    QStringList missing;
    for (const Check &c : checks) {
        const QString tool = QStandardPaths::findExecutable(c.tool);
        if (tool.isEmpty()) {
            missing << c.tool;
            continue;
        }
        const Run r = run(tool, c.args);
        QVERIFY2(r.exitCode == 0, qPrintable(c.tool + " failed:\n" + r.out + r.err));
        // desktop-file-validate and groff say nothing when all is well.
        if (!c.tool.startsWith(QLatin1String("appstream"))) QVERIFY2(r.out.isEmpty() && r.err.isEmpty(), qPrintable(r.out + r.err));
    }
    // Software centres read the languages from the catalogue composed from
    // the package: one for every catalogue compiled into the program.
    if (QFile::exists(QStringLiteral("/usr/libexec/appstreamcli-compose"))) {
        const QString out = work_.filePath("swcatalog");
        const Run c = run("appstreamcli", {"compose", "--no-net", "--prefix=/", "--origin=zt", "--result-root=" + out, prefix_});
        QVERIFY2(c.exitCode == 0, qPrintable(c.out + c.err));
        const QString catalogue = run("gzip", {"-dc", out + "/share/swcatalog/xml/zt.xml.gz"}).out;
        const QStringList compiledIn = QDir(QStringLiteral(":/i18n")).entryList({"zentolletto_*.qm"});
        QVERIFY(!compiledIn.isEmpty());
        for (const QString &qm : compiledIn) {
            const QString lang = qm.section('_', 1).section('.', 0, 0);
            QVERIFY2(catalogue.contains("<lang percentage=\"100\">" + lang + "</lang>"), qPrintable(lang + " not declared:\n" + catalogue));
        }
    } else {
        missing << "appstreamcli compose";
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable("not installed, so not checked: " + missing.join(", ") +
                         " (tools/setup.sh installs them)"));
}

void TestProgram::debianPackageNamesWhatItNeeds() {
    // Building the package takes minutes; what it is made of is read here.
    const QString control = readText(QStringLiteral(ZT_SOURCE_DIR "/debian/control"));
    const auto field = [&control](const QString &name) {
        const QRegularExpression re("^" + name + R"(:\s*(.*(?:\n\s.*)*))", QRegularExpression::MultilineOption);
        return re.match(control).captured(1).simplified();
    };
    QCOMPARE(field("Section"), QStringLiteral("games"));
    QCOMPARE(field("Package"), QStringLiteral("zentolletto"));
    // The libraries the program links are found by dh_shlibdeps; what it loads
    // or reads at run time is not, nor the plugin for a Wayland desktop.
    const QString depends = field("Depends");
    for (const QString &need : {QStringLiteral("${shlibs:Depends}"), QStringLiteral("libsdl2-mixer-2.0-0"),
                                QStringLiteral("timgm6mb-soundfont")})
        QVERIFY2(depends.contains(need), qPrintable(need + " missing from Depends: " + depends));
    QVERIFY2(field("Recommends").contains("qt6-wayland"), qPrintable(field("Recommends")));
    // Debian's games policy: the program in /usr/games, and only the game built.
    const QString rules = readText(QStringLiteral(ZT_SOURCE_DIR "/debian/rules"));
    for (const QString &option : {QStringLiteral("-DCMAKE_INSTALL_BINDIR=games"), QStringLiteral("-DBUILD_TESTING=OFF")})
        QVERIFY2(rules.contains(option), qPrintable(option + " missing from debian/rules"));
}

QTEST_MAIN(TestProgram)
#include "test_program.moc"
