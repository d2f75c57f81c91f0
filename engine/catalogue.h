// Reading the catalogue file and reading and writing saved games.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game_data.h"
#include "engine/messages.h"

namespace quellon {

inline constexpr const char* kCatalogueFileName = "zqln.dat";
inline constexpr const char* kGamesDirName = "games";
inline constexpr const char* kSavedGameExtension = ".zql";
constexpr int kSavedGameSize = kMaxQuellons;

enum class CatalogueStatus { Ok, Missing, Empty, OffBoard };

struct CatalogueResult {
    CatalogueStatus status = CatalogueStatus::Ok;
    int badQuellon = 0;  // for OffBoard: the first record that leaves the board
    bool ok() const { return status == CatalogueStatus::Ok; }
};

// Parses catalogue bytes into game.catalogue records 1..N (N at most 950;
// a trailing partial record and records past the 950th are ignored).
CatalogueResult parseCatalogue(GameData& game, const std::vector<uint8_t>& bytes);
// Reads programDir + "zqln.dat".
CatalogueResult loadCatalogue(GameData& game);
// The fatal start-up message for a catalogue that cannot be used.
Message catalogueFailureMessage(const CatalogueResult& result);

// True when every cell a piece of the record covers lies on the board.
bool recordOnBoard(const PuzzleRecord& record);

// A name that stays inside the games directory: not empty, no '/' or '\',
// not "." or "..", no NUL character.
bool isSafeGameName(std::string_view name);
std::string gamesDirectory(const GameData& game);
std::string savedGamePath(const GameData& game, std::string_view name);

struct LoadResult {
    bool ok = false;
    Message failure;  // shown by the caller with MsgNotice when !ok
};

// Replaces progressTable by the saved game's bytes. On failure gameName is
// emptied and the progress in memory stays as it was. On success the caller
// clears its unsaved-progress flag.
LoadResult loadSavedGame(GameData& game, std::string_view name);

// The temporary file a save of `name` writes before it takes the game's name.
std::string savedGameTempName(std::string_view name);

// Writes the 950 progress bytes to a temporary file beside the saved game and
// renames it over the old one: a failed write never touches the old file.
bool writeSavedGame(const GameData& game, std::string_view name);

}  // namespace quellon
