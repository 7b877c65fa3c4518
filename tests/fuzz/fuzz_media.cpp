// The header walk a sound or song passes before SDL sees it, as a WAV file
// and as a MIDI file: it ends and reads nothing outside the file.
#include "media/MediaCheck.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QBuffer file;
    file.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    zt::mediaLooksSane(file, zt::MediaKind::Wave);
    zt::mediaLooksSane(file, zt::MediaKind::Midi);
    return 0;
}
