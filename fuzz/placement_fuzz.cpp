// Any text as the stored "MainForm" placement, followed after a line break by
// an optional desktop (four 16-bit numbers: left, top, width, height). A value
// is taken only in its exact form; a taken rectangle kept on the desktop keeps
// its size and, when it fits, lies wholly on the desktop.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/settings_values.h"
#include "fuzz/check.h"

using namespace quellon;

namespace {

std::optional<WindowPlacement> referencePlacement(std::string_view text)
{
    std::vector<int> numbers;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::optional<int> number = parseSettingInteger(
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (numbers.size() != 7 || numbers[0] != kPlacementMark)
        return std::nullopt;
    return WindowPlacement{numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
}

void checkClamp(const WindowPlacement& given, const DesktopArea& desktop)
{
    WindowPlacement p = given;
    clampToDesktop(p, desktop);
    FUZZ_CHECK(p.flags == given.flags && p.showState == given.showState);
    // A turned-over rectangle is held to the rule by its corners.
    WindowPlacement stored = given;
    stored.left = std::min(given.left, given.right);
    stored.right = std::max(given.left, given.right);
    stored.top = std::min(given.top, given.bottom);
    stored.bottom = std::max(given.top, given.bottom);
    const int64_t w = int64_t{stored.right} - stored.left;
    const int64_t h = int64_t{stored.bottom} - stored.top;
    const int64_t desktopRight = int64_t{desktop.left} + desktop.width;
    const int64_t desktopBottom = int64_t{desktop.top} + desktop.height;
    // Only rectangles that a desktop can hold at all are held to the rule.
    if (w > desktop.width || h > desktop.height)
        return;
    FUZZ_CHECK(int64_t{p.right} - p.left == w);
    FUZZ_CHECK(int64_t{p.bottom} - p.top == h);
    FUZZ_CHECK(p.left >= desktop.left && p.right <= desktopRight);
    FUZZ_CHECK(p.top >= desktop.top && p.bottom <= desktopBottom);
    // A rectangle already on the desktop stays where it is.
    if (stored.left >= desktop.left && stored.right <= desktopRight && stored.top >= desktop.top &&
        stored.bottom <= desktopBottom)
        FUZZ_CHECK(p == stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string_view text = input.substr(0, newline);

    const std::optional<WindowPlacement> placement = parsePlacement(text);
    FUZZ_CHECK(placement == referencePlacement(text));
    if (!placement)
        return 0;
    FUZZ_CHECK(parsePlacement(formatPlacement(*placement)) == placement);

    checkClamp(*placement, DesktopArea{0, 0, 1920, 1080});
    checkClamp(*placement, DesktopArea{0, 0, 640, 1000});
    checkClamp(*placement, DesktopArea{-1280, -200, 3200, 1440});
    if (newline != std::string_view::npos && size - newline - 1 >= 8) {
        int16_t raw[4];
        std::memcpy(raw, data + newline + 1, sizeof raw);
        checkClamp(*placement,
                   DesktopArea{raw[0], raw[1], static_cast<uint16_t>(raw[2]), static_cast<uint16_t>(raw[3])});
    }
    return 0;
}
