// Composes Quellons: each piece is laid along an edge of the figure so far,
// where it fits in every order, preferring compact positions; finished
// figures that miss the quality criteria or repeat an earlier silhouette are
// dropped. Every Quellon is then solved, and the figures composed by hand and
// the composed ones are ordered by the difficulty that solving measures.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/game_data.h"
#include "tools/catalogue/figure_quality.h"
#include "tools/catalogue/ordering.h"
#include "tools/catalogue/solver.h"

namespace quellon::catalogue {

struct GeneratorOptions {
    int count = kMaxQuellons;
    uint32_t seed = 1;
    double oddShare = 0.5;  // share of Quellons built of odd orientations
    // Figures composed by hand, mixed into the catalogue as `ordering` says;
    // more figures than `count` are not used.
    std::vector<PuzzleRecord> figures;
    // Their families, for a varied opening; empty: each figure a family of its own.
    std::vector<std::string> figureFamilies;
    // Which of them may open the catalogue; empty: any of them.
    std::vector<bool> figureOpening;
    QualityLimits limits;
    OrderingRules ordering;
    SolverOptions solver;
};

struct GeneratorReport {
    int builds = 0;                       // figures attempted
    int stuck = 0;                        // builds where no further piece fitted
    std::map<std::string, int> rejected;  // by the criterion missed
    int duplicates = 0;
    int handFigures = 0;
    int64_t solverNodes = 0;  // placements the solver tried, all Quellons and starts together
    int capped = 0;           // Quellons whose solving hit the cap
};

// The catalogue: the figures and as many composed Quellons as make `count`,
// in the order of their difficulty. Throws std::invalid_argument for a figure
// that is no valid Quellon or repeats another, std::runtime_error if the
// builds run out before `count` are found.
std::vector<PuzzleRecord> generateCatalogue(const GeneratorOptions& options, GeneratorReport& report);

// Shifts a record so that its covered cells are centred on the board.
PuzzleRecord centredOnBoard(const PuzzleRecord& record);

}  // namespace quellon::catalogue
