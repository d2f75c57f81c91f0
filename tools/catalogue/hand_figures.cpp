// Figures composed by hand that open the catalogue: recognisable shapes for a
// first puzzle. Each is built from squares of two pieces on a 10-cell grid,
// so the coordinates below read as squares and half squares.
#include "tools/catalogue/generator.h"

namespace quellon::catalogue {

namespace {

constexpr int kMargin = 20;  // keeps the unshifted coordinates positive

// Halves of the 10 x 10 square whose top-left lattice point is (x, y):
// the orientations with axis-parallel legs, anchored so that they fill it.
PieceState lowerRightHalf(int x, int y) { return {uint8_t(kMargin + x + 7), uint8_t(kMargin + y + 7), 0}; }
PieceState lowerLeftHalf(int x, int y) { return {uint8_t(kMargin + x + 3), uint8_t(kMargin + y + 7), 4}; }
PieceState upperLeftHalf(int x, int y) { return {uint8_t(kMargin + x + 3), uint8_t(kMargin + y + 3), 8}; }
PieceState upperRightHalf(int x, int y) { return {uint8_t(kMargin + x + 7), uint8_t(kMargin + y + 3), 12}; }

PuzzleRecord house()
{
    // Two squares of house, a square annex to the right, a gable roof.
    return {{lowerRightHalf(0, 10), upperLeftHalf(0, 10), lowerRightHalf(10, 10), upperLeftHalf(10, 10),
             lowerRightHalf(20, 10), upperLeftHalf(20, 10), lowerRightHalf(0, 0), lowerLeftHalf(10, 0)}};
}

PuzzleRecord boat()
{
    // A hull wider at the deck than at the keel, and one triangular sail.
    return {{lowerRightHalf(10, 10), upperLeftHalf(10, 10), lowerRightHalf(20, 10), upperLeftHalf(20, 10),
             upperRightHalf(0, 10), upperLeftHalf(30, 10), lowerRightHalf(10, 0), lowerLeftHalf(20, 0)}};
}

PuzzleRecord bird()
{
    // Flying right: body square, tail, head and beak, two wings raised.
    return {{lowerRightHalf(10, 10), upperLeftHalf(10, 10), lowerRightHalf(20, 5), upperLeftHalf(20, 5),
             upperLeftHalf(30, 5), upperRightHalf(0, 10), lowerRightHalf(10, 0), lowerLeftHalf(20, -5)}};
}

PuzzleRecord person()
{
    // Head on shoulders, arms held out and down, a skirt.
    return {{lowerRightHalf(15, 10), upperLeftHalf(15, 10), lowerRightHalf(15, 0), upperLeftHalf(15, 0),
             upperRightHalf(5, 10), upperLeftHalf(25, 10), upperRightHalf(10, 20), upperLeftHalf(20, 20)}};
}

} // namespace

std::vector<PuzzleRecord> handFigures()
{
    return {centredOnBoard(house()), centredOnBoard(boat()), centredOnBoard(bird()), centredOnBoard(person())};
}

} // namespace quellon::catalogue
