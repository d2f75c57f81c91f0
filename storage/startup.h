// The steps of start-up and shutdown that need no window: the settings read
// at the start and written at closing, the catalogue with its fatal message,
// the current Quellon and the last saved game, the games directory, and the
// main window's stored placement.
#pragma once

#include <optional>

#include <QSize>
#include <QString>

#include "engine/settings_values.h"
#include "engine/game_data.h"
#include "ui/message_seam.h"
#include "storage/settings_store.h"

namespace quellon {

// "tongue", "sound", "back" and "music".
void readStartSettings(const SettingsStore& store, SettingsValues& settings);
// "patmode", the last step of start-up.
void readPatternMode(const SettingsStore& store, SettingsValues& settings);

// Whether the folder lies on an optical disc, where no directory is made.
bool isOnOpticalDisc(const QString& directory);
// Creates programDir/games when it can hold files; otherwise points
// game.gamesDir at userDataDir/games (made on the first save).
void createGamesDirectory(GameData& game, const QString& userDataDir);

// Reads the catalogue; when it cannot be used shows the fatal box in the
// language of the settings and returns false: the program must end.
bool loadCatalogueOrReport(GameData& game, int language, Messages& messages);

// "level" clamped to 1..N.
void restoreCurrentQuellon(GameData& game, const SettingsStore& store);
// "game": loads the saved game when its file exists; a missing file empties
// the name silently. An unreadable one empties it too and gives the text of
// the load-failure notice in `language`, for the caller to show once its
// window stands framed: a dialog shown before that makes the hidden main
// window's native window early, and the window manager's frame is then
// never taken into its placement.
std::optional<QString> restoreLastGame(GameData& game, const SettingsStore& store, int language);

// The values written at closing; `normalOuterSize` only when the window is
// in its normal state ("wid" and "hig" are left as they were otherwise).
void writeCloseSettings(const SettingsStore& store, const GameData& game, const SettingsValues& settings,
                        std::optional<QSize> normalOuterSize);

std::optional<WindowPlacement> readPlacement(const SettingsStore& store);
void writePlacement(const SettingsStore& store, const WindowPlacement& placement);

}  // namespace quellon
