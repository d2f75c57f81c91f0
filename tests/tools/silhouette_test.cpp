// The figure geometry: turning and mirroring agree with the tables, the
// silhouette key ignores shift, turns and mirrors, edges and overlaps are
// told apart exactly, and cells are checked in every order of laying.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/orientation_table.h"
#include "engine/silhouette.h"

namespace quellon {
namespace {

Figure singlePiece(int o)
{
    Figure figure;
    figure.fill({0, 0, o});
    return figure;
}

// Cell (X, Y) of a figure goes to (-Y - 1, X) when it is turned.
TEST(FigureTransforms, TurnMovesEveryCellCodeLikeTheTables)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        const CodeImage before = stampFigure(singlePiece(o));
        const CodeImage after = stampFigure(turnFigure(singlePiece(o)));
        ASSERT_EQ(after.width, before.height) << "orientation " << o;
        ASSERT_EQ(after.height, before.width) << "orientation " << o;
        for (int r = 0; r < before.height; ++r)
            for (int c = 0; c < before.width; ++c) {
                const int x = before.left + c, y = before.top + r;
                EXPECT_EQ(after.at(-y - 1 - after.left, x - after.top) != 0, before.at(c, r) != 0)
                    << "orientation " << o << " cell " << x << "," << y;
            }
    }
}

TEST(FigureTransforms, MirrorSwapsColumnsAndRowsAndFourTurnsAreIdentity)
{
    for (int o = 0; o < kOrientationCount; ++o) {
        const CodeImage before = stampFigure(singlePiece(o));
        const CodeImage mirrored = stampFigure(mirrorFigure(singlePiece(o)));
        for (int r = 0; r < before.height; ++r)
            for (int c = 0; c < before.width; ++c)
                EXPECT_EQ(mirrored.at(r + before.top - mirrored.left, c + before.left - mirrored.top) != 0,
                          before.at(c, r) != 0);
        const Figure f = singlePiece(o);
        EXPECT_EQ(turnFigure(turnFigure(turnFigure(turnFigure(f)))), f);
        EXPECT_EQ(mirrorFigure(mirrorFigure(f)), f);
    }
}

Figure asymmetricFigure()
{
    // Three 10 x 10 squares in an L, each of two halves, a half square on the
    // left and one below: no symmetry maps it onto itself.
    return {PiecePlace{47, 37, 0}, {43, 33, 8}, {57, 37, 0}, {53, 33, 8},
            {47, 47, 0},           {43, 43, 8}, {37, 37, 0}, {43, 53, 8}};
}

TEST(SilhouetteKey, SameUnderShiftTurnsAndMirrors)
{
    const Figure figure = asymmetricFigure();
    const std::string key = silhouetteKey(figure);
    Figure shifted = figure;
    for (PiecePlace& p : shifted) {
        p.x += 5;
        p.y -= 3;
    }
    EXPECT_EQ(silhouetteKey(shifted), key);
    EXPECT_EQ(silhouetteKey(turnFigure(figure)), key);
    EXPECT_EQ(silhouetteKey(turnFigure(turnFigure(figure))), key);
    EXPECT_EQ(silhouetteKey(mirrorFigure(turnFigure(figure))), key);
    // A square halved along the other diagonal is still a full square.
    Figure otherCut = figure;
    otherCut[0] = {43, 37, 4};
    otherCut[1] = {47, 33, 12};
    EXPECT_EQ(silhouetteKey(otherCut), key);
    // The lowest half square turned to the other side is another figure.
    Figure otherHalf = figure;
    otherHalf[7] = {47, 53, 12};
    EXPECT_NE(silhouetteKey(otherHalf), key);
}

TEST(SharedEdges, HalvesOfASquareShareTheDiagonalOnly)
{
    const PiecePlace lower{47, 37, 0}, upper{43, 33, 8};
    EXPECT_NEAR(sharedEdgeLength(lower, upper), 10.0 * std::sqrt(2.0), 1e-9);
    EXPECT_FALSE(trianglesOverlap(lower, upper));
    // Corner to corner only: no edge, no overlap, two groups.
    const PiecePlace diagonalNeighbour{57, 47, 0};
    EXPECT_EQ(sharedEdgeLength(lower, diagonalNeighbour), 0.0);
    EXPECT_TRUE(trianglesOverlap(lower, {48, 37, 0}));
    Figure figure = asymmetricFigure();
    EXPECT_EQ(edgeConnectedGroups(figure).size(), 1u);
    figure[7] = {43, 54, 8};  // one row lower: it no longer touches the rest
    EXPECT_EQ(edgeConnectedGroups(figure).size(), 2u);
}

TEST(EveryOrder, OneWayPairsAndFullCellsAreRefused)
{
    const uint8_t halves[] = {29, 35};
    EXPECT_TRUE(cellAcceptsEveryOrder(halves));
    const uint8_t oneWay[] = {9, 41};  // 41 may go onto 9 but not 9 onto 41
    EXPECT_TRUE(isAllowedPair(9, 41));
    EXPECT_FALSE(cellAcceptsEveryOrder(oneWay));
    // Laid as 1, 2, 4 each step passes, because 1 + 2 reads as the shape 3;
    // laid as 2, 4 the two overlapping shapes meet directly and are refused.
    const uint8_t sumHidesOverlap[] = {1, 2, 4};
    EXPECT_TRUE(isAllowedPair(1, 2) && isAllowedPair(3, 4));
    EXPECT_FALSE(cellAcceptsEveryOrder(sumHidesOverlap));
    const uint8_t full[] = {64, 1};
    EXPECT_FALSE(cellAcceptsEveryOrder(full));
    const uint8_t single[] = {64};
    EXPECT_TRUE(cellAcceptsEveryOrder(single));
}

}  // namespace
}  // namespace quellon
