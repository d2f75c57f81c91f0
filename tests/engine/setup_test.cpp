// Set-up and help: where the pieces lie after each, and what progress shows.
#include <gtest/gtest.h>

#include "engine/setup.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using namespace quellon::testing;

namespace {

struct SetUpFixture : ::testing::Test {
    GameData game = gameWith(3);
    Board board;
    PieceRandom random{12345};
    PuzzleRecord solution = squareQuellon();

    bool atSolution(int n) const { return board.piece(n) == solution.pieces[static_cast<size_t>(n - 1)]; }
    bool atSlot(int n) const
    {
        const PieceState slot = parkingSlot(n);
        return board.piece(n).x == slot.x && board.piece(n).y == slot.y;
    }
    void expectLayoutHoldsThePieces() const { EXPECT_EQ(board.layoutGrid, layoutOf(board)); }
};

}  // namespace

TEST(Parking, SlotsLieAtTheEdgesAndFitInEveryOrientation)
{
    const int xs[] = {9, 81, 9, 81, 9, 81, 9, 81};
    const int ys[] = {8, 8, 23, 23, 38, 38, 53, 53};
    Board board;
    for (int n = 1; n <= kPieceCount; ++n) {
        EXPECT_EQ(parkingSlot(n).x, xs[n - 1]);
        EXPECT_EQ(parkingSlot(n).y, ys[n - 1]);
        for (int o = 0; o < 16; ++o)
            EXPECT_TRUE(board.inBounds(xs[n - 1], ys[n - 1], o));
    }
}

TEST_F(SetUpFixture, FreshQuellonParksAllPiecesAndOffersHelp)
{
    EXPECT_TRUE(setUpQuellon(board, game, random));
    EXPECT_EQ(game.workingRecord(), solution);
    EXPECT_EQ(board.targetGrid, gridOf(solution));
    EXPECT_EQ(board.targetAnchorX, 30);
    EXPECT_EQ(board.targetAnchorY, 20);
    for (int n = 1; n <= kPieceCount; ++n)
        EXPECT_TRUE(atSlot(n)) << n;
    EXPECT_EQ(board.selectedPiece, 0);
    EXPECT_EQ(board.solveState, SolveState::Playing);
    expectLayoutHoldsThePieces();
}

TEST_F(SetUpFixture, EarnedHelpPiecesStandAtTheirSolutionSpots)
{
    game.currentProgress() = 2;
    board.solveState = SolveState::Solved;
    board.selectedPiece = 5;
    EXPECT_TRUE(setUpQuellon(board, game, random));
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(atSolution(n)) << n;
    for (int n = 5; n <= 8; ++n)
        EXPECT_TRUE(atSlot(n)) << n;
    EXPECT_EQ(board.solveState, SolveState::Playing);
    EXPECT_EQ(board.selectedPiece, 0);
    EXPECT_EQ(game.currentProgress(), 2);
    expectLayoutHoldsThePieces();
}

TEST_F(SetUpFixture, FinishedQuellonStartsParkedWithoutHelp)
{
    for (uint8_t progress : {uint8_t{8}, uint8_t{11}, uint8_t{12}}) {
        game.currentProgress() = progress;
        EXPECT_FALSE(setUpQuellon(board, game, random)) << int(progress);
        for (int n = 1; n <= kPieceCount; ++n)
            EXPECT_TRUE(atSlot(n)) << n;
        EXPECT_EQ(game.currentProgress(), progress);
    }
}

TEST_F(SetUpFixture, RepeatedSetUpOnlyRedrawsParkedOrientations)
{
    game.currentProgress() = 1;
    setUpQuellon(board, game, random);
    const Board first = board;
    PieceRandom other{999};
    setUpQuellon(board, game, other);
    EXPECT_EQ(board.targetGrid, first.targetGrid);
    EXPECT_TRUE(atSolution(1) && atSolution(2));
    for (int n = 3; n <= kPieceCount; ++n) {
        EXPECT_EQ(board.piece(n).x, first.piece(n).x);
        EXPECT_EQ(board.piece(n).y, first.piece(n).y);
    }
}

TEST_F(SetUpFixture, FourHelpsRaiseTheLevelAndDropTheQuellon)
{
    setUpQuellon(board, game, random);
    const uint8_t expected[] = {1, 2, 3, 12};
    for (int help = 1; help <= 4; ++help) {
        const HelpResult result = giveHelp(board, game, random);
        EXPECT_TRUE(result.given);
        EXPECT_EQ(result.level, help);
        EXPECT_EQ(game.currentProgress(), expected[help - 1]);
        for (int n = 1; n <= kPieceCount; ++n)
            EXPECT_EQ(atSolution(n), n <= 2 * help) << "help " << help << " piece " << n;
        expectLayoutHoldsThePieces();
    }
    EXPECT_EQ(board.solveState, SolveState::Dropped);
    EXPECT_FALSE(giveHelp(board, game, random).given);
    EXPECT_EQ(game.currentProgress(), 12);
}

TEST_F(SetUpFixture, HelpWhileAPieceIsHeldLeavesExactlyTheEightPieces)
{
    setUpQuellon(board, game, random);
    board.selectedPiece = 3;
    board.liftPiece(3);
    board.piece(3) = {45, 30, 5};  // dragged somewhere, not in the grid
    giveHelp(board, game, random);
    EXPECT_EQ(board.selectedPiece, 0);
    expectLayoutHoldsThePieces();
    EXPECT_TRUE(atSlot(3));
}

TEST_F(SetUpFixture, HelpOnAHalfBuiltLayoutParksEverythingFirst)
{
    setUpQuellon(board, game, random);
    // The player moved pieces 5 and 6 into the middle.
    for (int n : {5, 6}) {
        board.liftPiece(n);
        board.piece(n) = solution.pieces[static_cast<size_t>(n - 1)];
        board.stampPiece(n);
    }
    giveHelp(board, game, random);
    EXPECT_TRUE(atSolution(1) && atSolution(2));
    for (int n = 3; n <= kPieceCount; ++n)
        EXPECT_TRUE(atSlot(n)) << n;
    expectLayoutHoldsThePieces();
}

TEST_F(SetUpFixture, SolvedBoardOrFinishedQuellonGetsNoHelp)
{
    setUpQuellon(board, game, random);
    board.solveState = SolveState::Solved;
    EXPECT_FALSE(giveHelp(board, game, random).given);
    board.solveState = SolveState::Playing;
    game.currentProgress() = 9;  // solved earlier, replayed now
    EXPECT_FALSE(giveHelp(board, game, random).given);
    EXPECT_EQ(game.currentProgress(), 9);
}

TEST_F(SetUpFixture, DamagedProgressBytesNeverLayMoreThanEightPieces)
{
    // Unfinished with a level play never writes: read as level 3.
    for (uint8_t progress : {uint8_t{4}, uint8_t{5}, uint8_t{7}, uint8_t{0xF7}}) {
        game.currentProgress() = progress;
        EXPECT_TRUE(setUpQuellon(board, game, random));
        for (int n = 1; n <= kPieceCount; ++n)
            EXPECT_EQ(atSolution(n), n <= 6) << int(progress) << " piece " << n;
        const HelpResult result = giveHelp(board, game, random);
        EXPECT_TRUE(result.dropped());
        EXPECT_EQ(game.currentProgress(), 12);
        expectLayoutHoldsThePieces();
    }
    // Finished with an odd level: a finished Quellon, help level at most 4.
    EXPECT_EQ(helpLevel(0x0F), 4);
    EXPECT_EQ(helpLevel(0xFF), 4);
    EXPECT_EQ(helpLevel(0xF1), 1);
    game.currentProgress() = 0xFF;
    EXPECT_FALSE(setUpQuellon(board, game, random));
}

TEST(PieceRandom, SameSeedSameOrientationsAndAllSixteenOccur)
{
    PieceRandom a{7}, b{7};
    std::array<int, 16> seen{};
    for (int k = 0; k < 1000; ++k) {
        const int o = a.orientation();
        EXPECT_EQ(o, b.orientation());
        ASSERT_GE(o, 0);
        ASSERT_LT(o, 16);
        ++seen[static_cast<size_t>(o)];
    }
    for (int count : seen)
        EXPECT_GT(count, 20);
}
