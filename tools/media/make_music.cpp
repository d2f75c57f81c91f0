// Writes the game's background music as Standard MIDI Files (format 1,
// General MIDI instruments). The pieces are composed here: each is a list of
// sections, a section is eight bars of chord symbols and a melody; the
// accompaniment (broken chords or a waltz figure, a soft pad and a bass) is
// derived from the chords, so the notes live in one readable place.
//
// Usage: make_music <output directory>
// Writes 1_morgenlicht.mid, 2_gartenweg.mid and 3_abendstern.mid; the digits
// fix the order in which the game plays them.
//
// Melody notation: "A4:2 D5:2 F#5:3 E5:1 | ..." - a note name with octave
// (C4 is middle C, MIDI 60) or "r" for a rest, then its length in eighths;
// "|" ends a bar and every bar is checked against the time signature.
// Chord notation per bar: "D", "F#m", "A7", "Cmaj7", "Dsus4", "G/B"; two
// chords sharing a bar are written "G,A".

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerEighth = kTicksPerQuarter / 2;

[[noreturn]] void fail(const std::string& what) {
    std::cerr << "make_music: " << what << "\n";
    std::exit(1);
}

// ---- notes and chords ----------------------------------------------------

int pitchClass(char letter) {
    switch (letter) {
        case 'C': return 0;
        case 'D': return 2;
        case 'E': return 4;
        case 'F': return 5;
        case 'G': return 7;
        case 'A': return 9;
        case 'B': return 11;
        default: fail(std::string("bad note letter ") + letter);
    }
}

// Reads a letter and an optional accidental; returns the pitch class and
// advances pos.
int readPitchClass(const std::string& text, std::size_t& pos) {
    if (pos >= text.size()) fail("missing note in '" + text + "'");
    int pc = pitchClass(text[pos++]);
    if (pos < text.size() && text[pos] == '#') {
        ++pc;
        ++pos;
    } else if (pos < text.size() && text[pos] == 'b') {
        --pc;
        ++pos;
    }
    return (pc + 12) % 12;
}

int noteNumber(const std::string& name) {
    std::size_t pos = 0;
    const int pc = readPitchClass(name, pos);
    if (pos >= name.size()) fail("note without octave: " + name);
    const int octave = std::stoi(name.substr(pos));
    return 12 * (octave + 1) + pc;
}

struct Chord {
    int root = 0;               // pitch class
    int bass = 0;               // pitch class of the bass note
    std::vector<int> intervals; // above the root, root included
};

Chord parseChord(const std::string& symbol) {
    static const std::map<std::string, std::vector<int>> kQualities = {
        {"", {0, 4, 7}},        {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"maj7", {0, 4, 7, 11}}, {"m7", {0, 3, 7, 10}},  {"sus4", {0, 5, 7}},
        {"sus2", {0, 2, 7}},    {"add9", {0, 4, 7, 14}},
    };
    Chord chord;
    std::size_t pos = 0;
    chord.root = readPitchClass(symbol, pos);
    chord.bass = chord.root;
    std::string quality = symbol.substr(pos);
    if (const auto slash = quality.find('/'); slash != std::string::npos) {
        std::size_t bassPos = 0;
        chord.bass = readPitchClass(quality.substr(slash + 1), bassPos);
        quality = quality.substr(0, slash);
    }
    const auto found = kQualities.find(quality);
    if (found == kQualities.end()) fail("unknown chord " + symbol);
    chord.intervals = found->second;
    return chord;
}

// The lowest note of the given pitch class at or above floor.
int atOrAbove(int pc, int floor) {
    int note = floor - ((floor % 12) - pc + 12) % 12;
    if (note < floor) note += 12;
    return note;
}

// ---- events and the file -------------------------------------------------

struct Event {
    int tick;
    int order;  // at equal ticks: meta and controllers first, note-offs before note-ons
    std::vector<std::uint8_t> bytes;
};

struct Track {
    std::string name;
    std::vector<Event> events;

    void add(int tick, int order, std::vector<std::uint8_t> bytes) {
        events.push_back({tick, order, std::move(bytes)});
    }
    void note(int channel, int tick, int length, int pitch, int velocity) {
        if (pitch < 0 || pitch > 127) fail("note out of range");
        velocity = std::clamp(velocity, 1, 127);
        add(tick, 2, {static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(pitch),
                      static_cast<std::uint8_t>(velocity)});
        add(tick + std::max(1, length), 1,
            {static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(pitch), 0});
    }
    void controller(int channel, int tick, int number, int value) {
        add(tick, 0, {static_cast<std::uint8_t>(0xB0 | channel), static_cast<std::uint8_t>(number),
                      static_cast<std::uint8_t>(value)});
    }
    void program(int channel, int tick, int number) {
        add(tick, 0, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(number)});
    }
    void meta(int tick, std::uint8_t type, const std::vector<std::uint8_t>& data) {
        std::vector<std::uint8_t> bytes = {0xFF, type, static_cast<std::uint8_t>(data.size())};
        bytes.insert(bytes.end(), data.begin(), data.end());
        add(tick, 0, bytes);
    }
    void text(int tick, std::uint8_t type, const std::string& value) {
        meta(tick, type, std::vector<std::uint8_t>(value.begin(), value.end()));
    }
    void tempo(int tick, double bpm) {
        const auto micros = static_cast<std::uint32_t>(60000000.0 / bpm);
        meta(tick, 0x51, {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
                          static_cast<std::uint8_t>(micros)});
    }
};

void putVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t buffer[5];
    int count = 0;
    buffer[count++] = value & 0x7F;
    while ((value >>= 7) != 0) buffer[count++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
    while (count > 0) out.push_back(buffer[--count]);
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Every track ends at endTick, so the file's length in ticks is the piece's
// length including the final release, and nothing trails after it.
std::vector<std::uint8_t> trackChunk(Track track, int endTick) {
    std::stable_sort(track.events.begin(), track.events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    int last = 0;
    if (!track.name.empty()) {
        body.push_back(0);
        body.push_back(0xFF);
        body.push_back(0x03);
        putVarLength(body, static_cast<std::uint32_t>(track.name.size()));
        body.insert(body.end(), track.name.begin(), track.name.end());
    }
    for (const Event& e : track.events) {
        if (e.tick > endTick) fail("event after the end of the piece");
        putVarLength(body, static_cast<std::uint32_t>(e.tick - last));
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    putVarLength(body, static_cast<std::uint32_t>(endTick - last));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> chunk = {'M', 'T', 'r', 'k'};
    putBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

// ---- composition ---------------------------------------------------------

enum class Figure { Broken, Waltz };

struct Section {
    std::vector<std::string> chords;  // one entry per bar
    std::string melody;
    int lead = 0;        // melody channel
    bool pad = false;    // sustained chords under the melody
    int loudness = 0;    // added to every melody velocity
};

struct Instrument {
    int channel;
    int program;  // General MIDI program, 0-based
    int volume;
    int pan;
    int reverb;
    std::string name;
};

struct Piece {
    std::string file;
    std::string title;
    double bpm;
    int beatsPerBar;  // 3 or 4, in quarter notes
    Figure figure;
    std::vector<Instrument> instruments;  // channels 0 and 4 lead, 1 accompaniment, 2 pad, 3 bass
    std::vector<std::string> intro;       // bars of accompaniment alone
    std::vector<Section> sections;
    std::string finalChord;               // held in the last bar
};

constexpr int kLeadChannel = 0;
constexpr int kSecondLeadChannel = 4;
constexpr int kAccompanimentChannel = 1;
constexpr int kPadChannel = 2;
constexpr int kBassChannel = 3;

// A fixed generator keeps the slight variation in loudness reproducible.
struct Humaniser {
    std::uint32_t state = 12345;
    int jitter(int spread) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
    }
};

struct Span {
    int start;
    int length;
    Chord chord;
};

std::vector<Span> barSpans(const std::string& bar, int barStart, int barLength) {
    std::vector<std::string> symbols;
    std::stringstream stream(bar);
    for (std::string symbol; std::getline(stream, symbol, ',');) symbols.push_back(symbol);
    std::vector<Span> spans;
    const int each = barLength / static_cast<int>(symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i)
        spans.push_back({barStart + static_cast<int>(i) * each, each, parseChord(symbols[i])});
    return spans;
}

void accompany(Track& track, const Piece& piece, const Span& span, bool pad, bool firstOfBar, Humaniser& h) {
    const Chord& c = span.chord;
    const int rootLow = atOrAbove(c.root, 48);  // C3 and up
    std::vector<int> tones;                     // broken-chord ladder
    tones.push_back(rootLow);
    tones.push_back(rootLow + c.intervals[2]);  // fifth
    tones.push_back(rootLow + 12);
    tones.push_back(rootLow + 12 + c.intervals[1]);  // third (or suspension)
    tones.push_back(rootLow + 12 + c.intervals[2]);
    // A seventh or an added ninth takes the place of the upper fifth.
    if (c.intervals.size() > 3) tones[4] = rootLow + 12 + c.intervals[3] % 12;

    const int eighths = span.length / kTicksPerEighth;
    if (piece.figure == Figure::Broken) {
        static const int kLadder[] = {0, 1, 2, 3, 4, 3, 2, 1};
        for (int i = 0; i < eighths; ++i) {
            const int tick = span.start + i * kTicksPerEighth;
            const int accent = (i == 0 && firstOfBar) ? 10 : (i % 2 == 0 ? 4 : 0);
            // Each tone rings on to the end of the chord, as with the pedal down.
            track.note(kAccompanimentChannel, tick, span.start + span.length - tick - 10, tones[kLadder[i % 8]],
                       52 + accent + h.jitter(4));
        }
    } else {
        // Waltz: a low chord tone on the beat, the chord on the after-beats.
        for (int beat = 0; beat * 2 < eighths; ++beat) {
            const int tick = span.start + beat * kTicksPerQuarter;
            if (beat == 0) {
                track.note(kAccompanimentChannel, tick, kTicksPerQuarter - 20, rootLow, 60 + h.jitter(3));
            } else {
                // Fifth, octave and third: below the melody's register.
                for (int k = 1; k < 4; ++k)
                    track.note(kAccompanimentChannel, tick, kTicksPerQuarter - 40, tones[k], 46 + h.jitter(4));
            }
        }
    }

    if (pad) {
        for (int interval : c.intervals)
            track.note(kPadChannel, span.start, span.length - 5, atOrAbove((c.root + interval) % 12, 55),
                       38 + h.jitter(2));
    }

    // Bass: the root (or the written bass note) on the bar, the fifth halfway
    // through a long chord of four beats.
    const int bassNote = atOrAbove(c.bass, 36);
    if (span.length == 4 * kTicksPerQuarter) {
        track.note(kBassChannel, span.start, 2 * kTicksPerQuarter - 20, bassNote, 64 + h.jitter(3));
        track.note(kBassChannel, span.start + 2 * kTicksPerQuarter, 2 * kTicksPerQuarter - 20,
                   atOrAbove((c.root + 7) % 12, 36), 56 + h.jitter(3));
    } else {
        track.note(kBassChannel, span.start, span.length - 20, bassNote, 64 + h.jitter(3));
    }
}

// Lays the melody of a section from barStart on; returns the number of bars.
int playMelody(Track& track, const Section& section, int barStart, int barLength, Humaniser& h) {
    std::stringstream stream(section.melody);
    int bars = 0;
    int inBar = 0;
    int tick = barStart;
    auto closeBar = [&] {
        if (inBar != barLength) {
            fail("bar " + std::to_string(bars + 1) + " of \"" + section.melody.substr(0, 30) + "...\" lasts " +
                 std::to_string(inBar / kTicksPerEighth) + " eighths");
        }
        ++bars;
        inBar = 0;
    };
    for (std::string token; stream >> token;) {
        if (token == "|") {
            closeBar();
            continue;
        }
        const auto colon = token.find(':');
        if (colon == std::string::npos) fail("bad melody token " + token);
        const int length = std::stoi(token.substr(colon + 1)) * kTicksPerEighth;
        const std::string name = token.substr(0, colon);
        if (name != "r") {
            // Stronger on the bar, a little stronger for long notes.
            const int velocity = 78 + section.loudness + (inBar == 0 ? 8 : 0) + std::min(8, length / 240) +
                                 h.jitter(4);
            track.note(section.lead, tick, length - 24, noteNumber(name), velocity);
        }
        tick += length;
        inBar += length;
    }
    if (inBar != 0) closeBar();
    if (bars != static_cast<int>(section.chords.size()))
        fail("melody has " + std::to_string(bars) + " bars but the section has " +
             std::to_string(section.chords.size()) + " chords");
    return bars;
}

std::vector<std::uint8_t> compose(const Piece& piece) {
    const int barLength = piece.beatsPerBar * kTicksPerQuarter;
    Track conductor{piece.title, {}};
    Track music{"", {}};
    Humaniser h;

    conductor.text(0, 0x02, "Composed for Quellon");
    conductor.meta(0, 0x58, {static_cast<std::uint8_t>(piece.beatsPerBar), 2, 24, 8});
    conductor.tempo(0, piece.bpm);
    for (const Instrument& in : piece.instruments) {
        music.program(in.channel, 0, in.program);
        music.controller(in.channel, 0, 7, in.volume);
        music.controller(in.channel, 0, 10, in.pan);
        music.controller(in.channel, 0, 91, in.reverb);
        music.controller(in.channel, 0, 93, 0);
    }

    // Everything starts half a beat in, so the programs are set before the first note.
    int bar = kTicksPerEighth;
    for (const std::string& chords : piece.intro) {
        bool first = true;
        for (const Span& span : barSpans(chords, bar, barLength)) {
            accompany(music, piece, span, false, first, h);
            first = false;
        }
        bar += barLength;
    }
    for (const Section& section : piece.sections) {
        const int bars = playMelody(music, section, bar, barLength, h);
        for (int i = 0; i < bars; ++i) {
            bool first = true;
            for (const Span& span : barSpans(section.chords[i], bar + i * barLength, barLength)) {
                accompany(music, piece, span, section.pad, first, h);
                first = false;
            }
        }
        bar += bars * barLength;
    }

    // The last bar: the tonic chord held under a gentle slowing down, then a
    // beat of silence for the release.
    conductor.tempo(bar - barLength, piece.bpm * 0.92);
    conductor.tempo(bar, piece.bpm * 0.80);
    const Chord last = parseChord(piece.finalChord);
    const int root = atOrAbove(last.root, 48);
    for (int interval : last.intervals) {
        music.note(kAccompanimentChannel, bar, barLength - 20, root + interval, 56);
        music.note(kPadChannel, bar, barLength - 20, atOrAbove((last.root + interval) % 12, 55), 40);
    }
    music.note(kAccompanimentChannel, bar, barLength - 20, root + 12, 50);
    music.note(kBassChannel, bar, barLength - 20, atOrAbove(last.root, 36), 62);
    music.note(kLeadChannel, bar, barLength - 20, atOrAbove(last.root, 62), 66);
    const int end = bar + barLength + kTicksPerQuarter;

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2};
    putBigEndian(file, kTicksPerQuarter, 2);
    for (const auto& chunk : {trackChunk(conductor, end), trackChunk(music, end)})
        file.insert(file.end(), chunk.begin(), chunk.end());
    std::cout << piece.file << ": " << (end / barLength) << " bars, about "
              << static_cast<int>(end / static_cast<double>(kTicksPerQuarter) * 60.0 / piece.bpm) << " s\n";
    return file;
}

// ---- the pieces ------------------------------------------------------------

// A calm morning tune in D major: flute and clarinet over broken piano chords.
Piece morningLight() {
    const std::vector<std::string> a = {"D", "A", "Bm", "F#m", "G", "D", "Em", "A7"};
    const std::vector<std::string> a2 = {"D", "A", "Bm", "F#m", "G", "D", "G,A", "D"};
    const std::vector<std::string> b = {"G", "A", "F#m", "Bm", "Em", "A", "D", "A7"};
    const std::string tuneA =
        "A4:2 D5:2 F#5:3 E5:1 | E5:4 C#5:2 A4:2 | D5:2 F#5:2 B5:3 A5:1 | A5:4 F#5:2 C#5:2 | "
        "B4:2 D5:2 G5:3 F#5:1 | F#5:2 E5:2 D5:2 A4:2 | B4:2 E5:2 G5:3 F#5:1 | E5:6 r:2";
    const std::string tuneA2 =
        "A4:2 D5:2 F#5:3 E5:1 | E5:4 C#5:2 A4:2 | D5:2 F#5:2 B5:3 A5:1 | A5:4 F#5:2 C#5:2 | "
        "B4:2 D5:2 G5:3 F#5:1 | F#5:2 E5:2 D5:2 A4:2 | B4:2 D5:2 C#5:2 E5:2 | D5:6 r:2";
    const std::string tuneB =
        "G5:3 F#5:1 E5:2 D5:2 | C#5:3 D5:1 E5:4 | F#5:3 E5:1 C#5:2 A4:2 | B4:4 D5:2 F#5:2 | "
        "G5:3 F#5:1 E5:2 B4:2 | C#5:2 E5:2 A5:3 G5:1 | F#5:4 E5:2 D5:2 | E5:4 C#5:2 A4:2";
    return {"1_morgenlicht.mid", "Morgenlicht", 80, 4, Figure::Broken,
            {{kLeadChannel, 73, 92, 58, 50, "Flute"},
             {kSecondLeadChannel, 71, 90, 70, 50, "Clarinet"},
             {kAccompanimentChannel, 0, 84, 64, 45, "Piano"},
             {kPadChannel, 48, 60, 50, 60, "Strings"},
             {kBassChannel, 32, 88, 64, 30, "Bass"}},
            {"D", "D"},
            {{a, tuneA, kLeadChannel, false, 0},
             {a2, tuneA2, kLeadChannel, false, 0},
             {b, tuneB, kSecondLeadChannel, true, 0},
             {a2, tuneA2, kLeadChannel, true, 4},
             {b, tuneB, kLeadChannel, true, 2},
             {a2, tuneA2, kSecondLeadChannel, true, 0}},
            "D"};
}

// A garden walk in G major, a gentle waltz on the nylon guitar.
Piece gardenPath() {
    const std::vector<std::string> a = {"G", "D", "Em", "C", "G", "Am", "D7", "G"};
    const std::vector<std::string> a2 = {"G", "D", "Em", "C", "G", "C", "D7", "G"};
    const std::vector<std::string> b = {"C", "G", "Am", "Em", "C", "B7", "Em", "D7"};
    const std::string tuneA =
        "D5:4 B4:2 | A4:4 D5:2 | G5:4 E5:2 | E5:2 D5:2 C5:2 | "
        "B4:4 D5:2 | C5:2 E5:2 A5:2 | A5:2 F#5:2 C5:2 | B4:6";
    const std::string tuneA2 =
        "D5:4 B4:2 | A4:4 D5:2 | G5:4 E5:2 | E5:2 D5:2 C5:2 | "
        "B4:4 D5:2 | E5:2 G5:2 E5:2 | D5:2 F#5:2 A5:2 | G5:6";
    const std::string tuneB =
        "E5:4 G5:2 | D5:4 B4:2 | C5:4 E5:2 | B4:6 | "
        "E5:2 F#5:2 G5:2 | F#5:4 D#5:2 | E5:2 B4:2 G4:2 | A4:2 C5:2 F#5:2";
    return {"2_gartenweg.mid", "Gartenweg", 92, 3, Figure::Waltz,
            {{kLeadChannel, 71, 90, 56, 50, "Clarinet"},
             {kSecondLeadChannel, 73, 88, 72, 55, "Flute"},
             {kAccompanimentChannel, 24, 92, 64, 40, "Guitar"},
             {kPadChannel, 49, 56, 44, 60, "Strings"},
             {kBassChannel, 45, 84, 64, 35, "Pizzicato"}},
            {"G", "G"},
            {{a, tuneA, kLeadChannel, false, 0},
             {a2, tuneA2, kLeadChannel, false, 0},
             {b, tuneB, kLeadChannel, true, 0},
             {a2, tuneA2, kLeadChannel, false, 2},
             {a, tuneA, kSecondLeadChannel, true, 0},
             {a2, tuneA2, kSecondLeadChannel, true, 0},
             {b, tuneB, kLeadChannel, true, 2},
             {a2, tuneA2, kLeadChannel, true, 0}},
            "G"};
}

// An evening piece in A minor: pan flute and vibraphone over harp and pad.
Piece eveningStar() {
    const std::vector<std::string> a = {"Am", "F", "C", "G", "Am", "F", "Dm", "E"};
    const std::vector<std::string> a2 = {"Am", "F", "C", "G", "Am", "F", "Dm,E", "Am"};
    const std::vector<std::string> b = {"C", "G", "Am", "Em", "F", "C", "Dm", "E7"};
    const std::string tuneA =
        "A4:2 C5:2 E5:4 | F5:3 E5:1 C5:4 | G5:4 E5:2 C5:2 | D5:6 r:2 | "
        "C5:2 E5:2 A5:4 | A5:3 G5:1 F5:2 C5:2 | D5:2 F5:2 A5:2 F5:2 | E5:6 r:2";
    const std::string tuneA2 =
        "A4:2 C5:2 E5:4 | F5:3 E5:1 C5:4 | G5:4 E5:2 C5:2 | D5:6 r:2 | "
        "C5:2 E5:2 A5:4 | G5:3 F5:1 E5:2 C5:2 | D5:2 F5:2 B4:2 G#4:2 | A4:6 r:2";
    const std::string tuneB =
        "E5:2 G5:2 C6:4 | B5:3 A5:1 G5:4 | A5:2 G5:2 E5:2 C5:2 | B4:6 r:2 | "
        "A4:2 C5:2 F5:4 | E5:3 D5:1 C5:2 G4:2 | D5:2 F5:2 A5:2 D5:2 | E5:4 D5:2 B4:2";
    return {"3_abendstern.mid", "Abendstern", 66, 4, Figure::Broken,
            {{kLeadChannel, 75, 90, 60, 60, "Pan flute"},
             {kSecondLeadChannel, 11, 84, 70, 60, "Vibraphone"},
             {kAccompanimentChannel, 46, 90, 64, 55, "Harp"},
             {kPadChannel, 89, 62, 64, 70, "Pad"},
             {kBassChannel, 35, 86, 64, 35, "Bass"}},
            {"Am", "Am"},
            {{a, tuneA, kLeadChannel, false, 0},
             {a2, tuneA2, kLeadChannel, true, 0},
             {b, tuneB, kSecondLeadChannel, true, 0},
             {a2, tuneA2, kLeadChannel, true, 4}},
            "Am"};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_music <output directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    for (const Piece& piece : {morningLight(), gardenPath(), eveningStar()}) {
        const auto bytes = compose(piece);
        std::ofstream out(dir / piece.file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) fail("cannot write " + (dir / piece.file).string());
    }
    return 0;
}
