#include "engine/pattern_placement.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "engine/board.h"
#include "engine/orientation_table.h"
#include "engine/setup.h"

namespace quellon {

long long ScreenRect::overlap(const ScreenRect& other) const
{
    const long long across = std::min(right(), other.right()) - std::max(left, other.left);
    const long long down = std::min(bottom(), other.bottom()) - std::max(top, other.top);
    return across > 0 && down > 0 ? across * down : 0;
}

std::vector<CellRect> parkingPlaces()
{
    // Odd pieces park at the left edge, even ones at the right.
    std::vector<CellRect> places;
    for (const int first : {1, 2}) {
        int left = kBoardColumns;
        int top = kBoardRows;
        int right = -1;
        int bottom = -1;
        for (int n = first; n <= kPieceCount; n += 2) {
            const PieceState slot = parkingSlot(n);
            for (int o = 0; o < kOrientationCount; ++o) {
                left = std::min(left, slot.x + boundsMinX[o]);
                right = std::max(right, slot.x + boundsMaxX[o]);
                top = std::min(top, slot.y + boundsMinY[o]);
                bottom = std::max(bottom, slot.y + boundsMaxY[o]);
            }
        }
        places.push_back({left, top, right - left + 1, bottom - top + 1});
    }
    return places;
}

namespace {

// The top-left corner wins where the window is larger than the screen: its
// title bar stays reachable.
ScreenPoint keptOn(const ScreenRect& screen, ScreenPoint at, int width, int height)
{
    at.x = std::max(screen.left, std::min(at.x, screen.right() - width));
    at.y = std::max(screen.top, std::min(at.y, screen.bottom() - height));
    return at;
}

}  // namespace

ScreenPoint firstPatternPosition(const MainWindowLayout& main, const ScreenRect& screen, int patternWidth,
                                 int patternHeight)
{
    const int roomLeft = main.outer.left - screen.left;
    const int roomRight = screen.right() - main.outer.right();
    const bool rightSide = roomRight >= roomLeft;
    const ScreenPoint beside =
        keptOn(screen, {rightSide ? main.outer.right() : main.outer.left - patternWidth, main.board.top}, patternWidth,
               patternHeight);
    if (std::max(roomLeft, roomRight) >= patternWidth)
        return beside;

    // Over the main window then. The least board it can hide with the fewest
    // pixels of what it must leave clear is found where one of its edges
    // meets an edge of the screen, the main window, the board or something
    // to leave clear: each of these amounts changes linearly between them.
    std::vector<int> xs{screen.left,
                        screen.right() - patternWidth,
                        main.outer.left - patternWidth,
                        main.outer.right(),
                        main.board.left - patternWidth,
                        main.board.left,
                        main.board.right() - patternWidth,
                        main.board.right()};
    std::vector<int> ys{screen.top,
                        screen.bottom() - patternHeight,
                        main.outer.top - patternHeight,
                        main.outer.bottom(),
                        main.board.top - patternHeight,
                        main.board.top,
                        main.board.bottom() - patternHeight,
                        main.board.bottom()};
    for (const ScreenRect& clear : main.keepClear) {
        xs.push_back(clear.left - kPatternButtonGap - patternWidth);
        xs.push_back(clear.right() + kPatternButtonGap);
        ys.push_back(clear.top - kPatternButtonGap - patternHeight);
        ys.push_back(clear.bottom() + kPatternButtonGap);
    }
    // Of equal places, the nearest to the side with more room.
    using Cost = std::tuple<long long, long long, int>;
    ScreenPoint best = beside;
    Cost bestCost{-1, 0, 0};
    for (const int x : xs) {
        for (const int y : ys) {
            const ScreenPoint at = keptOn(screen, {x, y}, patternWidth, patternHeight);
            const ScreenRect window{at.x, at.y, patternWidth, patternHeight};
            const ScreenRect kept{at.x - kPatternButtonGap, at.y - kPatternButtonGap,
                                  patternWidth + 2 * kPatternButtonGap, patternHeight + 2 * kPatternButtonGap};
            long long covered = 0;
            for (const ScreenRect& clear : main.keepClear)
                covered += kept.overlap(clear);
            const Cost cost{covered, window.overlap(main.board), std::abs(at.x - beside.x) + std::abs(at.y - beside.y)};
            if (std::get<0>(bestCost) < 0 || cost < bestCost) {
                best = at;
                bestCost = cost;
            }
        }
    }
    return best;
}

}  // namespace quellon
