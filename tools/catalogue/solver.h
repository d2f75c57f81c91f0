// Finds every way of laying identical pieces so that they rebuild a Quellon's
// silhouette exactly: the same code sums cell by cell, up to a shift, as the
// game's solve check compares them. The search effort it takes is what the
// catalogue's difficulty is measured from.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/board.h"
#include "engine/game_data.h"

namespace quellon::catalogue {

// The corner where the search starts: it always covers the first open cell
// in reading order as seen from there (from the top left: row by row
// downwards, each row left to right).
enum class ScanStart { TopLeft, TopRight, BottomLeft, BottomRight };

struct SolverOptions {
    // The search stops after this many placements; the counts are then lower
    // bounds and the result says so.
    int64_t maxNodes = 50'000'000;
    // Layouts kept in the result; beyond this they are only counted.
    int64_t maxKeptLayouts = 100'000;
    ScanStart start = ScanStart::TopLeft;
};

struct SolveResult {
    int64_t layouts = 0;      // distinct sets of placements that rebuild the figure
    int64_t nodes = 0;        // placements tried: each piece laid during the search
    int64_t deadEnds = 0;     // placements from which no layout follows
    int64_t unbuildable = 0;  // code sums matched, but no order of laying passes the fit test
    int candidates = 0;       // placements that fit the silhouette on their own
    bool capped = false;      // maxNodes reached: the counts are lower bounds
    // The layouts and candidates do not depend on where the search starts;
    // the nodes and dead ends do.
    // The kept layouts, each sorted by (y, x, orientation), in the place
    // of the figure itself, so that they can be stamped beside its target.
    std::vector<std::vector<PieceState>> kept;
};

// Every layout of as many pieces as the figure has (1..8) whose code sums
// equal the figure's and that can be laid down in some order passing the fit
// test. The pieces must lie on the board.
SolveResult solveFigure(std::span<const PieceState> figure, const SolverOptions& options = {});

inline SolveResult solveQuellon(const PuzzleRecord& record, const SolverOptions& options = {})
{
    return solveFigure(record.pieces, options);
}

// The game's own solve check: the record's target on a board, the layout
// stamped beside it; true when the board reports it solved.
bool passesSolveCheck(const PuzzleRecord& record, std::span<const PieceState> layout);

// True when the pieces can be laid one after another on an empty board, in
// some order, each passing the game's fit test.
bool canBeLaid(std::span<const PieceState> pieces);

// The layout sorted by (y, x, orientation): one spelling per set of placements.
std::vector<PieceState> canonicalLayout(std::span<const PieceState> pieces);

}  // namespace quellon::catalogue
