// A piece of background music as it is written down: sections of melody and
// chord symbols, and a plan that plays them one after another, each time
// with its own lead instrument, accompaniment figure, loudness and
// variation of the tune. compose() turns a piece into a Standard MIDI File.
//
// Melody notation: "A4:2 D5:2 F#5:3 E5:1 | ..." - a note name with octave
// (C4 is middle C) or "r" for a rest, then its length in eighths; "|" ends a
// bar and every bar is checked against the metre. One chord symbol per bar;
// two chords sharing a bar are written "G,A".
#pragma once

#include "music_theory.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quellon::media {

constexpr int kLead = 0;  // melody channels
constexpr int kSecondLead = 4;
constexpr int kAccompaniment = 1;
constexpr int kPad = 2;
constexpr int kBass = 3;

struct Instrument {
    int channel;
    int program;  // General MIDI program, 0-based
    int volume;
    int pan;
    int reverb;
};

// A figure for the accompanying instrument, repeated through every chord.
// Each step plays one rung of the chord's ladder: 0 the root, 1 its fifth,
// 2 the octave, 3 the tenth (the third an octave up), 4 the upper fifth (or
// the chord's seventh, sixth or ninth), 5 the double octave; kBlock plays
// fifth, octave and tenth together, kRest nothing.
struct Figure {
    static constexpr int kBlock = 9;
    static constexpr int kRest = -1;
    std::vector<int> steps;
    int stepEighths = 1;
    bool ring = true;  // tones sound on to the end of the chord, as with the pedal down
};

enum class Bass { None, Held, RootAndFifth, EveryBeat };

// Ways a returning tune is changed (combinable).
enum Variation : unsigned {
    kPlain = 0,
    kOctaveUp = 1,
    kOctaveDown = 2,
    kOrnaments = 4,   // passing notes across thirds, turns on long notes
    kLilt = 8,        // even pairs dotted (simple metres) or triplets joined (compound)
    kAnswer = 16,     // the second half on the other lead instrument
    kNewHarmony = 32  // the section's second set of chords
};

struct Section {
    std::vector<std::string> chords;     // one entry per bar
    std::vector<std::string> newChords;  // the same length, or empty
    std::string melody;
};

// One entry of the plan: a section, or bars of accompaniment alone.
struct Part {
    int section = -1;                 // index into Piece::sections; -1 for accompaniment alone
    std::vector<std::string> chords;  // for accompaniment alone
    int lead = kLead;
    unsigned variation = kPlain;
    Figure figure;
    Bass bass = Bass::Held;
    bool pad = false;
    int level = 100;  // expression (controller 11) reached over the first bars
};

struct Piece {
    std::string file;
    std::string title;
    double quartersPerMinute;
    Metre metre;
    int tonic;  // pitch class
    bool minor;
    int accompanimentFloor;  // lowest root of the accompaniment
    std::uint32_t seed;      // of the humanising
    std::vector<Instrument> instruments;
    std::vector<Section> sections;
    std::vector<Part> plan;
    std::string finalChord;
    int volumePercent = 100;  // of every instrument's volume: evens out the loudness of the pieces
};

struct Composition {
    std::vector<std::uint8_t> file;
    int bars = 0;
    double seconds = 0;
};

// Throws std::runtime_error for a bar that does not fill the metre, a
// section whose melody and chords differ in length, or an unknown name.
Composition compose(const Piece& piece);

// The six pieces, in the order the game plays them.
std::vector<Piece> allPieces();

}  // namespace quellon::media
