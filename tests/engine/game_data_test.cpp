// Progress transitions and navigation between Quellons.
#include <gtest/gtest.h>

#include "engine/game_data.h"
#include "tests/support/test_quellon.h"

using namespace quellon;
using namespace quellon::testing;

TEST(Progress, SolvingSetsTheFinishedBitOnce)
{
    GameData game = gameWith(5);
    game.currentQuellon = 2;
    game.currentProgress() = 2;
    EXPECT_TRUE(markSolved(game));
    EXPECT_EQ(game.currentProgress(), 10);
    EXPECT_FALSE(markSolved(game));
    EXPECT_EQ(game.currentProgress(), 10);
    game.currentProgress() = 12;  // dropped earlier, solved now
    EXPECT_FALSE(markSolved(game));
    EXPECT_EQ(game.currentProgress(), 12);
}

TEST(Progress, ASolveLeavesProgressUnsavedOnlyWhenItFinishesTheQuellon)
{
    GameData game = gameWith(5);
    game.currentProgress() = 2;
    bool unsaved = false;
    recordSolve(game, unsaved);
    EXPECT_EQ(game.currentProgress(), 10);
    EXPECT_TRUE(unsaved);
    for (const uint8_t finished : {uint8_t{10}, uint8_t{12}}) {
        game.currentProgress() = finished;
        unsaved = false;
        recordSolve(game, unsaved);
        EXPECT_EQ(game.currentProgress(), finished);
        EXPECT_FALSE(unsaved);
    }
}

TEST(Progress, HelpRaisesTheLevelUpToDropped)
{
    GameData game = gameWith(5);
    EXPECT_EQ(raiseHelpLevel(game), 1);
    EXPECT_EQ(game.currentProgress(), 1);
    game.currentProgress() = 3;
    EXPECT_EQ(raiseHelpLevel(game), 4);
    EXPECT_EQ(game.currentProgress(), 12);
}

TEST(Progress, ClearingTouchesOnlyTheGivenRange)
{
    GameData game = gameWith(5);
    game.progressTable.fill(9);
    clearProgress(game, 5);
    EXPECT_EQ(game.progressTable[1], 0);
    EXPECT_EQ(game.progressTable[5], 0);
    EXPECT_EQ(game.progressTable[6], 9);
    clearProgress(game, kMaxQuellons);
    EXPECT_EQ(game.progressTable[950], 0);
}

TEST(Navigation, StepsWrapAroundAtBothEnds)
{
    GameData game = gameWith(950);
    game.currentQuellon = 950;
    nextQuellon(game);
    EXPECT_EQ(game.currentQuellon, 1);
    previousQuellon(game);
    EXPECT_EQ(game.currentQuellon, 950);
    game.currentQuellon = 0;  // below the range: previous goes to N
    previousQuellon(game);
    EXPECT_EQ(game.currentQuellon, 950);
}

TEST(Navigation, UnfinishedSearchSkipsFinishedQuellonsBothWays)
{
    GameData game = gameWith(10);
    for (int n = 1; n <= 10; ++n)
        game.progressTable[static_cast<size_t>(n)] = 8;
    game.progressTable[3] = 2;
    game.progressTable[8] = 0;
    game.currentQuellon = 4;
    EXPECT_TRUE(nextUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 8);
    EXPECT_TRUE(nextUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 3);  // wrapped past 10
    EXPECT_TRUE(previousUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 8);
}

TEST(Navigation, AllFinishedIsNotFoundAndKeepsTheCurrentQuellon)
{
    GameData game = gameWith(7);
    for (int n = 1; n <= 7; ++n)
        game.progressTable[static_cast<size_t>(n)] = n % 2 ? 8 : 12;
    game.currentQuellon = 5;
    EXPECT_FALSE(nextUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 5);
    EXPECT_FALSE(previousUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 5);
}

TEST(Navigation, OnlyTheCurrentUnfinishedIsFoundAgainAfterAFullRound)
{
    GameData game = gameWith(6);
    for (int n = 1; n <= 6; ++n)
        game.progressTable[static_cast<size_t>(n)] = 9;
    game.currentQuellon = 2;
    game.currentProgress() = 1;
    EXPECT_TRUE(nextUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 2);
    EXPECT_TRUE(previousUnfinished(game));
    EXPECT_EQ(game.currentQuellon, 2);
}
