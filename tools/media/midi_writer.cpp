#include "midi_writer.h"

#include "music_theory.h"

#include <algorithm>
#include <stdexcept>

namespace quellon::media {

namespace {

std::uint8_t byte(int value) { return static_cast<std::uint8_t>(value); }

void putVarLength(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    std::uint8_t buffer[5];
    int count = 0;
    buffer[count++] = value & 0x7F;
    while ((value >>= 7) != 0)
        buffer[count++] = static_cast<std::uint8_t>(0x80 | (value & 0x7F));
    while (count > 0)
        out.push_back(buffer[--count]);
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> trackChunk(MidiTrack track, int endTick)
{
    std::stable_sort(track.events.begin(), track.events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<std::uint8_t> body;
    if (!track.name.empty()) {
        body.insert(body.end(), {0, 0xFF, 0x03});
        putVarLength(body, static_cast<std::uint32_t>(track.name.size()));
        body.insert(body.end(), track.name.begin(), track.name.end());
    }
    int last = 0;
    for (const MidiEvent& e : track.events) {
        if (e.tick < 0 || e.tick > endTick)
            throw std::runtime_error("event outside the piece");
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

}  // namespace

void MidiTrack::add(int tick, int order, std::vector<std::uint8_t> bytes)
{
    events.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::note(int channel, int tick, int length, int pitch, int velocity)
{
    if (pitch < 0 || pitch > 127)
        throw std::runtime_error("note out of range");
    velocity = std::clamp(velocity, 1, 127);
    const int key = channel * 128 + pitch;
    if (const auto last = lastRelease_.find(key); last != lastRelease_.end()) {
        // The same tone struck twice at once sounds once.
        if (events[last->second - 1].tick >= tick)
            return;
        MidiEvent& release = events[last->second];
        release.tick = std::min(release.tick, tick);
    }
    add(tick, 2, {byte(0x90 | channel), byte(pitch), byte(velocity)});
    lastRelease_[key] = events.size();
    add(tick + std::max(1, length), 1, {byte(0x80 | channel), byte(pitch), 0});
}

void MidiTrack::controller(int channel, int tick, int number, int value)
{
    add(tick, 0, {byte(0xB0 | channel), byte(number), byte(std::clamp(value, 0, 127))});
}

void MidiTrack::program(int channel, int tick, int number) { add(tick, 0, {byte(0xC0 | channel), byte(number)}); }

void MidiTrack::tempo(int tick, double quartersPerMinute)
{
    const auto micros = static_cast<std::uint32_t>(60000000.0 / quartersPerMinute);
    add(tick, 0, {0xFF, 0x51, 3, byte(micros >> 16), byte(micros >> 8), byte(micros)});
}

void MidiTrack::timeSignature(int tick, int numerator, int denominator)
{
    const int power = denominator == 8 ? 3 : denominator == 2 ? 1 : 2;
    // 24 clocks a metronome click, eight 32nds a quarter.
    add(tick, 0, {0xFF, 0x58, 4, byte(numerator), byte(power), 24, 8});
}

void MidiTrack::text(int tick, std::uint8_t type, const std::string& value)
{
    std::vector<std::uint8_t> bytes = {0xFF, type};
    putVarLength(bytes, static_cast<std::uint32_t>(value.size()));
    bytes.insert(bytes.end(), value.begin(), value.end());
    add(tick, 0, bytes);
}

std::vector<std::uint8_t> midiFile(const std::vector<MidiTrack>& tracks, int endTick)
{
    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    putBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    putBigEndian(file, kTicksPerQuarter, 2);
    for (const MidiTrack& track : tracks) {
        const auto chunk = trackChunk(track, endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace quellon::media
