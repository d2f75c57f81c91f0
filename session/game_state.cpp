// The one instance of the game's global state.
#include "session/game_state.h"

namespace quellon {

GameState& gameState()
{
    static GameState state;
    return state;
}

} // namespace quellon
