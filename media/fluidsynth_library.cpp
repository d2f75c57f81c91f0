// FluidSynth through dlopen; the library's name comes from the build.
#include "media/fluidsynth_library.h"

#include <dlfcn.h>

#include <cstring>

#ifndef QUELLON_FLUIDSYNTH_LIBRARY
#define QUELLON_FLUIDSYNTH_LIBRARY "libfluidsynth.so.3"
#endif

namespace quellon {

namespace {

// dlsym hands back a data pointer; copied into the function pointer's type.
template <typename Function>
bool resolve(void* handle, const char* name, Function& function)
{
    void* address = dlsym(handle, name);
    if (address == nullptr)
        return false;
    static_assert(sizeof function == sizeof address);
    std::memcpy(&function, &address, sizeof function);
    return true;
}

}  // namespace

bool FluidSynthLibrary::open()
{
    if (handle_ != nullptr)
        return true;
    handle_ = dlopen(QUELLON_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr)
        return false;
    const bool complete =
        resolve(handle_, "fluid_set_log_function", setLogFunction) &&
        resolve(handle_, "new_fluid_settings", newSettings) &&
        resolve(handle_, "delete_fluid_settings", deleteSettings) &&
        resolve(handle_, "fluid_settings_setnum", settingsSetNumber) &&
        resolve(handle_, "fluid_settings_setstr", settingsSetText) && resolve(handle_, "new_fluid_synth", newSynth) &&
        resolve(handle_, "delete_fluid_synth", deleteSynth) && resolve(handle_, "fluid_synth_sfload", loadSoundFont) &&
        resolve(handle_, "fluid_synth_all_sounds_off", allSoundsOff) &&
        resolve(handle_, "new_fluid_audio_driver", newAudioDriver) &&
        resolve(handle_, "new_fluid_audio_driver2", newAudioDriverWithCallback) &&
        resolve(handle_, "delete_fluid_audio_driver", deleteAudioDriver) &&
        resolve(handle_, "new_fluid_player", newPlayer) && resolve(handle_, "delete_fluid_player", deletePlayer) &&
        resolve(handle_, "fluid_player_add", playerAdd) && resolve(handle_, "fluid_player_play", playerPlay) &&
        resolve(handle_, "fluid_player_stop", playerStop) && resolve(handle_, "fluid_player_seek", playerSeek) &&
        resolve(handle_, "fluid_player_get_status", playerStatus) &&
        resolve(handle_, "fluid_player_get_total_ticks", playerTotalTicks) &&
        resolve(handle_, "fluid_player_get_current_tick", playerCurrentTick);
    if (!complete)
        close();
    return complete;
}

void FluidSynthLibrary::close()
{
    if (handle_ != nullptr)
        dlclose(handle_);
    handle_ = nullptr;
}

void FluidSynthLibrary::keep()
{
    // A second reference that is never given back, marked not to be unloaded.
    if (handle_ != nullptr)
        dlopen(QUELLON_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
}

void* FluidSynthLibrary::symbol(const char* name) const { return handle_ != nullptr ? dlsym(handle_, name) : nullptr; }

bool FluidSynthLibrary::inMemory()
{
    void* handle = dlopen(QUELLON_FLUIDSYNTH_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        dlclose(handle);
    return handle != nullptr;
}

}  // namespace quellon
