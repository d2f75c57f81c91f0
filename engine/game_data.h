// The game's persistent data: the catalogue of Quellons, the player's
// progress bytes, the current Quellon and the saved-game name, with the
// navigation between Quellons and the rules by which progress changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/board.h"

namespace quellon {

constexpr int kMaxQuellons = 950;
constexpr int kRecordSize = 24;

// Progress byte: bit value 8 = finished; low three bits = help level 0..3,
// or 4 = dropped (always together with the finished bit: 12).
constexpr uint8_t kFinishedBit = 8;
constexpr uint8_t kHelpLevelMask = 7;
constexpr uint8_t kDroppedLevel = 4;
constexpr uint8_t kDroppedValue = kFinishedBit | kDroppedLevel;

struct PuzzleRecord {
    std::array<PieceState, kPieceCount> pieces{};  // pieces 1..8 at index 0..7
    friend bool operator==(const PuzzleRecord&, const PuzzleRecord&) = default;
};

struct GameData {
    std::array<PuzzleRecord, kMaxQuellons + 1> catalogue{};  // 0 = workingRecord
    int quellonCount = 0;                                    // N
    int currentQuellon = 1;                                  // 1..N
    std::array<uint8_t, kMaxQuellons + 1> progressTable{};   // index 1..950
    std::string gameName;                                    // empty: none
    std::string programDir;                                  // folder of the program file
    std::string gamesDir;                                    // where saved games live; empty: programDir + "games"

    PuzzleRecord& workingRecord() { return catalogue[0]; }
    const PuzzleRecord& workingRecord() const { return catalogue[0]; }
    uint8_t& currentProgress() { return progressTable[static_cast<size_t>(currentQuellon)]; }
    uint8_t currentProgress() const { return progressTable[static_cast<size_t>(currentQuellon)]; }
};

inline bool isFinished(uint8_t progress) { return (progress & kFinishedBit) != 0; }

// The help level 0..4 that set-up, help and statistics act on. Play writes
// only 0..3, 8..11 and 12; a damaged saved game may hold anything. Such a byte
// reads by its low three bits, capped at 3 while unfinished (so help can still
// be asked for and the full solution only ever shows with the Quellon dropped)
// and at 4 = dropped once finished. Bits 4..7 are ignored. The byte itself is
// kept as it is until play changes it.
int helpLevel(uint8_t progress);

// Progress transitions on the current Quellon.
// Solve: sets the finished bit; true when it was newly set (unsaved progress).
bool markSolved(GameData& game);
// The bookkeeping of a solve the board's check has found, carried out by the
// window after colouring the pieces and before the solve's sound: the
// finished bit, and the unsaved-progress flag when the bit is new. A Quellon
// finished before (solved or dropped) keeps its byte and leaves the flag.
void recordSolve(GameData& game, bool& unsavedProgress);
// Help: raises the help level, up to 12 = dropped; returns the new level 1..4.
int raiseHelpLevel(GameData& game);

void clearProgress(GameData& game, int lastQuellon);

void nextQuellon(GameData& game);
void previousQuellon(GameData& game);
bool nextUnfinished(GameData& game);
bool previousUnfinished(GameData& game);

}  // namespace quellon
