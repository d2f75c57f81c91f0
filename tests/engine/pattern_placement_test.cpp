// The pattern window's place at the first start, on the screens players have.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/pattern_placement.h"

using namespace quellon;

namespace {

// A main window of the initial client size in a frame like openbox's,
// centred on the screen, with its thirteen tool buttons.
struct MainWindow {
    ScreenRect outer;
    std::vector<ScreenRect> buttons;
};

constexpr int kFrameSide = 1;
constexpr int kTitle = 22;

MainWindow centredMain(const ScreenRect& screen)
{
    const int clientWidth = 909;
    const int clientHeight = 698;
    MainWindow main;
    main.outer = {0, 0, clientWidth + 2 * kFrameSide, clientHeight + kTitle + kFrameSide};
    main.outer.left = screen.left + (screen.width - main.outer.width) / 2;
    main.outer.top = screen.top + (screen.height - main.outer.height) / 2;
    const int x = main.outer.left + kFrameSide;
    const int y = main.outer.top + kTitle;
    for (const int left :
         {5, 58, 111, 164, 218, clientWidth - 208, clientWidth - 156, clientWidth - 104, clientWidth - 52})
        main.buttons.push_back({x + left, y + 6, 50, 50});
    for (const int left : {270, 323})
        for (const int top : {6, 30})
            main.buttons.push_back({x + left, y + top, 50, 25});
    return main;
}

}  // namespace

TEST(FirstPatternPosition, OnTheDesignScreenTheStoredDefaultStands)
{
    const ScreenRect screen{0, 0, 1024, 768};
    const MainWindow main = centredMain(screen);
    // The small window fits the tool bar's empty middle there.
    EXPECT_EQ(firstPatternPosition(main.outer, screen, main.buttons, 181 + 2, 120 + 23), (ScreenPoint{500, 50}));
}

// Every size on every screen: on the screen and clear of every button; where
// the point of the main window is clear already, exactly there.
TEST(FirstPatternPosition, OnTheScreenAndOffTheButtonsEverywhere)
{
    const ScreenRect screens[] = {{0, 0, 1024, 768}, {0, 0, 1366, 768},     {0, 0, 1920, 1080}, {0, 0, 1280, 800},
                                  {0, 0, 960, 540},  {1920, 0, 1920, 1080}, {0, 0, 1024, 740}};
    for (const ScreenRect& screen : screens) {
        const MainWindow main = centredMain(screen);
        for (const int scale : {2, 3, 4}) {
            const int width = 90 * scale + 1 + 2 * kFrameSide;
            const int height = 60 * scale + kTitle + kFrameSide;
            const ScreenPoint at = firstPatternPosition(main.outer, screen, main.buttons, width, height);
            const ScreenRect window{at.x, at.y, width, height};
            SCOPED_TRACE(testing::Message() << "screen " << screen.width << " x " << screen.height << " at "
                                            << screen.left << ", scale " << scale << ": at " << at.x << ", " << at.y);
            EXPECT_GE(window.left, screen.left);
            EXPECT_GE(window.top, screen.top);
            EXPECT_LE(window.right(), screen.right());
            EXPECT_LE(window.bottom(), screen.bottom());
            for (const ScreenRect& button : main.buttons)
                EXPECT_FALSE(window.intersects(button)) << "button at " << button.left << ", " << button.top;
            // The same point of the main window as (500, 50) on the design screen.
            const ScreenPoint same{main.outer.left + 500 - (1024 - main.outer.width) / 2,
                                   main.outer.top + 50 - (768 - main.outer.height) / 2};
            const ScreenRect there{same.x - kPatternButtonGap, same.y - kPatternButtonGap,
                                   width + 2 * kPatternButtonGap, height + 2 * kPatternButtonGap};
            const bool clearThere = std::none_of(main.buttons.begin(), main.buttons.end(),
                                                 [&](const ScreenRect& b) { return there.intersects(b); });
            if (clearThere && same.x >= screen.left && same.y >= screen.top && same.x + width <= screen.right() &&
                same.y + height <= screen.bottom()) {
                EXPECT_EQ(at, same);
            }
        }
    }
}
