#include "engine/pattern_placement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace quellon {

namespace {

// The screen the stored default was chosen on, and the default itself.
constexpr int kDesignScreenWidth = 1024;
constexpr int kDesignScreenHeight = 768;
constexpr int kDefaultLeft = 500;
constexpr int kDefaultTop = 50;

ScreenPoint keptOn(const ScreenRect& screen, ScreenPoint at, int width, int height)
{
    // The top-left corner wins where the window is larger than the screen:
    // its title bar stays reachable.
    at.x = std::max(screen.left, std::min(at.x, screen.right() - width));
    at.y = std::max(screen.top, std::min(at.y, screen.bottom() - height));
    return at;
}

bool clear(const std::vector<ScreenRect>& buttons, ScreenPoint at, int width, int height)
{
    const ScreenRect window{at.x - kPatternButtonGap, at.y - kPatternButtonGap, width + 2 * kPatternButtonGap,
                            height + 2 * kPatternButtonGap};
    return std::none_of(buttons.begin(), buttons.end(),
                        [&window](const ScreenRect& button) { return window.intersects(button); });
}

bool onScreen(const ScreenRect& screen, ScreenPoint at, int width, int height)
{
    return at.x >= screen.left && at.y >= screen.top && at.x + width <= screen.right() &&
           at.y + height <= screen.bottom();
}

}  // namespace

ScreenPoint firstPatternPosition(const ScreenRect& mainOuter, const ScreenRect& screen,
                                 const std::vector<ScreenRect>& buttons, int patternWidth, int patternHeight)
{
    // The main window's corner when centred on the design screen.
    const int designLeft = (kDesignScreenWidth - mainOuter.width) / 2;
    const int designTop = (kDesignScreenHeight - mainOuter.height) / 2;
    const ScreenPoint wanted =
        keptOn(screen, {mainOuter.left + kDefaultLeft - designLeft, mainOuter.top + kDefaultTop - designTop},
               patternWidth, patternHeight);
    if (clear(buttons, wanted, patternWidth, patternHeight))
        return wanted;

    // Sideways, at the same height, beside one of the buttons and within the
    // main window's width: the nearest place that is clear of all of them.
    std::optional<ScreenPoint> sideways;
    for (const ScreenRect& button : buttons) {
        for (const int x : {button.right() + kPatternButtonGap, button.left - kPatternButtonGap - patternWidth}) {
            const ScreenPoint at{x, wanted.y};
            if (x < mainOuter.left || x + patternWidth > mainOuter.right() ||
                !onScreen(screen, at, patternWidth, patternHeight) || !clear(buttons, at, patternWidth, patternHeight))
                continue;
            if (!sideways || std::abs(x - wanted.x) < std::abs(sideways->x - wanted.x))
                sideways = at;
        }
    }
    if (sideways)
        return *sideways;

    // Below the lowest button, as far right as wanted.
    int below = wanted.y;
    for (const ScreenRect& button : buttons)
        below = std::max(below, button.bottom() + kPatternButtonGap);
    return keptOn(screen, {wanted.x, below}, patternWidth, patternHeight);
}

}  // namespace quellon
