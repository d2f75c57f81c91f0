// ALSA's library prints its own complaints on stderr when no card exists.
// Whoever loaded it (FluidSynth for the music, SDL for the effects) hands
// over its error-handler hook, snd_lib_error_set_handler, looked up at run
// time so that the game does not link ALSA itself; the handler says nothing.
#pragma once

#include <cstring>

namespace quellon {

inline void quietAlsaHandler(const char*, int, const char*, int, const char*, ...) {}

// setHandler: the hook's address, or nullptr (nothing is done).
inline void silenceAlsa(void* setHandler)
{
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (setHandler == nullptr)
        return;
    SetHandler set = nullptr;
    std::memcpy(&set, &setHandler, sizeof set);
    set(quietAlsaHandler);
}

}  // namespace quellon
