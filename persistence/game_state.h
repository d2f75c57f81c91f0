// The game's global state for the whole run: the catalogue with the progress
// table, the current Quellon and game name, and the option values read from
// the settings at start-up and written back at closing.
#pragma once

#include <string>

#include "engine/game_data.h"
#include "engine/messages.h"

namespace quellon {

constexpr int kLanguageUnset = -1;
constexpr int kBackgroundCount = 6;
constexpr int kPatternOnBoard = 0;

struct SettingsValues {
    int language = kLanguageUnset;  // "tongue": 1 German, any other value English
    bool soundOn = true;            // "sound"
    int background = 0;             // "back", 0..5
    bool musicOn = true;            // "music"
    int patmode = 2;                // "patmode": 0 on the board, 1..3 pattern window
    bool german() const { return language == kLanguageGerman; }
};

struct GameState {
    GameData game;
    SettingsValues settings;
};

// The one instance; tests reset it with `gameState() = GameState{}`.
GameState& gameState();

} // namespace quellon
