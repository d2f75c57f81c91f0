// The quality figures and the difficulty of one Quellon and of a whole
// catalogue, as text.
#pragma once

#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

// One line per measure of the Quellon, with what solving it found. The
// record must lie on the board.
std::string describeQuellon(const PuzzleRecord& record);

// Distributions of the measures over the catalogue, and its difficulty tenth
// by tenth; Quellons with the silhouette of one of `figures` are counted as
// figures there.
std::string catalogueStatistics(const std::vector<PuzzleRecord>& records,
                                const std::vector<PuzzleRecord>& figures = {});

}  // namespace quellon::catalogue
