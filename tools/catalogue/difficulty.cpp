// Difficulty from solving. The solver lays pieces as a methodical player
// would: always into the first corner still open, trying every placement
// that fits the silhouette there. It starts once from each corner of the
// figure, as a player may. Four parts add up:
//
//   search = log2(1 + dead ends per start / layouts)
//       A dead end is a placement that fitted where it went but from which no
//       layout follows: a wrong turn. Per layout, because a silhouette that
//       can be rebuilt in several ways forgives more of them.
//   ways   = 0.25 x (4 - log2 layouts), at least 0
//       Fewer layouts, less room to be right: one layout adds 1, sixteen or
//       more add nothing.
//   choice = 0.5 x log2(candidates / 256), at least 0
//       Candidates are the placements that lie wholly inside the silhouette
//       on their own: places where a piece looks right. Up to 32 per piece
//       count as few; each doubling beyond adds a half.
//   tilt   = 0.5 x tilted pieces
//       Pieces in the odd orientations stand at angles between the even ones;
//       their edges are hard to see and to match, while for the solver their
//       partly covered cells give them away at once. So they count by
//       themselves: eight tilted pieces weigh as much as 15 dead ends per
//       layout.
//
// A figure of squares and halves typically scores 2 to 5, a tilted one 4.5
// to 6.
#include "tools/catalogue/difficulty.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quellon::catalogue {

namespace {

constexpr double kWaysWeight = 0.25;
constexpr double kWaysCeiling = 4.0;  // log2 of the layouts that count as plenty
constexpr double kChoiceWeight = 0.5;
constexpr double kFewCandidates = 256.0;
constexpr double kTiltPerPiece = 0.5;
constexpr double kRounding = 1000.0;

}  // namespace

SolvingEffort measureEffort(const PuzzleRecord& record, const SolverOptions& options)
{
    SolvingEffort effort;
    for (const ScanStart start :
         {ScanStart::TopLeft, ScanStart::TopRight, ScanStart::BottomLeft, ScanStart::BottomRight}) {
        SolverOptions from = options;
        from.start = start;
        from.maxKeptLayouts = 0;
        const SolveResult result = solveQuellon(record, from);
        // Every start finds the same layouts; a capped one may find fewer.
        effort.layouts = std::max(effort.layouts, result.layouts);
        effort.deadEnds += result.deadEnds;
        effort.nodes += result.nodes;
        effort.candidates = result.candidates;
        effort.capped = effort.capped || result.capped;
        ++effort.starts;
    }
    return effort;
}

DifficultyParts difficultyParts(const SolvingEffort& effort, const PuzzleRecord& record)
{
    DifficultyParts parts;
    const double layouts = static_cast<double>(std::max<int64_t>(effort.layouts, 1));
    const double deadEnds = static_cast<double>(effort.deadEnds) / std::max(effort.starts, 1);
    parts.search = std::log2(1.0 + deadEnds / layouts);
    parts.ways = kWaysWeight * std::max(0.0, kWaysCeiling - std::log2(layouts));
    parts.choice = kChoiceWeight * std::max(0.0, std::log2(static_cast<double>(effort.candidates) / kFewCandidates));
    int tilted = 0;
    for (const PieceState& piece : record.pieces)
        tilted += piece.orientation % 2;
    parts.tilt = kTiltPerPiece * tilted;
    return parts;
}

double difficultyOf(const SolvingEffort& effort, const PuzzleRecord& record)
{
    return std::round(difficultyParts(effort, record).total() * kRounding) / kRounding;
}

std::string formatDifficulty(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace quellon::catalogue
