// How hard a Quellon is, measured by solving it: see difficulty.cpp.
#pragma once

#include <string>

#include "engine/game_data.h"
#include "tools/catalogue/solver.h"

namespace quellon::catalogue {

struct DifficultyParts {
    double search = 0.0;  // wrong turns per way to the goal, over the starts
    double ways = 0.0;    // few layouts: little room for a different solution
    double choice = 0.0;  // many places where a piece looks right
    double tilt = 0.0;    // pieces in the odd orientations
    double total() const { return search + ways + choice + tilt; }
};

// What solving a Quellon took, started once from each corner of the figure:
// where a player begins is up to the player.
struct SolvingEffort {
    int64_t layouts = 0;
    int64_t deadEnds = 0;  // over all starts together
    int64_t nodes = 0;     // over all starts together
    int candidates = 0;
    int starts = 0;
    bool capped = false;  // some start hit the cap
};

SolvingEffort measureEffort(const PuzzleRecord& record, const SolverOptions& options = {});

DifficultyParts difficultyParts(const SolvingEffort& effort, const PuzzleRecord& record);

// Higher is harder; the catalogue is ordered by it. Rounded to thousandths,
// so that the order does not hang on the last bit of a logarithm.
double difficultyOf(const SolvingEffort& effort, const PuzzleRecord& record);
inline double difficultyOf(const PuzzleRecord& record) { return difficultyOf(measureEffort(record), record); }

// Two decimals.
std::string formatDifficulty(double value);

}  // namespace quellon::catalogue
