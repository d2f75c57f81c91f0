// The game's six pieces. Each has three sections of its own; a section that
// comes back is played by another instrument, in another register, with
// ornaments, a lilt or new chords, over another accompaniment figure, and
// the loudness rises towards the middle of a piece and falls at its end.
//
// Instruments were chosen by rendering them with TimGM6mb: the bright ones
// (glockenspiel, xylophone, harpsichord, celesta, brass, the "new age" pad,
// the full string section) were left out.
#include "composer.h"

namespace quellon::media {

namespace {

// General MIDI programs, 0-based.
enum Program {
    kPiano = 0,
    kElectricPiano = 4,
    kVibraphone = 11,
    kMarimba = 12,
    kNylonGuitar = 24,
    kAcousticBass = 32,
    kFretlessBass = 35,
    kCello = 42,
    kContrabass = 43,
    kPizzicato = 45,
    kHarp = 46,
    kSlowStrings = 49,
    kVoiceOohs = 53,
    kFrenchHorn = 60,
    kEnglishHorn = 69,
    kClarinet = 71,
    kFlute = 73,
    kRecorder = 74,
    kPanFlute = 75,
    kOcarina = 79,
    kWarmPad = 89,
    kBowedPad = 92,
};

Figure eighths(std::vector<int> steps) { return {std::move(steps), 1, true}; }
Figure detached(std::vector<int> steps, int stepEighths) { return {std::move(steps), stepEighths, false}; }
Figure ringing(std::vector<int> steps, int stepEighths) { return {std::move(steps), stepEighths, true}; }
constexpr int B = Figure::kBlock;
constexpr int R = Figure::kRest;

Part intro(std::vector<std::string> chords, Figure figure, int level)
{
    Part part;
    part.chords = std::move(chords);
    part.figure = std::move(figure);
    part.level = level;
    return part;
}

Part play(int section, int lead, unsigned variation, Figure figure, Bass bass, bool pad, int level)
{
    return {section, {}, lead, variation, std::move(figure), bass, pad, level};
}

constexpr int A = 0;
constexpr int Bs = 1;
constexpr int C = 2;

// D major, 4/4: flute and clarinet over the piano.
Piece morningLight()
{
    Piece p{"1 Morgenlicht.mid", "Morgenlicht", 76, {4, 4}, 2, false, 50, 0x4D4C, {}, {}, {}, "D"};
    p.volumePercent = 117;
    p.instruments = {{kLead, kFlute, 92, 58, 50},
                     {kSecondLead, kClarinet, 90, 70, 50},
                     {kAccompaniment, kPiano, 100, 64, 45},
                     {kPad, kWarmPad, 70, 50, 60},
                     {kBass, kAcousticBass, 88, 64, 30}};
    p.sections = {
        {{"D", "A", "Bm", "F#m", "G", "D", "Em", "A7"},
         {"D", "A/C#", "Bm", "F#m", "Gmaj7", "D/F#", "Em7", "A7"},
         "A4:2 D5:2 F#5:3 E5:1 | E5:4 C#5:2 A4:2 | D5:2 F#5:2 B5:3 A5:1 | A5:4 F#5:2 C#5:2 | "
         "B4:2 D5:2 G5:3 F#5:1 | F#5:2 E5:2 D5:2 A4:2 | B4:2 E5:2 G5:3 F#5:1 | E5:6 r:2"},
        {{"Bm", "G", "D", "A", "Bm", "Em", "G", "A"},
         {"Bm", "G", "D/F#", "A", "Bm", "Em7", "G", "Asus4,A"},
         "F#4:4 B4:2 C#5:2 | D5:6 B4:2 | A4:4 F#4:2 A4:2 | E4:6 r:2 | "
         "F#4:2 B4:2 D5:3 C#5:1 | B4:4 G4:2 E4:2 | D5:2 B4:2 G4:2 B4:2 | A4:6 r:2"},
        {{"G", "D/F#", "Em", "Bm", "G", "D/F#", "Em7", "A"},
         {},
         "B5:3 A5:1 G5:4 | F#5:4 A5:2 D6:2 | B5:4 G5:2 E5:2 | F#5:6 r:2 | "
         "G5:2 B5:2 D6:3 B5:1 | A5:4 F#5:2 D5:2 | E5:2 G5:2 B5:2 D6:2 | C#6:4 A5:4"},
    };
    const Figure broken = eighths({0, 1, 2, 3, 4, 3, 2, 1});
    const Figure walking = ringing({0, 2, 3, 2}, 2);
    const Figure alberti = detached({0, 3, 1, 3}, 1);
    const Figure chords = detached({0, B, 1, B}, 2);
    const Figure held = ringing({B}, 8);
    p.plan = {
        intro({"D", "G", "D", "A"}, broken, 106),
        play(A, kLead, kPlain, walking, Bass::Held, false, 104),
        play(A, kSecondLead, kOctaveDown | kNewHarmony, broken, Bass::RootAndFifth, false, 112),
        play(Bs, kSecondLead, kPlain, alberti, Bass::Held, true, 114),
        play(C, kLead, kPlain, broken, Bass::RootAndFifth, true, 127),
        play(A, kLead, kOrnaments, alberti, Bass::RootAndFifth, true, 118),
        play(Bs, kLead, kOctaveUp | kAnswer, walking, Bass::Held, false, 112),
        play(C, kSecondLead, kOctaveDown | kOrnaments, chords, Bass::Held, true, 108),
        play(A, kLead, kLilt | kNewHarmony | kAnswer, held, Bass::Held, true, 100),
    };
    return p;
}

// G major, 3/4: a waltz on the nylon guitar under clarinet and flute.
Piece gardenPath()
{
    Piece p{"2 Gartenweg.mid", "Gartenweg", 92, {3, 4}, 7, false, 48, 0x4757, {}, {}, {}, "G"};
    p.volumePercent = 116;
    p.instruments = {{kLead, kClarinet, 90, 56, 50},
                     {kSecondLead, kFlute, 88, 72, 55},
                     {kAccompaniment, kNylonGuitar, 96, 64, 40},
                     {kPad, kSlowStrings, 64, 44, 60},
                     {kBass, kPizzicato, 90, 64, 35}};
    p.sections = {
        {{"G", "D", "Em", "C", "G", "Am", "D7", "G", "G", "D", "Em", "C", "G", "C", "D7", "G"},
         {"G", "D/F#", "Em", "Am7", "G/B", "Am", "D7", "G", "G", "D/F#", "Em", "Am7", "G/B", "C", "D7", "G"},
         "D5:4 B4:2 | A4:4 D5:2 | G5:4 E5:2 | E5:2 D5:2 C5:2 | B4:4 D5:2 | C5:2 E5:2 A5:2 | "
         "A5:2 F#5:2 C5:2 | B4:6 | D5:4 B4:2 | A4:4 D5:2 | G5:4 E5:2 | E5:2 D5:2 C5:2 | "
         "B4:4 D5:2 | E5:2 G5:2 E5:2 | D5:2 F#5:2 A5:2 | G5:6"},
        {{"C", "G", "Am", "Em", "C", "B7", "Em", "D7", "Am", "D7", "G", "Em", "Am", "D7", "G", "D7"},
         {},
         "E5:4 G5:2 | D5:4 B4:2 | C5:4 E5:2 | B4:6 | E5:2 G5:2 E5:2 | F#5:4 D#5:2 | E5:2 B4:2 G4:2 | "
         "A4:2 C5:2 F#5:2 | C5:4 A4:2 | F#4:2 A4:2 C5:2 | B4:4 D5:2 | E5:6 | A5:4 G5:1 E5:1 | "
         "F#5:2 E5:2 D5:2 | D5:2 B4:2 G4:2 | A4:4 r:2"},
        {{"Em", "C", "G", "D", "Em", "Am", "B7", "Em", "C", "G", "Am", "Em", "C", "D", "G", "D7"},
         {},
         "B4:4 E5:2 | G5:4 E5:2 | D5:4 B4:2 | A4:6 | G4:2 B4:2 E5:2 | C5:4 A4:2 | D#5:2 F#5:2 A5:2 | "
         "G5:4 F#5:2 | E5:4 G5:2 | D5:2 B4:2 G4:2 | A4:2 C5:2 E5:2 | B4:6 | C5:2 E5:2 G5:2 | "
         "F#5:4 A5:2 | G5:2 D5:2 B4:2 | A4:2 C5:2 F#5:2"},
    };
    const Figure waltz = detached({0, B, B}, 2);
    const Figure rising = eighths({0, 1, 2, 3, 2, 1});
    const Figure rolled = ringing({0, 2, 3}, 2);
    const Figure held = ringing({B}, 6);
    p.plan = {
        intro({"G", "C", "G", "D7"}, waltz, 99),
        play(A, kLead, kPlain, waltz, Bass::Held, false, 105),
        play(Bs, kSecondLead, kPlain, rising, Bass::Held, true, 113),
        play(A, kLead, kOrnaments | kNewHarmony, rolled, Bass::Held, true, 119),
        play(C, kSecondLead, kPlain, rising, Bass::EveryBeat, true, 127),
        play(Bs, kLead, kLilt | kAnswer, waltz, Bass::Held, false, 113),
        play(A, kLead, kOctaveDown | kNewHarmony, held, Bass::Held, true, 100),
    };
    return p;
}

// A minor, 12/8: pan flute and vibraphone over the harp.
Piece eveningStar()
{
    Piece p{"3 Abendstern.mid", "Abendstern", 66, {12, 8}, 9, true, 45, 0x4153, {}, {}, {}, "Am"};
    p.volumePercent = 116;
    p.instruments = {{kLead, kPanFlute, 100, 60, 60},
                     {kSecondLead, kVibraphone, 96, 70, 60},
                     {kAccompaniment, kHarp, 84, 64, 55},
                     {kPad, kWarmPad, 70, 64, 70},
                     {kBass, kFretlessBass, 86, 64, 35}};
    p.sections = {
        {{"Am", "F", "C", "G", "Am", "F", "Dm", "E"},
         {"Am", "Fmaj7", "C/E", "G", "Am", "F6", "Dm", "E7"},
         "A4:3 C5:3 E5:6 | F5:4 G5:2 A5:6 | G5:6 E5:3 C5:3 | D5:9 r:3 | "
         "C5:3 E5:3 A5:6 | A5:4 G5:2 F5:3 C5:3 | D5:3 F5:3 A5:4 F5:2 | E5:6 B4:3 G#4:3"},
        {{"C", "G/B", "Am", "Em", "F", "C/E", "Dm7", "G"},
         {},
         "E5:6 G5:3 E5:3 | D5:6 B4:6 | A4:3 C5:3 E5:4 D5:2 | B4:9 r:3 | "
         "A4:3 C5:3 F5:6 | G5:6 E5:4 D5:2 | D5:3 F5:3 A5:3 C6:3 | B5:4 A5:2 G5:6"},
        {{"Dm", "Am", "E", "Am", "Dm", "G", "C", "E7"},
         {},
         "F4:6 A4:6 | E4:3 A4:3 C5:6 | B4:9 G#4:3 | A4:12 | "
         "D5:6 F5:6 | D5:3 B4:3 G4:6 | E4:3 G4:3 C5:6 | B4:6 D5:6"},
    };
    const Figure flowing = eighths({0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 3});
    const Figure rolling = eighths({0, 2, 3, 4, 3, 2});
    const Figure rocking = detached({0, B}, 3);
    const Figure held = ringing({0, B}, 6);
    p.plan = {
        intro({"Am", "F"}, flowing, 98),
        play(A, kLead, kPlain, flowing, Bass::Held, false, 104),
        play(Bs, kSecondLead, kPlain, rocking, Bass::RootAndFifth, true, 113),
        play(A, kLead, kOrnaments | kNewHarmony, rolling, Bass::RootAndFifth, true, 124),
        play(C, kSecondLead, kPlain, held, Bass::Held, true, 112),
        play(Bs, kLead, kLilt | kAnswer, flowing, Bass::Held, true, 115),
        play(A, kSecondLead, kOctaveDown | kNewHarmony, held, Bass::Held, true, 100),
    };
    return p;
}

// F major, 6/8: a barcarolle, ocarina and English horn over the electric piano.
Piece lakeShore()
{
    Piece p{"4 Seeufer.mid", "Seeufer", 84, {6, 8}, 5, false, 48, 0x5355, {}, {}, {}, "F"};
    p.volumePercent = 114;
    p.instruments = {{kLead, kOcarina, 78, 58, 55},
                     {kSecondLead, kEnglishHorn, 88, 72, 50},
                     {kAccompaniment, kElectricPiano, 80, 64, 50},
                     {kPad, kVoiceOohs, 66, 50, 65},
                     {kBass, kCello, 80, 64, 35}};
    p.sections = {
        {{"F", "C/E", "Dm", "Bb", "F", "C", "F", "C", "Dm", "Am", "Bb", "F", "Gm", "C7", "F", "C7"},
         {"F/A", "C/E", "Dm", "Gm", "F", "C", "F", "C", "Dm", "Am", "Gm", "Dm", "Gm", "C7", "F", "C7"},
         "C5:3 F5:2 A5:1 | G5:3 E5:3 | F5:2 E5:1 D5:3 | D5:6 | A4:2 C5:1 F5:3 | E5:2 D5:1 C5:3 | "
         "A4:2 Bb4:1 C5:3 | G4:6 | A5:3 F5:2 D5:1 | E5:3 C5:3 | D5:2 F5:1 Bb5:3 | A5:6 | "
         "G5:2 Bb5:1 D5:3 | E5:3 Bb4:3 | F5:2 C5:1 A4:3 | G4:3 C5:2 E5:1"},
        {{"Dm", "Bb", "F", "C", "Dm", "Gm", "A", "A7", "Bb", "F/A", "Gm", "Dm", "Bb", "C", "F", "C"},
         {},
         "D4:3 F4:3 | F4:3 D4:3 | C4:3 F4:2 A4:1 | G4:6 | A4:3 F4:2 D4:1 | G4:3 Bb4:3 | C#5:3 A4:3 | "
         "E4:3 G4:3 | F4:3 Bb4:2 D5:1 | C5:3 A4:3 | Bb4:3 G4:2 D4:1 | A4:6 | D5:2 C5:1 Bb4:3 | "
         "C5:3 G4:3 | A4:6 | G4:3 E4:2 G4:1"},
        {{"Bb", "F", "Gm", "C", "Am", "Dm", "Gm", "C", "F", "Bb", "F/A", "Dm", "Gm7", "C", "F", "C7"},
         {},
         "F5:6 | A5:3 C6:3 | Bb5:3 G5:3 | E5:3 G5:3 | A5:3 E5:3 | F5:3 D5:3 | G5:2 Bb5:1 D6:3 | C6:6 | "
         "C6:3 A5:2 F5:1 | F5:3 D5:3 | C5:3 F5:3 | A5:6 | G5:3 F5:3 | E5:3 C5:3 | A5:3 F5:3 | G5:3 E5:3"},
    };
    const Figure barcarolle = eighths({0, 1, 2, 3, 2, 1});
    const Figure rising = eighths({0, 2, 3, 4, 3, 2});
    const Figure rocking = detached({0, B}, 3);
    const Figure held = ringing({B}, 6);
    p.plan = {
        intro({"F", "Bb/F", "F", "C7"}, barcarolle, 98),
        play(A, kLead, kPlain, barcarolle, Bass::Held, false, 104),
        play(Bs, kSecondLead, kPlain, rocking, Bass::Held, true, 112),
        play(A, kLead, kOrnaments | kNewHarmony, rising, Bass::Held, true, 118),
        play(C, kLead, kPlain, barcarolle, Bass::RootAndFifth, true, 127),
        play(Bs, kSecondLead, kLilt | kAnswer, rising, Bass::Held, false, 113),
        play(A, kSecondLead, kOctaveDown | kNewHarmony, held, Bass::Held, true, 100),
    };
    return p;
}

// E minor, 9/8: recorder and cello over the marimba.
Piece mistyWood()
{
    Piece p{"5 Nebelwald.mid", "Nebelwald", 63, {9, 8}, 4, true, 47, 0x4E57, {}, {}, {}, "Em"};
    p.volumePercent = 113;
    p.instruments = {{kLead, kRecorder, 90, 58, 60},
                     {kSecondLead, kCello, 92, 70, 55},
                     {kAccompaniment, kMarimba, 84, 64, 50},
                     {kPad, kBowedPad, 72, 50, 70},
                     {kBass, kContrabass, 86, 64, 35}};
    p.sections = {
        {{"Em", "C", "G", "D", "Em", "Am", "B7", "Em"},
         {"Em", "Cmaj7", "G/B", "D", "Em", "Am7", "B7", "Em"},
         "B4:3 E5:3 G5:3 | G5:4 E5:2 C5:3 | D5:6 B4:3 | A4:9 | G4:3 B4:3 E5:3 | C5:4 B4:2 A4:3 | "
         "F#4:3 A4:3 D#5:3 | E5:9"},
        {{"C", "G", "Am", "Em", "C", "G/B", "Am", "B7"},
         {},
         "C4:3 E4:3 G4:3 | D4:6 B3:3 | A3:3 C4:3 E4:3 | B3:9 | G4:6 E4:3 | D4:3 B3:3 G3:3 | "
         "C4:4 B3:2 A3:3 | B3:6 D#4:3"},
        {{"G", "D/F#", "Em", "C", "G", "Am", "D", "D7"},
         {},
         "D5:3 G5:3 B5:3 | A5:6 F#5:3 | G5:4 F#5:2 E5:3 | E5:6 G5:3 | B5:4 A5:2 G5:3 | A5:3 E5:3 C5:3 | "
         "D5:3 F#5:3 A5:3 | C6:3 A5:3 F#5:3"},
    };
    const Figure flowing = eighths({0, 1, 2, 3, 4, 3, 2, 1, 2});
    const Figure rising = eighths({0, 2, 3, 4, 5, 4, 3, 2, 1});
    const Figure rocking = detached({0, B, B}, 3);
    const Figure held = ringing({0, B}, 9);
    p.plan = {
        intro({"Em", "C"}, flowing, 98),
        play(A, kLead, kPlain, flowing, Bass::Held, false, 104),
        play(Bs, kSecondLead, kPlain, rocking, Bass::Held, true, 112),
        play(A, kLead, kOrnaments | kNewHarmony, rising, Bass::RootAndFifth, true, 118),
        play(C, kLead, kPlain, flowing, Bass::RootAndFifth, true, 127),
        play(Bs, kLead, kOctaveUp | kLilt, rocking, Bass::Held, true, 113),
        play(A, kSecondLead, kOctaveDown | kNewHarmony, held, Bass::Held, true, 100),
    };
    return p;
}

// C major, 5/4 (three beats and two): clarinet and horn over the vibraphone.
Piece clearing()
{
    Piece p{"6 Lichtung.mid", "Lichtung", 72, {5, 4}, 0, false, 48, 0x4C49, {}, {}, {}, "C"};
    p.volumePercent = 115;
    p.instruments = {{kLead, kClarinet, 90, 56, 55},
                     {kSecondLead, kFrenchHorn, 76, 72, 55},
                     {kAccompaniment, kVibraphone, 84, 64, 55},
                     {kPad, kSlowStrings, 66, 48, 65},
                     {kBass, kAcousticBass, 88, 64, 35}};
    p.sections = {
        {{"C", "Am", "F", "G", "C/E", "F", "Dm7", "G"},
         {"C", "Am7", "Fmaj7", "G", "C/E", "F", "Dm7", "G7"},
         "E5:3 D5:1 C5:2 G4:4 | A4:4 C5:2 E5:4 | F5:3 G5:1 A5:2 F5:4 | G5:6 D5:4 | "
         "E5:3 F5:1 G5:2 C6:4 | A5:4 G5:2 F5:4 | D5:4 F5:2 A5:2 C6:2 | B5:4 A5:2 G5:4"},
        {{"Am", "Em", "F", "C", "Dm", "Am", "E", "E7"},
         {},
         "A3:4 C4:2 E4:4 | B3:4 E4:2 G4:4 | A4:6 F4:4 | E4:4 D4:2 C4:4 | F4:4 A4:2 D5:4 | C5:6 A4:4 | "
         "B4:4 G#4:2 E4:4 | D4:6 B3:4"},
        {{"F", "G", "Em", "Am", "Dm", "G", "C", "G7"},
         {},
         "C5:4 F5:2 A5:4 | B5:6 G5:4 | G5:4 E5:2 B4:4 | C5:6 E5:4 | F5:4 A5:2 D6:4 | D6:6 B5:4 | "
         "C6:4 G5:2 E5:4 | F5:6 D5:4"},
    };
    const Figure flowing = eighths({0, 1, 2, 3, 4, 3, 0, 2, 3, 2});
    const Figure pulsing = detached({0, B, B, 0, B}, 2);
    const Figure rising = eighths({0, 2, 3, 4, 5, 4, 1, 3, 4, 3});
    const Figure held = ringing({0, B}, 5);
    p.plan = {
        intro({"C", "F"}, flowing, 98),
        play(A, kLead, kPlain, flowing, Bass::Held, false, 104),
        play(Bs, kSecondLead, kPlain, pulsing, Bass::Held, true, 112),
        play(A, kLead, kOrnaments | kNewHarmony, rising, Bass::RootAndFifth, true, 118),
        play(C, kLead, kPlain, flowing, Bass::RootAndFifth, true, 127),
        play(Bs, kLead, kOctaveUp | kLilt, pulsing, Bass::Held, false, 113),
        play(A, kSecondLead, kOctaveDown | kNewHarmony, held, Bass::Held, true, 100),
    };
    return p;
}

}  // namespace

std::vector<Piece> allPieces()
{
    return {morningLight(), gardenPath(), eveningStar(), lakeShore(), mistyWood(), clearing()};
}

}  // namespace quellon::media
