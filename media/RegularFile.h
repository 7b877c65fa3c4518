#pragma once
// Opening a file the program reads by name (settings, sounds, songs, fonts)
// when it may have been swapped for something else since it was looked at.
#include <QString>

class QFile;

namespace zt {

// Opens path for reading only when what opens is a regular file: a fifo or
// a device is never waited on, and the type is asked of the open descriptor,
// so a name swapped after a look at it cannot slip through.
bool openRegularFile(QFile &file, const QString &path);

} // namespace zt
