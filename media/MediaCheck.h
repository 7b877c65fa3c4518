#pragma once
// Reads a sound or song file only once it is known to be sane: a regular
// file under a size no real effect or song reaches, whose chunk headers
// promise no more than the file holds, and a sound that decodes to a
// bounded size. Anything else reads as no file.
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

// A sound is decoded for the device (44.1 kHz, 16-bit stereo) each time it
// opens, the rustle at every card. Few channels at a low rate grow many times
// over in that form, so the decoded size is bounded too, from the header: a
// file within the limit above at 44.1 kHz or more always fits.
constexpr int kDeviceRate = 44100;
constexpr int kDeviceFrameBytes = 4;
constexpr qint64 kMaxDecodedWaveBytes = 4 * kMaxWaveBytes;

qint64 maxMediaBytes(MediaKind kind);

// Walks the chunk headers (RIFF/WAVE or MThd/MTrk) without reading the bodies.
bool mediaLooksSane(QIODevice &in, MediaKind kind);

// The whole file, or empty when it is missing, not a regular file,
// unreadable, too large or malformed.
QByteArray readSaneMedia(const QString &path, MediaKind kind);

} // namespace zt
