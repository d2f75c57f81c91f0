// Where the pattern window stands at the very first start, before the player
// has ever moved it. Its stored default, (500, 50) of the screen, lies over
// the empty middle of the tool bar on a 1024 x 768 screen with the main
// window centred; on any other screen the same point of the main window is
// taken, kept on the screen and off the tool buttons.
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
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Pixels kept between the pattern window and a tool button.
constexpr int kPatternButtonGap = 4;

// The outer top-left corner of a pattern window of outer size
// `patternWidth` x `patternHeight`, for the main window's outer rectangle,
// the screen's available area and the tool buttons, all in screen pixels.
// Where the point over the tool bar would put it on a button, it moves
// sideways into a gap between the buttons when it fits there, else below
// the buttons.
ScreenPoint firstPatternPosition(const ScreenRect& mainOuter, const ScreenRect& screen,
                                 const std::vector<ScreenRect>& buttons, int patternWidth, int patternHeight);

}  // namespace quellon
