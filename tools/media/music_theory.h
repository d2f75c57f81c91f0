// Note names, chord symbols and the strong beats of a metre: the small
// vocabulary shared by the music tool, which writes pieces with it, and its
// tests, which read the written files back and judge them with it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quellon::media {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerEighth = kTicksPerQuarter / 2;

// "F#5" -> 78 (C4 is middle C, MIDI 60); nothing for a malformed name.
std::optional<int> noteNumber(const std::string& name);

struct Chord {
    int root = 0;                // pitch class
    int bass = 0;                // pitch class of the lowest note
    std::vector<int> intervals;  // above the root, root first, then third and fifth

    bool contains(int pitch) const;
};

// "D", "F#m", "A7", "Cmaj7", "Dsus4", "G/B", "Bdim"; nothing when unknown.
std::optional<Chord> parseChord(const std::string& symbol);

// A time signature as written in the file: numerator and denominator
// (4 or 8). Compound metres (6/8, 9/8, 12/8) count dotted quarters.
struct Metre {
    int numerator = 4;
    int denominator = 4;

    int barTicks() const;
    int beatTicks() const;
    // Offsets from the bar line, in ticks, of the stressed beats: the first
    // beat, and the middle one when a bar holds four beats (4/4, 12/8) or
    // splits three and two (5/4).
    std::vector<int> strongBeats() const;
};

}  // namespace quellon::media
