// The seam through which the game asks for its six sound effects. The real
// player lives beside it; tests and silent machines use other implementations.
#pragma once

#include "engine/sounds.h"

class SoundEffects {
public:
    virtual ~SoundEffects() = default;
    // Plays sound n, cutting off the one before. The game session asks only
    // while sound is on.
    virtual void playSound(quellon::SoundNumber n) = 0;
    // The player's "sound" switch, pushed by its owner whenever it changes:
    // an output is kept ready only while it is on.
    virtual void setSoundsEnabled(bool on) = 0;
};
