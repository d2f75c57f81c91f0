// Writing Standard MIDI Files: tracks collect timed events in any order and
// are sorted when the file is put together.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace quellon::media {

struct MidiEvent {
    int tick;
    int order;  // at equal ticks: meta and controllers first, note-offs before note-ons
    std::vector<std::uint8_t> bytes;
};

struct MidiTrack {
    explicit MidiTrack(std::string trackName) : name(std::move(trackName)) {}

    std::string name;
    std::vector<MidiEvent> events;

    // A note struck again while it still sounds is let go at the new stroke;
    // notes must be added in time order for each channel and pitch.
    void note(int channel, int tick, int length, int pitch, int velocity);
    void controller(int channel, int tick, int number, int value);
    void program(int channel, int tick, int number);
    void tempo(int tick, double quartersPerMinute);
    void timeSignature(int tick, int numerator, int denominator);
    // Meta text events: 0x02 copyright, 0x06 marker.
    void text(int tick, std::uint8_t type, const std::string& value);

private:
    void add(int tick, int order, std::vector<std::uint8_t> bytes);
    std::map<int, std::size_t> lastRelease_;  // channel * 128 + pitch -> index of its note-off (after its note-on)
};

// A format 1 file. Every track ends at endTick, so the file's length in ticks
// is the piece's length including the final release.
std::vector<std::uint8_t> midiFile(const std::vector<MidiTrack>& tracks, int endTick);

}  // namespace quellon::media
