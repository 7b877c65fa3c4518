#include "media/MediaCheck.h"

#include "media/RegularFile.h"

#include <QFile>
#include <QtEndian>

namespace zt {

namespace {

// Enough for any real file; bounds the walk over a file of tiny chunks.
constexpr int kMaxChunks = 4096;

struct ChunkHeader {
    QByteArray id;
    quint32 size = 0;
};

bool readHeader(QIODevice &in, qint64 at, bool bigEndian, ChunkHeader &h) {
    char raw[8];
    if (!in.seek(at) || in.read(raw, 8) != 8) return false;
    h.id = QByteArray(raw, 4);
    h.size = bigEndian ? qFromBigEndian<quint32>(raw + 4) : qFromLittleEndian<quint32>(raw + 4);
    return true;
}

bool waveLooksSane(QIODevice &in) {
    const qint64 total = in.size();
    ChunkHeader riff;
    if (!readHeader(in, 0, false, riff) || riff.id != "RIFF") return false;
    if (qint64(riff.size) + 8 > total || riff.size < 4) return false;
    if (in.read(4) != "WAVE") return false;
    const qint64 end = qint64(riff.size) + 8;
    bool haveFormat = false;
    quint16 channels = 0, bits = 0;
    quint32 rate = 0;
    qint64 at = 12;
    for (int n = 0; n < kMaxChunks && at + 8 <= end; ++n) {
        ChunkHeader c;
        if (!readHeader(in, at, false, c)) return false;
        const qint64 body = at + 8;
        if (body + qint64(c.size) > end) return false;
        if (c.id == "fmt ") {
            if (c.size < 16) return false;
            const QByteArray f = in.read(16);
            if (f.size() != 16) return false;
            channels = qFromLittleEndian<quint16>(f.constData() + 2);
            rate = qFromLittleEndian<quint32>(f.constData() + 4);
            bits = qFromLittleEndian<quint16>(f.constData() + 14);
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || bits < 4 || bits > 64) return false;
            haveFormat = true;
        } else if (c.id == "data") {
            if (!haveFormat || c.size == 0) return false;
            const qint64 frames = qint64(c.size) * 8 / (channels * bits);
            return frames * kDeviceRate / rate * kDeviceFrameBytes <= kMaxDecodedWaveBytes;
        }
        at = body + qint64(c.size) + (c.size & 1);
    }
    return false;
}

bool midiLooksSane(QIODevice &in) {
    const qint64 total = in.size();
    ChunkHeader head;
    if (!readHeader(in, 0, true, head) || head.id != "MThd") return false;
    if (head.size < 6 || 8 + qint64(head.size) > total) return false;
    const QByteArray h = in.read(6);
    if (h.size() != 6) return false;
    const quint16 format = qFromBigEndian<quint16>(h.constData());
    const quint16 tracks = qFromBigEndian<quint16>(h.constData() + 2);
    const quint16 division = qFromBigEndian<quint16>(h.constData() + 4);
    if (format > 2 || tracks < 1 || division == 0 || (format == 0 && tracks != 1)) return false;
    int found = 0;
    qint64 at = 8 + qint64(head.size);
    for (int n = 0; n < kMaxChunks && found < tracks; ++n) {
        ChunkHeader c;
        if (!readHeader(in, at, true, c)) return false;
        const qint64 next = at + 8 + qint64(c.size);
        if (next > total) return false;
        if (c.id == "MTrk") {
            if (c.size < 3) return false; // not even an end-of-track event
            ++found;
        }
        at = next;
    }
    return found == tracks;
}

} // namespace

qint64 maxMediaBytes(MediaKind kind) { return kind == MediaKind::Wave ? kMaxWaveBytes : kMaxMidiBytes; }

bool mediaLooksSane(QIODevice &in, MediaKind kind) {
    if (!in.isOpen() || in.isSequential() || in.size() > maxMediaBytes(kind)) return false;
    return kind == MediaKind::Wave ? waveLooksSane(in) : midiLooksSane(in);
}

QByteArray readSaneMedia(const QString &path, MediaKind kind) {
    QFile f;
    if (!openRegularFile(f, path) || f.size() <= 0 || !mediaLooksSane(f, kind) || !f.seek(0)) return {};
    const QByteArray bytes = f.read(maxMediaBytes(kind));
    return bytes.size() == f.size() ? bytes : QByteArray();
}

} // namespace zt
