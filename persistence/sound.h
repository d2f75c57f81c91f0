// The seam through which the game asks for its six sound effects. The real
// player lives beside it; tests and silent machines use other implementations.
#pragma once

enum SoundNumber : int {
    kSoundPickUp = 1,
    kSoundPutDown = 2,
    kSoundTurnStep = 3,
    kSoundMoveStep = 4,
    kSoundSolved = 5,
    kSoundRefused = 6,
};

class SoundEffects {
public:
    virtual ~SoundEffects() = default;
    virtual void playSound(int n) = 0;
};
