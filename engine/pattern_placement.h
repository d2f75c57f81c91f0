// Where the pattern window stands when no place of it is stored. It is placed
// once, when the main window has its frame: beside the main window on the
// side with more room, its top level with the board's; where neither side has
// room, where it hides the least of the board and none of the tool buttons or
// parking places.
#pragma once

#include <vector>

namespace quellon {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }   // first column past it
    int bottom() const { return top + height; }  // first row past it
    bool intersects(const ScreenRect& other) const
    {
        return left < other.right() && other.left < right() && top < other.bottom() && other.top < bottom();
    }
    // The pixels it shares with `other`.
    long long overlap(const ScreenRect& other) const;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Board cells: the first column and row, and how many of each.
struct CellRect {
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;
};

// The cells a parked piece may cover in any orientation: the parking places
// at the board's left and right edges.
std::vector<CellRect> parkingPlaces();

// The main window as the pattern window's first place takes it, in screen
// pixels.
struct MainWindowLayout {
    ScreenRect outer;                   // with its frame
    ScreenRect board;                   // the board's paint area
    std::vector<ScreenRect> keepClear;  // the tool buttons and the parking places
};

// Pixels kept between the pattern window and what it must leave clear.
constexpr int kPatternButtonGap = 4;

// The outer top-left corner of a pattern window of outer size
// `patternWidth` x `patternHeight` on the screen's available area `screen`.
ScreenPoint firstPatternPosition(const MainWindowLayout& main, const ScreenRect& screen, int patternWidth,
                                 int patternHeight);

}  // namespace quellon
