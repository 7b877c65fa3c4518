#pragma once
// SDL2 and SDL2_mixer, loaded when the first sound is due rather than when
// the program starts: their decoders and FluidSynth pull in dozens of shared
// libraries that nothing needs before the first game. The headers give the
// types only; every call goes through the pointers resolved by load().
#include <QLibrary>

#include <SDL.h>
#include <SDL_mixer.h>

namespace zt {

struct SdlMixer {
    // False when either library or one of its entry points is missing: silence.
    bool load();
    bool loaded() const { return loaded_; }

    decltype(&SDL_SetHint) SetHint = nullptr;
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&SDL_LogSetOutputFunction) LogSetOutputFunction = nullptr;
    decltype(&SDL_AddEventWatch) AddEventWatch = nullptr;
    decltype(&SDL_DelEventWatch) DelEventWatch = nullptr;
    // Frees what SDL keeps per thread (its error text); older SDLs lack it.
    decltype(&SDL_TLSCleanup) TLSCleanup = nullptr;

    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_Init) Init = nullptr;
    decltype(&Mix_Quit) Quit = nullptr;
    decltype(&Mix_SetSoundFonts) SetSoundFonts = nullptr;
    decltype(&Mix_ChannelFinished) ChannelFinished = nullptr;
    decltype(&Mix_HookMusicFinished) HookMusicFinished = nullptr;
    decltype(&Mix_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&Mix_FreeChunk) FreeChunk = nullptr;
    decltype(&Mix_PlayChannel) PlayChannel = nullptr;
    decltype(&Mix_HaltChannel) HaltChannel = nullptr;
    decltype(&Mix_Playing) Playing = nullptr;
    decltype(&Mix_LoadMUS_RW) LoadMUS_RW = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_PlayingMusic) PlayingMusic = nullptr;

private:
    bool tried_ = false;
    bool loaded_ = false;
    // Never unloaded: the mixer's threads and FluidSynth's exit handlers
    // may still point into them while the process ends.
    QLibrary sdl_;
    QLibrary mixer_;
};

// ALSA writes its own diagnostics to stderr when no card answers; a game
// without sound must print nothing, so they are sent nowhere.
void quietAlsa();

} // namespace zt
