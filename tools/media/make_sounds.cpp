// Synthesises the game's six sound effects as 16-bit PCM mono WAV files at
// 22 050 Hz. Every sound is made from a few decaying sine partials and a
// little filtered noise, so it is ours and reproducible byte for byte.
//
// Usage: make_sounds <output directory>
// Writes pick_up.wav, put_down.wav, turn_step.wav, move_step.wav, solved.wav
// and refused.wav (sound numbers 1 to 6 in that order).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

using Signal = std::vector<double>;

int samplesFor(double seconds) { return static_cast<int>(std::lround(seconds * kSampleRate)); }

// Every partial and every knock ends with this fade: a partial that stops
// while it still sounds clicks.
constexpr double kRelease = 0.005;

// Rises from 0 to 1 over the first `rise` seconds and falls back to 0 over
// the last kRelease seconds of a part lasting `length` seconds.
double edges(double t, double length, double rise)
{
    const double in = std::min(1.0, t / rise);
    const double out = std::clamp((length - t) / kRelease, 0.0, 1.0);
    return in * (0.5 - 0.5 * std::cos(std::numbers::pi * out));
}

// One decaying partial: frequency glides linearly from f0 to f1 over the
// sound; decay is the time in seconds for the amplitude to fall to 1/e.
void addPartial(Signal& s, double start, double length, double f0, double f1, double amplitude, double decay,
                double attack = 0.002)
{
    const int first = samplesFor(start);
    const int count = samplesFor(length);
    if (static_cast<int>(s.size()) < first + count)
        s.resize(first + count, 0.0);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = f0 + (f1 - f0) * t / length;
        phase += kTwoPi * f / kSampleRate;
        const double envelope = edges(t, length, attack) * std::exp(-t / decay);
        s[first + i] += amplitude * envelope * std::sin(phase);
    }
}

// A short burst of low-passed noise gives a soft knock or click.
void addKnock(Signal& s, double start, double length, double amplitude, double decay, double smoothing)
{
    const int first = samplesFor(start);
    const int count = samplesFor(length);
    if (static_cast<int>(s.size()) < first + count)
        s.resize(first + count, 0.0);
    std::uint32_t seed = 0x2545F491u;
    double lowPassed = 0.0;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double white = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
        lowPassed += smoothing * (white - lowPassed);
        const double t = static_cast<double>(i) / kSampleRate;
        s[first + i] += amplitude * edges(t, length, 0.0005) * std::exp(-t / decay) * lowPassed;
    }
}

// A bell-like tone: a fundamental with two softer, faster-fading partials.
void addBell(Signal& s, double start, double frequency, double amplitude, double length)
{
    addPartial(s, start, length, frequency, frequency, amplitude, length / 3.0, 0.004);
    addPartial(s, start, length, frequency * 2.0, frequency * 2.0, amplitude * 0.30, length / 7.0, 0.004);
    addPartial(s, start, length, frequency * 3.01, frequency * 3.01, amplitude * 0.12, length / 12.0, 0.004);
}

// Scales to the wanted peak, and fades the whole sound in over its first
// millisecond and out over its last 4 ms, so it starts and ends at zero.
std::vector<std::int16_t> finish(Signal s, double peak)
{
    double highest = 0.0;
    for (double v : s)
        highest = std::max(highest, std::abs(v));
    const double gain = highest > 0.0 ? peak / highest : 0.0;
    const int count = static_cast<int>(s.size());
    const int fadeIn = std::min(samplesFor(0.001), count);
    const int fadeOut = std::min(samplesFor(0.004), count);
    std::vector<std::int16_t> pcm(s.size());
    for (int i = 0; i < count; ++i) {
        double v = s[static_cast<std::size_t>(i)] * gain;
        if (i < fadeIn)
            v *= static_cast<double>(i) / fadeIn;
        if (count - 1 - i < fadeOut)
            v *= static_cast<double>(count - 1 - i) / fadeOut;
        pcm[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    }
    return pcm;
}

void putLE(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// RIFF/WAVE: "RIFF" size "WAVE", a 16-byte "fmt " chunk (PCM, mono, 22 050 Hz,
// 16 bit) and one "data" chunk.
bool writeWave(const std::filesystem::path& path, const std::vector<std::int16_t>& pcm)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    out.write("RIFF", 4);
    putLE(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLE(out, 16, 4);
    putLE(out, 1, 2);  // PCM
    putLE(out, 1, 2);  // mono
    putLE(out, kSampleRate, 4);
    putLE(out, kSampleRate * 2, 4);  // bytes per second
    putLE(out, 2, 2);                // block align
    putLE(out, 16, 2);               // bits per sample
    out.write("data", 4);
    putLE(out, dataBytes, 4);
    for (std::int16_t v : pcm)
        putLE(out, static_cast<std::uint16_t>(v), 2);
    return static_cast<bool>(out);
}

// 1: a piece is lifted - a short rising "plip".
Signal pickUp()
{
    Signal s;
    addPartial(s, 0.0, 0.055, 620.0, 940.0, 1.0, 0.022);
    addPartial(s, 0.0, 0.055, 1240.0, 1880.0, 0.25, 0.012);
    return s;
}

// 2: the piece is set down - a soft wooden knock.
Signal putDown()
{
    Signal s;
    addPartial(s, 0.0, 0.070, 300.0, 210.0, 1.0, 0.020, 0.001);
    addPartial(s, 0.0, 0.070, 690.0, 560.0, 0.35, 0.010, 0.001);
    addKnock(s, 0.0, 0.025, 0.45, 0.006, 0.25);
    return s;
}

// 3: one turn step - a tiny high tick, heard many times in a row.
Signal turnStep()
{
    Signal s;
    addPartial(s, 0.0, 0.018, 1760.0, 1650.0, 1.0, 0.005, 0.0008);
    addPartial(s, 0.0, 0.018, 2640.0, 2500.0, 0.3, 0.003, 0.0008);
    return s;
}

// 4: one move step - a soft, lower tick.
Signal moveStep()
{
    Signal s;
    addPartial(s, 0.0, 0.030, 1050.0, 980.0, 1.0, 0.008, 0.001);
    addKnock(s, 0.0, 0.012, 0.25, 0.003, 0.35);
    return s;
}

// 5: the Quellon is solved - a rising arpeggio of bells into a held chord.
// Only D, E, G and A: they belong to the key of every piece of music
// (D, G, C and F major, A and E minor), so the bells never clash with it.
Signal solved()
{
    Signal s;
    const double notes[] = {587.33, 659.26, 783.99, 880.00};  // D5 E5 G5 A5
    for (int i = 0; i < 4; ++i)
        addBell(s, 0.10 * i, notes[i], 0.50, 1.75 - 0.10 * i);
    addBell(s, 0.42, 1174.66, 0.42, 1.33);                       // D6 over the held chord
    addPartial(s, 0.0, 1.75, 293.66, 293.66, 0.16, 0.55, 0.03);  // a soft D4 beneath
    return s;
}

// 6: the drop is refused - two low, slightly buzzing descending blips. It
// is heard often, so it is kept below the pick-up by RMS.
Signal refused()
{
    Signal s;
    for (int i = 0; i < 2; ++i) {
        const double start = 0.065 * i;
        const double f = i == 0 ? 233.08 : 196.0;
        addPartial(s, start, 0.060, f, f * 0.97, 1.0, 0.030, 0.003);
        addPartial(s, start, 0.060, f * 3.0, f * 2.91, 0.22, 0.020, 0.003);
        addPartial(s, start, 0.060, f * 5.0, f * 4.85, 0.08, 0.015, 0.003);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_sounds <output directory>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    struct Effect {
        const char* file;
        Signal signal;
        double peak;
    };
    // Step sounds come at every cell of a drag, so they are kept quieter.
    const Effect effects[] = {
        {"pick_up.wav", pickUp(), 0.46},     {"put_down.wav", putDown(), 0.60}, {"turn_step.wav", turnStep(), 0.30},
        {"move_step.wav", moveStep(), 0.30}, {"solved.wav", solved(), 0.60},    {"refused.wav", refused(), 0.33},
    };
    for (const Effect& effect : effects) {
        const auto pcm = finish(effect.signal, effect.peak);
        if (!writeWave(dir / effect.file, pcm)) {
            std::cerr << "make_sounds: cannot write " << (dir / effect.file).string() << "\n";
            return 1;
        }
        std::cout << effect.file << ": " << pcm.size() << " samples, " << 44 + pcm.size() * 2 << " bytes\n";
    }
    return 0;
}
