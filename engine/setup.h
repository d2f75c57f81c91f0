// Laying out the current Quellon for play, and help.
#pragma once

#include <cstdint>
#include <random>

#include "engine/board.h"
#include "engine/game_data.h"

namespace quellon {

// The one pseudo-random source of the game: orientations of parked pieces.
class PieceRandom {
public:
    explicit PieceRandom(uint32_t seed) : generator_(seed) {}
    int orientation() { return static_cast<int>(distribution_(generator_)); }

private:
    std::mt19937 generator_;
    std::uniform_int_distribution<int> distribution_{0, 15};
};

// Parking slot of piece n (1..8): x 9 for odd, 81 for even pieces.
PieceState parkingSlot(int n);

void parkPiece(Board& board, int n, PieceRandom& random);

// Lays out the current Quellon; returns whether help is offered (TipBtn
// enabled): exactly when the Quellon is unfinished.
bool setUpQuellon(Board& board, GameData& game, PieceRandom& random);

struct HelpResult {
    bool given = false;  // false: the Quellon was solved or dropped already
    int level = 0;       // the new help level 1..4; 4 = dropped
    bool dropped() const { return level == kDroppedLevel; }
};

// Parks every piece, raises the help level and lays the first 2 * level pieces
// at their solution spots. A caller that draws erases the pieces before this
// call (they are still where they were) and fills them afterwards; it also
// sets its unsaved-progress flag when a help was given.
HelpResult giveHelp(Board& board, GameData& game, PieceRandom& random);

}  // namespace quellon
