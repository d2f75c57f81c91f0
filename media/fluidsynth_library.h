// FluidSynth, opened at run time instead of linked: the synthesiser brings
// some forty libraries of its own (audio back ends, codecs, GObject), and a
// game that never plays music, or finds no audio output, should not carry
// them. Each holder opens the library for itself (the loader counts), and it
// stays in memory for good once a synthesiser has been made, since its
// instrument loader registers types that cannot be taken back.
#pragma once

#include <fluidsynth.h>

namespace quellon {

class FluidSynthLibrary {
public:
    FluidSynthLibrary() = default;
    ~FluidSynthLibrary() { close(); }
    FluidSynthLibrary(const FluidSynthLibrary&) = delete;
    FluidSynthLibrary& operator=(const FluidSynthLibrary&) = delete;

    // True when the library is open and every function below was found.
    bool open();
    // Lets the library go (it stays if it was kept).
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    // Keeps the library in memory until the process ends.
    void keep();
    // A symbol of the library or of one it loaded; nullptr when closed.
    void* symbol(const char* name) const;
    // Whether the process has the library in memory at all.
    static bool inMemory();

    decltype(&fluid_set_log_function) setLogFunction = nullptr;
    decltype(&new_fluid_settings) newSettings = nullptr;
    decltype(&delete_fluid_settings) deleteSettings = nullptr;
    decltype(&fluid_settings_setnum) settingsSetNumber = nullptr;
    decltype(&fluid_settings_setstr) settingsSetText = nullptr;
    decltype(&new_fluid_synth) newSynth = nullptr;
    decltype(&delete_fluid_synth) deleteSynth = nullptr;
    decltype(&fluid_synth_sfload) loadSoundFont = nullptr;
    decltype(&fluid_synth_all_sounds_off) allSoundsOff = nullptr;
    decltype(&new_fluid_audio_driver) newAudioDriver = nullptr;
    decltype(&new_fluid_audio_driver2) newAudioDriverWithCallback = nullptr;
    decltype(&delete_fluid_audio_driver) deleteAudioDriver = nullptr;
    decltype(&new_fluid_player) newPlayer = nullptr;
    decltype(&delete_fluid_player) deletePlayer = nullptr;
    decltype(&fluid_player_add) playerAdd = nullptr;
    decltype(&fluid_player_play) playerPlay = nullptr;
    decltype(&fluid_player_stop) playerStop = nullptr;
    decltype(&fluid_player_seek) playerSeek = nullptr;
    decltype(&fluid_player_get_status) playerStatus = nullptr;
    decltype(&fluid_player_get_total_ticks) playerTotalTicks = nullptr;
    decltype(&fluid_player_get_current_tick) playerCurrentTick = nullptr;

private:
    void* handle_ = nullptr;
};

}  // namespace quellon
