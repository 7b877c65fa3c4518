#include "media/SoundServer.h"

#include <QByteArray>
#include <QtGlobal>
#include <utility>

namespace zt {

void describeToSoundServer(const char *iconName) {
    // SDL's PulseAudio driver passes on neither the icon nor the role; the
    // client library reads them from the environment when it connects, and
    // the server gives them to the stream. A user's own setting stands.
    for (const auto &[name, value] : {std::pair{"PULSE_PROP_application.icon_name", iconName},
                                      std::pair{"PULSE_PROP_media.role", "game"}})
        if (!qEnvironmentVariableIsSet(name)) qputenv(name, QByteArray(value));
}

} // namespace zt
