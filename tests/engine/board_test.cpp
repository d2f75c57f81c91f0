// Stamping, bounds, fit and solve: the rules every move of the player rests on.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "engine/board.h"
#include "engine/orientation_table.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using namespace quellon::testing;

namespace {

// A board whose target is `record` and whose layout is `layout`.
Board boardWith(const PuzzleRecord& target, const PuzzleRecord& layout)
{
    Board board;
    board.targetGrid = gridOf(target);
    const auto anchor = firstFilledCell(board.targetGrid);
    board.targetAnchorX = anchor ? anchor->x : 0;
    board.targetAnchorY = anchor ? anchor->y : 0;
    for (int n = 1; n <= kPieceCount; ++n) {
        board.piece(n) = layout.pieces[static_cast<size_t>(n - 1)];
        board.stampPiece(n);
    }
    return board;
}

PuzzleRecord shifted(PuzzleRecord record, int dx, int dy)
{
    for (PieceState& piece : record.pieces) {
        piece.x = static_cast<uint8_t>(piece.x + dx);
        piece.y = static_cast<uint8_t>(piece.y + dy);
    }
    return record;
}

}  // namespace

TEST(BoardBounds, OrientationZeroStopsAtTheBoardEdges)
{
    const Board board;
    EXPECT_TRUE(board.inBounds(7, 30, 0));
    EXPECT_TRUE(board.inBounds(88, 30, 0));
    EXPECT_FALSE(board.inBounds(6, 30, 0));
    EXPECT_FALSE(board.inBounds(89, 30, 0));
    EXPECT_TRUE(board.inBounds(30, 7, 0));
    EXPECT_TRUE(board.inBounds(30, 58, 0));
    EXPECT_FALSE(board.inBounds(30, 6, 0));
    EXPECT_FALSE(board.inBounds(30, 59, 0));
    EXPECT_FALSE(board.inBounds(-100, -100, 0));
    EXPECT_FALSE(board.inBounds(30, 30, 16));
}

TEST(BoardFit, HalfCellsThatCompleteEachOtherFitAndFullCellsRefuse)
{
    Board board;
    board.piece(1) = {37, 27, 0};
    board.stampPiece(1);
    EXPECT_TRUE(board.fitsBoard(33, 23, 8));   // the matching half: 29 onto 35
    EXPECT_FALSE(board.fitsBoard(37, 27, 0));  // the same piece again
    EXPECT_FALSE(board.fitsBoard(36, 27, 0));  // overlaps full cells
    EXPECT_TRUE(board.fitsBoard(60, 27, 0));   // far away
    EXPECT_FALSE(board.fitsBoard(89, 27, 0));  // off the board
}

TEST(BoardStamp, LiftUndoesStampBitForBitWhateverElseIsInTheCell)
{
    Board board;
    const PuzzleRecord record = squareQuellon();
    for (int n = 1; n <= kPieceCount; ++n) {
        board.piece(n) = record.pieces[static_cast<size_t>(n - 1)];
        board.stampPiece(n);
    }
    const Grid before = board.layoutGrid;
    EXPECT_EQ(before, gridOf(record));
    for (int n = 1; n <= kPieceCount; ++n) {
        board.liftPiece(n);
        EXPECT_NE(board.layoutGrid, before);
        board.stampPiece(n);
        EXPECT_EQ(board.layoutGrid, before);
    }
    for (int n = 1; n <= kPieceCount; ++n)
        board.liftPiece(n);
    EXPECT_EQ(board.layoutGrid, Grid{});
}

TEST(BoardAnchor, FirstFilledCellIsLeftmostOfTopmostRow)
{
    Grid grid{};
    EXPECT_FALSE(firstFilledCell(grid).has_value());
    grid[gridIndex(50, 12)] = 1;
    grid[gridIndex(10, 13)] = 1;
    grid[gridIndex(70, 12)] = 1;
    EXPECT_EQ(firstFilledCell(grid), (Cell{50, 12}));
}

TEST(BoardSolve, EmptyLayoutChangesNothing)
{
    Board board;
    board.targetGrid = gridOf(squareQuellon());
    EXPECT_FALSE(board.checkSolved());
    EXPECT_EQ(board.solveState, SolveState::Playing);
}

TEST(BoardSolve, LayoutRebuiltAnywhereOnTheBoardIsSolved)
{
    const PuzzleRecord target = squareQuellon();
    for (auto [dx, dy] : {std::pair{0, 0}, {5, 3}, {-12, -8}, {20, 20}}) {
        Board board = boardWith(target, shifted(target, dx, dy));
        EXPECT_TRUE(board.checkSolved()) << dx << ", " << dy;
        EXPECT_EQ(board.solveState, SolveState::Solved);
    }
}

TEST(BoardSolve, TargetTouchingTheLastColumnAndRowIsSolvedLikeAnyOther)
{
    const PuzzleRecord target = squareQuellon(71, 41);  // covers columns 71..90, rows 41..60
    Board board = boardWith(target, squareQuellon(10, 5));
    EXPECT_TRUE(board.checkSolved());
}

TEST(BoardSolve, LayoutTouchingTheLastColumnOrRowIsSolvedLikeAnyOther)
{
    // The player's square against the right edge, the bottom edge and the
    // corner; the edge cells are compared like any other.
    const PuzzleRecord target = squareQuellon(30, 20);
    for (auto [left, top] : {std::pair{71, 20}, {30, 41}, {71, 41}, {0, 41}}) {
        Board board = boardWith(target, squareQuellon(left, top));
        EXPECT_TRUE(board.checkSolved()) << left << ", " << top;
        // And the same square as the target, rebuilt in the middle.
        Board mirrored = boardWith(squareQuellon(left, top), target);
        EXPECT_TRUE(mirrored.checkSolved()) << left << ", " << top;
        // A difference in the layout's lowest row alone keeps it unsolved.
        Board changed = boardWith(target, squareQuellon(left, top));
        int lowest = -1;
        int column = 0;
        for (int x = 0; x < kBoardColumns; ++x)
            for (int y = 0; y < kBoardRows; ++y)
                if (changed.layoutGrid[gridIndex(x, y)] != 0 && y >= lowest) {
                    lowest = y;
                    column = x;
                }
        uint8_t& cell = changed.layoutGrid[gridIndex(column, lowest)];
        cell = static_cast<uint8_t>(cell == 1 ? 2 : 1);
        EXPECT_FALSE(changed.checkSolved()) << left << ", " << top;
    }
}

TEST(BoardSolve, IncompleteOrDifferentLayoutIsNotSolved)
{
    const PuzzleRecord target = squareQuellon();
    // One piece moved away from the square.
    PuzzleRecord moved = target;
    moved.pieces[7].x = static_cast<uint8_t>(moved.pieces[7].x + 30);
    Board board = boardWith(target, moved);
    const Grid layout = board.layoutGrid;
    EXPECT_FALSE(board.checkSolved());
    EXPECT_EQ(board.solveState, SolveState::Playing);
    EXPECT_EQ(board.layoutGrid, layout);
}

TEST(BoardSolve, ComparisonIsByCodeSumsSoAnotherCutOfFullCellsCounts)
{
    // The diagonals of the four squares run the other way; every cell still
    // sums to 64, so the layout rebuilds the target.
    const PuzzleRecord target = squareQuellon();
    PuzzleRecord otherCut = target;
    for (int k = 0; k < 4; ++k) {
        const int sx = target.pieces[static_cast<size_t>(2 * k)].x - 7;
        const int sy = target.pieces[static_cast<size_t>(2 * k)].y - 7;
        otherCut.pieces[static_cast<size_t>(2 * k)] = {static_cast<uint8_t>(sx + 3), static_cast<uint8_t>(sy + 7), 4};
        otherCut.pieces[static_cast<size_t>(2 * k + 1)] = {static_cast<uint8_t>(sx + 7), static_cast<uint8_t>(sy + 3),
                                                           12};
    }
    Board other = boardWith(target, otherCut);
    EXPECT_EQ(other.layoutGrid, other.targetGrid);
    EXPECT_TRUE(other.checkSolved());
}

TEST(BoardSolve, ShiftThatLeavesTheGridIsNotSolved)
{
    // The layout is the target plus an extra piece far to the right whose
    // shifted cells fall off the grid.
    Board board;
    const PuzzleRecord target = squareQuellon(10, 20);
    board.targetGrid = gridOf(target);
    board.targetAnchorX = 10;
    board.targetAnchorY = 20;
    PuzzleRecord layout = squareQuellon(60, 20);
    for (int n = 1; n <= kPieceCount; ++n) {
        board.piece(n) = layout.pieces[static_cast<size_t>(n - 1)];
        board.stampPiece(n);
    }
    board.layoutGrid[gridIndex(40, 30)] = 64;  // a stray cell left of the square
    EXPECT_FALSE(board.checkSolved());
}

// Random play with every accepted drop checked: a cell only ever holds
// nothing, one piece's code, or the sum of a pair the fit rules allow. Drops
// are crowded into a small area so that most of them are refused.
TEST(BoardFit, NoAcceptedDropLeavesACellOutsideTheAllowedSums)
{
    std::array<bool, 256> allowedSum{};
    allowedSum[0] = true;
    for (uint8_t code : cellCodes)
        allowedSum[code] = true;
    for (const CodePair& pair : allowedPairs)
        allowedSum[static_cast<uint8_t>(pair.existing + pair.added)] = true;

    std::mt19937 random(20261208);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Board board;
    for (int n = 1; n <= kPieceCount; ++n) {
        board.piece(n) = PieceState{static_cast<uint8_t>(8 + 10 * (n - 1)), 8, 0};
        board.stampPiece(n);
    }
    int accepted = 0;
    constexpr int kSteps = 50000;
    for (int step = 0; step < kSteps; ++step) {
        const int n = uniform(1, kPieceCount);
        const int x = uniform(20, 70), y = uniform(15, 45), o = uniform(0, kOrientationCount - 1);
        board.liftPiece(n);
        const bool fits = board.fitsBoard(x, y, o);
        if (fits) {
            board.piece(n) = PieceState{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(o)};
            ++accepted;
        }
        board.stampPiece(n);
        if (!fits)
            continue;
        // Only the cells under the dropped piece changed.
        for (int i = -kCellOffsetOrigin; i < kCellSpan - kCellOffsetOrigin; ++i)
            for (int j = -kCellOffsetOrigin; j < kCellSpan - kCellOffsetOrigin; ++j) {
                const uint8_t cell = board.layoutGrid[gridIndex(x + i, y + j)];
                ASSERT_TRUE(allowedSum[cell]) << "cell code " << int(cell) << " after step " << step;
            }
    }
    EXPECT_EQ(board.layoutGrid, layoutOf(board));
    // Enough of both kinds for the check to mean something.
    EXPECT_GT(accepted, kSteps / 50);
    EXPECT_LT(accepted, kSteps - kSteps / 50);
}
