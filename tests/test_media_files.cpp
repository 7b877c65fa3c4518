// Checks the shipped sound effects and music the way the program loads them.

#include <QtTest>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

QByteArray readAsset(const QString &relative)
{
    QFile file(QStringLiteral(ZT_ASSETS_DIR "/") + relative);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

quint32 le32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}

quint16 le16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint16(p[0] | (p[1] << 8));
}

quint32 be32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return (quint32(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

quint16 be16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const uchar *>(b.constData() + at);
    return quint16((p[0] << 8) | p[1]);
}

struct Wave {
    QString error;
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    double seconds = 0;
    int peak = 0;
};

Wave parseWave(const QByteArray &b)
{
    Wave w;
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE") {
        w.error = QStringLiteral("not RIFF/WAVE");
        return w;
    }
    bool haveFmt = false;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = le32(b, at + 4);
        const qsizetype body = at + 8;
        if (body + size > b.size()) {
            w.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return w;
        }
        if (id == "fmt " && size >= 16) {
            haveFmt = true;
            w.format = le16(b, body);
            w.channels = le16(b, body + 2);
            w.rate = int(le32(b, body + 4));
            w.bits = le16(b, body + 14);
        } else if (id == "data") {
            if (!haveFmt || w.format != 1 || w.bits != 16 || w.channels < 1 || w.rate <= 0) {
                w.error = QStringLiteral("data before a 16-bit PCM format chunk");
                return w;
            }
            const qsizetype frames = size / (2 * w.channels);
            w.seconds = double(frames) / w.rate;
            for (qsizetype i = 0; i + 1 < size; i += 2)
                w.peak = std::max(w.peak, std::abs(int(qint16(le16(b, body + i)))));
            return w;
        }
        at = body + size + (size & 1);
    }
    w.error = QStringLiteral("no data chunk");
    return w;
}

struct Midi {
    QString error;
    int format = -1;
    int tracks = 0;
    double seconds = 0;
};

bool readVarLen(const QByteArray &b, qsizetype &at, qsizetype end, quint32 &value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end)
            return false;
        const uchar c = uchar(b[at++]);
        value = (value << 7) | (c & 0x7f);
        if (!(c & 0x80))
            return true;
    }
    return false;
}

// Walks every event so that a corrupt track is caught, and times the song
// from the tempo map, as a player would.
Midi parseMidi(const QByteArray &b)
{
    Midi m;
    if (b.size() < 14 || !b.startsWith("MThd") || be32(b, 4) < 6) {
        m.error = QStringLiteral("no MThd header");
        return m;
    }
    m.format = be16(b, 8);
    const int declared = be16(b, 10);
    const int division = be16(b, 12);
    if (m.format > 2 || declared < 1 || division == 0) {
        m.error = QStringLiteral("bad header values");
        return m;
    }
    QList<QPair<quint64, quint32>> tempos; // tick, microseconds per quarter
    quint64 lastTick = 0;
    qsizetype at = 8 + be32(b, 4);
    while (at + 8 <= b.size() && m.tracks < declared) {
        if (b.mid(at, 4) != "MTrk") {
            m.error = QStringLiteral("chunk %1 is not MTrk").arg(m.tracks);
            return m;
        }
        const qsizetype end = at + 8 + be32(b, at + 4);
        if (end > b.size()) {
            m.error = QStringLiteral("track %1 runs past the end").arg(m.tracks);
            return m;
        }
        qsizetype p = at + 8;
        quint64 tick = 0;
        uchar status = 0;
        bool ended = false;
        while (p < end && !ended) {
            quint32 delta = 0;
            if (!readVarLen(b, p, end, delta) || p >= end)
                break;
            tick += delta;
            uchar c = uchar(b[p]);
            if (c == 0xff) {
                if (p + 2 > end)
                    break;
                const uchar type = uchar(b[p + 1]);
                p += 2;
                quint32 len = 0;
                if (!readVarLen(b, p, end, len) || p + len > end)
                    break;
                if (type == 0x51 && len == 3)
                    tempos.append({tick, (quint32(uchar(b[p])) << 16) | (uchar(b[p + 1]) << 8) | uchar(b[p + 2])});
                if (type == 0x2f)
                    ended = true;
                p += len;
            } else if (c == 0xf0 || c == 0xf7) {
                ++p;
                quint32 len = 0;
                if (!readVarLen(b, p, end, len) || p + len > end)
                    break;
                p += len;
            } else {
                if (c & 0x80) {
                    status = c;
                    ++p;
                } else if (!status) {
                    break; // running status with nothing to run on
                }
                const int kind = status & 0xf0;
                const int bytes = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
                if (status >= 0xf0 || p + bytes > end)
                    break;
                p += bytes;
            }
        }
        if (!ended || p != end) {
            m.error = QStringLiteral("track %1 does not close with end-of-track").arg(m.tracks);
            return m;
        }
        lastTick = std::max(lastTick, tick);
        ++m.tracks;
        at = end;
    }
    if (m.tracks != declared) {
        m.error = QStringLiteral("header declares %1 tracks, found %2").arg(declared).arg(m.tracks);
        return m;
    }
    if (division & 0x8000) {
        const int fps = 256 - (division >> 8);
        m.seconds = double(lastTick) / (fps * (division & 0xff));
        return m;
    }
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    double seconds = 0;
    quint64 from = 0;
    quint32 us = 500000; // 120 beats a minute until told otherwise
    for (const auto &[tick, tempo] : std::as_const(tempos)) {
        if (tick >= lastTick)
            break;
        seconds += double(tick - from) * us / division / 1e6;
        from = tick;
        us = tempo;
    }
    m.seconds = seconds + double(lastTick - from) * us / division / 1e6;
    return m;
}

QByteArray track(const QByteArray &events)
{
    QByteArray t("MTrk");
    const quint32 n = quint32(events.size());
    t.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    return t + events;
}

QByteArray smf(const QList<QByteArray> &tracks)
{
    QByteArray h("MThd\0\0\0\x06\0\x01\0", 11);
    h.append(char(tracks.size())).append("\x01\xe0", 2); // 480 per quarter
    for (const QByteArray &t : tracks)
        h += track(t);
    return h;
}

} // namespace

class TestMediaFiles : public QObject
{
    Q_OBJECT

private slots:
    void midiReader();
    void soundEffect_data();
    void soundEffect();
    void music_data();
    void music();
};

// The reader must be trusted before it judges the shipped files.
void TestMediaFiles::midiReader()
{
    // 960 ticks at 120 bpm, then 480 ticks at 60 bpm: two seconds.
    const QByteArray conductor("\x00\xff\x51\x03\x07\xa1\x20"
                               "\x87\x40\xff\x51\x03\x0f\x42\x40"
                               "\x83\x60\xff\x2f\x00", 20);
    // Running status: the second note-on omits its status byte.
    const QByteArray notes("\x00\x90\x3c\x64" "\x00\x40\x64"
                           "\x87\x40\x80\x3c\x00" "\x00\x40\x00"
                           "\x00\xff\x2f\x00", 19);
    Midi ok = parseMidi(smf({conductor, notes}));
    QVERIFY2(ok.error.isEmpty(), qPrintable(ok.error));
    QCOMPARE(ok.tracks, 2);
    QVERIFY(std::abs(ok.seconds - 2.0) < 1e-9);

    QByteArray unterminated = notes;
    unterminated.chop(4);
    QVERIFY(!parseMidi(smf({conductor, unterminated})).error.isEmpty());

    QByteArray missingTrack = smf({conductor, notes});
    missingTrack.truncate(missingTrack.size() - track(notes).size());
    QVERIFY(!parseMidi(missingTrack).error.isEmpty());

    QVERIFY(!parseMidi(QByteArray("RIFF\0\0\0\0WAVE", 12)).error.isEmpty());
}

void TestMediaFiles::soundEffect_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"carta.wav", "notify.wav", "liscio.wav"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMediaFiles::soundEffect()
{
    QFETCH(QString, file);
    const QByteArray bytes = readAsset(QStringLiteral("sounds/") + file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file + QStringLiteral(" is missing")));
    const Wave w = parseWave(bytes);
    QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
    QCOMPARE(w.format, 1);
    QCOMPARE(w.bits, 16);
    QVERIFY(w.rate == 22050 || w.rate == 44100);
    QVERIFY2(w.seconds > 0.05 && w.seconds < 1.5, qPrintable(QString::number(w.seconds)));
    // Audible, but with headroom: a full-scale sample means clipping.
    QVERIFY2(w.peak > 3000, qPrintable(QString::number(w.peak)));
    QVERIFY2(w.peak < 32000, qPrintable(QString::number(w.peak)));
}

void TestMediaFiles::music_data()
{
    QTest::addColumn<QString>("file");
    for (const char *name : {"tresquo.mid", "Humanoid.MID", "Impact.MID", "Go4yrgun.MID",
                             "Sevilana.MID", "Bugs.MID", "Astro.MID", "Champion.MID",
                             "Champs.MID", "Easycity.MID", "Fastlane.MID", "Lastday.MID"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestMediaFiles::music()
{
    QFETCH(QString, file);
    const QByteArray bytes = readAsset(QStringLiteral("music/") + file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file + QStringLiteral(" is missing")));
    const Midi m = parseMidi(bytes);
    QVERIFY2(m.error.isEmpty(), qPrintable(m.error));
    QVERIFY(m.format == 0 || m.format == 1);
    QVERIFY2(m.seconds >= 45.0, qPrintable(QString::number(m.seconds)));
}

QTEST_MAIN(TestMediaFiles)
#include "test_media_files.moc"
