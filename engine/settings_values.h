// The player's settings: their values with the constants that name them,
// and their text forms in the store: integers and booleans as decimal text,
// and the main window's placement as seven comma-separated numbers. Pure
// functions, so the parsing can be tested and fuzzed without a store.
//
// Placement "MainForm": 200,flags,showState,left,top,right,bottom
//   200        format mark; any other first number makes the value invalid
//   flags      2 = restore to maximized (the window was minimized from maximized)
//   showState  1 normal, 2 minimized, 3 maximized
//   rectangle  the window's outer rectangle in its normal state, screen pixels
// A value with another number of parts, or a part that is not an integer,
// is ignored and the window is centred.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quellon {

// "tongue": 1 German, any other value English; -1 until the player chose.
constexpr int kLanguageUnset = -1;
constexpr int kLanguageEnglish = 0;
constexpr int kLanguageGerman = 1;
// "back": one of the six rows of the background sheet.
constexpr int kBackgroundCount = 6;
// "patmode": 0 draws the pattern on the board, 1..3 show a small, medium or
// big pattern window.
constexpr int kPatternOnBoard = 0;
constexpr int kPatternModeCount = 4;

// The values read at start-up and written back at closing; the options
// dialog changes them in between.
struct SettingsValues {
    int language = kLanguageUnset;  // "tongue"
    bool soundOn = true;            // "sound"
    int background = 0;             // "back", 0..5
    bool musicOn = true;            // "music"
    int patmode = 2;                // "patmode", 0..3
    bool german() const { return language == kLanguageGerman; }
};

// An integer setting: optional sign and decimal digits. Blanks around the
// number are tolerated (a hand-edited store); anything else, an empty text or
// a number outside the 32-bit range gives nothing.
inline std::optional<int> parseSettingInteger(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    const bool plus = !text.empty() && text.front() == '+';
    if (plus)
        text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-'))
        return std::nullopt;
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

inline int settingInteger(std::optional<std::string_view> text, int defaultValue)
{
    if (!text)
        return defaultValue;
    return parseSettingInteger(*text).value_or(defaultValue);
}

// A boolean is read as an integer whose default is 1 or 0; any value other
// than 0 is true.
inline bool settingBoolean(std::optional<std::string_view> text, bool defaultValue)
{
    return settingInteger(text, defaultValue ? 1 : 0) != 0;
}

inline std::string booleanText(bool value) { return value ? "1" : "0"; }

constexpr int kPlacementMark = 200;
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;
constexpr int kRestoreToMaximized = 2;

struct WindowPlacement {
    int flags = 0;
    int showState = kShowNormal;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

inline std::optional<WindowPlacement> parsePlacement(std::string_view text)
{
    std::vector<int> numbers;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const std::string_view part =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const std::optional<int> number = parseSettingInteger(part);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string_view::npos || numbers.size() > 7)
            break;
        start = comma + 1;
    }
    if (numbers.size() != 7 || numbers[0] != kPlacementMark)
        return std::nullopt;
    return WindowPlacement{numbers[1], numbers[2], numbers[3], numbers[4], numbers[5], numbers[6]};
}

inline std::string formatPlacement(const WindowPlacement& p)
{
    std::string text = std::to_string(kPlacementMark);
    for (int value : {p.flags, p.showState, p.left, p.top, p.right, p.bottom})
        text += ',' + std::to_string(value);
    return text;
}

struct DesktopArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Keeps the rectangle on the desktop: first pulled in from the right and the
// bottom, then from the left and the top, each test on the values the one
// before left. A desktop whose left or top edge is not 0 (a screen left of or
// above the main one) has its right edge at left + width.
inline void clampToDesktop(WindowPlacement& p, const DesktopArea& desktop)
{
    // In 64 bits: a hand-edited rectangle may span more than the int range.
    // A turned-over one (right left of left, bottom above top) is taken by
    // its corners: as stored, no test below would bring it onto the desktop.
    int64_t left = std::min(p.left, p.right);
    int64_t top = std::min(p.top, p.bottom);
    int64_t right = std::max(p.left, p.right);
    int64_t bottom = std::max(p.top, p.bottom);
    const int64_t w = right - left;
    const int64_t h = bottom - top;
    const int64_t desktopRight = int64_t{desktop.left} + desktop.width;
    const int64_t desktopBottom = int64_t{desktop.top} + desktop.height;
    if (right > desktopRight) {
        left = desktopRight - w;
        right = desktopRight;
    }
    if (bottom > desktopBottom) {
        top = desktopBottom - h;
        bottom = desktopBottom;
    }
    if (left < desktop.left) {
        right = desktop.left + w;
        left = desktop.left;
    }
    if (top < desktop.top) {
        bottom = desktop.top + h;
        top = desktop.top;
    }
    auto toInt = [](int64_t value) {
        return static_cast<int>(
            std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    };
    p.left = toInt(left);
    p.top = toInt(top);
    p.right = toInt(right);
    p.bottom = toInt(bottom);
}

// The stored Quellon number brought into 1..N: above N becomes N, and then
// 0 or less becomes 1.
inline int clampLevel(int level, int quellonCount)
{
    if (level > quellonCount)
        level = quellonCount;
    if (level <= 0)
        level = 1;
    return level;
}

}  // namespace quellon
