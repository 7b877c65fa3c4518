// The program as a person runs it from a shell, and as it installs: options
// that need no display, the installed tree and its desktop files.
#include <QDir>
#include <QDirIterator>
#include <QImage>
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

// Runs a command with no display at all, as from a text console or ssh;
// inChild runs in the child before the program starts.
Run run(const QString &program, const QStringList &args, const QStringList &extraEnv = {},
        const std::function<void()> &inChild = {}, const QString &workingDir = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
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
    void noDisplayEndsWithOneLine_data();
    void noDisplayEndsWithOneLine();
    void tooFewResourcesEndWithOneLine_data();
    void tooFewResourcesEndWithOneLine();
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
    QCOMPARE(version.out, "Zentolletto " + version_ + "\n");
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

void TestProgram::noDisplayEndsWithOneLine_data() {
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<bool>("stderrUnread");
    QTest::newRow("no DISPLAY") << QStringList{} << false;
    QTest::newRow("a dead one") << QStringList{"DISPLAY=:4711"} << false;
    // Output that nobody reads must not end the program by a signal.
    QTest::newRow("stderr unread") << QStringList{} << true;
}

void TestProgram::noDisplayEndsWithOneLine() {
    QFETCH(QStringList, env);
    QFETCH(bool, stderrUnread);
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
    if (!stderrUnread) QVERIFY2(r.err.count('\n') == 1 && r.err.contains("display"), qPrintable(r.err));
}

void TestProgram::tooFewResourcesEndWithOneLine_data() {
    QTest::addColumn<int>("resource");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("named");
    QTest::newRow("ulimit -n 12") << int(RLIMIT_NOFILE) << 12 << "ulimit -n 12";
    QTest::newRow("ulimit -v 300000") << int(RLIMIT_AS) << 300000 * 1024 << "ulimit -v 300000";
}

// Qt hangs or GLib stops the process with too few descriptors or too little
// address space; the program ends first, saying why. (Here without a display,
// where it would abort otherwise; with one it hangs.)
void TestProgram::tooFewResourcesEndWithOneLine() {
    QFETCH(int, resource);
    QFETCH(int, limit);
    QFETCH(QString, named);
#if defined(__SANITIZE_ADDRESS__)
    if (resource == RLIMIT_AS) QSKIP("the address sanitizer's shadow memory does not fit any address space limit");
#endif
    const Run r = run(QStringLiteral(ZT_PROGRAM), {}, {}, [resource, limit] {
        const rlimit l{rlim_t(limit), rlim_t(limit)};
        setrlimit(resource, &l);
    });
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.err.count('\n') == 1 && r.err.contains(named), qPrintable(r.err));
}

void TestProgram::versionIsTheSameEverywhere() {
    const QString metainfo = readText(QStringLiteral(ZT_SOURCE_DIR "/packaging/") + kId + ".metainfo.xml");
    const QRegularExpressionMatch release =
        QRegularExpression(R"re(<release version="([^"]+)" date="\d{4}-\d{2}-\d{2}")re").match(metainfo);
    QVERIFY2(release.hasMatch(), "the store description names no dated release");
    QCOMPARE(release.captured(1), version_);
    const QString man = readText(QStringLiteral(ZT_SOURCE_DIR "/packaging/zentolletto.6"));
    QVERIFY2(man.contains(QRegularExpression("^\\.TH ZENTOLLETTO 6 .*\"Zentolletto " + QRegularExpression::escape(version_) + "\"",
                                             QRegularExpression::MultilineOption)),
             "the manual page names another version");
}

void TestProgram::installedTreeWorksWhereverItIsMoved() {
    QStringList expected{"bin/zentolletto",
                         "share/applications/" + kId + ".desktop",
                         "share/icons/hicolor/scalable/apps/" + kId + ".svg",
                         "share/man/man6/zentolletto.6.gz",
                         "share/metainfo/" + kId + ".metainfo.xml"};
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        expected << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId);
    for (const QString &dir : {QStringLiteral("sounds"), QStringLiteral("music")})
        for (const QString &file : QDir(QStringLiteral(ZT_ASSETS_DIR "/") + dir).entryList(QDir::Files))
            expected << "share/zentolletto/" + dir + "/" + file;
    expected.sort();
    QCOMPARE(filesUnder(prefix_), expected);

    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(prefix_ + QStringLiteral("/share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kId));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.pixelColor(size / 2, size * 5 / 8).alpha() > 0); // drawn, not blank
    }

    const QString config = work_.filePath("home/.config");
    const Run help = run(prefix_ + "/bin/zentolletto", {"--help"}, {"XDG_CONFIG_HOME=" + config});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains(prefix_ + "/share/zentolletto/sounds") &&
                 help.out.contains(prefix_ + "/share/zentolletto/music") &&
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
    QVERIFY(entry.contains("\nName[it]=") && entry.contains("\nComment[it]="));

    struct Check {
        QString tool;
        QStringList args;
    };
    const QList<Check> checks{{"desktop-file-validate", {desktop}},
                              {"appstreamcli", {"validate", "--no-net", "--explain", metainfo}},
                              {"groff", {"-man", "-ww", "-z", QStringLiteral(ZT_SOURCE_DIR "/packaging/zentolletto.6")}}};
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
        if (c.tool != QLatin1String("appstreamcli")) QVERIFY2(r.out.isEmpty() && r.err.isEmpty(), qPrintable(r.out + r.err));
    }
    if (!missing.isEmpty())
        QSKIP(qPrintable("not installed, so not checked: " + missing.join(", ") +
                         " (tools/setup.sh installs them)"));
}

void TestProgram::debianPackageNamesWhatItNeeds() {
    for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (package dpkg-dev; tools/setup.sh installs it)").arg(tool)));
    const QString out = work_.filePath("deb");
    const Run pack = run(QStringLiteral(ZT_CPACK), {"--config", ZT_BUILD_DIR "/CPackConfig.cmake", "-G", "DEB", "-B", out,
                                                  "-D", "CPACK_PACKAGING_INSTALL_PREFIX=/usr"});
    QVERIFY2(pack.exitCode == 0, qPrintable(pack.out + pack.err));
    const QStringList debs = QDir(out).entryList({"zentolletto_" + version_ + "_*.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    const QString deb = QDir(out).filePath(debs.constFirst());

    const Run fields = run("dpkg-deb", {"--field", deb, "Package", "Section", "Depends"});
    QCOMPARE(fields.exitCode, 0);
    QVERIFY2(fields.out.contains("Package: zentolletto\n") && fields.out.contains("Section: games\n"), qPrintable(fields.out));
    const QString depends = fields.out.section("Depends:", 1);
    // Computed from the program's libraries, plus what it loads or reads at run time.
    for (const QString &need : {QStringLiteral("libqt6widgets6"), QStringLiteral("libqt6svg6"), QStringLiteral("libc6"),
                                QStringLiteral("libsdl2-mixer-2.0-0"), QStringLiteral("timgm6mb-soundfont")})
        QVERIFY2(depends.contains(need), qPrintable(need + " missing from Depends:" + depends));

    const Run list = run("dpkg-deb", {"--contents", deb});
    QCOMPARE(list.exitCode, 0);
    for (const QString &file : {QStringLiteral("./usr/bin/zentolletto"), QStringLiteral("./usr/share/zentolletto/music/tresquo.mid"),
                                "./usr/share/applications/" + kId + ".desktop"})
        QVERIFY2(list.out.contains(" " + file + "\n"), qPrintable(file + " not packed"));
    QVERIFY2(!list.out.contains("/usr/local/"), "packed for another prefix");
}

QTEST_MAIN(TestProgram)
#include "test_program.moc"
