// Composes Quellons: each piece is laid along an edge of the figure so far,
// where it fits in every order, preferring compact positions; finished
// figures that miss the quality criteria or repeat an earlier silhouette are
// dropped.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/game_data.h"
#include "tools/catalogue/figure_quality.h"

namespace quellon::catalogue {

struct GeneratorOptions {
    int count = kMaxQuellons;
    uint32_t seed = 1;
    double oddShare = 0.5;        // share of Quellons built of odd orientations
    bool handFigures = true;      // open the catalogue with the figures drawn by hand
    QualityLimits limits;
};

struct GeneratorReport {
    int builds = 0;                          // figures attempted
    int stuck = 0;                           // builds where no further piece fitted
    std::map<std::string, int> rejected;     // by the criterion missed
    int duplicates = 0;
    int handFigures = 0;
};

// Quellons ordered from easier to harder (hand figures first). Throws
// std::runtime_error if the builds run out before `count` are found.
std::vector<PuzzleRecord> generateCatalogue(const GeneratorOptions& options, GeneratorReport& report);

// Shifts a record so that its covered cells are centred on the board.
PuzzleRecord centredOnBoard(const PuzzleRecord& record);

// The figures composed by hand, centred, in catalogue order.
std::vector<PuzzleRecord> handFigures();

} // namespace quellon::catalogue
