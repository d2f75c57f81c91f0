// The seam through which the game asks for its six sound effects. The real
// player lives beside it; tests and silent machines use other implementations.
#pragma once

#include "engine/sounds.h"

class SoundEffects {
public:
    virtual ~SoundEffects() = default;
    virtual void playSound(int n) = 0;
};
