#pragma once
// Small sound and song files made on the spot, and a way to put them where
// the program looks.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QtEndian>

namespace zt::test {

inline QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

inline QByteArray le16(quint16 v) {
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

// A MIDI file of one short note: a song that ends within a fraction of a second.
inline QByteArray shortMidi() {
    const QByteArray track = QByteArray::fromHex("00903c64" "30803c00" "00ff2f00");
    QByteArray f = QByteArray::fromHex("4d546864000000060000000100") + char(96);
    f += QByteArray::fromHex("4d54726b") + QByteArray::fromHex("0000000c") + track;
    return f;
}

// The header of a mono 16-bit wave whose samples follow: samples bytes of them.
inline QByteArray waveHeader(quint32 samples) {
    return "RIFF" + le32(36 + samples) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(44100) + le32(88200) +
           le16(2) + le16(16) + "data" + le32(samples);
}

inline QByteArray shortWave() {
    const int n = 2205; // 50 ms at 44.1 kHz, mono 16-bit
    QByteArray pcm;
    for (int i = 0; i < n; ++i) pcm += le16(quint16(qint16((i % 100 < 50) ? 8000 : -8000)));
    return waveHeader(quint32(pcm.size())) + pcm;
}

inline void writeFile(const QString &path, const QByteArray &data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(data), data.size());
}

} // namespace zt::test
