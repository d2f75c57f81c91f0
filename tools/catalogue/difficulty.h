// How hard a Quellon is, measured by solving it: see difficulty.cpp.
#pragma once

#include <string>

#include "engine/game_data.h"
#include "tools/catalogue/solver.h"

namespace quellon::catalogue {

struct DifficultyParts {
    double search = 0.0;  // wrong turns per way to the goal
    double ways = 0.0;    // few layouts: little room for a different solution
    double choice = 0.0;  // many places where a piece looks right
    double tilt = 0.0;    // pieces in the odd orientations
    double total() const { return search + ways + choice + tilt; }
};

DifficultyParts difficultyParts(const SolveResult& result, const PuzzleRecord& record);

// Higher is harder; the catalogue is ordered by it. Rounded to thousandths,
// so that the order does not hang on the last bit of a logarithm.
double difficultyOf(const SolveResult& result, const PuzzleRecord& record);

// Two decimals.
std::string formatDifficulty(double value);

} // namespace quellon::catalogue
