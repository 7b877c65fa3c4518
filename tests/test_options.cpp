// The card speed in its one-line settings file, the play rate, their menu marks.
#include "media/Options.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zt;

namespace {

// The menu as the window builds it, with the options over it.
struct OptionsMenu {
    Elements e; // outlives the scene, whose items point into it
    QGraphicsScene scene;
    QWidget menuParent;
    struct { Options::u8 cardSpeed = 0, playRate = 0; } s; // the game's fields
    Options options;

    OptionsMenu(const QString &programDir, const QString &configDir)
        : options({s.cardSpeed, s.playRate}, e.menu, programDir, configDir) {
        buildElements(e, &scene, &menuParent);
        options.setDefaults();
    }

    QList<int> checkedSpeeds() const {
        QList<int> on;
        for (int i = 1; i <= 10; ++i)
            if (e.menu.card_speed[i]->isChecked()) on << i;
        return on;
    }
    QList<int> checkedRates() const {
        QList<int> on;
        for (int i = 1; i <= 3; ++i)
            if (e.menu.velocita_gioco[i]->isChecked()) on << i;
        return on;
    }
};

// A file of one byte over and over, made as it is read.
class SameByte : public QIODevice {
public:
    SameByte(char byte, qint64 size) : byte_(byte), size_(size) {}
    bool isSequential() const override { return true; }
    bool atEnd() const override { return served >= size_; }
    qint64 served = 0;

protected:
    qint64 readData(char *data, qint64 max) override {
        const qint64 n = std::min(max, size_ - served);
        std::fill_n(data, n, byte_);
        served += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    char byte_;
    qint64 size_;
};

QByteArray contents(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll();
}

void write(const QString &path, const QByteArray &data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void parsing_data();
    void parsing();
    void readStopsAtTheFirstField();
    void formatting();
    void startUpRead_data();
    void startUpRead();
    void choosingCardSpeed();
    void choosingPlayRate();
    void unwritableProgramFolder();
    void writeKilledHalfWay();
    void linksAndSpecialFiles_data();
    void linksAndSpecialFiles();
    void twoInstancesWritingAtOnce();
};

void TestOptions::parsing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("value");
    QTest::newRow("written form") << QByteArray(" 4 \r\n") << int(SettingsRead::Number) << 4;
    QTest::newRow("bare") << QByteArray("10") << int(SettingsRead::Number) << 10;
    QTest::newRow("more lines") << QByteArray(" 7 \r\n 3 \r\nabc\n") << int(SettingsRead::Number) << 7;
    QTest::newRow("comma field") << QByteArray("5,9\r\n") << int(SettingsRead::Number) << 5;
    QTest::newRow("zero") << QByteArray("0\r\n") << int(SettingsRead::Number) << 0;
    QTest::newRow("byte top") << QByteArray("255") << int(SettingsRead::Number) << 255;
    QTest::newRow("past a byte") << QByteArray("300") << int(SettingsRead::Overflow) << 0;
    QTest::newRow("negative") << QByteArray("-2") << int(SettingsRead::Overflow) << 0;
    QTest::newRow("text") << QByteArray("fast\r\n") << int(SettingsRead::NotANumber) << 0;
    QTest::newRow("empty") << QByteArray() << int(SettingsRead::Missing) << 0;
    QTest::newRow("blank lines") << QByteArray(" \r\n\r\n") << int(SettingsRead::Missing) << 0;
    // The first number, whatever comes after it on its line.
    QTest::newRow("two numbers") << QByteArray(" 7 8") << int(SettingsRead::Number) << 7;
    QTest::newRow("tab then more") << QByteArray("7\t9\r\n") << int(SettingsRead::Number) << 7;
    QTest::newRow("comma") << QByteArray("7,8") << int(SettingsRead::Number) << 7;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF 6 \r\n") << int(SettingsRead::Number) << 6;
    QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << int(SettingsRead::Missing) << 0;
    QTest::newRow("mark not at the start") << QByteArray(" \xEF\xBB\xBF" "6") << int(SettingsRead::NotANumber) << 0;
    QTest::newRow("blank lines past 64 bytes")
        << QByteArray(" \r\n").repeated(40) + QByteArray("\t\n 9 \r\n") << int(SettingsRead::Number) << 9;
    QTest::newRow("blank lines past a chunk")
        << QByteArray("\n").repeated(100000) + QByteArray("3") << int(SettingsRead::Number) << 3;
    QTest::newRow("leading zeros") << QByteArray("0").repeated(10000) + "8" << int(SettingsRead::Number) << 8;
    QTest::newRow("long number") << QByteArray("1").repeated(10000) << int(SettingsRead::Overflow) << 0;
    QTest::newRow("nearest whole") << QByteArray("6.7") << int(SettingsRead::Number) << 7;
    QTest::newRow("number glued to text") << QByteArray("7abc") << int(SettingsRead::NotANumber) << 0;
}

void TestOptions::parsing() {
    QFETCH(QByteArray, content);
    QFETCH(int, kind);
    QFETCH(int, value);
    const SettingsRead r = parseSettings(content);
    QCOMPARE(int(r.kind), kind);
    QCOMPARE(r.value, value);
}

void TestOptions::readStopsAtTheFirstField() {
    // A huge file is never read whole: the reader leaves off where the field ends.
    const QByteArray head = QByteArray("\xEF\xBB\xBF") + QByteArray("\r\n").repeated(3000) + " 5";
    QBuffer buffer;
    buffer.setData(head + QByteArray(" ").repeated(8 << 20) + "9");
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const SettingsRead r = readSettingsFrom(buffer);
    QCOMPARE(int(r.kind), int(SettingsRead::Number));
    QCOMPARE(r.value, 5);
    QCOMPARE(buffer.pos(), qint64(head.size()));

    // 64 MiB of one byte: a field that can be no number is decided early, and
    // one that may still become one, or blanks, are read up to the limit.
    for (const char byte : {'\0', 'x', '0', ' '}) {
        SameByte file(byte, 64 << 20);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const SettingsRead r = readSettingsFrom(file);
        QCOMPARE(int(r.kind), byte == ' ' ? int(SettingsRead::Missing) : int(SettingsRead::Overflow));
        QVERIFY2(file.served <= kMaxSettingsRead, qPrintable(QString::number(file.served)));
    }
}

void TestOptions::formatting() {
    QCOMPARE(formatSettings(4), QByteArray(" 4 \r\n"));
    QCOMPARE(formatSettings(10), QByteArray(" 10 \r\n"));
    for (int speed = 1; speed <= 10; ++speed) {
        const SettingsRead r = parseSettings(formatSettings(speed));
        QCOMPARE(int(r.kind), int(SettingsRead::Number));
        QCOMPARE(r.value, speed);
    }
}

void TestOptions::startUpRead_data() {
    QTest::addColumn<QByteArray>("content"); // "<none>": no file; "<dir>": a folder by that name
    QTest::addColumn<int>("speed");
    QTest::addColumn<QList<int>>("checked");
    QTest::newRow("missing") << QByteArray("<none>") << 4 << QList<int>{4};
    QTest::newRow("7") << QByteArray("7") << 7 << QList<int>{7};
    QTest::newRow("7 then lines") << QByteArray(" 7 \r\n 2 \r\nhello\r\n") << 7 << QList<int>{7};
    QTest::newRow("10") << QByteArray(" 10 \r\n") << 10 << QList<int>{10};
    QTest::newRow("7 8") << QByteArray(" 7 8\r\n") << 7 << QList<int>{7};
    QTest::newRow("marked, after blank lines")
        << QByteArray("\xEF\xBB\xBF") + QByteArray("\r\n").repeated(200) + " 8 \r\n" << 8 << QList<int>{8};
    QTest::newRow("1") << QByteArray(" 1 \r\n") << 1 << QList<int>{1};
    // Not an entry of the menu: no mark, and the cards keep a speed they can use.
    QTest::newRow("0") << QByteArray("0") << 4 << QList<int>{};
    QTest::newRow("11") << QByteArray("11") << 4 << QList<int>{};
    QTest::newRow("300") << QByteArray("300") << 4 << QList<int>{4};
    QTest::newRow("text") << QByteArray("speedy\r\n") << 4 << QList<int>{4};
    QTest::newRow("empty") << QByteArray("") << 4 << QList<int>{4};
    QTest::newRow("folder") << QByteArray("<dir>") << 4 << QList<int>{4};
}

void TestOptions::startUpRead() {
    QFETCH(QByteArray, content);
    QFETCH(int, speed);
    QFETCH(QList<int>, checked);
    QTemporaryDir program, config;
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
    if (content == "<dir>")
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("speed.kdz")));
    else if (content != "<none>")
        write(file, content);

    OptionsMenu m(program.path(), config.path());
    m.options.readSettings();
    QCOMPARE(int(m.s.cardSpeed), speed);
    QCOMPARE(m.checkedSpeeds(), checked);
    QCOMPARE(int(m.s.playRate), 20);
    QCOMPARE(m.checkedRates(), QList<int>{2});
    // Reading never writes.
    if (content == "<none>") QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QDir(config.path()).isEmpty());
}

void TestOptions::choosingCardSpeed() {
    QTemporaryDir program, config;
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
    {
        OptionsMenu m(program.path(), config.path());
        m.options.readSettings();
        m.options.card_speed_Click(10);
        QCOMPARE(int(m.s.cardSpeed), 10);
        QCOMPARE(m.checkedSpeeds(), QList<int>{10});
        QCOMPARE(contents(file), QByteArray(" 10 \r\n"));
    }
    {
        OptionsMenu m(program.path(), config.path());
        m.options.readSettings();
        QCOMPARE(int(m.s.cardSpeed), 10);
        QCOMPARE(m.checkedSpeeds(), QList<int>{10});
        // The checked entry again: the same value is written anew.
        write(file, "junk");
        m.options.card_speed_Click(10);
        QCOMPARE(contents(file), QByteArray(" 10 \r\n"));
        QCOMPARE(m.checkedSpeeds(), QList<int>{10});
        m.options.card_speed_Click(3);
        QCOMPARE(contents(file), QByteArray(" 3 \r\n"));
        QCOMPARE(m.checkedSpeeds(), QList<int>{3});
    }
    QVERIFY(QDir(config.path()).isEmpty());
}

void TestOptions::choosingPlayRate() {
    QTemporaryDir program, config;
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
    {
        OptionsMenu m(program.path(), config.path());
        m.options.readSettings();
        for (int i : {1, 3, 3, 2, 1}) {
            m.options.velocita_gioco_Click(i);
            QCOMPARE(int(m.s.playRate), i * 10);
            QCOMPARE(m.checkedRates(), QList<int>{i});
        }
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(m.checkedSpeeds(), QList<int>{4});
        write(file, " 6 \r\n");
        m.options.velocita_gioco_Click(3);
        QCOMPARE(contents(file), QByteArray(" 6 \r\n"));
    }
    // The next run is back at Middle.
    OptionsMenu m(program.path(), config.path());
    m.options.readSettings();
    QCOMPARE(int(m.s.playRate), 20);
    QCOMPARE(m.checkedRates(), QList<int>{2});
    QVERIFY(QDir(config.path()).isEmpty());
}

void TestOptions::unwritableProgramFolder() {
    // A folder under a regular file cannot be made, not even by root.
    QTemporaryDir tmp;
    const QString afile = QDir(tmp.path()).filePath(QStringLiteral("afile"));
    write(afile, "not a folder");
    const QString program = afile + QStringLiteral("/sub");
    const QString config = QDir(tmp.path()).filePath(QStringLiteral("config/zentolletto"));
    const QString configFile = QDir(config).filePath(QStringLiteral("speed.kdz"));
    {
        OptionsMenu m(program, config);
        m.options.readSettings();
        QCOMPARE(int(m.s.cardSpeed), 4);
        m.options.card_speed_Click(9);
        QCOMPARE(int(m.s.cardSpeed), 9);
        QCOMPARE(m.checkedSpeeds(), QList<int>{9});
        QCOMPARE(contents(configFile), QByteArray(" 9 \r\n"));
        QCOMPARE(contents(afile), QByteArray("not a folder"));
    }
    {
        OptionsMenu m(program, config);
        m.options.readSettings();
        QCOMPARE(int(m.s.cardSpeed), 9);
        QCOMPARE(m.checkedSpeeds(), QList<int>{9});
    }

    // Once the program folder takes the file again, the stale copy goes.
    QTemporaryDir writable;
    const QString programFile = QDir(writable.path()).filePath(QStringLiteral("speed.kdz"));
    {
        OptionsMenu m(writable.path(), config);
        m.options.readSettings();
        QCOMPARE(int(m.s.cardSpeed), 9); // only the config folder has a file yet
        m.options.card_speed_Click(2);
        QCOMPARE(contents(programFile), QByteArray(" 2 \r\n"));
        QVERIFY(!QFileInfo::exists(configFile));
    }
    OptionsMenu m(writable.path(), config);
    m.options.readSettings();
    QCOMPARE(int(m.s.cardSpeed), 2);
    QCOMPARE(m.checkedSpeeds(), QList<int>{2});
}

namespace {

// The settings folder's entries, so leftovers beside the file show up.
QStringList entries(const QString &dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

void TestOptions::writeKilledHalfWay() {
    // The kernel stops the writer after two bytes of the new line: a process
    // killed in the middle of saving, at a point it cannot choose. Then a
    // full disk: every write fails and the program goes on.
    for (const bool killed : {true, false}) {
        QTemporaryDir program, config;
        const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
        write(file, " 3 \r\n");
        OptionsMenu m(program.path(), config.path());
        m.options.readSettings();
        const pid_t child = fork();
        if (child == 0) {
            const rlimit noCore{0, 0}, limit{killed ? 2u : 0u, killed ? 2u : 0u};
            setrlimit(RLIMIT_CORE, &noCore);
            if (!killed) std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &limit);
            m.options.card_speed_Click(9);
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        if (killed)
            QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ, "the write was not cut short");
        else
            QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "a failed write ended the program");

        QCOMPARE(entries(program.path()), QStringList{QStringLiteral("speed.kdz")});
        QCOMPARE(contents(file), QByteArray(" 3 \r\n"));
        QVERIFY(QDir(config.path()).isEmpty());
        OptionsMenu next(program.path(), config.path());
        next.options.readSettings();
        QCOMPARE(int(next.s.cardSpeed), 3);
        QCOMPARE(next.checkedSpeeds(), QList<int>{3});
    }
}

void TestOptions::linksAndSpecialFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("writtenThrough");
    QTest::newRow("link to a file of the user's") << "own file" << true;
    QTest::newRow("link to a fifo") << "fifo" << false;
    QTest::newRow("link to nothing") << "nothing" << false;
    QTest::newRow("link to another user's file") << "other's file" << false;
    QTest::newRow("a fifo in its place") << "fifo here" << false;
}

// A speed.kdz that is not a plain file: the link is kept and only a regular
// file of the user's is written through it; anything else stays as it was,
// and the user's configuration folder takes the speed.
void TestOptions::linksAndSpecialFiles() {
    QFETCH(QString, kind);
    QFETCH(bool, writtenThrough);
    QTemporaryDir program, config, elsewhere;
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
    const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("target"));
    const QByteArray targetName = QFile::encodeName(target);
    if (kind == QLatin1String("fifo") || kind == QLatin1String("fifo here")) {
        QVERIFY(mkfifo(QFile::encodeName(kind == QLatin1String("fifo") ? target : file).constData(), 0600) == 0);
    } else if (kind != QLatin1String("nothing")) {
        write(target, "notes");
        if (kind == QLatin1String("other's file")) {
            if (geteuid() != 0) QSKIP("only root can give a file to another user");
            QVERIFY(chown(targetName.constData(), 65534, 65534) == 0);
        }
    }
    if (kind != QLatin1String("fifo here")) QVERIFY(QFile::link(target, file));
    OptionsMenu m(program.path(), config.path());
    m.options.card_speed_Click(9);

    QFileInfo here(file);
    QCOMPARE(here.isSymLink(), kind != QLatin1String("fifo here"));
    struct stat st;
    const bool targetExists = lstat(targetName.constData(), &st) == 0;
    QCOMPARE(targetExists, kind != QLatin1String("nothing") && kind != QLatin1String("fifo here"));
    if (kind == QLatin1String("fifo")) QVERIFY(S_ISFIFO(st.st_mode));
    if (kind == QLatin1String("fifo here"))
        QVERIFY(lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    if (kind.endsWith(QLatin1String("file")))
        QCOMPARE(contents(target), writtenThrough ? QByteArray(" 9 \r\n") : QByteArray("notes"));
    const QString configFile = QDir(config.path()).filePath(QStringLiteral("speed.kdz"));
    QCOMPARE(contents(configFile), writtenThrough ? QByteArray("<missing>") : QByteArray(" 9 \r\n"));
    QCOMPARE(entries(program.path()), QStringList{QStringLiteral("speed.kdz")});
}

void TestOptions::twoInstancesWritingAtOnce() {
    QTemporaryDir program, config;
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));
    write(file, " 5 \r\n");
    OptionsMenu m(program.path(), config.path());
    m.options.readSettings();

    // Two programs choosing speeds over and over at the same moment, while
    // a third starts up again and again.
    std::vector<pid_t> children;
    for (int speed : {2, 7}) {
        const pid_t child = fork();
        if (child == 0) {
            for (int i = 0; i < 150; ++i) m.options.card_speed_Click(speed);
            _exit(0);
        }
        children.push_back(child);
    }
    int reads = 0;
    QSet<int> seen;
    bool running = true;
    while (running) {
        running = false;
        for (pid_t c : children) running |= waitpid(c, nullptr, WNOHANG) == 0;
        OptionsMenu reader(program.path(), config.path());
        reader.options.readSettings();
        seen << reader.s.cardSpeed;
        QCOMPARE(reader.checkedSpeeds(), QList<int>{reader.s.cardSpeed});
        ++reads;
    }
    for (pid_t c : children) waitpid(c, nullptr, 0);
    QVERIFY(reads > 0);
    for (int v : seen) QVERIFY2(v == 2 || v == 5 || v == 7, qPrintable(QString::number(v)));
    const QByteArray last = contents(file);
    QVERIFY2(last == " 2 \r\n" || last == " 7 \r\n", last.constData());
    QCOMPARE(entries(program.path()), QStringList{QStringLiteral("speed.kdz")});
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
