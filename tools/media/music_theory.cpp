#include "music_theory.h"

#include <algorithm>
#include <map>

namespace quellon::media {

namespace {

std::optional<int> letterClass(char letter)
{
    switch (letter) {
    case 'C':
        return 0;
    case 'D':
        return 2;
    case 'E':
        return 4;
    case 'F':
        return 5;
    case 'G':
        return 7;
    case 'A':
        return 9;
    case 'B':
        return 11;
    default:
        return std::nullopt;
    }
}

// A letter and an optional accidental; advances pos past them.
std::optional<int> readPitchClass(const std::string& text, std::size_t& pos)
{
    if (pos >= text.size())
        return std::nullopt;
    const auto letter = letterClass(text[pos++]);
    if (!letter)
        return std::nullopt;
    int pc = *letter;
    if (pos < text.size() && text[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < text.size() && text[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

}  // namespace

std::optional<int> noteNumber(const std::string& name)
{
    std::size_t pos = 0;
    const auto pc = readPitchClass(name, pos);
    if (!pc || pos >= name.size() || name.find_first_not_of("0123456789", pos) != std::string::npos)
        return std::nullopt;
    const int note = 12 * (std::stoi(name.substr(pos)) + 1) + *pc;
    if (note < 0 || note > 127)
        return std::nullopt;
    return note;
}

bool Chord::contains(int pitch) const
{
    const int pc = ((pitch % 12) + 12) % 12;
    if (pc == bass)
        return true;
    return std::any_of(intervals.begin(), intervals.end(), [&](int i) { return (root + i) % 12 == pc; });
}

std::optional<Chord> parseChord(const std::string& symbol)
{
    static const std::map<std::string, std::vector<int>> kQualities = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}},    {"sus4", {0, 5, 7}}, {"sus2", {0, 2, 7}},  {"add9", {0, 4, 7, 14}},
        {"madd9", {0, 3, 7, 14}}, {"6", {0, 4, 7, 9}}, {"m6", {0, 3, 7, 9}}, {"dim", {0, 3, 6}},
    };
    std::size_t pos = 0;
    const auto root = readPitchClass(symbol, pos);
    if (!root)
        return std::nullopt;
    Chord chord;
    chord.root = *root;
    chord.bass = *root;
    std::string quality = symbol.substr(pos);
    if (const auto slash = quality.find('/'); slash != std::string::npos) {
        std::size_t bassPos = slash + 1;
        const auto bass = readPitchClass(quality, bassPos);
        if (!bass || bassPos != quality.size())
            return std::nullopt;
        chord.bass = *bass;
        quality.resize(slash);
    }
    const auto found = kQualities.find(quality);
    if (found == kQualities.end())
        return std::nullopt;
    chord.intervals = found->second;
    return chord;
}

int Metre::barTicks() const { return numerator * 4 * kTicksPerQuarter / denominator; }

int Metre::beatTicks() const
{
    const bool compound = denominator == 8 && numerator % 3 == 0;
    return compound ? 3 * kTicksPerEighth : 4 * kTicksPerQuarter / denominator;
}

std::vector<int> Metre::strongBeats() const
{
    const int beats = barTicks() / beatTicks();
    if (beats == 4)
        return {0, 2 * beatTicks()};
    if (beats == 5)
        return {0, 3 * beatTicks()};
    return {0};
}

}  // namespace quellon::media
