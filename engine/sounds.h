// The game's six sound effects, numbered as the wave files that play them.
// The engine names them; the window layer plays them.
#pragma once

namespace quellon {

enum SoundNumber : int {
    kSoundPickUp = 1,
    kSoundPutDown = 2,
    kSoundTurnStep = 3,
    kSoundMoveStep = 4,
    kSoundSolved = 5,
    kSoundRefused = 6,
};

}  // namespace quellon
