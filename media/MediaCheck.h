#pragma once
// Reads a sound or song file only once it is known to be sane: a regular
// file under a size no real effect or song reaches, whose chunk headers
// promise no more than the file holds. Anything else reads as no file.
#include <QByteArray>
#include <QString>

class QIODevice;

namespace zt {

enum class MediaKind { Wave, Midi };

// The longest sound effect is under two seconds (about 350 KB at CD quality);
// the longest song about 25 KB. The limits leave room for richer replacements
// while keeping a stray huge file from being read into memory.
constexpr qint64 kMaxWaveBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxMidiBytes = 1024 * 1024;

qint64 maxMediaBytes(MediaKind kind);

// Walks the chunk headers (RIFF/WAVE or MThd/MTrk) without reading the bodies.
bool mediaLooksSane(QIODevice &in, MediaKind kind);

// The whole file, or empty when it is missing, not a regular file,
// unreadable, too large or malformed.
QByteArray readSaneMedia(const QString &path, MediaKind kind);

} // namespace zt
