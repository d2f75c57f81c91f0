// Paging and picking of the picture selection.
#include <gtest/gtest.h>

#include "engine/selection.h"

using namespace quellon;

TEST(SelectionPaging, LineAndPageStepsMoveByARowAndAPage)
{
    const int value = sliderValueFor(950, 1);
    EXPECT_EQ(firstOnPage(950, value - kSelectLineStep), 5);
    EXPECT_EQ(firstOnPage(950, value - kSelectPageStep), 17);
    EXPECT_EQ(firstOnPage(950, 1), 935);
    // Values beyond the slider's range are held at its ends.
    EXPECT_EQ(firstOnPage(950, 0), 935);
    EXPECT_EQ(firstOnPage(950, 5000), 1);
}

TEST(SelectionPaging, SmallCataloguesHaveOnePageOfTheirOwnQuellons)
{
    for (int count : {1, 5, 15, 16}) {
        EXPECT_EQ(sliderMaximum(count), 1) << count;
        EXPECT_EQ(firstOnPage(count, sliderValueFor(count, count)), 1) << count;
        int shown = 0;
        for (int cell = 0; cell < kSelectPageSize; ++cell)
            if (quellonInCell(count, 1, cell))
                ++shown;
        EXPECT_EQ(shown, count);
    }
    EXPECT_EQ(sliderMaximum(17), 2);
    EXPECT_EQ(firstOnPage(17, sliderValueFor(17, 17)), 2);
}

TEST(SelectionClick, GapsBelongToTheCellBefore)
{
    EXPECT_EQ(cellAt(0, 0), 0);
    EXPECT_EQ(cellAt(95, 80), 0);  // in both gaps of the first frame
    EXPECT_EQ(cellAt(100, 0), 1);
    EXPECT_EQ(cellAt(0, 85), 4);
    EXPECT_EQ(cellAt(395, 330), 15);
    EXPECT_EQ(cellAt(399, 339), 15);
    EXPECT_FALSE(cellAt(-1, 10));
    EXPECT_FALSE(cellAt(10, -1));
    EXPECT_FALSE(cellAt(400, 10));
    EXPECT_FALSE(cellAt(10, 340));
}

TEST(SelectionClick, PicksTheQuellonOfTheCellOnThisPage)
{
    EXPECT_EQ(quellonAt(950, 1, 95, 80), 1);
    EXPECT_EQ(quellonAt(950, 1, 395, 330), 16);
    EXPECT_EQ(quellonAt(950, 935, 395, 330), 950);
    EXPECT_EQ(quellonAt(950, 17, 150, 100), 17 + 1 + 4);
    // A cell past the end of a small catalogue picks nothing.
    EXPECT_EQ(quellonAt(6, 1, 150, 90), 6);
    EXPECT_FALSE(quellonAt(6, 1, 250, 90));
    EXPECT_FALSE(quellonAt(6, 1, 395, 330));
}

TEST(SelectionFaces, StripOffsetsByHelpLevel)
{
    EXPECT_FALSE(faceOffset(0));
    EXPECT_FALSE(faceOffset(3));   // help used, still open
    EXPECT_EQ(faceOffset(8), 60);  // green, laughing
    EXPECT_EQ(faceOffset(9), 45);
    EXPECT_EQ(faceOffset(10), 30);
    EXPECT_EQ(faceOffset(11), 15);
    EXPECT_EQ(faceOffset(12), 0);     // red, dropped
    EXPECT_EQ(faceOffset(8 + 7), 0);  // damaged levels stay inside the strip
}
