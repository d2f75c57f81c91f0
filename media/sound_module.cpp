// The module quellon-sounds.so: the game's sound effects on SDL's audio output.
#include "media/media_modules.h"
#include "media/wave_sounds.h"

extern "C" Q_DECL_EXPORT SoundEffects* quellonMakeSoundEffects(bool soundOn)
{
    return new quellon::WaveSounds(soundOn);
}
