// The text forms of the settings and the placement of the main window.
#include <gtest/gtest.h>

#include "engine/settings_values.h"

using namespace quellon;

TEST(SettingIntegers, DecimalTextOrTheDefault)
{
    EXPECT_EQ(settingInteger("-3", 1), -3);
    EXPECT_EQ(settingInteger("2000", 1), 2000);
    EXPECT_EQ(settingInteger(" 12 ", 1), 12);
    EXPECT_EQ(settingInteger("+5", 1), 5);
    EXPECT_EQ(settingInteger(std::nullopt, 7), 7);
    for (const char* bad : {"", "abc", "12x", "1.5", "--1", "+-1", "-", "99999999999", "0x10"})
        EXPECT_EQ(settingInteger(bad, 42), 42) << bad;
}

TEST(SettingBooleans, ZeroIsOffOtherNumbersOnBadTextTheDefault)
{
    EXPECT_FALSE(settingBoolean("0", true));
    EXPECT_TRUE(settingBoolean("7", false));
    EXPECT_TRUE(settingBoolean("-1", false));
    EXPECT_TRUE(settingBoolean("yes", true));
    EXPECT_FALSE(settingBoolean("yes", false));
    EXPECT_TRUE(settingBoolean(std::nullopt, true));
    EXPECT_EQ(booleanText(true), "1");
    EXPECT_EQ(booleanText(false), "0");
}

TEST(Placement, SevenNumbersWithTheMarkRoundTrip)
{
    const auto placement = parsePlacement("200,0,1,100,100,800,600");
    ASSERT_TRUE(placement);
    EXPECT_EQ(*placement, (WindowPlacement{0, 1, 100, 100, 800, 600}));
    EXPECT_EQ(formatPlacement(*placement), "200,0,1,100,100,800,600");
    const WindowPlacement negative{2, 3, -1920, -5, -100, 700};
    EXPECT_EQ(parsePlacement(formatPlacement(negative)), negative);
}

TEST(Placement, MalformedValuesAreIgnored)
{
    for (const char* bad : {"", "100,0,1,100,100,800,600", "200,0,1,100,100,800", "200,0,1,100,100,800,600,5",
                            "200,0,1,100,,800,600", "200,0,1,a,100,800,600", "200;0;1;100;100;800;600", ","})
        EXPECT_FALSE(parsePlacement(bad)) << bad;
}

TEST(Placement, ClampPullsTheWindowOntoTheDesktopInOrder)
{
    // 700 x 500 at (100, 100) on a 640 x 1000 desktop: first moved to
    // left -60, then, being left of the desktop, to left 0, right 700.
    WindowPlacement p{0, 1, 100, 100, 800, 600};
    clampToDesktop(p, {0, 0, 640, 1000});
    EXPECT_EQ(p, (WindowPlacement{0, 1, 0, 100, 700, 600}));

    WindowPlacement below{0, 1, 10, 900, 410, 1200};
    clampToDesktop(below, {0, 0, 1280, 1024});
    EXPECT_EQ(below, (WindowPlacement{0, 1, 10, 724, 410, 1024}));

    WindowPlacement above{0, 1, -50, -30, 350, 270};
    clampToDesktop(above, {0, 0, 1280, 1024});
    EXPECT_EQ(above, (WindowPlacement{0, 1, 0, 0, 400, 300}));

    // Turned over by hand: taken by its corners, then kept on the desktop.
    WindowPlacement turned{0, 1, 5000, 600, 0, 0};
    clampToDesktop(turned, {0, 0, 1920, 1080});
    EXPECT_EQ(turned, (WindowPlacement{0, 1, 0, 0, 5000, 600}));

    // A screen left of the main one: its area starts at a negative x.
    WindowPlacement left{0, 1, -1800, 50, -1000, 650};
    clampToDesktop(left, {-1920, 0, 3840, 1080});
    EXPECT_EQ(left, (WindowPlacement{0, 1, -1800, 50, -1000, 650}));
}

TEST(Placement, RectanglesBeyondTheIntRangeStillLandOnTheDesktop)
{
    WindowPlacement huge = *parsePlacement("200,0,1,-2147483648,-2147483648,2147483647,2147483647");
    clampToDesktop(huge, {0, 0, 1920, 1080});
    EXPECT_EQ(huge.left, 0);
    EXPECT_EQ(huge.top, 0);
    EXPECT_GE(huge.right, huge.left);
    EXPECT_GE(huge.bottom, huge.top);

    WindowPlacement wide{0, 1, 0, 0, 2147483647, 100};
    clampToDesktop(wide, {-3000, 0, 1000, 1080});
    EXPECT_EQ(wide.left, -3000);
    EXPECT_GE(wide.right, wide.left);
}

TEST(Level, ClampedToTheCatalogue)
{
    EXPECT_EQ(clampLevel(0, 950), 1);
    EXPECT_EQ(clampLevel(-5, 950), 1);
    EXPECT_EQ(clampLevel(2000, 950), 950);
    EXPECT_EQ(clampLevel(17, 950), 17);
    EXPECT_EQ(clampLevel(-3, 10), 1);
}
