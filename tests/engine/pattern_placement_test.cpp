// The pattern window's first place, on the screens players have: beside the
// main window where there is room, else over it where it hides the least of
// the board and nothing the player clicks or picks up.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "engine/board.h"
#include "engine/pattern_placement.h"

using namespace quellon;

namespace {

constexpr int kFrameSide = 1;
constexpr int kTitle = 22;
constexpr int kToolBar = 60;

// A main window of the given client size in a frame like openbox's, its top
// left corner at `at` (centred on the screen when none), with its thirteen
// tool buttons, its board laid out as the game lays it out and the parking
// places on it.
MainWindowLayout mainWindow(const ScreenRect& screen, int clientWidth = 909, int clientHeight = 698,
                            std::optional<ScreenPoint> at = std::nullopt)
{
    MainWindowLayout main;
    main.outer = {0, 0, clientWidth + 2 * kFrameSide, clientHeight + kTitle + kFrameSide};
    const ScreenPoint corner = at.value_or(ScreenPoint{screen.left + (screen.width - main.outer.width) / 2,
                                                       screen.top + (screen.height - main.outer.height) / 2});
    main.outer.left = corner.x;
    main.outer.top = corner.y;
    const int x = main.outer.left + kFrameSide;
    const int y = main.outer.top + kTitle;
    for (const int left :
         {5, 58, 111, 164, 218, clientWidth - 208, clientWidth - 156, clientWidth - 104, clientWidth - 52})
        main.keepClear.push_back({x + left, y + 6, 50, 50});
    for (const int left : {270, 323})
        for (const int top : {6, 30})
            main.keepClear.push_back({x + left, y + top, 50, 25});
    const int cell = std::max(std::min(clientWidth / 93, (clientHeight - kToolBar) / 63), 1);
    main.board = {x + (clientWidth - kBoardColumns * cell) / 2,
                  y + (clientHeight - kToolBar - kBoardRows * cell) / 2 + kToolBar, kBoardColumns * cell + 1,
                  kBoardRows * cell + 1};
    for (const CellRect& place : parkingPlaces())
        main.keepClear.push_back({main.board.left + place.column * cell, main.board.top + place.row * cell,
                                  place.columns * cell, place.rows * cell});
    return main;
}

struct PatternSize {
    int width;
    int height;
};

// The small, medium and big window with the frame of the test's main window.
constexpr PatternSize kSizes[] = {{181 + 2 * kFrameSide, 120 + kTitle + kFrameSide},
                                  {271 + 2 * kFrameSide, 180 + kTitle + kFrameSide},
                                  {361 + 2 * kFrameSide, 240 + kTitle + kFrameSide}};

bool onScreen(const ScreenRect& window, const ScreenRect& screen)
{
    return window.left >= screen.left && window.top >= screen.top && window.right() <= screen.right() &&
           window.bottom() <= screen.bottom();
}

bool keepsClear(const ScreenRect& window, const MainWindowLayout& main)
{
    const ScreenRect kept{window.left - kPatternButtonGap, window.top - kPatternButtonGap,
                          window.width + 2 * kPatternButtonGap, window.height + 2 * kPatternButtonGap};
    return std::none_of(main.keepClear.begin(), main.keepClear.end(),
                        [&kept](const ScreenRect& clear) { return kept.intersects(clear); });
}

}  // namespace

TEST(ParkingPlaces, HoldEveryParkedPieceInEveryOrientation)
{
    // Columns 2..15 and 74..87, rows 1..59: whatever orientation a parked
    // piece is drawn in, it stays inside them.
    const std::vector<CellRect> places = parkingPlaces();
    ASSERT_EQ(places.size(), 2U);
    EXPECT_EQ(places[0].column, 2);
    EXPECT_EQ(places[0].columns, 14);
    EXPECT_EQ(places[1].column, 74);
    EXPECT_EQ(places[1].columns, 14);
    for (const CellRect& place : places) {
        EXPECT_EQ(place.row, 1);
        EXPECT_EQ(place.rows, 59);
    }
}

// On every screen and at every size: where a side of the screen has room for
// the window, it stands against the main window's frame on the side with
// more room, its top level with the board's; elsewhere it stays on the
// screen, clear of the tool buttons and the parking places, and no place
// that is clear hides less of the board (searched every other pixel).
TEST(FirstPatternPosition, BesideTheMainWindowElseHidingTheLeastOfTheBoard)
{
    struct Case {
        ScreenRect screen;
        int clientWidth;
        int clientHeight;
        int shift;  // of the main window from the middle of the screen
    };
    // 1920 x 1080 at 1, 1.5 and 2 (1280 x 720, 960 x 540, where the main
    // window fills the screen), 1366 x 768, 1024 x 768, a second screen.
    const Case cases[] = {{{0, 0, 1920, 1080}, 909, 698, 0},   {{0, 0, 1920, 1080}, 909, 698, -150},
                          {{0, 0, 1920, 1080}, 909, 698, 150}, {{1920, 0, 2560, 1440}, 909, 698, 0},
                          {{0, 0, 1366, 768}, 909, 698, 0},    {{0, 0, 1024, 768}, 909, 698, 0},
                          {{0, 0, 1280, 720}, 1100, 690, 0},   {{0, 0, 960, 540}, 958, 517, 0},
                          {{100, 50, 1366, 738}, 909, 690, 0}};
    int beside = 0;
    int over = 0;
    for (const Case& c : cases) {
        const MainWindowLayout centred = mainWindow(c.screen, c.clientWidth, c.clientHeight);
        const MainWindowLayout main = mainWindow(c.screen, c.clientWidth, c.clientHeight,
                                                 ScreenPoint{centred.outer.left + c.shift, centred.outer.top});
        const int roomLeft = main.outer.left - c.screen.left;
        const int roomRight = c.screen.right() - main.outer.right();
        for (const PatternSize size : kSizes) {
            const ScreenPoint at = firstPatternPosition(main, c.screen, size.width, size.height);
            const ScreenRect window{at.x, at.y, size.width, size.height};
            SCOPED_TRACE(testing::Message() << "screen " << c.screen.width << " x " << c.screen.height << ", shift "
                                            << c.shift << ", width " << size.width << ": at " << at.x << ", " << at.y);
            EXPECT_TRUE(onScreen(window, c.screen));
            if (std::max(roomLeft, roomRight) >= size.width) {
                ++beside;
                const int x = roomRight >= roomLeft ? main.outer.right() : main.outer.left - size.width;
                EXPECT_EQ(at, (ScreenPoint{x, main.board.top}));
                continue;
            }
            std::optional<long long> least;
            for (int y = c.screen.top; y + size.height <= c.screen.bottom(); y += 2) {
                for (int x = c.screen.left; x + size.width <= c.screen.right(); x += 2) {
                    const ScreenRect other{x, y, size.width, size.height};
                    if (keepsClear(other, main))
                        least = std::min(least.value_or(other.overlap(main.board)), other.overlap(main.board));
                }
            }
            if (!least)
                continue;
            ++over;
            EXPECT_TRUE(keepsClear(window, main));
            EXPECT_LE(window.overlap(main.board), *least);
        }
    }
    // Both rules were tried on the screens players have.
    EXPECT_GE(beside, 10);
    EXPECT_GE(over, 8);
}
