// The quality figures of one Quellon and of a whole catalogue, as text.
#pragma once

#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon::catalogue {

// One line per measure of the Quellon. The record must lie on the board.
std::string describeQuellon(const PuzzleRecord& record);

// Distributions of the measures over the catalogue.
std::string catalogueStatistics(const std::vector<PuzzleRecord>& records);

} // namespace quellon::catalogue
