// The pattern window's geometry and caption: the silhouette of the current
// Quellon at a scale chosen by the pattern placement, and the caption with
// its number and finished state.
#pragma once

#include <string>

#include "engine/game_data.h"

namespace quellon {

constexpr int kPatternDefaultLeft = 500;
constexpr int kPatternDefaultTop = 50;
constexpr int kPatternGridWidth = 90;  // grid units across the silhouette area
constexpr int kPatternGridHeight = 60;

struct PatternSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PatternSize&, const PatternSize&) = default;
};

// Pixels per grid unit: 2 for placement 0 and 1, 3 for 2, 4 for 3 (and above).
int patternScale(int patmode);

// Client size for a placement: 181 x 120, 271 x 180 or 361 x 240. The extra
// column holds the right edge of the rightmost triangles.
PatternSize patternClientSize(int patmode);

// "Quellon 17", "Quellon 17 - solved", "Quellon 17 - aufgegeben" ...
std::string patternCaption(const GameData& game, int language);

// Corner k (0..2) of piece `piece` of a record, in grid units.
struct GridPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GridPoint&, const GridPoint&) = default;
};
GridPoint pieceCorner(const PieceState& piece, int corner);

}  // namespace quellon
