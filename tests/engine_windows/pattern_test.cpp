// The pattern window's size per placement and its caption.
#include <gtest/gtest.h>

#include "engine/orientation_table.h"
#include "engine/pattern.h"

using namespace quellon;

TEST(PatternWindow, ClientSizePerPlacement)
{
    EXPECT_EQ(patternClientSize(1), (PatternSize{181, 120}));
    EXPECT_EQ(patternClientSize(2), (PatternSize{271, 180}));
    EXPECT_EQ(patternClientSize(3), (PatternSize{361, 240}));
    EXPECT_EQ(patternScale(0), 2);
}

TEST(PatternWindow, CaptionCarriesNumberAndState)
{
    GameData game;
    game.quellonCount = 950;
    game.currentQuellon = 17;
    EXPECT_EQ(patternCaption(game, 0), "Quellon 17");
    game.progressTable[17] = 8 + 2;
    EXPECT_EQ(patternCaption(game, 0), "Quellon 17 - solved");
    EXPECT_EQ(patternCaption(game, 1), "Quellon 17 - gelöst");
    game.progressTable[17] = 12;
    EXPECT_EQ(patternCaption(game, 1), "Quellon 17 - aufgegeben");
    EXPECT_EQ(patternCaption(game, -1), "Quellon 17 - dropped");
    game.progressTable[17] = 4;  // help level without the finished bit: still open
    EXPECT_EQ(patternCaption(game, 0), "Quellon 17");
}

TEST(PatternWindow, CornersComeFromTheOrientationTable)
{
    for (int o = 0; o < kOrientationCount; ++o)
        for (int k = 0; k < 3; ++k) {
            const GridPoint corner = pieceCorner(PieceState{40, 30, static_cast<uint8_t>(o)}, k);
            EXPECT_EQ(corner.x, 40 + vertexX[static_cast<size_t>(k * 16 + o)]);
            EXPECT_EQ(corner.y, 30 + vertexY[static_cast<size_t>(k * 16 + o)]);
        }
}
