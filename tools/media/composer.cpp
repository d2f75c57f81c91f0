#include "composer.h"

#include "midi_writer.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace quellon::media {

namespace {

[[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }

// Small, fixed generator: the humanising is the same on every run, so the
// files are reproducible byte for byte.
class Humaniser {
public:
    explicit Humaniser(std::uint32_t seed) : state_(seed) {}
    // -spread..spread
    int jitter(int spread) { return static_cast<int>(next() % static_cast<std::uint32_t>(2 * spread + 1)) - spread; }
    // 0..most; notes come late, never early, so each still starts inside its chord.
    int delay(int most) { return static_cast<int>(next() % static_cast<std::uint32_t>(most + 1)); }

private:
    std::uint32_t next()
    {
        state_ = state_ * 1103515245u + 12345u;
        return state_ >> 16;
    }
    std::uint32_t state_;
};

// About 2 to 5 ms at these tempi.
constexpr int kMostDelay = 4;

// Everything starts half a beat in, so the programs are set before the first note.
constexpr int kLeadIn = kTicksPerEighth;

struct Note {
    int start;   // ticks from the section's start
    int length;  // ticks
    int pitch;
};

struct Span {
    int start;
    int length;
    std::string symbol;
    Chord chord;
};

Chord chordOf(const std::string& symbol)
{
    const auto chord = parseChord(symbol);
    if (!chord)
        fail("unknown chord " + symbol);
    return *chord;
}

int atOrAbove(int pc, int floor)
{
    int note = floor - ((floor % 12) - pc + 12) % 12;
    if (note < floor)
        note += 12;
    return note;
}

std::vector<Span> barSpans(const std::string& bar, int barStart, int barLength)
{
    std::vector<std::string> symbols;
    std::stringstream stream(bar);
    for (std::string symbol; std::getline(stream, symbol, ',');)
        symbols.push_back(symbol);
    std::vector<Span> spans;
    const int each = barLength / static_cast<int>(symbols.size());
    for (std::size_t i = 0; i < symbols.size(); ++i)
        spans.push_back({barStart + static_cast<int>(i) * each, each, symbols[i], chordOf(symbols[i])});
    return spans;
}

std::vector<Note> parseMelody(const std::string& text, const Metre& metre, std::size_t expectedBars)
{
    std::vector<Note> notes;
    std::stringstream stream(text);
    std::size_t bars = 0;
    int inBar = 0;
    int tick = 0;
    auto closeBar = [&] {
        if (inBar != metre.barTicks())
            fail("bar " + std::to_string(bars + 1) + " of \"" + text.substr(0, 40) + "...\" lasts " +
                 std::to_string(inBar / kTicksPerEighth) + " eighths");
        ++bars;
        inBar = 0;
    };
    for (std::string token; stream >> token;) {
        if (token == "|") {
            closeBar();
            continue;
        }
        const auto colon = token.find(':');
        if (colon == std::string::npos)
            fail("bad melody token " + token);
        const int length = std::stoi(token.substr(colon + 1)) * kTicksPerEighth;
        const std::string name = token.substr(0, colon);
        if (name != "r") {
            const auto pitch = noteNumber(name);
            if (!pitch)
                fail("bad note " + name);
            notes.push_back({tick, length, *pitch});
        }
        tick += length;
        inBar += length;
    }
    if (inBar != 0)
        closeBar();
    if (bars != expectedBars)
        fail("melody \"" + text.substr(0, 40) + "...\" has " + std::to_string(bars) + " bars for " +
             std::to_string(expectedBars) + " chords");
    return notes;
}

// ---- variations of a tune ----------------------------------------------------

class Scale {
public:
    Scale(int tonic, bool minor)
    {
        static const int kMajor[] = {0, 2, 4, 5, 7, 9, 11};
        static const int kMinor[] = {0, 2, 3, 5, 7, 8, 10};
        for (int step : minor ? kMinor : kMajor)
            classes_.push_back((tonic + step) % 12);
    }
    bool has(int pitch) const { return std::find(classes_.begin(), classes_.end(), pitch % 12) != classes_.end(); }
    // The scale note one step above pitch.
    int above(int pitch) const
    {
        for (int p = pitch + 1;; ++p)
            if (has(p))
                return p;
    }

private:
    std::vector<int> classes_;
};

bool onStrongBeat(int tick, const Metre& metre)
{
    const auto strong = metre.strongBeats();
    return std::find(strong.begin(), strong.end(), tick % metre.barTicks()) != strong.end();
}

// A note outside the chord that lies a semitone or a tritone from its root
// grates, however short.
bool grates(int pitch, const Chord& chord)
{
    const int interval = ((pitch - chord.root) % 12 + 12) % 12;
    return !chord.contains(pitch) && (interval == 1 || interval == 6 || interval == 11);
}

// Passing notes fill the thirds, and long notes end with a turn around the
// upper neighbour; every added note falls between the beats, so the notes
// heard with the chords stay as written, and none grates against its chord.
std::vector<Note> ornament(const std::vector<Note>& in, const Metre& metre, const Scale& scale,
                           const std::function<Chord(int)>& chordAt)
{
    std::vector<Note> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        Note note = in[i];
        const Note* next = i + 1 < in.size() ? &in[i + 1] : nullptr;
        const bool joined = next != nullptr && next->start == note.start + note.length;
        const int leap = joined ? next->pitch - note.pitch : 0;
        const int passStart = note.start + note.length - kTicksPerEighth;
        // Only between notes of the scale: next to a borrowed note (the raised
        // leading note of a minor key) a passing note would clash with it.
        if (joined && (std::abs(leap) == 3 || std::abs(leap) == 4) && note.length >= 2 * kTicksPerEighth &&
            passStart % metre.beatTicks() != 0 && scale.has(note.pitch) && scale.has(next->pitch)) {
            int between = 0;
            for (int p = std::min(note.pitch, next->pitch) + 1; p < std::max(note.pitch, next->pitch); ++p)
                if (scale.has(p))
                    between = p;
            if (between != 0 && !grates(between, chordAt(passStart))) {
                note.length -= kTicksPerEighth;
                out.push_back(note);
                out.push_back({passStart, kTicksPerEighth, between});
                continue;
            }
        }
        const int sixteenth = kTicksPerEighth / 2;
        const int turnStart = note.start + note.length - kTicksPerEighth;
        if (note.length >= 4 * kTicksPerEighth && !onStrongBeat(turnStart, metre) &&
            !grates(scale.above(note.pitch), chordAt(turnStart))) {
            out.push_back({note.start, note.length - kTicksPerEighth, note.pitch});
            out.push_back({turnStart, sixteenth, scale.above(note.pitch)});
            out.push_back({turnStart + sixteenth, sixteenth, note.pitch});
            continue;
        }
        out.push_back(note);
    }
    return out;
}

// Simple metres: two even notes on a beat become long-short. Compound
// metres: three eighths on a beat become a quarter and an eighth.
std::vector<Note> lilt(const std::vector<Note>& in, const Metre& metre)
{
    const bool compound = metre.beatTicks() == 3 * kTicksPerEighth;
    std::vector<Note> out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        Note a = in[i];
        const int e = kTicksPerEighth;
        if (a.start % metre.beatTicks() == 0 && i + 1 < in.size()) {
            Note b = in[i + 1];
            if (!compound && a.length == 2 * e && b.start == a.start + 2 * e && b.length == 2 * e &&
                !onStrongBeat(b.start, metre)) {
                out.push_back({a.start, 3 * e, a.pitch});
                out.push_back({b.start + e, e, b.pitch});
                ++i;
                continue;
            }
            if (compound && i + 2 < in.size() && a.length == e && b.start == a.start + e && b.length == e &&
                in[i + 2].start == a.start + 2 * e && in[i + 2].length == e) {
                out.push_back({a.start, 2 * e, a.pitch});
                out.push_back(in[i + 2]);
                i += 2;
                continue;
            }
        }
        out.push_back(a);
    }
    return out;
}

// ---- the accompaniment ---------------------------------------------------------

struct Writer {
    const Piece& piece;
    MidiTrack conductor;
    MidiTrack melody;
    MidiTrack accompaniment;
    Humaniser human;

    // The tune of the current entry, in ticks of the whole piece.
    std::vector<Note> tune;

    // The accompaniment keeps below the tune: a tone that would reach it is
    // taken an octave down, where it is still a tone of the chord.
    int belowTune(int pitch, int tick) const
    {
        for (const Note& n : tune) {
            if (n.start <= tick && tick < n.start + n.length) {
                while (pitch >= n.pitch - 2 && pitch - 12 >= 40)
                    pitch -= 12;
                break;
            }
        }
        return pitch;
    }

    void accompany(const Part& part, const Span& span, int phraseBar)
    {
        const Chord& c = span.chord;
        const int root = atOrAbove(c.root, piece.accompanimentFloor);
        const int third = c.intervals[1];
        const int fifth = c.intervals[2];
        int upper = root + 12 + fifth;
        if (c.intervals.size() > 3)
            upper = root + 12 + c.intervals[3] % 12;
        const int ladder[] = {root, root + fifth, root + 12, root + 12 + third, upper, root + 24};
        const int lift = 3 * phraseBar - (phraseBar == 3 ? 6 : 0);  // phrases swell and settle
        const int end = span.start + span.length;
        const int step = part.figure.stepEighths * kTicksPerEighth;
        const auto& steps = part.figure.steps;
        auto rungAt = [&](int i) { return steps[static_cast<std::size_t>(i) % steps.size()]; };
        for (int i = 0; span.start + i * step < end; ++i) {
            const int rung = rungAt(i);
            if (rung == Figure::kRest)
                continue;
            const int tick = span.start + i * step;
            const int length = part.figure.ring ? end - tick - 15 : step - 30;
            const int inPiece = tick - kLeadIn;
            const int accent = onStrongBeat(inPiece, piece.metre) ? 8 : inPiece % piece.metre.beatTicks() == 0 ? 4 : 0;
            const int velocity = 54 + accent + lift + human.jitter(3);
            if (rung == Figure::kBlock) {
                for (int k = 1; k <= 3; ++k)
                    accompaniment.note(kAccompaniment, tick + human.delay(kMostDelay), length,
                                       belowTune(ladder[k], tick), velocity - 6);
            } else {
                accompaniment.note(kAccompaniment, tick + human.delay(kMostDelay), length,
                                   belowTune(ladder[rung], tick), velocity);
            }
        }
        if (part.pad) {
            for (int interval : c.intervals)
                accompaniment.note(kPad, span.start + human.delay(kMostDelay), span.length - 20,
                                   atOrAbove((c.root + interval) % 12, 55), 44 + lift + human.jitter(2));
        }
        const int bassNote = atOrAbove(c.bass, 36);
        const int beat = piece.metre.beatTicks();
        switch (part.bass) {
        case Bass::None:
            break;
        case Bass::Held:
            accompaniment.note(kBass, span.start + human.delay(3), span.length - 20, bassNote, 62 + human.jitter(3));
            break;
        case Bass::RootAndFifth: {
            const int half = span.length >= 2 * beat ? (span.length / beat / 2) * beat : span.length;
            accompaniment.note(kBass, span.start + human.delay(3), half - 20, bassNote, 64 + human.jitter(3));
            if (half < span.length)
                accompaniment.note(kBass, span.start + half + human.delay(3), span.length - half - 20,
                                   atOrAbove((c.root + fifth) % 12, 36), 56 + human.jitter(3));
            break;
        }
        case Bass::EveryBeat:
            for (int t = span.start; t < end; t += beat)
                accompaniment.note(kBass, t + human.delay(3), beat - 40, bassNote,
                                   (t == span.start ? 62 : 50) + human.jitter(3));
            break;
        }
    }

    void setLevel(int tick, int from, int to, int bars)
    {
        // A ramp over the first bars, in steps too small to hear.
        const int steps = 4 * bars;
        for (int i = 0; i <= steps; ++i) {
            const int value = from + (to - from) * i / steps;
            for (const Instrument& in : piece.instruments)
                accompaniment.controller(in.channel, tick + i * piece.metre.barTicks() / 4, 11, value);
        }
    }

    void playMelody(const std::vector<Note>& notes, int sectionStart, int lead, int other, unsigned variation, int bars)
    {
        const int barTicks = piece.metre.barTicks();
        for (const Note& note : notes) {
            const int bar = note.start / barTicks;
            const int channel = (variation & kAnswer) && bar >= bars / 2 ? other : lead;
            const int phraseBar = bar % 4;
            const int lift = 4 * phraseBar - (phraseBar == 3 ? 8 : 0);
            const int accent = note.start % barTicks == 0 ? 6 : onStrongBeat(note.start, piece.metre) ? 3 : 0;
            const int velocity = 70 + lift + accent + std::min(6, note.length / 240) + human.jitter(3);
            const int gap = std::min(30, note.length / 6);
            melody.note(channel, sectionStart + note.start + human.delay(kMostDelay), note.length - gap, note.pitch,
                        velocity);
        }
    }
};

}  // namespace

Composition compose(const Piece& piece)
{
    Writer w{piece, MidiTrack(piece.title), MidiTrack("Melody"), MidiTrack("Accompaniment"), Humaniser(piece.seed), {}};
    const Metre& metre = piece.metre;
    const int barTicks = metre.barTicks();
    const Scale scale(piece.tonic, piece.minor);

    w.conductor.text(0, 0x02, "Composed for Quellon");
    w.conductor.timeSignature(0, metre.numerator, metre.denominator);
    w.conductor.tempo(0, piece.quartersPerMinute);
    for (const Instrument& in : piece.instruments) {
        MidiTrack& track = in.channel == kLead || in.channel == kSecondLead ? w.melody : w.accompaniment;
        track.program(in.channel, 0, in.program);
        track.controller(in.channel, 0, 7, in.volume * piece.volumePercent / 100);
        track.controller(in.channel, 0, 10, in.pan);
        track.controller(in.channel, 0, 91, in.reverb);
        track.controller(in.channel, 0, 93, 0);
    }

    int bar = kLeadIn;
    int level = 0;
    for (const Part& part : piece.plan) {
        std::vector<std::string> chords = part.chords;
        std::vector<Note> notes;
        if (part.section >= 0) {
            const Section& section = piece.sections.at(static_cast<std::size_t>(part.section));
            chords = section.chords;
            if (part.variation & kNewHarmony) {
                if (section.newChords.size() != chords.size())
                    fail("section without a second set of chords");
                chords = section.newChords;
            }
            notes = parseMelody(section.melody, metre, chords.size());
            const auto chordAt = [&](int tick) {
                const auto spans = barSpans(chords[static_cast<std::size_t>(tick / barTicks)], 0, barTicks);
                const int inBar = tick % barTicks;
                for (const Span& span : spans)
                    if (inBar < span.start + span.length)
                        return span.chord;
                return spans.back().chord;
            };
            if (part.variation & kOrnaments)
                notes = ornament(notes, metre, scale, chordAt);
            if (part.variation & kLilt)
                notes = lilt(notes, metre);
            const int shift = (part.variation & kOctaveUp) ? 12 : (part.variation & kOctaveDown) ? -12 : 0;
            for (Note& note : notes)
                note.pitch += shift;
        }
        const int bars = static_cast<int>(chords.size());
        w.setLevel(bar, level == 0 ? part.level : level, part.level, std::min(2, bars));
        level = part.level;
        const int other = part.lead == kLead ? kSecondLead : kLead;
        w.playMelody(notes, bar, part.lead, other, part.variation, bars);
        w.tune.clear();
        for (const Note& note : notes)
            w.tune.push_back({bar + note.start, note.length, note.pitch});
        for (int i = 0; i < bars; ++i) {
            for (const Span& span : barSpans(chords[static_cast<std::size_t>(i)], bar + i * barTicks, barTicks)) {
                w.conductor.text(span.start, 0x06, span.symbol);
                w.accompany(part, span, i % 4);
            }
        }
        bar += bars * barTicks;
    }

    // The last bar: the tonic chord held under a gentle slowing down, then a
    // beat of silence for the release.
    w.conductor.tempo(bar - barTicks, piece.quartersPerMinute * 0.92);
    w.conductor.tempo(bar, piece.quartersPerMinute * 0.80);
    w.conductor.text(bar, 0x06, piece.finalChord);
    const Chord last = chordOf(piece.finalChord);
    const int root = atOrAbove(last.root, piece.accompanimentFloor);
    for (int interval : last.intervals) {
        w.accompaniment.note(kAccompaniment, bar, barTicks - 20, root + interval, 54);
        w.accompaniment.note(kPad, bar, barTicks - 20, atOrAbove((last.root + interval) % 12, 55), 44);
    }
    w.accompaniment.note(kBass, bar, barTicks - 20, atOrAbove(last.root, 36), 60);
    w.melody.note(kLead, bar, barTicks - 20, atOrAbove(last.root, 62), 64);
    const int end = bar + barTicks + kTicksPerQuarter;

    Composition result;
    result.file = midiFile({w.conductor, w.melody, w.accompaniment}, end);
    result.bars = (bar - kLeadIn) / barTicks + 1;
    const double minutesPerTick = 1.0 / (kTicksPerQuarter * piece.quartersPerMinute);
    result.seconds = 60 * minutesPerTick * ((bar - barTicks) + barTicks / 0.92 + (end - bar) / 0.80);
    return result;
}

}  // namespace quellon::media
