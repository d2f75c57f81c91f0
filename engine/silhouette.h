// The figure that a Quellon's eight pieces form, seen as geometry: its
// corners and edges, which pieces join along an edge, whether the pieces may
// be laid down in every order, and a key that is the same for two figures
// exactly when one is the other shifted, turned by quarter turns or mirrored.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/game_data.h"

namespace quellon {

// A piece placement with signed coordinates, so that a turned or mirrored
// figure may leave the board while it is compared.
struct PiecePlace {
    int x = 0;
    int y = 0;
    int orientation = 0;
    friend bool operator==(const PiecePlace&, const PiecePlace&) = default;
};

using Figure = std::array<PiecePlace, kPieceCount>;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

Figure figureOf(const PuzzleRecord& record);

// A quarter turn clockwise on screen about lattice point (0, 0): the anchor
// (x, y) goes to (-y, x) and the orientation to o + 4, as the geometry tables
// turn every orientation.
Figure turnFigure(const Figure& figure);
// The mirror at the diagonal x = y: the anchor (x, y) goes to (y, x) and the
// orientation to 16 - o.
Figure mirrorFigure(const Figure& figure);

// Lattice corners 0, 1, 2 of a placed piece (corner 1 is the right angle).
std::array<Point, 3> pieceCorners(const PiecePlace& piece);

// Twice the area of the placed triangle (the corners are lattice points).
int doubledPieceArea(const PiecePlace& piece);

// Length of the boundary the two pieces share: the parts of their edges that
// lie on one line, run in opposite directions and overlap. Zero when the
// pieces meet at a point only or not at all.
double sharedEdgeLength(const PiecePlace& a, const PiecePlace& b);

// True when the insides of the two triangles overlap (touching edges or
// corners is no overlap).
bool trianglesOverlap(const PiecePlace& a, const PiecePlace& b);

// The code sums the pieces leave in their cells: the target grid of the
// figure, cut to the rectangle of covered cells.
struct CodeImage {
    int left = 0;  // column of the first covered cell
    int top = 0;   // row of the first covered cell
    int width = 0;
    int height = 0;
    std::vector<uint8_t> codes;  // row after row
    uint8_t at(int column, int row) const { return codes[static_cast<size_t>(row * width + column)]; }
};

CodeImage stampFigure(const Figure& figure);

// The same string for two figures whose code images agree after a shift and
// one of the eight quarter-turn and mirror symmetries.
std::string silhouetteKey(const Figure& figure);

// Pieces (numbered 0..7) joined along edges of positive length, as groups:
// one group when the figure is one connected silhouette.
std::vector<std::vector<int>> edgeConnectedGroups(const Figure& figure);

// True when a cell that receives these codes, in any order, passes the fit
// test at every step: each code is an allowed pair with the sum before it.
bool cellAcceptsEveryOrder(std::span<const uint8_t> codes);

}  // namespace quellon
