// Faults the fuzz targets found, kept as regression tests.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "engine/settings_values.h"

using namespace quellon;

// Found by fuzz_placement: a hand-edited "MainForm" whose rectangle spans more
// than the int range overflows the width in clampToDesktop (undefined
// behaviour; in practice the window landed off the desktop, at 1921, 1081).
TEST(FuzzFindings, ExtremeStoredRectangleStaysOnTheDesktop)
{
    const std::optional<WindowPlacement> stored =
        parsePlacement("200,0,1,-2147483648,-2147483648,2147483647,2147483647");
    ASSERT_TRUE(stored.has_value());
    WindowPlacement p = *stored;
    const DesktopArea desktop{0, 0, 1920, 1080};
    clampToDesktop(p, desktop);
    // Too large for any desktop: pulled to its top-left corner.
    EXPECT_EQ(p.left, desktop.left);
    EXPECT_EQ(p.top, desktop.top);
    EXPECT_GE(p.right, p.left);
    EXPECT_GE(p.bottom, p.top);
}

// The same overflow from the other side: a desktop right edge minus a width
// near INT_MAX.
TEST(FuzzFindings, HugeWidthOnADesktopLeftOfTheMainScreen)
{
    WindowPlacement p{0, 1, 0, 0, INT_MAX, 100};
    const DesktopArea desktop{-3000, 0, 1000, 1080};
    clampToDesktop(p, desktop);
    EXPECT_EQ(p.left, desktop.left);
    EXPECT_GE(p.right, p.left);
}
