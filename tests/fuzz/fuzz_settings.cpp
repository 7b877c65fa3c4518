// The settings file reader: whatever the file holds, it ends, reads no more
// than its limit, takes only a byte for a number, and what the program
// writes reads back as itself.
#include "media/SettingsFormat.h"

#include <QBuffer>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QBuffer file;
    file.setData(reinterpret_cast<const char *>(data), qsizetype(size));
    file.open(QIODevice::ReadOnly);
    const zt::SettingsRead read = zt::readSettingsFrom(file);
    if (file.pos() > zt::kMaxSettingsRead) std::abort();
    if (read.kind != zt::SettingsRead::Number) return 0;
    if (read.value < 0 || read.value > 255) std::abort();
    const zt::SettingsRead again = zt::parseSettings(zt::formatSettings(read.value));
    if (again.kind != zt::SettingsRead::Number || again.value != read.value) std::abort();
    return 0;
}
