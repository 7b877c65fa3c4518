#pragma once

namespace zt {

// The icon and role of the game's sound stream, for the sound server. Called
// at start-up, while the program has one thread: the environment is not safe
// to change once others may read it.
void describeToSoundServer(const char *iconName);

} // namespace zt
