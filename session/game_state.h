// The game's global state for the whole run: the catalogue with the progress
// table, the current Quellon and game name, and the option values read from
// the settings at start-up and written back at closing.
#pragma once

#include <string>

#include "engine/game_data.h"
#include "engine/messages.h"
#include "engine/settings_values.h"

namespace quellon {

struct GameState {
    GameData game;
    SettingsValues settings;
};

// The one instance; tests reset it with `gameState() = GameState{}`.
GameState& gameState();

} // namespace quellon
