// The settings reader against generated files: whatever the file holds, the
// program starts with a card speed it can use and a menu that tells the truth.
// Deterministic by seed (ZT_SEED); ZT_LONG_TESTS asks for the longer run.
#include "media/Options.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGraphicsScene>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <optional>
#include <random>

using namespace zt;

namespace {

// One generated file and what a correct reader must make of it.
struct Case {
    enum Expect { Speed, NoSpeed, Unknown } expect = Unknown;
    int speed = 0;           // for Speed
    QByteArray content;
    qint64 fieldEnd = -1;    // where the first field ends; -1 when unknown
    const char *what = "";
};

class Generator {
public:
    explicit Generator(quint64 seed) : rnd_(seed) {}

    Case next() {
        Case c;
        if (pick(20) == 0) return randomBytes();
        QByteArray head;
        if (pick(8) == 0) head += "\xEF\xBB\xBF";
        head += blanks();
        field(c);
        // A mark only counts as one at the very start of the file.
        if (c.content.startsWith("\xEF\xBB\xBF") && head.isEmpty()) head = "\n";
        c.fieldEnd = head.size() + c.content.size();
        c.content = head + c.content + separatorAndRest();
        return c;
    }

private:
    int pick(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rnd_)); }
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rnd_); }

    QByteArray blanks() {
        static const char *const runs[] = {" ", "\t", "\r\n", "\n", "\r"};
        QByteArray b;
        const int n = pick(10) == 0 ? between(1, 20000) : pick(4);
        for (int i = 0; i < n; ++i) b += runs[pick(5)];
        return b;
    }

    QByteArray separatorAndRest() {
        static const char *const seps[] = {" ", "\t", "\r\n", "\n", ",", "\r"};
        if (pick(6) == 0) return {}; // the file ends with the field
        QByteArray rest = seps[pick(6)];
        static const QByteArray tails[] = {"", " 3 \r\n", "8", ",,9", QByteArray("\x00\xff", 2), "abc\n 2 \n", " 5\r\n"};
        rest += tails[pick(7)];
        if (pick(50) == 0) rest += QByteArray(between(1, 200000), '7');
        return rest;
    }

    // A first field with a known meaning.
    void field(Case &c) {
        const int k = between(1, 10);
        const QByteArray ks = QByteArray::number(k);
        switch (pick(22)) {
        case 0: return speed(c, k, ks, "plain");
        case 1: return speed(c, k, "+" + ks, "signed");
        case 2: return speed(c, k, QByteArray(between(1, 30), '0') + ks, "leading zeros");
        case 3: return speed(c, k, ks + ".0", "float");
        case 4: return speed(c, k, ks + ".", "trailing point");
        case 5: {
            // Rounds to k from either side, never from a half.
            const int d = between(0, 9);
            if (d == 5) return speed(c, k, ks, "plain");
            if (d < 5) return speed(c, k, ks + "." + QByteArray::number(d), "rounded down");
            return speed(c, k, QByteArray::number(k - 1) + "." + QByteArray::number(d), "rounded up");
        }
        case 6: return speed(c, k, ks + "e0", "exponent");
        case 7: return speed(c, k, "0." + ks + "e" + QByteArray::number(ks.size()), "scaled");
        case 8:
            if (pick(40) == 0) return speed(c, k, QByteArray(between(1 << 20, 3 << 20), '0') + ks, "megabyte of zeros");
            return speed(c, k, ks, "plain");
        case 9: return none(c, QByteArray::number(between(11, 255)), "byte past the menu");
        case 10: return none(c, pick(2) ? "0" : "-0", "zero");
        case 11: return none(c, QByteArray::number(between(256, 1 << 30)), "past a byte");
        case 12: return none(c, "-" + QByteArray::number(between(1, 1 << 30)), "negative");
        case 13: return none(c, QByteArray::number(between(1, 9)) + "e" + QByteArray::number(between(3, 400)), "huge exponent");
        case 14: return none(c, pick(2) ? "0.4" : "-0.3", "rounds to zero");
        case 15: {
            static const char *const words[] = {"inf", "-inf", "nan", "NaN", "fast", "&H7", "7abc", "seven", "1,5"};
            const char *w = words[pick(9)];
            // "1,5" is a field "1" before the comma.
            if (QByteArray(w) == "1,5") return speed(c, 1, "1", "comma decimal");
            return none(c, w, "word");
        }
        case 16: return none(c, QByteArray("\x00", 1) + ks, "NUL before");
        case 17: return none(c, ks + QByteArray("\x00", 1), "NUL after");
        case 18: return none(c, "\xff\xfe" + ks, "invalid UTF-8");
        case 19: return none(c, pick(2) ? "\xEF\xBB\xBF" + ks : ks + "\xEF\xBB\xBF", "mark inside");
        case 20:
            if (pick(40) == 0) return none(c, QByteArray(between(1 << 20, 3 << 20), '9'), "megabyte of digits");
            return none(c, QByteArray(between(4, 400), '9'), "long digits");
        default: return none(c, ks + "." + ks + "." + ks, "two points");
        }
    }
    static void speed(Case &c, int k, const QByteArray &f, const char *what) {
        c.expect = Case::Speed, c.speed = k, c.content = f, c.what = what;
    }
    static void none(Case &c, const QByteArray &f, const char *what) {
        c.expect = Case::NoSpeed, c.content = f, c.what = what;
    }

    Case randomBytes() {
        Case c;
        c.what = "random bytes";
        const int n = pick(200);
        for (int i = 0; i < n; ++i) c.content += char(pick(256));
        return c;
    }

    std::mt19937_64 rnd_;
};

QByteArray shown(const QByteArray &content) {
    QByteArray s = content.left(60).toPercentEncoding(" +-.,");
    if (content.size() > 60) s += "...(" + QByteArray::number(content.size()) + " bytes)";
    return s;
}

quint64 envNumber(const char *name, quint64 fallback) {
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

} // namespace

class TestSettingsProperty : public QObject {
    Q_OBJECT
private slots:
    void anyFileGivesAUsableSpeed();
};

void TestSettingsProperty::anyFileGivesAUsableSpeed() {
    const quint64 seed = envNumber("ZT_SEED", 20261208);
    const int cases = int(envNumber("ZT_SETTINGS_CASES", qEnvironmentVariableIsSet("ZT_LONG_TESTS") ? 50000 : 10000));

    QTemporaryDir program, config;
    QGraphicsScene scene;
    QWidget menuParent;
    Elements e;
    buildElements(e, &scene, &menuParent);
    struct { Options::u8 cardSpeed = 0, playRate = 0; } s; // the game's fields
    Options options({s.cardSpeed, s.playRate}, e.menu, program.path(), config.path());
    const QString file = QDir(program.path()).filePath(QStringLiteral("speed.kdz"));

    Generator gen(seed);
    int speeds = 0, noSpeeds = 0;
    for (int n = 0; n < cases; ++n) {
        const Case c = gen.next();
        const QByteArray where = "seed " + QByteArray::number(seed) + ", case " + QByteArray::number(n) + " (" +
                                 c.what + "): " + shown(c.content);
        {
            // A new file each time: truncating one in place makes ext4 flush it.
            QFile::remove(file);
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QCOMPARE(f.write(c.content), qint64(c.content.size()));
        }
        // A fresh start: nothing checked, the defaults in force.
        for (int i = 1; i <= 10; ++i) e.menu.card_speed[i]->setChecked(false);
        s.cardSpeed = 0;
        options.setDefaults();
        options.readSettings();

        QList<int> checked;
        for (int i = 1; i <= 10; ++i)
            if (e.menu.card_speed[i]->isChecked()) checked << i;
        QVERIFY2(s.cardSpeed >= 1 && s.cardSpeed <= 10, where.constData());
        QVERIFY2(checked.size() <= 1, where.constData());
        if (checked.size() == 1) QVERIFY2(checked.first() == s.cardSpeed, where.constData());
        if (c.expect == Case::Speed) {
            ++speeds;
            QVERIFY2(s.cardSpeed == c.speed, where.constData());
            QVERIFY2(checked == QList<int>{c.speed}, where.constData());
        } else if (c.expect == Case::NoSpeed) {
            ++noSpeeds;
            QVERIFY2(s.cardSpeed == 4, where.constData());
            QVERIFY2(checked.isEmpty() || checked == QList<int>{4}, where.constData());
        }
        if (c.fieldEnd >= 0) {
            // Nothing past the first field is read.
            QBuffer buffer;
            buffer.setData(c.content);
            QVERIFY(buffer.open(QIODevice::ReadOnly));
            readSettingsFrom(buffer);
            QVERIFY2(buffer.pos() <= c.fieldEnd, where.constData());
        }
    }
    qInfo("%d generated files (seed %llu): %d with a speed, %d without, %d of random bytes", cases,
          static_cast<unsigned long long>(seed), speeds, noSpeeds, cases - speeds - noSpeeds);
    QVERIFY(speeds > cases / 4 && noSpeeds > cases / 4);
}

QTEST_MAIN(TestSettingsProperty)
#include "test_settings_property.moc"
