#include "media/SdlMixer.h"

namespace zt {

namespace {

template <typename F> bool resolve(QLibrary &lib, const char *name, F &out) {
    out = reinterpret_cast<F>(lib.resolve(name));
    return out != nullptr;
}

void noAlsaMessage(const char *, int, const char *, int, const char *, ...) {}
void noSdlMessage(void *, int, SDL_LogPriority, const char *) {}

// FluidSynth complains on stderr about fonts and files it cannot use; the
// player treats those as silence already.
void quietFluidSynth() {
    QLibrary fluid(QStringLiteral("fluidsynth"), 3);
    using LogFunction = void (*)(int, const char *, void *);
    using SetLog = LogFunction (*)(int, LogFunction, void *);
    SetLog setLog = nullptr;
    if (!resolve(fluid, "fluid_set_log_function", setLog)) return;
    for (int level = 0; level <= 4; ++level) setLog(level, nullptr, nullptr);
}

} // namespace

void quietAlsa() {
    QLibrary alsa(QStringLiteral("asound"), 2);
    using Handler = void (*)(const char *, int, const char *, int, const char *, ...);
    using SetHandler = int (*)(Handler);
    SetHandler set = nullptr;
    if (resolve(alsa, "snd_lib_error_set_handler", set)) set(noAlsaMessage);
}

bool SdlMixer::load() {
    if (tried_) return loaded_;
    tried_ = true;
    sdl_.setFileNameAndVersion(QStringLiteral("SDL2-2.0"), 0);
    mixer_.setFileNameAndVersion(QStringLiteral("SDL2_mixer-2.0"), 0);
    if (!sdl_.load() || !mixer_.load()) return false;
    loaded_ = resolve(sdl_, "SDL_SetHint", SetHint) && resolve(sdl_, "SDL_InitSubSystem", InitSubSystem) &&
              resolve(sdl_, "SDL_QuitSubSystem", QuitSubSystem) &&
              resolve(sdl_, "SDL_RWFromConstMem", RWFromConstMem) &&
              resolve(sdl_, "SDL_LogSetOutputFunction", LogSetOutputFunction) &&
              resolve(sdl_, "SDL_AddEventWatch", AddEventWatch) && resolve(sdl_, "SDL_DelEventWatch", DelEventWatch) &&
              resolve(mixer_, "Mix_OpenAudio", OpenAudio) && resolve(mixer_, "Mix_CloseAudio", CloseAudio) &&
              resolve(mixer_, "Mix_Init", Init) && resolve(mixer_, "Mix_Quit", Quit) &&
              resolve(mixer_, "Mix_SetSoundFonts", SetSoundFonts) &&
              resolve(mixer_, "Mix_ChannelFinished", ChannelFinished) &&
              resolve(mixer_, "Mix_HookMusicFinished", HookMusicFinished) &&
              resolve(mixer_, "Mix_LoadWAV_RW", LoadWAV_RW) && resolve(mixer_, "Mix_FreeChunk", FreeChunk) &&
              resolve(mixer_, "Mix_PlayChannel", PlayChannel) && resolve(mixer_, "Mix_HaltChannel", HaltChannel) &&
              resolve(mixer_, "Mix_Playing", Playing) && resolve(mixer_, "Mix_LoadMUS_RW", LoadMUS_RW) &&
              resolve(mixer_, "Mix_FreeMusic", FreeMusic) && resolve(mixer_, "Mix_PlayMusic", PlayMusic) &&
              resolve(mixer_, "Mix_HaltMusic", HaltMusic) && resolve(mixer_, "Mix_PlayingMusic", PlayingMusic);
    if (loaded_) {
        resolve(sdl_, "SDL_TLSCleanup", TLSCleanup);
        LogSetOutputFunction(noSdlMessage, nullptr);
        quietFluidSynth();
    }
    return loaded_;
}

} // namespace zt
